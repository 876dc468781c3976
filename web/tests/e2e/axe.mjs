// The accessibility audit of whatever the page shows at the moment:
//   import { audit, assertAccessible } from "./axe.mjs";
//   const violations = await audit(page);        // axe-core's violations
//   await assertAccessible(page, "menu ouvert");  // throws with a readable list
// Run alone (node axe.mjs [page.html]) it audits the page as it opens.
import { readFileSync } from "node:fs";
import { createRequire } from "node:module";
import { fileURLToPath } from "node:url";

const require = createRequire(import.meta.url);
const axeSource = readFileSync(require.resolve("axe-core/axe.min.js"), "utf8");

export async function audit(page, { include, exclude } = {}) {
  if (!(await page.evaluate(() => typeof window.axe !== "undefined"))) {
    // Evaluated rather than added as a tag: nothing is fetched, whatever the page allows.
    await page.evaluate(axeSource);
  }
  return page.evaluate(
    async ({ include, exclude }) => {
      const context = include || exclude ? { include: include ?? [document], exclude: exclude ?? [] } : document;
      const result = await window.axe.run(context, { resultTypes: ["violations"] });
      return result.violations.map((v) => ({
        id: v.id,
        impact: v.impact,
        help: v.help,
        nodes: v.nodes.map((n) => n.target.join(" ")),
      }));
    },
    { include, exclude },
  );
}

export function describeViolations(violations) {
  return violations.map((v) => `${v.id} (${v.impact}) : ${v.help}\n    ${v.nodes.join("\n    ")}`).join("\n");
}

export async function assertAccessible(page, state, options) {
  const violations = await audit(page, options);
  if (violations.length > 0) throw new Error(`axe-core, ${state} :\n${describeViolations(violations)}`);
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const { openPage, runChecks } = await import("./harness.mjs");
  const { browser, page } = await openPage();
  await runChecks([["la page à l'ouverture", () => assertAccessible(page, "à l'ouverture")]]);
  await browser.close();
}

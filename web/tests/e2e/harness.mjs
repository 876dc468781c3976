// What the page's end-to-end scripts share: Debian's Chromium through
// playwright-core, the page opened from file:// with every other request
// refused and counted, and the console's errors gathered.
// The page is the first argument (build/web/molvane.html), else
// $MOLVANE_PAGE, else the test page built from fixtures/.
import { execFileSync } from "node:child_process";
import { existsSync } from "node:fs";
import { dirname, resolve } from "node:path";
import { fileURLToPath, pathToFileURL } from "node:url";
import { chromium } from "playwright-core";

const here = dirname(fileURLToPath(import.meta.url));

export function pagePath() {
  const given = process.argv[2] ?? process.env.MOLVANE_PAGE;
  if (given) {
    if (!existsSync(given)) throw new Error(`Page introuvable : ${given}`);
    return resolve(given);
  }
  return execFileSync("node", [resolve(here, "fixtures/build.mjs")], { encoding: "utf8" }).trim().split("\n").pop();
}

export async function openPage({ query = "", scale = 1, permissions = [], viewport, hasTouch = false } = {}) {
  const browser = await chromium.launch({
    executablePath: process.env.CHROMIUM ?? "/usr/bin/chromium",
    args: ["--no-sandbox", "--disable-gpu"],
  });
  const context = await browser.newContext({
    deviceScaleFactor: scale,
    hasTouch,
    viewport: viewport ?? { width: 1000, height: 760 },
    acceptDownloads: true,
    locale: "fr-FR",
  });
  if (permissions.length > 0) await context.grantPermissions(permissions);
  const page = await context.newPage();
  const problems = [];
  await context.route("**/*", (route) => {
    const url = route.request().url();
    if (url.startsWith("file:") || url.startsWith("data:") || url.startsWith("blob:")) return route.continue();
    problems.push(`requête réseau : ${url}`);
    return route.abort();
  });
  page.on("console", (message) => {
    if (message.type() === "error") problems.push(`console : ${message.text()}`);
  });
  page.on("pageerror", (error) => problems.push(`erreur : ${error.message}`));
  await page.goto(pathToFileURL(pagePath()).href + query);
  await page.waitForSelector('[data-control="Command4"]', { timeout: 20000 });
  await page.waitForFunction(() => document.body.dataset.ready === "1" || !!document.querySelector("canvas"), null, {
    timeout: 20000,
  });
  return { browser, context, page, problems };
}

// Runs named checks one after the other, prints each result, and sets the
// exit code when one fails.
export async function runChecks(checks) {
  let failed = 0;
  for (const [name, check] of checks) {
    try {
      await check();
      console.log(`ok - ${name}`);
    } catch (error) {
      failed += 1;
      console.log(`ÉCHEC - ${name}\n${error?.stack ?? error}`);
    }
  }
  if (failed > 0) process.exitCode = 1;
  return failed;
}

export function expect(condition, message) {
  if (!condition) throw new Error(message);
}

export function equal(actual, wanted, what) {
  if (actual !== wanted) throw new Error(`${what} : ${JSON.stringify(actual)} au lieu de ${JSON.stringify(wanted)}`);
}

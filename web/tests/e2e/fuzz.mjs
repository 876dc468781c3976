// `?fuzz=SECONDS` in Chromium: the robot runs for that long (60 s, or
// $FUZZ_SECONDS); the test fails on any error it recorded, any console error
// or network request, and on a page whose heartbeat stops.
import { equal, expect, openPage, runChecks } from "./harness.mjs";

const seconds = Number(process.env.FUZZ_SECONDS ?? 60);
const frozenAfter = 5000; // ms without an action
const { browser, page, problems } = await openPage({ query: `?fuzz=${seconds}` });

async function state() {
  // A page stuck in a loop does not answer: the evaluation is given a limit.
  return Promise.race([
    page.evaluate(() => (window.__fuzz ? { ...window.__fuzz, now: performance.now() } : null)),
    new Promise((resolve) => setTimeout(() => resolve("muette"), frozenAfter)),
  ]);
}

await runChecks([
  [
    `${seconds} s d'actions au hasard, sans erreur ni blocage`,
    async () => {
      const end = Date.now() + (seconds + 30) * 1000;
      let last = null;
      for (;;) {
        const now = await state();
        expect(now !== "muette", `la page ne répond plus (dernières actions : ${last?.last?.join(" ; ")})`);
        expect(now !== null || Date.now() < end - seconds * 1000, "le robot n'a pas démarré");
        if (now) {
          expect(
            now.now - now.beat < frozenAfter,
            `plus d'action depuis ${Math.round(now.now - now.beat)} ms (${now.last.join(" ; ")})`,
          );
          last = now;
          if (now.errors.length > 0)
            throw new Error(`graine ${now.seed} :\n${now.errors.join("\n")}\nDernières actions : ${now.last.join(" ; ")}`);
          if (now.done) break;
        }
        expect(Date.now() < end, "le robot ne finit pas");
        await new Promise((resolve) => setTimeout(resolve, 1000));
      }
      expect(last.actions > seconds * 10, `trop peu d'actions : ${last.actions}`);
      console.log(`  ${last.actions} actions, graine ${last.seed}`);
    },
  ],
  [
    "la page répond encore",
    async () => {
      equal(await page.evaluate(() => document.querySelectorAll("dialog[open]").length), 0, "dialogues ouverts");
      equal(await page.evaluate(() => 1 + 1), 2, "évaluation");
    },
  ],
  ["aucune erreur dans la console ni requête réseau", async () => equal(problems.join("\n"), "", "erreurs")],
]);
await browser.close();

// The page's tick in headless Chromium, at 1 000 particles (500 A, 500 B)
// with the four curves drawn and the magnifier open: the median of the
// page's own "tick" measures over the given seconds, the time from opening
// the file to the first tick, and the file's size. Prints one JSON line.
//   node bench/web-tick.mjs PAGE.html SECONDS
import { statSync } from "node:fs";
import { createRequire } from "node:module";
import { resolve } from "node:path";
import { pathToFileURL } from "node:url";

const require = createRequire(resolve(import.meta.dirname ?? new URL(".", import.meta.url).pathname, "../web/package.json"));
const { chromium } = require("playwright-core");

const page = resolve(process.argv[2] ?? "build/web/molvane.html");
const seconds = Number(process.argv[3] ?? 10);

const browser = await chromium.launch({
  executablePath: process.env.CHROMIUM ?? "/usr/bin/chromium",
  args: ["--no-sandbox"],
});
const context = await browser.newContext({ viewport: { width: 1280, height: 960 } });
const tab = await context.newPage();
const errors = [];
tab.on("pageerror", (error) => errors.push(error.message));
await context.route("**/*", (route) =>
  /^(file|data|blob):/.test(route.request().url()) ? route.continue() : route.abort(),
);
await tab.goto(pathToFileURL(page).href);
await tab.waitForFunction(() => performance.getEntriesByName("tick", "measure").length > 0, null, {
  timeout: 30000,
});
const firstTick = await tab.evaluate(() => {
  const [first] = performance.getEntriesByName("tick", "measure");
  return first.startTime + first.duration;
});

// The set-up, as a pupil makes it: the counts typed, the curves ticked in
// "Suivi du système", the magnifier opened.
const control = (name) => tab.locator(`[data-control="${name}"]`).first();
for (const [name, value] of [
  ["Text1_0", "500"],
  ["Text1_1", "500"],
  ["Text1_2", "0"],
  ["Text1_3", "0"],
]) {
  await control(name).fill(value);
  await control(name).press("Tab");
}
const followTab = tab.getByRole("tab", { name: "Suivi du système" });
if ((await followTab.count()) > 0) await followTab.first().click();
for (const name of ["option2_0", "option2_1", "option2_2", "option2_3"]) {
  const box = control(name);
  if (await box.isVisible()) await box.check();
  else await box.evaluate((input) => input.checked || input.click());
}
await control("Comloupe").click();
await tab.waitForTimeout(1500);
// What the page shows it runs: the live counts under the vessel.
const counts = await tab.evaluate(() =>
  [0, 1, 2, 3].map((i) => document.querySelector(`[data-control="Labelinf_${i}"]`)?.textContent?.trim() ?? "?"),
);
await tab.evaluate(() => performance.clearMeasures("tick"));
await tab.waitForTimeout(seconds * 1000);
const ticks = await tab.evaluate(() => performance.getEntriesByName("tick", "measure").map((m) => m.duration));
await browser.close();

ticks.sort((a, b) => a - b);
const median = ticks.length ? ticks[Math.floor((ticks.length - 1) / 2)] : NaN;
console.log(
  JSON.stringify({
    page,
    bytes: statSync(page).size,
    first_tick_ms: Number(firstTick.toFixed(1)),
    counts,
    ticks: ticks.length,
    median_tick_ms: Number(median.toFixed(3)),
    p95_tick_ms: Number((ticks[Math.floor(ticks.length * 0.95)] ?? NaN).toFixed(3)),
    errors,
  }),
);

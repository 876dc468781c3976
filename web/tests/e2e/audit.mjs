// The main window's accessibility audit in Chromium: each tab, each box the
// window opens (the count refused, the close question, the export, the
// magnifier), at 100 % and 200 %, and the window used by touch alone.
import { assertAccessible } from "./axe.mjs";
import { equal, expect, openPage, runChecks } from "./harness.mjs";

const control = (name) => `[data-control="${name}"]`;

async function auditAt(scale) {
  const { browser, page, problems } = await openPage({ scale });
  const at = scale === 1 ? "" : ` (${scale * 100} %)`;
  const dialogOpen = () => page.waitForSelector("dialog[open]");
  const dialogGone = () => page.waitForFunction(() => !document.querySelector("dialog[open]"));

  const failed = await runChecks([
    ...["Paramètres", "Affichage", "Suivi du système"].map((tab) => [
      `l'onglet ${tab}${at}`,
      async () => {
        await page.getByRole("tab", { name: tab }).click();
        equal(await page.getByRole("tab", { name: tab }).getAttribute("aria-selected"), "true", "onglet choisi");
        await assertAccessible(page, `onglet ${tab}`);
      },
    ]),
    [
      `« Dépassement de capacité »${at}`,
      async () => {
        await page.getByRole("tab", { name: "Paramètres" }).click();
        await page.fill(control("Text1_0"), "2000");
        await page.keyboard.press("Tab");
        const box = page.getByRole("alertdialog");
        await box.waitFor();
        expect((await box.textContent()).includes("Dépassement de capacité"), "titre du message");
        await assertAccessible(page, "message des nombres");
        await page.keyboard.press("Enter");
        await dialogGone();
        equal(await page.evaluate(() => document.activeElement?.dataset.control), "Text1_0", "focus après le message");
      },
    ],
    [
      `la question de « Fermer »${at}`,
      async () => {
        await page.click(control("Command1"));
        await dialogOpen();
        await assertAccessible(page, "question de fermeture");
        await page.keyboard.press("Escape");
        await dialogGone();
      },
    ],
    [
      `le choix de l'export des mesures${at}`,
      async () => {
        await page.click(control("Command4"));
        await page.click('[data-item="exportcsv"]');
        await dialogOpen();
        await assertAccessible(page, "export des mesures");
        await page.keyboard.press("Escape");
        await dialogGone();
      },
    ],
    [
      `l'agrandissement${at}`,
      async () => {
        await page.click(control("Comloupe"));
        await dialogOpen();
        await assertAccessible(page, "agrandissement");
        await page.keyboard.press("Escape");
        await dialogGone();
      },
    ],
    [`aucune erreur${at}`, async () => equal(problems.join("\n"), "", "erreurs")],
  ]);
  await browser.close();
  return failed;
}

async function touchAlone() {
  const { browser, page, problems } = await openPage({ hasTouch: true, viewport: { width: 768, height: 1024 } });
  await runChecks([
    [
      "au toucher : les onglets, une case à cocher, le nombre d'une espèce",
      async () => {
        await page.getByRole("tab", { name: "Affichage" }).tap();
        equal(await page.getByRole("tab", { name: "Affichage" }).getAttribute("aria-selected"), "true", "onglet touché");
        const white = page.locator(`${control("Check1")} input`);
        const before = await white.isChecked();
        await page.locator(control("Check1")).tap();
        equal(await white.isChecked(), !before, "« Fond blanc » touché");
        await page.getByRole("tab", { name: "Paramètres" }).tap();
        await page.locator(control("Text1_1")).tap();
        await page.keyboard.press("Control+A");
        await page.keyboard.type("150");
        await page.locator(control("Text1_2")).tap();
        equal(await page.inputValue(control("Text1_1")), "150", "nombre tapé");
      },
    ],
    [
      "au toucher : la température glissée vers le chaud",
      async () => {
        const bar = page.locator(control("HScroll1"));
        const before = Number(await bar.inputValue());
        const box = await bar.boundingBox();
        const y = box.y + box.height / 2;
        const client = await page.context().newCDPSession(page);
        const touch = (type, x) =>
          client.send("Input.dispatchTouchEvent", { type, touchPoints: type === "touchEnd" ? [] : [{ x, y }] });
        await touch("touchStart", box.x + box.width / 2);
        for (let step = 1; step <= 8; ++step) {
          await touch("touchMove", box.x + box.width / 2 + step * (box.width / 20));
          await page.waitForTimeout(30);
        }
        await touch("touchEnd");
        expect(Number(await bar.inputValue()) > before, `température ${await bar.inputValue()} après ${before}`);
      },
    ],
    ["aucune erreur au toucher", async () => equal(problems.join("\n"), "", "erreurs")],
  ]);
  await browser.close();
}

await auditAt(1);
await auditAt(2);
await touchAlone();

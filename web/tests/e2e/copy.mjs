// "Copier" in Chromium: the menu from the keyboard, the table's text and the
// pictures on the clipboard, and the downloads where the clipboard is refused.
import { assertAccessible } from "./axe.mjs";
import { equal, expect, openPage, runChecks } from "./harness.mjs";

const copyButton = '[data-control="Command4"]';

// Opens the menu from the keyboard and walks to an item.
async function choose(page, keys) {
  await page.focus(copyButton);
  await page.keyboard.press("Enter");
  await page.waitForSelector('[data-menu="menucop"]:not([hidden])');
  for (const key of keys) await page.keyboard.press(key);
  await page.keyboard.press("Enter");
}

const toText = ["ArrowDown", "ArrowDown", "ArrowRight"];
const toGraph = ["ArrowDown"];
const toTablePicture = ["ArrowDown", "ArrowDown", "ArrowRight", "ArrowDown"];

async function tableCells(page) {
  return page.evaluate(() => {
    const table = document.querySelector('[data-control="MSFlexGrid1"]');
    const rows = table.tagName === "TABLE" ? table.rows : table.querySelectorAll("tr");
    return Array.from(rows).map((tr) => Array.from(tr.cells).map((cell) => cell.textContent.trim()));
  });
}

// Waits until the clipboard holds what `holds` (run in the page) says.
async function clipboardHolds(page, holds, what) {
  for (let tries = 0; tries < 50; ++tries) {
    if (await page.evaluate(holds).catch(() => false)) return;
    await page.waitForTimeout(100);
  }
  throw new Error(`le presse-papiers n'a pas reçu ${what}`);
}

const hasPng = async () => (await navigator.clipboard.read()).some((item) => item.types.includes("image/png"));

async function clipboardPng(page) {
  return page.evaluate(async () => {
    const items = await navigator.clipboard.read();
    const item = items.find((i) => i.types.includes("image/png"));
    if (!item) return null;
    const bitmap = await createImageBitmap(await item.getType("image/png"));
    return { width: bitmap.width, height: bitmap.height, types: item.types };
  });
}

const { browser, page, problems } = await openPage({ permissions: ["clipboard-read", "clipboard-write"] });
await runChecks([
  [
    "le menu au clavier, sans défaut d'accessibilité",
    async () => {
      await page.focus(copyButton);
      await page.keyboard.press("Enter");
      await page.waitForSelector('[data-menu="menucop"]:not([hidden])');
      await assertAccessible(page, "menu Copier ouvert");
      await page.keyboard.press("ArrowDown");
      await page.keyboard.press("ArrowDown");
      await page.keyboard.press("ArrowRight");
      await page.waitForSelector('[data-menu="cop003"]:not([hidden])');
      await assertAccessible(page, "sous-menu Copier le tableau ouvert");
      equal(await page.evaluate(() => document.activeElement.textContent), "Copier le contenu du tableau", "focus");
      await page.keyboard.press("Escape");
      await page.keyboard.press("Escape");
      equal(await page.evaluate(() => document.activeElement.dataset.control), "Command4", "focus après Échap");
      expect(await page.isHidden('[data-menu="menucop"]'), "le menu reste ouvert");
    },
  ],
  [
    "le contenu du tableau, cellule pour cellule",
    async () => {
      // The table shown, so that its cells can be read beside the copy, and
      // a recording of 10 s left to end, so that no row comes in between.
      await page.getByRole("tab", { name: "Suivi du système" }).click();
      await page.locator('[data-control="Option1_1"] input').check();
      await page.locator('[data-control="VScroll2"]').focus();
      await page.keyboard.press("End");
      await page.waitForFunction(() => document.querySelector('[data-control="Label2"]')?.textContent?.includes("10 s"));
      await page.waitForTimeout(11000);
      await page.evaluate(() => navigator.clipboard.writeText("avant"));
      await choose(page, toText);
      await clipboardHolds(page, async () => (await navigator.clipboard.readText()) !== "avant", "le texte");
      const text = await page.evaluate(() => navigator.clipboard.readText());
      expect(!text.endsWith("\n"), "une fin de ligne après la dernière ligne");
      expect(!text.includes("\r"), "un retour chariot dans le texte");
      const lines = text.split("\n").map((line) => line.split("\t").map((cell) => cell.trim()));
      const cells = await tableCells(page);
      equal(lines.length, cells.length, "lignes");
      lines.forEach((line, r) => equal(JSON.stringify(line), JSON.stringify(cells[r]), `ligne ${r}`));
      equal(lines[0][0], "Date (s)", "première cellule");
      expect(
        (await page.textContent('[data-control="info"]')).includes("copiée"),
        "pas de confirmation dans la ligne d'aide",
      );
      await page.locator('[data-control="Option1_0"] input').check();
    },
  ],
  [
    "le graphe et le tableau en images PNG",
    async () => {
      for (const [keys, what] of [
        [toGraph, "graphe"],
        [toTablePicture, "tableau"],
      ]) {
        await page.evaluate(() => navigator.clipboard.writeText("avant"));
        await choose(page, keys);
        await clipboardHolds(page, hasPng, what);
        const png = await clipboardPng(page);
        expect(png && png.width > 100 && png.height > 100, `${what} : image ${JSON.stringify(png)}`);
      }
      const graph = await page.evaluate(() => {
        const canvas = document.querySelector('[data-control="Picture2"]');
        return { width: canvas.width, height: canvas.height };
      });
      await page.evaluate(() => navigator.clipboard.writeText("avant"));
      await choose(page, toGraph);
      await clipboardHolds(page, hasPng, "le graphe");
      const png = await clipboardPng(page);
      expect(png.width <= graph.width && png.height <= graph.height, "graphe plus grand que son dessin");
    },
  ],
]);
await browser.close();

// Where the clipboard is refused, each copy is downloaded and the line says so.
const refused = await openPage({});
await refused.page.evaluate(() => {
  Object.defineProperty(navigator, "clipboard", {
    value: { write: () => Promise.reject(new DOMException("refusé", "NotAllowedError")) },
  });
});
await runChecks([
  [
    "refusé : les téléchargements, sous des noms français",
    async () => {
      for (const [keys, name] of [
        [toText, "tableau.txt"],
        [toGraph, "graphe.png"],
        [[], "animation.png"],
        [toTablePicture, "tableau.png"],
      ]) {
        const download = refused.page.waitForEvent("download");
        await choose(refused.page, keys);
        equal((await download).suggestedFilename(), name, "fichier");
        await refused.page.waitForFunction(
          (n) => document.querySelector('[data-control="info"]').textContent.includes(`« ${n} »`),
          name,
        );
      }
    },
  ],
  [
    "aucune erreur",
    async () => {
      equal(problems.concat(refused.problems).join("\n"), "", "erreurs");
    },
  ],
]);
await refused.browser.close();

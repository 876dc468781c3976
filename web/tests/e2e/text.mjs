// The pupil's text in Chromium: a document from another word processor
// opens with its words, typing is kept by the recovery copy through a closed
// page, a saved text reopens as it was, the question comes before typing is
// lost, Tab leaves the text, and the boxes pass the accessibility audit.
import { mkdtempSync, readFileSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { dirname, join, resolve } from "node:path";
import { chromium } from "playwright-core";
import { fileURLToPath, pathToFileURL } from "node:url";
import { assertAccessible, audit, describeViolations } from "./axe.mjs";
import { equal, expect, openPage, pagePath, runChecks } from "./harness.mjs";

const here = dirname(fileURLToPath(import.meta.url));
const data = resolve(here, "../../../tests/rtf/data");
const area = '[data-control="supertext"]';
const fich = '[data-control="fich"]';

// A file dropped on the text area, as from the file manager.
async function dropFile(page, name, bytes) {
  await page.evaluate(
    ({ selector, name, bytes }) => {
      const transfer = new DataTransfer();
      transfer.items.add(new File([new Uint8Array(bytes)], name));
      const target = document.querySelector(selector);
      target.dispatchEvent(new DragEvent("drop", { dataTransfer: transfer, bubbles: true, cancelable: true }));
    },
    { selector: area, name, bytes: Array.from(bytes) },
  );
}

async function areaText(page) {
  return page.$eval(area, (element) => element.innerText);
}

// Each run's words with what shows of its format.
async function shownRuns(page) {
  return page.$$eval(`${area} span[data-run]`, (runs) =>
    runs.map((run) => {
      const style = getComputedStyle(run);
      return [run.textContent, style.fontWeight, style.fontStyle, style.textDecorationLine, style.fontSize, style.color];
    }),
  );
}

async function box(page, title) {
  const dialog = page.locator("dialog.message[open]");
  await dialog.waitFor({ timeout: 10000 });
  equal(await dialog.locator("h2").textContent(), title, "titre de la boîte");
  return dialog;
}

async function typeAtEnd(page, text) {
  await page.focus(area);
  await page.keyboard.press("Control+End");
  await page.keyboard.type(text, { delay: 5 });
}

// The copy in the page's storage, as the writer wrote it.
async function recoveryCopy(page) {
  return page.evaluate(() => {
    const index = JSON.parse(localStorage.getItem("molvane.secours") ?? "[]");
    const entry = index.find((e) => !e.declined);
    const text = entry && localStorage.getItem(entry.key);
    return text ? Array.from(text, (c) => c.charCodeAt(0)) : null;
  });
}

async function waitForCopy(page, holding) {
  for (let tries = 0; tries < 60; ++tries) {
    const copy = await recoveryCopy(page);
    if (copy && Buffer.from(copy).toString("latin1").includes(holding)) return copy;
    await page.waitForTimeout(250);
  }
  throw new Error(`pas de copie de secours contenant ${holding}`);
}

const writer = readFileSync(resolve(data, "libreoffice-writer.rtf"));
const writerWords = readFileSync(resolve(data, "libreoffice-writer.txt"), "utf8")
  .replace(/^\uFEFF/, "")
  .split(/\s+/)
  .filter((word) => word.length > 3);

const { browser, context, page, problems } = await openPage();
await runChecks([
  [
    "un texte d'un autre traitement de texte s'ouvre avec ses mots",
    async () => {
      await dropFile(page, "libreoffice-writer.rtf", writer);
      await page.waitForFunction((s) => document.querySelector(s).getAttribute("contenteditable") === "true", area);
      const text = await areaText(page);
      const missing = writerWords.filter((word) => !text.includes(word));
      expect(missing.length === 0, `mots absents : ${missing.slice(0, 5).join(", ")}`);
      equal(await page.$eval(fich, (input) => input.value), "Texte: libreoffice-writer.rtf", "fich");
      equal(
        await page.$eval(area, (element) => element.getAttribute("aria-label")),
        "Énoncé et réponses : Texte: libreoffice-writer.rtf",
        "nom de la zone",
      );
      const pictures = await page.$$eval(`${area} img`, (images) => images.map((image) => image.alt));
      expect(pictures.length > 0, "l'image du document n'est pas montrée");
    },
  ],
  [
    "Tab quitte la zone de texte",
    async () => {
      await page.focus(area);
      await page.keyboard.press("End");
      await page.keyboard.press("Tab");
      const inside = await page.evaluate((s) => document.activeElement?.closest(s) !== null, area);
      expect(!inside, "Tab est resté dans la zone de texte");
      await page.keyboard.press("Shift+Tab");
      equal(await page.evaluate(() => document.activeElement?.dataset.control), "supertext", "retour par Maj+Tab");
    },
  ],
  [
    "ce qui est tapé est écrit, relu, et montré comme avant",
    async () => {
      await typeAtEnd(page, " Réponse : la quantité de C augmente.");
      const before = await shownRuns(page);
      const copy = await waitForCopy(page, "augmente");
      // The copy is what a save writes: it reopens as the text stood.
      await dropFile(page, "copie.rtf", copy);
      const asked = await box(page, "Abandon des données?");
      await asked.locator("button", { hasText: "OK" }).click();
      await page.waitForFunction((s) => document.querySelector(s).innerText.includes("augmente"), area);
      await page.waitForFunction(() => document.querySelector('[data-control="fich"]').value === "Texte: copie.rtf");
      equal(JSON.stringify(await shownRuns(page)), JSON.stringify(before), "les passages et leurs formats");
    },
  ],
  [
    "la question avant de perdre ce qui est tapé, Annuler le garde",
    async () => {
      await typeAtEnd(page, " Encore.");
      await dropFile(page, "libreoffice-writer.rtf", writer);
      const asked = await box(page, "Abandon des données?");
      equal(
        await asked.locator("p").textContent(),
        "Attention: perte des modifications du texte.",
        "texte de la question",
      );
      await assertAccessible(page, "question avant de perdre le texte");
      await page.keyboard.press("Escape");
      await page.waitForTimeout(300);
      expect((await areaText(page)).includes("Encore."), "le texte tapé est perdu");
    },
  ],
  [
    "la copie de secours revient après la fermeture de la page",
    async () => {
      await typeAtEnd(page, " Mot perdu sans copie.");
      await waitForCopy(page, "Mot perdu");
      const url = pathToFileURL(pagePath()).href;
      await page.close();
      const again = await context.newPage();
      again.on("pageerror", (error) => problems.push(`erreur : ${error.message}`));
      await again.goto(url);
      const asked = await box(again, "Récupération du texte");
      const question = await asked.locator("p").textContent();
      expect(question.includes("Molvane ne s'est pas fermé normalement."), `question : ${question}`);
      expect(question.includes("copie.rtf"), `la question ne nomme pas le texte : ${question}`);
      await assertAccessible(again, "question de récupération");
      await asked.locator("button", { hasText: "Oui" }).click();
      await again.waitForFunction((s) => document.querySelector(s).innerText.includes("Mot perdu"), area);
      equal(await again.$eval(fich, (input) => input.value), "Texte: copie.rtf", "fich après récupération");
      // Still modified: leaving it asks first, and the copy is there for the next time.
      await waitForCopy(again, "Mot perdu");
      await again.screenshot({ path: process.env.MOLVANE_SHOTS ? `${process.env.MOLVANE_SHOTS}/texte.png` : undefined });
    },
  ],
  [
    "Enregistrer puis rouvrir par le menu Exercices donne le même texte",
    async () => {
      const [current] = context.pages().slice(-1);
      await current.click('[data-control="btexo"]');
      const save = current.getByRole("menuitem", { name: /Enregistrer le contenu de la fenêtre exercice/ });
      if ((await save.count()) === 0) {
        await current.keyboard.press("Escape");
        console.log("# le menu Exercices n'est pas encore dans la page : enregistrement par le menu non vérifié");
        return;
      }
      const before = await shownRuns(current);
      const downloading = current.waitForEvent("download");
      await save.click();
      const named = current.locator("dialog.nom[open]");
      await named.waitFor();
      await named.locator("input").fill("reponse");
      await named.locator("input").press("Enter");
      const download = await downloading;
      equal(download.suggestedFilename(), "reponse.RTF", "nom du fichier enregistré");
      const saved = readFileSync(await download.path());
      // Saved: reopening asks nothing and shows the text as it was.
      await dropFile(current, "reponse.RTF", saved);
      await current.waitForFunction(() => document.querySelector('[data-control="fich"]').value === "Texte: reponse.RTF");
      equal(await current.locator("dialog.message[open]").count(), 0, "question après enregistrement");
      equal(JSON.stringify(await shownRuns(current)), JSON.stringify(before), "les passages et leurs formats");
    },
  ],
  [
    "la copie de secours revient après l'arrêt du navigateur",
    async () => {
      const profile = mkdtempSync(join(tmpdir(), "molvane-texte-"));
      const start = async () => {
        const browserContext = await chromium.launchPersistentContext(profile, {
          executablePath: process.env.CHROMIUM ?? "/usr/bin/chromium",
          args: ["--no-sandbox", "--disable-gpu"],
          viewport: { width: 1000, height: 760 },
          locale: "fr-FR",
        });
        await browserContext.route("**/*", (route) =>
          route.request().url().startsWith("file:") || route.request().url().startsWith("data:")
            ? route.continue()
            : route.abort(),
        );
        const opened = browserContext.pages()[0] ?? (await browserContext.newPage());
        await opened.goto(pathToFileURL(pagePath()).href);
        await opened.waitForSelector('html[data-ready="true"]');
        return { browserContext, opened };
      };
      try {
        let { browserContext, opened } = await start();
        await dropFile(opened, "libreoffice-writer.rtf", writer);
        await opened.waitForFunction((s) => document.querySelector(s).getAttribute("contenteditable") === "true", area);
        await typeAtEnd(opened, " Arrêt du navigateur.");
        await waitForCopy(opened, "Arr");
        await browserContext.close();
        ({ browserContext, opened } = await start());
        const asked = await box(opened, "Récupération du texte");
        await asked.locator("button", { hasText: "Oui" }).click();
        await opened.waitForFunction((s) => document.querySelector(s).innerText.includes("Arrêt du navigateur."), area);
        await browserContext.close();
      } finally {
        rmSync(profile, { recursive: true, force: true });
      }
    },
  ],
  [
    "la zone de texte sans défaut d'accessibilité",
    async () => {
      const [current] = context.pages().slice(-1);
      // The window's controls stand outside landmarks, the text area with
      // them: that is the window's layout, not the text's.
      const found = (await audit(current, { include: [area, fich] })).filter((v) => v.id !== "region");
      expect(found.length === 0, `axe-core, zone de texte :\n${describeViolations(found)}`);
    },
  ],
  ["aucune requête réseau ni erreur", async () => expect(problems.length === 0, problems.join("\n"))],
]);
await browser.close();

// The exercises in Chromium: the menu "Exercices" and the exercise window from
// the keyboard, every shipped exercise opening its statement, configuration
// and correction, a teacher's exercise written with other word processors
// opening from a chosen folder, the introduction back when it closes, and
// axe-core clean on the menu and the window.
//   node tests/e2e/exercises.mjs [page.html]
// MOLVANE_EXERCISES names the program folder the page's exercises came from.
import { copyFileSync, mkdirSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { dirname, join, resolve } from "node:path";
import { fileURLToPath } from "node:url";
import { assertAccessible } from "./axe.mjs";
import { equal, expect, openPage, runChecks } from "./harness.mjs";

const here = dirname(fileURLToPath(import.meta.url));
const programFolder = process.env.MOLVANE_EXERCISES ?? resolve(here, "../../../build/bin");
const manifest = process.env.MOLVANE_EXERCISE_LIST ?? resolve(programFolder, "../course/shipped.txt");
// Documents written by other word processors, kept with the RTF tests.
const fixtures = process.env.MOLVANE_RTF_FIXTURES ?? resolve(here, "../../../tests/rtf/data");
const screens = process.env.MOLVANE_SCREENSHOTS;

// Records of 128 bytes: a 16-bit length, then Windows-1252 text.
const kRecord = 128;
function records(texts) {
  const bytes = Buffer.alloc(texts.length * kRecord);
  texts.forEach((text, i) => {
    const encoded = Buffer.from(text, "latin1");
    bytes.writeUInt16LE(encoded.length, i * kRecord);
    encoded.copy(bytes, i * kRecord + 2);
  });
  return bytes;
}
function record(bytes, n) {
  const at = (n - 1) * kRecord;
  return bytes.subarray(at + 2, at + 2 + bytes.readUInt16LE(at)).toString("latin1");
}

const shipped = readFileSync(manifest, "utf8")
  .split(/\r?\n/)
  .filter((name) => /\.E32$/i.test(name) && !name.includes("/"));

const { browser, page, problems } = await openPage({});
const shots = async (name) => {
  if (!screens) return;
  for (const scale of [1, 2]) {
    await page.evaluate((s) => (document.body.style.zoom = String(s)), scale);
    await page.screenshot({ path: join(screens, `${name}-${scale * 100}.png`) });
  }
  await page.evaluate(() => (document.body.style.zoom = ""));
};

// What the text area shows, whatever element it is made of.
const shownText = () =>
  page.evaluate(() => {
    const area = document.querySelector('[data-control="supertext"]');
    return (area instanceof HTMLTextAreaElement ? area.value : (area?.innerText ?? "")).trim();
  });
// Whether the pupil can type in it: a read-only box says so to a screen reader too.
const readOnly = () =>
  page.evaluate(() => {
    const area = document.querySelector('[data-control="supertext"]');
    return area instanceof HTMLTextAreaElement ? area.readOnly : area?.getAttribute("aria-readonly") === "true";
  });
const fich = () => page.evaluate(() => document.querySelector('[data-control="fich"]')?.value ?? "");
// The run's controls a configuration sets.
const controls = () =>
  page.evaluate(() => {
    const value = (name) => {
      const element = document.querySelector(`[data-control="${name}"]`);
      return (element instanceof HTMLInputElement ? element : element?.querySelector("input"))?.value;
    };
    return JSON.stringify(["Text1_0", "Text1_1", "Text1_2", "Text1_3", "Label5_0", "Label5_1", "HScroll1"].map(value));
  });

async function openMenu() {
  await page.focus('[data-control="btexo"]');
  await page.keyboard.press("Enter");
  await page.waitForSelector(".menu-exercices:not([hidden])");
}
async function menuItem(letter) {
  await openMenu();
  await page.keyboard.press(letter);
  await page.waitForSelector(".menu-exercices[hidden]", { state: "attached" });
}
async function openWindow() {
  await menuItem("o");
  await page.waitForSelector("dialog.fichexo[open]");
}
// Another value in the first count box, so that a configuration loading shows.
async function disturb() {
  await page.fill('[data-control="Text1_0"] input, input[data-control="Text1_0"]', "7");
  await page.press('[data-control="Text1_0"] input, input[data-control="Text1_0"]', "Enter");
}
// A configuration loaded as "Ouvrir" loads it.
async function directly(path) {
  const chooser = page.waitForEvent("filechooser");
  await page.click('[data-control="Command2"]');
  await (await chooser).setFiles(path);
  await page.waitForTimeout(200);
  return controls();
}
async function closeBoxes() {
  for (const box of await page.$$('dialog[role="alertdialog"][open]')) await (await box.$("button")).click();
}

let teacherFolder = "";

await runChecks([
  [
    "l'introduction au départ, sans exercice à fermer ni correction",
    async () => {
      const text = await shownText();
      expect(text.startsWith("Équilibre dynamique"), `introduction : ${text.slice(0, 60)}`);
      expect(text.includes("Prise en main dans le menu Exercices."), "fin de l'introduction");
      equal(await fich(), "", "fich");
      await openMenu();
      const items = await page.$$eval(".menu-exercices [role=menuitem]", (list) =>
        list.map((item) => [item.textContent, item.getAttribute("aria-disabled") === "true"]),
      );
      equal(
        JSON.stringify(items),
        JSON.stringify([
          ["Prise en main", false],
          ["Ouvrir un exercice (énoncé + configuration)", false],
          ["Voir la correction", true],
          ["Enregistrer le contenu de la fenêtre exercice", false],
          ["Retrouver un texte", false],
          ["Imprimer le contenu de la fenêtre exercice", false],
          ["Fermer l'exercice", true],
        ]),
        "le menu",
      );
      equal(await page.$$eval(".menu-exercices [role=separator]", (l) => l.length), 3, "séparateurs");
      await shots("menu");
      // The menu and its button (the rest of the window has its own audit).
      await assertAccessible(page, "menu Exercices ouvert", { include: [".menu-exercices", '[data-control="btexo"]'] });
      await page.keyboard.press("ArrowUp");
      equal(await page.evaluate(() => document.activeElement.textContent), "Fermer l'exercice", "flèche haut");
      await page.keyboard.press("Escape");
      equal(await page.evaluate(() => document.activeElement.dataset.control), "btexo", "focus après Échap");
      await page.keyboard.press("ArrowDown");
      equal(await page.evaluate(() => document.activeElement.textContent), "Prise en main", "flèche bas sur le bouton");
      await page.keyboard.press("Escape");
    },
  ],
  [
    "la fenêtre des exercices au clavier : la liste, l'aperçu, Échap",
    async () => {
      await openWindow();
      const listed = await page.$$eval("dialog.fichexo option", (options) => options.map((o) => o.textContent));
      equal(JSON.stringify(listed), JSON.stringify(shipped), "exercices listés");
      equal(listed.length, 12, "nombre d'exercices");
      await page.waitForFunction(() => document.querySelector("dialog.fichexo .titratexo")?.textContent !== "");
      const first = readFileSync(join(programFolder, shipped[0]));
      equal(await page.textContent("dialog.fichexo .titratexo"), record(first, 11).trim(), "titre");
      equal(await page.evaluate(() => document.activeElement.tagName), "SELECT", "focus sur la liste");
      await page.keyboard.press("ArrowDown");
      const second = readFileSync(join(programFolder, shipped[1]));
      await page.waitForFunction(
        (title) => document.querySelector("dialog.fichexo .titratexo")?.textContent === title,
        record(second, 11).trim(),
      );
      const hourglasses = await page.textContent("dialog.fichexo .sabliers");
      equal([...hourglasses].length, Math.round(Number(record(second, 12))), "sabliers");
      const lit = await page.$$eval("dialog.fichexo .symbole", (s) => s.filter((x) => x.classList.contains("allume")).length);
      equal(lit, Math.min(3, Number(record(second, 5))), "symboles allumés");
      await shots("fenetre");
      await assertAccessible(page, "fenêtre des exercices");
      await page.keyboard.press("Escape");
      await page.waitForSelector("dialog.fichexo", { state: "detached" });
      expect((await shownText()).startsWith("Équilibre dynamique"), "l'introduction a changé");
    },
  ],
  [
    "chaque exercice livré : son énoncé, sa configuration, sa correction",
    async () => {
      for (const [k, name] of shipped.entries()) {
        const exercise = readFileSync(join(programFolder, name));
        const folder = programFolder;
        const statementConfiguration = await directly(join(folder, record(exercise, 2)));
        await disturb();
        await openWindow();
        await page.selectOption("dialog.fichexo select", { index: k });
        const title = record(exercise, 11).trim();
        await page.waitForFunction((t) => document.querySelector("dialog.fichexo .titratexo")?.textContent === t, title);
        await page.click("dialog.fichexo button[title=\"Ouvrir l'exercice sélectionné\"]");
        await page.waitForSelector("dialog.fichexo", { state: "detached" });
        const statement = await shownText();
        expect(statement.includes(`Exercice ${k + 1}`), `${name} : énoncé ${statement.slice(0, 80)}`);
        equal(await fich(), name, `${name} : fich`);
        equal(await readOnly(), false, `${name} : énoncé modifiable`);
        equal(await controls(), statementConfiguration, `${name} : configuration`);
        equal(await page.textContent('[role="status"].annonce'), `Exercice ouvert : ${title}`, `${name} : annonce`);
        expect((await page.title()).endsWith(title), `${name} : titre de la page`);

        const correctionConfiguration = await directly(join(folder, record(exercise, 4)));
        await disturb();
        await menuItem("v");
        await page.waitForFunction((n) => {
          const area = document.querySelector('[data-control="supertext"]');
          return (area.value ?? area.innerText).includes(`exercice ${n}`);
        }, k + 1);
        expect((await shownText()).includes(`Corrigé de l'exercice ${k + 1}`), `${name} : correction`);
        equal(await controls(), correctionConfiguration, `${name} : configuration de la correction`);
        equal(await readOnly(), true, `${name} : correction en lecture seule`);
      }
    },
  ],
  [
    "« Prise en main », puis « Fermer l'exercice » ramène l'introduction",
    async () => {
      await menuItem("p");
      await page.waitForFunction(() => document.querySelector('[data-control="fich"]').value === "molvane.PEM");
      expect((await shownText()).startsWith("Prise en main"), "prise en main");
      await openMenu();
      equal(
        await page.$eval('[data-item="opencor"]', (item) => item.getAttribute("aria-disabled")),
        "true",
        "correction offerte",
      );
      await page.keyboard.press("f");
      await page.waitForFunction(() => document.querySelector('[data-control="fich"]').value === "");
      expect((await shownText()).startsWith("Équilibre dynamique"), "introduction");
      equal(await readOnly(), true, "introduction en lecture seule");
      await openMenu();
      equal(await page.$eval('[data-item="Closexo"]', (i) => i.getAttribute("aria-disabled")), "true", "fermer offert");
      await page.keyboard.press("Escape");
    },
  ],
  [
    "l'exercice d'un enseignant, écrit avec d'autres traitements de texte, depuis un dossier choisi",
    async () => {
      teacherFolder = mkdtempSync(join(tmpdir(), "exercice-prof-"));
      const folder = join(teacherFolder, "Chimie TS");
      mkdirSync(join(folder, "Documents"), { recursive: true });
      copyFileSync(join(fixtures, "libreoffice-writer.rtf"), join(folder, "Documents", "Enonce-Writer.RTF"));
      copyFileSync(join(fixtures, "pandoc.rtf"), join(folder, "Documents", "corrige.rtf"));
      // A configuration with counts no shipped exercise has.
      writeFileSync(
        join(folder, "prof.C11"),
        records(["MOLVANE", "37", "41", "0", "0", " 50", " 50", " 500", " 16711680", " 16711935", " 33023",
          " 49152", " 11", " 60", "1", "0", "0", "0", "1", "0", "1", "1"]),
      );
      // Written on Windows: "\" between folders, names in other cases.
      writeFileSync(
        join(folder, "exo-prof.E32"),
        records(["documents\\enonce-writer.rtf", "PROF.C11", "Documents\\corrige.rtf", "prof.c11", "2", "",
          "Équilibre ", "dynamique", "", "", " Exercice du professeur ", "2"]),
      );
      await openWindow();
      const chooser = page.waitForEvent("filechooser");
      await page.click("dialog.fichexo .boutons button:has-text(\"Ouvrir d'autres exercices\")");
      await (await chooser).setFiles(folder);
      const titled = (title) => document.querySelector("dialog.fichexo .titratexo")?.textContent === title;
      await page.waitForFunction(titled, "Exercice du professeur");
      const chosen = await page.$eval("dialog.fichexo select", (s) => s.options[s.selectedIndex].textContent);
      equal(chosen, "Chimie TS/exo-prof.E32", "choisi");
      equal(await page.textContent("dialog.fichexo .notions"), "Équilibre dynamique", "notions");
      equal(await page.textContent("dialog.fichexo .corrige"), "Exercice corrigé", "corrigé");
      await shots("fenetre-enseignant");
      await page.keyboard.press("Enter");
      await page.waitForSelector("dialog.fichexo", { state: "detached" });
      const statement = await shownText();
      expect(statement.includes("Lancer la simulation avec"), `énoncé : ${statement.slice(0, 120)}`);
      equal(await fich(), "Chimie TS/exo-prof.E32", "fich");
      const counts = JSON.parse(await controls());
      equal(`${counts[0]} ${counts[1]}`, "37 41", "configuration de l'enseignant");
      equal(await page.textContent('[role="status"].annonce'), "Exercice ouvert : Exercice du professeur", "annonce");
      await menuItem("v");
      await page.waitForFunction(() => document.querySelector('[role="status"].annonce').textContent.startsWith("Correction"));
      equal(await readOnly(), true, "correction en lecture seule");
      expect((await shownText()).includes("Lancer la simulation"), "correction");
    },
  ],
  [
    "un document absent est nommé, et la fenêtre reste ouverte",
    async () => {
      const folder = join(teacherFolder, "Incomplet");
      mkdirSync(folder, { recursive: true });
      writeFileSync(join(folder, "seul.E32"), records(["absent.rtf", "", "", "", "0", "", "", "", "", "", "Seul", "1"]));
      await openWindow();
      const chooser = page.waitForEvent("filechooser");
      await page.click("dialog.fichexo .boutons button:has-text(\"Ouvrir d'autres exercices\")");
      await (await chooser).setFiles(folder);
      await page.waitForFunction(() => document.querySelector("dialog.fichexo .titratexo")?.textContent === "Seul");
      await page.keyboard.press("Enter");
      await page.waitForSelector('dialog[role="alertdialog"][open]');
      equal(await page.textContent('dialog[role="alertdialog"] p'), "Le fichier Incomplet/absent.rtf est introuvable", "message");
      await assertAccessible(page, "message d'un document absent");
      await closeBoxes();
      expect(await page.isVisible("dialog.fichexo[open]"), "la fenêtre s'est fermée");
      await page.keyboard.press("Escape");
    },
  ],
  [
    "des fichiers déposés sur la fenêtre s'ouvrent comme un dossier choisi",
    async () => {
      const statement = readFileSync(join(fixtures, "pandoc.rtf")).toString("base64");
      const exercise = records(["Pandoc.rtf", "", "", "", "1", "", "", "", "", "", "Déposé", "1"]).toString("base64");
      await openWindow();
      await page.evaluate(
        ([statement, exercise]) => {
          const file = (data, name) => new File([Uint8Array.from(atob(data), (c) => c.charCodeAt(0))], name);
          const transfer = new DataTransfer();
          transfer.items.add(file(exercise, "depose.E32"));
          transfer.items.add(file(statement, "pandoc.rtf"));
          const dialog = document.querySelector("dialog.fichexo");
          dialog.dispatchEvent(new DragEvent("drop", { dataTransfer: transfer, bubbles: true, cancelable: true }));
        },
        [statement, exercise],
      );
      await page.waitForFunction(() => document.querySelector("dialog.fichexo .titratexo")?.textContent === "Déposé");
      // The page's own drop (a configuration) is not asked.
      equal(await page.$('dialog[role="alertdialog"]'), null, "un message de la page");
      await page.keyboard.press("Enter");
      await page.waitForSelector("dialog.fichexo", { state: "detached" });
      expect((await shownText()).includes("Lancer la simulation"), "énoncé déposé");
      equal(await fich(), "depose.E32", "fich");
    },
  ],
  [
    "rien d'autre : ni réseau ni erreur",
    async () => {
      equal(problems.join("\n"), "", "problèmes");
    },
  ],
]);
if (teacherFolder) rmSync(teacherFolder, { recursive: true, force: true });
await browser.close();

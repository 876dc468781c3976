// "Machine à calculer" in Chromium: expressions the page has never seen,
// typed on the keyboard and clicked key after key, must leave on the page's
// display, after every key, what the calculator class gives for the same
// keys when the module runs under Node. Then the dialog from the keyboard
// alone, by touch, and without accessibility faults.
//
//   node calculator.mjs [molvane.html]   (MOLVANE_MODULE: the module's script,
//   else the one built beside the page; SCREENSHOTS: a folder for pictures)
import { existsSync, mkdirSync } from "node:fs";
import { createRequire } from "node:module";
import { dirname, resolve } from "node:path";
import { assertAccessible } from "./axe.mjs";
import { equal, expect, openPage, pagePath, runChecks } from "./harness.mjs";

const require = createRequire(import.meta.url);
const modulePath = process.env.MOLVANE_MODULE ?? resolve(dirname(pagePath()), "../wasm/web/molvane_web.js");
if (!existsSync(modulePath)) throw new Error(`Module introuvable : ${modulePath}`);
const m = await require(modulePath)();

const opener = '[data-control="Command8"]';
const key = (name) => `dialog.calculatrice [data-touche="${name}"]`;

// Each case is a list of steps: "=text" typed on the keyboard, "#Name" a
// key clicked, "!Enter" or "!Backspace" a key of the keyboard, and
// "angle_1", "C_0"… an option chosen.
const cases = [
  ["=12,5*4-3^2", "!Enter"],
  ["#B7", "#multip", "#Bpo", "#B2", "#plus", "#B3", "#bpf", "#EXE", "#btcarre", "#EXE"],
  ["C_0", "=1/7", "!Enter", "C_1", "#ANS", "#multip", "=7", "!Enter"],
  ["angle_1", "#bsin", "#pi", "#div", "=6", "!Enter", "angle_0", "#invcos", "=0,5", "!Enter"],
  ["=(2+3", "!Enter", "=)", "!Enter", "#plus", "#Blog", "#B1", "#B0", "#B0", "#EXE"],
  ["=4*", "!Enter", "!Backspace", "!Backspace", "!Backspace", "#Command5", "#B8", "#EXE"],
  ["=1e300*1e300", "!Enter", "=1/0", "!Enter", "#RAZ", "=9", "#racine", "=2", "!Enter"],
  ["=6", "#Command1", "#Command1", "#Command2", "#RAZ", "#Command3", "#EXE", "C_0", "#Command4", "#Command3"],
  ["=2d3", "#kilo", "#plus", "#micro", "!Enter", "#Command1", "#RAZ", "#Command3", "#moins", "#moins", "=1", "!Enter"],
  ["#B10x", "#moins", "=2", "!Enter", "#Bexp", "#B1", "#EXE", "#Bln", "#ANS", "#EXE", "C_0"],
  ["=1e999", "!Enter", "#ANS", "C_0", "=3", "#EFFACE", "#Btoncommande3", "#B1", "!Enter"],
];

// The same steps on the class under Node: the display after each one.
function expected(steps) {
  const c = new m.Calculator();
  c.press("Command4");
  c.press("RAZ");
  const shown = [];
  for (const step of steps) {
    if (step.startsWith("=")) {
      for (const ch of step.slice(1)) {
        c.press(m.calculatorKeyFor(ch));
        shown.push(c.display());
      }
      continue;
    }
    if (step.startsWith("#")) c.press(step.slice(1));
    else if (step.startsWith("!")) c.press(m.calculatorKeyFor(step.slice(1)));
    else if (step.startsWith("angle_")) c.chooseAngle(step === "angle_1");
    else c.chooseDisplay(step === "C_0");
    shown.push(c.display());
  }
  c.delete();
  return shown;
}

const display = (page) => page.$eval(key("z1"), (input) => input.value);

async function openFromKeyboard(page) {
  await page.focus(opener);
  await page.keyboard.press("Enter");
  await page.waitForSelector("dialog.calculatrice[open]");
}

async function close(page) {
  await page.keyboard.press("Escape");
  await page.waitForSelector("dialog.calculatrice", { state: "detached" });
}

// The page's display after each step, from a cleared memory and display.
async function onPage(page, steps) {
  await openFromKeyboard(page);
  await page.click(key("Command4"));
  await page.click(key("RAZ"));
  const shown = [];
  for (const step of steps) {
    if (step.startsWith("=")) {
      for (const ch of step.slice(1)) {
        await page.keyboard.type(ch);
        shown.push(await display(page));
      }
      continue;
    }
    if (step.startsWith("#")) await page.click(key(step.slice(1)));
    else if (step.startsWith("!")) await page.keyboard.press(step.slice(1));
    else await page.click(key(step));
    shown.push(await display(page));
  }
  await close(page);
  return shown;
}

const shots = process.env.SCREENSHOTS;
if (shots) mkdirSync(shots, { recursive: true });

const { browser, page, problems } = await openPage({ permissions: ["clipboard-read", "clipboard-write"] });
await runChecks([
  [
    "les calculs de la page sont ceux de la classe, touche après touche",
    async () => {
      for (const steps of cases) {
        const wanted = expected(steps);
        const got = await onPage(page, steps);
        equal(JSON.stringify(got), JSON.stringify(wanted), `affichages de ${steps.join(" ")}`);
      }
    },
  ],
  [
    "la boîte sans défaut d'accessibilité, à 100 % et à 200 %",
    async () => {
      await openFromKeyboard(page);
      await page.keyboard.type("1/3");
      await page.keyboard.press("Enter");
      await assertAccessible(page, "calculatrice ouverte");
      if (shots) await page.screenshot({ path: `${shots}/calculatrice-100.png` });
      await close(page);
      const large = await openPage({ scale: 2 });
      try {
        await openFromKeyboard(large.page);
        await large.page.keyboard.type("2^10");
        await large.page.keyboard.press("Enter");
        await assertAccessible(large.page, "calculatrice à 200 %");
        if (shots) await large.page.screenshot({ path: `${shots}/calculatrice-200.png` });
        equal(await display(large.page), " 1024", "affichage à 200 %");
        expect(large.problems.length === 0, large.problems.join("\n"));
      } finally {
        await large.browser.close();
      }
    },
  ],
  [
    "au clavier seul : ouverture, Tab, Espace, Alt+lettre, Échap",
    async () => {
      await openFromKeyboard(page);
      equal(await page.evaluate(() => document.activeElement.dataset.touche), "z1", "le clavier à l'ouverture");
      // Tab goes through the options, then the keys in their table's order.
      const order = [];
      for (let i = 0; i < 5; ++i) {
        await page.keyboard.press("Tab");
        order.push(await page.evaluate(() => document.activeElement.dataset.touche));
      }
      equal(order.join(" "), "angle_0 C_1 B7 B8 B9", "ordre de Tab");
      await page.keyboard.press("Space");
      await page.keyboard.press("Space");
      equal(await display(page), "99", "Espace presse la touche qui a le clavier");
      equal(await page.evaluate(() => document.activeElement.dataset.touche), "B9", "la touche garde le clavier");
      await page.keyboard.press("Alt+s");
      equal(await display(page), "99 * sin ", "Alt+S presse SIN");
      await page.keyboard.type("90");
      await page.keyboard.press("Enter");
      equal(await display(page), " 99", "Entrée calcule");
      // Nothing of the window behind reacts while the box is open.
      await page.keyboard.press("Alt+f");
      expect(await page.isVisible("dialog.calculatrice[open]"), "la boîte s'est fermée");
      await close(page);
      equal(await page.evaluate(() => document.activeElement.dataset.control), "Command8", "le clavier après Échap");
    },
  ],
  [
    "Ctrl+C copie tout l'affichage",
    async () => {
      await openFromKeyboard(page);
      await page.keyboard.type("1/3");
      await page.keyboard.press("Enter");
      await page.keyboard.press("Control+c");
      equal(await page.evaluate(() => navigator.clipboard.readText()), expected(["=1/3", "!Enter"]).pop(), "presse-papiers");
      await close(page);
    },
  ],
  [
    "au doigt : les touches se touchent",
    async () => {
      const touch = await openPage({ viewport: { width: 800, height: 1000 }, hasTouch: true });
      try {
        await touch.page.tap(opener);
        await touch.page.waitForSelector("dialog.calculatrice[open]");
        for (const name of ["B4", "puissance", "B3", "EXE"]) await touch.page.tap(key(name));
        equal(await display(touch.page), " 64", "calcul au doigt");
        const size = await touch.page.$eval(key("B4"), (b) => b.getBoundingClientRect().width);
        expect(size >= 36, `touche trop petite pour un doigt : ${size} px`);
        if (shots) await touch.page.screenshot({ path: `${shots}/calculatrice-doigt.png` });
        expect(touch.problems.length === 0, touch.problems.join("\n"));
      } finally {
        await touch.browser.close();
      }
    },
  ],
  [
    "rien d'autre ne s'est plaint",
    async () => expect(problems.length === 0, problems.join("\n")),
  ],
]);
await browser.close();

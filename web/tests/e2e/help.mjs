// "Aide" in Chromium: the dialog from the keyboard, every page of the
// contents reachable, every link between pages leading to its page, no
// missing picture, Escape closing it and the focus coming back.
import { assertAccessible } from "./axe.mjs";
import { equal, expect, openPage, runChecks } from "./harness.mjs";

const { browser, page, problems } = await openPage({});
const dialog = 'dialog[data-dialog="aide"]';

// What the page pane shows: its heading, its links and its pictures' state.
function shown() {
  return page.evaluate((selector) => {
    const box = document.querySelector(`${selector} .page`);
    const article = box.shadowRoot.querySelector("article");
    return {
      current: document.querySelector(`${selector} nav a[aria-current="page"]`)?.dataset.ref,
      heading: article.querySelector("h1")?.textContent ?? "",
      links: Array.from(article.querySelectorAll("a[href]")).map((a) => a.getAttribute("href")),
      brokenPictures: Array.from(article.querySelectorAll("img"))
        .filter((img) => !img.complete || img.naturalWidth === 0)
        .map((img) => img.getAttribute("alt") ?? "?"),
    };
  }, dialog);
}

await runChecks([
  [
    "ouverte au clavier, sans défaut d'accessibilité",
    async () => {
      await page.focus('[data-control="Command7"]');
      await page.keyboard.press("Enter");
      await page.waitForSelector(`${dialog}[open]`);
      const state = await shown();
      expect(state.heading.length > 0, "page d'accueil vide");
      await assertAccessible(page, "aide ouverte");
      // The Tab key reaches the contents.
      let reached = false;
      for (let i = 0; i < 80 && !reached; ++i) {
        await page.keyboard.press("Tab");
        reached = await page.evaluate((s) => !!document.activeElement.closest(`${s} nav`), dialog);
      }
      expect(reached, "le sommaire n'est pas atteint avec Tab");
      await page.keyboard.press("Enter");
      equal(await page.evaluate((s) => document.activeElement.matches(`${s} .page`), dialog), true, "focus sur la page");
    },
  ],
  [
    "chaque page du sommaire, chaque lien, chaque image",
    async () => {
      const refs = await page.$$eval(`${dialog} nav a`, (links) => links.map((a) => a.dataset.ref));
      expect(refs.length > 10, "sommaire trop court");
      const visited = new Set();
      const broken = [];
      for (const ref of refs) {
        await page.click(`${dialog} nav a[data-ref="${ref}"]`);
        const state = await shown();
        equal(state.current, ref, "page montrée");
        expect(state.heading.length > 0, `${ref} : pas de titre`);
        if (state.brokenPictures.length) broken.push(`${ref} : images ${state.brokenPictures.join(", ")}`);
        visited.add(ref.split("#")[0]);
        for (const href of state.links) {
          if (/^[a-z]+:/i.test(href) || href.startsWith("#")) continue;
          // Followed from inside the page, as a pupil would.
          await page.click(`${dialog} nav a[data-ref="${ref}"]`);
          await page.locator(`${dialog} .page a[href="${href}"]`).first().click();
          const after = await shown();
          const target = href.split("#")[0];
          if (after.current?.split("#")[0] !== target && !(await page.evaluate(
            ([s, t]) => document.querySelector(`${s} nav a[data-ref="${t}"]`) === null,
            [dialog, target],
          )))
            broken.push(`${ref} → ${href} montre ${after.current}`);
          visited.add(target);
        }
      }
      equal(broken.join("\n"), "", "liens");
      expect(visited.size >= refs.length, "pages non atteintes");
    },
  ],
  [
    "Précédent revient en arrière",
    async () => {
      const refs = await page.$$eval(`${dialog} nav a`, (links) => links.map((a) => a.dataset.ref));
      await page.click(`${dialog} nav a[data-ref="${refs[1]}"]`);
      await page.click(`${dialog} nav a[data-ref="${refs[2]}"]`);
      await page.click(`${dialog} button:text("Précédent")`);
      equal((await shown()).current, refs[1], "après Précédent");
    },
  ],
  [
    "Échap la ferme et rend le focus au bouton",
    async () => {
      await page.keyboard.press("Escape");
      expect(await page.isHidden(dialog), "toujours ouverte");
      equal(await page.evaluate(() => document.activeElement.dataset.control), "Command7", "focus");
    },
  ],
  ["aucune erreur", async () => equal(problems.join("\n"), "", "erreurs")],
]);
await browser.close();

// "Imprimer" in Chromium: the dialog, then the print-only pages as the
// browser prints them — title, pictures and table where the layout puts them,
// every copy on its own pages — and nothing of them left afterwards.
import { assertAccessible } from "./axe.mjs";
import { equal, expect, openPage, runChecks } from "./harness.mjs";

const { browser, page, problems } = await openPage({});
// The browser's print dialog is replaced by a look at the pages it would print.
await page.evaluate(() => {
  window.print = () => {
    const root = document.querySelector(".molvane-print");
    const pages = Array.from(root.querySelectorAll(".page")).map((sheet) => {
      const box = sheet.getBoundingClientRect();
      return {
        width: box.width,
        height: box.height,
        items: Array.from(sheet.querySelectorAll("[data-placed]")).map((item) => {
          const r = item.getBoundingClientRect();
          return {
            what: item.dataset.placed,
            left: r.left - box.left,
            top: r.top - box.top,
            width: r.width,
            height: r.height,
            text: item.dataset.placed === "title" ? item.textContent : undefined,
            rows: item.tagName === "TABLE" ? Array.from(item.rows).map((tr) => tr.textContent) : undefined,
            loaded: item.tagName === "IMG" ? item.complete && item.naturalWidth > 0 : undefined,
          };
        }),
      };
    });
    window.__printed = { pages, printing: document.body.classList.contains("molvane-printing") };
  };
});
await page.emulateMedia({ media: "print" });

async function printWith({ table, copies, title, submit }) {
  await page.evaluate(() => delete window.__printed);
  await page.click('[data-control="Command10"]');
  await page.waitForSelector('dialog[data-dialog="confimp"][open]');
  await page.setChecked('[data-control="Check1_2"]', table);
  await page.fill('[data-control="UpDown1"]', String(copies));
  await page.fill('[data-control="Text1"]', title);
  if (submit === "alt") await page.keyboard.press("Alt+o");
  else await page.click('dialog[data-dialog="confimp"] [data-control="Command1"]');
  await page.waitForFunction(() => window.__printed !== undefined);
  return page.evaluate(() => window.__printed);
}

const near = (a, b, what) => expect(Math.abs(a - b) < 1.5, `${what} : ${a} au lieu de ${b}`);

await runChecks([
  [
    "le dialogue : textes, ordre et clavier",
    async () => {
      await page.emulateMedia({ media: "screen" });
      await page.focus('[data-control="Command10"]');
      await page.keyboard.press("Enter");
      await page.waitForSelector('dialog[data-dialog="confimp"][open]');
      const texts = await page.$$eval("dialog[data-dialog=confimp] :is(h2, legend, label, button)", (els) =>
        els.map((e) => e.textContent.trim()),
      );
      equal(
        texts.join(" | "),
        "Imprimer | Options | L'animation | Le graphe | Le tableau de valeur | OK | Annuler | Titre de la page : | Nombre d'exemplaires :",
        "textes",
      );
      equal(await page.evaluate(() => document.activeElement.dataset.control), "Check1_0", "focus à l'ouverture");
      await assertAccessible(page, "dialogue Imprimer");
      await page.keyboard.press("Escape");
      expect(await page.isHidden("dialog[data-dialog=confimp]"), "Échap ne ferme pas le dialogue");
      equal(await page.evaluate(() => window.__printed), undefined, "imprimé après Échap");
      await page.emulateMedia({ media: "print" });
    },
  ],
  [
    "au départ : une page, le titre, l'animation centrée, le graphe dessous",
    async () => {
      const printed = await printWith({ table: false, copies: 1, title: "Classe de 1re", submit: "click" });
      expect(printed.printing, "la page n'est pas en mode impression");
      equal(printed.pages.length, 1, "pages");
      const [sheet] = printed.pages;
      const items = Object.fromEntries(sheet.items.map((item) => [item.what, item]));
      equal(sheet.items.map((i) => i.what).join(","), "title,animation,graph", "éléments");
      equal(items.title.text, "Classe de 1re", "titre");
      near(items.title.top, 0, "titre en haut");
      near(items.animation.left * 2 + items.animation.width, sheet.width, "animation centrée");
      near(items.graph.left * 2 + items.graph.width, sheet.width, "graphe centré");
      near(items.animation.top, sheet.height / 20, "animation à H/20");
      expect(items.graph.top >= items.animation.top + items.animation.height, "graphe sur l'animation");
      expect(items.animation.loaded && items.graph.loaded, "image non chargée");
    },
  ],
  [
    "deux exemplaires avec le tableau : chaque exemplaire sur ses pages, le tableau à W/10",
    async () => {
      const printed = await printWith({ table: true, copies: 2, title: "Essai", submit: "alt" });
      const titles = printed.pages.flatMap((p, i) => p.items.filter((x) => x.what === "title").map(() => i));
      equal(titles.length, 2, "titres");
      expect(titles[1] > titles[0], "le second exemplaire ne commence pas une page");
      const rows = await page.$$eval('[data-control="MSFlexGrid1"] tr', (trs) => trs.length);
      for (const [from, to] of [
        [titles[0], titles[1]],
        [titles[1], printed.pages.length],
      ]) {
        const parts = printed.pages.slice(from, to).flatMap((p) => p.items.filter((x) => x.what === "table"));
        expect(parts.length >= 1, "pas de tableau");
        // Every data row once, under its header on every part.
        equal(parts.reduce((n, part) => n + part.rows.length - 1, 0), rows - 1, "lignes du tableau");
        for (const part of parts) {
          equal(part.rows[0].includes("Date (s)"), true, "en-tête");
          near(part.left, printed.pages[0].width / 10, "tableau à W/10");
        }
      }
      for (const [n, sheet] of printed.pages.entries())
        for (const item of sheet.items)
          expect(item.top + item.height <= sheet.height + 1, `page ${n} : ${item.what} dépasse le bas de la page`);
    },
  ],
  [
    "rien ne reste après l'impression",
    async () => {
      equal(await page.$$eval(".molvane-print", (e) => e.length), 0, "mise en page restante");
      equal(await page.evaluate(() => document.body.classList.contains("molvane-printing")), false, "classe");
    },
  ],
  ["aucune erreur", async () => equal(problems.join("\n"), "", "erreurs")],
]);
await browser.close();

// @vitest-environment jsdom
// The help dialog: contents, links between pages, the way back.
import { afterEach, beforeAll, beforeEach, describe, expect, it } from "vitest";
import type { HelpWindowTexts, OutputModule } from "../../bindings/output";
import type { HelpBook } from "../../help-pages";
import { createHelp, keywordPage, resolveLink } from "../../src/help";
import { withDialogs } from "./dialogs";
import { loadModule } from "./module";

// The help window's words, as the program has them.
let texts: HelpWindowTexts;
beforeAll(async () => {
  texts = (await loadModule<OutputModule>()).helpWindowTexts();
});

const book: HelpBook = {
  css: "body { color: #111; }",
  pages: {
    "index.html": { title: "Sommaire", body: '<h1>Sommaire</h1><a href="copies.html">Copier</a> <a href="https://exemple.fr">dehors</a>' },
    "copies.html": { title: "Copier", body: '<h1>Copier</h1><a href="index.html#fin">retour</a><p id="fin">fin</p>' },
    "loupe.html": { title: "Loupe", body: "<h1>Loupe</h1>" },
  },
  toc: [
    {
      title: "Sommaire",
      ref: "index.html",
      children: [
        { title: "Copier", ref: "copies.html", children: [] },
        { title: "Loupe", ref: "loupe.html", children: [] },
      ],
    },
  ],
  keywords: [
    { name: "presse-papiers", ref: "copies.html" },
    { name: "Copier", ref: "copies.html#fin" },
    { name: "copie d'écran", ref: "loupe.html" },
    { name: "Écran", ref: "loupe.html" },
  ],
};

beforeEach(() => withDialogs());
afterEach(() => {
  document.body.innerHTML = "";
});

describe("links", () => {
  it.each([
    ["copies.html", { page: "copies.html", anchor: undefined }],
    ["index.html#fin", { page: "index.html", anchor: "fin" }],
    ["absent.html", null],
    ["#fin", null],
    ["https://exemple.fr/copies.html", null],
    ["mailto:x@y.fr", null],
  ])("%s", (href, want) => {
    expect(resolveLink(href, book)).toEqual(want);
  });
});

describe("the index", () => {
  it.each([
    ["Copier", "copies.html#fin"],
    ["  copier ", "copies.html#fin"],
    ["copie", "copies.html#fin"],
    ["copie d", "loupe.html"],
    ["presse", "copies.html"],
    ["écran", "loupe.html"],
    ["ecran", null],
    ["", null],
    ["zèbre", null],
  ])("%j leads to %s", (typed, want) => {
    expect(keywordPage(typed, book)).toBe(want);
  });

  it("shows the page of the word typed in its field", () => {
    const help = createHelp(book, texts);
    help.open();
    const field = help.dialog.querySelector<HTMLInputElement>("#molvane-help-word");
    expect(field?.labels?.[0]?.textContent).toBe("Mot cherché :");
    field!.value = "presse";
    field!.form!.dispatchEvent(new Event("submit", { cancelable: true }));
    expect(help.current).toBe("copies.html");
  });
});

describe("the help dialog", () => {
  const article = (help: ReturnType<typeof createHelp>) =>
    help.dialog.querySelector(".page")?.shadowRoot?.querySelector("article") as HTMLElement;
  const current = (help: ReturnType<typeof createHelp>) =>
    Array.from(help.dialog.querySelectorAll('nav a[aria-current="page"]')).map((a) => a.textContent);

  it("opens on the contents' first page, modal, with the contents' tree", () => {
    const help = createHelp(book, texts);
    help.open();
    expect(help.dialog.open).toBe(true);
    expect(help.current).toBe("index.html");
    expect(article(help).querySelector("h1")?.textContent).toBe("Sommaire");
    expect(Array.from(help.dialog.querySelectorAll("nav a")).map((a) => a.textContent)).toEqual([
      "Sommaire",
      "Copier",
      "Loupe",
    ]);
    expect(current(help)).toEqual(["Sommaire"]);
  });

  it("follows links in a page and in the contents, and goes back the same way", () => {
    const help = createHelp(book, texts);
    help.open();
    (article(help).querySelector('a[href="copies.html"]') as HTMLElement).click();
    expect(help.current).toBe("copies.html");
    expect(current(help)).toEqual(["Copier"]);
    (help.dialog.querySelector('nav a[data-ref="loupe.html"]') as HTMLElement).click();
    expect(help.current).toBe("loupe.html");
    help.back();
    expect(help.current).toBe("copies.html");
    help.back();
    expect(help.current).toBe("index.html");
    const back = Array.from(help.dialog.querySelectorAll("button")).find((b) => b.textContent === "Précédent");
    expect(back?.disabled).toBe(true);
  });

  it("sends links out of the book beside the page", () => {
    const help = createHelp(book, texts);
    help.open();
    const out = article(help).querySelector<HTMLAnchorElement>('a[href^="https"]');
    expect(out?.target).toBe("_blank");
    expect(out?.rel).toBe("noopener");
  });

  it("refuses a page it does not hold and stays where it was", () => {
    const help = createHelp(book, texts);
    help.open("copies.html");
    expect(help.show("absent.html")).toBe(false);
    expect(help.current).toBe("copies.html");
  });

  it("gives the focus back to what opened it", () => {
    const opener = document.createElement("button");
    document.body.append(opener);
    opener.focus();
    const help = createHelp(book, texts);
    help.open();
    expect(document.activeElement).not.toBe(opener);
    help.close();
    expect(help.dialog.open).toBe(false);
    expect(document.activeElement).toBe(opener);
  });
});

// The help book as the build takes it in: contents, keywords, pictures and links.
import { join } from "node:path";
import { describe, expect, it } from "vitest";
import { brokenLinks, parseContents, parseKeywords, readHelpBook, readPage, type HelpBook } from "../../help-pages";

const helpFolder = join(__dirname, "../../../help");

describe("contents of the help project", () => {
  it.each([
    {
      name: "flat",
      toc: '<toc><section title="Un" ref="un.html"/><section title="Deux" ref="deux.html"/></toc>',
      want: [
        { title: "Un", ref: "un.html", children: [] },
        { title: "Deux", ref: "deux.html", children: [] },
      ],
    },
    {
      name: "nested, closed after its children",
      toc:
        '<toc><section title="A" ref="a.html"><section title="B" ref="b.html">' +
        '<section title="C" ref="c.html"/></section></section><section title="D" ref="d.html"/></toc>',
      want: [
        {
          title: "A",
          ref: "a.html",
          children: [{ title: "B", ref: "b.html", children: [{ title: "C", ref: "c.html", children: [] }] }],
        },
        { title: "D", ref: "d.html", children: [] },
      ],
    },
    {
      name: "entities in titles",
      toc: '<toc><section title="L&apos;onglet &quot;Aide&quot; &amp; co" ref="x.html#haut"/></toc>',
      want: [{ title: "L'onglet \"Aide\" & co", ref: "x.html#haut", children: [] }],
    },
  ])("$name", ({ toc, want }) => {
    expect(parseContents(`<QtHelpProject>${toc}</QtHelpProject>`)).toEqual(want);
  });

  it.each([
    ["no contents", "<QtHelpProject></QtHelpProject>"],
    ["a section left open", '<toc><section title="A" ref="a.html"></toc>'],
    ["a close too many", '<toc><section title="A" ref="a.html"/></section></toc>'],
  ])("refuses %s", (_name, qhp) => {
    expect(() => parseContents(qhp)).toThrow();
  });

  it("reads keywords with their pages, skipping incomplete ones", () => {
    const qhp = '<keywords><keyword name="CSV" ref="mesures.html"/><keyword name="seul"/><keyword ref="x.html"/></keywords>';
    expect(parseKeywords(qhp)).toEqual([{ name: "CSV", ref: "mesures.html" }]);
  });
});

describe("a page", () => {
  it("keeps its title and body and inlines its pictures", () => {
    const seen: string[] = [];
    const page = readPage(
      "p.html",
      '<html><head><title> Copier </title></head><body class="x">\n<h1>Copier</h1><img alt="a" src="vue.png"><IMG SRC="b&amp;c.png"></body></html>',
      (file) => {
        seen.push(file);
        return `data:image/png;base64,${file.length}`;
      },
    );
    expect(page.title).toBe("Copier");
    expect(seen).toEqual(["vue.png", "b&c.png"]);
    expect(page.body).toBe(
      '<h1>Copier</h1><img alt="a" src="data:image/png;base64,7"><IMG SRC="data:image/png;base64,7">',
    );
  });

  it("without a body is refused", () => {
    expect(() => readPage("p.html", "<html><title>x</title></html>", (f) => f)).toThrow(/p\.html/);
  });
});

describe("links", () => {
  const book = (body: string): HelpBook => ({
    css: "",
    pages: { "a.html": { title: "A", body }, "b.html": { title: "B", body: "" } },
    toc: [{ title: "A", ref: "a.html", children: [{ title: "Z", ref: "z.html", children: [] }] }],
    keywords: [{ name: "b", ref: "b.html#haut" }],
  });

  it("finds links to missing pages in pages and contents, and lets the rest pass", () => {
    const broken = brokenLinks(
      book(
        '<a href="b.html">b</a> <a href="b.html#bas">b</a> <a href="#ici">ici</a> ' +
          '<a href="https://exemple.fr/">web</a> <a href="c.html">c</a> <a class="x" href="d.html#e">d</a>',
      ),
    );
    expect(broken).toEqual(["a.html → c.html", "a.html → d.html#e", "molvane.qhp → z.html"]);
  });
});

describe("the program's own help", () => {
  const book = readHelpBook(helpFolder);

  it("has every page of the contents, and no broken link", () => {
    expect(brokenLinks(book)).toEqual([]);
    const refs: string[] = [];
    const walk = (sections: HelpBook["toc"]) =>
      sections.forEach((s) => {
        refs.push(s.ref);
        walk(s.children);
      });
    walk(book.toc);
    expect(refs.length).toBeGreaterThan(10);
    for (const ref of refs) expect(book.pages[ref.split("#")[0]]?.body.length).toBeGreaterThan(0);
  });

  it("carries no reference to a file outside the book", () => {
    for (const [name, page] of Object.entries(book.pages)) {
      expect(page.body, name).not.toMatch(/<(img|link|script)\b[^>]*(src|href)="(?!data:)/i);
    }
  });
});

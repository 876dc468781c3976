// The program's help pages, taken into the page at build time: each page's
// body with its pictures inlined, the style sheet, and the contents and
// keywords of molvane.qhp. A link to a page that is not there, or a picture
// that is missing, fails the build rather than shipping a broken help.
import { existsSync, readFileSync } from "node:fs";
import { extname, join } from "node:path";
import { fileURLToPath } from "node:url";
import type { Plugin } from "vite";

export interface HelpSection {
  title: string;
  ref: string;
  children: HelpSection[];
}

export interface HelpKeyword {
  name: string;
  ref: string;
}

export interface HelpPage {
  title: string;
  body: string;
}

export interface HelpBook {
  css: string;
  pages: Record<string, HelpPage>;
  toc: HelpSection[];
  keywords: HelpKeyword[];
}

const pictureTypes: Record<string, string> = {
  ".png": "image/png",
  ".jpg": "image/jpeg",
  ".jpeg": "image/jpeg",
  ".gif": "image/gif",
  ".svg": "image/svg+xml",
};

function attribute(tag: string, name: string): string | undefined {
  const found = new RegExp(`\\s${name}\\s*=\\s*"([^"]*)"`).exec(tag);
  return found ? decodeEntities(found[1]) : undefined;
}

function decodeEntities(text: string): string {
  return text
    .replace(/&quot;/g, '"')
    .replace(/&apos;/g, "'")
    .replace(/&lt;/g, "<")
    .replace(/&gt;/g, ">")
    .replace(/&amp;/g, "&");
}

// The contents: nested <section title ref> elements, some closed at once.
export function parseContents(qhp: string): HelpSection[] {
  const toc = /<toc>([\s\S]*?)<\/toc>/.exec(qhp);
  if (!toc) throw new Error("molvane.qhp : pas de sommaire <toc>");
  const root: HelpSection[] = [];
  const open: HelpSection[][] = [root];
  for (const tag of toc[1].matchAll(/<\/section\s*>|<section\b[^>]*>/g)) {
    const text = tag[0];
    if (text.startsWith("</")) {
      if (open.length === 1) throw new Error("molvane.qhp : </section> sans <section>");
      open.pop();
      continue;
    }
    const section: HelpSection = {
      title: attribute(text, "title") ?? "",
      ref: attribute(text, "ref") ?? "",
      children: [],
    };
    open[open.length - 1].push(section);
    if (!text.endsWith("/>")) open.push(section.children);
  }
  if (open.length !== 1) throw new Error("molvane.qhp : <section> non fermée");
  return root;
}

export function parseKeywords(qhp: string): HelpKeyword[] {
  const keywords: HelpKeyword[] = [];
  for (const tag of qhp.matchAll(/<keyword\b[^>]*>/g)) {
    const name = attribute(tag[0], "name");
    const ref = attribute(tag[0], "ref");
    if (name && ref) keywords.push({ name, ref });
  }
  return keywords;
}

function pageOf(ref: string): string {
  return ref.split("#")[0];
}

// One page: its title and body, pictures as data URLs read by `picture`.
export function readPage(name: string, html: string, picture: (file: string) => string): HelpPage {
  const title = /<title>([\s\S]*?)<\/title>/i.exec(html);
  const body = /<body[^>]*>([\s\S]*?)<\/body>/i.exec(html);
  if (!body) throw new Error(`${name} : pas de <body>`);
  const inlined = body[1].replace(/(<img\b[^>]*\ssrc\s*=\s*")([^"]*)(")/gi, (_all, before, src, after) => {
    return `${before}${picture(decodeEntities(src))}${after}`;
  });
  return { title: title ? decodeEntities(title[1].trim()) : name, body: inlined.trim() };
}

// Every link between pages must land on a page of the book.
export function brokenLinks(book: HelpBook): string[] {
  const broken: string[] = [];
  const known = (ref: string) => Object.hasOwn(book.pages, pageOf(ref));
  for (const [name, page] of Object.entries(book.pages)) {
    for (const link of page.body.matchAll(/<a\b[^>]*\shref\s*=\s*"([^"]*)"/gi)) {
      const href = decodeEntities(link[1]);
      if (/^[a-z][a-z0-9+.-]*:/i.test(href) || href.startsWith("#")) continue;
      if (!known(href)) broken.push(`${name} → ${href}`);
    }
  }
  const walk = (sections: HelpSection[]) => {
    for (const section of sections) {
      if (!known(section.ref)) broken.push(`molvane.qhp → ${section.ref}`);
      walk(section.children);
    }
  };
  walk(book.toc);
  for (const keyword of book.keywords) if (!known(keyword.ref)) broken.push(`molvane.qhp → ${keyword.ref}`);
  return broken;
}

export function readHelpBook(folder: string): HelpBook {
  const qhp = readFileSync(join(folder, "molvane.qhp"), "utf8");
  const files = [...qhp.matchAll(/<file>([^<]+)<\/file>/g)].map((m) => m[1].trim());
  const pages: Record<string, HelpPage> = {};
  const picture = (file: string) => {
    const type = pictureTypes[extname(file).toLowerCase()];
    const path = join(folder, file);
    if (/^data:/i.test(file)) return file;
    if (!type || !existsSync(path)) throw new Error(`Aide : image absente ou d'un type inconnu : ${file}`);
    return `data:${type};base64,${readFileSync(path).toString("base64")}`;
  };
  for (const file of files.filter((f) => f.endsWith(".html"))) {
    pages[file] = readPage(file, readFileSync(join(folder, file), "utf8"), picture);
  }
  const book: HelpBook = {
    css: readFileSync(join(folder, "aide.css"), "utf8"),
    pages,
    toc: parseContents(qhp),
    keywords: parseKeywords(qhp),
  };
  const broken = brokenLinks(book);
  if (broken.length > 0) throw new Error(`Aide : liens sans page :\n${broken.join("\n")}`);
  return book;
}

const virtualId = "virtual:molvane-help";

// Serves the book as the module `virtual:molvane-help` (its default export).
// The folder is help/ of the sources unless $MOLVANE_HELP names another: the
// desktop build's copy (build/help), where the course generator has filled
// in the list of exercises.
export function molvaneHelp(
  folder = process.env.MOLVANE_HELP || fileURLToPath(new URL("../help", import.meta.url)),
): Plugin {
  return {
    name: "molvane-help",
    resolveId(id) {
      return id === virtualId ? `\0${virtualId}` : undefined;
    },
    load(id) {
      if (id !== `\0${virtualId}`) return undefined;
      const qhp = join(folder, "molvane.qhp");
      this.addWatchFile(qhp);
      return `export default ${JSON.stringify(readHelpBook(folder))};`;
    },
  };
}

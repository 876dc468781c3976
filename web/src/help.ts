// "Aide": the program's help pages, carried inside the page, shown in a
// dialog with their contents; links between pages stay in the dialog.
import type { HelpBook, HelpSection } from "../help-pages";
import type { HelpWindowTexts } from "../bindings/output";
import { addStyle } from "./extras";
import { splitCaption } from "./page";

const helpStyle = `
.molvane-help { width: min(60rem, 94vw); height: min(44rem, 90vh); padding: 0; border: 1px solid #808080;
  background: #fff; color: #000; font: 13px Arial, "Liberation Sans", Arimo, sans-serif; }
.molvane-help[open] { display: grid; grid-template-rows: auto 1fr; }
.molvane-help::backdrop { background: rgba(0, 0, 0, 0.25); }
.molvane-help header { display: flex; align-items: center; gap: 8px; padding: 6px 10px; background: #f0ebe6;
  border-bottom: 1px solid #c0c0c0; }
.molvane-help header h2 { font-size: 14px; margin: 0 auto 0 0; }
.molvane-help .panes { display: grid; grid-template-columns: minmax(12rem, 18rem) 1fr; min-height: 0; }
.molvane-help .side { display: flex; flex-direction: column; min-height: 0; border-right: 1px solid #c0c0c0; background: #faf8f5; }
.molvane-help .index { display: flex; flex-wrap: wrap; gap: 4px; align-items: center; padding: 6px; border-bottom: 1px solid #c0c0c0; }
.molvane-help .index input { flex: 1; min-width: 8rem; }
.molvane-help nav { overflow: auto; padding: 6px 4px; flex: 1; }
.molvane-help nav ul { list-style: none; margin: 0; padding-left: 12px; }
.molvane-help nav > ul { padding-left: 2px; }
.molvane-help nav a { display: block; padding: 2px 4px; color: #0000c8; text-decoration: none; }
.molvane-help nav a:hover { text-decoration: underline; }
.molvane-help nav a[aria-current="page"] { background: #0a246a; color: #fff; }
.molvane-help .page { overflow: auto; padding: 4px 16px 16px; }
@media (max-width: 40rem), (orientation: portrait) and (max-width: 60rem) {
  .molvane-help .panes { grid-template-columns: 1fr; grid-template-rows: minmax(0, 35%) 1fr; }
  .molvane-help .side { border-right: none; border-bottom: 1px solid #c0c0c0; }
}
.molvane-help .page:focus-visible, .molvane-help nav a:focus-visible { outline: 2px solid #0a246a; outline-offset: 1px; }
`;

export interface HelpViewer {
  readonly dialog: HTMLDialogElement;
  // Opens on a page (the contents' first page by default).
  open(ref?: string): void;
  show(ref: string): boolean;
  back(): void;
  readonly current: string;
  close(): void;
}

function pageName(ref: string): string {
  return ref.split("#")[0];
}

// The page a link leads to, or null for a link out of the book.
export function resolveLink(href: string, book: HelpBook): { page: string; anchor?: string } | null {
  if (/^[a-z][a-z0-9+.-]*:/i.test(href)) return null;
  const [page, anchor] = href.split("#", 2);
  if (page === "") return null;
  return Object.hasOwn(book.pages, page) ? { page, anchor: anchor || undefined } : null;
}

// The page of a keyword: the exact one, else the first that begins with
// what was typed (case and accents as typed).
export function keywordPage(typed: string, book: HelpBook): string | null {
  const word = typed.trim().toLocaleLowerCase("fr");
  if (!word) return null;
  const exact = book.keywords.find((k) => k.name.toLocaleLowerCase("fr") === word);
  if (exact) return exact.ref;
  const start = book.keywords.find((k) => k.name.toLocaleLowerCase("fr").startsWith(word));
  return start?.ref ?? null;
}

// A caption with its key letter underlined ("&Fermer"), and that letter.
function keyed(doc: Document, element: HTMLElement, caption: string): string {
  const { before, letter, after } = splitCaption(caption);
  const underlined = doc.createElement("u");
  underlined.textContent = letter;
  element.replaceChildren(before, underlined, after);
  return letter.toLowerCase();
}

export function createHelp(book: HelpBook, texts: HelpWindowTexts, doc: Document = document): HelpViewer {
  addStyle("molvane-help-style", helpStyle, doc);
  const dialog = doc.createElement("dialog");
  dialog.className = "molvane-help";
  dialog.dataset.dialog = "aide";
  dialog.setAttribute("aria-labelledby", "molvane-help-heading");

  const header = doc.createElement("header");
  const heading = doc.createElement("h2");
  heading.id = "molvane-help-heading";
  heading.textContent = "Aide";
  const backButton = doc.createElement("button");
  backButton.type = "button";
  const backKey = keyed(doc, backButton, texts.back);
  backButton.disabled = true;
  const closeButton = doc.createElement("button");
  closeButton.type = "button";
  const closeKey = keyed(doc, closeButton, texts.close);
  header.append(heading, backButton, closeButton);

  const panes = doc.createElement("div");
  panes.className = "panes";
  const nav = doc.createElement("nav");
  nav.setAttribute("aria-label", texts.contentsName);
  // The index: a keyword of the help project, typed or picked, shows its page.
  const search = doc.createElement("form");
  search.className = "index";
  const searchLabel = doc.createElement("label");
  searchLabel.htmlFor = "molvane-help-word";
  const wordKey = splitCaption(texts.word).letter.toLowerCase();
  const { before, letter, after } = splitCaption(texts.word);
  searchLabel.textContent = before + letter + after;
  const word = doc.createElement("input");
  word.type = "search";
  word.id = "molvane-help-word";
  word.setAttribute("list", "molvane-help-words");
  word.autocomplete = "off";
  const words = doc.createElement("datalist");
  words.id = "molvane-help-words";
  for (const keyword of [...book.keywords].sort((a, b) => a.name.localeCompare(b.name, "fr"))) {
    const option = doc.createElement("option");
    option.value = keyword.name;
    words.append(option);
  }
  search.append(searchLabel, word, words);
  const pageBox = doc.createElement("div");
  pageBox.className = "page";
  pageBox.tabIndex = 0;
  pageBox.setAttribute("role", "region");
  pageBox.setAttribute("aria-live", "polite");
  // The page's own style sheet stays with the page: a shadow root keeps it off the rest.
  const shadow = pageBox.attachShadow({ mode: "open" });
  const sheet = doc.createElement("style");
  sheet.textContent = `:host { display: block; } ${book.css.replace(/\bbody\b/g, "article")}`;
  const article = doc.createElement("article");
  article.setAttribute("lang", "fr");
  shadow.append(sheet, article);
  const side = doc.createElement("div");
  side.className = "side";
  side.append(search, nav);
  panes.append(side, pageBox);
  dialog.append(header, panes);

  const links = new Map<string, HTMLAnchorElement[]>();
  const list = (sections: HelpSection[]): HTMLUListElement => {
    const ul = doc.createElement("ul");
    for (const section of sections) {
      const li = doc.createElement("li");
      const a = doc.createElement("a");
      a.href = `#${section.ref}`;
      a.dataset.ref = section.ref;
      a.textContent = section.title;
      li.append(a);
      const name = pageName(section.ref);
      links.set(name, [...(links.get(name) ?? []), a]);
      if (section.children.length > 0) li.append(list(section.children));
      ul.append(li);
    }
    return ul;
  };
  nav.append(list(book.toc));
  const first = book.toc[0]?.ref ?? Object.keys(book.pages)[0] ?? "";

  let current = "";
  const history: string[] = [];

  const render = (ref: string): boolean => {
    const target = resolveLink(ref, book);
    if (!target) return false;
    const page = book.pages[target.page];
    article.innerHTML = page.body;
    for (const link of Array.from(article.querySelectorAll<HTMLAnchorElement>("a[href]"))) {
      // Links out of the book open beside the page, never in its place.
      if (!resolveLink(link.getAttribute("href") ?? "", book) && !link.getAttribute("href")?.startsWith("#")) {
        link.target = "_blank";
        link.rel = "noopener";
      }
    }
    pageBox.setAttribute("aria-label", page.title);
    heading.textContent = `Aide – ${page.title}`;
    for (const anchors of links.values()) for (const a of anchors) a.removeAttribute("aria-current");
    for (const a of links.get(target.page) ?? []) a.setAttribute("aria-current", "page");
    current = target.page;
    const anchor = target.anchor ? shadow.getElementById(target.anchor) : null;
    if (anchor) anchor.scrollIntoView();
    else pageBox.scrollTop = 0;
    return true;
  };

  const show = (ref: string): boolean => {
    const previous = current;
    if (!render(ref)) return false;
    if (previous && previous !== current) history.push(previous);
    backButton.disabled = history.length === 0;
    return true;
  };

  nav.addEventListener("click", (event) => {
    const a = (event.target as Element).closest("a");
    if (!a) return;
    event.preventDefault();
    if (show(a.dataset.ref ?? "")) pageBox.focus();
  });
  shadow.addEventListener("click", (event) => {
    const a = (event.target as Element).closest?.("a[href]") as HTMLAnchorElement | null;
    if (!a) return;
    const href = a.getAttribute("href") ?? "";
    if (href.startsWith("#")) {
      event.preventDefault();
      shadow.getElementById(href.slice(1))?.scrollIntoView();
      return;
    }
    if (!resolveLink(href, book)) return;
    event.preventDefault();
    if (show(href)) pageBox.focus();
  });
  search.addEventListener("submit", (event) => {
    event.preventDefault();
    const ref = keywordPage(word.value, book);
    if (ref && show(ref)) pageBox.focus();
  });
  const back = () => {
    const previous = history.pop();
    if (previous) render(previous);
    backButton.disabled = history.length === 0;
    pageBox.focus();
  };
  backButton.addEventListener("click", back);
  closeButton.addEventListener("click", () => dialog.close());
  // The help window's keys, as its captions mark them: back, the contents'
  // first page, the index's field, close.
  const homeKey = splitCaption(texts.home).letter.toLowerCase();
  dialog.addEventListener("keydown", (event) => {
    if (!event.altKey || event.ctrlKey || event.metaKey) return;
    const key = event.key.toLowerCase();
    if (key === "arrowleft" || key === backKey) back();
    else if (key === homeKey) {
      if (show(first)) pageBox.focus();
    } else if (key === wordKey) word.focus();
    else if (key === closeKey) dialog.close();
    else return;
    event.preventDefault();
  });
  let opener: HTMLElement | null = null;
  dialog.addEventListener("close", () => opener?.focus());

  return {
    dialog,
    get current() {
      return current;
    },
    open(ref?: string) {
      opener = doc.activeElement instanceof HTMLElement ? doc.activeElement : null;
      if (!dialog.isConnected) doc.body.append(dialog);
      if (ref !== undefined || current === "") {
        history.length = 0;
        current = "";
        render(ref ?? first);
        backButton.disabled = true;
      }
      if (!dialog.open) dialog.showModal();
      pageBox.focus();
    },
    show,
    back,
    close: () => dialog.close(),
  };
}

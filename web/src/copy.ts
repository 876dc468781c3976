// "Copier": the menu of the desktop's copy button, as a keyboard menu. The
// pictures go on the clipboard as PNG, the table as text (and HTML); where
// the browser refuses the clipboard, the same thing is downloaded instead
// and the pupil is told where it went.
import type { CopyMenuTexts, OutputModule } from "../bindings/output";
import { addStyle, pictureAt, pngOf } from "./extras";
import { download } from "./files";

export interface CanvasSource {
  canvas: () => HTMLCanvasElement;
  // The picture's size in the program's pixels (the canvas may hold more).
  width?: number;
  height?: number;
}

export interface CopySources {
  // The menu's names and captions.
  module: Pick<OutputModule, "copyMenu" | "copyDownloadNotice">;
  animation: CanvasSource;
  graph: CanvasSource;
  // The table as the clipboard takes it, from the module (copyTableText).
  tableText: () => string;
  tableHtml?: () => string;
  // The table on the page, pictured as it is laid out.
  table: () => HTMLTableElement | null;
  // "Exporter les mesures (CSV)…": the page's export.
  exportMeasures: () => void;
  // After the menu closes (an item chosen or not), except after the export:
  // with no text the help line shows the copy confirmation, as on the
  // desktop; with a text, that text (a download instead of a copy).
  confirm: (notice?: string) => void;
}

export type CopyOutcome = { copied: true } | { copied: false; fileName: string };

// What the clipboard can be asked, so that tests can stand in for it.
export interface ClipboardLike {
  write(items: ClipboardItem[]): Promise<void>;
}

function clipboardOf(): ClipboardLike | null {
  const clipboard = navigator.clipboard as ClipboardLike | undefined;
  if (!clipboard || typeof clipboard.write !== "function" || typeof ClipboardItem === "undefined") return null;
  return clipboard;
}

// Puts the items on the clipboard, or downloads the fallback file.
export async function putOrDownload(
  items: Record<string, Promise<Blob>>,
  fallback: { blob: () => Promise<Blob>; fileName: string },
  clipboard: ClipboardLike | null = clipboardOf(),
): Promise<CopyOutcome> {
  if (clipboard) {
    try {
      await clipboard.write([new ClipboardItem(items)]);
      return { copied: true };
    } catch {
      // Refused (no permission, no focus, file://): downloaded below.
    }
  }
  const blob = await fallback.blob();
  download(document, fallback.fileName, blob, blob.type);
  return { copied: false, fileName: fallback.fileName };
}

export function copyPicture(source: CanvasSource, fileName: string, clipboard?: ClipboardLike | null) {
  const picture = pictureAt(source.canvas(), source.width, source.height);
  // The blob is promised at once so that the clipboard is asked within the click.
  const png = pngOf(picture);
  return putOrDownload({ "image/png": png }, { blob: () => png, fileName }, clipboard);
}

export function copyText(text: string, html: string | undefined, fileName: string, clipboard?: ClipboardLike | null) {
  const items: Record<string, Promise<Blob>> = {
    "text/plain": Promise.resolve(new Blob([text], { type: "text/plain" })),
  };
  if (html !== undefined) items["text/html"] = Promise.resolve(new Blob([html], { type: "text/html" }));
  return putOrDownload(items, { blob: () => items["text/plain"], fileName }, clipboard);
}

function cellColour(style: CSSStyleDeclaration, fallback: string): string {
  const colour = style.backgroundColor;
  return !colour || colour === "transparent" || colour === "rgba(0, 0, 0, 0)" ? fallback : colour;
}

// The table as one picture, every row (scrolled out of sight or not), in the
// page's own pixels: its cells, their colours, texts and lines as laid out.
export function tablePicture(table: HTMLTableElement): HTMLCanvasElement {
  // A table hidden behind the graph has no layout: a copy of it is laid out
  // out of sight for the time of the drawing.
  if (!table.offsetParent && table.rows.length > 0) {
    const doc = table.ownerDocument;
    const holder = (table.parentElement?.cloneNode(false) as HTMLElement | null) ?? doc.createElement("div");
    holder.hidden = false;
    holder.removeAttribute("data-control");
    holder.setAttribute("aria-hidden", "true");
    holder.style.cssText = "position: fixed; left: -100000px; top: 0; width: auto; height: auto; overflow: visible;";
    holder.append(table.cloneNode(true));
    doc.body.append(holder);
    try {
      return tablePicture(holder.firstElementChild as HTMLTableElement);
    } finally {
      holder.remove();
    }
  }
  const doc = table.ownerDocument;
  const view = doc.defaultView ?? window;
  const canvas = doc.createElement("canvas");
  canvas.width = Math.max(table.offsetWidth, 1);
  canvas.height = Math.max(table.offsetHeight, 1);
  const context = canvas.getContext("2d");
  if (!context) return canvas;
  context.fillStyle = "#ffffff";
  context.fillRect(0, 0, canvas.width, canvas.height);
  context.textBaseline = "middle";
  for (const row of Array.from(table.rows)) {
    for (const cell of Array.from(row.cells)) {
      const x = cell.offsetLeft;
      const y = cell.offsetTop;
      const w = cell.offsetWidth;
      const h = cell.offsetHeight;
      const style = view.getComputedStyle(cell);
      context.fillStyle = cellColour(style, "#ffffff");
      context.fillRect(x, y, w, h);
      context.strokeStyle = "rgb(192, 192, 192)";
      context.strokeRect(x + 0.5, y + 0.5, w - 1, h - 1);
      const text = (cell.textContent ?? "").replace(/\s+$/, "");
      if (!text || style.visibility === "hidden") continue;
      context.font = `${style.fontStyle} ${style.fontWeight} ${style.fontSize} ${style.fontFamily}`;
      context.fillStyle = style.color || "#000000";
      const align = style.textAlign;
      const pad = 3;
      if (align === "center") {
        context.textAlign = "center";
        context.fillText(text, x + w / 2, y + h / 2);
      } else if (align === "right" || align === "end") {
        context.textAlign = "right";
        context.fillText(text, x + w - pad, y + h / 2);
      } else {
        context.textAlign = "left";
        context.fillText(text, x + pad, y + h / 2);
      }
    }
  }
  return canvas;
}

const menuStyle = `
.molvane-menu { position: fixed; z-index: 1000; margin: 0; padding: 2px 0; list-style: none;
  background: #f4f2ee; color: #000; border: 1px solid #808080; box-shadow: 2px 2px 4px rgba(0,0,0,.35);
  font: 13px Arial, "Liberation Sans", Arimo, sans-serif; min-width: 14em; }
.molvane-menu [role="menuitem"] { display: flex; justify-content: space-between; gap: 1.5em;
  padding: 3px 12px 3px 20px; cursor: default; white-space: nowrap; outline: none; }
.molvane-menu [role="menuitem"]:focus, .molvane-menu [role="menuitem"]:hover,
.molvane-menu [role="menuitem"][aria-expanded="true"] { background: #0a246a; color: #fff; }
.molvane-menu [role="separator"] { height: 0; margin: 3px 2px; border-top: 1px solid #a0a0a0; }
.molvane-menu u { text-decoration: underline; }
`;

interface MenuEntry {
  name: string;
  caption: string; // & before the key letter
  run?: () => Promise<CopyOutcome | void> | void;
  submenu?: MenuEntry[];
}

// The caption with its key letter underlined, and that letter.
function captionNodes(doc: Document, caption: string): { nodes: Node[]; key?: string } {
  const at = caption.indexOf("&");
  if (at < 0 || at === caption.length - 1) return { nodes: [doc.createTextNode(caption)] };
  const u = doc.createElement("u");
  u.textContent = caption[at + 1];
  return {
    nodes: [doc.createTextNode(caption.slice(0, at)), u, doc.createTextNode(caption.slice(at + 2))],
    key: caption[at + 1].toLowerCase(),
  };
}

export class CopyMenu {
  readonly element: HTMLUListElement;
  // The menus' own landmark, present while they show, so that nothing of the
  // page lies outside a landmark.
  private readonly holder: HTMLElement;
  private submenu: HTMLUListElement | null = null;
  // Each item that opens a submenu, with that submenu.
  private readonly submenuOf = new Map<HTMLElement, HTMLUListElement>();
  private opener: HTMLElement | null = null;
  private readonly doc: Document;
  private readonly onOutside = (event: Event) => {
    const target = event.target as Node | null;
    if (target && (this.element.contains(target) || this.submenu?.contains(target))) return;
    if (target && this.opener?.contains(target)) return;
    this.close(true);
  };

  constructor(
    private readonly sources: CopySources,
    doc: Document = document,
  ) {
    this.doc = doc;
    addStyle("molvane-menu-style", menuStyle, doc);
    const texts = sources.module.copyMenu();
    this.element = this.build(this.entries(texts), texts.name, texts.spokenName);
    this.holder = doc.createElement("div");
    this.holder.setAttribute("role", "region");
    this.holder.setAttribute("aria-label", texts.regionName);
    this.holder.hidden = true;
    this.holder.append(this.element, ...this.submenuOf.values());
  }

  // The module's items, each with what it does here.
  private entries(texts: CopyMenuTexts): MenuEntry[] {
    const s = this.sources;
    const runs: Record<string, (download: string) => ReturnType<NonNullable<MenuEntry["run"]>>> = {
      cop001: (download) => copyPicture(s.animation, download),
      Cop002: (download) => copyPicture(s.graph, download),
      cop0031: (download) => copyText(s.tableText(), s.tableHtml?.(), download),
      cop0032: (download) => {
        const table = s.table();
        if (!table) return;
        return copyPicture({ canvas: () => tablePicture(table) }, download);
      },
    };
    const top: MenuEntry[] = [];
    const byName = new Map<string, MenuEntry>();
    for (const item of texts.items) {
      const run = runs[item.name];
      const entry: MenuEntry = { name: item.name, caption: item.caption, run: run && (() => run(item.download)) };
      byName.set(item.name, entry);
      const parent = item.parent ? byName.get(item.parent) : undefined;
      if (parent) (parent.submenu ??= []).push(entry);
      else top.push(entry);
    }
    top.push({ name: texts.exportSeparator, caption: "-" });
    top.push({ name: texts.exportItem, caption: texts.exportCaption, run: () => s.exportMeasures() });
    return top;
  }

  private build(entries: MenuEntry[], name: string, label: string): HTMLUListElement {
    const doc = this.doc;
    const list = doc.createElement("ul");
    list.className = "molvane-menu";
    list.setAttribute("role", "menu");
    list.setAttribute("aria-label", label);
    list.dataset.menu = name;
    list.hidden = true;
    for (const entry of entries) {
      const item = doc.createElement("li");
      item.dataset.item = entry.name;
      if (entry.caption === "-") {
        item.setAttribute("role", "separator");
        list.append(item);
        continue;
      }
      item.setAttribute("role", "menuitem");
      item.tabIndex = -1;
      const { nodes, key } = captionNodes(doc, entry.caption);
      const text = doc.createElement("span");
      text.append(...nodes);
      item.append(text);
      if (key) item.dataset.key = key;
      if (entry.submenu) {
        const sub = this.build(entry.submenu, entry.name, entry.caption.replace("&", ""));
        sub.id = `molvane-menu-${entry.name}`;
        item.setAttribute("aria-haspopup", "menu");
        item.setAttribute("aria-expanded", "false");
        item.setAttribute("aria-controls", sub.id);
        const arrow = doc.createElement("span");
        arrow.setAttribute("aria-hidden", "true");
        arrow.textContent = "▸";
        item.append(arrow);
        item.addEventListener("click", () => this.openSubmenu(item, sub, true));
        item.addEventListener("mouseenter", () => this.openSubmenu(item, sub, false));
        this.submenuOf.set(item, sub);
      } else {
        item.addEventListener("click", () => this.choose(entry));
        item.addEventListener("mouseenter", () => {
          if (list === this.element) this.closeSubmenu(false);
          item.focus();
        });
      }
      list.append(item);
    }
    list.addEventListener("keydown", (event) => this.key(event, list));
    return list;
  }

  get isOpen(): boolean {
    return !this.element.hidden;
  }

  // From the button: at the pointer when the click came from it, else under the button.
  open(opener: HTMLElement, pointer?: { x: number; y: number }): void {
    if (this.isOpen) return;
    this.opener = opener;
    if (!this.holder.isConnected) this.doc.body.append(this.holder);
    this.holder.hidden = false;
    this.element.hidden = false;
    const box = opener.getBoundingClientRect();
    const at = pointer ?? { x: box.left, y: box.bottom };
    this.placeWithin(this.element, at.x, at.y);
    opener.setAttribute("aria-expanded", "true");
    this.items(this.element)[0]?.focus();
    this.doc.addEventListener("pointerdown", this.onOutside, true);
    this.doc.addEventListener("focusin", this.onOutside, true);
  }

  // Closing with no choice still shows the confirmation, as the desktop does.
  close(confirm: boolean, returnFocus = true): void {
    if (!this.isOpen) return;
    this.closeSubmenu(false);
    this.element.hidden = true;
    this.holder.hidden = true;
    this.doc.removeEventListener("pointerdown", this.onOutside, true);
    this.doc.removeEventListener("focusin", this.onOutside, true);
    this.opener?.setAttribute("aria-expanded", "false");
    if (returnFocus) this.opener?.focus();
    if (confirm) this.sources.confirm();
  }

  private placeWithin(menu: HTMLElement, x: number, y: number): void {
    const view = this.doc.defaultView ?? window;
    menu.style.left = "0px";
    menu.style.top = "0px";
    const { width, height } = menu.getBoundingClientRect();
    menu.style.left = `${Math.max(0, Math.min(x, view.innerWidth - width))}px`;
    menu.style.top = `${Math.max(0, Math.min(y, view.innerHeight - height))}px`;
  }

  private items(list: HTMLElement): HTMLElement[] {
    return Array.from(list.querySelectorAll<HTMLElement>(':scope > [role="menuitem"]'));
  }

  private openSubmenu(item: HTMLElement, sub: HTMLUListElement, focusFirst: boolean): void {
    if (this.submenu !== sub) {
      this.closeSubmenu(false);
      sub.hidden = false;
      const box = item.getBoundingClientRect();
      this.placeWithin(sub, box.right - 2, box.top - 3);
      item.setAttribute("aria-expanded", "true");
      this.submenu = sub;
    }
    if (focusFirst) this.items(sub)[0]?.focus();
    else item.focus();
  }

  private closeSubmenu(focusParent: boolean): void {
    if (!this.submenu) return;
    const parent = this.element.querySelector<HTMLElement>(`[aria-controls="${this.submenu.id}"]`);
    this.submenu.hidden = true;
    this.submenu = null;
    parent?.setAttribute("aria-expanded", "false");
    if (focusParent) parent?.focus();
  }

  private choose(entry: MenuEntry): void {
    const exporting = entry.name === "exportcsv";
    this.close(false);
    const done = entry.run?.();
    // The export's dialog follows instead of the confirmation.
    if (exporting) return;
    Promise.resolve(done)
      .then((outcome) => {
        if (outcome && !outcome.copied) this.sources.confirm(this.sources.module.copyDownloadNotice(outcome.fileName));
        else this.sources.confirm();
      })
      .catch(() => this.sources.confirm());
  }

  private key(event: KeyboardEvent, list: HTMLUListElement): void {
    const items = this.items(list);
    const at = items.indexOf(this.doc.activeElement as HTMLElement);
    const move = (to: number) => items[(to + items.length) % items.length]?.focus();
    const current = items[at];
    switch (event.key) {
      case "ArrowDown":
        move(at + 1);
        break;
      case "ArrowUp":
        move(at < 0 ? -1 : at - 1);
        break;
      case "Home":
        move(0);
        break;
      case "End":
        move(-1);
        break;
      case "ArrowRight": {
        const sub = current && this.submenuOf.get(current);
        if (sub) this.openSubmenu(current, sub, true);
        break;
      }
      case "ArrowLeft":
        if (list !== this.element) this.closeSubmenu(true);
        break;
      case "Escape":
        if (list !== this.element) this.closeSubmenu(true);
        else this.close(true);
        break;
      case "Tab":
        this.close(true);
        break;
      case "Enter":
      case " ":
        current?.click();
        break;
      default: {
        const letter = event.key.length === 1 ? event.key.toLowerCase() : "";
        const keyed = items.find((item) => item.dataset.key === letter);
        if (!keyed) return;
        keyed.click();
      }
    }
    event.preventDefault();
    event.stopPropagation();
  }
}

// Wires the copy button to a new menu: a click opens it at the pointer, the
// keyboard under the button.
export function createCopyMenu(button: HTMLElement, sources: CopySources): CopyMenu {
  const menu = new CopyMenu(sources, button.ownerDocument);
  button.setAttribute("aria-haspopup", "menu");
  button.setAttribute("aria-expanded", "false");
  button.addEventListener("click", (event) => {
    const fromPointer = event.detail > 0;
    menu.open(button, fromPointer ? { x: event.clientX, y: event.clientY } : undefined);
  });
  return menu;
}

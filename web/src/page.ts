// The main window as a page, built from the control table: every control at
// its design place, named and described as the desktop names it, found by
// `data-control="<design name>"`.
import type { Control, PaintedText } from '../bindings/settings';
import { cssColour } from './colours';
import type { Molvane } from './molvane';

export const kFont = 'Arial, "Liberation Sans", Arimo, sans-serif';

export interface Page {
  /** The window `feuilleP`, in design pixels (scaled as a whole). */
  root: HTMLElement;
  /** Each control by its design name. */
  controls: Map<string, HTMLElement>;
  vessel: HTMLCanvasElement;
  graph: HTMLCanvasElement;
  /** The table of values `MSFlexGrid1`. */
  table: HTMLTableElement;
  /** The help line `info`. */
  info: HTMLElement;
  /** Announcements for screen readers (the end of a recording). */
  live: HTMLElement;
  tabs: HTMLButtonElement[];
  panels: HTMLElement[];
  /** Painted texts in a species' colour, to paint again when it changes. */
  speciesTexts: { element: HTMLElement; species: number }[];
  /** The window's own painting under its controls. */
  backdrop: HTMLCanvasElement;
  /** The tab strip's lines. */
  stripLines: HTMLCanvasElement;
  /** The same under a panel's controls. */
  panelBackdrops: HTMLCanvasElement[];
  /** The design rectangle of every control of the window itself. */
  designRects: Map<string, { x: number; y: number; width: number; height: number }>;
}

const kPanels = ['Picture3', 'Frame2', 'Picture1'];

/** A caption with its "&" key letter: the text, and the letter (lower case) if any. */
export function splitCaption(caption: string): { before: string; letter: string; after: string } {
  for (let k = 0; k < caption.length - 1; ++k) {
    if (caption[k] !== '&') continue;
    if (caption[k + 1] === '&') {
      ++k;
      continue;
    }
    return {
      before: caption.slice(0, k).replace(/&&/g, '&'),
      letter: caption[k + 1],
      after: caption.slice(k + 2).replace(/&&/g, '&'),
    };
  }
  return { before: caption.replace(/&&/g, '&'), letter: '', after: '' };
}

function captionInto(doc: Document, element: HTMLElement, caption: string): string {
  const { before, letter, after } = splitCaption(caption);
  element.append(before);
  if (letter) {
    const u = doc.createElement('u');
    u.textContent = letter;
    element.append(u, after);
  }
  return letter.toLowerCase();
}

let measureCanvas: HTMLCanvasElement | null = null;
/** A text's width in the page's Arial, in CSS pixels. */
export function textWidth(doc: Document, text: string, points: number, bold: boolean, italic = false): number {
  measureCanvas ??= doc.createElement('canvas');
  const ctx = measureCanvas.getContext('2d');
  if (!ctx) return text.length * points * 0.6;
  ctx.font = `${italic ? 'italic ' : ''}${bold ? 'bold ' : ''}${points}pt ${kFont}`;
  return ctx.measureText(text).width;
}

/** A text's height in the page's Arial, rounded up, in CSS pixels. */
export function textHeight(doc: Document, text: string, points: number): number {
  measureCanvas ??= doc.createElement('canvas');
  const ctx = measureCanvas.getContext('2d');
  if (!ctx) return Math.ceil((points * 4) / 3);
  ctx.font = `${points}pt ${kFont}`;
  const metrics = ctx.measureText(text);
  return Math.ceil(metrics.fontBoundingBoxAscent + metrics.fontBoundingBoxDescent);
}

function paintTexts(doc: Document, parent: HTMLElement, texts: PaintedText[], page: Page): void {
  let end = 0;
  for (const t of texts) {
    const width = textWidth(doc, t.text, t.points, t.bold);
    let x = t.x;
    if (t.follows) x = end;
    else if (t.anchor === 'right') x -= width;
    else if (t.anchor === 'centre') x -= width / 2;
    end = x + width;
    const span = doc.createElement('span');
    span.className = 'peint';
    span.setAttribute('aria-hidden', 'true');
    span.textContent = t.text;
    span.style.left = `${x}px`;
    span.style.top = `${t.y}px`;
    span.style.font = `${t.bold ? 'bold ' : ''}${t.points}pt ${kFont}`;
    if (t.species >= 0) page.speciesTexts.push({ element: span, species: t.species });
    parent.append(span);
  }
}

function place(element: HTMLElement, rect: { x: number; y: number; width: number; height: number }): void {
  element.style.left = `${rect.x}px`;
  element.style.top = `${rect.y}px`;
  element.style.width = `${rect.width}px`;
  element.style.height = `${rect.height}px`;
}

function nameAndDescribe(element: HTMLElement, control: Control, own: boolean): void {
  if (own && control.spokenName) element.setAttribute('aria-label', control.spokenName);
  if (control.spokenDescription) element.setAttribute('aria-description', control.spokenDescription);
  const tip = control.toolTip || control.hover;
  if (tip) element.title = tip.replace(/\r\n/g, '\n');
}

function create(doc: Document, m: Molvane, control: Control, page: Page): HTMLElement {
  let element: HTMLElement;
  switch (control.kind) {
    case 'picture': {
      const canvas = doc.createElement('canvas');
      canvas.tabIndex = 0;
      canvas.setAttribute('role', 'img');
      element = canvas;
      nameAndDescribe(element, control, true);
      break;
    }
    case 'label': {
      element = doc.createElement('div');
      element.className = 'etiquette';
      nameAndDescribe(element, control, false);
      break;
    }
    case 'textbox': {
      const input = doc.createElement('input');
      input.type = 'text';
      input.autocomplete = 'off';
      input.spellcheck = false;
      element = input;
      nameAndDescribe(element, control, true);
      break;
    }
    case 'textarea': {
      element = doc.createElement('textarea');
      nameAndDescribe(element, control, true);
      break;
    }
    case 'button': {
      const button = doc.createElement('button');
      button.type = 'button';
      const letter = captionInto(doc, button, control.caption);
      if (letter) {
        // Alt and the letter press it, as on the desktop (see keyLetters).
        button.dataset.key = letter;
        button.setAttribute('aria-keyshortcuts', `Alt+${letter.toUpperCase()}`);
      }
      element = button;
      nameAndDescribe(element, control, control.spokenName !== control.plainCaption);
      break;
    }
    case 'checkbox':
    case 'option': {
      const label = doc.createElement('label');
      label.className = 'case';
      const input = doc.createElement('input');
      input.type = control.kind === 'checkbox' ? 'checkbox' : 'radio';
      if (control.kind === 'option') input.name = control.name.replace(/_\d+$/, '');
      const text = doc.createElement('span');
      captionInto(doc, text, control.caption);
      label.append(input, text);
      nameAndDescribe(input, control, control.spokenName !== control.plainCaption);
      label.title = input.title;
      element = label;
      element.dataset.control = control.name;
      // The box itself carries the name too, for whoever looks for the input.
      input.dataset.input = control.name;
      return element;
    }
    case 'vbar':
    case 'hbar': {
      const range = doc.createElement('input');
      range.type = 'range';
      range.min = String(control.lowest ?? 0);
      range.max = String(control.highest ?? 100);
      range.step = '1';
      range.className = control.kind === 'vbar' ? 'barre verticale' : 'barre';
      element = range;
      nameAndDescribe(element, control, true);
      break;
    }
    case 'swatch': {
      const button = doc.createElement('button');
      button.type = 'button';
      button.className = 'pastille';
      element = button;
      nameAndDescribe(element, control, true);
      break;
    }
    case 'panel': {
      element = doc.createElement('div');
      element.className = 'panneau';
      element.setAttribute('role', 'tabpanel');
      nameAndDescribe(element, control, true);
      break;
    }
    case 'frame': {
      element = doc.createElement('div');
      element.className = 'cadre';
      element.setAttribute('role', 'group');
      break;
    }
    case 'tabstrip': {
      element = doc.createElement('div');
      element.className = 'onglets';
      const lines = doc.createElement('canvas');
      lines.className = 'fond';
      lines.setAttribute('aria-hidden', 'true');
      element.append(lines);
      page.stripLines = lines;
      const list = doc.createElement('div');
      list.setAttribute('role', 'tablist');
      nameAndDescribe(list, control, true);
      element.title = list.title;
      m.tabNames().forEach((name, index) => {
        const tab = doc.createElement('button');
        tab.type = 'button';
        tab.setAttribute('role', 'tab');
        tab.id = `onglet-${index}`;
        tab.textContent = name;
        tab.dataset.tab = String(index);
        list.append(tab);
        page.tabs.push(tab);
      });
      element.append(list);
      break;
    }
    case 'grid': {
      element = doc.createElement('div');
      element.className = 'grille';
      element.tabIndex = -1;
      const table = doc.createElement('table');
      table.setAttribute('aria-label', control.spokenName);
      element.append(table);
      page.table = table;
      break;
    }
    case 'stop': {
      element = doc.createElement('div');
      element.className = 'arret';
      element.tabIndex = 0;
      element.setAttribute('role', 'note');
      break;
    }
    default:
      element = doc.createElement('div');
  }
  element.dataset.control = control.name;
  return element;
}

/** Builds the window `feuilleP` and its controls, in the order of the Tab round. */
export function buildPage(doc: Document, m: Molvane, host: HTMLElement): Page {
  const page: Page = {
    root: doc.createElement('div'),
    controls: new Map(),
    vessel: doc.createElement('canvas'),
    graph: doc.createElement('canvas'),
    table: doc.createElement('table'),
    info: doc.createElement('div'),
    live: doc.createElement('div'),
    tabs: [],
    panels: [],
    speciesTexts: [],
    backdrop: doc.createElement('canvas'),
    panelBackdrops: [],
    stripLines: doc.createElement('canvas'),
    designRects: new Map(),
  };
  page.backdrop.className = 'fond';
  page.backdrop.setAttribute('aria-hidden', 'true');
  page.root.append(page.backdrop);
  const controls = m.controls();
  const window = controls.find((c) => c.name === m.mainWindowName);
  page.root.id = m.mainWindowName;
  page.root.dataset.control = m.mainWindowName;
  page.root.className = 'fenetre';
  // The program's own colours, for the style sheet.
  doc.documentElement.style.setProperty('--panneau', cssColour(m.panelColour));
  doc.documentElement.style.setProperty('--gris-fonce', cssColour(m.darkGrey));
  doc.documentElement.style.setProperty('--gris-clair', cssColour(m.lightGrey));
  doc.body.style.backgroundColor = cssColour(m.panelColour);
  page.root.style.width = `${m.designWidth}px`;
  page.root.style.height = `${m.designHeight}px`;
  if (window) doc.title = window.caption;
  page.controls.set(m.mainWindowName, page.root);

  // Parents before their children; within a parent, the Tab round's order.
  const order = (c: Control) => (c.tabPlace > 0 ? c.tabPlace : 1000);
  const children = new Map<string, Control[]>();
  for (const c of controls) {
    if (c.name === m.mainWindowName) continue;
    // The display size is the browser's own zoom here.
    if (c.name === 'Comtaille') continue;
    const list = children.get(c.parent) ?? [];
    list.push(c);
    children.set(c.parent, list);
  }
  const firstPlace = (c: Control): number =>
    Math.min(order(c), ...(children.get(c.name) ?? []).map((child) => firstPlace(child)));

  const add = (parentName: string, parent: HTMLElement) => {
    const list = [...(children.get(parentName) ?? [])].sort((a, b) => firstPlace(a) - firstPlace(b));
    for (const control of list) {
      const element = create(doc, m, control, page);
      const headingWidth = control.after ? textWidth(doc, control.after.text, 8, true) : 0;
      let rect = m.placedRect(control.name, Math.round(headingWidth)) ?? control.rect;
      // What lies over a picture (the table over the graph) lies beside its
      // canvas, at the same place: a canvas shows no children.
      let into = parent;
      if (parent instanceof HTMLCanvasElement && parent.parentElement) {
        const under = page.designRects.get(parentName);
        if (under) rect = { ...rect, x: rect.x + under.x, y: rect.y + under.y };
        into = parent.parentElement;
      }
      if (control.kind !== 'panel') place(element, rect);
      if (into === page.root) page.designRects.set(control.name, rect);
      if (control.startsHidden) element.hidden = true;
      page.controls.set(control.name, element);
      if (control.kind === 'panel') {
        page.panels.push(element);
        if (m.panelStrokes(control.name).length) {
          const backdrop = doc.createElement('canvas');
          backdrop.className = 'fond';
          backdrop.dataset.panel = control.name;
          backdrop.setAttribute('aria-hidden', 'true');
          element.append(backdrop);
          page.panelBackdrops.push(backdrop);
        }
        paintTexts(doc, element, m.paintedTexts(control.name), page);
      }
      if (control.name === 'animpic') page.vessel = element as HTMLCanvasElement;
      if (control.name === 'Picture2') page.graph = element as HTMLCanvasElement;
      if (control.name === 'info') page.info = element;
      // The panels of the strip lie in the strip, under the tabs.
      into.append(element);
      add(control.name, element);
    }
  };
  add(m.mainWindowName, page.root);
  page.info.textContent = m.hoverText(m.mainWindowName, 0);
  paintTexts(doc, page.root, m.paintedTexts(m.mainWindowName), page);

  // The panels in the order of the tabs, each labelled by its tab.
  page.panels.sort((a, b) => kPanels.indexOf(a.dataset.control ?? '') - kPanels.indexOf(b.dataset.control ?? ''));
  page.panels.forEach((panel, index) => {
    const tab = page.tabs[index];
    if (!tab) return;
    panel.id = `panneau-${index}`;
    tab.setAttribute('aria-controls', panel.id);
  });

  page.live.className = 'annonce';
  page.live.setAttribute('role', 'status');
  page.live.setAttribute('aria-live', 'polite');
  page.root.append(page.live);
  host.append(page.root);
  return page;
}

/**
 * Alt and a button's key letter press that button, wherever the keyboard
 * is: the button takes the keyboard and is clicked.
 */
export function keyLetters(doc: Document, root: HTMLElement): () => void {
  const press = (event: KeyboardEvent) => {
    if (!event.altKey || event.ctrlKey || event.metaKey) return;
    // The key's place names the letter where Alt changes what a key types.
    const letter = /^Key[A-Z]$/.test(event.code) ? event.code.slice(3).toLowerCase() : event.key.toLowerCase();
    for (const button of root.querySelectorAll<HTMLButtonElement>('button[data-key]')) {
      if (button.dataset.key !== letter || button.disabled || button.hidden || !button.offsetParent) continue;
      event.preventDefault();
      button.focus();
      button.click();
      return;
    }
  };
  doc.addEventListener('keydown', press);
  return () => doc.removeEventListener('keydown', press);
}

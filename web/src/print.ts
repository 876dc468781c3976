// "Imprimer": the desktop's print dialog as a page dialog, then a print-only
// layout of the chosen views, placed by the module's page layout, and the
// browser's print dialog. The layout goes once the printing is over.
import type { OutputModule, PageGeometry, PrintRequest } from "../bindings/output";
import { addStyle } from "./extras";

export interface PrintSources {
  module: Pick<OutputModule, "layoutPages" | "Placed" | "printDialogTexts">;
  animation: { canvas: () => HTMLCanvasElement; width: number; height: number };
  graph: { canvas: () => HTMLCanvasElement; width: number; height: number };
  // The table of values as the page shows it (header row first).
  table: () => HTMLTableElement | null;
  // Runs the browser's print dialog; a test can stand in for it.
  print?: () => void;
}

export interface PrintChoices {
  animation: boolean;
  graph: boolean;
  table: boolean;
  title: string;
  copies: number;
}

const kTwipsPerCssPixel = 15; // 1440 twips an inch, 96 CSS pixels an inch
// The sheet: A4 upright, 10 mm margins; the layout fills what lies inside them.
const kMarginMm = 10;
const kSheetMm = { width: 210, height: 297 };
const kTwipsPerMm = 1440 / 25.4;
// The title in Arial 12 bold, the line after it in 10 bold, each 1.15 of its size.
const kLineFactor = 1.15;
// The table's rows when printed, in CSS pixels, and its border.
const kTableRowHeight = 17;
const kTableFrame = 2;

export function pageGeometry(): PageGeometry {
  return {
    width: (kSheetMm.width - 2 * kMarginMm) * kTwipsPerMm,
    height: (kSheetMm.height - 2 * kMarginMm) * kTwipsPerMm,
    titleLine: 12 * kLineFactor * 20,
    smallLine: 10 * kLineFactor * 20,
  };
}

// The dialog's copies field as a count: whole, from 1 to the most.
export function copiesOf(text: string, most: number): number {
  const n = Math.trunc(Number(text));
  if (!Number.isFinite(n) || n < 1) return 1;
  return Math.min(n, most);
}

// A button's caption with its key letter underlined ("&" before it), and that letter.
function captionInto(doc: Document, element: HTMLElement, caption: string): string {
  const at = caption.indexOf("&");
  if (at < 0 || at === caption.length - 1) {
    element.textContent = caption;
    return "";
  }
  const u = doc.createElement("u");
  u.textContent = caption[at + 1];
  element.append(caption.slice(0, at), u, caption.slice(at + 2));
  return caption[at + 1].toLowerCase();
}

const printStyle = `
.molvane-print { display: none; }
@media print {
  @page { size: A4 portrait; margin: ${kMarginMm}mm; }
  body.molvane-printing > *:not(.molvane-print) { display: none !important; }
  body.molvane-printing > .molvane-print { display: block; }
}
.molvane-print { background: #fff; color: #000; }
.molvane-print .page { position: relative; overflow: hidden; break-after: page; page-break-after: always; }
.molvane-print .page:last-child { break-after: auto; page-break-after: auto; }
.molvane-print .placed { position: absolute; margin: 0; }
.molvane-print .title { font: bold 12pt/${kLineFactor} Arial, "Liberation Sans", Arimo, sans-serif; white-space: pre; }
.molvane-print table { border-collapse: collapse; border-left: 1px solid #000; font: 8pt Arial, "Liberation Sans", Arimo, sans-serif; }
.molvane-print tr { height: ${kTableRowHeight}px; }
.molvane-print th, .molvane-print td { border: 1px solid #c0c0c0; padding: 0 4px; white-space: pre; }
.molvane-print img { display: block; }
@media (max-width: 34rem) {
  .molvane-print-dialog .body, .molvane-print-dialog .fields { grid-template-columns: 1fr; }
  .molvane-print-dialog .buttons { flex-direction: row; }
  .molvane-print-dialog input[type="text"] { width: 100%; box-sizing: border-box; }
}
.molvane-print-dialog { font: 13px Arial, "Liberation Sans", Arimo, sans-serif; background: #f0ebe6; color: #000;
  border: 1px solid #808080; padding: 12px 16px; }
.molvane-print-dialog::backdrop { background: rgba(0, 0, 0, 0.2); }
.molvane-print-dialog h2 { font-size: 14px; margin: 0 0 10px; }
.molvane-print-dialog .body { display: grid; grid-template-columns: auto auto; gap: 12px 24px; align-items: start; }
.molvane-print-dialog fieldset { margin: 0; border: 1px solid #a0a0a0; }
.molvane-print-dialog fieldset label { display: block; margin: 4px 0; }
.molvane-print-dialog .buttons { display: flex; flex-direction: column; gap: 6px; }
.molvane-print-dialog .buttons button { min-width: 7em; }
.molvane-print-dialog .fields { grid-column: 1 / -1; display: grid; grid-template-columns: max-content 1fr; gap: 6px 8px; align-items: center; }
.molvane-print-dialog input[type="text"] { width: 20em; }
.molvane-print-dialog input[type="number"] { width: 4em; }
.molvane-print-dialog .note { grid-column: 1 / -1; margin: 0; font-size: 12px; }
.molvane-print-dialog .waiting { margin: 24px 8px; font-size: 14px; }
`;

function px(twips: number): string {
  return `${twips / kTwipsPerCssPixel}px`;
}

// A copy of the table's rows: the header and data rows first .. end - 1.
function tablePart(source: HTMLTableElement, first: number, end: number, doc: Document): HTMLTableElement {
  const table = doc.createElement("table");
  const rows = Array.from(source.rows);
  const body = doc.createElement("tbody");
  const take = (row: HTMLTableRowElement) => {
    const copy = doc.createElement("tr");
    for (const cell of Array.from(row.cells)) {
      const printed = doc.createElement(cell.tagName === "TH" ? "th" : "td");
      printed.textContent = cell.textContent ?? "";
      const style = (doc.defaultView ?? window).getComputedStyle(cell);
      printed.style.textAlign = style.textAlign;
      // A column hidden by its colour on screen (Qr) is printed as shown.
      printed.style.color = style.color;
      printed.style.backgroundColor = style.backgroundColor;
      printed.style.visibility = style.visibility;
      copy.append(printed);
    }
    body.append(copy);
  };
  if (rows.length > 0) take(rows[0]);
  for (const row of rows.slice(1 + first, 1 + end)) take(row);
  table.append(body);
  return table;
}

// The print-only layout of the chosen views, placed by the module.
export function buildPrintLayout(sources: PrintSources, choices: PrintChoices, doc: Document = document): HTMLElement {
  const page = pageGeometry();
  const tableElement = choices.table ? sources.table() : null;
  const request: PrintRequest = {
    animation: choices.animation,
    animationSize: { width: sources.animation.width, height: sources.animation.height },
    graph: choices.graph,
    graphSize: { width: sources.graph.width, height: sources.graph.height },
    table: choices.table && tableElement !== null,
    tableExtent: {
      rows: tableElement?.rows.length ?? 0,
      rowHeight: kTableRowHeight * kTwipsPerCssPixel,
      frame: kTableFrame * kTwipsPerCssPixel,
    },
    copies: choices.copies,
  };
  const layout = sources.module.layoutPages(page, request);
  const root = doc.createElement("div");
  root.className = "molvane-print";
  root.setAttribute("aria-hidden", "true");
  const pages: HTMLElement[] = [];
  for (let i = 0; i < layout.pages; ++i) {
    const sheet = doc.createElement("div");
    sheet.className = "page";
    sheet.dataset.page = String(i);
    sheet.style.width = px(page.width);
    sheet.style.height = px(page.height);
    pages.push(sheet);
    root.append(sheet);
  }
  const pictures = new Map<string, string>();
  const pictureUrl = (which: "animation" | "graph") => {
    let url = pictures.get(which);
    if (!url) {
      // Every device pixel the canvas holds goes to the paper; the picture
      // still takes the program's size there.
      url = sources[which].canvas().toDataURL("image/png");
      pictures.set(which, url);
    }
    return url;
  };
  const Placed = sources.module.Placed;
  const texts = sources.module.printDialogTexts();
  const items = layout.items;
  try {
    for (let i = 0; i < items.size(); ++i) {
      const item = items.get(i);
      let element: HTMLElement;
      if (item.what.value === Placed.Title.value) {
        element = doc.createElement("p");
        element.className = "title";
        element.textContent = choices.title;
        element.dataset.placed = "title";
      } else if (item.what.value === Placed.Animation.value || item.what.value === Placed.Graph.value) {
        const which = item.what.value === Placed.Animation.value ? "animation" : "graph";
        const image = doc.createElement("img");
        image.src = pictureUrl(which);
        image.alt = texts.views[which === "animation" ? 0 : 1];
        image.width = sources[which].width;
        image.height = sources[which].height;
        element = image;
        element.dataset.placed = which;
      } else {
        if (!tableElement) continue;
        element = tablePart(tableElement, item.firstRow, item.endRow, doc);
        element.dataset.placed = "table";
        element.dataset.rows = `${item.firstRow}-${item.endRow}`;
      }
      element.classList.add("placed");
      element.style.left = px(item.x);
      element.style.top = px(item.y);
      pages[item.page]?.append(element);
    }
  } finally {
    items.delete();
  }
  return root;
}

// Prints the layout through the browser, then takes it away.
export function printLayout(layout: HTMLElement, print: () => void = () => window.print()): Promise<void> {
  const doc = layout.ownerDocument;
  addStyle("molvane-print-style", printStyle, doc);
  doc.body.append(layout);
  doc.body.classList.add("molvane-printing");
  const view = doc.defaultView ?? window;
  return new Promise((resolve) => {
    let done = false;
    const finish = () => {
      if (done) return;
      done = true;
      view.removeEventListener("afterprint", finish);
      layout.remove();
      doc.body.classList.remove("molvane-printing");
      resolve();
    };
    view.addEventListener("afterprint", finish);
    // The pictures are data URLs: they are decoded before the print starts.
    const images = Array.from(layout.querySelectorAll("img")).map((image) => image.decode().catch(() => undefined));
    void Promise.all(images).then(() => {
      try {
        print();
      } finally {
        // window.print() returns once the print dialog is closed; a browser
        // that returns at once still sends afterprint.
        setTimeout(finish, 0);
      }
    });
  });
}

function field(doc: Document, tag: string, props: Record<string, string>): HTMLElement {
  const element = doc.createElement(tag);
  for (const [key, value] of Object.entries(props)) element.setAttribute(key, value);
  return element;
}

// The dialog "Imprimer", with the desktop's choices and texts in its order.
export class PrintDialog {
  readonly dialog: HTMLDialogElement;
  private readonly checks: HTMLInputElement[] = [];
  private readonly title: HTMLInputElement;
  private readonly copies: HTMLInputElement;
  private readonly doc: Document;
  private readonly body: HTMLElement;
  private readonly waiting: HTMLElement;
  private printed: PrintChoices | null = null;
  private readonly mostCopies: number;

  constructor(
    private readonly sources: PrintSources,
    doc: Document = document,
  ) {
    this.doc = doc;
    addStyle("molvane-print-style", printStyle, doc);
    const texts = sources.module.printDialogTexts();
    this.mostCopies = texts.mostCopies;
    const dialog = doc.createElement("dialog");
    dialog.className = "molvane-print-dialog";
    dialog.dataset.dialog = "confimp";
    dialog.setAttribute("aria-labelledby", "molvane-print-heading");
    const heading = doc.createElement("h2");
    heading.id = "molvane-print-heading";
    heading.textContent = texts.title;
    const form = doc.createElement("form");
    form.method = "dialog";
    const body = doc.createElement("div");
    body.className = "body";

    const frame = doc.createElement("fieldset");
    frame.dataset.control = "Frame1";
    const legend = doc.createElement("legend");
    legend.textContent = texts.options;
    frame.append(legend);
    texts.views.forEach((caption, i) => {
      const label = doc.createElement("label");
      const box = field(doc, "input", { type: "checkbox", "data-control": `Check1_${i}` }) as HTMLInputElement;
      box.checked = i < texts.viewsChosen;
      label.append(box, ` ${caption}`);
      frame.append(label);
      this.checks.push(box);
    });

    const buttons = doc.createElement("div");
    buttons.className = "buttons";
    const ok = field(doc, "button", { type: "submit", value: "ok", "data-control": "Command1" });
    const okLetter = captionInto(doc, ok, texts.ok);
    const cancel = field(doc, "button", {
      type: "button",
      value: "cancel",
      "data-control": "Command3",
    });
    const cancelLetter = captionInto(doc, cancel, texts.cancel);
    cancel.addEventListener("click", () => dialog.close("cancel"));
    buttons.append(ok, cancel);

    const fields = doc.createElement("div");
    fields.className = "fields";
    const titleLabel = field(doc, "label", { for: "molvane-print-title", "data-control": "Label5" });
    titleLabel.textContent = texts.titleLabel;
    this.title = field(doc, "input", {
      type: "text",
      id: "molvane-print-title",
      "data-control": "Text1",
      value: texts.defaultTitle,
    }) as HTMLInputElement;
    const copiesLabel = field(doc, "label", { for: "molvane-print-copies", "data-control": "Label3" });
    copiesLabel.textContent = texts.copiesLabel;
    this.copies = field(doc, "input", {
      type: "number",
      id: "molvane-print-copies",
      "data-control": "UpDown1",
      min: "1",
      max: String(texts.mostCopies),
      step: "1",
      value: "1",
      "aria-description": texts.copiesDescription,
    }) as HTMLInputElement;
    fields.append(titleLabel, this.title, copiesLabel, this.copies);

    const note = doc.createElement("p");
    note.className = "note";
    note.textContent = texts.browserPrinterNote;

    body.append(frame, buttons, fields, note);
    // While the pages are made, the choices give way to the desktop's notice.
    const waiting = doc.createElement("p");
    waiting.className = "waiting";
    waiting.dataset.control = "Frame2";
    waiting.setAttribute("role", "status");
    waiting.hidden = true;
    waiting.textContent = texts.waiting;
    form.append(body, waiting);
    this.body = body;
    this.waiting = waiting;
    form.addEventListener("submit", (event) => {
      event.preventDefault();
      void this.print();
    });
    dialog.append(heading, form);
    // The buttons' key letters, as on the desktop: Alt+O, Alt+A.
    dialog.addEventListener("keydown", (event) => {
      if (!event.altKey || event.ctrlKey || event.metaKey) return;
      const letter = event.key.toLowerCase();
      const button = letter === okLetter ? ok : letter === cancelLetter ? cancel : null;
      if (!button) return;
      event.preventDefault();
      button.click();
    });
    this.dialog = dialog;
  }

  choices(): PrintChoices {
    return {
      animation: this.checks[0].checked,
      graph: this.checks[1].checked,
      table: this.checks[2].checked,
      title: this.title.value,
      copies: copiesOf(this.copies.value, this.mostCopies),
    };
  }

  // Shows the dialog; resolves once it is closed, with the choices when OK
  // was pressed (the pages printed by then) and null when cancelled.
  open(): Promise<PrintChoices | null> {
    if (!this.dialog.isConnected) this.doc.body.append(this.dialog);
    this.printed = null;
    this.dialog.showModal();
    this.checks[0].focus();
    return new Promise((resolve) => {
      this.dialog.addEventListener("close", () => resolve(this.printed), { once: true });
    });
  }

  // OK: the notice, the pages through the browser, then the dialog closes.
  private async print(): Promise<void> {
    if (!this.waiting.hidden) return;
    const choices = this.choices();
    this.body.hidden = true;
    this.waiting.hidden = false;
    this.waiting.tabIndex = -1;
    this.waiting.focus();
    try {
      await printLayout(buildPrintLayout(this.sources, choices, this.doc), this.sources.print);
      this.printed = choices;
    } finally {
      this.waiting.hidden = true;
      this.body.hidden = false;
      this.dialog.close();
    }
  }
}

// Wires the print button to a dialog made once.
export function createPrintDialog(button: HTMLElement, sources: PrintSources): PrintDialog {
  const dialog = new PrintDialog(sources, button.ownerDocument);
  button.addEventListener("click", () => {
    if (!dialog.dialog.open) void dialog.open();
  });
  return dialog;
}

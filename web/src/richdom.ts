// The rich-text model as editable HTML and back. Each paragraph is a <p>,
// each run a <span> (a picture an <img>), each table a <table>; the model's
// own values ride along in data attributes, so that what the browser cannot
// show (tab stops, a paragraph mark's format, a table's read counts) comes
// back unchanged, while styles show the rest. Text typed into a span joins
// its run; a paragraph split by Enter keeps its format, as a word processor's.
import type {
  RichBlock,
  RichCharFormat,
  RichDocument,
  RichParagraph,
  RichParagraphFormat,
  RichPicture,
  RichRun,
  RichTable,
} from '../bindings/richtext';

const kLineSeparator = '\u2028';
const kTwipsPerPoint = 20;

export function defaultCharFormat(): RichCharFormat {
  return {
    font: '',
    halfPoints: 24,
    bold: false,
    italic: false,
    strike: false,
    underline: 'none',
    vertical: 'normal',
    capitals: 'mixed',
    foreground: null,
    background: null,
  };
}

export function defaultParagraphFormat(): RichParagraphFormat {
  return {
    alignment: 'left',
    leftIndent: 0,
    rightIndent: 0,
    firstIndent: 0,
    spaceBefore: 0,
    spaceAfter: 0,
    lineSpacing: 'single',
    lineSpacingValue: 0,
    pageBreakBefore: false,
    tabs: [],
  };
}

function points(twips: number): string {
  return `${twips / kTwipsPerPoint}pt`;
}

function colour(rgb: number): string {
  return `#${rgb.toString(16).padStart(6, '0')}`;
}

const kDecorationStyles: Record<string, string> = {
  single: 'solid',
  dash: 'dashed',
  dotted: 'dotted',
  dashDot: 'dashed',
  dashDotDot: 'dotted',
  wave: 'wavy',
};

/** The CSS that shows a run's format. */
export function charStyle(format: RichCharFormat, defaultFont: string): Partial<CSSStyleDeclaration> {
  const style: Partial<CSSStyleDeclaration> = {};
  const family = format.font || defaultFont;
  if (family) style.fontFamily = `"${family.replace(/"/g, '')}"`;
  style.fontSize = `${format.halfPoints / 2}pt`;
  if (format.bold) style.fontWeight = 'bold';
  if (format.italic) style.fontStyle = 'italic';
  const lines = [format.underline !== 'none' ? 'underline' : '', format.strike ? 'line-through' : '']
    .filter(Boolean)
    .join(' ');
  if (lines) style.textDecorationLine = lines;
  if (format.underline !== 'none') style.textDecorationStyle = kDecorationStyles[format.underline] ?? 'solid';
  if (format.vertical === 'superscript') style.verticalAlign = 'super';
  if (format.vertical === 'subscript') style.verticalAlign = 'sub';
  if (format.vertical !== 'normal') style.fontSize = `${(format.halfPoints / 2) * 0.7}pt`;
  if (format.capitals === 'all') style.textTransform = 'uppercase';
  if (format.capitals === 'small') style.fontVariant = 'small-caps';
  if (format.foreground !== null) style.color = colour(format.foreground);
  if (format.background !== null) style.backgroundColor = colour(format.background);
  return style;
}

/** The CSS that shows a paragraph's format. */
export function paragraphStyle(format: RichParagraphFormat): Partial<CSSStyleDeclaration> {
  const style: Partial<CSSStyleDeclaration> = {
    textAlign: { left: 'left', centre: 'center', right: 'right', justify: 'justify' }[format.alignment],
    marginLeft: points(format.leftIndent),
    marginRight: points(format.rightIndent),
    textIndent: points(format.firstIndent),
    marginTop: points(format.spaceBefore),
    marginBottom: points(format.spaceAfter),
  };
  if (format.lineSpacing === 'proportional' && format.lineSpacingValue > 0)
    style.lineHeight = String(format.lineSpacingValue / 240);
  if ((format.lineSpacing === 'atLeast' || format.lineSpacing === 'exactly') && format.lineSpacingValue > 0)
    style.lineHeight = points(format.lineSpacingValue);
  if (format.pageBreakBefore) style.breakBefore = 'page';
  return style;
}

/** A picture as an address the page's <img> shows, without asking the network. */
export function pictureAddress(picture: RichPicture): string {
  let binary = '';
  const chunk = 0x8000;
  for (let i = 0; i < picture.bytes.length; i += chunk)
    binary += String.fromCharCode(...picture.bytes.subarray(i, i + chunk));
  return `data:image/${picture.format};base64,${btoa(binary)}`;
}

interface ParagraphData {
  format: RichParagraphFormat;
  mark: RichCharFormat;
  formatted: boolean;
  listItem: boolean;
  listMarker: string;
}

function paragraphElement(doc: Document, paragraph: RichParagraph, model: RichDocument): HTMLElement {
  const p = doc.createElement('p');
  const data: ParagraphData = {
    format: paragraph.format,
    mark: paragraph.mark,
    formatted: paragraph.formatted,
    listItem: paragraph.listItem,
    listMarker: paragraph.listMarker,
  };
  p.dataset.paragraph = JSON.stringify(data);
  Object.assign(p.style, paragraphStyle(paragraph.format));
  // An empty line is as tall as its mark's font.
  Object.assign(p.style, { fontSize: charStyle(paragraph.mark, model.defaultFont).fontSize });
  if (paragraph.listItem) p.dataset.marker = paragraph.listMarker;
  for (const run of paragraph.runs) p.append(runElement(doc, run, model));
  // The browser needs a last <br> to show an empty line, or a line that ends
  // in a break; it is no part of the text.
  const last = paragraph.runs.at(-1);
  if (!last || (!last.text && last.picture < 0) || last.text.endsWith(kLineSeparator)) p.append(doc.createElement('br'));
  return p;
}

function runElement(doc: Document, run: RichRun, model: RichDocument): HTMLElement {
  const format = JSON.stringify(run.format);
  if (run.picture >= 0) {
    const picture = model.pictures[run.picture];
    const img = doc.createElement('img');
    img.dataset.run = format;
    img.dataset.picture = String(run.picture);
    if (picture) {
      img.src = pictureAddress(picture);
      img.alt = picture.description;
      img.style.width = points(picture.width);
      img.style.height = points(picture.height);
    } else {
      img.alt = '';
    }
    return img;
  }
  const span = doc.createElement('span');
  span.dataset.run = format;
  Object.assign(span.style, charStyle(run.format, model.defaultFont));
  const pieces = run.text.split(kLineSeparator);
  pieces.forEach((piece, i) => {
    if (i > 0) span.append(doc.createElement('br'));
    if (piece) span.append(doc.createTextNode(piece));
  });
  return span;
}

function tableElement(doc: Document, table: RichTable, model: RichDocument): HTMLElement {
  const element = doc.createElement('table');
  element.dataset.table = JSON.stringify({
    columnWidths: table.columnWidths,
    borders: table.borders,
    columns: table.columns,
    firstColumns: table.firstColumns,
  });
  element.classList.toggle('bordee', table.borders);
  const body = doc.createElement('tbody');
  for (const row of table.rows) {
    const tr = doc.createElement('tr');
    tr.dataset.cellsRead = String(row.cellsRead);
    row.cells.forEach((cell, column) => {
      const td = doc.createElement('td');
      if (cell.covered) {
        td.dataset.covered = 'true';
        td.hidden = true;
      }
      const width = table.columnWidths[column] ?? 0;
      if (width > 0) td.style.width = points(width);
      for (const paragraph of cell.paragraphs) td.append(paragraphElement(doc, paragraph, model));
      tr.append(td);
    });
    body.append(tr);
  }
  element.append(body);
  return element;
}

/** Replaces what root holds with the document. */
export function showDocument(root: HTMLElement, model: RichDocument): void {
  const doc = root.ownerDocument;
  const fragment = doc.createDocumentFragment();
  for (const block of model.blocks) {
    if (block.paragraph) fragment.append(paragraphElement(doc, block.paragraph, model));
    else if (block.table) fragment.append(tableElement(doc, block.table, model));
  }
  root.replaceChildren(fragment);
  root.style.fontFamily = model.defaultFont ? `"${model.defaultFont.replace(/"/g, '')}"` : '';
}

function parsed<T>(text: string | undefined, fallback: () => T): T {
  if (!text) return fallback();
  try {
    return JSON.parse(text) as T;
  } catch {
    return fallback();
  }
}

function ownFormat(element: Element | null, inherited: RichCharFormat): RichCharFormat {
  const run = element instanceof HTMLElement ? element.closest<HTMLElement>('[data-run]') : null;
  return run ? parsed(run.dataset.run, () => inherited) : inherited;
}

/** Reads one paragraph element: its runs in order, one per span or picture. */
function readParagraph(p: HTMLElement, previous: ParagraphData | null): RichParagraph {
  const data = parsed<ParagraphData | null>(p.dataset.paragraph, () => null) ??
    previous ?? {
      format: defaultParagraphFormat(),
      mark: defaultCharFormat(),
      formatted: false,
      listItem: false,
      listMarker: '',
    };
  const runs: RichRun[] = [];
  // The run each span or loose text belongs to, by its element.
  let open: { owner: Element | null; run: RichRun } | null = null;
  const add = (owner: Element | null, text: string) => {
    if (open && open.owner === owner) {
      open.run.text += text;
      return;
    }
    open = { owner, run: { text, format: ownFormat(owner, data.mark), picture: -1 } };
    runs.push(open.run);
  };
  const walk = (node: Node) => {
    for (const child of Array.from(node.childNodes)) {
      if (child.nodeType === Node.TEXT_NODE) {
        // A newline in the text is a line break, as the browser shows it here.
        const text = (child.textContent ?? '').replace(/\r/g, '').replace(/\n/g, kLineSeparator);
        if (text) add(child.parentElement?.closest('[data-run]') ?? null, text);
      } else if (child instanceof HTMLImageElement) {
        open = null;
        runs.push({ text: '', format: ownFormat(child, data.mark), picture: Number(child.dataset.picture ?? -1) });
      } else if (child instanceof HTMLBRElement) {
        add(child.parentElement?.closest('[data-run]') ?? null, kLineSeparator);
      } else if (child instanceof HTMLElement) {
        walk(child);
      }
    }
  };
  walk(p);
  // The browser's last <br> only holds the line open.
  const last = runs.at(-1);
  if (last && last.picture < 0 && last.text.endsWith(kLineSeparator)) {
    last.text = last.text.slice(0, -1);
    if (!last.text) runs.pop();
  }
  const kept = runs.filter((run) => run.picture >= 0 || run.text);
  return { ...data, runs: kept };
}

function readTable(element: HTMLTableElement): RichTable {
  const data = parsed(element.dataset.table, () => ({
    columnWidths: [] as number[],
    borders: false,
    columns: 1,
    firstColumns: 1,
  }));
  const rows = Array.from(element.rows).map((tr) => {
    const cells = Array.from(tr.cells).map((td) => {
      const paragraphs = readParagraphs(td);
      return { paragraphs: paragraphs.length ? paragraphs : [emptyParagraph()], covered: td.dataset.covered === 'true' };
    });
    return { cells, cellsRead: Number(tr.dataset.cellsRead ?? cells.length) };
  });
  return { ...data, rows };
}

function emptyParagraph(): RichParagraph {
  return {
    format: defaultParagraphFormat(),
    mark: defaultCharFormat(),
    formatted: false,
    listItem: false,
    listMarker: '',
    runs: [],
  };
}

function isParagraph(element: Element): element is HTMLElement {
  return element instanceof HTMLParagraphElement || element instanceof HTMLDivElement;
}

function readBlocks(container: HTMLElement): RichBlock[] {
  const blocks: RichBlock[] = [];
  let previous: ParagraphData | null = null;
  // Text the browser put straight in the container gathers into one paragraph.
  let loose: HTMLElement | null = null;
  const flush = () => {
    if (!loose) return;
    blocks.push({ paragraph: readParagraph(loose, previous) });
    loose = null;
  };
  for (const child of Array.from(container.childNodes)) {
    if (child instanceof HTMLTableElement) {
      flush();
      blocks.push({ table: readTable(child) });
    } else if (child instanceof Element && isParagraph(child)) {
      flush();
      const paragraph = readParagraph(child, previous);
      previous = paragraph;
      blocks.push({ paragraph });
    } else if (child.nodeType === Node.TEXT_NODE || child instanceof HTMLElement) {
      if (child.nodeType === Node.TEXT_NODE && !(child.textContent ?? '').trim() && !loose) continue;
      loose ??= container.ownerDocument.createElement('p');
      loose.append(child.cloneNode(true));
    }
  }
  flush();
  return blocks;
}

function readParagraphs(container: HTMLElement): RichParagraph[] {
  return readBlocks(container).flatMap((block) => (block.paragraph ? [block.paragraph] : []));
}

/** The document root shows, with the pictures and default font it was shown with. */
export function readDocument(root: HTMLElement, pictures: RichPicture[], defaultFont: string): RichDocument {
  const blocks = readBlocks(root);
  // A document begins with a paragraph.
  if (!blocks[0]?.paragraph) blocks.unshift({ paragraph: emptyParagraph() });
  return { blocks, pictures, defaultFont };
}

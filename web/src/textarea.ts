// The text area `supertext`: the statement, the correction or the pupil's own
// text, editable in place of the window's text box, with the modified flag,
// the question before typing is lost, and the exercise menu's three text
// commands (save, reopen, print). The words and names are the core's; the
// RTF is read and written by the shared builder and writer.
import type { CodePageDecode, RichDocument, RichPicture, RtfRead } from '../bindings/richtext';
import { whenReady, type App } from './app';
import { messageBox } from './dialogs';
import { askName, download } from './files';
import type { Molvane } from './molvane';
import { printLayout } from './print';
import { readDocument, showDocument } from './richdom';
import './textarea.css';

export interface TextArea {
  /** Shows a document (RTF bytes) in place of the current text; it is then unmodified. */
  showRtf(rtf: Uint8Array, options?: { readOnly?: boolean; name?: string }): void;
  /** Whether the pupil changed the text since it was shown or saved. */
  readonly modified: boolean;
  /** The desktop's "Abandon des données?" question when modified; resolves true to go on (and then clears modified). */
  confirmDiscard(): Promise<boolean>;
  /** The text as RTF written by the shared writer. */
  rtf(): Uint8Array;
}

/** The browser's decoders for the code pages the builder does not read itself. */
export const browserDecode: CodePageDecode = (_codePage, name, bytes) => {
  try {
    return new TextDecoder(name, { fatal: false }).decode(bytes);
  } catch {
    return null;
  }
};

type Listener = () => void;

/** The area over its element; what fich names comes with it. */
export class PupilText implements TextArea {
  private pictures: RichPicture[] = [];
  private defaultFont = '';
  private modifiedFlag = false;
  private shownName = '';
  private readonly typedListeners: Listener[] = [];
  private readonly flagListeners: Listener[] = [];

  constructor(
    private readonly m: Molvane,
    readonly element: HTMLElement,
    private readonly fich: HTMLInputElement | null,
  ) {
    const doc = element.ownerDocument;
    element.classList.add('texte');
    element.tabIndex = 0;
    element.setAttribute('role', 'textbox');
    element.setAttribute('aria-multiline', 'true');
    element.spellcheck = false;
    this.setReadOnly(true);
    this.setName('');
    // Enter starts a paragraph, as in a word processor.
    doc.execCommand?.('defaultParagraphSeparator', false, 'p');
    element.addEventListener('input', () => {
      // Typing counts only once fich names something: never the introduction.
      if (this.shownName) this.setModified(true);
      if (this.modifiedFlag) for (const listener of this.typedListeners) listener();
    });
    element.addEventListener('keydown', (event) => {
      // The desktop's box has no formatting keys: text is typed as it stands.
      if ((event.ctrlKey || event.metaKey) && ['b', 'i', 'u'].includes(event.key.toLowerCase())) event.preventDefault();
    });
    // What is pasted or dropped comes in as plain text, in the format where it lands.
    const plain = (text: string) => {
      if (this.readOnly) return;
      doc.execCommand('insertText', false, text);
    };
    element.addEventListener('paste', (event) => {
      event.preventDefault();
      plain(event.clipboardData?.getData('text/plain') ?? '');
    });
    element.addEventListener('dragover', (event) => {
      if (event.dataTransfer?.types.includes('Files')) event.preventDefault();
    });
    element.addEventListener('drop', (event) => {
      const file = event.dataTransfer?.files[0];
      if (file) {
        // A text file dropped on the area reopens as "Retrouver un texte" would.
        if (!/\.rtf$/i.test(file.name)) return;
        event.preventDefault();
        event.stopPropagation();
        void (async () => {
          if (await this.confirmDiscard()) await reopenFile(file);
        })();
        return;
      }
      const text = event.dataTransfer?.getData('text/plain');
      event.preventDefault();
      if (text) plain(text);
    });
  }

  get modified(): boolean {
    return this.modifiedFlag;
  }

  get readOnly(): boolean {
    return this.element.getAttribute('contenteditable') !== 'true';
  }

  /** What fich says of the text shown ("" for the introduction). */
  get name(): string {
    return this.shownName;
  }

  /** After each change typed into a modified text (the recovery copy listens). */
  onTyped(listener: Listener): void {
    this.typedListeners.push(listener);
  }

  /** After the modified flag changed. */
  onModifiedChange(listener: Listener): void {
    this.flagListeners.push(listener);
  }

  setModified(value: boolean): void {
    if (value === this.modifiedFlag) return;
    this.modifiedFlag = value;
    for (const listener of this.flagListeners) listener();
  }

  setReadOnly(readOnly: boolean): void {
    this.element.setAttribute('contenteditable', readOnly ? 'false' : 'true');
    this.element.setAttribute('aria-readonly', String(readOnly));
  }

  /** fich names the text; the area's name for a screen reader says it too. */
  setName(name: string): void {
    this.shownName = name;
    if (this.fich) {
      this.fich.value = name;
      this.fich.title = name;
      this.fich.readOnly = true;
      this.fich.setSelectionRange?.(name.length, name.length);
      this.fich.scrollLeft = this.fich.scrollWidth;
    }
    this.element.setAttribute('aria-label', this.m.textAreaName(name));
  }

  /** Reads RTF into the area; nothing changes when nothing could be read. */
  load(rtf: Uint8Array, options: { readOnly?: boolean; name?: string } = {}): RtfRead {
    const read = this.m.readRtf(rtf, browserDecode);
    if (read.nothingLoaded) return read;
    this.show(read.document);
    this.setReadOnly(options.readOnly ?? false);
    // The caret goes to the start, as the desktop puts it; a text that had the
    // keyboard keeps it, where typing then goes.
    const doc = this.element.ownerDocument;
    if (doc.activeElement === this.element) doc.getSelection()?.collapse(this.element, 0);
    if (options.name !== undefined) this.setName(options.name);
    this.element.scrollTop = 0;
    this.setModified(false);
    return read;
  }

  /** Shows a document already read; the flag is the caller's. */
  show(document: RichDocument): void {
    this.pictures = document.pictures;
    this.defaultFont = document.defaultFont;
    showDocument(this.element, document);
  }

  showRtf(rtf: Uint8Array, options?: { readOnly?: boolean; name?: string }): void {
    const read = this.load(rtf, options);
    if (read.nothingLoaded) throw new Error(this.m.driveAdvice);
    if (read.notice) void messageBox(this.element.ownerDocument, this.notice(read.notice));
  }

  notice(text: string) {
    return { title: this.m.incompleteReadTitle, text, ok: this.m.okButton, returnTo: this.element };
  }

  async confirmDiscard(): Promise<boolean> {
    if (!this.modifiedFlag) return true;
    const goOn = await messageBox(this.element.ownerDocument, {
      title: this.m.discardTitle,
      text: this.m.discardText,
      ok: this.m.okButton,
      cancel: this.m.cancelButton,
      returnTo: this.element,
    });
    if (goOn) this.setModified(false);
    return goOn;
  }

  document(): RichDocument {
    return readDocument(this.element, this.pictures, this.defaultFont);
  }

  rtf(): Uint8Array {
    return this.m.writeRtf(this.document());
  }
}

let area: PupilText | null = null;
let page: App | null = null;

/** The page's one text area (after whenReady). */
export function textArea(): TextArea {
  if (!area) throw new Error('supertext');
  return area;
}

/** The same, with what the page's own modules use beyond the interface. */
export function pupilText(): PupilText | null {
  return area;
}

/** "Enregistrer le contenu de la fenêtre exercice": the text downloaded as RTF under the name asked. */
export async function saveText(): Promise<void> {
  if (!area || !page) return;
  const { m } = page;
  const doc = area.element.ownerDocument;
  const proposed = m.fileNameOf(area.name.startsWith(m.reopenedPrefix) ? area.name.slice(m.reopenedPrefix.length) : '');
  const typed = await askName(
    doc,
    { title: m.saveTextTitle, label: m.saveNameLabel, ok: m.saveButton, cancel: m.cancelCaption },
    proposed,
  );
  if (typed === null) return;
  const name = m.withRtfExtension(m.fileNameOf(typed.trim()));
  if (!m.fileNameOf(typed.trim())) return;
  download(doc, name, area.rtf() as BlobPart, 'application/rtf');
  area.setModified(false);
}

/** Reads a file the pupil chose into the area, editable, named "Texte: " and its name. */
export async function reopenFile(file: File): Promise<boolean> {
  if (!area || !page) return false;
  const { m } = page;
  const doc = area.element.ownerDocument;
  const readError = { title: m.textReadErrorTitle, text: m.driveAdvice, ok: m.okButton, returnTo: area.element };
  let bytes: Uint8Array;
  try {
    if (file.size > m.rtfMaxFileBytes) throw new Error(file.name);
    bytes = new Uint8Array(await file.arrayBuffer());
  } catch {
    await messageBox(doc, readError);
    return false;
  }
  const read = area.load(bytes, { readOnly: false, name: m.reopenedPrefix + file.name });
  if (read.nothingLoaded) {
    await messageBox(doc, readError);
    return false;
  }
  area.element.focus();
  for (const listener of reopenListeners) listener();
  if (read.notice) await messageBox(doc, area.notice(read.notice));
  return true;
}

const reopenListeners: Listener[] = [];

/** After a text was reopened (the exercise then has no correction to show). */
export function onTextReopened(listener: Listener): void {
  reopenListeners.push(listener);
}

/** "Retrouver un texte": the question when modified, then the browser's picker. */
export async function reopenText(): Promise<void> {
  if (!area || !page) return;
  if (!(await area.confirmDiscard())) return;
  const input = area.element.ownerDocument.createElement('input');
  input.type = 'file';
  input.accept = '.rtf,.RTF';
  input.addEventListener('change', () => {
    const file = input.files?.[0];
    if (file) void reopenFile(file);
  });
  input.click();
}

/** "Imprimer le contenu de la fenêtre exercice": the text alone, through the browser's print dialog. */
export async function printText(): Promise<void> {
  if (area) await printTextOf(area);
}

/** The text alone on the printed pages, taken away once printed. */
export async function printTextOf(text: PupilText, print: () => void = () => window.print()): Promise<void> {
  const doc = text.element.ownerDocument;
  const layout = doc.createElement('div');
  layout.className = 'molvane-print texte-imprime';
  layout.style.fontFamily = text.element.style.fontFamily;
  for (const child of Array.from(text.element.childNodes)) layout.append(child.cloneNode(true));
  await printLayout(layout, print);
}

/** Puts an editable area in place of the window's text box. */
export function attachTextArea(app: App): PupilText {
  const old = app.control('supertext');
  const doc = app.page.root.ownerDocument;
  const element = doc.createElement('div');
  if (old) {
    element.style.cssText = old.style.cssText;
    for (const name of ['data-control', 'aria-description', 'title']) {
      const value = old.getAttribute(name);
      if (value !== null) element.setAttribute(name, value);
    }
    old.replaceWith(element);
  } else {
    element.dataset.control = 'supertext';
    app.page.root.append(element);
  }
  app.page.controls.set('supertext', element);
  const fich = app.control('fich');
  page = app;
  area = new PupilText(app.m, element, fich instanceof HTMLInputElement ? fich : null);
  return area;
}

whenReady((app) => {
  if (!area) attachTextArea(app);
});

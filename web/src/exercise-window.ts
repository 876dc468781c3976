// The exercise window `Fichexo` as a modal dialog: the list of exercises
// (the shipped ones, then those a teacher gives), the selected one's
// preview (title, topics, difficulty, correction status, hourglasses), and
// its buttons: open it, close, or give other exercises.
import type { ExercisePreview } from '../bindings/exercises';
import { mnemonic } from './exercise-menu';
import type { ExerciseEntry } from './exercise-folders';
import type { Molvane } from './molvane';

export type WindowTexts = Pick<
  Molvane,
  | 'exerciseWindowTitle'
  | 'exerciseListHeading'
  | 'exerciseSelectFile'
  | 'exerciseFileBoxName'
  | 'exerciseOpenCaption'
  | 'exerciseOpenTip'
  | 'exerciseCloseCaption'
  | 'exerciseCloseTip'
  | 'exerciseWaitFirstLine'
  | 'exerciseWaitSecondLine'
  | 'exerciseTopicsHeading'
  | 'exerciseDifficultyHeading'
  | 'exerciseCorrected'
  | 'exerciseNotCorrected'
  | 'exerciseOtherExercises'
  | 'exerciseDropHint'
  | 'exerciseDifficultySymbolName'
  | 'exerciseHourglassesName'
>;

export interface WindowActions {
  /** The entry's preview, or null after the read-failure message. */
  preview(entry: ExerciseEntry): Promise<ExercisePreview | null>;
  /** Opens the entry: true once loaded (the window then closes). */
  open(entry: ExerciseEntry, preview: ExercisePreview | null): Promise<boolean>;
  /** Files a teacher picked or dropped: the entries to list after the shipped ones. */
  give(source: FileList | DataTransferItemList): Promise<ExerciseEntry[]>;
}

/** What a full name of an entry reads, for the list and the file box. */
export function entryPath(entry: ExerciseEntry): string {
  return entry.folder.label + entry.name;
}

const kHourglass = '\u231B';

export class ExerciseWindow {
  readonly dialog: HTMLDialogElement;
  private readonly list: HTMLSelectElement;
  private readonly fileBox: HTMLInputElement;
  private readonly intratro: HTMLElement;
  private readonly fields: HTMLElement;
  private readonly title: HTMLElement;
  private readonly topics: HTMLElement;
  private readonly symbols: HTMLElement[] = [];
  private readonly status: HTMLElement;
  private readonly hourglasses: HTMLElement;
  private readonly opener: HTMLButtonElement;
  private readonly wait: HTMLElement;
  private entries: ExerciseEntry[];
  private selected: { entry: ExerciseEntry; preview: ExercisePreview | null } | null = null;
  private selecting = 0;
  private finished: (() => void) | null = null;

  constructor(
    private readonly doc: Document,
    private readonly m: WindowTexts,
    shipped: ExerciseEntry[],
    private readonly actions: WindowActions,
  ) {
    this.entries = [...shipped];
    const make = <K extends keyof HTMLElementTagNameMap>(tag: K, className = '', text = '') => {
      const element = doc.createElement(tag);
      if (className) element.className = className;
      if (text) element.textContent = text;
      return element;
    };
    const id = `fichexo-${Math.random().toString(36).slice(2)}`;
    const dialog = (this.dialog = make('dialog', 'fichexo'));
    dialog.setAttribute('aria-labelledby', `${id}-tito`);
    const tito = make('h2', 'tito', m.exerciseWindowTitle);
    tito.id = `${id}-tito`;

    const frame1 = make('div', 'frame1');
    const heading = make('label', '', m.exerciseListHeading);
    heading.htmlFor = `${id}-liste`;
    const list = (this.list = make('select'));
    list.id = `${id}-liste`;
    list.size = 12;
    list.addEventListener('change', () => void this.select(list.selectedIndex));
    list.addEventListener('dblclick', () => void this.openSelected());
    list.addEventListener('keydown', (event) => {
      if (event.key !== 'Enter') return;
      event.preventDefault();
      void this.openSelected();
    });
    frame1.append(heading, list);

    const panel = make('div', 'apercu');
    const fileBox = (this.fileBox = make('input'));
    fileBox.readOnly = true;
    fileBox.setAttribute('aria-label', m.exerciseFileBoxName);
    this.intratro = make('p', 'intratro', m.exerciseSelectFile);
    const fields = (this.fields = make('div', 'champs'));
    this.title = make('p', 'titratexo');
    const topicsHeading = make('p', 'rubrique', m.exerciseTopicsHeading);
    this.topics = make('p', 'notions');
    const difficulty = make('p', 'rubrique', m.exerciseDifficultyHeading);
    const row = make('p', 'difficulte');
    for (let k = 0; k < 3; ++k) {
      const symbol = make('span', 'symbole');
      symbol.setAttribute('role', 'img');
      this.symbols.push(symbol);
      row.append(symbol);
    }
    this.status = make('p', 'corrige');
    this.hourglasses = make('p', 'sabliers');
    this.hourglasses.setAttribute('role', 'img');
    fields.append(this.title, topicsHeading, this.topics, difficulty, row, this.status, this.hourglasses);
    fields.hidden = true;
    panel.append(fileBox, this.intratro, fields);

    const buttons = make('div', 'boutons');
    const button = (caption: string, tip: string) => {
      const b = make('button');
      b.type = 'button';
      const { text, letter } = mnemonic(caption);
      b.textContent = text;
      if (tip) b.title = tip;
      if (letter) b.setAttribute('aria-keyshortcuts', `Alt+${letter.toUpperCase()}`);
      b.dataset.letter = letter;
      return b;
    };
    const opener = (this.opener = button(m.exerciseOpenCaption, m.exerciseOpenTip));
    opener.hidden = true;
    opener.addEventListener('click', () => void this.openSelected());
    const closer = button(m.exerciseCloseCaption, m.exerciseCloseTip);
    closer.addEventListener('click', () => this.close());
    const others = button(m.exerciseOtherExercises, '');
    const picker = make('input');
    picker.type = 'file';
    picker.multiple = true;
    picker.webkitdirectory = true;
    picker.hidden = true;
    picker.tabIndex = -1;
    picker.setAttribute('aria-hidden', 'true');
    others.addEventListener('click', () => picker.click());
    picker.addEventListener('change', () => {
      if (picker.files?.length) void this.add(picker.files);
      picker.value = '';
    });
    buttons.append(opener, closer, others, picker);
    const hint = make('p', 'depot', m.exerciseDropHint);

    const wait = (this.wait = make('div', 'frame2'));
    wait.setAttribute('role', 'status');
    wait.append(make('p', '', m.exerciseWaitFirstLine), make('p', '', m.exerciseWaitSecondLine));
    wait.hidden = true;

    dialog.append(tito, frame1, panel, buttons, hint, wait);
    // A folder, or files, dropped on the window: theirs, not the page's (which takes a configuration).
    dialog.addEventListener('dragover', (event) => {
      event.preventDefault();
      event.stopPropagation();
    });
    dialog.addEventListener('drop', (event) => {
      event.preventDefault();
      event.stopPropagation();
      if (event.dataTransfer?.items.length) void this.add(event.dataTransfer.items);
    });
    // Alt and a button's letter press it, as on the desktop.
    dialog.addEventListener('keydown', (event) => {
      if (!event.altKey || event.ctrlKey || event.metaKey) return;
      const letter = /^Key[A-Z]$/.test(event.code) ? event.code.slice(3).toLowerCase() : event.key.toLowerCase();
      const found = [opener, closer, others].find((b) => b.dataset.letter === letter && !b.hidden);
      if (!found) return;
      event.preventDefault();
      found.click();
    });
    dialog.addEventListener('close', () => {
      dialog.remove();
      this.finished?.();
    });
    this.fillList();
  }

  /** Shows the window modally; resolves once it has closed. */
  show(): Promise<void> {
    this.doc.body.append(this.dialog);
    const done = new Promise<void>((resolve) => (this.finished = resolve));
    this.dialog.showModal();
    // On activation the first exercise is selected.
    if (this.entries.length > 0) {
      this.list.selectedIndex = 0;
      void this.select(0);
    }
    this.list.focus();
    return done;
  }

  close(): void {
    if (this.dialog.open) this.dialog.close();
  }

  private fillList(): void {
    const keep = this.list.selectedIndex;
    this.list.replaceChildren(
      ...this.entries.map((entry) => {
        const option = this.doc.createElement('option');
        option.textContent = entryPath(entry);
        return option;
      }),
    );
    if (keep >= 0) this.list.selectedIndex = keep;
  }

  private async add(source: FileList | DataTransferItemList): Promise<void> {
    const added = await this.actions.give(source);
    if (added.length === 0) return;
    const first = this.entries.length;
    this.entries.push(...added);
    this.fillList();
    this.list.selectedIndex = first;
    this.list.focus();
    await this.select(first);
  }

  /** Selecting a file: its full name in the box, then the preview. */
  private async select(index: number): Promise<void> {
    const entry = this.entries[index];
    if (!entry) return;
    const selecting = ++this.selecting;
    this.fileBox.value = entryPath(entry);
    this.clearFields();
    const preview = await this.actions.preview(entry);
    if (selecting !== this.selecting) return;
    this.selected = { entry, preview };
    this.intratro.hidden = true;
    this.fields.hidden = false;
    this.opener.hidden = false;
    if (preview) this.showPreview(preview);
  }

  private clearFields(): void {
    this.selected = null;
    this.topics.textContent = '';
    this.hourglasses.textContent = '';
    this.hourglasses.removeAttribute('aria-label');
    this.title.textContent = '';
    this.status.textContent = '';
    for (const symbol of this.symbols) symbol.hidden = true;
    this.opener.hidden = true;
  }

  private showPreview(preview: ExercisePreview): void {
    this.status.textContent = preview.corrected ? this.m.exerciseCorrected : this.m.exerciseNotCorrected;
    this.status.dataset.ombre = this.status.textContent;
    this.symbols.forEach((symbol, k) => {
      symbol.classList.toggle('allume', preview.lit[k]);
      symbol.setAttribute('aria-label', this.m.exerciseDifficultySymbolName(k, preview.lit[k]));
      symbol.hidden = false;
    });
    this.topics.textContent = preview.topics;
    this.title.textContent = preview.title;
    this.hourglasses.textContent = kHourglass.repeat(preview.hourglasses);
    this.hourglasses.setAttribute('aria-label', this.m.exerciseHourglassesName(preview.hourglasses));
  }

  private async openSelected(): Promise<void> {
    const chosen = this.selected;
    if (!chosen) return;
    this.wait.hidden = false;
    try {
      if (await this.actions.open(chosen.entry, chosen.preview)) this.close();
    } finally {
      this.wait.hidden = true;
    }
  }
}

// The menu "Exercices" and what it does: the getting-started document, the
// exercise window, the correction, closing the exercise (the introduction
// back), and the text area's own commands. Statements and corrections show in
// the text area; the configuration an exercise names loads through the same
// reader as any configuration file, with the same messages.
import './exercises.css';
import shipped from 'virtual:molvane-exercises';
import type { ExerciseDocument, ExercisePreview } from '../bindings/exercises';
import type { MainState } from '../bindings/front';
import { whenReady, type App } from './app';
import { messageBox } from './dialogs';
import {
  droppedFiles,
  exerciseEntries,
  pickedFiles,
  readEntry,
  readStored,
  shippedFolder,
  teacherFolders,
  type ExerciseEntry,
  type ExerciseFolder,
} from './exercise-folders';
import { enableItem, popupMenu, type PopupMenu } from './exercise-menu';
import { entryPath, ExerciseWindow } from './exercise-window';
import type { Molvane } from './molvane';
import { printText, reopenText, saveText, textArea, type TextArea } from './textarea';

export interface TextCommands {
  saveText(): unknown;
  reopenText(): unknown;
  printText(): unknown;
}

/** What the exercises need of the page. */
export interface ExerciseHost {
  m: Molvane;
  state: Pick<MainState, 'load'>;
  doc: Document;
  /** After a configuration loaded: the controls show it. */
  refresh(): void;
  /** Where a reader hears what was opened. */
  live: HTMLElement;
  /** The text box naming what the text area shows ("" for the introduction). */
  fich(): string;
  /** Where the keyboard goes back after a box. */
  returnTo(): HTMLElement | null;
}

export class Exercises {
  /** The exercise last opened has a correction (`corrige`). */
  corrige = false;
  private current: { entry: ExerciseEntry; title: string } | null = null;
  private readonly shipped: ExerciseFolder;
  private readonly caption: string;

  constructor(
    private readonly host: ExerciseHost,
    private readonly text: TextArea,
    private readonly commands: TextCommands,
    files: { name: string; data: string }[],
  ) {
    this.shipped = shippedFolder(files);
    this.caption = host.doc.title;
  }

  /** The introduction, read-only, naming nothing. */
  showIntroduction(): void {
    this.text.showRtf(this.host.m.introductionRtf(), { readOnly: true, name: '' });
  }

  shippedEntries(): ExerciseEntry[] {
    return exerciseEntries(this.host.m, this.shipped);
  }

  /** The menu's rules: the correction of an exercise that has one; closing while something is shown. */
  enabledItems(): { opencor: boolean; Closexo: boolean } {
    this.forgetReplaced();
    return { opencor: this.corrige, Closexo: this.host.fich() !== '' };
  }

  /** A text reopened in the area in the meantime is no exercise: no correction to show. */
  private forgetReplaced(): void {
    if (this.current && this.host.fich() === entryPath(this.current.entry)) return;
    this.corrige = false;
    this.current = null;
  }

  async run(name: string): Promise<void> {
    switch (name) {
      case 'PRISENMAIN':
        return this.gettingStarted();
      case 'openexo':
        return this.showWindow();
      case 'opencor':
        return this.showCorrection();
      case 'Closexo':
        return this.closeExercise();
      case 'savetexte':
        await this.commands.saveText();
        return;
      case 'opentexte':
        await this.commands.reopenText();
        return;
      case 'imprimetexte':
        await this.commands.printText();
        return;
    }
  }

  private async message(m: { title: string; text: string }): Promise<void> {
    const { doc, m: core } = this.host;
    await messageBox(doc, { title: m.title, text: m.text, ok: core.okButton, returnTo: this.host.returnTo() });
  }

  /** `chargeconfig` on a configuration an exercise names; one that is missing fails as the reader says. */
  private async loadConfiguration(folder: ExerciseFolder, named: ExerciseDocument): Promise<void> {
    if (named.configurationBlank) return;
    const bytes = (await readStored(this.host.m, folder, named.configuration)) ?? new Uint8Array();
    const report = this.host.state.load(bytes.slice(0, this.host.m.configurationBytesRead));
    this.host.refresh();
    if (!report.loaded) return this.message(report);
    if (report.notice) await this.message({ title: report.noticeTitle, text: report.notice });
  }

  private announce(text: string, title: string): void {
    this.host.live.textContent = text;
    this.host.doc.title = title ? `${this.caption} - ${title}` : this.caption;
  }

  /** The window's preview of an entry: the read-failure message when it cannot be read. */
  async preview(entry: ExerciseEntry): Promise<ExercisePreview | null> {
    const preview = this.host.m.exercisePreview(await readEntry(entry));
    if (!preview) await this.message(this.host.m.exerciseReadFailure());
    return preview;
  }

  /** `ouvreur`: the statement in the text area, then its configuration. False leaves the window open. */
  async open(entry: ExerciseEntry, preview: ExercisePreview | null): Promise<boolean> {
    const { m } = this.host;
    const statement = m.exerciseStatement(await readEntry(entry));
    if (!statement) {
      await this.message(m.exerciseReadFailure());
      return false;
    }
    const document = await readStored(m, entry.folder, statement.document);
    if (!document) {
      await this.message(m.exerciseMissingDocument(entry.folder.label, statement.document));
      return false;
    }
    this.text.showRtf(document, { readOnly: false, name: entryPath(entry) });
    this.corrige = preview?.corrected ?? false;
    const title = preview?.title || entry.name;
    this.current = { entry, title };
    await this.loadConfiguration(entry.folder, statement);
    this.announce(m.exerciseOpenedNotice(title), title);
    return true;
  }

  /** "Ouvrir un exercice (énoncé + configuration)". */
  async showWindow(): Promise<void> {
    if (!(await this.text.confirmDiscard())) return;
    const window = new ExerciseWindow(this.host.doc, this.host.m, this.shippedEntries(), {
      preview: (entry) => this.preview(entry),
      open: (entry, preview) => this.open(entry, preview),
      give: async (source) => {
        const given = source instanceof FileList ? pickedFiles(source) : await droppedFiles(source);
        return teacherFolders(this.host.m, given).flatMap((folder) => exerciseEntries(this.host.m, folder));
      },
    });
    await window.show();
  }

  /** "Voir la correction". */
  async showCorrection(): Promise<void> {
    this.forgetReplaced();
    const current = this.current;
    if (!this.corrige || !current) return;
    if (!(await this.text.confirmDiscard())) return;
    const { m } = this.host;
    const correction = m.exerciseCorrection(await readEntry(current.entry));
    if (!correction) return this.message(m.exerciseReadFailure());
    // Nothing to show: the pupil's text stays as it is.
    if (correction.documentBlank && correction.configurationBlank) {
      this.corrige = false;
      return;
    }
    if (!correction.documentBlank) {
      const document = await readStored(m, current.entry.folder, correction.document);
      if (!document) return this.message(m.exerciseMissingDocument(current.entry.folder.label, correction.document));
      this.text.showRtf(document, { readOnly: true, name: entryPath(current.entry) });
    }
    await this.loadConfiguration(current.entry.folder, correction);
    this.announce(m.exerciseCorrectionNotice(current.title), current.title);
  }

  /** "Prise en main": nothing when the getting-started file is not shipped. */
  async gettingStarted(): Promise<void> {
    const { m } = this.host;
    const index = this.shipped.names.indexOf(m.gettingStartedFile);
    if (index < 0) return;
    if (!(await this.text.confirmDiscard())) return;
    const entry = { folder: this.shipped, name: m.gettingStartedFile };
    const start = m.exerciseStatement(await readEntry(entry));
    const document = start && (await readStored(m, this.shipped, start.document));
    if (!start || !document) return this.message(m.gettingStartedFailure());
    this.text.showRtf(document, { readOnly: false, name: m.gettingStartedFile });
    this.corrige = false;
    this.current = null;
    await this.loadConfiguration(this.shipped, start);
    this.announce(m.gettingStartedNotice, '');
  }

  /** "Fermer l'exercice": the introduction back; the run keeps its configuration. */
  async closeExercise(): Promise<void> {
    if (!(await this.text.confirmDiscard())) return;
    this.showIntroduction();
    this.corrige = false;
    this.current = null;
    this.announce(this.host.m.introductionNotice, '');
  }
}

/** The menu under `btexo`, its items enabled as things stand when it opens. */
export function exerciseMenu(host: ExerciseHost, button: HTMLElement, exercises: Exercises): PopupMenu {
  const label = button.textContent ?? '';
  const menu = popupMenu(
    host.doc,
    button,
    host.m.exerciseMenu(),
    label,
    (name) => void exercises.run(name),
    (shown) => {
      const enabled = exercises.enabledItems();
      enableItem(shown.item('opencor'), enabled.opencor);
      enableItem(shown.item('Closexo'), enabled.Closexo);
    },
  );
  button.after(menu.element);
  return menu;
}

export function installExercises(app: App, text: TextArea, commands: TextCommands): Exercises | null {
  const button = app.control('btexo');
  if (!button) return null;
  const doc = button.ownerDocument;
  const host: ExerciseHost = {
    m: app.m,
    state: app.state,
    doc,
    refresh: () => app.refresh(),
    live: app.page.live,
    fich: () => {
      const box = app.control('fich');
      return box instanceof HTMLInputElement ? box.value : (box?.querySelector('input')?.value ?? '');
    },
    returnTo: () => {
      const active = doc.activeElement;
      return active instanceof HTMLElement && active !== doc.body ? active : button;
    },
  };
  const exercises = new Exercises(host, text, commands, shipped);
  exerciseMenu(host, button, exercises);
  exercises.showIntroduction();
  return exercises;
}

whenReady((app) => {
  installExercises(app, textArea(), { saveText, reopenText, printText });
});

// The exercises' menu and commands over the real module and the shipped
// files, with a text area that records what it is asked to show.
import shipped from 'virtual:molvane-exercises';
import { beforeAll, beforeEach, describe, expect, test, vi } from 'vitest';
import type { Molvane } from '../../src/molvane';
import { withDialogs } from './dialogs';
import { loadModule } from './module';

// The page's own text area is not part of these tests: a stand-in that keeps
// what it was given.
vi.mock('../../src/textarea', () => ({
  textArea: () => null,
  saveText: async () => undefined,
  reopenText: async () => undefined,
  printText: async () => undefined,
}));

const { Exercises } = await import('../../src/exercises');
const { mnemonic, popupMenu, enableItem } = await import('../../src/exercise-menu');
const { droppedFiles, exerciseEntries, readStored, teacherFolders } = await import('../../src/exercise-folders');

let m: Molvane;
beforeAll(async () => {
  m = await loadModule<Molvane>();
});

interface Shown {
  text: string;
  readOnly: boolean;
  name: string;
}

class StandInText {
  shown: Shown[] = [];
  modified = false;
  answer = true;
  asked = 0;
  showRtf(rtf: Uint8Array, options?: { readOnly?: boolean; name?: string }) {
    this.shown.push({
      text: new TextDecoder('latin1').decode(rtf),
      readOnly: options?.readOnly ?? false,
      name: options?.name ?? '',
    });
    this.modified = false;
  }
  async confirmDiscard() {
    if (!this.modified) return true;
    ++this.asked;
    if (this.answer) this.modified = false;
    return this.answer;
  }
  rtf() {
    return new Uint8Array();
  }
  last() {
    return this.shown[this.shown.length - 1];
  }
}

// Boxes open as the page's message boxes do; the test answers them.
async function boxes(): Promise<string[]> {
  await vi.waitFor(() => expect(document.querySelector('dialog[role="alertdialog"]')).not.toBeNull());
  const seen: string[] = [];
  for (const box of document.querySelectorAll('dialog[role="alertdialog"]')) {
    seen.push(box.querySelector('h2')?.textContent ?? '');
    box.querySelector('button')?.click();
  }
  return seen;
}

function setUp(files = shipped) {
  const text = new StandInText();
  const loads: Uint8Array[] = [];
  let fich = '';
  const live = document.createElement('div');
  const host = {
    m,
    state: {
      load: (bytes: Uint8Array) => {
        loads.push(bytes);
        return bytes.length > 0
          ? { loaded: true, title: '', text: '', noticeTitle: '', notice: '' }
          : { loaded: false, title: 'Erreur de lecture', text: 'illisible', noticeTitle: '', notice: '' };
      },
    },
    doc: document,
    refresh: () => undefined,
    live,
    fich: () => fich,
    returnTo: () => null,
  };
  const origShow = text.showRtf.bind(text);
  text.showRtf = (rtf, options) => {
    origShow(rtf, options);
    fich = options?.name ?? '';
  };
  const exercises = new Exercises(host, text, { saveText: () => 0, reopenText: () => 0, printText: () => 0 }, files);
  return { text, loads, exercises, live, fich: () => fich };
}

beforeEach(() => {
  withDialogs();
  document.body.replaceChildren();
  document.title = 'Équilibre dynamique';
});

describe('the shipped exercises', () => {
  test('twelve are listed, each opening its statement editable and loading its configuration', async () => {
    const { text, loads, exercises, live } = setUp();
    const entries = exercises.shippedEntries();
    expect(entries.map((e) => e.name)).toHaveLength(12);
    for (const [k, entry] of entries.entries()) {
      const preview = await exercises.preview(entry);
      expect(preview?.title, entry.name).toBeTruthy();
      expect(await exercises.open(entry, preview)).toBe(true);
      expect(text.last().readOnly).toBe(false);
      expect(text.last().name).toBe(entry.name);
      expect(text.last().text).toMatch(/^\{\\rtf1/);
      expect(text.last().text).toContain(`Exercice ${k + 1}`);
      expect(loads.at(-1)?.length).toBe(m.configurationBytesRead);
      expect(live.textContent).toBe(m.exerciseOpenedNotice(preview?.title ?? ''));
      expect(document.title).toBe(`Équilibre dynamique - ${preview?.title}`);
      expect(exercises.enabledItems()).toEqual({ opencor: preview?.corrected, Closexo: true });
    }
  });

  test('a correction shows read-only over the statement, then closing brings the introduction', async () => {
    const { text, exercises, fich } = setUp();
    const [entry] = exercises.shippedEntries();
    await exercises.open(entry, await exercises.preview(entry));
    await exercises.showCorrection();
    expect(text.last().readOnly).toBe(true);
    expect(text.last().text).not.toBe(text.shown[0].text);
    await exercises.closeExercise();
    expect(text.last()).toEqual({ text: new TextDecoder('latin1').decode(m.introductionRtf()), readOnly: true, name: '' });
    expect(fich()).toBe('');
    expect(exercises.enabledItems()).toEqual({ opencor: false, Closexo: false });
    expect(document.title).toBe('Équilibre dynamique');
  });

  test('a text reopened over the statement leaves no correction to show', async () => {
    const { text, exercises } = setUp();
    const [entry] = exercises.shippedEntries();
    await exercises.open(entry, await exercises.preview(entry));
    expect(exercises.enabledItems().opencor).toBe(true);
    text.showRtf(new TextEncoder().encode('{\\rtf1 copie}'), { name: 'Texte: copie.rtf' });
    expect(exercises.enabledItems()).toEqual({ opencor: false, Closexo: true });
    await exercises.showCorrection();
    expect(text.shown).toHaveLength(2);
  });

  test('a modified text is kept when the question is cancelled', async () => {
    const { text, exercises } = setUp();
    const [entry] = exercises.shippedEntries();
    await exercises.open(entry, await exercises.preview(entry));
    text.modified = true;
    text.answer = false;
    for (const command of ['opencor', 'Closexo', 'PRISENMAIN', 'openexo']) {
      const before = text.shown.length;
      await exercises.run(command);
      expect(text.shown.length, command).toBe(before);
    }
    expect(text.asked).toBe(4);
    expect(document.querySelector('dialog.fichexo')).toBeNull();
  });

  test('"Prise en main" opens editable and has no correction', async () => {
    const { text, exercises, loads } = setUp();
    await exercises.gettingStarted();
    expect(text.last()).toMatchObject({ readOnly: false, name: m.gettingStartedFile });
    expect(loads).toHaveLength(1);
    expect(exercises.enabledItems()).toEqual({ opencor: false, Closexo: true });
  });

  test('without the getting-started file "Prise en main" does nothing, asking nothing', async () => {
    const { text, exercises } = setUp(shipped.filter((f) => f.name !== 'molvane.PEM'));
    text.modified = true;
    await exercises.gettingStarted();
    expect(text.shown).toHaveLength(0);
    expect(text.asked).toBe(0);
  });
});

describe("a teacher's exercise", () => {
  const encoder = new TextEncoder();
  const file = (text: string | Uint8Array) => {
    const bytes = typeof text === 'string' ? encoder.encode(text) : text;
    return { arrayBuffer: async () => bytes.slice().buffer };
  };
  // Records of 128 bytes: a 16-bit length, then the text.
  const records = (texts: string[]) => {
    const bytes = new Uint8Array(texts.length * 128);
    texts.forEach((t, i) => {
      bytes[i * 128] = t.length;
      for (let k = 0; k < t.length; ++k) bytes[i * 128 + 2 + k] = t.charCodeAt(k);
    });
    return bytes;
  };
  const exo = records(['Docs\\Enonce.RTF', 'exo.c11', '', '', '2', '', 'Chimie ', 'cinétique', '', '', ' Mon exercice ', '3']);

  test('files of a chosen folder are grouped by the folder of each exercise', () => {
    const folders = teacherFolders(m, [
      { path: 'classe/b/x.E32', file: file('') },
      { path: 'classe/a/y.e32', file: file('') },
      { path: 'classe/a/docs/z.rtf', file: file('') },
      { path: 'classe/notes.txt', file: file('') },
    ]);
    expect(folders.map((f) => [f.label, f.names])).toEqual([
      ['classe/a/', ['docs/z.rtf', 'y.e32']],
      ['classe/b/', ['x.E32']],
    ]);
    expect(exerciseEntries(m, folders[0]).map((e) => e.name)).toEqual(['y.e32']);
  });

  test('a dropped folder is walked through, its reader read until it gives nothing', async () => {
    const blob = { arrayBuffer: async () => new ArrayBuffer(0) };
    const fileEntry = (name: string) => ({ isFile: true, name, file: (done: (f: unknown) => void) => done(blob) });
    const folderEntry = (name: string, batches: unknown[][]) => ({
      isFile: false,
      name,
      createReader: () => ({ readEntries: (done: (e: unknown[]) => void) => done(batches.shift() ?? []) }),
    });
    const tree = folderEntry('classe', [
      [fileEntry('exo.E32'), folderEntry('docs', [[fileEntry('a.rtf')], [fileEntry('b.rtf')]])],
      [fileEntry('exo.C11')],
    ]);
    const loose = new File(['x'], 'seul.rtf');
    const items = [
      { kind: 'file', webkitGetAsEntry: () => tree, getAsFile: () => null },
      { kind: 'file', webkitGetAsEntry: () => null, getAsFile: () => loose },
      { kind: 'string', webkitGetAsEntry: () => null, getAsFile: () => null },
    ] as unknown as DataTransferItemList;
    const found = await droppedFiles(items);
    expect(found.map((f) => f.path).sort()).toEqual([
      'classe/docs/a.rtf',
      'classe/docs/b.rtf',
      'classe/exo.C11',
      'classe/exo.E32',
      'seul.rtf',
    ]);
  });

  test('names written on Windows find their files; a missing statement is named in the message', async () => {
    const { text, exercises, loads } = setUp([]);
    const [folder] = teacherFolders(m, [
      { path: 'prof/exo.E32', file: file(exo) },
      { path: 'prof/docs/enonce.rtf', file: file('{\\rtf1 Bonjour}') },
      { path: 'prof/EXO.C11', file: file('config') },
    ]);
    expect(new TextDecoder().decode((await readStored(m, folder, 'DOCS\\ENONCE.rtf')) ?? undefined)).toBe(
      '{\\rtf1 Bonjour}',
    );
    const [entry] = exerciseEntries(m, folder);
    const preview = await exercises.preview(entry);
    expect(preview).toMatchObject({ title: 'Mon exercice', topics: 'Chimie cinétique', hourglasses: 3, corrected: false });
    expect(preview?.lit).toEqual([true, true, false]);
    expect(await exercises.open(entry, preview)).toBe(true);
    expect(text.last()).toMatchObject({ text: '{\\rtf1 Bonjour}', name: 'prof/exo.E32' });
    expect(new TextDecoder().decode(loads[0])).toBe('config');

    const [alone] = teacherFolders(m, [{ path: 'seul/exo.E32', file: file(exo) }]);
    const opening = exercises.open(exerciseEntries(m, alone)[0], null);
    expect(await boxes()).toEqual([m.exerciseMissingDocument('seul/', 'Docs\\Enonce.RTF').title]);
    expect(await opening).toBe(false);
    expect(text.shown).toHaveLength(1);
  });

  test('a missing configuration ends in the reader\'s own message', async () => {
    const { exercises } = setUp([]);
    const [folder] = teacherFolders(m, [
      { path: 'p/exo.E32', file: file(exo) },
      { path: 'p/Docs/Enonce.RTF', file: file('{\\rtf1 x}') },
    ]);
    const opening = exercises.open(exerciseEntries(m, folder)[0], null);
    expect(await boxes()).toEqual(['Erreur de lecture']);
    expect(await opening).toBe(true);
  });

  test('an exercise file that cannot be read says so and opens nothing', async () => {
    const { text, exercises } = setUp([]);
    // A record that claims more bytes than a record holds: the preview reads
    // records 3 and 4, opening records 1 and 2.
    const brokenAt = (n: number) => {
      const bytes = records(Array(12).fill('x'));
      bytes[(n - 1) * 128] = 200;
      return bytes;
    };
    const [folder] = teacherFolders(m, [
      { path: 'p/trois.E32', file: file(brokenAt(3)) },
      { path: 'p/un.E32', file: file(brokenAt(1)) },
      { path: 'p/x', file: file('{\\rtf1 x}') },
    ]);
    const [third, first] = exerciseEntries(m, folder);
    const previewing = exercises.preview(third);
    expect(await boxes()).toEqual([m.exerciseReadFailure().title]);
    expect(await previewing).toBeNull();
    expect(await exercises.preview(first)).not.toBeNull();
    const opening = exercises.open(first, null);
    expect(await boxes()).toEqual([m.exerciseReadFailure().title]);
    expect(await opening).toBe(false);
    expect(text.shown).toHaveLength(0);
  });
});

describe('the menu', () => {
  test.each([
    ['&Prise en main', 'Prise en main', 'p'],
    ["&Fermer l'exercice", "Fermer l'exercice", 'f'],
    ['E&xercices', 'Exercices', 'x'],
    ['Sans lettre', 'Sans lettre', ''],
  ])('%s', (caption, text, letter) => {
    expect(mnemonic(caption)).toEqual({ text, letter });
  });

  function menuOf(names: string[]) {
    const button = document.createElement('button');
    document.body.append(button);
    const ran: string[] = [];
    const entries = names.map((name) => ({ name, caption: name.startsWith('-') ? '' : `&${name}` }));
    const menu = popupMenu(document, button, entries, 'Exercices', (name) => ran.push(name), () => undefined);
    document.body.append(menu.element);
    return { button, menu, ran };
  }
  const key = (key: string) =>
    document.activeElement?.dispatchEvent(new KeyboardEvent('keydown', { key, bubbles: true, cancelable: true }));
  const focused = () => (document.activeElement as HTMLElement).dataset.item;

  test('the arrows go round the items, over separators, Home and End to either end', () => {
    const { button, menu } = menuOf(['un', '-1', 'deux', 'trois']);
    button.click();
    expect(menu.isOpen).toBe(true);
    expect(focused()).toBe('un');
    const walk = ['ArrowDown', 'ArrowDown', 'ArrowDown', 'ArrowUp', 'End', 'Home', 'ArrowUp'].map((k) => {
      key(k);
      return focused();
    });
    expect(walk).toEqual(['deux', 'trois', 'un', 'trois', 'trois', 'un', 'trois']);
  });

  test('a letter or Enter chooses once the menu has closed; a disabled item is never run', async () => {
    const { button, menu, ran } = menuOf(['un', 'deux', 'trois']);
    enableItem(menu.item('deux'), false);
    button.click();
    key('d');
    expect(menu.isOpen).toBe(true);
    key('ArrowDown');
    key('Enter');
    expect(menu.isOpen).toBe(true);
    key('t');
    expect(menu.isOpen).toBe(false);
    expect(document.activeElement).toBe(button);
    expect(ran).toEqual([]);
    await vi.waitFor(() => expect(ran).toEqual(['trois']));
  });

  test('Escape closes it back to its button, Tab closes it and goes on', () => {
    const { button, menu } = menuOf(['un', 'deux']);
    button.dispatchEvent(new KeyboardEvent('keydown', { key: 'ArrowDown', bubbles: true }));
    expect(menu.isOpen).toBe(true);
    expect(button.getAttribute('aria-expanded')).toBe('true');
    key('Escape');
    expect(menu.isOpen).toBe(false);
    expect(document.activeElement).toBe(button);
    expect(button.getAttribute('aria-expanded')).toBe('false');
    button.click();
    key('Tab');
    expect(menu.isOpen).toBe(false);
  });
});

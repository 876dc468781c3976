// @vitest-environment jsdom
// The text area over the real module: when typing counts as a change, the
// question before a change is lost, a file that cannot be read, and the
// printed copy of the text.
import { createRequire } from 'node:module';
import { resolve } from 'node:path';
import { afterEach, beforeAll, beforeEach, describe, expect, test, vi } from 'vitest';
import type { Molvane } from '../../src/molvane';
import { printTextOf, PupilText } from '../../src/textarea';
import { withDialogs } from './dialogs';

let m: Molvane;
beforeAll(async () => {
  const file = process.env.MOLVANE_MODULE ?? resolve(__dirname, '../../../build/wasm/web/molvane_web.js');
  const createMolvane = createRequire(import.meta.url)(file) as () => Promise<unknown>;
  // The module, finding Node, takes over its error handlers: the test runner keeps its own.
  const events = ['uncaughtException', 'unhandledRejection'];
  const node = process as unknown as {
    listeners(event: string): unknown[];
    off(event: string, listener: unknown): void;
  };
  const before = events.map((event) => node.listeners(event));
  m = (await createMolvane()) as Molvane;
  events.forEach((event, i) => {
    for (const listener of node.listeners(event)) if (!before[i].includes(listener)) node.off(event, listener);
  });
  withDialogs();
});

const rtf = (text: string) => new TextEncoder().encode(text);
const statement = rtf('{\\rtf1\\ansi {\\b Question :} r\\u233?ponse\\par}');

let text: PupilText;
let fich: HTMLInputElement;
beforeEach(() => {
  document.body.replaceChildren();
  const element = document.createElement('div');
  fich = document.createElement('input');
  document.body.append(fich, element);
  text = new PupilText(m, element, fich);
});
afterEach(() => {
  document.querySelectorAll('dialog').forEach((d) => d.remove());
});

function typeInto(element: HTMLElement, words: string) {
  (element.querySelector('span') ?? element).append(words);
  element.dispatchEvent(new Event('input', { bubbles: true }));
}

// Answers the next message box with its first (OK) or second (Annuler) button.
async function answer(button: 0 | 1): Promise<string> {
  await vi.waitFor(() => expect(document.querySelector('dialog')).not.toBeNull());
  const dialog = document.querySelector('dialog')!;
  const title = dialog.querySelector('h2')!.textContent ?? '';
  dialog.querySelectorAll('button')[button].click();
  return title;
}

describe('the modified flag', () => {
  test.each([
    ['a statement', '/cours/exo1.E32', false, true],
    ['the introduction', '', true, false],
    ['a text shown read-only under a name', '/cours/exo1.E32', true, true],
  ])('typing in %s', (_, name, readOnly, modified) => {
    text.showRtf(statement, { name, readOnly });
    expect(text.modified).toBe(false);
    typeInto(text.element, ' 42');
    expect(text.modified).toBe(modified);
  });

  test('showing a text clears it, and names the area and fich', () => {
    text.showRtf(statement, { name: '/cours/exo1.E32' });
    typeInto(text.element, ' 42');
    text.showRtf(statement, { name: 'Texte: essai.rtf' });
    expect(text.modified).toBe(false);
    expect(fich.value).toBe('Texte: essai.rtf');
    expect(text.element.getAttribute('aria-label')).toBe('Énoncé et réponses : Texte: essai.rtf');
    expect(text.element.getAttribute('contenteditable')).toBe('true');
  });

  test('what is typed is in the RTF written', () => {
    text.showRtf(statement, { name: 'x' });
    typeInto(text.element, ' quarante-deux');
    const again = m.readRtf(text.rtf(), null).document;
    const words = again.blocks[0].paragraph!.runs.map((r) => r.text).join('');
    expect(words).toBe('Question : quarante-deux réponse');
    expect(again.blocks[0].paragraph!.runs[0].format.bold).toBe(true);
  });
});

describe('the question before typing is lost', () => {
  test('unmodified: no question', async () => {
    text.showRtf(statement, { name: 'x' });
    expect(await text.confirmDiscard()).toBe(true);
    expect(document.querySelector('dialog')).toBeNull();
  });

  test.each([
    ['OK goes on and clears the flag', 0, true, false],
    ['Annuler keeps the text modified', 1, false, true],
  ] as const)('%s', async (_, button, goOn, modified) => {
    text.showRtf(statement, { name: 'x' });
    typeInto(text.element, ' 42');
    const asked = text.confirmDiscard();
    expect(await answer(button)).toBe(m.discardTitle);
    expect(await asked).toBe(goOn);
    expect(text.modified).toBe(modified);
  });
});

describe('a file that cannot be read', () => {
  test('leaves the text as it was', () => {
    text.showRtf(statement, { name: 'x' });
    typeInto(text.element, ' 42');
    expect(() => text.showRtf(rtf('pas du RTF'), { name: 'autre' })).toThrow();
    expect(text.element.textContent).toContain('42');
    expect(text.modified).toBe(true);
    expect(fich.value).toBe('x');
  });
});

describe('printing', () => {
  test('the text alone is printed, then the printed copy goes', async () => {
    text.showRtf(statement, { name: 'x' });
    let printed = '';
    let bold = '';
    await printTextOf(text, () => {
      const layout = document.querySelector<HTMLElement>('.molvane-print');
      printed = layout?.textContent ?? '';
      bold = layout?.querySelector<HTMLElement>('span')?.style.fontWeight ?? '';
    });
    expect(printed).toBe('Question : réponse');
    expect(bold).toBe('bold');
    expect(document.querySelector('.molvane-print')).toBeNull();
    // The text on screen stays as it was.
    expect(text.element.textContent).toBe('Question : réponse');
  });
});

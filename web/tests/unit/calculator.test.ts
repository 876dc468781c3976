// @vitest-environment jsdom
// The page's calculator over the module: keys typed and clicked reach the
// module's calculator, the window behind hears none of them, and closing
// gives the keyboard back.
import { afterEach, beforeAll, describe, expect, it } from 'vitest';
import type { CalcModule } from '../../bindings/calc';
import { openCalculator, typedKey, type CalculatorView } from '../../src/calculator';
import type { Molvane } from '../../src/molvane';
import { withDialogs } from './dialogs';
import { loadModule } from './module';

let m: CalcModule;
let view: CalculatorView | null = null;

beforeAll(async () => {
  withDialogs();
  // jsdom draws nothing: the background goes unpainted.
  HTMLCanvasElement.prototype.getContext = (() => null) as typeof HTMLCanvasElement.prototype.getContext;
  m = await loadModule<CalcModule>();
});
afterEach(() => {
  if (view?.dialog.open) view.dialog.close();
  view = null;
  document.body.innerHTML = '';
});

function open(): CalculatorView {
  const opener = document.createElement('button');
  opener.id = 'ouvre';
  document.body.append(opener);
  view = openCalculator(m as Molvane, document, opener);
  return view;
}

function key(target: EventTarget, key: string, options: KeyboardEventInit = {}): KeyboardEvent {
  const event = new KeyboardEvent('keydown', { key, bubbles: true, cancelable: true, ...options });
  target.dispatchEvent(event);
  return event;
}

describe('typedKey', () => {
  it.each([
    ['Enter', 'Enter'],
    ['Backspace', 'Backspace'],
    ['7', '7'],
    [',', ','],
    ['µ', 'µ'],
    ['Escape', ''],
    ['ArrowLeft', ''],
    ['Shift', ''],
  ])('%j gives %j', (pressed, typed) => {
    expect(typedKey({ key: pressed })).toBe(typed);
  });
});

describe('the calculator', () => {
  it('draws every key of the module with its spoken name and tooltip', () => {
    const { dialog } = open();
    for (const k of m.calculatorKeys()) {
      const button = dialog.querySelector<HTMLButtonElement>(`[data-touche="${k.name}"]`);
      expect(button, k.name).not.toBeNull();
      expect(button?.getAttribute('aria-label') ?? '', k.name).toBe(k.spokenName);
      expect(button?.title ?? '', k.name).toBe(k.tooltip);
    }
    expect(dialog.querySelector('h2')?.textContent).toBe(m.calculatorWindow().title);
  });

  it('gives typed and clicked keys to the module, and shows its display', () => {
    const { dialog, display } = open();
    for (const c of '1,5*') key(display, c);
    dialog.querySelector<HTMLButtonElement>('[data-touche="B4"]')?.click();
    key(display, 'Enter');
    expect(display.value).toBe(' 6');
    const radio = dialog.querySelector<HTMLInputElement>('[data-touche="C_0"]');
    radio?.click();
    expect(display.value).toBe('6.E+00');
  });

  it('keeps its keys from the window behind, Alt and a letter included', () => {
    const { display } = open();
    const heard: string[] = [];
    document.addEventListener('keydown', (event) => heard.push(event.key));
    key(display, 's', { altKey: true });
    key(display, 'f', { altKey: true });
    key(display, '2');
    expect(heard).toEqual([]);
    expect(display.value).toBe('sin 2');
  });

  it('closes on Escape and gives the keyboard back to its opener', () => {
    const { dialog, display } = open();
    const event = key(display, 'Escape');
    expect(event.defaultPrevented).toBe(true);
    expect(dialog.isConnected).toBe(false);
    expect(document.activeElement?.id).toBe('ouvre');
  });
});

// "Machine à calculer": "Calculatrice" opens the calculator in a modal
// dialog. The keys, their places, captions and spoken names, the window's
// texts and every rule a key follows come from the module (calc.cpp); this
// file draws them and hands each key, clicked, touched or typed, to the
// module's calculator.
import type { Calculator, CalculatorPress, CalculatorRect } from '../bindings/calc';
import { whenReady } from './app';
import { addStyle } from './extras';
import type { Molvane } from './molvane';
import { kFont, splitCaption } from './page';

const kStyle = `
dialog.calculatrice { padding: 8px; max-width: none; }
dialog.calculatrice h2 { margin: 0 0 6px; }
.calculatrice .cadre { position: relative; overflow: hidden; }
.calculatrice .machine { position: absolute; left: 0; top: 0; transform-origin: 0 0; font: 8pt ${kFont}; }
.calculatrice .machine > * { position: absolute; box-sizing: border-box; margin: 0; }
.calculatrice canvas { left: 0; top: 0; }
.calculatrice .affichage { font: 12pt ${kFont}; background: rgb(0, 255, 0); color: #000;
  border: 2px inset #808080; padding: 0 4px; }
.calculatrice .groupe { border: 1px solid #fff; }
.calculatrice .groupe .titre { position: absolute; left: 6px; top: -0.75em; padding: 0 2px; line-height: 1.2; }
.calculatrice .groupe label { position: absolute; display: flex; align-items: center; gap: 4px; }
.calculatrice .groupe input { margin: 0; }
.calculatrice button { padding: 0; font: inherit; white-space: nowrap; touch-action: manipulation; }
.calculatrice button sup { font-size: 7pt; }
.calculatrice button .base { font-size: 10pt; }
.calculatrice :focus-visible { outline: 2px solid #000; outline-offset: 1px; }
`;

function place(element: HTMLElement, rect: CalculatorRect): void {
  element.style.left = `${rect.x}px`;
  element.style.top = `${rect.y}px`;
  element.style.width = `${rect.width}px`;
  element.style.height = `${rect.height}px`;
}

/** A short tone for an error message, where the browser can sound one. */
function beep(doc: Document): void {
  const view = doc.defaultView as (Window & { AudioContext?: typeof AudioContext }) | null;
  if (!view?.AudioContext) return;
  try {
    const audio = new view.AudioContext();
    const tone = audio.createOscillator();
    const volume = audio.createGain();
    volume.gain.value = 0.05;
    tone.frequency.value = 880;
    tone.connect(volume).connect(audio.destination);
    tone.start();
    tone.stop(audio.currentTime + 0.12);
    tone.onended = () => void audio.close();
  } catch {
    // No sound: the message says it all.
  }
}

/** What the keyboard typed, as the module names it: "Enter", "Backspace" or a character. */
export function typedKey(event: Pick<KeyboardEvent, 'key'>): string {
  return event.key === 'Enter' || event.key === 'Backspace' || [...event.key].length === 1 ? event.key : '';
}

/** The open calculator, for whoever needs to reach it (tests, the robot). */
export interface CalculatorView {
  dialog: HTMLDialogElement;
  display: HTMLInputElement;
  calculator: Calculator;
  /** A key by its design name, as if clicked. */
  press(name: string): void;
}

/** Builds and opens the calculator over the page; the keyboard goes back to returnTo once it closes. */
export function openCalculator(m: Molvane, doc: Document, returnTo: HTMLElement | null): CalculatorView {
  addStyle('style-calculatrice', kStyle, doc);
  const layout = m.calculatorWindow();
  const calculator = new m.Calculator();

  const dialog = doc.createElement('dialog');
  dialog.className = 'calculatrice';
  dialog.setAttribute('aria-labelledby', 'calculatrice-titre');
  const title = doc.createElement('h2');
  title.id = 'calculatrice-titre';
  title.textContent = layout.title;

  // The design's size, shrunk to the browser's window, or doubled for fingers where it fits.
  const frame = doc.createElement('div');
  frame.className = 'cadre';
  const machine = doc.createElement('div');
  machine.className = 'machine';
  machine.style.width = `${layout.width}px`;
  machine.style.height = `${layout.height}px`;
  frame.append(machine);
  const fit = () => {
    const view = doc.defaultView;
    if (!view) return;
    const coarse = view.matchMedia?.('(pointer: coarse)').matches ?? false;
    const room = Math.min((view.innerWidth - 40) / layout.width, (view.innerHeight - 80) / layout.height);
    const scale = Math.max(0.5, Math.min(coarse ? 2 : 1, room));
    machine.style.transform = `scale(${scale})`;
    frame.style.width = `${layout.width * scale}px`;
    frame.style.height = `${layout.height * scale}px`;
  };
  fit();
  doc.defaultView?.addEventListener('resize', fit);

  // The painted background: a shade per column and the frame of the digit pad.
  const background = doc.createElement('canvas');
  const ratio = 2;
  background.width = layout.width * ratio;
  background.height = layout.height * ratio;
  background.style.width = `${layout.width}px`;
  background.style.height = `${layout.height}px`;
  background.setAttribute('aria-hidden', 'true');
  const ctx = background.getContext('2d');
  if (ctx) {
    ctx.scale(ratio, ratio);
    layout.shades.forEach((b, x) => {
      ctx.fillStyle = `rgb(${b}, ${b + 50}, ${b + 50})`;
      ctx.fillRect(x, 0, 1, layout.height);
    });
    const pad = layout.padFrame;
    ctx.lineWidth = 1;
    ctx.strokeStyle = '#fff';
    ctx.strokeRect(pad.x + 1.5, pad.y + 1.5, pad.width, pad.height);
    ctx.strokeStyle = '#0ff';
    ctx.strokeRect(pad.x + 0.5, pad.y + 0.5, pad.width, pad.height);
  }
  machine.append(background);

  const display = doc.createElement('input');
  display.type = 'text';
  display.readOnly = true;
  display.className = 'affichage';
  display.dataset.touche = 'z1';
  display.setAttribute('aria-label', layout.displayName);
  display.setAttribute('aria-description', layout.displayDescription);
  display.autocomplete = 'off';
  display.spellcheck = false;
  place(display, layout.display);
  machine.append(display);
  // Said once a result or a recall is shown; typing is echoed by the reader itself.
  const said = doc.createElement('p');
  said.className = 'annonce';
  said.setAttribute('aria-live', 'polite');

  const show = (press: CalculatorPress, speak: boolean) => {
    for (const text of press.shown) display.value = text;
    display.setSelectionRange(display.value.length, display.value.length);
    if (speak && press.shown.length > 0) said.textContent = display.value;
    if (press.beep) beep(doc);
    // A key reached with Tab keeps the keyboard, so that it can be pressed again.
    if (!(doc.activeElement instanceof HTMLButtonElement && dialog.contains(doc.activeElement))) display.focus();
  };

  const radios = new Map<string, HTMLInputElement>();
  for (const group of layout.groups) {
    // A framed group as the desktop draws it, its title over the frame's top line.
    const set = doc.createElement('div');
    set.className = 'groupe';
    set.setAttribute('role', 'radiogroup');
    set.setAttribute('aria-labelledby', `calculatrice-${group.name}`);
    place(set, group.rect);
    const legend = doc.createElement('span');
    legend.id = `calculatrice-${group.name}`;
    legend.className = 'titre';
    const b = layout.shades[group.rect.x + 8] ?? 200;
    legend.style.backgroundColor = `rgb(${b}, ${b + 50}, ${b + 50})`;
    legend.textContent = group.title;
    set.append(legend);
    group.options.forEach((option, i) => {
      const label = doc.createElement('label');
      place(label, option.rect);
      const radio = doc.createElement('input');
      radio.type = 'radio';
      radio.name = `calculatrice-${group.name}`;
      radio.dataset.touche = `${group.name}_${i}`;
      radio.checked = i === group.chosen;
      radios.set(`${group.name}_${i}`, radio);
      label.append(radio, option.caption);
      set.append(label);
    });
    machine.append(set);
  }
  const checked = (name: string) => radios.get(name)?.checked ?? false;
  for (const name of ['angle_0', 'angle_1']) {
    radios.get(name)?.addEventListener('change', () => calculator.chooseAngle(checked('angle_1')));
  }
  for (const name of ['C_0', 'C_1']) {
    radios.get(name)?.addEventListener('change', () => show(calculator.chooseDisplay(checked('C_0')), true));
  }

  const press = (name: string) => show(calculator.press(name), ['EXE', 'ANS', 'Command3'].includes(name));
  const letters = new Map<string, HTMLButtonElement>();
  for (const key of m.calculatorKeys()) {
    const button = doc.createElement('button');
    button.type = 'button';
    button.dataset.touche = key.name;
    if (key.base) {
      const base = doc.createElement('span');
      base.className = 'base';
      base.textContent = key.base;
      const exponent = doc.createElement('sup');
      exponent.textContent = key.exponent;
      button.append(base, exponent);
    } else {
      const { before, letter, after } = splitCaption(key.caption);
      button.append(before);
      if (letter) {
        const u = doc.createElement('u');
        u.textContent = letter;
        button.append(u, after);
        letters.set(letter.toLowerCase(), button);
        button.setAttribute('aria-keyshortcuts', `Alt+${letter.toUpperCase()}`);
      }
    }
    if (key.spokenName) button.setAttribute('aria-label', key.spokenName);
    if (key.tooltip) button.title = key.tooltip;
    place(button, key.rect);
    // A click leaves the keyboard where it was: on the display, so that typed keys reach it.
    button.addEventListener('mousedown', (event) => event.preventDefault());
    button.addEventListener('click', () => press(key.name));
    machine.append(button);
  }

  dialog.addEventListener('keydown', (event) => {
    // The window behind has its own keys (Alt and a letter): none of them acts while the calculator is open.
    event.stopPropagation();
    if (event.isComposing) return;
    if (event.altKey && !event.ctrlKey && !event.metaKey) {
      const letter = /^Key[A-Z]$/.test(event.code) ? event.code.slice(3).toLowerCase() : event.key.toLowerCase();
      const button = letters.get(letter);
      if (button) {
        event.preventDefault();
        button.focus();
        press(button.dataset.touche ?? '');
      }
      return;
    }
    if (event.ctrlKey || event.metaKey) return;
    // The display keeps the keyboard, so Escape is taken here, whatever has it.
    if (event.key === 'Escape') {
      event.preventDefault();
      dialog.close();
      return;
    }
    // Space presses the key that has the keyboard; Enter computes, wherever the keyboard is.
    if (event.key === ' ' && event.target instanceof HTMLButtonElement) return;
    const name = m.calculatorKeyFor(typedKey(event));
    if (!name) return;
    event.preventDefault();
    press(name);
  });
  // Ctrl+C copies the whole display, selected or not.
  display.addEventListener('copy', (event) => {
    if (!event.clipboardData) return;
    event.clipboardData.setData('text/plain', display.value);
    event.preventDefault();
  });
  dialog.addEventListener('close', () => {
    doc.defaultView?.removeEventListener('resize', fit);
    calculator.delete();
    dialog.remove();
    returnTo?.focus();
  });

  dialog.append(title, frame, said);
  doc.body.append(dialog);
  dialog.showModal();
  display.focus();
  return { dialog, display, calculator, press };
}

whenReady((app) => {
  const button = app.control('Command8');
  if (!button) return;
  button.setAttribute('aria-haspopup', 'dialog');
  // Opened once the click is over, never while the button still handles it.
  button.addEventListener('click', () => {
    setTimeout(() => {
      if (!button.ownerDocument.querySelector('dialog.calculatrice')) openCalculator(app.m, button.ownerDocument, button);
    }, 0);
  });
});

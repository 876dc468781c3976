import { afterEach, beforeEach, describe, expect, test } from 'vitest';
import { keyLetters } from '../../src/page';

describe('Alt and a key letter', () => {
  let root: HTMLElement;
  let pressed: string[];
  let stop = () => {};
  afterEach(() => stop());
  beforeEach(() => {
    document.body.innerHTML = '';
    root = document.createElement('div');
    document.body.append(root);
    pressed = [];
    for (const [name, letter] of [
      ['Command2', 'o'],
      ['Command4', 'p'],
      ['Comloupe', 'g'],
      ['Command6', 'f'],
      ['Command1', 'f'],
    ]) {
      const button = document.createElement('button');
      button.dataset.key = letter;
      button.dataset.control = name;
      button.addEventListener('click', () => pressed.push(name));
      root.append(button);
    }
    // jsdom lays nothing out: every button counts as shown unless hidden.
    for (const button of root.querySelectorAll('button'))
      Object.defineProperty(button, 'offsetParent', { get: () => (button.hidden ? null : root) });
    (root.querySelector('[data-control="Command6"]') as HTMLButtonElement).hidden = true;
    stop = keyLetters(document, root);
  });

  const press = (init: KeyboardEventInit) => {
    const event = new KeyboardEvent('keydown', { bubbles: true, cancelable: true, ...init });
    document.body.dispatchEvent(event);
    return event;
  };

  test.each([
    [{ altKey: true, key: 'o', code: 'KeyO' }, ['Command2']],
    [{ altKey: true, key: 'P', code: 'KeyP' }, ['Command4']],
    // Where Alt changes what the key types, the key's place still names the letter.
    [{ altKey: true, key: '©', code: 'KeyG' }, ['Comloupe']],
    // A hidden button is passed over for the next one of the same letter.
    [{ altKey: true, key: 'f', code: 'KeyF' }, ['Command1']],
    [{ key: 'o', code: 'KeyO' }, []],
    [{ altKey: true, ctrlKey: true, key: 'o', code: 'KeyO' }, []],
    [{ altKey: true, key: 'z', code: 'KeyZ' }, []],
  ])('%o', (init, expected) => {
    const event = press(init);
    expect(pressed).toEqual(expected);
    expect(event.defaultPrevented).toBe(expected.length > 0);
  });
});

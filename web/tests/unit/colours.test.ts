import { describe, expect, test } from 'vitest';
import { cssColour, fromHex, hexColour } from '../../src/colours';

describe('core colours (0x00BBGGRR) in the page', () => {
  test.each([
    [0x0000ff, 'rgb(255, 0, 0)', '#ff0000'],
    [0xff0000, 'rgb(0, 0, 255)', '#0000ff'],
    [0x00c000, 'rgb(0, 192, 0)', '#00c000'],
    [0x0080ff, 'rgb(255, 128, 0)', '#ff8000'],
    [0x000000, 'rgb(0, 0, 0)', '#000000'],
    [0xffffff, 'rgb(255, 255, 255)', '#ffffff'],
    // A system colour has no meaning in a page: black.
    [0x80000008, 'rgb(0, 0, 0)', '#000000'],
  ])('%i', (colour, css, hex) => {
    expect(cssColour(colour)).toBe(css);
    expect(hexColour(colour)).toBe(hex);
  });

  test('a picker colour comes back as the core colour it came from', () => {
    for (const colour of [0x0000ff, 0xff00ff, 0x0080ff, 0x123456, 0xfedcba]) expect(fromHex(hexColour(colour))).toBe(colour);
  });

  test.each(['', '#fff', 'ff0000', '#gg0000', '#ff00001'])('%s is no colour', (text) => {
    expect(fromHex(text)).toBeNull();
  });
});

import { beforeEach, describe, expect, test } from 'vitest';
import { seedFromAddress } from '../../src/seed';
import { kStorageKey, readChoices, writeChoices } from '../../src/storage';
import { splitCaption } from '../../src/page';
import { cellAlign, fillTable } from '../../src/table';

describe('?graine=N', () => {
  test.each([
    ['?graine=42', 42],
    ['?graine=0', 0],
    ['?x=1&graine=4294967295', 4294967295],
    ['', null],
    ['?graine=', null],
    ['?graine=-3', null],
    ['?graine=1.5', null],
    ['?graine=4294967296', null],
    ['?graine=douze', null],
  ])('%s', (search, seed) => {
    expect(seedFromAddress(search)).toBe(seed);
  });
});

describe('display choices kept in the browser', () => {
  let stored = new Map<string, string>();
  const storage = {
    getItem: (key: string) => stored.get(key) ?? null,
    setItem: (key: string, value: string) => void stored.set(key, value),
  };
  beforeEach(() => {
    stored = new Map();
  });

  test('what is written is read back', () => {
    const choices = { colours: [0xff0000, 0xff00ff, 0x0080ff, 0x00c000], whiteBackground: true, keepCurves: false, showQr: true };
    writeChoices(storage, choices);
    expect(readChoices(storage)).toEqual(choices);
  });

  test.each([
    ['nothing', null],
    ['not JSON', '{'],
    ['three colours', JSON.stringify({ colours: [1, 2, 3], whiteBackground: true, keepCurves: true, showQr: true })],
    ['a colour out of range', JSON.stringify({ colours: [1, 2, 3, 0x1000000], whiteBackground: true, keepCurves: true, showQr: true })],
    ['a box missing', JSON.stringify({ colours: [1, 2, 3, 4], whiteBackground: true, keepCurves: true })],
    ['a box not a flag', JSON.stringify({ colours: [1, 2, 3, 4], whiteBackground: 1, keepCurves: true, showQr: true })],
  ])('%s is ignored', (_, value) => {
    if (value !== null) stored.set(kStorageKey, value);
    expect(readChoices(storage)).toBeNull();
  });

  test('a storage that refuses leaves the page running', () => {
    expect(() =>
      writeChoices(
        {
          setItem: () => {
            throw new Error('full');
          },
        },
        { colours: [0, 0, 0, 0], whiteBackground: false, keepCurves: false, showQr: false },
      ),
    ).not.toThrow();
  });
});

describe('captions with their key letter', () => {
  test.each([
    ['&Fermer', 'Fermer', 'F'],
    ['Co&pier', 'Copier', 'p'],
    ['E&xercices', 'Exercices', 'x'],
    ['Retour à l\'état initial', 'Retour à l\'état initial', ''],
    ['A && B', 'A & B', ''],
    ['&&A&b', '&Ab', 'b'],
  ])('%s', (caption, shown, letter) => {
    const parts = splitCaption(caption);
    expect(parts.before + parts.letter + parts.after).toBe(shown);
    expect(parts.letter).toBe(letter);
  });
});

describe('the table of values', () => {
  test.each([
    [0, 'left'],
    [3, 'center'],
    [6, 'right'],
    [9, 'left'],
  ])('alignment code %i', (code, align) => {
    expect(cellAlign(code)).toBe(align);
  });

  test('headers, rows, colours and alignments follow the grid, and only changes are written', () => {
    let rows = 3;
    const text = (r: number, c: number) => (r === 0 ? `h${c}` : `${r}.${c}`);
    const cells = {
      tableRows: () => rows,
      tableCols: () => 3,
      cellText: text,
      cellColour: (_: number, c: number) => (c === 2 ? 0xffffff : 0),
      cellAlignment: (_: number, c: number) => (c === 0 ? 6 : 3),
    };
    const table = document.createElement('table');
    fillTable(table, cells);
    expect([...table.tHead!.rows[0].cells].map((c) => [c.tagName, c.textContent, c.scope])).toEqual([
      ['TH', 'h0', 'col'],
      ['TH', 'h1', 'col'],
      ['TH', 'h2', 'col'],
    ]);
    expect(table.tBodies[0].rows).toHaveLength(2);
    const body = table.tBodies[0].rows[1].cells;
    expect([body[0].tagName, body[0].scope, body[0].style.textAlign]).toEqual(['TH', 'row', 'right']);
    expect([body[1].textContent, body[1].style.textAlign]).toEqual(['2.1', 'center']);
    expect(body[2].style.color).toBe('rgb(255, 255, 255)');

    const kept = table.tBodies[0].rows[0].cells[1];
    rows = 2;
    fillTable(table, cells);
    expect(table.tBodies[0].rows).toHaveLength(1);
    expect(table.tBodies[0].rows[0].cells[1]).toBe(kept);
  });
});

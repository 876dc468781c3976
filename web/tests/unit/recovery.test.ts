// @vitest-environment jsdom
// The recovery copies in the browser's storage: a copy is always whole, a
// copy of a page still open is never offered, and a declined copy is kept
// for one more opening before it goes.
import { beforeEach, describe, expect, test } from 'vitest';
import { bytesToString, CopyStore, kIndexKey, stringToBytes } from '../../src/recovery';

class FakeStorage {
  items = new Map<string, string>();
  /** Refuses writes once this many more have been made. */
  writesLeft = Infinity;
  getItem(key: string) {
    return this.items.get(key) ?? null;
  }
  setItem(key: string, value: string) {
    if (this.writesLeft-- <= 0) throw new DOMException('plein', 'QuotaExceededError');
    this.items.set(key, value);
  }
  removeItem(key: string) {
    this.items.delete(key);
  }
}

const rtf = (text: string) => new TextEncoder().encode(`{\\rtf1 ${text}}`);
const text = (bytes: Uint8Array | null) => (bytes ? new TextDecoder().decode(bytes) : null);

let storage: FakeStorage;
let clock: number;
let store: CopyStore;
beforeEach(() => {
  storage = new FakeStorage();
  clock = 1_000;
  store = new CopyStore(storage, () => clock);
});

describe('writing a copy', () => {
  test('a newer copy replaces the older, which leaves no key behind', () => {
    store.write('a', rtf('un'), 'Texte: essai.rtf');
    clock += 10;
    store.write('a', rtf('deux'), 'Texte: essai.rtf');
    const [entry] = store.entries();
    expect(store.entries()).toHaveLength(1);
    expect(text(store.read(entry))).toBe('{\\rtf1 deux}');
    expect(entry.written).toBe(1_010);
    expect(storage.items.size).toBe(2);
  });

  test.each([
    ['the copy itself', 0],
    ['the switch to it', 1],
  ])('a storage full at %s keeps the copy before', (_, writes) => {
    store.write('a', rtf('complet'), '/cours/exo1.E32');
    storage.writesLeft = writes;
    expect(() => store.write('a', rtf('nouveau'), '/cours/exo1.E32')).toThrow();
    expect(text(store.read(store.entries()[0]))).toBe('{\\rtf1 complet}');
    expect(storage.items.size).toBe(2);
  });

  test('what is said of the open exercise is kept beside the copy', () => {
    store.write('a', rtf('x'), '/cours/exo1.E32', { corrige: 1, correctionShown: false });
    store.write('b', rtf('y'), 'Texte: essai.rtf');
    const kept = Object.fromEntries(store.entries().map((e) => [e.id, e.exercise]));
    expect(kept).toEqual({ a: { corrige: 1, correctionShown: false }, b: undefined });
  });

  test('removing a copy takes its text too', () => {
    store.write('a', rtf('x'), '');
    store.write('b', rtf('y'), '');
    store.remove('a');
    expect(store.entries().map((e) => e.id)).toEqual(['b']);
    expect(storage.items.size).toBe(2);
  });

  test('every byte comes back as written', () => {
    const bytes = Uint8Array.from({ length: 256 }, (_, i) => i);
    expect(Array.from(stringToBytes(bytesToString(bytes)))).toEqual(Array.from(bytes));
  });
});

describe('the copies offered at an opening', () => {
  test('newest first, never one of a page still open', () => {
    store.write('vieux', rtf('1'), '');
    clock = 5_000;
    store.write('ouvert', rtf('2'), '');
    clock = 3_000;
    store.write('recent', rtf('3'), '');
    expect(store.leftCopies(new Set(['ouvert'])).map((e) => e.id)).toEqual(['recent', 'vieux']);
  });

  test('a declined copy is kept for one more opening, then goes', () => {
    store.write('a', rtf('refusé'), '');
    store.decline('a');
    expect(store.leftCopies(new Set())).toEqual([]);
    store.ageDeclined();
    expect(store.entries()).toHaveLength(1);
    store.ageDeclined();
    expect(store.entries()).toEqual([]);
    expect(storage.items.size).toBe(1);
  });

  test.each([
    ['not JSON', '{'],
    ['not a list', '{"id":"a"}'],
    ['entries of another shape', '[{"id":1},{"id":"a","key":"ailleurs","fich":"","written":0}]'],
  ])('an index damaged (%s) offers nothing and breaks nothing', (_, index) => {
    storage.items.set(kIndexKey, index);
    expect(store.leftCopies(new Set())).toEqual([]);
    store.write('b', rtf('neuf'), '');
    expect(store.leftCopies(new Set()).map((e) => e.id)).toEqual(['b']);
  });
});

// @vitest-environment node
// The shared RTF builder and writer as the page calls them: what is written
// reads back as the same model, and writes again to the same bytes.
import { readdirSync, readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { resolve } from 'node:path';
import { beforeAll, describe, expect, test } from 'vitest';
import type { Molvane } from '../../src/molvane';
import { browserDecode } from '../../src/textarea';

const root = resolve(__dirname, '../../..');

// The module as the page's build made it, loaded as Node loads it.
let m: Molvane;
beforeAll(async () => {
  const file = process.env.MOLVANE_MODULE ?? resolve(root, 'build/wasm/web/molvane_web.js');
  const createMolvane = createRequire(import.meta.url)(file) as () => Promise<unknown>;
  m = (await createMolvane()) as Molvane;
});

const folders = ['tests/rtf/data', 'fuzz/corpus/rtf'];
const documents = folders.flatMap((folder) =>
  readdirSync(resolve(root, folder))
    .filter((name) => name.endsWith('.rtf'))
    .map((name) => [`${folder}/${name}`, resolve(root, folder, name)]),
);

const decoder = new TextDecoder('latin1');

describe('a text saved and reopened', () => {
  test.each(documents)('%s', (_, path) => {
    const first = m.readRtf(new Uint8Array(readFileSync(path)), browserDecode);
    if (first.nothingLoaded) return;
    const saved = m.writeRtf(first.document);
    const reread = m.readRtf(saved, browserDecode);
    expect(reread.status).toBe(0);
    const savedAgain = m.writeRtf(reread.document);
    expect(decoder.decode(savedAgain)).toBe(decoder.decode(saved));
    expect(m.readRtf(savedAgain, browserDecode).document).toEqual(reread.document);
  });
});

describe('reading', () => {
  test('a picture keeps its bytes and its description', () => {
    const read = m.readRtf(new Uint8Array(readFileSync(resolve(root, 'fuzz/corpus/rtf/picture-described.rtf'))), null);
    expect(read.document.pictures.length).toBeGreaterThan(0);
    const picture = read.document.pictures[0];
    expect(picture.description).not.toBe('');
    expect(picture.bytes.length).toBeGreaterThan(8);
    const again = m.readRtf(m.writeRtf(read.document), null).document.pictures[0];
    expect(again.description).toBe(picture.description);
    expect(Array.from(again.bytes)).toEqual(Array.from(picture.bytes));
  });

  test("other code pages than Windows-1252 are the browser's to decode", () => {
    const bytes = new Uint8Array(readFileSync(resolve(root, 'fuzz/corpus/rtf/codepages.rtf')));
    const text = (decode: typeof browserDecode | null) =>
      m
        .readRtf(bytes, decode)
        .document.blocks.flatMap((b) => b.paragraph?.runs ?? [])
        .map((r) => r.text)
        .join('');
    expect(text(browserDecode)).toContain('да');
    expect(text(null)).not.toContain('да');
    // A code page the browser does not know reads as the builder's own.
    expect(text(() => null)).toBe(text(null));
  });

  test.each([
    ['not RTF', 'Bonjour', true, ''],
    ['empty', '', true, ''],
    ['whole', '{\\rtf1\\ansi Bonjour\\par}', false, ''],
    ['cut', '{\\rtf1\\ansi {\\b Bonjour', false, 'notice'],
  ])('%s', (_, text, nothing, notice) => {
    const read = m.readRtf(new TextEncoder().encode(text), null);
    expect(read.nothingLoaded).toBe(nothing);
    expect(read.notice !== '').toBe(notice !== '');
  });

  test('characters beyond the basic plane and accents survive', () => {
    const read = m.readRtf(new TextEncoder().encode('{\\rtf1\\ansi x\\par}'), null);
    const run = read.document.blocks[0].paragraph!.runs[0];
    run.text = 'é ∑ 𝛼 «\u00a0» \u2028fin';
    const again = m.readRtf(m.writeRtf(read.document), null).document.blocks[0].paragraph!.runs[0];
    expect(again.text).toBe(run.text);
  });
});

describe('the text rules the page shows', () => {
  test.each([
    ['essai', 'essai.RTF'],
    ['essai.rtf', 'essai.rtf'],
    ['réponse élève', 'réponse élève.RTF'],
  ])('%s is saved as %s', (typed, saved) => {
    expect(m.withRtfExtension(typed)).toBe(saved);
  });

  test('the recovery question names the text and the time', () => {
    expect(m.recoveryQuestion('Texte: essai.rtf', 2026, 12, 9, 8, 5)).toBe(
      "Molvane ne s'est pas fermé normalement.\r\nRécupérer le texte essai.rtf tapé le 9 décembre 2026 à 08:05\u00a0?",
    );
  });

  test('the area is named by what it shows', () => {
    expect(m.textAreaName('')).toBe('Énoncé et réponses');
    expect(m.textAreaName(`${m.reopenedPrefix}essai.rtf`)).toBe('Énoncé et réponses : Texte: essai.rtf');
  });
});

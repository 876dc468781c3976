// @vitest-environment jsdom
// The rich-text model shown as editable HTML and read back: every format
// the model has comes back as it was, and what the browser does while the
// pupil types (text in a span, a paragraph split by Enter, text outside any
// paragraph) reads as a word processor would keep it.
import { describe, expect, test } from 'vitest';
import type {
  RichCharFormat,
  RichDocument,
  RichParagraph,
  RichParagraphFormat,
  RichPicture,
  RichRun,
} from '../../bindings/richtext';
import { charStyle, defaultCharFormat, defaultParagraphFormat, readDocument, showDocument } from '../../src/richdom';

function run(text: string, format: Partial<RichCharFormat> = {}): RichRun {
  return { text, format: { ...defaultCharFormat(), ...format }, picture: -1 };
}

function paragraph(runs: RichRun[], format: Partial<RichParagraphFormat> = {}, extra: Partial<RichParagraph> = {}) {
  return {
    format: { ...defaultParagraphFormat(), ...format },
    mark: defaultCharFormat(),
    formatted: true,
    listItem: false,
    listMarker: '',
    runs,
    ...extra,
  };
}

const picture: RichPicture = {
  bytes: new Uint8Array([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 1, 2, 3]),
  format: 'png',
  pixelWidth: 2,
  pixelHeight: 3,
  width: 300,
  height: 450,
  description: 'Courbe de [C] en fonction du temps',
};

function documentOf(...paragraphs: RichParagraph[]): RichDocument {
  return { blocks: paragraphs.map((p) => ({ paragraph: p })), pictures: [picture], defaultFont: 'Arial' };
}

function roundTrip(model: RichDocument): RichDocument {
  const root = document.createElement('div');
  showDocument(root, model);
  return readDocument(root, model.pictures, model.defaultFont);
}

describe('every format survives the page', () => {
  const charFormats: [string, Partial<RichCharFormat>][] = [
    ['font', { font: 'Courier New' }],
    ['size', { halfPoints: 31 }],
    ['bold', { bold: true }],
    ['italic', { italic: true }],
    ['strike', { strike: true }],
    ...(['single', 'dash', 'dotted', 'dashDot', 'dashDotDot', 'wave'] as const).map(
      (underline) => [`underline ${underline}`, { underline }] as [string, Partial<RichCharFormat>],
    ),
    ['superscript', { vertical: 'superscript' }],
    ['subscript', { vertical: 'subscript' }],
    ['capitals', { capitals: 'all' }],
    ['small capitals', { capitals: 'small' }],
    ['colour', { foreground: 0xc00000 }],
    ['black', { foreground: 0 }],
    ['highlight', { background: 0xffff00 }],
    ['all at once', { bold: true, italic: true, underline: 'wave', strike: true, foreground: 0x0000ff }],
  ];
  test.each(charFormats)('%s', (_, format) => {
    const model = documentOf(paragraph([run('avant '), run('mis en forme', format), run(' après')]));
    expect(roundTrip(model)).toEqual(model);
  });

  const paragraphFormats: [string, Partial<RichParagraphFormat>, Partial<RichParagraph>][] = [
    ['centred', { alignment: 'centre' }, {}],
    ['right', { alignment: 'right' }, {}],
    ['justified', { alignment: 'justify' }, {}],
    ['indents', { leftIndent: 720, rightIndent: 360, firstIndent: -360 }, {}],
    ['spaces', { spaceBefore: 120, spaceAfter: 240 }, {}],
    ['one and a half lines', { lineSpacing: 'proportional', lineSpacingValue: 360 }, {}],
    ['at least', { lineSpacing: 'atLeast', lineSpacingValue: 300 }, {}],
    ['exactly', { lineSpacing: 'exactly', lineSpacingValue: 280 }, {}],
    ['page break', { pageBreakBefore: true }, {}],
    [
      'tab stops',
      {
        tabs: [
          { position: 1000, kind: 'left' },
          { position: 2000, kind: 'centre' },
          { position: 3000, kind: 'right' },
          { position: 4000, kind: 'decimal' },
        ],
      },
      {},
    ],
    ['list item', {}, { listItem: true, listMarker: '•' }],
    ['numbered', {}, { listItem: true, listMarker: '2.' }],
    ['unformatted', {}, { formatted: false }],
    ['mark of another size', {}, { mark: { ...defaultCharFormat(), halfPoints: 40, bold: true } }],
  ];
  test.each(paragraphFormats)('%s', (_, format, extra) => {
    const model = documentOf(paragraph([run('Une ligne')], format, extra), paragraph([run('La suivante')]));
    expect(roundTrip(model)).toEqual(model);
  });

  test.each([
    ['a tab', [run('x\ty')]],
    ['spaces kept', [run('a  b   c ')]],
    ['no-break spaces', [run('1,5\u00a0mol')]],
    ['a line break', [run('haut\u2028bas')]],
    ['a line break at the end', [run('fin\u2028')]],
    ['two line breaks', [run('a\u2028\u2028b')]],
    ['empty', []],
    ['a picture among words', [run('voir '), { text: '', format: defaultCharFormat(), picture: 0 }, run(' ici')]],
    ['a picture alone', [{ text: '', format: defaultCharFormat(), picture: 0 }]],
    ['two runs of one format', [run('a'), run('b')]],
  ])('%s', (_, runs) => {
    const model = documentOf(paragraph(runs), paragraph([run('suite')]));
    expect(roundTrip(model)).toEqual(model);
  });

  test('a table with its widths, borders, covered cells and counts', () => {
    const cell = (text: string, covered = false) => ({ paragraphs: [paragraph(text ? [run(text)] : [])], covered });
    const model: RichDocument = {
      blocks: [
        { paragraph: paragraph([run('Tableau :')]) },
        {
          table: {
            columnWidths: [1440, 2880],
            borders: true,
            columns: 3,
            firstColumns: 2,
            rows: [
              { cells: [cell('[A]'), cell('[B]'), cell('', true)], cellsRead: 2 },
              {
                cells: [
                  { paragraphs: [paragraph([run('1', { bold: true })]), paragraph([])], covered: false },
                  cell('2'),
                  cell('3'),
                ],
                cellsRead: 3,
              },
            ],
          },
        },
        { paragraph: paragraph([run('après')]) },
      ],
      pictures: [],
      defaultFont: '',
    };
    expect(roundTrip(model)).toEqual(model);
  });
});

describe('what the page shows', () => {
  test('a picture shows with its description as its text', () => {
    const root = document.createElement('div');
    showDocument(root, documentOf(paragraph([{ text: '', format: defaultCharFormat(), picture: 0 }])));
    const img = root.querySelector('img');
    expect(img?.alt).toBe(picture.description);
    expect(img?.src.startsWith('data:image/png;base64,')).toBe(true);
    expect(img?.style.width).toBe('15pt');
  });

  test.each([
    [{ bold: true }, 'fontWeight', 'bold'],
    [{ italic: true }, 'fontStyle', 'italic'],
    [{ underline: 'wave' }, 'textDecorationStyle', 'wavy'],
    [{ strike: true, underline: 'single' }, 'textDecorationLine', 'underline line-through'],
    [{ vertical: 'superscript' }, 'verticalAlign', 'super'],
    [{ foreground: 0x00ff00 }, 'color', '#00ff00'],
    [{ halfPoints: 20 }, 'fontSize', '10pt'],
    [{ font: '' }, 'fontFamily', '"Times"'],
  ] as [Partial<RichCharFormat>, keyof CSSStyleDeclaration, string][])('%o shows as %s', (format, property, value) => {
    expect(charStyle({ ...defaultCharFormat(), ...format }, 'Times')[property]).toBe(value);
  });
});

describe('what the browser does while the pupil types', () => {
  const shown = () => {
    const root = document.createElement('div');
    const model = documentOf(
      paragraph([run('Réponse : ', { bold: true })], { alignment: 'centre', leftIndent: 200 }),
      paragraph([run('fin')]),
    );
    showDocument(root, model);
    return { root, model };
  };

  test('text typed in a run takes its format', () => {
    const { root, model } = shown();
    root.querySelector('span')!.append('42');
    const read = readDocument(root, model.pictures, model.defaultFont);
    expect(read.blocks[0].paragraph!.runs).toEqual([run('Réponse : 42', { bold: true })]);
  });

  test('a paragraph split by Enter keeps its format in both halves', () => {
    const { root, model } = shown();
    const first = root.querySelector('p')!;
    const copy = first.cloneNode(false) as HTMLElement;
    const span = first.querySelector('span')!.cloneNode(false) as HTMLElement;
    span.textContent = 'nouvelle';
    copy.append(span);
    first.after(copy);
    const read = readDocument(root, model.pictures, model.defaultFont);
    expect(read.blocks).toHaveLength(3);
    expect(read.blocks[1].paragraph!.format).toEqual(model.blocks[0].paragraph!.format);
    expect(read.blocks[1].paragraph!.runs[0].format.bold).toBe(true);
  });

  test('text outside any paragraph becomes one in the format before it', () => {
    const { root, model } = shown();
    root.append('libre');
    const read = readDocument(root, model.pictures, model.defaultFont);
    expect(read.blocks).toHaveLength(3);
    expect(read.blocks[2].paragraph!.runs.map((r) => r.text)).toEqual(['libre']);
    expect(read.blocks[2].paragraph!.format).toEqual(model.blocks[1].paragraph!.format);
  });

  test('an emptied area reads as one empty paragraph', () => {
    const { root, model } = shown();
    root.replaceChildren();
    const read = readDocument(root, model.pictures, model.defaultFont);
    expect(read.blocks).toHaveLength(1);
    expect(read.blocks[0].paragraph!.runs).toEqual([]);
  });

  test('a deleted picture leaves the words around it', () => {
    const root = document.createElement('div');
    const model = documentOf(paragraph([run('a'), { text: '', format: defaultCharFormat(), picture: 0 }, run('b')]));
    showDocument(root, model);
    root.querySelector('img')!.remove();
    const runs = readDocument(root, model.pictures, model.defaultFont).blocks[0].paragraph!.runs;
    expect(runs.map((r) => r.picture)).toEqual([-1, -1]);
    expect(runs.map((r) => r.text).join('')).toBe('ab');
  });
});

// The rich-text model, its RTF reader and writer, and the text area's words (richtext.cpp).

export type RichAlignment = 'left' | 'centre' | 'right' | 'justify';
export type RichUnderline = 'none' | 'single' | 'dash' | 'dotted' | 'dashDot' | 'dashDotDot' | 'wave';
export type RichVertical = 'normal' | 'superscript' | 'subscript';
export type RichCapitals = 'mixed' | 'all' | 'small';
export type RichTabKind = 'left' | 'right' | 'centre' | 'decimal';
export type RichLineSpacing = 'single' | 'proportional' | 'atLeast' | 'exactly';

export interface RichCharFormat {
  /** Family; "" for the document's default font. */
  font: string;
  halfPoints: number;
  bold: boolean;
  italic: boolean;
  strike: boolean;
  underline: RichUnderline;
  vertical: RichVertical;
  capitals: RichCapitals;
  /** 0xRRGGBB, or null for the text's usual colour / no highlight. */
  foreground: number | null;
  background: number | null;
}

export interface RichTabStop {
  /** Twips from the left indent's origin. */
  position: number;
  kind: RichTabKind;
}

/** Measures in twips; lineSpacingValue in 240ths of a line when proportional. */
export interface RichParagraphFormat {
  alignment: RichAlignment;
  leftIndent: number;
  rightIndent: number;
  firstIndent: number;
  spaceBefore: number;
  spaceAfter: number;
  lineSpacing: RichLineSpacing;
  lineSpacingValue: number;
  pageBreakBefore: boolean;
  tabs: RichTabStop[];
}

export interface RichRun {
  /** "" for a picture. */
  text: string;
  format: RichCharFormat;
  /** Index into the document's pictures, or -1 for text. */
  picture: number;
}

export interface RichParagraph {
  format: RichParagraphFormat;
  /** The paragraph mark's format: an empty line's height. */
  mark: RichCharFormat;
  formatted: boolean;
  listItem: boolean;
  listMarker: string;
  runs: RichRun[];
}

export interface RichTableCell {
  paragraphs: RichParagraph[];
  covered: boolean;
}

export interface RichTableRow {
  cells: RichTableCell[];
  cellsRead: number;
}

export interface RichTable {
  columnWidths: number[];
  borders: boolean;
  columns: number;
  firstColumns: number;
  rows: RichTableRow[];
}

/** A paragraph or a table. */
export interface RichBlock {
  paragraph?: RichParagraph;
  table?: RichTable;
}

export interface RichPicture {
  bytes: Uint8Array;
  format: 'png' | 'jpeg';
  pixelWidth: number;
  pixelHeight: number;
  /** Shown size, twips. */
  width: number;
  height: number;
  description: string;
}

export interface RichDocument {
  blocks: RichBlock[];
  pictures: RichPicture[];
  defaultFont: string;
}

export interface RtfRead {
  status: number;
  /** Nothing could be read: the caller says the file cannot be read. */
  nothingLoaded: boolean;
  /** What a read in part lost, or "". */
  notice: string;
  document: RichDocument;
}

/** Decodes text of a Windows code page (its number and name); null when unknown. */
export type CodePageDecode = (codePage: number, name: string, bytes: Uint8Array) => string | null;

export interface RichTextModule {
  readRtf(bytes: Uint8Array, decode: CodePageDecode | null): RtfRead;
  writeRtf(document: RichDocument): Uint8Array;
  /** "Énoncé et réponses", then what fich names. */
  textAreaName(fich: string): string;
  /** ".RTF" added to a name without extension. */
  withRtfExtension(name: string): string;
  fileNameOf(path: string): string;
  overwriteQuestion(fileName: string): string;
  recoveryQuestion(fich: string, year: number, month: number, day: number, hour: number, minute: number): string;
  /** The copy could not be written in `where`. */
  copyFaultElsewhere(where: string): string;
  rtfMaxFileBytes: number;
  /** The title of the box asking a saved text's name. */
  saveTextTitle: string;
  discardTitle: string;
  discardText: string;
  rtfFilterName: string;
  rtfPatterns: string;
  reopenedPrefix: string;
  incompleteReadTitle: string;
  copyQuietMs: number;
  copyLongestMs: number;
  /** Where the page keeps its recovery copy, for copyFaultElsewhere. */
  browserStorageName: string;
  recoveryTitle: string;
  recoveryYes: string;
  recoveryNo: string;
  textWriteErrorTitle: string;
  textReadErrorTitle: string;
  driveAdvice: string;
}

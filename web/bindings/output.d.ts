import type { GridModel } from './front';

// What web/bindings/output.cpp adds to the module: the print layout and the
// table of values as the clipboard takes it. Lengths are twips (1/1440 inch)
// unless said otherwise.

export interface PageGeometry {
  width: number; // the printable width
  height: number; // the printable height
  titleLine: number; // a line of Arial 12 bold
  smallLine: number; // a line of Arial 10 bold
}

// In the program's pixels.
export interface PixelSize {
  width: number;
  height: number;
}

export interface TableExtent {
  rows: number; // grid rows, the header included
  rowHeight: number;
  frame: number; // what the table's picture adds around its rows
}

export interface PrintRequest {
  animation: boolean;
  animationSize: PixelSize;
  graph: boolean;
  graphSize: PixelSize;
  table: boolean;
  tableExtent: TableExtent;
  copies: number;
}

export interface PlacedEnum {
  value: number;
}

export interface Placement {
  what: PlacedEnum; // compare with OutputModule.Placed
  page: number; // from 0, over the whole document
  x: number;
  y: number;
  height: number; // for the table, its rows times the row height
  firstRow: number; // the table's part: data rows firstRow .. endRow - 1 under the header
  endRow: number;
}

// An embind vector: read it with size() and get(i), free it with delete().
export interface PlacementList {
  size(): number;
  get(index: number): Placement;
  delete(): void;
}

export interface PageLayout {
  pages: number;
  items: PlacementList; // in printing order
}

export interface CopyMenuItem {
  name: string; // the design name
  caption: string; // "-" for a separator
  parent: string; // the item whose submenu holds it, empty in the menu itself
  download: string; // the file a refused copy is downloaded as
}

// "Copier": the menu's items in order; the measurements' export follows,
// after a separator, under the names given here.
export interface CopyMenuTexts {
  name: string;
  spokenName: string;
  regionName: string;
  items: CopyMenuItem[];
  exportSeparator: string;
  exportItem: string;
  exportCaption: string;
}

// "Imprimer": the print dialog's texts ("&" before a button's key letter).
export interface PrintDialogTexts {
  title: string;
  options: string;
  views: string[]; // the animation, the graph, the table
  viewsChosen: number; // the first ones chosen when the dialog opens
  ok: string;
  printers: string;
  cancel: string;
  titleLabel: string;
  titleName: string;
  defaultTitle: string;
  copiesLabel: string;
  copiesName: string;
  copiesDescription: string;
  mostCopies: number;
  waiting: string;
  browserPrinterNote: string;
}

// The help window's own words; "&" marks a key letter.
export interface HelpWindowTexts {
  title: string;
  word: string;
  back: string;
  home: string;
  close: string;
  contentsName: string;
  pageName: string;
}

export interface OutputModule {
  copyMenu(): CopyMenuTexts;
  printDialogTexts(): PrintDialogTexts;
  helpWindowTexts(): HelpWindowTexts;
  // What the pupil is told when a copy went to the downloads as that file.
  copyDownloadNotice(fileName: string): string;
  Placed: { Title: PlacedEnum; Animation: PlacedEnum; Graph: PlacedEnum; Table: PlacedEnum };
  layoutPages(page: PageGeometry, request: PrintRequest): PageLayout;
  twipsPerPixel(): number;
  // The grid is the simulation's table, bound beside the simulation; the
  // text copy selects the whole grid, as the desktop's does.
  copyTableText(grid: GridModel): string;
  tableHtml(grid: GridModel): string;
}

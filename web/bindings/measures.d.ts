// The run's measurements as CSV (measures.cpp).
import type { MainState } from './front';

export interface CsvPart {
  /** The file's name, the chosen one first, then those beside it. */
  name: string;
  /** The file's bytes (UTF-8). */
  bytes: Uint8Array<ArrayBuffer>;
}

export interface MeasuresModule {
  /** Every file of an export: the spreadsheet dialect, or Python's when `python`. */
  measuresCsv(state: MainState, python: boolean, chosen: string): CsvPart[];
  /** "E&xporter les mesures (CSV)…" */
  exportCaption: string;
  exportTitle: string;
  /** The name first proposed. */
  exportName: string;
  spreadsheetDialect: string;
  pythonDialect: string;
}

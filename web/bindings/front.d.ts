// The main window's state: the run, its controls' values and their handling (front.cpp).
import type { AnimationRecorder, EmbindObject, GraphRecorder } from './core';

/** What leaving a count box asks to say: 0 nothing, 1 too many particles, 2 too few. */
export type CountLimit = 0 | 1 | 2;

export interface LoadReport {
  loaded: boolean;
  /** The error box, "" when the file loaded. */
  title: string;
  text: string;
  /** The adjusted counts' notice, "" when none. */
  noticeTitle: string;
  notice: string;
}

export interface PanelTexts {
  labelinf: string[];
  label1: string;
}

/** The table of values the run fills, held by the state (never deleted from here). */
export type GridModel = EmbindObject & { readonly __grid: unique symbol };

export interface MainState extends EmbindObject {
  /** The table of values, for the clipboard's copies. */
  tableModel(): GridModel;
  setDisplay(animpic: AnimationRecorder | null, louloupe: AnimationRecorder | null, graph: GraphRecorder | null): void;
  seed(seed: number): void;
  /** A seed given again at every restart; a negative number lets the generator run on. */
  fixSeed(seed: number): void;
  start(): void;
  tick(): void;
  restart(): void;
  effacer(): void;
  effacerVisible(): boolean;
  count(species: number): string;
  typeCount(species: number, text: string): void;
  leaveCount(species: number): CountLimit;
  percentText(sense: number): string;
  typePercent(sense: number, text: string): void;
  leavePercent(sense: number): void;
  sensePosition(sense: number): number;
  setSensePosition(sense: number, position: number): boolean;
  temperature(): number;
  setTemperature(position: number): boolean;
  durationPosition(): number;
  durationText(): string;
  durationAsks(position: number): boolean;
  moveDuration(position: number, confirmed: boolean): boolean;
  rowsPosition(): number;
  rowsText(): string;
  setRowsPosition(position: number): boolean;
  view(option: number): boolean;
  graphShown(): boolean;
  /** Whether the curve boxes `option2` take clicks (the graph is shown). */
  curvesEnabled(): boolean;
  setView(option: number, selected: boolean): boolean;
  curve(species: number): boolean;
  setCurve(species: number, ticked: boolean): boolean;
  keepCurves(): boolean;
  showQr(): boolean;
  whiteBackground(): boolean;
  /** "Check1" (Fond blanc), "Check2" (kept curves), "Check3" (Qr). */
  setCheck(name: string, ticked: boolean): boolean;
  /** 0x00BBGGRR, or a system colour 0x80000000 + index. */
  colour(species: number): number;
  chooseColour(species: number, colour: number): void;
  /** A colour as a file or a kept choice gives it; false when no swatch holds it. */
  setColour(species: number, colour: number): boolean;
  barValueText(name: string): string;
  /** The counts of A to D now. */
  counts(): number[];
  panelTexts(): PanelTexts;
  /** `chargeconfig` over a file's bytes (no more than configurationBytesRead of them). */
  load(bytes: Uint8Array): LoadReport;
  saveBytes(): Uint8Array<ArrayBuffer> | null;
  tableRows(): number;
  tableCols(): number;
  cellText(row: number, col: number): string;
  cellColour(row: number, col: number): number;
  cellAlignment(row: number, col: number): number;
  /** What a reader hears on demand over the vessel: clock, counts, Qr. */
  runSpeech(): string;
  /** Over the graph: its curves, kept runs, then the run. */
  graphSpeech(): string;
  /** Over the equation: the species' colours in words. */
  equationSpeech(): string;
  /** Over the counts of the run. */
  duringSpeech(): string;
  /** Seeds the generator from the time of day. */
  seedFromClock(): void;
  /** Whether the recording still runs (or ends at this very tick). */
  recording(): boolean;
  /** The user's decimal separator (one character) for the clock and the table. */
  setDecimalSeparator(separator: string): void;
}

export interface FrontModule {
  MainState: new () => MainState;
  closeTitle: string;
  closeQuestion: string;
  durationTitle: string;
  durationQuestion: string;
  okButton: string;
  cancelButton: string;
}

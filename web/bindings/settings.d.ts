// The control table and the panels' rules (settings.cpp).

export type ControlKind =
  | 'window'
  | 'picture'
  | 'label'
  | 'textbox'
  | 'textarea'
  | 'button'
  | 'checkbox'
  | 'option'
  | 'vbar'
  | 'hbar'
  | 'swatch'
  | 'panel'
  | 'frame'
  | 'tabstrip'
  | 'grid'
  | 'stop';

export interface DesignRect {
  x: number;
  y: number;
  width: number;
  height: number;
}

export interface PanelHeading {
  text: string;
  x: number;
  y: number;
}

export interface Control {
  /** The design name: "Text1_2" is element 2 of Text1. */
  name: string;
  kind: ControlKind;
  /** The design name of what it lies in; "" for the window. */
  parent: string;
  /** In the parent's design pixels; empty for a panel the strip places. */
  rect: DesignRect;
  /** With "&" before the key letter. */
  caption: string;
  plainCaption: string;
  hover: string;
  lowerHover: string;
  lowerHoverFrom: number;
  spokenName: string;
  spokenDescription: string;
  tabPlace: number;
  toolTip: string;
  startsHidden: boolean;
  /** Set when the control's x counts from the end of this heading's text. */
  after?: PanelHeading;
  /** A bar's range. */
  lowest?: number;
  highest?: number;
}

/** A text the window paints itself, in Arial (see paintedTexts). */
export interface PaintedText {
  text: string;
  /** Its left edge, centre or right edge, as `anchor` says; unused when it follows. */
  x: number;
  /** Its top. */
  y: number;
  anchor: 'left' | 'centre' | 'right';
  points: number;
  bold: boolean;
  /** 0 to 3: in that species' colour; -1: black. */
  species: number;
  /** It starts where the previous text ends. */
  follows: boolean;
}

/** A line, or a filled rectangle, from (x1, y1) to (x2, y2) both included; colour 0x00BBGGRR. */
export interface PaintedStroke {
  x1: number;
  y1: number;
  x2: number;
  y2: number;
  colour: number;
  fill: boolean;
  /** Part of the whole window's shading rather than of one control. */
  shading: boolean;
}

/** The tab strip as drawn for one current tab. */
export interface TabStrip {
  /** Tab k (1 to 3) spans boundaries[k - 1] < x <= boundaries[k]. */
  boundaries: number[];
  /** Each name's top, tab 1 to 3. */
  nameTops: number[];
  /** A name starts this far after its tab's left boundary. */
  gap: number;
  /** Where the current tab's panel lies in the strip. */
  panel: DesignRect;
  strokes: PaintedStroke[];
}

export interface SettingsModule {
  controls(): Control[];
  placedRect(name: string, headingWidth: number): DesignRect | null;
  hoverText(name: string, y: number): string;
  /** The texts painted over the window ("feuilleP") or a panel of the strip. */
  paintedTexts(parent: string): PaintedText[];
  /** "Paramètres", "Affichage", "Suivi du système". */
  tabNames(): string[];
  /**
   * The strip `width` x `height` for names `widths` wide (the current one,
   * 1 to 3, in bold) and `nameHeight` high; null unless three widths.
   */
  tabStrip(widths: number[], width: number, height: number, nameHeight: number, current: number): TabStrip | null;
  /** What the window paints under its controls, its shading over width x height. */
  windowStrokes(width: number, height: number): PaintedStroke[];
  /** What a panel of the strip paints under its controls (the temperature's band). */
  panelStrokes(panel: string): PaintedStroke[];
  describedWith(state: string, own: string): string;
  percentLabel(percent: number): string;
  durationLabel(seconds: number): string;
  countTitle: string;
  tooManyText: string;
  tooFewText: string;
  mainWindowName: string;
  designWidth: number;
  designHeight: number;
  magnifierName: string;
  /** The help line after a copy to the clipboard. */
  copyConfirmation: string;
  magnifierDescription: string;
  magnifierTitleSuffix: string;
}

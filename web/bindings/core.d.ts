// The simulation's surfaces as recorders and the presentation's texts (core.cpp).

/**
 * Command codes of the recorders' buffers:
 * 1 circle [1, x, y, radius, fill];
 * 2 line [2, x1, y1, x2, y2, colour, width];
 * 3 point [3, x, y, colour, width];
 * 4 text [4, x, y, italic (0 or 1), index of the text].
 */
export type DrawCommand = 1 | 2 | 3 | 4;

export interface EmbindObject {
  delete(): void;
}

/** The vessel (or the magnifier): the circles drawn since the last clear. */
export interface AnimationRecorder extends EmbindObject {
  /** A view on the module's memory, valid until the next call into the module. */
  commands(): Float64Array;
}

/** The graph: everything drawn since its last clear. */
export interface GraphRecorder extends EmbindObject {
  commands(): Float64Array;
  textAt(index: number): string;
  /** How many times the graph was cleared: a new count means a new drawing. */
  clears(): number;
}

/** One outline of the vessel's shading, colour 0x00BBGGRR. */
export interface ShadingRing {
  x: number;
  y: number;
  width: number;
  height: number;
  colour: number;
}

export interface CoreModule {
  AnimationRecorder: new () => AnimationRecorder;
  /** `measure(text, italic)` gives a text's width in the graph's font, in its pixels. */
  GraphRecorder: new (measure: (text: string, italic: boolean) => number) => GraphRecorder;
  shadingRings(width: number, height: number): ShadingRing[];
  countText(count: number): string;
  /** A colour 0x00BBGGRR in French words ("bleu", "vert clair"). */
  colourName(colour: number): string;
  clockText(seconds: number, decimalSeparator: string): string;
  tickMilliseconds: number;
  /** The panels' background, and the greys of frames and lines (0x00BBGGRR). */
  panelColour: number;
  darkGrey: number;
  lightGrey: number;
  vesselWidth: number;
  vesselHeight: number;
}

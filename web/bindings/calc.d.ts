// What web/bindings/calc.cpp adds to the module: "Machine à calculer", its
// keys and window as the desktop draws them, and the calculator behind them.

/** In the calculator window's pixels. */
export interface CalculatorRect {
  x: number;
  y: number;
  width: number;
  height: number;
}

export interface CalculatorKey {
  /** The design name, which the calculator's press takes. */
  name: string;
  /** "&" before the letter Alt presses; empty for a key drawn as a power. */
  caption: string;
  tooltip: string;
  /** What a screen reader says; empty where the caption says it (the digits). */
  spokenName: string;
  /** A key drawn as base and exponent (x², 10ˣ…). */
  base: string;
  exponent: string;
  rect: CalculatorRect;
}

export interface CalculatorOption {
  caption: string;
  /** Inside its group. */
  rect: CalculatorRect;
}

export interface CalculatorGroup {
  /** The options' design name, numbered _0 and _1. */
  name: string;
  title: string;
  rect: CalculatorRect;
  options: CalculatorOption[];
  /** The option chosen when the window opens. */
  chosen: number;
}

export interface CalculatorWindow {
  title: string;
  width: number;
  height: number;
  display: CalculatorRect;
  displayName: string;
  displayDescription: string;
  /** "Angles" (Degrés, Radians), then "Affichage" (Scientifique, Standard). */
  groups: CalculatorGroup[];
  /** The frame around the digit pad: cyan, and white one pixel lower right. */
  padFrame: CalculatorRect;
  /** The background's shade b of each column x, drawn as rgb(b, b + 50, b + 50). */
  shades: number[];
}

export interface CalculatorPress {
  /** What the display showed, in order; empty when it was left alone. */
  shown: string[];
  /** An error: the window beeps. */
  beep: boolean;
}

export interface Calculator {
  press(name: string): CalculatorPress;
  /** "Scientifique" (true) or "Standard" chosen. */
  chooseDisplay(scientific: boolean): CalculatorPress;
  chooseAngle(radians: boolean): void;
  display(): string;
  scientific(): boolean;
  radians(): boolean;
  delete(): void;
}

export interface CalcModule {
  Calculator: new () => Calculator;
  /** The key a keyboard key presses: "Enter", "Backspace" or the one character typed; "" for none. */
  calculatorKeyFor(typed: string): string;
  calculatorKeys(): CalculatorKey[];
  calculatorWindow(): CalculatorWindow;
}

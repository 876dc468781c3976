// What the page exposes to the other modules of the page (copies, printing,
// help, the fuzz robot): the loaded module, the run's state, the canvases,
// the table and every control by its design name.
import type { MainState } from '../bindings/front';
import type { Molvane } from './molvane';
import type { Page } from './page';

export interface App {
  /** The C++ core. */
  m: Molvane;
  /** The main window's state: the run, its controls' values, its table. */
  state: MainState;
  page: Page;
  /** The control of that design name (`data-control`), or null. */
  control(name: string): HTMLElement | null;
  /** Every control shows the state again (after a change made from outside). */
  refresh(): void;
  /** "Exporter les mesures (CSV)…": its box, then the downloads (for a copy menu to offer it). */
  exportMeasures(): Promise<void>;
  /** The running timer's ticks stop for good ("Fermer"). */
  stop(): void;
}

let current: App | null = null;
const waiting: ((app: App) => void)[] = [];

/** Called once by main.ts when the page is up. */
export function publish(app: App): void {
  current = app;
  for (const callback of waiting.splice(0)) callback(app);
}

/** The page once it is up: at once if it is. */
export function whenReady(callback: (app: App) => void): void {
  if (current) callback(current);
  else waiting.push(callback);
}

export function app(): App | null {
  return current;
}

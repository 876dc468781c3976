// The display choices the page keeps from one visit to the next, in the
// browser's localStorage: the species' colours and the three boxes of the
// "Affichage" panel. Anything unreadable there is ignored.

export interface DisplayChoices {
  colours: number[];
  whiteBackground: boolean;
  keepCurves: boolean;
  showQr: boolean;
}

export const kStorageKey = 'molvane.affichage';

function isColour(value: unknown): value is number {
  return typeof value === 'number' && Number.isInteger(value) && value >= 0 && value <= 0xffffff;
}

export function readChoices(storage: Pick<Storage, 'getItem'>): DisplayChoices | null {
  let data: unknown;
  try {
    data = JSON.parse(storage.getItem(kStorageKey) ?? 'null');
  } catch {
    return null;
  }
  if (typeof data !== 'object' || data === null) return null;
  const d = data as Record<string, unknown>;
  if (!Array.isArray(d.colours) || d.colours.length !== 4 || !d.colours.every(isColour)) return null;
  if (typeof d.whiteBackground !== 'boolean' || typeof d.keepCurves !== 'boolean' || typeof d.showQr !== 'boolean')
    return null;
  return { colours: d.colours, whiteBackground: d.whiteBackground, keepCurves: d.keepCurves, showQr: d.showQr };
}

export function writeChoices(storage: Pick<Storage, 'setItem'>, choices: DisplayChoices): void {
  try {
    storage.setItem(kStorageKey, JSON.stringify(choices));
  } catch {
    // A full or refused storage: the choices last for this visit only.
  }
}

/** The browser's storage, or null where the page may not use it (some browsers refuse it to file://). */
export function browserStorage(): Storage | null {
  try {
    return window.localStorage;
  } catch {
    return null;
  }
}

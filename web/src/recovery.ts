// The recovery copy of the text area in the browser's storage: taken while
// the text holds unsaved typing (after a pause, and at the latest some time
// after the first change not yet copied), it outlives a closed tab, a killed
// browser or a restarted device, and the next opening of the page offers it
// back with the desktop's question. The timing and the words are the core's.
//
// Each open page owns a slot, held by a Web Lock named after it while the
// page lives; a slot whose lock nobody holds was left by a page that is gone.
// A copy is written whole under a new key, then the index is switched to it
// in one write, then the old key goes: the index always names a whole copy.
import { whenReady, type App } from './app';
import { messageBox } from './dialogs';
import { browserStorage } from './storage';
import { pupilText, type PupilText } from './textarea';

export const kIndexKey = 'molvane.secours';
const kCopyPrefix = 'molvane.secours.copie.';
const kLockPrefix = 'molvane-secours-';

export interface CopyEntry {
  id: string;
  /** The key holding the RTF, as a string of bytes. */
  key: string;
  /** What fich named when the text was copied. */
  fich: string;
  /** Milliseconds since 1970 of the last write. */
  written: number;
  /** Starts since the pupil declined it (1 or 2); absent while offered. */
  declined?: number;
  /** What the exercise module said of the exercise open when the text was copied. */
  exercise?: unknown;
}

let describeExercise: () => unknown = () => undefined;
let reopenExercise: (fich: string, exercise: unknown) => Promise<void> | void = () => undefined;

/**
 * For the exercise module: what a copy keeps of the open exercise (its
 * correction, whether it was shown), and how that exercise comes back before
 * the copied text replaces its statement.
 */
export function keepExerciseWithCopies(
  describe: () => unknown,
  reopen: (fich: string, exercise: unknown) => Promise<void> | void,
): void {
  describeExercise = describe;
  reopenExercise = reopen;
}

type Store = Pick<Storage, 'getItem' | 'setItem' | 'removeItem'>;

function isEntry(value: unknown): value is CopyEntry {
  const e = value as CopyEntry;
  return (
    typeof e === 'object' &&
    e !== null &&
    typeof e.id === 'string' &&
    typeof e.key === 'string' &&
    e.key.startsWith(kCopyPrefix) &&
    typeof e.fich === 'string' &&
    typeof e.written === 'number'
  );
}

export function bytesToString(bytes: Uint8Array): string {
  let text = '';
  for (let i = 0; i < bytes.length; i += 0x8000) text += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
  return text;
}

export function stringToBytes(text: string): Uint8Array {
  return Uint8Array.from(text, (c) => c.charCodeAt(0) & 0xff);
}

/** The copies in the browser's storage; every call stands alone and never throws but for a full storage on write. */
export class CopyStore {
  private sequence = 0;

  constructor(
    private readonly storage: Store,
    readonly now: () => number = () => Date.now(),
  ) {}

  entries(): CopyEntry[] {
    try {
      const list: unknown = JSON.parse(this.storage.getItem(kIndexKey) ?? '[]');
      return Array.isArray(list) ? list.filter(isEntry) : [];
    } catch {
      return [];
    }
  }

  private setEntries(entries: CopyEntry[]): void {
    this.storage.setItem(kIndexKey, JSON.stringify(entries));
  }

  /** Replaces the copy of slot id; throws when the storage refuses it (the old copy then stays). */
  write(id: string, rtf: Uint8Array, fich: string, exercise?: unknown): void {
    const key = `${kCopyPrefix}${id}.${this.now()}.${++this.sequence}`;
    try {
      this.storage.setItem(key, bytesToString(rtf));
      const entries = this.entries();
      const old = entries.find((e) => e.id === id);
      const entry: CopyEntry = { id, key, fich, written: this.now(), exercise };
      this.setEntries([...entries.filter((e) => e.id !== id), entry]);
      if (old && old.key !== key) this.storage.removeItem(old.key);
    } catch (error) {
      this.storage.removeItem(key);
      throw error;
    }
  }

  /** The slot's copy goes (the text was saved, or given up). */
  remove(id: string): void {
    const entries = this.entries();
    const old = entries.find((e) => e.id === id);
    if (!old) return;
    this.setEntries(entries.filter((e) => e.id !== id));
    this.storage.removeItem(old.key);
  }

  read(entry: CopyEntry): Uint8Array | null {
    const text = this.storage.getItem(entry.key);
    return text === null ? null : stringToBytes(text);
  }

  /** At start: declined copies age by one start, and go at the second. */
  ageDeclined(): void {
    const entries = this.entries();
    if (!entries.some((e) => e.declined)) return;
    const kept: CopyEntry[] = [];
    for (const e of entries) {
      if (!e.declined) kept.push(e);
      else if (e.declined < 2) kept.push({ ...e, declined: e.declined + 1 });
      else this.storage.removeItem(e.key);
    }
    this.setEntries(kept);
  }

  /** Copies of pages gone, newest first, declined ones left out. */
  leftCopies(live: Set<string>): CopyEntry[] {
    return this.entries()
      .filter((e) => !e.declined && !live.has(e.id))
      .sort((a, b) => b.written - a.written);
  }

  decline(id: string): void {
    this.setEntries(this.entries().map((e) => (e.id === id ? { ...e, declined: 1 } : e)));
  }
}

/** Holds a named lock until released; null when another page holds it (or locks are missing). */
async function holdLock(name: string): Promise<(() => void) | null> {
  const locks = navigator.locks;
  if (!locks) return () => undefined;
  return new Promise((resolve) => {
    void locks.request(name, { ifAvailable: true }, (lock) => {
      if (!lock) {
        resolve(null);
        return undefined;
      }
      return new Promise<void>((release) => resolve(() => release()));
    });
  });
}

async function heldLocks(): Promise<Set<string>> {
  const held = new Set<string>();
  const state = await navigator.locks?.query();
  for (const lock of [...(state?.held ?? []), ...(state?.pending ?? [])])
    if (lock.name?.startsWith(kLockPrefix)) held.add(lock.name.slice(kLockPrefix.length));
  return held;
}

function newId(): string {
  return `${Date.now().toString(36)}-${Math.random().toString(36).slice(2, 10)}`;
}

/** Keeps the copy of the page's text and offers a left one back once. */
export class RecoveryWatcher {
  private id = newId();
  private release: (() => void) | null = null;
  private quiet = 0;
  private longest = 0;
  private faultShown = false;
  private restoring = false;

  constructor(
    private readonly app: App,
    private readonly text: PupilText,
    private readonly store: CopyStore,
  ) {
    text.onTyped(() => this.typed());
    text.onModifiedChange(() => this.flagChanged());
  }

  async start(): Promise<void> {
    this.release = await holdLock(kLockPrefix + this.id);
    await this.offer();
  }

  private typed(): void {
    if (this.restoring || !this.text.modified) return;
    clearTimeout(this.quiet);
    this.quiet = window.setTimeout(() => this.copyNow(), this.app.m.copyQuietMs);
    if (!this.longest) this.longest = window.setTimeout(() => this.copyNow(), this.app.m.copyLongestMs);
  }

  private stopTimers(): void {
    clearTimeout(this.quiet);
    clearTimeout(this.longest);
    this.quiet = 0;
    this.longest = 0;
  }

  private flagChanged(): void {
    if (this.restoring || this.text.modified) return;
    this.stopTimers();
    this.store.remove(this.id);
  }

  /** Takes the copy now, when the text is modified. */
  copyNow(): void {
    this.stopTimers();
    if (!this.text.modified) return;
    try {
      this.store.write(this.id, this.text.rtf(), this.text.name, describeExercise());
      this.faultShown = false;
    } catch {
      // Said once; said again only if copies worked in between.
      if (this.faultShown) return;
      this.faultShown = true;
      this.app.page.info.textContent = this.app.m.copyFaultElsewhere(this.app.m.browserStorageName);
      this.app.page.live.textContent = this.app.page.info.textContent;
    }
  }

  /** The start's question about a copy left by a page that is gone. */
  private async offer(): Promise<void> {
    const { m } = this.app;
    this.store.ageDeclined();
    const live = await heldLocks();
    for (const entry of this.store.leftCopies(live)) {
      const bytes = this.store.read(entry);
      if (!bytes || m.readRtf(bytes, null).nothingLoaded) continue;
      // Claimed: no other page opening now offers it too.
      const release = await holdLock(kLockPrefix + entry.id);
      if (!release) continue;
      const when = new Date(entry.written);
      const yes = await messageBox(this.app.page.root.ownerDocument, {
        title: m.recoveryTitle,
        text: m.recoveryQuestion(
          entry.fich,
          when.getFullYear(),
          when.getMonth() + 1,
          when.getDate(),
          when.getHours(),
          when.getMinutes(),
        ),
        ok: m.recoveryYes,
        cancel: m.recoveryNo,
        returnTo: this.text.element,
      });
      if (!yes) {
        this.store.decline(entry.id);
        release();
        return;
      }
      // Whatever the page shows meanwhile is asked about.
      if (!(await this.text.confirmDiscard())) {
        release();
        return;
      }
      this.restoring = true;
      // The exercise the text was typed in comes back first, as it stood;
      // the typed text then replaces its statement.
      if (entry.exercise !== undefined) await reopenExercise(entry.fich, entry.exercise);
      const read = this.text.load(bytes, { readOnly: false, name: entry.fich });
      this.text.setModified(true);
      this.restoring = false;
      if (read.nothingLoaded) {
        release();
        return;
      }
      // The copy is this text's now: the page takes its slot.
      this.store.remove(this.id);
      this.release?.();
      this.id = entry.id;
      this.release = release;
      return;
    }
  }
}

whenReady((app) => {
  const text = pupilText();
  const storage = browserStorage();
  if (!text || !storage) return;
  const watcher = new RecoveryWatcher(app, text, new CopyStore(storage));
  // Once the page's first opening is done.
  setTimeout(() => void watcher.start(), 0);
});

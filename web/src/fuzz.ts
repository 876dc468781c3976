// `?fuzz=SECONDS`: a robot that uses the page at random for that long —
// clicks, keys, drags on sliders, touches and dropped files, hostile ones
// among them — and records every uncaught error and console error in
// `window.__fuzz`, so that a test fails on them, or on a page that stops
// answering (`beat` stops moving).

export interface FuzzState {
  errors: string[];
  done: boolean;
  actions: number;
  beat: number; // the time of the last action, in ms since the page opened
  seed: number;
  last: string[]; // the latest actions, for the report of a failure
}

declare global {
  interface Window {
    __fuzz?: FuzzState;
  }
}

// A small generator of its own, so that a seed replays the same actions.
export function randomFrom(seed: number): () => number {
  let state = seed >>> 0 || 0x9e3779b9;
  return () => {
    state ^= state << 13;
    state >>>= 0;
    state ^= state >>> 17;
    state ^= state << 5;
    state >>>= 0;
    return state / 0x100000000;
  };
}

// The records of a configuration as the program saves it at start-up: 22
// records of 128 bytes, each a 16-bit length then its text.
const kRecordSize = 128;
export const kStartRecords = [
  "MOLVANE", "100", "100", "0", "0", " 50", " 50", " 500", " 16711680", " 16711935", " 33023",
  " 49152", " 11", " 60", "1", "0", "0", "0", "1", "0", "1", "1",
];

export function recordFile(texts: string[]): Uint8Array {
  const bytes = new Uint8Array(texts.length * kRecordSize);
  texts.forEach((text, i) => {
    const at = i * kRecordSize;
    const length = Math.min(text.length, kRecordSize - 2);
    bytes[at] = length & 0xff;
    bytes[at + 1] = length >> 8;
    for (let k = 0; k < length; ++k) bytes[at + 2 + k] = text.charCodeAt(k) & 0xff;
  });
  return bytes;
}

export type HostileKind = "huge" | "truncated" | "signature" | "binary" | "lengths" | "values" | "valid";
export const kHostileKinds: HostileKind[] = ["huge", "truncated", "signature", "binary", "lengths", "values", "valid"];

// A configuration file spoilt in one way, built from the start-up records.
export function hostileFile(kind: HostileKind, random: () => number): Uint8Array {
  const pick = (n: number) => Math.floor(random() * n);
  const base = recordFile(kStartRecords);
  switch (kind) {
    case "huge": {
      // Far more than any configuration: the reader must refuse it by its size.
      const bytes = new Uint8Array((8 + pick(24)) * 1024 * 1024);
      for (let at = 0; at + base.length <= bytes.length; at += base.length) bytes.set(base, at);
      return bytes;
    }
    case "truncated":
      return base.slice(0, pick(base.length));
    case "signature": {
      const bytes = base.slice();
      bytes[2 + pick(7)] ^= 1 + pick(254);
      return bytes;
    }
    case "binary": {
      const bytes = new Uint8Array(pick(4 * base.length) + 1);
      for (let i = 0; i < bytes.length; ++i) bytes[i] = pick(256);
      return bytes;
    }
    case "lengths": {
      const bytes = base.slice();
      const record = 1 + pick(kStartRecords.length - 1);
      const length = [0, 126, 127, 128, 255, 0xffff][pick(6)];
      bytes[record * kRecordSize] = length & 0xff;
      bytes[record * kRecordSize + 1] = length >> 8;
      return bytes;
    }
    case "values": {
      const texts = kStartRecords.slice();
      const odd = ["-1", "99999999999999999999", "1e308", "NaN", "", "   ", "12a", "0x10", "-0", "3.5", "ÿÿÿ"];
      for (let n = 1 + pick(4); n > 0; --n) texts[1 + pick(texts.length - 1)] = odd[pick(odd.length)];
      return recordFile(texts);
    }
    case "valid":
      return base;
  }
}

const kKeys = [
  "Tab", "Tab", "Tab", "ArrowUp", "ArrowDown", "ArrowLeft", "ArrowRight", "Enter", " ", "Escape",
  "Home", "End", "PageUp", "PageDown", "Backspace", "Delete",
  "0", "1", "2", "5", "9", "a", "e", "z", ",", ".", "-",
];

function visible(element: Element): boolean {
  const html = element as HTMLElement;
  if (html.hidden || html.closest("[hidden], [inert]")) return false;
  const box = element.getBoundingClientRect();
  return box.width > 0 && box.height > 0;
}

function focusables(scope: ParentNode): HTMLElement[] {
  const selector = "[data-control], button, input, select, textarea, a[href], [tabindex], [role='menuitem'], [role='tab']";
  return Array.from(scope.querySelectorAll<HTMLElement>(selector)).filter(
    (element) => visible(element) && !(element as HTMLInputElement).disabled,
  );
}

// Where the robot may act: inside the open modal dialog when there is one,
// as for a pupil.
function scope(doc: Document): ParentNode {
  const dialogs = Array.from(doc.querySelectorAll<HTMLDialogElement>("dialog[open]"));
  const modal = dialogs.filter((dialog) => dialog.matches(":modal"));
  return modal[modal.length - 1] ?? doc;
}

function centre(element: Element): { x: number; y: number } {
  const box = element.getBoundingClientRect();
  return { x: box.left + box.width / 2, y: box.top + box.height / 2 };
}

export function startFuzz(seconds: number, seed = Date.now() % 0x7fffffff): FuzzState {
  const doc = document;
  const view = window;
  const random = randomFrom(seed);
  const pick = <T>(list: T[]): T | undefined => list[Math.floor(random() * list.length)];
  const state: FuzzState = { errors: [], done: false, actions: 0, beat: performance.now(), seed, last: [] };
  view.__fuzz = state;

  const record = (text: string) => {
    state.errors.push(text);
  };
  view.addEventListener("error", (event) => record(`erreur : ${event.message} (${event.filename}:${event.lineno})`));
  view.addEventListener("unhandledrejection", (event) => record(`promesse rejetée : ${String(event.reason)}`));
  const consoleError = console.error.bind(console);
  console.error = (...args: unknown[]) => {
    record(`console.error : ${args.map(String).join(" ")}`);
    consoleError(...args);
  };
  // What would wait on a person: the browser's own boxes and its print dialog.
  view.alert = () => undefined;
  view.confirm = () => random() < 0.5;
  view.prompt = () => null;
  view.print = () => {
    view.dispatchEvent(new Event("beforeprint"));
    setTimeout(() => view.dispatchEvent(new Event("afterprint")), 0);
  };
  view.open = () => null;
  // The pickers would wait on a person too: the robot drops files instead.
  const inputClick = HTMLInputElement.prototype.click;
  HTMLInputElement.prototype.click = function (this: HTMLInputElement) {
    if (this.type !== "file") inputClick.call(this);
  };
  HTMLInputElement.prototype.showPicker = () => undefined;
  // A link out of the page would end the run: it is held back.
  view.addEventListener("click", (event) => {
    const link = (event.target as Element | null)?.closest?.("a[href]") as HTMLAnchorElement | null;
    if (link && !event.defaultPrevented && !link.getAttribute("href")?.startsWith("#") && !link.download)
      event.preventDefault();
  });

  const note = (what: string) => {
    state.last.push(what);
    if (state.last.length > 30) state.last.shift();
  };

  const pointer = (target: Element, type: string, x: number, y: number, pointerType: string) => {
    target.dispatchEvent(
      new PointerEvent(type, { bubbles: true, cancelable: true, composed: true, clientX: x, clientY: y, pointerType, isPrimary: true, button: 0, buttons: type === "pointerup" ? 0 : 1 }),
    );
  };

  const click = (target: HTMLElement) => {
    if (target instanceof HTMLInputElement && target.type === "file") return;
    const { x, y } = centre(target);
    note(`clic ${describe(target)}`);
    pointer(target, "pointerdown", x, y, "mouse");
    target.dispatchEvent(new MouseEvent("mousedown", { bubbles: true, cancelable: true, clientX: x, clientY: y }));
    target.focus?.();
    pointer(target, "pointerup", x, y, "mouse");
    target.dispatchEvent(new MouseEvent("mouseup", { bubbles: true, cancelable: true, clientX: x, clientY: y }));
    target.dispatchEvent(new MouseEvent("click", { bubbles: true, cancelable: true, clientX: x, clientY: y, detail: 1 }));
  };

  const setValue = (input: HTMLInputElement, value: string) => {
    input.value = value;
    input.dispatchEvent(new Event("input", { bubbles: true }));
    input.dispatchEvent(new Event("change", { bubbles: true }));
  };

  const key = (name: string, alt = false) => {
    const target = (doc.activeElement as HTMLElement | null) ?? doc.body;
    note(`touche ${alt ? "Alt+" : ""}${name} sur ${describe(target)}`);
    const init = { key: name, altKey: alt, bubbles: true, cancelable: true, composed: true };
    const allowed = target.dispatchEvent(new KeyboardEvent("keydown", init));
    if (allowed) defaultAction(target, name, alt);
    target.dispatchEvent(new KeyboardEvent("keyup", init));
  };

  // What the browser itself would do with a key nobody handled.
  const defaultAction = (target: HTMLElement, name: string, alt: boolean) => {
    if (alt) return;
    const dialog = target.closest("dialog[open]") as HTMLDialogElement | null;
    if (name === "Escape" && dialog) {
      if (dialog.dispatchEvent(new Event("cancel", { cancelable: true }))) dialog.close();
      return;
    }
    if (name === "Tab") {
      const list = focusables(scope(doc)).filter((element) => element.tabIndex >= 0);
      const at = list.indexOf(target);
      list[(at + 1) % Math.max(list.length, 1)]?.focus();
      return;
    }
    if (target instanceof HTMLInputElement) {
      if (target.type === "range" || target.type === "number") {
        const step = name === "ArrowUp" || name === "ArrowRight" ? 1 : name === "ArrowDown" || name === "ArrowLeft" ? -1 : 0;
        if (step !== 0) {
          if (step > 0) target.stepUp();
          else target.stepDown();
          target.dispatchEvent(new Event("input", { bubbles: true }));
          target.dispatchEvent(new Event("change", { bubbles: true }));
          return;
        }
      }
      if (target.type === "checkbox" || target.type === "radio") {
        if (name === " ") click(target);
        return;
      }
      if (name.length === 1 && target.type !== "range") setValue(target, target.value + name);
      else if (name === "Backspace") setValue(target, target.value.slice(0, -1));
      else if (name === "Enter") target.form?.requestSubmit();
      return;
    }
    if ((name === "Enter" || name === " ") && (target instanceof HTMLButtonElement || target.getAttribute("role") === "menuitem" || target instanceof HTMLAnchorElement))
      click(target);
  };

  const drag = (range: HTMLInputElement) => {
    const box = range.getBoundingClientRect();
    const y = box.top + box.height / 2;
    let x = box.left + random() * box.width;
    note(`glisser ${describe(range)}`);
    pointer(range, "pointerdown", x, y, random() < 0.5 ? "touch" : "mouse");
    range.focus();
    const min = Number(range.min || 0);
    const max = Number(range.max || 100);
    for (let n = 1 + Math.floor(random() * 5); n > 0; --n) {
      x = box.left + random() * box.width;
      pointer(range, "pointermove", x, y, "mouse");
      const value = Math.round(min + ((x - box.left) / Math.max(box.width, 1)) * (max - min));
      range.value = String(value);
      range.dispatchEvent(new Event("input", { bubbles: true }));
    }
    pointer(range, "pointerup", x, y, "mouse");
    range.dispatchEvent(new Event("change", { bubbles: true }));
  };

  const touch = (target: HTMLElement) => {
    const { x, y } = centre(target);
    note(`toucher ${describe(target)}`);
    pointer(target, "pointerdown", x, y, "touch");
    try {
      const point = new Touch({ identifier: 1, target, clientX: x, clientY: y });
      target.dispatchEvent(new TouchEvent("touchstart", { bubbles: true, cancelable: true, touches: [point], changedTouches: [point] }));
      target.dispatchEvent(new TouchEvent("touchend", { bubbles: true, cancelable: true, touches: [], changedTouches: [point] }));
    } catch {
      // A browser without touch events gets the pointer events alone.
    }
    pointer(target, "pointerup", x, y, "touch");
    target.dispatchEvent(new MouseEvent("click", { bubbles: true, cancelable: true, clientX: x, clientY: y, detail: 1 }));
  };

  const drop = () => {
    const kind = pick(kHostileKinds) ?? "binary";
    const name = pick(["essai.C11", "config.c11", "image.png", "vide.C11", "très long nom ".repeat(8) + ".C11"]) ?? "x.C11";
    const bytes = kind === "huge" && random() < 0.7 ? hostileFile("truncated", random) : hostileFile(kind, random);
    note(`dépôt ${kind} ${name} (${bytes.length} octets)`);
    const transfer = new DataTransfer();
    transfer.items.add(new File([bytes as BlobPart], name, { type: "application/octet-stream" }));
    const target = pick(focusables(doc)) ?? doc.body;
    const { x, y } = centre(target);
    for (const type of ["dragenter", "dragover", "drop"]) {
      target.dispatchEvent(new DragEvent(type, { bubbles: true, cancelable: true, composed: true, dataTransfer: transfer, clientX: x, clientY: y }));
    }
  };

  const act = () => {
    const here = scope(doc);
    const targets = focusables(here);
    const roll = random();
    if (here !== doc && roll < 0.15) {
      key("Escape");
      return;
    }
    if (roll < 0.4) {
      const target = pick(targets);
      if (target) click(target);
    } else if (roll < 0.7) {
      key(pick(kKeys) ?? "Tab");
    } else if (roll < 0.78) {
      const letter = String.fromCharCode(97 + Math.floor(random() * 26));
      key(letter, true);
    } else if (roll < 0.88) {
      const ranges = targets.filter((t): t is HTMLInputElement => t instanceof HTMLInputElement && t.type === "range");
      const range = pick(ranges);
      if (range) drag(range);
    } else if (roll < 0.96) {
      const target = pick(targets);
      if (target) touch(target);
    } else {
      drop();
    }
  };

  const end = performance.now() + seconds * 1000;
  const step = () => {
    if (performance.now() >= end) {
      // Whatever is left open is closed, so that the page is seen at rest.
      for (const dialog of Array.from(doc.querySelectorAll<HTMLDialogElement>("dialog[open]"))) dialog.close();
      state.done = true;
      state.beat = performance.now();
      return;
    }
    try {
      act();
    } catch (error) {
      record(`action « ${state.last[state.last.length - 1] ?? "?"} » : ${String(error)}`);
    }
    state.actions += 1;
    state.beat = performance.now();
    setTimeout(step, 5 + Math.floor(random() * 20));
  };
  setTimeout(step, 0);
  return state;
}

function describe(element: Element): string {
  const html = element as HTMLElement;
  return html.dataset?.control || html.id || element.tagName.toLowerCase();
}

// @vitest-environment jsdom
// The copy menu's keys and choices, and where each copy goes when the
// clipboard takes it or refuses it.
import { afterEach, beforeEach, describe, expect, it, vi } from "vitest";
import type { OutputModule } from "../../bindings/output";
import { CopyMenu, copyText, putOrDownload, type CopySources } from "../../src/copy";
import { loadModule } from "./module";

// The menu's names and captions from the module itself.
const m = await loadModule<OutputModule>();

class FakeItem {
  constructor(readonly items: Record<string, Promise<Blob>>) {}
}

let downloads: string[] = [];

beforeEach(() => {
  vi.stubGlobal("ClipboardItem", FakeItem);
  downloads = [];
  URL.createObjectURL = () => "blob:x";
  URL.revokeObjectURL = () => undefined;
  vi.spyOn(HTMLAnchorElement.prototype, "click").mockImplementation(function (this: HTMLAnchorElement) {
    downloads.push(this.download);
  });
});

afterEach(() => {
  vi.restoreAllMocks();
  vi.unstubAllGlobals();
  document.body.innerHTML = "";
});

describe("clipboard or download", () => {
  const fallback = { blob: async () => new Blob(["x"]), fileName: "graphe.png" };

  it.each([
    ["taken", { write: async () => undefined }, { copied: true }, []],
    ["refused", { write: async () => Promise.reject(new DOMException("non", "NotAllowedError")) }, { copied: false, fileName: "graphe.png" }, ["graphe.png"]],
    ["missing", null, { copied: false, fileName: "graphe.png" }, ["graphe.png"]],
  ])("clipboard %s", async (_name, clipboard, outcome, files) => {
    const png = Promise.resolve(new Blob(["png"], { type: "image/png" }));
    expect(await putOrDownload({ "image/png": png }, fallback, clipboard)).toEqual(outcome);
    expect(downloads).toEqual(files);
  });

  it.each([
    ["with HTML", "<table></table>", ["text/plain", "text/html"]],
    ["without HTML", undefined, ["text/plain"]],
  ])("the table's text goes as plain text %s", async (_name, html, types) => {
    const written: FakeItem[] = [];
    await copyText("a\tb\nc\td", html, "tableau.txt", {
      write: async (items) => {
        written.push(...(items as unknown as FakeItem[]));
      },
    });
    expect(written).toHaveLength(1);
    expect(Object.keys(written[0].items)).toEqual(types);
    const blob = await written[0].items["text/plain"];
    const text = await new Promise<string>((resolve) => {
      const reader = new FileReader();
      reader.onload = () => resolve(String(reader.result));
      reader.readAsText(blob);
    });
    expect(text).toBe("a\tb\nc\td");
  });
});

describe("the menu", () => {
  let sources: CopySources;
  let confirmed: (string | undefined)[];
  let button: HTMLButtonElement;
  let menu: CopyMenu;

  beforeEach(() => {
    confirmed = [];
    sources = {
      module: m,
      animation: { canvas: () => document.createElement("canvas") },
      graph: { canvas: () => document.createElement("canvas") },
      tableText: vi.fn(() => "Date (s)\tQr"),
      tableHtml: () => "<table></table>",
      table: () => null,
      exportMeasures: vi.fn(),
      confirm: (notice) => confirmed.push(notice),
    };
    button = document.createElement("button");
    document.body.append(button);
    menu = new CopyMenu(sources);
    menu.open(button);
  });
  afterEach(() => menu.close(false, false));

  const focused = () => (document.activeElement as HTMLElement).dataset.item;
  const press = (key: string) =>
    document.activeElement?.dispatchEvent(new KeyboardEvent("keydown", { key, bubbles: true, cancelable: true }));
  const flush = () => new Promise((resolve) => setTimeout(resolve, 0));

  it("holds the desktop's items in its order", () => {
    const items = Array.from(document.querySelectorAll<HTMLElement>('[data-menu="menucop"] > li'));
    expect(items.map((li) => [li.dataset.item, li.getAttribute("role"), li.textContent])).toEqual([
      ["cop001", "menuitem", "Copier l'animation"],
      ["Cop002", "menuitem", "Copier le graphe"],
      ["s5050", "separator", ""],
      ["cop003", "menuitem", "Copier le tableau▸"],
      ["sexport", "separator", ""],
      ["exportcsv", "menuitem", "Exporter les mesures (CSV)…"],
    ]);
    const sub = Array.from(document.querySelectorAll<HTMLElement>('[data-menu="cop003"] > li'));
    expect(sub.map((li) => li.textContent)).toEqual(["Copier le contenu du tableau", "Copier une image du tableau"]);
  });

  it.each([
    { keys: [], at: "cop001" },
    { keys: ["ArrowDown"], at: "Cop002" },
    { keys: ["ArrowDown", "ArrowDown"], at: "cop003" },
    { keys: ["ArrowDown", "ArrowDown", "ArrowDown"], at: "exportcsv" },
    { keys: ["ArrowDown", "ArrowDown", "ArrowDown", "ArrowDown"], at: "cop001" },
    { keys: ["ArrowUp"], at: "exportcsv" },
    { keys: ["End", "Home"], at: "cop001" },
    { keys: ["ArrowDown", "ArrowDown", "ArrowRight"], at: "cop0031" },
    { keys: ["ArrowDown", "ArrowDown", "ArrowRight", "ArrowDown"], at: "cop0032" },
    { keys: ["ArrowDown", "ArrowDown", "ArrowRight", "ArrowLeft"], at: "cop003" },
    { keys: ["ArrowDown", "ArrowDown", "ArrowRight", "Escape"], at: "cop003" },
    { keys: ["ArrowRight"], at: "cop001" },
  ])("keys $keys lead to $at", ({ keys, at }) => {
    for (const key of keys) press(key);
    expect(focused()).toBe(at);
    expect(menu.isOpen).toBe(true);
  });

  it("closes on Escape with the confirmation, focus back on the button", () => {
    press("Escape");
    expect(menu.isOpen).toBe(false);
    expect(document.activeElement).toBe(button);
    expect(button.getAttribute("aria-expanded")).toBe("false");
    expect(confirmed).toEqual([undefined]);
  });

  it("exports by its key letter, with no confirmation after", async () => {
    press("x");
    await flush();
    expect(sources.exportMeasures).toHaveBeenCalledOnce();
    expect(menu.isOpen).toBe(false);
    expect(confirmed).toEqual([]);
  });

  it("downloads the table's text where the clipboard is missing, and says so", async () => {
    press("ArrowDown");
    press("ArrowDown");
    press("ArrowRight");
    press("Enter");
    await flush();
    await flush();
    expect(sources.tableText).toHaveBeenCalledOnce();
    expect(downloads).toEqual(["tableau.txt"]);
    expect(confirmed).toEqual([m.copyDownloadNotice("tableau.txt")]);
    expect(confirmed[0]).toContain("« tableau.txt »");
  });

  it("closes when the pointer goes down outside it", () => {
    document.body.dispatchEvent(new Event("pointerdown", { bubbles: true }));
    expect(menu.isOpen).toBe(false);
    expect(confirmed).toEqual([undefined]);
  });
});

// @vitest-environment jsdom
// The print dialog's choices, and the print-only pages built from the layout
// the module gives.
import { afterEach, beforeEach, describe, expect, it, vi } from "vitest";
import type { PageLayout, Placement, PrintRequest } from "../../bindings/output";
import type { OutputModule } from "../../bindings/output";
import { buildPrintLayout, copiesOf, printLayout, PrintDialog, type PrintSources } from "../../src/print";
import { loadModule } from "./module";
import { withDialogs } from "./dialogs";

// The dialog's texts and limit from the module itself.
const texts = (await loadModule<OutputModule>()).printDialogTexts();
const kMostCopies = texts.mostCopies;

const Placed = { Title: { value: 0 }, Animation: { value: 1 }, Graph: { value: 2 }, Table: { value: 3 } };

function layoutOf(pages: number, items: Omit<Placement, "firstRow" | "endRow">[] & Partial<Placement>[]): PageLayout {
  const list = items.map((item) => ({ firstRow: 0, endRow: 0, ...item }) as Placement);
  return { pages, items: { size: () => list.length, get: (i) => list[i], delete: vi.fn() } };
}

function tableOf(rows: number): HTMLTableElement {
  const table = document.createElement("table");
  for (let r = 0; r < rows; ++r) {
    const tr = table.insertRow();
    for (let c = 0; c < 2; ++c) {
      const cell = document.createElement(r === 0 ? "th" : "td");
      cell.textContent = r === 0 ? `h${c}` : `${r}.${c}`;
      tr.append(cell);
    }
  }
  return table;
}

let requests: PrintRequest[];
let layout: PageLayout;

function sources(table: HTMLTableElement | null): PrintSources {
  // Canvases of the program's size, so that they are printed as they are.
  const canvasOf = (width: number, height: number) => () => {
    const c = document.createElement("canvas");
    c.width = width;
    c.height = height;
    c.toDataURL = () => "data:image/png;base64,AAAA";
    return c;
  };
  return {
    module: {
      Placed: Placed as PrintSources["module"]["Placed"],
      printDialogTexts: () => texts,
      layoutPages: (_page, request) => {
        requests.push(request);
        return layout;
      },
    },
    animation: { canvas: canvasOf(393, 157), width: 393, height: 157 },
    graph: { canvas: canvasOf(413, 235), width: 413, height: 235 },
    table: () => table,
  };
}

beforeEach(() => {
  withDialogs();
  requests = [];
});
afterEach(() => {
  document.body.innerHTML = "";
});

describe("copies", () => {
  it.each([
    ["1", 1],
    ["3", 3],
    ["2.7", 2],
    ["0", 1],
    ["-4", 1],
    ["", 1],
    ["abc", 1],
    [String(kMostCopies), kMostCopies],
    ["1000", kMostCopies],
  ])("%j gives %i", (text, n) => {
    expect(copiesOf(text, kMostCopies)).toBe(n);
  });
});

describe("the print-only pages", () => {
  it("puts each item on its page at its place, in CSS pixels of 15 twips", () => {
    layout = layoutOf(2, [
      { what: Placed.Title, page: 0, x: 0, y: 0, height: 276 },
      { what: Placed.Animation, page: 0, x: 2355, y: 750, height: 2355 },
      { what: Placed.Graph, page: 0, x: 2205, y: 3565, height: 3525 },
      { what: Placed.Table, page: 1, x: 1077, y: 750, height: 1020, firstRow: 2, endRow: 5 },
    ]);
    const root = buildPrintLayout(sources(tableOf(8)), {
      animation: true,
      graph: true,
      table: true,
      title: "Ma classe",
      copies: 1,
    });
    const pages = root.querySelectorAll<HTMLElement>(".page");
    expect(pages).toHaveLength(2);
    const placed = (page: number) =>
      Array.from(pages[page].children as HTMLCollectionOf<HTMLElement>).map((e) => [
        e.dataset.placed,
        e.style.left,
        e.style.top,
      ]);
    expect(placed(0)).toEqual([
      ["title", "0px", "0px"],
      ["animation", "157px", "50px"],
      ["graph", "147px", "237.66666666666666px"],
    ]);
    expect(placed(1)).toEqual([["table", "71.8px", "50px"]]);
    expect(pages[0].querySelector(".title")?.textContent).toBe("Ma classe");
    const img = pages[0].querySelector<HTMLImageElement>('[data-placed="graph"]');
    expect([img?.width, img?.height]).toEqual([413, 235]);
    // The table's part: its header, then data rows 2 to 4.
    const rows = Array.from(pages[1].querySelectorAll("tr")).map((tr) => tr.textContent);
    expect(rows).toEqual(["h0h1", "3.03.1", "4.04.1", "5.05.1"]);
    expect(layout.items.delete).toHaveBeenCalledOnce();
  });

  it.each([
    { name: "the start choices", choice: { animation: true, graph: true, table: false }, table: 8, rows: 8 },
    { name: "the table alone", choice: { animation: false, graph: false, table: true }, table: 12, rows: 12 },
    { name: "a table asked where there is none", choice: { animation: false, graph: true, table: true }, table: 0, rows: 0 },
  ])("asks the module with $name", ({ choice, table, rows }) => {
    layout = layoutOf(1, []);
    buildPrintLayout(sources(table > 0 ? tableOf(table) : null), { ...choice, title: "", copies: 3 });
    expect(requests).toHaveLength(1);
    const request = requests[0];
    expect(request.animation).toBe(choice.animation);
    expect(request.graph).toBe(choice.graph);
    expect(request.table).toBe(choice.table && table > 0);
    expect(request.animationSize).toEqual({ width: 393, height: 157 });
    expect(request.graphSize).toEqual({ width: 413, height: 235 });
    expect(request.copies).toBe(3);
    if (request.table) expect(request.tableExtent.rows).toBe(rows);
  });

  it("is in the document while printing only", async () => {
    layout = layoutOf(1, [{ what: Placed.Title, page: 0, x: 0, y: 0, height: 276 }]);
    const root = buildPrintLayout(sources(null), { animation: false, graph: false, table: false, title: "T", copies: 1 });
    let inDocument = false;
    await printLayout(root, () => {
      inDocument = document.body.contains(root) && document.body.classList.contains("molvane-printing");
    });
    expect(inDocument).toBe(true);
    expect(document.body.contains(root)).toBe(false);
    expect(document.body.classList.contains("molvane-printing")).toBe(false);
  });
});

describe("the dialog", () => {
  it("offers the desktop's choices, ticked as it ticks them", () => {
    const dialog = new PrintDialog(sources(null));
    document.body.append(dialog.dialog);
    const labels = Array.from(dialog.dialog.querySelectorAll("fieldset label")).map((l) => l.textContent?.trim());
    expect(dialog.dialog.querySelector("legend")?.textContent).toBe("Options");
    expect(labels).toEqual(["L'animation", "Le graphe", "Le tableau de valeur"]);
    expect(dialog.choices()).toEqual({
      animation: true,
      graph: true,
      table: false,
      title: "Quintara - Molvane chimique",
      copies: 1,
    });
  });

  it.each([
    ["cancel", null],
    ["ok", { animation: true, graph: true, table: false, title: "Quintara - Molvane chimique", copies: 1 }],
  ])("closed by %s", async (how, result) => {
    layout = layoutOf(1, []);
    let noticeShown = false;
    const dialog = new PrintDialog({
      ...sources(null),
      print: () => {
        const waiting = dialog.dialog.querySelector<HTMLElement>('[data-control="Frame2"]');
        noticeShown = waiting?.hidden === false && waiting.textContent === "Veuillez patienter quelques instants...";
      },
    });
    const answer = dialog.open();
    expect(dialog.dialog.open).toBe(true);
    const button = dialog.dialog.querySelector<HTMLButtonElement>(
      how === "ok" ? '[data-control="Command1"]' : '[data-control="Command3"]',
    );
    button?.click();
    expect(await answer).toEqual(result);
    expect(noticeShown).toBe(how === "ok");
    expect(dialog.dialog.open).toBe(false);
    // The choices come back for the next print.
    expect(dialog.dialog.querySelector<HTMLElement>(".body")?.hidden).toBe(false);
  });
});

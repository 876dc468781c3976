// The table of values `MSFlexGrid1` as a real table: row 0 the column
// headers, then one row a data row, each cell with the core's text, colour
// and alignment. Only what changed is written again.
import type { MainState } from '../bindings/front';
import { cssColour } from './colours';

/** The CSS alignment of a grid alignment code (3 centred, 6 right, otherwise left). */
export function cellAlign(code: number): string {
  if (code >= 3 && code <= 5) return 'center';
  if (code >= 6 && code <= 8) return 'right';
  return 'left';
}

export interface Cells {
  tableRows(): number;
  tableCols(): number;
  cellText(row: number, col: number): string;
  cellColour(row: number, col: number): number;
  cellAlignment(row: number, col: number): number;
}

export function fillTable(table: HTMLTableElement, cells: Cells | MainState): void {
  const doc = table.ownerDocument;
  const rows = cells.tableRows(),
    cols = cells.tableCols();
  const head = table.tHead ?? table.createTHead();
  const body = table.tBodies[0] ?? table.createTBody();
  const rowOf = (r: number): HTMLTableRowElement => {
    const section = r === 0 ? head : body;
    const index = r === 0 ? 0 : r - 1;
    while (section.rows.length <= index) section.insertRow();
    return section.rows[index];
  };
  while (body.rows.length > Math.max(rows - 1, 0)) body.deleteRow(-1);
  for (let r = 0; r < rows; ++r) {
    const row = rowOf(r);
    while (row.cells.length > cols) row.deleteCell(-1);
    for (let c = 0; c < cols; ++c) {
      let cell = row.cells[c] as HTMLTableCellElement | undefined;
      const header = r === 0 || c === 0;
      if (!cell) {
        cell = doc.createElement(header ? 'th' : 'td');
        if (header) cell.scope = r === 0 ? 'col' : 'row';
        row.append(cell);
      }
      const text = cells.cellText(r, c);
      if (cell.textContent !== text) cell.textContent = text;
      const colour = cssColour(cells.cellColour(r, c));
      if (cell.style.color !== colour) cell.style.color = colour;
      const align = cellAlign(cells.cellAlignment(r, c));
      if (cell.style.textAlign !== align) cell.style.textAlign = align;
    }
  }
}

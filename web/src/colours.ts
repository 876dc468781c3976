// Colours cross from the core as 0x00BBGGRR numbers.

const kSystemColour = 0x80000000;

/** The CSS colour of a core colour; a system colour (no meaning in a page) shows black. */
export function cssColour(colour: number): string {
  if (colour >= kSystemColour || colour < 0) return 'rgb(0, 0, 0)';
  return `rgb(${colour & 0xff}, ${(colour >>> 8) & 0xff}, ${(colour >>> 16) & 0xff})`;
}

/** "#rrggbb", as an `<input type=color>` holds it. */
export function hexColour(colour: number): string {
  if (colour >= kSystemColour || colour < 0) return '#000000';
  const hex = (v: number) => v.toString(16).padStart(2, '0');
  return `#${hex(colour & 0xff)}${hex((colour >>> 8) & 0xff)}${hex((colour >>> 16) & 0xff)}`;
}

/** The core colour of "#rrggbb"; null for anything else. */
export function fromHex(text: string): number | null {
  const m = /^#([0-9a-f]{2})([0-9a-f]{2})([0-9a-f]{2})$/i.exec(text);
  if (!m) return null;
  return parseInt(m[1], 16) | (parseInt(m[2], 16) << 8) | (parseInt(m[3], 16) << 16);
}

// The core draws through its surfaces into flat command buffers (see
// bindings/core.d.ts); these functions replay them on a canvas, in the
// core's logical pixels (the caller sets the scale to device pixels).
import { cssColour } from './colours';

/** The codes of the buffers' commands (bindings/core.d.ts). */
export const Draw = { Circle: 1, Line: 2, Point: 3, Text: 4 } as const;

/** What the replay needs of a canvas context: a fake stands in for it in tests. */
export type Context2D = Pick<
  CanvasRenderingContext2D,
  | 'beginPath'
  | 'arc'
  | 'fill'
  | 'moveTo'
  | 'lineTo'
  | 'stroke'
  | 'fillRect'
  | 'fillText'
  | 'strokeRect'
  | 'fillStyle'
  | 'strokeStyle'
  | 'lineWidth'
  | 'lineCap'
  | 'font'
  | 'textBaseline'
>;

/** The font of the graph's texts, as the desktop's 8-point control font. */
export function graphFont(italic: boolean): string {
  return `${italic ? 'italic ' : ''}11px Arial, "Liberation Sans", Arimo, sans-serif`;
}

/**
 * The circles of the vessel: each a disc outlined in black, one pixel wide,
 * reaching half a pixel past its radius as the desktop's stamps do.
 */
export function replayAnimation(ctx: Context2D, commands: ArrayLike<number>): number {
  let circles = 0;
  for (let k = 0; k < commands.length; ) {
    const op = commands[k];
    if (op !== Draw.Circle) throw new Error(`unknown drawing command ${op}`);
    const x = commands[k + 1],
      y = commands[k + 2],
      r = commands[k + 3],
      fill = commands[k + 4];
    ctx.fillStyle = 'rgb(0, 0, 0)';
    ctx.beginPath();
    ctx.arc(x, y, r + 0.5, 0, 2 * Math.PI);
    ctx.fill();
    ctx.fillStyle = cssColour(fill);
    ctx.beginPath();
    ctx.arc(x, y, Math.max(r - 0.5, 0), 0, 2 * Math.PI);
    ctx.fill();
    k += 5;
    ++circles;
  }
  return circles;
}

/**
 * The graph's commands from `from` (an index into the buffer) to the end;
 * returns where the next replay starts. Lines include both their ends.
 */
export function replayGraph(
  ctx: Context2D,
  commands: ArrayLike<number>,
  from: number,
  textAt: (index: number) => string,
): number {
  let k = from;
  while (k < commands.length) {
    switch (commands[k]) {
      case Draw.Line: {
        const [x1, y1, x2, y2, colour, width] = [1, 2, 3, 4, 5, 6].map((i) => commands[k + i]);
        ctx.strokeStyle = cssColour(colour);
        ctx.lineWidth = Math.max(width, 1);
        ctx.lineCap = 'square';
        ctx.beginPath();
        ctx.moveTo(x1 + 0.5, y1 + 0.5);
        ctx.lineTo(x2 + 0.5, y2 + 0.5);
        ctx.stroke();
        k += 7;
        break;
      }
      case Draw.Point: {
        const [x, y, colour, width] = [1, 2, 3, 4].map((i) => commands[k + i]);
        const size = Math.max(width, 1);
        ctx.fillStyle = cssColour(colour);
        ctx.fillRect(x + 0.5 - size / 2, y + 0.5 - size / 2, size, size);
        k += 5;
        break;
      }
      case Draw.Text: {
        const [x, y, italic, index] = [1, 2, 3, 4].map((i) => commands[k + i]);
        ctx.fillStyle = 'rgb(0, 0, 0)';
        ctx.font = graphFont(italic !== 0);
        ctx.textBaseline = 'top';
        ctx.fillText(textAt(index), x, y);
        k += 5;
        break;
      }
      default:
        throw new Error(`unknown drawing command ${commands[k]}`);
    }
  }
  return k;
}

/** The vessel's shading, outline after outline, over white. */
export function paintShading(
  ctx: Context2D,
  width: number,
  height: number,
  rings: { x: number; y: number; width: number; height: number; colour: number }[],
): void {
  ctx.fillStyle = 'rgb(255, 255, 255)';
  ctx.fillRect(0, 0, width, height);
  ctx.lineWidth = 1;
  for (const ring of rings) {
    ctx.strokeStyle = cssColour(ring.colour);
    ctx.strokeRect(ring.x + 0.5, ring.y + 0.5, ring.width, ring.height);
  }
}

/**
 * The window's own painting under its controls: lines (horizontal or
 * vertical) and filled rectangles, both ends included. `shift` moves a
 * stroke that is not part of the shading (to its place in portrait).
 */
export function paintStrokes(
  ctx: Context2D,
  strokes: { x1: number; y1: number; x2: number; y2: number; colour: number; fill: boolean; shading: boolean }[],
  shift: (x: number, y: number) => { x: number; y: number } = (x, y) => ({ x, y }),
): void {
  for (const s of strokes) {
    const at = s.shading ? { x: s.x1, y: s.y1 } : shift(s.x1, s.y1);
    const left = Math.min(s.x1, s.x2) + at.x - s.x1,
      top = Math.min(s.y1, s.y2) + at.y - s.y1;
    ctx.fillStyle = cssColour(s.colour);
    ctx.fillRect(left, top, Math.abs(s.x2 - s.x1) + 1, Math.abs(s.y2 - s.y1) + 1);
  }
}

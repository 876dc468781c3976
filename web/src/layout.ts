// Where the window's design (800 x 600 pixels) goes in the browser's window:
// scaled as a whole to fill it, and on a portrait screen folded in two, the
// tab strip and the text area going below the vessel and the graph.

export interface Rect {
  x: number;
  y: number;
  width: number;
  height: number;
}

/** Controls of the window right of this x lie in its second column. */
export const kSecondColumn = 428;
/** Above this y lies the row of commands. */
export const kCommandRow = 40;
// In portrait: the commands four to a row, the second column under the first.
const kPortraitWidth = 436;
const kCommandsPerRow = 4;
const kCommandStep = 106;
const kCommandRowStep = 29;
const kFirstColumnBottom = 592;
const kSecondColumnTop = 48;

export function isPortrait(width: number, height: number): boolean {
  return height > width;
}

/** The size of the design the page shows. */
export function designSize(portrait: boolean, width: number, height: number): { width: number; height: number } {
  if (!portrait) return { width, height };
  const shift = kCommandRowStep;
  const secondTop = kFirstColumnBottom + shift + 8;
  return { width: kPortraitWidth, height: secondTop + (height - kSecondColumnTop) };
}

/** The scale that fits the design inside the browser's window. */
export function fitScale(viewWidth: number, viewHeight: number, design: { width: number; height: number }): number {
  const scale = Math.min(viewWidth / design.width, viewHeight / design.height);
  return Number.isFinite(scale) && scale > 0 ? scale : 1;
}

/**
 * Where a control of the window itself lies in portrait. `commandIndex` is
 * its place in the row of commands (0 for the first), for those in it.
 */
export function portraitRect(rect: Rect, commandIndex: number, designHeight: number): Rect {
  if (rect.y < kCommandRow) {
    return {
      ...rect,
      x: 8 + (commandIndex % kCommandsPerRow) * kCommandStep,
      y: rect.y + Math.floor(commandIndex / kCommandsPerRow) * kCommandRowStep,
    };
  }
  if (rect.x < kSecondColumn) return { ...rect, y: rect.y + kCommandRowStep };
  const secondTop = designSize(true, 0, designHeight).height - (designHeight - kSecondColumnTop);
  return { ...rect, x: rect.x - 432 + 8, y: rect.y - kSecondColumnTop + secondTop };
}

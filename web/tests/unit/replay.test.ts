import { describe, expect, test } from 'vitest';
import { Draw, paintShading, paintStrokes, replayAnimation, replayGraph, type Context2D } from '../../src/replay';

// Records what the replay asks of a canvas.
function recorder() {
  const calls: string[] = [];
  const ctx = {
    fillStyle: '',
    strokeStyle: '',
    lineWidth: 0,
    lineCap: 'butt',
    font: '',
    textBaseline: 'alphabetic',
    beginPath: () => calls.push('begin'),
    arc: (x: number, y: number, r: number) => calls.push(`arc ${x} ${y} ${r}`),
    fill: () => calls.push(`fill ${ctx.fillStyle}`),
    moveTo: (x: number, y: number) => calls.push(`move ${x} ${y}`),
    lineTo: (x: number, y: number) => calls.push(`line ${x} ${y}`),
    stroke: () => calls.push(`stroke ${ctx.strokeStyle} ${ctx.lineWidth}`),
    fillRect: (x: number, y: number, w: number, h: number) => calls.push(`rect ${ctx.fillStyle} ${x} ${y} ${w} ${h}`),
    strokeRect: (x: number, y: number, w: number, h: number) =>
      calls.push(`outline ${ctx.strokeStyle} ${x} ${y} ${w} ${h}`),
    fillText: (text: string, x: number, y: number) => calls.push(`text ${ctx.font.startsWith('italic')} ${text} ${x} ${y}`),
  };
  return { ctx: ctx as unknown as Context2D, calls };
}

describe('the vessel', () => {
  test('each circle is an outline disc and its fill, half a pixel past its radius', () => {
    const { ctx, calls } = recorder();
    const circles = replayAnimation(ctx, [Draw.Circle, 10, 20, 2, 0xff0000, Draw.Circle, 30.5, 40, 4, 0x00c000]);
    expect(circles).toBe(2);
    expect(calls).toEqual([
      'begin',
      'arc 10 20 2.5',
      'fill rgb(0, 0, 0)',
      'begin',
      'arc 10 20 1.5',
      'fill rgb(0, 0, 255)',
      'begin',
      'arc 30.5 40 4.5',
      'fill rgb(0, 0, 0)',
      'begin',
      'arc 30.5 40 3.5',
      'fill rgb(0, 192, 0)',
    ]);
  });

  test('a buffer it cannot read is refused', () => {
    const { ctx } = recorder();
    expect(() => replayAnimation(ctx, [Draw.Line, 0, 0, 1, 1, 0, 1])).toThrow();
  });
});

describe('the graph', () => {
  const texts = ['t (s)', '20'];
  test('lines, points and texts, and where the next replay starts', () => {
    const { ctx, calls } = recorder();
    const buffer = [
      Draw.Line, 50, 210, 350, 210, 0xc0c0c0, 1,
      Draw.Point, 60, 100, 0x0080ff, 2,
      Draw.Text, 340, 215, 1, 0,
      Draw.Text, 345, 215, 0, 1,
    ];
    expect(replayGraph(ctx, buffer, 0, (i) => texts[i])).toBe(buffer.length);
    expect(calls).toEqual([
      'begin',
      'move 50.5 210.5',
      'line 350.5 210.5',
      'stroke rgb(192, 192, 192) 1',
      'rect rgb(255, 128, 0) 59.5 99.5 2 2',
      'text true t (s) 340 215',
      'text false 20 345 215',
    ]);
  });

  test('a replay from the middle draws only what follows', () => {
    const { ctx, calls } = recorder();
    const buffer = [Draw.Point, 1, 1, 0, 1, Draw.Point, 5, 6, 0, 3];
    expect(replayGraph(ctx, buffer, 5, () => '')).toBe(10);
    expect(calls).toEqual(['rect rgb(0, 0, 0) 4 5 3 3']);
  });

  test('an unknown command stops the replay', () => {
    const { ctx } = recorder();
    expect(() => replayGraph(ctx, [9, 0, 0], 0, () => '')).toThrow(/unknown/);
  });
});

test('the shading paints white, then each outline over it', () => {
  const { ctx, calls } = recorder();
  paintShading(ctx, 393, 157, [
    { x: 0, y: 0, width: 393, height: 157, colour: 0x6496cd },
    { x: 1, y: 0, width: 391, height: 157, colour: 0x6597ce },
  ]);
  expect(calls).toEqual([
    'rect rgb(255, 255, 255) 0 0 393 157',
    'outline rgb(205, 150, 100) 0.5 0.5 393 157',
    'outline rgb(206, 151, 101) 1.5 0.5 391 157',
  ]);
});

test("the window's strokes are painted with both ends, the shading left in place", () => {
  const { ctx, calls } = recorder();
  paintStrokes(
    ctx,
    [
      { x1: 0, y1: 5, x2: 800, y2: 5, colour: 0xffffff, fill: false, shading: true },
      { x1: 20, y1: 59, x2: 20, y2: 216, colour: 0x870000, fill: false, shading: false },
      { x1: 30, y1: 40, x2: 10, y2: 50, colour: 0, fill: true, shading: false },
    ],
    (x, y) => ({ x, y: y + 100 }),
  );
  expect(calls).toEqual([
    'rect rgb(255, 255, 255) 0 5 801 1',
    'rect rgb(0, 0, 135) 20 159 1 158',
    'rect rgb(0, 0, 0) 10 140 21 11',
  ]);
});

import { describe, expect, test } from 'vitest';
import { designSize, fitScale, isPortrait, portraitRect } from '../../src/layout';

describe('the design fitted to the browser window', () => {
  test.each([
    [800, 600, 1],
    [1600, 1200, 2],
    [1600, 600, 1],
    [400, 900, 0.5],
    [0, 600, 1], // no room: nothing sensible to scale to
  ])('%i x %i', (width, height, scale) => {
    expect(fitScale(width, height, { width: 800, height: 600 })).toBe(scale);
  });

  test('portrait is taller than wide', () => {
    expect(isPortrait(600, 800)).toBe(true);
    expect(isPortrait(800, 600)).toBe(false);
    expect(isPortrait(700, 700)).toBe(false);
  });
});

describe('portrait: the strip and the text area under the vessel and the graph', () => {
  const size = designSize(true, 800, 600);
  const cases: [string, { x: number; y: number; width: number; height: number }, number][] = [
    ['first command', { x: 20, y: 12, width: 101, height: 25 }, 0],
    ['fifth command, second row', { x: 468, y: 12, width: 101, height: 25 }, 4],
    ['the vessel', { x: 20, y: 59, width: 393, height: 157 }, -1],
    ['the graph', { x: 8, y: 312, width: 413, height: 235 }, -1],
    ['the tab strip', { x: 432, y: 48, width: 361, height: 177 }, -1],
    ['the text area', { x: 432, y: 256, width: 358, height: 288 }, -1],
  ];
  const placed = new Map(cases.map(([name, rect, index]) => [name, portraitRect(rect, index, 600)]));

  test('every control keeps its size and lies inside the folded design', () => {
    for (const [name, rect] of cases) {
      const p = placed.get(name)!;
      expect([p.width, p.height], name).toEqual([rect.width, rect.height]);
      expect(p.x, name).toBeGreaterThanOrEqual(0);
      expect(p.x + p.width, name).toBeLessThanOrEqual(size.width);
      expect(p.y + p.height, name).toBeLessThanOrEqual(size.height);
    }
  });

  test('the commands take two rows above the vessel', () => {
    const first = placed.get('first command')!;
    const fifth = placed.get('fifth command, second row')!;
    expect(fifth.x).toBe(first.x);
    expect(fifth.y).toBeGreaterThanOrEqual(first.y + first.height);
    expect(placed.get('the vessel')!.y).toBeGreaterThanOrEqual(fifth.y + fifth.height);
  });

  test('the second column starts below the graph, in the same order', () => {
    const graph = placed.get('the graph')!;
    const strip = placed.get('the tab strip')!;
    const text = placed.get('the text area')!;
    expect(strip.y).toBeGreaterThanOrEqual(graph.y + graph.height);
    expect(text.y - strip.y).toBe(256 - 48);
  });
});

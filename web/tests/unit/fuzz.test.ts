// The robot's own pieces: its generator and the hostile files it drops.
import { readFileSync } from "node:fs";
import { join } from "node:path";
import { describe, expect, it } from "vitest";
import { hostileFile, kHostileKinds, kStartRecords, randomFrom, recordFile } from "../../src/fuzz";

const corpus = join(__dirname, "../../../fuzz/corpus/records");
const base = new Uint8Array(readFileSync(join(corpus, "default.C11")));

describe("the robot's generator", () => {
  it("replays a seed and stays within [0, 1)", () => {
    const a = randomFrom(42);
    const b = randomFrom(42);
    const c = randomFrom(43);
    const first = Array.from({ length: 1000 }, () => a());
    expect(Array.from({ length: 1000 }, () => b())).toEqual(first);
    expect(Array.from({ length: 1000 }, () => c())).not.toEqual(first);
    expect(first.every((x) => x >= 0 && x < 1)).toBe(true);
    // Spread over the whole range, not stuck in a corner.
    expect(Math.min(...first)).toBeLessThan(0.05);
    expect(Math.max(...first)).toBeGreaterThan(0.95);
  });

  it("gives a usable sequence from the seed 0", () => {
    const r = randomFrom(0);
    const values = new Set(Array.from({ length: 100 }, () => r()));
    expect(values.size).toBe(100);
  });
});

describe("the files it drops", () => {
  it("starts from the very bytes of the fuzzing corpus's start-up configuration", () => {
    expect(kStartRecords).toHaveLength(22);
    expect(recordFile(kStartRecords)).toEqual(base);
  });

  const lengthOf = (bytes: Uint8Array, record: number) => bytes[record * 128] | (bytes[record * 128 + 1] << 8);

  it.each([
    ["huge", (b: Uint8Array) => b.length >= 8 * 1024 * 1024],
    ["truncated", (b: Uint8Array) => b.length < base.length],
    ["signature", (b: Uint8Array) => b.length === base.length && b.slice(128).every((x, i) => x === base[128 + i]) && b.slice(2, 9).some((x, i) => x !== base[2 + i])],
    ["binary", (b: Uint8Array) => b.length > 0],
    ["lengths", (b: Uint8Array) => Array.from({ length: 22 }, (_, r) => lengthOf(b, r)).some((n, r) => n !== lengthOf(base, r))],
    ["values", (b: Uint8Array) => b.length === base.length && b.some((x, i) => x !== base[i])],
    ["valid", (b: Uint8Array) => b.every((x, i) => x === base[i]) && b.length === base.length],
  ] as const)("%s", (kind, holds) => {
    expect(kHostileKinds).toContain(kind);
    for (let seed = 1; seed <= (kind === "huge" ? 2 : 40); ++seed) {
      expect(holds(hostileFile(kind, randomFrom(seed))), `graine ${seed}`).toBe(true);
    }
  });
});

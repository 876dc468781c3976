// `?graine=N`: every restart seeds the generator again with N, so that a run
// of the page is the batch program's run of the same file and seed.

/** The seed the address asks for, or null: a whole number from 0 to 2^32 - 1. */
export function seedFromAddress(search: string): number | null {
  const text = new URLSearchParams(search).get('graine');
  if (text === null || !/^\d{1,10}$/.test(text.trim())) return null;
  const seed = Number(text.trim());
  return seed <= 0xffffffff ? seed : null;
}

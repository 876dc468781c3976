// The page's end-to-end tests in Debian's Chromium: node's own test runner
// over every *.test.mjs here.
import { run } from 'node:test';
import { tap } from 'node:test/reporters';
import { readdirSync } from 'node:fs';
import { fileURLToPath } from 'node:url';

const here = fileURLToPath(new URL('.', import.meta.url));
const files = readdirSync(here)
  .filter((name) => name.endsWith('.test.mjs'))
  .map((name) => here + name);
let failed = false;
const stream = run({ files, concurrency: 1, timeout: 240_000 });
stream.on('test:fail', () => {
  failed = true;
});
stream.compose(tap).pipe(process.stdout);
stream.on('end', () => {
  process.exitCode = failed ? 1 : 0;
});

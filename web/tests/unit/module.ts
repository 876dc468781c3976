// The module the page carries, loaded as Node loads a script: tests read the
// program's own texts and limits from it rather than writing them again.
import { createRequire } from 'node:module';
import { resolve } from 'node:path';

const require = createRequire(import.meta.url);
const file = process.env.MOLVANE_MODULE ?? resolve(__dirname, '../../../build/wasm/web/molvane_web.js');

export async function loadModule<T>(): Promise<T> {
  const create = require(file) as () => Promise<T>;
  return create();
}

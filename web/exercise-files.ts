// The exercises the program ships, taken into the page at build time: every
// file the course build lists in its manifest (exercise files, their
// statements, corrections and configurations, the getting-started file),
// named relative to the program's folder. A manifest or a file that is
// missing fails the build rather than shipping a page without exercises.
import { existsSync, readFileSync } from 'node:fs';
import { join, resolve } from 'node:path';
import { gzipSync } from 'node:zlib';
import type { Plugin } from 'vite';

export interface ShippedFile {
  /** Relative to the program's folder, "/" between folders. */
  name: string;
  /** The file's bytes gzipped, base64: the documents take a third of the room. */
  data: string;
}

/** The files a manifest lists (one name a line), read from the program's folder. */
export function shippedFiles(folder: string, manifest: string): ShippedFile[] {
  if (!existsSync(manifest))
    throw new Error(
      `No list of the shipped exercises at ${manifest}: build the course first (make build), ` +
        'or set MOLVANE_EXERCISES to the program folder of a native build',
    );
  const names = readFileSync(manifest, 'utf8')
    .split(/\r?\n/)
    .map((line) => line.trim())
    .filter((line) => line !== '');
  return names.map((name) => {
    const path = join(folder, name);
    if (!existsSync(path)) throw new Error(`The shipped exercise file ${path} is missing`);
    return { name, data: gzipSync(readFileSync(path), { level: 9 }).toString('base64') };
  });
}

/**
 * `virtual:molvane-exercises`: the shipped files. MOLVANE_EXERCISES names the
 * program's folder of a native build (the Makefile's by default) and
 * MOLVANE_EXERCISE_LIST its manifest (beside it in course/ by default).
 */
export function exerciseFiles(webFolder: string): Plugin {
  const id = 'virtual:molvane-exercises';
  const folder = process.env.MOLVANE_EXERCISES ?? resolve(webFolder, '../build/bin');
  const manifest = process.env.MOLVANE_EXERCISE_LIST ?? resolve(folder, '../course/shipped.txt');
  return {
    name: 'molvane-exercises',
    resolveId: (source) => (source === id ? '\0' + id : null),
    load(loaded) {
      if (loaded !== '\0' + id) return null;
      this.addWatchFile(manifest);
      return `export default ${JSON.stringify(shippedFiles(folder, manifest))};\n`;
    },
  };
}

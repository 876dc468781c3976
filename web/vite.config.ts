// One self-contained page: the WebAssembly module (itself carrying the module
// as base64), the scripts and the styles all inside molvane.html, which asks
// nothing of any network.
import { readFileSync, renameSync } from 'node:fs';
import { resolve } from 'node:path';
import type { Plugin } from 'vite';
import { defineConfig } from 'vitest/config';
import { viteSingleFile } from 'vite-plugin-singlefile';
import { exerciseFiles } from './exercise-files';
import { molvaneHelp } from './help-pages';

// The module as Emscripten writes it (a script defining createMolvane), made
// an ES module. MOLVANE_MODULE names it; the Makefile's build by default.
function molvaneModule(): Plugin {
  const id = 'virtual:molvane-module';
  const file = process.env.MOLVANE_MODULE ?? resolve(__dirname, '../build/wasm/web/molvane_web.js');
  return {
    name: 'molvane-module',
    resolveId: (source) => (source === id ? '\0' + id : null),
    load(loaded) {
      if (loaded !== '\0' + id) return null;
      this.addWatchFile(file);
      return `${readFileSync(file, 'utf8')}\nexport default createMolvane;\n`;
    },
  };
}

// Vite names the page after its source, index.html: the file ships as molvane.html.
function shipAs(name: string, outDir: string): Plugin {
  return {
    name: 'ship-as',
    apply: 'build',
    closeBundle: () => renameSync(resolve(outDir, 'index.html'), resolve(outDir, name)),
  };
}

const outDir = process.env.MOLVANE_WEB_OUT ?? resolve(__dirname, '../build/web');

export default defineConfig({
  root: __dirname,
  base: './',
  plugins: [molvaneModule(), molvaneHelp(), exerciseFiles(__dirname), viteSingleFile(), shipAs('molvane.html', outDir)],
  build: {
    outDir,
    emptyOutDir: true,
    modulePreload: { polyfill: false },
    assetsInlineLimit: Number.MAX_SAFE_INTEGER,
  },
  test: {
    include: ['tests/unit/**/*.test.ts'],
    environment: 'jsdom',
  },
});

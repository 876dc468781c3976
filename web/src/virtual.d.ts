// The module Emscripten writes, made an ES module by vite.config.ts.
declare module 'virtual:molvane-module' {
  const createMolvane: (options?: object) => Promise<unknown>;
  export default createMolvane;
}

// The exercises the program ships, from web/exercise-files.ts.
declare module 'virtual:molvane-exercises' {
  const files: import('../exercise-files').ShippedFile[];
  export default files;
}

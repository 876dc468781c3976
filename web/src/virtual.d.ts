// The module Emscripten writes, made an ES module by vite.config.ts.
declare module 'virtual:molvane-module' {
  const createMolvane: (options?: object) => Promise<unknown>;
  export default createMolvane;
}

declare module "virtual:molvane-help" {
  const book: import("../help-pages").HelpBook;
  export default book;
}

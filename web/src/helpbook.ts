// The help pages as the build took them in (see help-pages.ts).
import book from "virtual:molvane-help";

export default book;

// Qt's own texts in French: the colour, file and print dialogs, the menus of
// text boxes and scroll bars, the standard buttons.
//
//     QApplication app(argc, argv);
//     installFrenchTranslation();
//
// Call it once, after the application object exists and before any window;
// the program and the widget tests both do. It holds whatever the system's
// language. Numbers keep the user's own decimal separator: only Qt's texts
// change, not the locale. False when Qt's French translation is not found.
#pragma once

namespace molvane {

bool installFrenchTranslation();

}  // namespace molvane

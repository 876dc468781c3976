// Qt's printer dialog, finished in French for every pupil: the few texts
// Qt's translation leaves in English, and names for the controls a screen
// reader would otherwise read as nothing or as "...".
#pragma once

class QPrintDialog;

namespace molvane {

// Call once the dialog is made, before it shows.
void finishPrinterDialog(QPrintDialog& dialog);

}  // namespace molvane

// The introduction to the simulator, shown in the main window's text area
// whenever no exercise is open.
#pragma once

class QTextEdit;

namespace molvane {

// Rebuilds the introduction in the text box from an empty document: a centred
// blue title, then indented paragraphs with a few words in blue. The box is
// left read-only with the caret at the start.
void intro(QTextEdit& supertext);

}  // namespace molvane

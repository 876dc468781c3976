// Printing the text area: "Imprimer le contenu de la fenêtre exercice".
#pragma once

#include <memory>

class QPrinter;
class QTextDocument;
class QTextEdit;
class QWidget;

namespace molvane {

// Qt's printer dialog, then the selection when there is one, else the whole
// text, with its formatting and pictures. Cancel prints nothing. Without a
// printer, or when the printer fails, the text goes into a PDF file instead.
void printText(QWidget* parent, const QTextEdit& text, QPrinter& printer);

// The selected part of the text as a document of its own, pictures
// included; null when nothing is selected.
std::unique_ptr<QTextDocument> selectionDocument(const QTextEdit& text);

}  // namespace molvane

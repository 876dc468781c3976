// How a screen reader reads the text area: its document's text with each
// picture said as its description, where Qt would give the object character
// (« caractère de remplacement d'objet »). Offsets count the text as read,
// descriptions included; the caret and the changes Qt announces are told in
// those offsets, and a caret put inside a description goes to its picture.
#pragma once

#include <QString>

class QTextEdit;

namespace molvane {

// From now on box reads this way.
void readPicturesAsDescribed(QTextEdit* box);

// What a picture without a description is read as.
QString undescribedPicture();

}  // namespace molvane

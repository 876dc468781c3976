// The exercise window's pictures, drawn here at the size asked for.
#pragma once

#include <QPixmap>

namespace molvane {

// `ouvreur`: a sheet with a green arrow going into it.
QPixmap openPicture(int size);
// `Image5`: a red disc with a white cross.
QPixmap closePicture(int size);
// One difficulty symbol, a flask: filled with a bright orange liquid when lit
// (`Imagalu`), empty and grey when dark (`Imagenoir`).
QPixmap difficultyPicture(bool lit, int size);

}  // namespace molvane

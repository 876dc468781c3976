// RTF measures in twips (1/1440 inch); Qt text layout in pixels at 96 per inch.
#pragma once

#include <cmath>

#include "common/units.h"

namespace molvane::rtf {

inline double twipsToPixels(int twips) {
    return twips / static_cast<double>(kTwipsPerPixel);
}
inline int pixelsToTwips(double pixels) {
    return static_cast<int>(std::lround(twipsFromPixels(pixels)));
}

}  // namespace molvane::rtf

// RTF measures in twips (1/1440 inch); Qt text layout in pixels at 96 per inch.
#pragma once

#include <cmath>

namespace molvane::rtf {

inline constexpr double kTwipsPerPixel = 15.0;

inline double twipsToPixels(int twips) {
    return twips / kTwipsPerPixel;
}
inline int pixelsToTwips(double pixels) {
    return static_cast<int>(std::lround(pixels * kTwipsPerPixel));
}

}  // namespace molvane::rtf

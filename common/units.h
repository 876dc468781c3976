// Window and printer geometry is measured in twips, a twentieth of a
// printer's point; the windows draw in pixels, 15 twips each.
#pragma once

#include <cmath>

namespace molvane {

inline constexpr int kTwipsPerPixel = 15;

constexpr double twipsFromPixels(double pixels) {
    return pixels * kTwipsPerPixel;
}
inline int pixelsFromTwips(double twips) {
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

}  // namespace molvane

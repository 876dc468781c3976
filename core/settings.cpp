#include "core/settings.h"

#include <algorithm>
#include <cmath>

#include "common/numbers.h"
#include "core/simulation.h"

namespace molvane {

std::optional<int> durationSeconds(int position) {
    static constexpr std::array<int, 12> kSeconds = {7200, 3600, 1800, 1200, 600, 300,
                                                     120,  90,   60,   30,   20,  10};
    if (position < 1 || position > 12) return std::nullopt;
    return kSeconds[static_cast<std::size_t>(position - 1)];
}

std::string durationLabel(double seconds) {
    if (seconds < 60) return numberText(seconds) + " s";
    if (seconds < 3600) {
        const double minutes = std::floor(seconds / 60);
        const double rest = seconds - 60 * minutes;
        if (rest == 0) return numberText(minutes) + " min";
        return numberText(minutes) + " min " + numberText(rest, true) + " s";
    }
    return numberText(seconds / 3600) + " h";
}

CountCheck checkCount(const std::array<std::string, 4>& boxes, int i) {
    CountCheck check;
    double others = 0;
    for (int s = 0; s < 4; ++s)
        if (s != i) others += leadingNumber(boxes[s]);
    double value = leadingNumber(boxes[i]);
    // A total that no 32-bit count holds (a long run of digits) is above
    // the limit like any other.
    const auto total = roundToInt32(others + value);
    if (!total || *total > kMaxParticles) {
        check.limit = CountLimit::TooMany;
        value = std::max(0.0, kMaxParticles - others);
    } else if (*total < kMinParticles) {
        check.limit = CountLimit::TooFew;
        value = std::max(0.0, kMinParticles - others);
    }
    check.text = numberText(value);
    return check;
}

int typedPercentage(const std::string& text) {
    // Clamped before rounding, so that a long run of digits still means 100 %.
    const double v = std::clamp(leadingNumber(text), 0.0, 100.0);
    return roundToInt16(v).value_or(0);
}

std::string percentLabel(int percent) {
    return numberText(percent) + " %";
}

int startDurationPosition() {
    const double seconds = leadingNumber(Parameters{}.durationTag);
    for (int position = kDurationBar.lowest; position <= kDurationBar.highest; ++position)
        if (durationSeconds(position) == seconds) return position;
    return kDurationBar.highest;
}

}  // namespace molvane

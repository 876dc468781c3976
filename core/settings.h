// The rules of the parameter and settings panels, free of widgets: the
// recording durations and their labels, the check of the initial counts, the
// percentages of effective collisions as typed and as their bars hold them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace molvane {

// The ranges of the panels' bars: a position outside is refused, from the
// user and from a file alike.
struct BarRange {
    int lowest, highest;
    constexpr bool holds(int position) const { return position >= lowest && position <= highest; }
};
inline constexpr BarRange kPercentBar{0, 100};        // VScroll4(0..1)
inline constexpr BarRange kTemperatureBar{200, 800};  // HScroll1
inline constexpr BarRange kDurationBar{1, 12};        // VScroll2
inline constexpr BarRange kRowsBar{10, 100};          // VScroll3

// A colour swatch holds plain RGB (0x00BBGGRR) or one of the 25 system
// colours, stored as 0x80000000 + their index.
inline constexpr std::uint32_t kSystemColour = 0x80000000u;
inline constexpr int kSystemColours = 25;
constexpr bool isSwatchColour(std::int64_t value) {
    if (value >= 0 && value <= 0xFFFFFF) return true;
    const std::int64_t index = value - static_cast<std::int32_t>(kSystemColour);
    return value < 0 && index >= 0 && index < kSystemColours;
}

inline constexpr int kMinParticles = 10;
inline constexpr int kMaxParticles = 1000;
inline constexpr const char* kCountTitle = "Dépassement de capacité";
inline constexpr const char* kTooManyText = "Le nombre total de particules ne peut être supérieur à 1 000";
inline constexpr const char* kTooFewText = "Le nombre total de particules ne peut être inférieur à 10";

// Recording duration in seconds for a position of the duration bar (1 to 12).
std::optional<int> durationSeconds(int position);
// "20 s", "2 min", "1 min  30 s", "2 h".
std::string durationLabel(double seconds);
// The duration bar's position for the start duration (20 s), where every
// front-end puts it when its window starts.
int startDurationPosition();

enum class CountLimit { None, TooMany, TooFew };

struct CountCheck {
    CountLimit limit = CountLimit::None;  // which message to show first, if any
    std::string text;                     // the box's new text
};

// Checks box i of the four initial-count boxes when it is left: a total over
// 1 000 or under 10 is brought back by changing box i (never below 0), and the
// box is rewritten as a plain number ("" becomes "0", "007" becomes "7").
CountCheck checkCount(const std::array<std::string, 4>& boxes, int i);

// The percentage a typed text asks for, 0 to 100 ("75 %" gives 75).
int typedPercentage(const std::string& text);

// The bars of the two percentages `VScroll4` run downwards: the top
// (position 0) is 100 % of effective collisions.
constexpr int percentAt(int barPosition) {
    return 100 - barPosition;
}
constexpr int percentBarPosition(int percent) {
    return 100 - percent;
}
// "50 %", as the percentage boxes show it.
std::string percentLabel(int percent);

}  // namespace molvane

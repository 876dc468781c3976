#include "core/presentation.h"

#include <algorithm>
#include <cmath>

#include "common/numbers.h"

namespace molvane {

std::string countText(int count) {
    return numberText(count);
}

void writeClock(std::string& out, double t, char decimalSeparator) {
    const double h = std::floor(t / 3600.0);
    const double rest = t - 3600.0 * h;
    const double m = std::floor(rest / 60.0);
    const double s = rest - 60.0 * m;
    out.clear();
    out += formatPicture(h, "00", decimalSeparator);
    out += " h ";
    out += formatPicture(m, "00", decimalSeparator);
    out += " min ";
    out += formatPicture(s, "00.0", decimalSeparator);
    out += " s";
}

std::string clockText(double t, char decimalSeparator) {
    std::string out;
    writeClock(out, t, decimalSeparator);
    return out;
}

void writePanelTexts(PanelTexts& texts, const std::array<int, 4>& counts, double t, char decimalSeparator) {
    for (int s = 0; s < 4; ++s) texts.labelinf[s] = countText(counts[s]);
    writeClock(texts.label1, t, decimalSeparator);
}

std::string qrText(double qr, char decimalSeparator) {
    return formatPicture(qr, qr > 1000.0 ? "0.##E+00" : "####0.0###", decimalSeparator);
}

std::string rowTimeText(double t, char decimalSeparator) {
    return formatPicture(t, "# ### ##0.0", decimalSeparator) + "      ";
}

std::string tickTimeText(double t, char decimalSeparator) {
    return formatPicture(t, "### ##0.0", decimalSeparator);
}

double graphX(double t, double duration) {
    return kGraphLeft + kGraphWidth * t / duration;
}

double graphY(double count, double maximum) {
    return kGraphBottom - count / maximum * kGraphHeight;
}

double sliceX(int slice) {
    return kGraphLeft + kGraphWidth / kSlices * slice;
}

int graphMaximum(const std::array<double, 4>& n0) {
    const double a = n0[0], b = n0[1], c = n0[2], d = n0[3];
    int maximum = 0;
    for (double candidate :
         {a + std::min(c, d), b + std::min(c, d), c + std::min(a, b), d + std::min(a, b)}) {
        if (auto rounded = roundToInt16(candidate); rounded && *rounded > maximum) maximum = *rounded;
    }
    return maximum;
}

GraphFrame graphFrame(double duration, int maximum) {
    GraphFrame frame;
    // Ten time intervals over a whole number of seconds, labels centred
    // under the time axis.
    if (const auto whole = roundToInt32(duration); whole && *whole > 0) {
        const double d = *whole;
        for (int mark = 0; mark <= 10; ++mark) {
            const double t = d * mark / 10.0;
            const double x = kGraphLeft + kGraphWidth * t / d;
            frame.timeMarks.push_back({{x, kGraphTop, x, kGraphBottom},
                                       {x, kGraphBottom + 1.0, TextAnchor::Centre, numberText(t)}});
        }
    }
    // Counts every fifth of the maximum (every unit below 5), labels ending
    // left of the count axis and lying a little above their line.
    if (maximum > 0) {
        const double top = maximum;
        const int step = std::max(1, maximum / 5);
        for (int n = 0; n <= maximum; n += step) {
            const double y = kGraphBottom - kGraphHeight * n / top;
            frame.countMarks.push_back(
                {{kGraphLeft, y, kGraphRight, y}, {45.0, y - 6.0, TextAnchor::Right, numberText(n)}});
        }
    }
    // The count axis rises above the rectangle to an arrow; the time axis
    // runs past it to the right to another.
    constexpr double kArrowTip = -6.0, kTimeEnd = 380.0;
    frame.axes = {{
        {kGraphLeft, kArrowTip, kGraphLeft, kGraphBottom},
        {kGraphLeft, kArrowTip, kGraphLeft - 3.0, kArrowTip + 6.0},
        {kGraphLeft, kArrowTip, kGraphLeft + 3.0, kArrowTip + 6.0},
        {kGraphLeft, kGraphBottom, kTimeEnd, kGraphBottom},
        {kTimeEnd - 6.0, kGraphBottom - 3.0, kTimeEnd, kGraphBottom},
        {kTimeEnd - 6.0, kGraphBottom + 3.0, kTimeEnd, kGraphBottom},
    }};
    frame.titles = {{
        {370.0, 190.0, TextAnchor::Left, "t ", true, false},
        {0.0, 190.0, TextAnchor::Left, "(s)", false, true},
        {kGraphLeft + 5.0, kArrowTip - 1.0, TextAnchor::Left, "Nombre de particules ", false, false},
    }};
    return frame;
}

std::optional<bool> effacerShown(int maximum, bool keptCurvesShown) {
    if (maximum <= 0) return std::nullopt;
    return keptCurvesShown;
}

std::vector<ShadingRing> vesselShadingRings(int width, int height) {
    std::vector<ShadingRing> rings;
    if (width <= 0 || height <= 0) return rings;
    const double half = width / 2.0;
    const auto round16 = [](double v) { return static_cast<int>(roundToInt16(v).value_or(0)); };
    const int n = round16(half);
    for (int i = 0; i <= n; ++i) {
        const int y = round16(static_cast<double>(height) / width * i);
        // A very narrow vessel rounds n above width / 2: keep the colour valid.
        rings.push_back({i, y, width - 2 * i, height - 2 * y, std::min(round16(205 + 50 * i / half), 255),
                         std::min(round16(150 + 105 * i / half), 255),
                         std::min(round16(100 + 155 * i / half), 255)});
    }
    return rings;
}

namespace {

// Hue (degrees, -1 for none), saturation and lightness (0 to 255) as a
// 16-bit colour model stores them.
struct Hsl {
    int hue, saturation, lightness;
};

int to255(double fraction) {
    const int wide = static_cast<int>(std::lround(fraction * 65535.0));
    return (wide - (wide >> 8) + 0x80) >> 8;
}

Hsl hslOf(std::uint32_t colour) {
    const float r = static_cast<float>(colour & 0xFF) / 255.0f;
    const float g = static_cast<float>((colour >> 8) & 0xFF) / 255.0f;
    const float b = static_cast<float>((colour >> 16) & 0xFF) / 255.0f;
    const float max = std::max({r, g, b}), min = std::min({r, g, b});
    const float delta = max - min, sum = max + min;
    const float lightness = 0.5f * sum;
    if (delta == 0.0f) return {-1, 0, to255(lightness)};
    const float saturation = lightness < 0.5f ? delta / sum : delta / (2.0f - sum);
    float hue = 0.0f;
    if (r == max)
        hue = (g - b) / delta;
    else if (g == max)
        hue = 2.0f + (b - r) / delta;
    else
        hue = 4.0f + (r - g) / delta;
    hue *= 60.0f;
    if (hue < 0.0f) hue += 360.0f;
    return {static_cast<int>(std::lround(hue * 100.0f)) / 100, to255(saturation), to255(lightness)};
}

}  // namespace

std::string colourName(std::uint32_t colour) {
    const Hsl hsl = hslOf(colour);
    const int light = hsl.lightness;
    if (hsl.saturation < 40 || light < 20 || light > 240) {
        if (light < 40) return "noir";
        if (light > 225) return "blanc";
        if (light < 100) return "gris foncé";
        return light > 170 ? "gris clair" : "gris";
    }
    static constexpr struct {
        int upTo;
        const char* name;
    } kHues[] = {{14, "rouge"}, {44, "orange"},  {70, "jaune"},    {160, "vert"}, {195, "cyan"},
                 {255, "bleu"}, {285, "violet"}, {335, "magenta"}, {360, "rouge"}};
    std::string name;
    for (const auto& hue : kHues) {
        if (hsl.hue <= hue.upTo) {
            name = hue.name;
            break;
        }
    }
    if (light < 70) return name + " foncé";
    if (light > 190) return name + " clair";
    return name;
}

}  // namespace molvane

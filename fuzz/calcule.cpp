// Any text through the calculator's evaluator, in radians and in degrees.
// Checked beyond the sanitizers (and libFuzzer's watch on slow inputs): every
// text ends with one of the four codes, and a success leaves a text without
// blanks in which no infinite or undefined value was ever written.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "calc/eval.h"

namespace {

void check(bool holds) {
    if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The display holds far less; longer texts only make the 16-bit steps give up.
    if (size > 1024) return -1;
    const std::string expression(reinterpret_cast<const char*>(data), size);
    // Letters pass through the rewriting: what the input spells proves nothing.
    std::string upper = expression;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    std::erase(upper, ' ');
    const bool spelt = upper.find("INF") != std::string::npos || upper.find("NAN") != std::string::npos;
    for (bool radians : {true, false}) {
        std::string text = expression;
        const std::int16_t code = molvane::calcule(text, radians);
        check(code >= molvane::kCalculOk && code <= molvane::kErreurOperateurs);
        if (code != molvane::kCalculOk) continue;
        check(text.find(' ') == std::string::npos);
        check(spelt || (text.find("INF") == std::string::npos && text.find("NAN") == std::string::npos));
    }
    return 0;
}

// Any text through the calculator's evaluator, in radians and in degrees.
// Checked beyond the sanitizers (and libFuzzer's watch on slow inputs): every
// text ends with one of the four codes, and a success leaves a text without
// blanks. (Letters pass through the rewriting, so a result may spell anything:
// "invNA1N" ends as "INAN"; a value that is not finite is never written, as
// every step refuses it.)
#include <cstdint>
#include <string>

#include "calc/eval.h"
#include "fuzz/check.h"

using molvane::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The display holds far less; longer texts only make the 16-bit steps give up.
    if (size > 1024) return -1;
    const std::string expression(reinterpret_cast<const char*>(data), size);
    for (bool radians : {true, false}) {
        std::string text = expression;
        const std::int16_t code = molvane::calcule(text, radians);
        check(code >= molvane::kCalculOk && code <= molvane::kErreurOperateurs);
        if (code != molvane::kCalculOk) continue;
        check(text.find(' ') == std::string::npos);
    }
    return 0;
}

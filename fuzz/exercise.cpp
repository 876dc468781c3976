// Any bytes as an exercise file: the preview the exercise window shows and the
// records that opening, the correction and the getting-started activity read.
// Checked: the file on disk and the same bytes in memory give the same
// answers; the difficulty lights its symbols from the first one on; the
// title has no surrounding blanks; the hourglass count is never negative;
// "corrected" means the correction's records name something; every text is
// UTF-8 that goes back to its Windows-1252 bytes unchanged.
#include <cstdint>
#include <optional>
#include <string>

#include "common/cp1252.h"
#include "common/numbers.h"
#include "common/recordfile.h"
#include "exercises/exercisefile.h"
#include "fuzz/check.h"
#include "fuzz/fuzzfile.h"

namespace {

using namespace molvane;

using fuzz::check;

void checkText(const std::string& utf8) {
    const Cp1252Text back = utf8ToCp1252(utf8);
    check(back.lossless);
    check(cp1252ToUtf8(back.bytes) == utf8);
}

bool sameDocument(const std::optional<ExerciseDocument>& a, const std::optional<ExerciseDocument>& b) {
    if (a.has_value() != b.has_value()) return false;
    return !a || (a->document == b->document && a->configuration == b->configuration);
}

bool samePreview(const std::optional<ExercisePreview>& a, const std::optional<ExercisePreview>& b) {
    if (a.has_value() != b.has_value()) return false;
    return !a || (a->corrected == b->corrected && a->lit == b->lit && a->topics == b->topics &&
                  a->title == b->title && a->hourglasses == b->hourglasses);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Only records 1 to 12 are read; a longer file adds nothing.
    if (size > 16 * kRecordSize) return -1;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const auto preview = previewExercise(bytes);
    const auto statement = statementOf(bytes);
    const auto correction = correctionOf(bytes);

    const RecordReader fromDisk = exerciseFileReader(fuzz::scratchFileWith(bytes));
    check(samePreview(preview, previewExercise(fromDisk)));
    check(sameDocument(statement, statementOf(fromDisk)));
    check(sameDocument(correction, correctionOf(fromDisk)));

    for (const auto& document : {statement, correction}) {
        if (!document) continue;
        checkText(document->document);
        checkText(document->configuration);
    }
    if (preview) {
        check(!preview->lit[1] || preview->lit[0]);
        check(!preview->lit[2] || preview->lit[1]);
        check(preview->hourglasses >= 0);
        check(trimmed(preview->title) == preview->title);
        checkText(preview->title);
        checkText(preview->topics);
        check(correction.has_value());
        check(preview->corrected == (!isBlank(correction->document) || !isBlank(correction->configuration)));
    }
    return 0;
}

#include "exercises/exercisefile.h"

#include "common/cp1252.h"
#include "common/numbers.h"
#include "common/recordfile.h"

namespace molvane {

namespace {

std::optional<ExerciseDocument> documentOf(const RecordReader& read, int documentRecord) {
    const auto document = read(documentRecord);
    if (!document) return std::nullopt;
    const auto configuration = read(documentRecord + 1);
    if (!configuration) return std::nullopt;
    return ExerciseDocument{cp1252ToUtf8(*document), cp1252ToUtf8(*configuration)};
}

RecordReader inMemory(std::string_view bytes) {
    return [bytes](int n) { return decodeRecord(bytes, n); };
}

}  // namespace

bool isBlank(std::string_view record) {
    return trimmed(record).empty();
}

std::optional<ExercisePreview> previewExercise(const RecordReader& read) {
    const auto correction = read(3);
    if (!correction) return std::nullopt;
    const auto correctionConfiguration = read(4);
    if (!correctionConfiguration) return std::nullopt;

    ExercisePreview preview;
    preview.corrected = !isBlank(*correction) || !isBlank(*correctionConfiguration);

    const double level = leadingNumber(read(5).value_or(""));
    for (int k = 0; k < 3; ++k) preview.lit[k] = level > k;

    for (int n = 7; n <= 10; ++n) {
        const std::string piece = read(n).value_or("");
        if (!isBlank(piece)) preview.topics += cp1252ToUtf8(piece);
    }
    preview.title = cp1252ToUtf8(trimmed(read(11).value_or("")));

    // A count beyond a 16-bit integer is refused, as the window's box would.
    const auto count = roundToInt16(leadingNumber(read(12).value_or("")));
    preview.hourglasses = count && *count >= 1 ? *count : 0;
    return preview;
}

std::optional<ExerciseDocument> statementOf(const RecordReader& read) {
    return documentOf(read, 1);
}

std::optional<ExerciseDocument> correctionOf(const RecordReader& read) {
    return documentOf(read, 3);
}

std::optional<ExercisePreview> previewExercise(std::string_view bytes) {
    return previewExercise(inMemory(bytes));
}

std::optional<ExerciseDocument> statementOf(std::string_view bytes) {
    return statementOf(inMemory(bytes));
}

std::optional<ExerciseDocument> correctionOf(std::string_view bytes) {
    return correctionOf(inMemory(bytes));
}

RecordReader exerciseFileReader(const std::filesystem::path& path) {
    // One read of the whole exercise, as the window opens and closes the file
    // once: every record comes from the same state of the file.
    constexpr std::size_t kExerciseBytes = kExerciseRecords * kRecordSize;
    FileBytes file = readRegularFile(path, kExerciseBytes, false);
    if (file.status != FileRead::Ok) return [](int) { return std::optional<std::string>(); };
    return [bytes = std::move(file.bytes)](int n) -> std::optional<std::string> {
        if (n < 1 || n > kExerciseRecords) return std::nullopt;
        return decodeRecord(bytes, n);
    };
}

}  // namespace molvane

#include "exercises/exercisefile.h"

#include <algorithm>

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

bool isExerciseFileName(std::string_view name) {
    constexpr std::string_view kExtension = ".e32";
    if (name.size() <= kExtension.size()) return false;
    const std::string_view end = name.substr(name.size() - kExtension.size());
    return std::equal(end.begin(), end.end(), kExtension.begin(),
                      [](char a, char b) { return (a >= 'A' && a <= 'Z' ? a - 'A' + 'a' : a) == b; });
}

int storedNameMatch(std::string_view stored, const std::vector<std::string>& names) {
    std::string wanted(stored);
    std::replace(wanted.begin(), wanted.end(), '\\', '/');
    const auto folded = [](std::string text) {
        // Letters beyond ASCII are compared as written.
        for (char& c : text)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return text;
    };
    int caseless = -1;
    const std::string wantedFolded = folded(wanted);
    for (std::size_t k = 0; k < names.size(); ++k) {
        if (names[k] == wanted) return static_cast<int>(k);
        if (caseless < 0 && folded(names[k]) == wantedFolded) caseless = static_cast<int>(k);
    }
    return caseless;
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

namespace {

// Length of the UTF-8 sequence starting with this byte (1 for a stray byte).
std::size_t sequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead < 0xF8) return 4;
    if (lead >= 0xE0) return lead < 0xF0 ? 3 : 1;
    if (lead >= 0xC0) return 2;
    return 1;
}

template <typename Each>
void eachCharacter(std::string_view utf8, Each each) {
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t n = std::min(sequenceLength(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
        if (!each(utf8.substr(i, n))) return;
        i += n;
    }
}

ExerciseRefusal refused(ExerciseField field, ExerciseRefusal::Reason reason) {
    ExerciseRefusal refusal;
    refusal.field = field;
    refusal.reason = reason;
    return refusal;
}

// A text as one record: its bytes, or why it cannot be one.
std::optional<ExerciseRefusal> recordText(std::string_view utf8, ExerciseField field, std::string& out) {
    if (const std::string c = firstCharacterOutsideCp1252(utf8); !c.empty()) {
        ExerciseRefusal refusal = refused(field, ExerciseRefusal::Reason::NotWritable);
        refusal.character = c;
        return refusal;
    }
    Cp1252Text text = utf8ToCp1252(utf8);
    if (text.bytes.size() > kRecordValueMax) {
        ExerciseRefusal refusal = refused(field, ExerciseRefusal::Reason::TooLong);
        refusal.length = text.bytes.size();
        refusal.limit = kRecordValueMax;
        return refusal;
    }
    out = std::move(text.bytes);
    return std::nullopt;
}

}  // namespace

std::size_t characterCount(std::string_view utf8) {
    std::size_t count = 0;
    eachCharacter(utf8, [&](std::string_view) { return ++count, true; });
    return count;
}

std::string firstCharacterOutsideCp1252(std::string_view utf8) {
    std::string found;
    eachCharacter(utf8, [&](std::string_view c) {
        if (utf8ToCp1252(c).lossless) return true;
        found = c;
        return false;
    });
    return found;
}

std::optional<std::vector<std::string>> topicPieces(std::string_view topics) {
    const Cp1252Text text = utf8ToCp1252(topics);
    if (!text.lossless || isBlank(text.bytes)) return std::nullopt;
    std::vector<std::string> pieces;
    std::string_view rest = text.bytes;
    while (!rest.empty()) {
        if (pieces.size() == kTopicRecords) return std::nullopt;
        std::size_t cut = rest.size();
        if (cut > kRecordValueMax) {
            // the last blank that fits stays at the end of its piece
            const std::size_t blank = rest.substr(0, kRecordValueMax).find_last_of(' ');
            cut = blank == std::string_view::npos ? kRecordValueMax : blank + 1;
        }
        pieces.emplace_back(rest.substr(0, cut));
        rest.remove_prefix(cut);
    }
    // The preview skips blank pieces: a text that a blank piece would shorten is refused.
    std::string joined;
    for (const std::string& piece : pieces)
        if (!isBlank(piece)) joined += piece;
    if (joined != text.bytes) return std::nullopt;
    return pieces;
}

ExerciseRecords exerciseFileRecords(const ExerciseFields& fields) {
    using Reason = ExerciseRefusal::Reason;
    ExerciseRecords out;
    std::vector<std::string> records(kExerciseRecords);
    const auto refuse = [&](ExerciseRefusal refusal) {
        out.refusal = std::move(refusal);
        return out;
    };

    const std::string_view title = trimmed(fields.title);
    if (title.empty()) return refuse(refused(ExerciseField::Title, Reason::Missing));
    if (auto refusal = recordText(title, ExerciseField::Title, records[10])) return refuse(*refusal);

    if (!isBlank(fields.topics)) {
        if (const std::string c = firstCharacterOutsideCp1252(fields.topics); !c.empty()) {
            ExerciseRefusal refusal = refused(ExerciseField::Topics, Reason::NotWritable);
            refusal.character = c;
            return refuse(refusal);
        }
        const auto pieces = topicPieces(fields.topics);
        if (!pieces) {
            ExerciseRefusal refusal = refused(ExerciseField::Topics, Reason::TooLong);
            refusal.length = characterCount(fields.topics);
            refusal.limit = kTopicRecords * kRecordValueMax;
            return refuse(refusal);
        }
        std::copy(pieces->begin(), pieces->end(), records.begin() + 6);
    }

    if (fields.difficulty < 0 || fields.difficulty > kMostDifficulty)
        return refuse(refused(ExerciseField::Difficulty, Reason::OutOfRange));
    records[4] = std::to_string(fields.difficulty);
    if (fields.hourglasses < kFewestHourglasses || fields.hourglasses > kMostHourglasses)
        return refuse(refused(ExerciseField::Hourglasses, Reason::OutOfRange));
    records[11] = std::to_string(fields.hourglasses);

    if (isBlank(fields.statement)) return refuse(refused(ExerciseField::Statement, Reason::Missing));
    const std::array<std::pair<const std::string*, ExerciseField>, 4> names{{
        {&fields.statement, ExerciseField::Statement},
        {&fields.configuration, ExerciseField::Configuration},
        {&fields.correction, ExerciseField::Correction},
        {&fields.correctionConfiguration, ExerciseField::CorrectionConfiguration},
    }};
    for (std::size_t k = 0; k < names.size(); ++k)
        if (auto refusal = recordText(*names[k].first, names[k].second, records[k])) return refuse(*refusal);

    out.records = std::move(records);
    return out;
}

std::optional<std::string> exerciseFileBytes(const ExerciseFields& fields) {
    const ExerciseRecords written = exerciseFileRecords(fields);
    if (written.refusal) return std::nullopt;
    return encodeRecords(written.records);
}

std::optional<ExerciseFields> exerciseFields(const RecordReader& read) {
    const auto statement = statementOf(read);
    const auto correction = correctionOf(read);
    if (!statement || !correction) return std::nullopt;
    ExerciseFields fields;
    fields.statement = statement->document;
    fields.configuration = statement->configuration;
    fields.correction = correction->document;
    fields.correctionConfiguration = correction->configuration;
    // A blank name opens nothing: it is shown as none.
    for (std::string* name :
         {&fields.statement, &fields.configuration, &fields.correction, &fields.correctionConfiguration})
        if (isBlank(*name)) name->clear();

    const auto level = roundToInt16(leadingNumber(read(5).value_or("")));
    fields.difficulty = std::clamp(static_cast<int>(level.value_or(0)), 0, kMostDifficulty);
    for (int n = 7; n <= 10; ++n) {
        const std::string piece = read(n).value_or("");
        if (!isBlank(piece)) fields.topics += cp1252ToUtf8(piece);
    }
    fields.title = cp1252ToUtf8(trimmed(read(11).value_or("")));
    const auto count = roundToInt16(leadingNumber(read(12).value_or("")));
    fields.hourglasses = std::clamp(static_cast<int>(count.value_or(kFewestHourglasses)), kFewestHourglasses,
                                    kMostHourglasses);
    return fields;
}

}  // namespace molvane

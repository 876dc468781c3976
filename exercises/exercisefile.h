// Exercise files (".E32") and the getting-started file "molvane.PEM": record
// files naming the documents and configurations of an exercise, with the few
// fields the exercise window previews. Free of Qt, so that the parsing can be
// tested and fuzzed on bytes in memory.
//
//   1  statement document          2  its configuration (blank = none)
//   3  correction document         4  its configuration (blank = none)
//   5  difficulty, 0 to 3          6  not used
//   7-10  pieces of the topics     11 title
//   12 number of hourglasses
#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace molvane {

inline constexpr int kExerciseRecords = 12;

// What the exercise window shows of a file before it is opened. Texts are UTF-8.
struct ExercisePreview {
    bool corrected = false;     // record 3 or 4 names something
    std::array<bool, 3> lit{};  // difficulty symbols lit: symbol k when the level is above k
    std::string topics;         // the non-blank pieces 7 to 10, joined as stored
    std::string title;          // record 11 without its surrounding blanks
    int hourglasses = 0;        // record 12 rounded, 0 when below 1
};

// A document to show and the configuration to load with it, both relative to
// the exercise's folder, as stored (UTF-8, untrimmed); a blank configuration
// means none.
struct ExerciseDocument {
    std::string document;
    std::string configuration;
};

// Record n (from 1) of a file, or nothing when it cannot be read.
using RecordReader = std::function<std::optional<std::string>(int)>;

// Nothing when record 3 or 4 cannot be read; later records that cannot be
// read count as blank.
std::optional<ExercisePreview> previewExercise(const RecordReader& read);
// Records 1 and 2 (also what the getting-started file holds), or 3 and 4.
// Nothing when either record cannot be read.
std::optional<ExerciseDocument> statementOf(const RecordReader& read);
std::optional<ExerciseDocument> correctionOf(const RecordReader& read);

// The same on a file's bytes in memory.
std::optional<ExercisePreview> previewExercise(std::string_view bytes);
std::optional<ExerciseDocument> statementOf(std::string_view bytes);
std::optional<ExerciseDocument> correctionOf(std::string_view bytes);

// Records 1 to 12 of a file on disk, read at once when the reader is made.
// A missing file, or anything but a regular file, reads nothing at all
// (unlike the hand-off file, an absent exercise is a failure, not a file of
// empty records).
RecordReader exerciseFileReader(const std::filesystem::path& path);

// Whether a record names nothing: empty once its blanks are removed.
bool isBlank(std::string_view record);

// Which of the names of an exercise's files (relative to its folder, "/"
// between folders) a name stored in an exercise file stands for: files made
// on Windows may write "\" between folders and use any case. The exact name
// wins over one that differs only in case; -1 when none matches.
int storedNameMatch(std::string_view stored, const std::vector<std::string>& names);

// Whether a file's name is an exercise file's: it ends with ".E32" in any case.
bool isExerciseFileName(std::string_view name);

// Writing. What an exercise file says, as its author gives it: names relative
// to the exercise's folder ("/" between folders), texts in UTF-8.
struct ExerciseFields {
    std::string statement;                // record 1, required
    std::string configuration;            // record 2, empty = none
    std::string correction;               // record 3, empty = none
    std::string correctionConfiguration;  // record 4, empty = none
    int difficulty = 0;                   // record 5, 0 to 3
    std::string topics;                   // records 7 to 10, cut between words
    std::string title;                    // record 11, stored without its outer blanks
    int hourglasses = 1;                  // record 12, 1 to 6
};

inline constexpr int kMostDifficulty = 3;
inline constexpr int kFewestHourglasses = 1;
inline constexpr int kMostHourglasses = 6;
inline constexpr int kTopicRecords = 4;

enum class ExerciseField {
    Statement,
    Configuration,
    Correction,
    CorrectionConfiguration,
    Difficulty,
    Topics,
    Title,
    Hourglasses
};

// Why fields cannot be written, with what the author needs to mend them.
struct ExerciseRefusal {
    enum class Reason {
        Missing,      // a statement or a title is required
        TooLong,      // more characters than the records hold
        NotWritable,  // a character without a Windows-1252 byte
        OutOfRange,   // difficulty or hourglasses
    };
    ExerciseField field = ExerciseField::Statement;
    Reason reason = Reason::Missing;
    std::size_t length = 0;  // TooLong: characters given
    std::size_t limit = 0;   // TooLong: characters the records hold
    std::string character;   // NotWritable: the first such character, UTF-8
};

struct ExerciseRecords {
    std::vector<std::string> records;  // the twelve records, Windows-1252, when accepted
    std::optional<ExerciseRefusal> refusal;
};

// The records of an exercise file, or the first field that cannot be stored,
// checked in the order the author fills them (title, topics, documents).
ExerciseRecords exerciseFileRecords(const ExerciseFields& fields);

// The whole file's bytes, or nothing when the fields are refused.
std::optional<std::string> exerciseFileBytes(const ExerciseFields& fields);

// The fields an exercise file holds, as its author would give them again:
// the title trimmed, the topics joined as the preview joins them, the
// difficulty and the hourglasses brought within their ranges. Nothing when
// records 1 to 4 cannot be read.
std::optional<ExerciseFields> exerciseFields(const RecordReader& read);

// The topics cut into at most four record values (Windows-1252 bytes) that,
// joined as stored, give the topics back; cuts fall after a blank. Nothing
// when the text does not fit, is blank, or has a character without a
// Windows-1252 byte.
std::optional<std::vector<std::string>> topicPieces(std::string_view topics);

// The first character of a UTF-8 text that has no Windows-1252 byte (empty
// when every one has), and the number of characters of the text.
std::string firstCharacterOutsideCp1252(std::string_view utf8);
std::size_t characterCount(std::string_view utf8);

}  // namespace molvane

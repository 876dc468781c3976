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

}  // namespace molvane

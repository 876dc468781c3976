// Exercise files read from bytes and from disk: the preview's fields and the
// names the commands open, for the odd records teachers' files hold.
#include "exercises/exercisefile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "common/recordfile.h"
#include "tests/exercises/exercisebytes.h"

using namespace molvane;
namespace fs = std::filesystem;

namespace {

// Records 1 to 12 with only the given ones filled.
std::string withRecords(std::initializer_list<std::pair<int, std::string>> filled) {
    std::vector<std::string> records(kExerciseRecords);
    for (const auto& [n, value] : filled) records[n - 1] = value;
    return exerciseBytes(records);
}

// Makes record n claim more bytes than a record holds.
std::string breakRecord(std::string data, int n) {
    data[static_cast<std::size_t>(n - 1) * kRecordSize] = static_cast<char>(200);
    return data;
}

}  // namespace

TEST(ExercisePreview, CorrectionStatusFromRecordsThreeAndFour) {
    struct Case {
        std::string record3, record4;
        bool corrected;
    };
    for (const Case& c : {Case{"", "", false}, Case{"   ", " ", false}, Case{"corrige.rtf", "", true},
                          Case{"", "corrige.C11", true}, Case{" x", "y", true}}) {
        const auto preview = previewExercise(withRecords({{3, c.record3}, {4, c.record4}}));
        ASSERT_TRUE(preview);
        EXPECT_EQ(preview->corrected, c.corrected) << c.record3 << "|" << c.record4;
    }
}

TEST(ExercisePreview, DifficultyLightsSymbolsBelowTheLevel) {
    struct Case {
        std::string record5;
        std::array<bool, 3> lit;
    };
    const std::vector<Case> cases{
        {"2", {true, true, false}},         {"0", {false, false, false}},  {"", {false, false, false}},
        {"5", {true, true, true}},          {" 3", {true, true, true}},    {"1", {true, false, false}},
        {"1.5", {true, true, false}},       {"-1", {false, false, false}}, {"deux", {false, false, false}},
        {"2 étoiles", {true, true, false}},
    };
    for (const Case& c : cases) {
        const auto preview = previewExercise(withRecords({{5, c.record5}}));
        ASSERT_TRUE(preview);
        EXPECT_EQ(preview->lit, c.lit) << c.record5;
    }
}

TEST(ExercisePreview, HourglassesCountRecordTwelveRounded) {
    struct Case {
        std::string record12;
        int hourglasses;
    };
    const std::vector<Case> cases{
        {"3", 3},   {"0", 0},   {"", 0},       {"-2", 0},    {"2.5", 2},
        {"3.5", 4}, {"0.4", 0}, {"1E3", 1000}, {"40000", 0}, {"beaucoup", 0},
    };
    for (const Case& c : cases) {
        const auto preview = previewExercise(withRecords({{12, c.record12}}));
        ASSERT_TRUE(preview);
        EXPECT_EQ(preview->hourglasses, c.hourglasses) << c.record12;
    }
}

TEST(ExercisePreview, TopicsJoinedAsStoredAndTitleTrimmed) {
    const auto preview = previewExercise(withRecords(
        {{7, "Réaction "}, {8, "   "}, {9, "équilibre"}, {10, ", Qr"}, {11, "  Vers l'équilibre  "}}));
    ASSERT_TRUE(preview);
    EXPECT_EQ(preview->topics, "Réaction équilibre, Qr");
    EXPECT_EQ(preview->title, "Vers l'équilibre");
}

TEST(ExercisePreview, UnreadableRecordsFailOrCountAsBlank) {
    const std::string full =
        withRecords({{3, "c.rtf"}, {5, "3"}, {7, "Cinétique"}, {11, "Titre"}, {12, "2"}});
    // Records 3 and 4 decide the status: without them there is no preview.
    EXPECT_FALSE(previewExercise(breakRecord(full, 3)));
    EXPECT_FALSE(previewExercise(breakRecord(full, 4)));
    // Later fields are skipped one by one.
    const auto noTitle = previewExercise(breakRecord(full, 11));
    ASSERT_TRUE(noTitle);
    EXPECT_EQ(noTitle->title, "");
    EXPECT_EQ(noTitle->topics, "Cinétique");
    EXPECT_EQ(noTitle->hourglasses, 2);
    const auto noLevel = previewExercise(breakRecord(full, 5));
    ASSERT_TRUE(noLevel);
    EXPECT_EQ(noLevel->lit, (std::array<bool, 3>{false, false, false}));
    EXPECT_EQ(noLevel->title, "Titre");

    // A file that stops after its statement: everything else is blank.
    const auto shortFile = previewExercise(exerciseBytes({"enonce.rtf", "enonce.C11"}));
    ASSERT_TRUE(shortFile);
    EXPECT_FALSE(shortFile->corrected);
    EXPECT_EQ(shortFile->hourglasses, 0);
    // Not a record file at all.
    EXPECT_FALSE(previewExercise(std::string(400, '\xff')));
    EXPECT_TRUE(previewExercise(std::string_view()));
}

TEST(ExerciseDocuments, NamesAreKeptAsStored) {
    const std::string data =
        withRecords({{1, "Énoncé 1.rtf "}, {2, "  "}, {3, "docs\\Corrigé.RTF"}, {4, "corrige.C11"}});
    const auto statement = statementOf(data);
    ASSERT_TRUE(statement);
    EXPECT_EQ(statement->document, "Énoncé 1.rtf ");
    EXPECT_EQ(statement->configuration, "  ");
    EXPECT_TRUE(isBlank(statement->configuration));
    const auto correction = correctionOf(data);
    ASSERT_TRUE(correction);
    EXPECT_EQ(correction->document, "docs\\Corrigé.RTF");
    EXPECT_EQ(correction->configuration, "corrige.C11");

    EXPECT_FALSE(statementOf(breakRecord(data, 1)));
    EXPECT_FALSE(statementOf(breakRecord(data, 2)));
    EXPECT_TRUE(statementOf(breakRecord(data, 3)));
    EXPECT_FALSE(correctionOf(breakRecord(data, 4)));
}

TEST(ExerciseFileReader, ReadsOnlyExistingRegularFiles) {
    const fs::path dir = fs::temp_directory_path() / ("molvane-exercise-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path file = dir / "exo.E32";
    {
        std::ofstream out(file, std::ios::binary);
        out << withRecords({{1, "enonce.rtf"}, {11, "Titre"}});
    }
    const auto statement = statementOf(exerciseFileReader(file));
    ASSERT_TRUE(statement);
    EXPECT_EQ(statement->document, "enonce.rtf");
    EXPECT_EQ(previewExercise(exerciseFileReader(file))->title, "Titre");

    // An absent exercise is a failure, not a file of empty records.
    EXPECT_FALSE(statementOf(exerciseFileReader(dir / "absent.E32")));
    EXPECT_FALSE(previewExercise(exerciseFileReader(dir)));
#ifdef __EMSCRIPTEN__
    fs::remove_all(dir);
    GTEST_SKIP() << "Node's file system makes no FIFO";
#endif
    // A pipe would block the reader: refused without waiting.
    const fs::path pipe = dir / "pipe.E32";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_FALSE(previewExercise(exerciseFileReader(pipe)));
    fs::remove_all(dir);
}

namespace {

ExerciseFields validFields() {
    ExerciseFields fields;
    fields.statement = "enonce.rtf";
    fields.configuration = "sous/depart.C11";
    fields.correction = "corrige.rtf";
    fields.difficulty = 2;
    fields.topics = "Équilibre dynamique, Qr";
    fields.title = " Réaction réversible ";
    fields.hourglasses = 4;
    return fields;
}

}  // namespace

TEST(ExerciseWriting, WhatIsWrittenIsWhatTheWindowReads) {
    ExerciseFields fields = validFields();
    std::string words;
    while (words.size() < 300) words += "chocs efficaces ";
    fields.topics = words + "fin";
    const auto bytes = exerciseFileBytes(fields);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->size(), kExerciseRecords * kRecordSize);

    const auto preview = previewExercise(*bytes);
    ASSERT_TRUE(preview);
    EXPECT_TRUE(preview->corrected);
    EXPECT_EQ(preview->lit, (std::array<bool, 3>{true, true, false}));
    EXPECT_EQ(preview->topics, fields.topics);
    EXPECT_EQ(preview->title, "Réaction réversible");
    EXPECT_EQ(preview->hourglasses, 4);
    EXPECT_EQ(statementOf(*bytes)->document, "enonce.rtf");
    EXPECT_EQ(statementOf(*bytes)->configuration, "sous/depart.C11");

    // Read back into the fields, and written again into the same bytes.
    const auto back = exerciseFields([&](int n) { return decodeRecord(*bytes, n); });
    ASSERT_TRUE(back);
    EXPECT_EQ(back->title, "Réaction réversible");
    EXPECT_EQ(back->topics, fields.topics);
    EXPECT_EQ(back->correctionConfiguration, "");
    EXPECT_EQ(exerciseFileBytes(*back), bytes);
}

TEST(ExerciseWriting, RefusalsNameTheFieldAndTheLimit) {
    using Reason = ExerciseRefusal::Reason;
    struct Case {
        const char* what;
        std::function<void(ExerciseFields&)> change;
        ExerciseField field;
        Reason reason;
        std::size_t length, limit;
        std::string character;
    };
    const std::vector<Case> cases{
        {"title of 500", [](auto& f) { f.title = std::string(500, 'x'); }, ExerciseField::Title,
         Reason::TooLong, 500, 126, ""},
        {"title of 126 fits", [](auto& f) { f.title = std::string(126, 'x'); }, ExerciseField::Title,
         Reason::Missing, 0, 0, "fits"},
        {"title of 127 é",
         [](auto& f) {
             f.title.clear();
             for (int i = 0; i < 127; ++i) f.title += "é";
         },
         ExerciseField::Title, Reason::TooLong, 127, 126, ""},
        {"title outside the code page", [](auto& f) { f.title = "K ≈ 4"; }, ExerciseField::Title,
         Reason::NotWritable, 0, 0, "≈"},
        {"blank title", [](auto& f) { f.title = "   "; }, ExerciseField::Title, Reason::Missing, 0, 0, ""},
        {"topics of 505", [](auto& f) { f.topics = std::string(505, 't'); }, ExerciseField::Topics,
         Reason::TooLong, 505, 504, ""},
        {"topics outside the code page", [](auto& f) { f.topics = "A → C"; }, ExerciseField::Topics,
         Reason::NotWritable, 0, 0, "→"},
        {"difficulty 4", [](auto& f) { f.difficulty = 4; }, ExerciseField::Difficulty, Reason::OutOfRange, 0,
         0, ""},
        {"no hourglass", [](auto& f) { f.hourglasses = 0; }, ExerciseField::Hourglasses, Reason::OutOfRange,
         0, 0, ""},
        {"no statement", [](auto& f) { f.statement = " "; }, ExerciseField::Statement, Reason::Missing, 0, 0,
         ""},
        {"correction name of 130", [](auto& f) { f.correction = std::string(130, 'c'); },
         ExerciseField::Correction, Reason::TooLong, 130, 126, ""},
        {"configuration name outside the code page", [](auto& f) { f.configuration = "réglage✓.C11"; },
         ExerciseField::Configuration, Reason::NotWritable, 0, 0, "✓"},
    };
    for (const Case& c : cases) {
        ExerciseFields fields = validFields();
        c.change(fields);
        const ExerciseRecords written = exerciseFileRecords(fields);
        if (c.character == "fits") {
            EXPECT_FALSE(written.refusal) << c.what;
            continue;
        }
        ASSERT_TRUE(written.refusal) << c.what;
        EXPECT_TRUE(written.records.empty()) << c.what;
        EXPECT_EQ(written.refusal->field, c.field) << c.what;
        EXPECT_EQ(written.refusal->reason, c.reason) << c.what;
        EXPECT_EQ(written.refusal->length, c.length) << c.what;
        EXPECT_EQ(written.refusal->limit, c.limit) << c.what;
        EXPECT_EQ(written.refusal->character, c.character) << c.what;
        EXPECT_FALSE(exerciseFileBytes(fields)) << c.what;
    }
}

TEST(ExerciseWriting, FieldsReadBackWithinTheirRanges) {
    // A hand-made file: odd numbers are brought within the editor's ranges.
    const std::string data = withRecords(
        {{1, "e.rtf"}, {2, "  "}, {5, "7"}, {7, "Qr "}, {8, "  "}, {9, "K"}, {11, "  T  "}, {12, "0"}});
    const auto fields = exerciseFields([&](int n) { return decodeRecord(data, n); });
    ASSERT_TRUE(fields);
    EXPECT_EQ(fields->configuration, "");
    EXPECT_EQ(fields->difficulty, 3);
    EXPECT_EQ(fields->hourglasses, 1);
    EXPECT_EQ(fields->topics, "Qr K");
    EXPECT_EQ(fields->title, "T");
    EXPECT_FALSE(exerciseFields([](int) { return std::optional<std::string>(); }));
}

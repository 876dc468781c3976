#include "files/configuration.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "common/numbers.h"
#include "common/recordfile.h"
#include "tests/common/nonregular.h"

using namespace molvane;

namespace {

// Keeps what it is given, in order, and refuses what lies outside the panels' ranges.
class RecordingTarget final : public ConfigurationTarget {
public:
    bool setCount(int s, const std::string& t) override { return log("count" + std::to_string(s) + "=" + t); }
    bool setSensePosition(int s, std::int16_t p) override {
        return p >= 0 && p <= 100 && log("sense" + std::to_string(s) + "=" + std::to_string(p));
    }
    bool setTemperature(std::int16_t p) override {
        return p >= 200 && p <= 800 && log("temperature=" + std::to_string(p));
    }
    bool setColour(int s, std::int32_t c) override {
        return log("colour" + std::to_string(s) + "=" + std::to_string(c));
    }
    bool setDurationPosition(std::int16_t p) override {
        return p >= 1 && p <= 12 && log("duration=" + std::to_string(p));
    }
    bool setRowsPosition(std::int16_t p) override {
        return p >= 10 && p <= 100 && log("rows=" + std::to_string(p));
    }
    bool setView(int o, bool b) override { return log("view" + std::to_string(o) + "=" + std::to_string(b)); }
    bool setCurve(int s, bool b) override {
        return log("curve" + std::to_string(s) + "=" + std::to_string(b));
    }
    bool setKeepCurves(bool b) override { return log("keep=" + std::to_string(b)); }
    bool setShowQr(bool b) override { return log("qr=" + std::to_string(b)); }

    std::vector<std::string> applied;

private:
    bool log(std::string s) {
        applied.push_back(std::move(s));
        return true;
    }
};

ConfigurationValues sample() {
    ConfigurationValues v;
    v.counts = {"  12", "300", "0", "7"};
    v.sensePositions = {0, 100};
    v.temperature = 800;
    v.colours = {0xFF0000, 0xFF00FF, 0x0080FF, -2147483643};  // the last a system colour
    v.durationPosition = 3;
    v.rowsPosition = 10;
    v.views = {false, true};
    v.curves = {true, false, true, true};
    v.keepCurves = false;
    v.showQr = false;
    return v;
}

}  // namespace

TEST(Configuration, DefaultFileBytes) {
    ConfigurationValues v;
    v.colours = {0xFF0000, 0xFF00FF, 0x0080FF, 0x00C000};
    const auto bytes = configurationBytes(v);
    ASSERT_TRUE(bytes.has_value());
    ASSERT_EQ(bytes->size(), 22u * 128u);
    const std::vector<std::string> expected = {
        "MOLVANE", "100", "100", "0", "0", " 50", " 50", " 500", " 16711680", " 16711935", " 33023",
        " 49152",  " 11", " 60", "1", "0", "0",   "0",   "1",    "0",         "1",         "1"};
    for (int n = 1; n <= 22; ++n) EXPECT_EQ(decodeRecord(*bytes, n), expected[n - 1]) << "record " << n;
    EXPECT_EQ(bytes->substr(0, 9), std::string("\x07\x00MOLVANE", 9));
}

TEST(Configuration, RoundTripInRecordOrder) {
    const auto bytes = configurationBytes(sample());
    ASSERT_TRUE(bytes.has_value());
    RecordingTarget target;
    const ConfigurationLoad load = readConfiguration(*bytes, target);
    ASSERT_EQ(load.result, ConfigurationRead::Loaded);
    EXPECT_FALSE(load.countsAdjusted);
    const std::vector<std::string> expected = {"count0=  12",
                                               "count1=300",
                                               "count2=0",
                                               "count3=7",
                                               "sense0=0",
                                               "sense1=100",
                                               "temperature=800",
                                               "colour0=16711680",
                                               "colour1=16711935",
                                               "colour2=33023",
                                               "colour3=-2147483643",
                                               "duration=3",
                                               "rows=10",
                                               "view0=0",
                                               "view1=1",
                                               "curve0=1",
                                               "curve1=0",
                                               "curve2=1",
                                               "curve3=1",
                                               "keep=0",
                                               "qr=0"};
    EXPECT_EQ(target.applied, expected);
    EXPECT_EQ(decodeRecord(*bytes, 12), "-2147483643");
}

TEST(Configuration, BadFiles) {
    const std::string good = *configurationBytes(sample());
    auto withRecord = [&](int n, const std::string& value) {
        std::string b = good;
        b.replace(static_cast<std::size_t>(n - 1) * 128, 128, *encodeRecord(value));
        return b;
    };
    struct Case {
        std::string name;
        std::string bytes;
        ConfigurationRead result;
        std::size_t applied;
    } cases[] = {
        {"lower-case signature", withRecord(1, "molvane"), ConfigurationRead::NotConfiguration, 0},
        {"trailing blank", withRecord(1, "MOLVANE "), ConfigurationRead::NotConfiguration, 0},
        {"empty", "", ConfigurationRead::NotConfiguration, 0},
        {"signature only", good.substr(0, 128), ConfigurationRead::ReadFailure, 0},
        {"ten records", good.substr(0, 10 * 128), ConfigurationRead::ReadFailure, 9},
        {"last record unpadded", good.substr(0, 21 * 128 + 3), ConfigurationRead::Loaded, 21},
        {"last record cut", good.substr(0, 21 * 128 + 1), ConfigurationRead::ReadFailure, 20},
        {"temperature out of range", withRecord(8, " 900"), ConfigurationRead::ReadFailure, 6},
        {"sixteen-bit overflow", withRecord(13, " 70000"), ConfigurationRead::ReadFailure, 11},
        {"malformed length", withRecord(10, std::string()).replace(9 * 128, 1, "\xC8"),
         ConfigurationRead::ReadFailure, 8},
    };
    for (const auto& c : cases) {
        RecordingTarget target;
        EXPECT_EQ(readConfiguration(c.bytes, target).result, c.result) << c.name;
        EXPECT_EQ(target.applied.size(), c.applied) << c.name;
    }
}

TEST(Configuration, RandomBytesNeverCrash) {
    std::mt19937 rng(42);
    for (int k = 0; k < 2000; ++k) {
        std::string bytes(rng() % 4000, '\0');
        for (auto& b : bytes) b = static_cast<char>(rng());
        if (k % 2)
            bytes.replace(0, std::min<std::size_t>(9, bytes.size()), std::string("\x07\x00MOLVANE", 9));
        RecordingTarget target;
        readConfiguration(bytes, target);
    }
}

TEST(Configuration, ValuesThatCannotBeStored) {
    ConfigurationValues v;
    v.counts[0] = std::string(127, '1');
    EXPECT_FALSE(configurationBytes(v).has_value());
    v.counts[0] = "α";
    EXPECT_FALSE(configurationBytes(v).has_value());
}

TEST(CountsWithinLimits, BringsLoadedCountsWithinKeepingTheirRatio) {
    using Counts = std::array<std::string, 4>;
    struct Case {
        Counts in;
        std::optional<Counts> out;
    } cases[] = {
        // already as the panel allows them
        {{"100", "100", "0", "0"}, std::nullopt},
        {{"5", "5", "0", "0"}, std::nullopt},
        {{"1000", "0", "0", "0"}, std::nullopt},
        {{"  12", "300", "0", "7"}, std::nullopt},
        // within the limits but not plain digits: each rounded on its own
        {{"12abc", "300", "0", "7"}, Counts{"12", "300", "0", "7"}},
        {{"1.5", "300", "0", "7"}, Counts{"2", "300", "0", "7"}},
        {{"-5", "100", "0", "0"}, Counts{"0", "100", "0", "0"}},
        {{"00012", "300", "0", "7"}, Counts{"12", "300", "0", "7"}},
        // too many: scaled together to 1 000, the ratio kept
        {{"5000", "100", "0", "0"}, Counts{"980", "20", "0", "0"}},
        {{"900", "900", "0", "0"}, Counts{"500", "500", "0", "0"}},
        {{"1500", "0", "0", "0"}, Counts{"1000", "0", "0", "0"}},
        {{"3000", "3000", "3000", "1"}, Counts{"334", "333", "333", "0"}},
        {{"99999999999", "1", "0", "0"}, Counts{"1000", "0", "0", "0"}},
        {{"99999999999", "99999999999", "0", "0"}, Counts{"500", "500", "0", "0"}},
        {{"3000000000", "1000000000", "0", "0"}, Counts{"750", "250", "0", "0"}},  // total past 32 bits
        {{"1E+308", "1E+308", "5E+307", "0"}, Counts{"400", "400", "200", "0"}},   // a sum past a double
        {{"1E+999", "1E+999", "7", "0"}, Counts{"500", "500", "0", "0"}},          // beyond a double
        {{std::string(120, '9'), "100", "0", "0"}, Counts{"1000", "0", "0", "0"}},
        // too few: scaled up to 10
        {{"1", "2", "0", "0"}, Counts{"3", "7", "0", "0"}},
        {{"0", "0", "0", "4"}, Counts{"0", "0", "0", "10"}},
        {{"abc", "", "0", "0"}, Counts{"10", "0", "0", "0"}},
        {{"-1000", "-5", "0", "0"}, Counts{"10", "0", "0", "0"}},
    };
    for (const auto& c : cases) {
        const auto out = countsWithinLimits(c.in);
        EXPECT_EQ(out, c.out) << c.in[0] << "," << c.in[1] << "," << c.in[2] << "," << c.in[3];
    }
}

TEST(CountsWithinLimits, AnyCountsEndWithinTheLimits) {
    std::mt19937 rng(7);
    const char* pieces[] = {"0",  "1",   "9",     "99", "1500", "99999999999",
                            "-3", "2.5", "1E+12", " ",  "x",    "1E+400"};
    for (int k = 0; k < 20000; ++k) {
        std::array<std::string, 4> in;
        for (auto& text : in)
            for (int p = static_cast<int>(rng() % 3); p >= 0; --p) text += pieces[rng() % std::size(pieces)];
        const auto out = countsWithinLimits(in).value_or(in);
        long total = 0;
        for (const auto& text : out) {
            ASSERT_FALSE(trimmed(text).empty());
            ASSERT_LE(trimmed(text).size(), 4u) << text;
            ASSERT_EQ(trimmed(text).find_first_not_of("0123456789"), std::string::npos) << text;
            total += std::stol(text);
        }
        ASSERT_GE(total, 10) << in[0] << "," << in[1] << "," << in[2] << "," << in[3];
        ASSERT_LE(total, 1000) << in[0] << "," << in[1] << "," << in[2] << "," << in[3];
        EXPECT_FALSE(countsWithinLimits(out).has_value()) << "brought within the limits once and for all";
    }
}

// Records the counts the target holds each time a bar is moved: a bar's
// change restarts the run with them.
class CountsAtFirstBar final : public ConfigurationTarget {
public:
    bool setCount(int s, const std::string& t) override { return counts[s] = t, true; }
    bool setSensePosition(int, std::int16_t) override {
        if (atFirstBar.empty()) atFirstBar.assign(counts.begin(), counts.end());
        return true;
    }
    bool setTemperature(std::int16_t) override { return true; }
    bool setColour(int, std::int32_t) override { return true; }
    bool setDurationPosition(std::int16_t) override { return true; }
    bool setRowsPosition(std::int16_t) override { return true; }
    bool setView(int, bool) override { return true; }
    bool setCurve(int, bool) override { return true; }
    bool setKeepCurves(bool) override { return true; }
    bool setShowQr(bool) override { return true; }

    std::array<std::string, 4> counts{"100", "100", "0", "0"};
    std::vector<std::string> atFirstBar;
};

TEST(Configuration, CountsOutsideTheLimitsAreAdjustedBeforeAnyBarMoves) {
    struct Case {
        std::array<std::string, 4> stored;
        int failAt;  // a record made unreadable, 0 for none
        std::vector<std::string> applied;
        ConfigurationRead result;
        bool adjusted;
    } cases[] = {
        {{"5000", "100", "0", "0"}, 0, {"980", "20", "0", "0"}, ConfigurationRead::Loaded, true},
        {{"1500", "0", "0", "0"}, 0, {"1000", "0", "0", "0"}, ConfigurationRead::Loaded, true},
        {{"99999999999", "0", "0", "0"}, 0, {"1000", "0", "0", "0"}, ConfigurationRead::Loaded, true},
        {{"250", "  12", "40", "7"}, 0, {"250", "  12", "40", "7"}, ConfigurationRead::Loaded, false},
        {{"5000", "100", "0", "0"}, 10, {"980", "20", "0", "0"}, ConfigurationRead::ReadFailure, true},
        // a count unreadable: those before it as stored, the caller sees to the rest
        {{"5000", "100", "0", "0"}, 4, {}, ConfigurationRead::ReadFailure, false},
    };
    for (const auto& c : cases) {
        ConfigurationValues v;
        v.counts = c.stored;
        std::string bytes = *configurationBytes(v);
        if (c.failAt) bytes[static_cast<std::size_t>(c.failAt - 1) * kRecordSize] = static_cast<char>(200);
        CountsAtFirstBar target;
        const ConfigurationLoad load = readConfiguration(bytes, target);
        EXPECT_EQ(load.result, c.result) << c.stored[0];
        EXPECT_EQ(load.countsAdjusted, c.adjusted) << c.stored[0];
        EXPECT_EQ(target.atFirstBar, c.applied) << c.stored[0];
        if (c.failAt == 4) {
            EXPECT_EQ(target.counts, (std::array<std::string, 4>{"5000", "100", "0", "0"}));
        }
    }
}

TEST(Configuration, FilesThatAreNotRegularAreReadFailuresAtOnce) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("molvane-config-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto good = dir / "bon.C11";
    {
        std::ofstream out(good, std::ios::binary);
        out << *configurationBytes(sample()) << std::string(5000, 'x');  // whatever follows is never read
    }
    RecordingTarget target;
    EXPECT_EQ(readConfigurationFile(good, target).result, ConfigurationRead::Loaded);
    EXPECT_EQ(readConfigurationFile(dir / "absent.C11", target).result, ConfigurationRead::ReadFailure);
    for (const auto& entry : test::nonRegularPaths(dir)) {
        const std::string& kind = entry.kind;  // named, not bound: lambdas capture them
        const auto& path = entry.path;
        RecordingTarget untouched;
        std::string received;
        EXPECT_TRUE(test::returnsPromptly(
            path,
            [&] { EXPECT_EQ(readConfigurationFile(path, untouched).result, ConfigurationRead::ReadFailure); },
            &received))
            << kind;
        EXPECT_TRUE(untouched.applied.empty()) << kind;
        EXPECT_EQ(received, "") << kind;
    }
    std::filesystem::remove_all(dir);
}

TEST(SaveName, Rules) {
    struct Case {
        const char* typed;
        const char* directory;
        std::optional<std::string> name;
    } cases[] = {
        {"essai", "/tmp/TP", "/tmp/TP/essai.C11"},
        {"essai", "/tmp/TP/", "/tmp/TP/essai.C11"},
        {"essai.txt", "/tmp/TP", "/tmp/TP/essai.C11"},
        {"essai.C11", "/tmp/TP", "/tmp/TP/essai.C11"},
        {"  essai .txt ", "/tmp/TP", "/tmp/TP/essai.C11"},
        {"a.b.c", "/tmp/TP", "/tmp/TP/a.C11"},
        {".C11", "/tmp/TP", std::nullopt},
        {"", "/tmp/TP", std::nullopt},
        {"   ", "/tmp/TP", std::nullopt},
        {"/tmp/TP.2/essai", "/home", "/tmp/TP.2/essai.C11"},  // the folder keeps its "."
        {"/tmp/TP.2/essai.C11", "/home", "/tmp/TP.2/essai.C11"},
        {"/tmp/TP/", "/home", std::nullopt},
        {"/tmp/TP/.C11", "/home", std::nullopt},
        {"/tmp/TP/essai.C11", "/", "/tmp/TP/essai.C11"},
        {"essai", "/", "/essai.C11"},
    };
    for (const auto& c : cases) EXPECT_EQ(settleSaveName(c.typed, c.directory), c.name) << c.typed;
}

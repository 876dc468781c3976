// The measurements as CSV, from the window's export and from molvane-run.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "batch/options.h"
#include "batch/run.h"
#include "common/numbers.h"
#include "common/recordfile.h"
#include "core/table.h"
#include "files/configuration.h"
#include "files/measurescsv.h"
#include "tests/support/csvtext.h"

namespace molvane {
namespace {

namespace fs = std::filesystem;
using test::csvBlocks;
using test::csvNumber;

struct Dialect {
    CsvFormat format;
    char separator;
    bool bom;
    std::size_t headingLines;  // above the values of each block
};
constexpr Dialect kDialects[] = {{CsvFormat::Spreadsheet, ';', true, 2}, {CsvFormat::Python, ',', false, 1}};

// Every row of values: counts that add up to the total, Qr as their quotient
// (empty without A or B), times a tick apart from 0.
void expectMeasures(const test::CsvBlock& block, std::size_t headingLines, int total, double step) {
    ASSERT_GT(block.size(), headingLines);
    for (std::size_t i = headingLines; i < block.size(); ++i) {
        const test::CsvRow& row = block[i];
        ASSERT_EQ(row.size(), 6u) << i;
        EXPECT_NEAR(csvNumber(row[0]), step * static_cast<double>(i - headingLines), 1e-9) << i;
        const double a = csvNumber(row[1]), b = csvNumber(row[2]), c = csvNumber(row[3]),
                     d = csvNumber(row[4]);
        EXPECT_EQ(a + b + c + d, total) << i;
        if (a == 0 || b == 0)
            EXPECT_EQ(row[5], "") << i;
        else
            EXPECT_DOUBLE_EQ(csvNumber(row[5]), c * d / (a * b)) << i;
    }
}

// The parts of an export as blocks: the spreadsheet's one file holds them
// all; for Python each file holds one rectangular table, named as the part.
std::vector<test::CsvBlock> exportBlocks(const std::vector<CsvFile>& files, const Dialect& dialect) {
    std::vector<test::CsvBlock> blocks;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string& text = files[i].text;
        EXPECT_EQ(text.rfind("\xEF\xBB\xBF", 0) == 0, dialect.bom && i == 0) << files[i].suffix;
        const auto parts = csvBlocks(i == 0 && dialect.bom ? text.substr(3) : text, dialect.separator);
        blocks.insert(blocks.end(), parts.begin(), parts.end());
    }
    return blocks;
}

TEST(MeasuresCsv, TheRecordingTheTableAndTheKeptRuns) {
    for (const Dialect& dialect : kDialects) {
        GridModel table(tableRowsAt(60) + 1, kTableColumns);
        Simulation run(table);
        run.setCounts({"60", "40", "0", "0"});
        run.setDuration(10);
        run.seed(3);
        run.restart(nullptr);
        for (int k = 0; k < 101; ++k) run.tick({});  // one whole recording: four kept curves
        run.restart(nullptr);
        for (int k = 0; k < 30; ++k) run.tick({});
        const std::vector<CsvFile> files = measuresCsv(run, table, dialect.format);

        if (dialect.format == CsvFormat::Spreadsheet) {
            ASSERT_EQ(files.size(), 1u);
            EXPECT_EQ(files[0].suffix, "");
        } else {
            // One table a file, every row as wide as its column names.
            ASSERT_EQ(files.size(), 3u);
            const char* suffixes[] = {"", "tableau", "essai1"};
            for (std::size_t i = 0; i < files.size(); ++i) {
                EXPECT_EQ(files[i].suffix, suffixes[i]);
                const auto blocks = csvBlocks(files[i].text, ',');
                ASSERT_EQ(blocks.size(), 1u) << suffixes[i];
                EXPECT_EQ(blocks[0][0], (test::CsvRow{"t_s", "N_A", "N_B", "N_C", "N_D", "Qr"}));
                for (const test::CsvRow& row : blocks[0]) EXPECT_EQ(row.size(), 6u) << suffixes[i];
            }
        }
        const auto blocks = exportBlocks(files, dialect);
        ASSERT_EQ(blocks.size(), 3u);
        // The recording so far: t = 0 to 3 s.
        EXPECT_EQ(blocks[0].size(), dialect.headingLines + 31);
        expectMeasures(blocks[0], dialect.headingLines, 100, 0.1);
        // The table as it stands: its filled rows, then rows with their time only.
        ASSERT_EQ(blocks[1].size(), dialect.headingLines + 51);
        for (int r = 1; r <= 51; ++r) {
            const test::CsvRow& row = blocks[1][dialect.headingLines + r - 1];
            ASSERT_EQ(row.size(), 6u);
            for (int c = 0; c < 6; ++c) {
                const std::string cell(trimmed(table.text(r, c)));
                if (cell.empty())
                    EXPECT_EQ(row[c], "");
                else
                    EXPECT_NEAR(csvNumber(row[c]), std::stod(cell), 1e-3 * std::abs(std::stod(cell)) + 1e-9)
                        << r << " " << c;
            }
        }
        // The kept run: 61 means over the 10 s.
        ASSERT_EQ(blocks[2].size(), dialect.headingLines + 61);
        EXPECT_DOUBLE_EQ(csvNumber(blocks[2].back()[0]), 10.0);
        EXPECT_EQ(csvNumber(blocks[2][dialect.headingLines][1]), 60);
        const auto names = blocks[0][dialect.headingLines - 1];
        EXPECT_EQ(names.size(), 6u);
        EXPECT_EQ(names[5], "Qr");
    }
}

TEST(MeasuresCsv, TheFilesBesideTheChosenOne) {
    struct Case {
        const char* chosen;
        const char* suffix;
        const char* wanted;
    };
    const Case cases[] = {{"mesures.csv", "tableau", "mesures-tableau.csv"},
                          {"/home/eleve/TP.2/mesures.CSV", "essai1", "/home/eleve/TP.2/mesures-essai1.CSV"},
                          {"/home/eleve/TP.2/mesures", "essai12", "/home/eleve/TP.2/mesures-essai12"},
                          {"dossier/.cache", "tableau", "dossier/.cache-tableau"},
                          {"a.b.csv", "tableau", "a.b-tableau.csv"},
                          {"C:\\TP.2\\mesures", "tableau", "C:\\TP.2\\mesures-tableau"},
                          {"/tmp/mesures.csv", "", "/tmp/mesures.csv"}};
    for (const Case& c : cases) EXPECT_EQ(csvFilePath(c.chosen, c.suffix), c.wanted) << c.chosen;
    EXPECT_EQ(keptRunSuffix(3), "essai3");
}

class BatchTest : public testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("molvane-batch-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override {
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(folder);
    }
    // A configuration file of these settings.
    std::string configuration(const ConfigurationValues& values, const char* name = "essai.C11") {
        const fs::path path = folder / name;
        std::ofstream(path, std::ios::binary) << *configurationBytes(values);
        return path.string();
    }
    struct Result {
        batch::ExitStatus status;
        std::string out, err;
    };
    Result run(const std::vector<std::string>& arguments) {
        const auto parsed = batch::parseOptions(arguments);
        if (!parsed.options) return {batch::kBadOption, {}, parsed.error};
        std::ostringstream out, err;
        const batch::ExitStatus status = batch::runBatch(*parsed.options, out, err);
        return {status, out.str(), err.str()};
    }
    fs::path folder;
};

TEST_F(BatchTest, OneRowATickReproducibleForASeedNearTheEquilibriumOfTheShares) {
    struct Case {
        std::array<std::string, 4> counts;
        std::array<std::int16_t, 2> positions;  // bars: 100 - percentage
        std::int16_t temperature;
        const char* seconds;
        double k;  // share 1 / share 2
    };
    const Case cases[] = {{{"100", "100", "0", "0"}, {50, 50}, 500, "120", 1.0},
                          {{"200", "200", "0", "0"}, {20, 80}, 800, "120", 4.0},
                          {{"0", "0", "150", "150"}, {70, 40}, 300, "150", 0.5}};
    for (const Case& c : cases) {
        ConfigurationValues values;
        values.counts = c.counts;
        values.sensePositions = c.positions;
        values.temperature = c.temperature;
        const std::string file = configuration(values);
        const Result first = run({file, "--duree", c.seconds, "--graine", "12", "--format", "python"});
        ASSERT_EQ(first.status, batch::kDone) << first.err;
        EXPECT_EQ(first.err, "");
        const auto blocks = csvBlocks(first.out, ',');
        ASSERT_EQ(blocks.size(), 1u);
        const double seconds = std::stod(c.seconds);
        ASSERT_EQ(blocks[0].size(), 1 + static_cast<std::size_t>(seconds * 10) + 1);
        int total = 0;
        for (const auto& n : c.counts) total += std::stoi(n);
        expectMeasures(blocks[0], 1, total, 0.1);
        // The second half of the run lies about the shares' ratio.
        double sum = 0;
        int n = 0;
        for (std::size_t i = blocks[0].size() / 2; i < blocks[0].size(); ++i) {
            if (blocks[0][i][5].empty()) continue;
            sum += csvNumber(blocks[0][i][5]);
            ++n;
        }
        ASSERT_GT(n, 0);
        EXPECT_NEAR(sum / n, c.k, 0.35 * c.k) << c.seconds;

        EXPECT_EQ(run({file, "--duree", c.seconds, "--graine", "12", "--format", "python"}).out, first.out);
        EXPECT_NE(run({file, "--duree", c.seconds, "--graine", "13", "--format", "python"}).out, first.out);
    }
}

TEST_F(BatchTest, TheSpreadsheetDialectAndTheOutputFile) {
    const std::string file = configuration({});
    const std::string csv = (folder / "mesures.csv").string();
    const Result written = run({file, "--duree", "2,5", "--graine", "1", "--sortie", csv});
    ASSERT_EQ(written.status, batch::kDone) << written.err;
    EXPECT_EQ(written.out, "");
    std::ifstream in(csv, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    ASSERT_EQ(text.rfind("\xEF\xBB\xBF", 0), 0u);
    const auto blocks = csvBlocks(text.substr(3), ';');
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].size(), 2u + 26);
    EXPECT_EQ(blocks[0][2 + 25][0], "2,5");
    expectMeasures(blocks[0], 2, 200, 0.1);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2)
        << "no partial file left";
}

TEST_F(BatchTest, BadInputSaysWhatInFrenchAndFails) {
    ConfigurationValues large;
    large.counts = {"5000", "100", "0", "0"};
    const std::string adjusted = configuration(large, "grand.C11");
    const std::string good = configuration({});
    std::ofstream(folder / "autre.C11") << "ceci n'est pas une configuration";
    const std::string foreign = (folder / "autre.C11").string();
    struct Case {
        std::vector<std::string> arguments;
        batch::ExitStatus status;
        const char* said;
    };
    const std::vector<Case> cases{
        {{good}, batch::kBadOption, "il manque la durée"},
        {{"--duree", "10"}, batch::kBadOption, "il manque le fichier"},
        {{good, "--duree", "dix"}, batch::kBadOption, "n'est pas un nombre de secondes"},
        {{good, "--duree", "-3"}, batch::kBadOption, "n'est pas un nombre de secondes"},
        {{good, "--duree", "10", "--graine", "x"}, batch::kBadOption, "n'est pas un entier"},
        {{good, "--duree", "10", "--format", "excel"}, batch::kBadOption, "« tableur » ou « python »"},
        {{good, "--duree", "10", "--vite"}, batch::kBadOption, "option inconnue « --vite »"},
        {{good, good, "--duree", "10"}, batch::kBadOption, "est en trop"},
        {{good, "--duree"}, batch::kBadOption, "attend une valeur"},
        {{(folder / "absent.C11").string(), "--duree", "1"},
         batch::kBadFile,
         "Lecture impossible sur disque"},
        {{foreign, "--duree", "1"}, batch::kBadFile, "Ce fichier ne correspond pas à cette application"},
        {{good, "--duree", "1", "--sortie", (folder / "absent" / "m.csv").string()},
         batch::kCannotWrite,
         "ne peut pas être écrit"},
        {{adjusted, "--duree", "1"}, batch::kDone, "ils ont été ajustés"},
    };
    for (const Case& c : cases) {
        const Result r = run(c.arguments);
        EXPECT_EQ(r.status, c.status) << c.said;
        EXPECT_NE(r.err.find(c.said), std::string::npos) << r.err;
    }
    EXPECT_TRUE(batch::parseOptions({"--help"}).options->help);
    EXPECT_NE(batch::usageText().find("--graine N"), std::string::npos);
}

}  // namespace
}  // namespace molvane

namespace molvane {
namespace {

TEST_F(BatchTest, ASeriesOfSeedsWritesTheFilesOfSingleRunsAndSumsThemUp) {
    ConfigurationValues values;
    values.counts = {"120", "80", "0", "0"};
    const std::string file = configuration(values);
    const std::string series = (folder / "serie.csv").string();
    const Result all =
        run({file, "--duree", "20", "--graines", "5-8", "--processus", "2", "--sortie", series});
    ASSERT_EQ(all.status, batch::kDone) << all.err;
    for (std::uint32_t seed = 5; seed <= 8; ++seed) {
        const std::string single = (folder / ("seule" + std::to_string(seed) + ".csv")).string();
        ASSERT_EQ(run({file, "--duree", "20", "--graine", std::to_string(seed), "--sortie", single}).status,
                  batch::kDone);
        std::ifstream a(batch::seedOutput(series, seed), std::ios::binary), b(single, std::ios::binary);
        const std::string first((std::istreambuf_iterator<char>(a)), {}),
            second((std::istreambuf_iterator<char>(b)), {});
        EXPECT_FALSE(first.empty()) << seed;
        EXPECT_EQ(first, second) << seed;
        EXPECT_NE(all.out.find("graine " + std::to_string(seed) + " : N(A) = "), std::string::npos)
            << all.out;
    }
    EXPECT_NE(all.out.find("toutes les graines (4, nombres moyens)"), std::string::npos) << all.out;
    EXPECT_NE(all.out.find("Qr moyen sur la seconde moitié = "), std::string::npos);

    struct Case {
        std::vector<std::string> arguments;
        const char* said;
    };
    const std::vector<Case> cases{
        {{file, "--duree", "1", "--graines", "8-5", "--sortie", series}, "A au plus égal à B"},
        {{file, "--duree", "1", "--graines", "5", "--sortie", series}, "suite A-B"},
        {{file, "--duree", "1", "--graines", "1-3"}, "« --sortie » donne le nom des fichiers"},
        {{file, "--duree", "1", "--graines", "1-3", "--graine", "2", "--sortie", series},
         "ne vont pas ensemble"},
        {{file, "--duree", "1", "--processus", "2"}, "ne sert qu'avec"},
        {{file, "--duree", "1", "--graines", "1-3", "--processus", "0", "--sortie", series}, "de 1 à 256"},
    };
    for (const Case& c : cases) {
        const Result r = run(c.arguments);
        EXPECT_EQ(r.status, batch::kBadOption) << c.said;
        EXPECT_NE(r.err.find(c.said), std::string::npos) << r.err;
    }
}

TEST(SeedOutput, TheSeedGoesBeforeTheExtension) {
    const std::pair<const char*, const char*> cases[] = {{"essai.csv", "essai-graine3.csv"},
                                                         {"/tmp/tp.2/essai", "/tmp/tp.2/essai-graine3"},
                                                         {"dossier/.cache", "dossier/.cache-graine3"},
                                                         {"a.b.csv", "a.b-graine3.csv"}};
    for (const auto& [given, wanted] : cases) EXPECT_EQ(batch::seedOutput(given, 3), wanted);
}

}  // namespace
}  // namespace molvane

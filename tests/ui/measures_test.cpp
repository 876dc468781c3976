// The measurements taken out of the window: the export of the copy menu, and
// the same counts as the batch program's for one seed.
#include <QAction>
#include <QDir>
#include <QFile>
#include <sstream>

#include "batch/options.h"
#include "batch/run.h"
#include "common/numbers.h"
#include "files/configio.h"
#include "output/copies.h"
#include "output/measuresexport.h"
#include "tests/support/csvtext.h"
#include "tests/ui/fixture.h"

namespace molvane {
namespace {

using test::csvBlocks;
using test::csvNumber;

class MeasuresTest : public WindowTest {
protected:
    // Loads a configuration into the window as the "Ouvrir" dialog does.
    QString loadConfiguration(const ConfigurationValues& values) {
        const QString path = QDir(folder.path()).filePath(QStringLiteral("essai.C11"));
        QFile file(path);
        const auto bytes = configurationBytes(values);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes->data(), static_cast<qint64>(bytes->size()));
        file.close();
        nomfichier() = path;
        chargeconfig(window.get(), *window);
        return path;
    }
    QAction* exportItem() { return window->findChild<QAction*>(QStringLiteral("exportcsv")); }
    static std::string readFile(const QString& path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        return file.readAll().toStdString();
    }
    static void writeFile(const QString& path, const char* text) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
        file.write(text);
    }
    void TearDown() override { setCsvFileChooser({}); }
};

TEST_F(MeasuresTest, TheWindowRecordsTheBatchProgramsCountsForOneSeed) {
    ConfigurationValues values;
    values.counts = {"150", "100", "20", "0"};
    values.sensePositions = {30, 60};
    values.temperature = 650;
    const QString path = loadConfiguration(values);
    window->simulation().seed(21);
    window->Command5_Click();
    ticks(80);
    const std::vector<Sample>& samples = window->simulation().samples();
    ASSERT_EQ(samples.size(), 81u);

    const auto options =
        batch::parseOptions({path.toStdString(), "--duree", "8", "--graine", "21", "--format", "python"});
    ASSERT_TRUE(options.options);
    std::ostringstream out, err;
    ASSERT_EQ(batch::runBatch(*options.options, out, err), batch::kDone) << err.str();
    const auto blocks = csvBlocks(out.str(), ',');
    ASSERT_EQ(blocks[0].size(), 1 + samples.size());
    for (std::size_t i = 0; i < samples.size(); ++i) {
        EXPECT_EQ(samples[i].tick, static_cast<int>(i));
        for (int s = 0; s < 4; ++s) ASSERT_EQ(csvNumber(blocks[0][i + 1][s + 1]), samples[i].counts[s]) << i;
    }
}

TEST_F(MeasuresTest, ExportWritesTheRecordingAndTheTableAsCopied) {
    ticks(45);
    const QString csv = QDir(folder.path()).filePath(QStringLiteral("mesures.csv"));
    for (CsvFormat format : {CsvFormat::Spreadsheet, CsvFormat::Python}) {
        setCsvFileChooser([&] { return CsvChoice{csv, format}; });
        const auto before = window->simulation().nbtics();
        ASSERT_NE(exportItem(), nullptr);
        exportItem()->trigger();
        EXPECT_EQ(window->simulation().nbtics(), before) << "the run is not touched";
        const bool spreadsheet = format == CsvFormat::Spreadsheet;
        std::string text = readFile(csv);
        ASSERT_EQ(text.rfind("\xEF\xBB\xBF", 0) == 0, spreadsheet);
        if (spreadsheet) text.erase(0, 3);
        auto blocks = csvBlocks(text, spreadsheet ? ';' : ',');
        if (!spreadsheet) {
            // The samples alone in the chosen file, the table in its own.
            ASSERT_EQ(blocks.size(), 1u);
            const QString tableau = QDir(folder.path()).filePath(QStringLiteral("mesures-tableau.csv"));
            const auto table = csvBlocks(readFile(tableau), ',');
            ASSERT_EQ(table.size(), 1u);
            blocks.push_back(table[0]);
        }
        const std::size_t heading = spreadsheet ? 2 : 1;
        ASSERT_GE(blocks.size(), 2u);
        EXPECT_EQ(blocks[0].size(), heading + window->simulation().samples().size());
        // The table block holds the cells the clipboard copy holds.
        std::istringstream copied(copyTableText(window->table()));
        std::string line;
        std::getline(copied, line);  // the headings
        for (std::size_t r = heading; std::getline(copied, line); ++r) {
            ASSERT_LT(r, blocks[1].size());
            std::istringstream cells(line);
            std::string cell;
            for (int c = 0; std::getline(cells, cell, '\t'); ++c) {
                std::string number(trimmed(cell));
                number.erase(std::remove(number.begin(), number.end(), ' '), number.end());
                if (number.empty())
                    EXPECT_EQ(blocks[1][r][c], "");
                else
                    EXPECT_DOUBLE_EQ(csvNumber(blocks[1][r][c]), csvNumber(number)) << r << " " << c;
            }
        }
    }
}

TEST_F(MeasuresTest, APythonExportLeavesNoKeptRunOfAnEarlierOne) {
    ticks(10);  // no kept run yet
    const QDir dir(folder.path());
    for (const char* name :
         {"mesures-essai1.csv", "mesures-essai2.csv", "mesures-essai4.csv", "autres-essai1.csv"})
        writeFile(dir.filePath(QString::fromLatin1(name)), "t_s\n");
    setCsvFileChooser([&] {
        return CsvChoice{dir.filePath(QStringLiteral("mesures.csv")), CsvFormat::Python};
    });
    Answers answers({});
    exportItem()->trigger();
    EXPECT_TRUE(answers.seen.empty());
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("mesures-tableau.csv"))));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("mesures-essai1.csv"))));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("mesures-essai2.csv"))));
    // Only the runs that follow on from this export's are taken for its own.
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("mesures-essai4.csv"))));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("autres-essai1.csv"))));
}

TEST_F(MeasuresTest, AnExportThatCannotBeWrittenSaysWhichFileAndReplacesNothing) {
    const QDir dir(folder.path());
    ASSERT_TRUE(dir.mkpath(QStringLiteral("bloque/mesures-tableau.csv")));  // a folder where a file goes
    writeFile(dir.filePath(QStringLiteral("bloque/mesures.csv")), "ancien");
    struct Case {
        const char* chosen;
        CsvFormat format;
        const char* named;  // the file the message names
    };
    const Case cases[] = {{"absent/mesures.csv", CsvFormat::Python, "absent/mesures.csv"},
                          {"absent/mesures.csv", CsvFormat::Spreadsheet, "absent/mesures.csv"},
                          {"bloque/mesures.csv", CsvFormat::Python, "bloque/mesures-tableau.csv"}};
    for (const Case& c : cases) {
        const QString csv = dir.filePath(QString::fromLatin1(c.chosen));
        setCsvFileChooser([&] { return CsvChoice{csv, c.format}; });
        Answers answers({MessageAnswer::Ok});
        exportItem()->trigger();
        ASSERT_EQ(answers.seen.size(), 1u) << c.chosen;
        EXPECT_EQ(answers.seen[0].title, QStringLiteral("Exportation impossible"));
        EXPECT_TRUE(answers.seen[0].text.contains(QStringLiteral("« %1 »").arg(
            QDir::toNativeSeparators(dir.filePath(QString::fromLatin1(c.named))))))
            << answers.seen[0].text.toStdString();
    }
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("absent/mesures.csv"))));
    EXPECT_EQ(readFile(dir.filePath(QStringLiteral("bloque/mesures.csv"))), "ancien")
        << "the chosen file is not replaced when a file beside it cannot be";
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("bloque"))).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("mesures.csv")})
        << "no partial file left";
    // Cancelled: nothing asked, nothing written.
    setCsvFileChooser([] { return std::nullopt; });
    Answers none({});
    exportItem()->trigger();
    EXPECT_TRUE(none.seen.empty());
}

}  // namespace
}  // namespace molvane

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
        QFile file(csv);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        std::string text = file.readAll().toStdString();
        const bool spreadsheet = format == CsvFormat::Spreadsheet;
        ASSERT_EQ(text.rfind("\xEF\xBB\xBF", 0) == 0, spreadsheet);
        if (spreadsheet) text.erase(0, 3);
        const auto blocks = csvBlocks(text, spreadsheet ? ';' : ',');
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

TEST_F(MeasuresTest, AnExportThatCannotBeWrittenSaysSoAndWritesNothing) {
    const QString csv = QDir(folder.path()).filePath(QStringLiteral("absent/mesures.csv"));
    setCsvFileChooser([&] { return CsvChoice{csv, CsvFormat::Python}; });
    Answers answers({MessageAnswer::Ok});
    exportItem()->trigger();
    ASSERT_EQ(answers.seen.size(), 1u);
    EXPECT_EQ(answers.seen[0].title, QStringLiteral("Exportation impossible"));
    EXPECT_FALSE(QFile::exists(csv));
    // Cancelled: nothing asked, nothing written.
    setCsvFileChooser([] { return std::nullopt; });
    exportItem()->trigger();
    EXPECT_EQ(answers.seen.size(), 1u);
}

}  // namespace
}  // namespace molvane

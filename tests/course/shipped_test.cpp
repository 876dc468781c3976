// The course material as it ships beside the program: every file an exercise
// names exists and reads back with the program's own readers.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextTable>
#include <set>

#include "common/cp1252.h"
#include "common/numbers.h"
#include "common/recordfile.h"
#include "course/generator/documents.h"
#include "course/generator/sheets.h"
#include "exercises/rtf/richtextdocument.h"
#include "exercises/rtf/rtffile.h"
#include "exercises/rtf/rtfwriter.h"
#include "files/configuration.h"
#include "tests/support/coursemanifest.h"

namespace molvane::course {
namespace {

std::vector<std::string> records(const QString& relative, int count) {
    const RecordFile file(kProgram.filePath(relative).toStdString());
    std::vector<std::string> out;
    for (int n = 1; n <= count; ++n) {
        const auto record = file.read(n);
        EXPECT_TRUE(record) << relative.toStdString() << " record " << n;
        out.push_back(record.value_or(""));
    }
    return out;
}

QTextCharFormat textFormat(const QTextBlock& block) {
    return block.begin().atEnd() ? block.charFormat() : block.begin().fragment().charFormat();
}

bool blank(const std::string& record) {
    return trimmed(record).empty();
}

// Counts what the configuration reader hands to the window.
class Counts final : public ConfigurationTarget {
public:
    std::array<std::string, 4> counts;
    std::array<std::int16_t, 2> senses{};
    std::int16_t temperature = 0, duration = 0, rows = 0;
    bool setCount(int s, const std::string& text) override { return counts[s] = text, true; }
    bool setSensePosition(int s, std::int16_t p) override { return senses[s] = p, p >= 0 && p <= 100; }
    bool setTemperature(std::int16_t p) override { return temperature = p, p >= 200 && p <= 800; }
    bool setColour(int, std::int32_t) override { return true; }
    bool setDurationPosition(std::int16_t p) override { return duration = p, p >= 1 && p <= 12; }
    bool setRowsPosition(std::int16_t p) override { return rows = p, p >= 10 && p <= 100; }
    bool setView(int, bool) override { return true; }
    bool setCurve(int, bool) override { return true; }
    bool setKeepCurves(bool) override { return true; }
    bool setShowQr(bool) override { return true; }
};

void expectConfiguration(const std::string& name) {
    SCOPED_TRACE(name);
    const QString path = kProgram.filePath(QString::fromStdString(name));
    ASSERT_TRUE(QFile::exists(path));
    Counts target;
    const ConfigurationLoad load = readConfigurationFile(path.toStdString(), target);
    ASSERT_EQ(load.result, ConfigurationRead::Loaded);
    EXPECT_FALSE(load.countsAdjusted);  // loads without the limits message
    EXPECT_FALSE(countsWithinLimits(target.counts));
}

void expectDocument(const std::string& name) {
    SCOPED_TRACE(name);
    const QString path = kProgram.filePath(QString::fromStdString(name));
    QTextDocument document;
    ASSERT_EQ(rtf::loadRtfFile(path, document), rtf::ReadStatus::Ok);
    const QTextBlock first = document.begin();
    EXPECT_FALSE(first.text().trimmed().isEmpty());  // opens on its heading
    EXPECT_GE(textFormat(first).fontPointSize(), 12.0);
    EXPECT_GT(document.characterCount(), 200);
}

TEST(Shipped, ExercisesNameWhatShips) {
    const QStringList files = test::shippedCourseFiles();
    const QStringList exercises = files.filter(QRegularExpression(QStringLiteral("^[^/]+\\.E32$")));
    ASSERT_GE(exercises.size(), 5);
    std::set<std::string> titles;
    for (const QString& exercise : exercises) {
        SCOPED_TRACE(exercise.toStdString());
        const std::vector<std::string> r = records(exercise, 12);
        expectDocument(r[0]);
        ASSERT_FALSE(blank(r[1]));
        expectConfiguration(r[1]);
        ASSERT_FALSE(blank(r[2]));  // every shipped exercise has its correction
        expectDocument(r[2]);
        if (!blank(r[3])) expectConfiguration(r[3]);
        const double difficulty = leadingNumber(r[4]);
        EXPECT_TRUE(difficulty >= 1 && difficulty <= 3);
        std::string topics;
        for (int k = 6; k < 10; ++k)
            if (!blank(r[k])) topics += r[k];
        EXPECT_GT(topics.size(), 10u);
        EXPECT_NE(topics.back(), ' ');
        EXPECT_FALSE(blank(r[10]));
        EXPECT_TRUE(titles.insert(r[10]).second) << "two exercises share a title";
        const double hourglasses = leadingNumber(r[11]);
        EXPECT_TRUE(hourglasses >= 1 && hourglasses <= 6);
    }
}

TEST(Shipped, GettingStartedNamesItsDocumentAndConfiguration) {
    ASSERT_TRUE(test::shippedCourseFiles().contains(QStringLiteral("molvane.PEM")));
    const std::vector<std::string> r = records(QStringLiteral("molvane.PEM"), 2);
    expectDocument(r[0]);
    expectConfiguration(r[1]);
}

// A picture is read to a pupil who does not see it as its description.
TEST(Shipped, EveryPictureHasADescription) {
    int pictures = 0;
    for (const QString& relative : test::shippedCourseFiles()) {
        if (!relative.endsWith(QLatin1String(".rtf"))) continue;
        QTextDocument document;
        ASSERT_EQ(rtf::loadRtfFile(kProgram.filePath(relative), document), rtf::ReadStatus::Ok);
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat format = it.fragment().charFormat();
                if (!format.isImageFormat()) continue;
                ++pictures;
                EXPECT_GE(format.stringProperty(rtf::kPictureDescription).size(), 20)
                    << relative.toStdString();
            }
        }
    }
    EXPECT_GE(pictures, 1);
}

TEST(Shipped, NamesAreFixedAsciiAndEveryFileIsThere) {
    for (const QString& relative : test::shippedCourseFiles()) {
        EXPECT_TRUE(QFile::exists(kProgram.filePath(relative))) << relative.toStdString();
        for (const QString& part : relative.split(QLatin1Char('/')))
            EXPECT_TRUE(isPlainFileName(part.toStdString())) << relative.toStdString();
    }
}

// What the house style makes of a document, checked after a round trip
// through the RTF the text area reads.
TEST(Documents, HouseStyleSurvivesTheRtf) {
    QTemporaryDir images;
    QImage(300, 20, QImage::Format_RGB32).save(images.filePath(QStringLiteral("petite.png")));
    QImage(400, 20, QImage::Format_RGB32).save(images.filePath(QStringLiteral("large.png")));

    QTextDocument built;
    QString error;
    ASSERT_TRUE(buildDocument(QStringLiteral("<h1>Titre</h1><h2>Partie</h2><p>Question ?</p><p><br></p>"
                                             "<p>« Fin »</p><p><img src=\"petite.png\"></p>"
                                             "<table border=\"1\"><tr><td width=\"60\">1</td></tr></table>"),
                              images.path(), built, error))
        << error.toStdString();
    QTextDocument document;
    QTextCursor cursor(&document);
    ASSERT_EQ(rtf::RtfReader::read(rtf::RtfWriter::write(built), cursor), rtf::ReadStatus::Ok);

    QTextBlock block = document.begin();
    EXPECT_EQ(block.text(), QStringLiteral("Titre"));
    EXPECT_EQ(textFormat(block).fontPointSize(), 14.0);  // sizes are points, not Qt's relative steps
    EXPECT_EQ(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    block = block.next();
    EXPECT_EQ(textFormat(block).fontPointSize(), 11.0);
    EXPECT_EQ(textFormat(block).foreground().color(), QColor(0, 0, 200));
    block = block.next();
    EXPECT_EQ(block.text(), QStringLiteral("Question\u202F?"));  // narrow, and the sign never starts a line
    block = block.next();
    EXPECT_TRUE(block.text().isEmpty());  // the answer line holds nothing
    block = block.next();
    EXPECT_EQ(block.text(), QStringLiteral("«\u202FFin\u202F»"));
    EXPECT_EQ(textFormat(block).fontFamilies().toStringList().value(0), QStringLiteral("Arial"));
    block = block.next();
    ASSERT_FALSE(block.begin().atEnd());
    EXPECT_TRUE(block.begin().fragment().charFormat().isImageFormat());
    bool table = false;
    for (QTextBlock b = document.begin(); b.isValid(); b = b.next())
        table = table || QTextCursor(b).currentTable() != nullptr;
    EXPECT_TRUE(table);

    struct Case {
        const char* html;
        const char* error;
    };
    for (const Case& c : {Case{"<p><img src=\"large.png\"></p>", "image trop large"},
                          Case{"<p><img src=\"absente.png\"></p>", "image introuvable"}}) {
        QTextDocument refused;
        EXPECT_FALSE(buildDocument(QString::fromUtf8(c.html), images.path(), refused, error)) << c.html;
        EXPECT_TRUE(error.startsWith(QString::fromUtf8(c.error))) << error.toStdString();
    }
}

}  // namespace
}  // namespace molvane::course

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// Damaged and hostile files: the text read so far, a status, and bounded work.
#include <gtest/gtest.h>

#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <functional>

#include "rtftestsupport.h"

using namespace molvane::rtf;
using namespace molvane::rtf::test;

namespace {

QByteArray repeated(const QByteArray& piece, int times) {
    return piece.repeated(times);
}

QImage blankImage(int side) {
    QImage image(side, side, QImage::Format_Mono);
    image.fill(0);
    return image;
}

struct HostileCase {
    const char* name;
    QByteArray data;
    ReadStatus status;
    QString text;  // the whole plain text expected
};

class Hostile : public ::testing::TestWithParam<HostileCase> {};

TEST_P(Hostile, KeepsWhatWasReadAndReports) {
    const HostileCase& c = GetParam();
    const Loaded in = load(c.data);
    EXPECT_EQ(in.status, c.status);
    EXPECT_EQ(in.doc->toPlainText(), c.text);
}

QByteArray tooManyColours() {
    return "{\\rtf1{\\colortbl;" + repeated("\\red1\\green2\\blue3;", kMaxColours + 10) + "}ok}";
}

QByteArray tooManyFonts() {
    QByteArray fonts;
    for (int i = 0; i < kMaxFonts + 10; ++i)
        fonts += "{\\f" + QByteArray::number(i) + " F" + QByteArray::number(i) + ";}";
    return "{\\rtf1{\\fonttbl" + fonts + "}\\f" + QByteArray::number(kMaxFonts + 5) + " ok}";
}

quint32 crc32(const QByteArray& bytes) {
    quint32 crc = 0xFFFFFFFFu;
    for (const char ch : bytes) {
        crc ^= static_cast<unsigned char>(ch);
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A PNG whose header claims more pixels than the reader accepts; the pixel
// data is tiny, so only a check made before decoding can refuse it.
QByteArray hugePicture() {
    QByteArray png = pngOf(QImage(1, 1, QImage::Format_RGB32));
    const char dims[] = {0, 0, 0x40, 0, 0, 0, 0x40, 0};  // 16384 x 16384
    png.replace(16, 8, QByteArray(dims, 8));             // IHDR width and height
    const quint32 crc = crc32(png.mid(12, 17));          // chunk type and data
    const char crcBytes[] = {char(crc >> 24), char(crc >> 16), char(crc >> 8), char(crc)};
    png.replace(29, 4, QByteArray(crcBytes, 4));
    return "{\\rtf1 a{\\pict\\pngblip " + png.toHex() + "}b}";
}

INSTANTIATE_TEST_SUITE_P(
    Rtf, Hostile,
    ::testing::Values(
        HostileCase{"NotRtf", "Bonjour", ReadStatus::NotRtf, ""},
        HostileCase{"Empty", "", ReadStatus::NotRtf, ""},
        HostileCase{"BlanksBeforeHeader", "  {\\rtf1 a}", ReadStatus::Ok, "a"},
        HostileCase{"Truncated", "{\\rtf1 d\\'e9but {\\b gras", ReadStatus::Truncated, "début gras"},
        HostileCase{"TruncatedInPicture", "{\\rtf1 a{\\pict\\pngblip 89504e", ReadStatus::Truncated, "a"},
        HostileCase{"ExtraClosingBrace", "{\\rtf1 a}}b", ReadStatus::Ok, "a"},
        HostileCase{"BadEscape", "{\\rtf1 a\\'zzb}", ReadStatus::Malformed, "azzb"},
        HostileCase{"HugeNumber", "{\\rtf1\\fs999999999999999 a\\li-99999999999 b}", ReadStatus::Malformed,
                    "ab"},
        HostileCase{"ShortBin", "{\\rtf1 a{\\pict\\bin999999 xy}", ReadStatus::Malformed, "a"},
        HostileCase{"LongWord", "{\\rtf1 a\\" + repeated("x", 5000) + " b}", ReadStatus::Malformed, "ab"},
        HostileCase{"Deep", "{\\rtf1 a" + repeated("{", 100000) + "x" + repeated("}", 100000) + "b}",
                    ReadStatus::TooDeep, "ab"},
        HostileCase{
            "DeepButAllowed",
            "{\\rtf1 " + repeated("{", kMaxGroupDepth - 2) + "x" + repeated("}", kMaxGroupDepth - 2) + "}",
            ReadStatus::Ok, "x"},
        HostileCase{"DeepUnclosed", "{\\rtf1 a" + repeated("{", 100000), ReadStatus::TooDeep, "a"},
        HostileCase{"ManyColours", tooManyColours(), ReadStatus::LimitReached, "ok"},
        HostileCase{"ManyFonts", tooManyFonts(), ReadStatus::LimitReached, "ok"},
        HostileCase{"HugePicture", hugePicture(), ReadStatus::LimitReached, "ab"},
        HostileCase{"UnicodeOutOfRange", "{\\rtf1\\u99999?\\u-99999?}", ReadStatus::Ok, "\uFFFD\uFFFD"},
        HostileCase{"ControlBytes", QByteArray("{\\rtf1 a\0b\x01", 11) + "c}", ReadStatus::Ok, "abc"},
        HostileCase{"UnknownCharset",
                    "{\\rtf1\\ansicpg77777{\\fonttbl{\\f0\\fcharset99\\cpg4242 X;}}\\f0 \\'e9}",
                    ReadStatus::Ok, "é"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HostileTables, WideRowsAreCappedAndTheRestShareTheLastCell) {
    const Loaded in = load("{\\rtf1\\trowd\\intbl " + repeated("x\\cell ", kMaxTableColumns + 5) + "\\row}");
    EXPECT_EQ(in.status, ReadStatus::LimitReached);
    const QTextTable* table = QTextCursor(in.doc->begin().next()).currentTable();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->columns(), kMaxTableColumns);
    EXPECT_EQ(in.doc->toPlainText().count(QLatin1Char('x')), kMaxTableColumns + 5);
}

TEST(HostileTables, RowsPastTheCellBudgetBecomeParagraphs) {
    const int rows = kMaxTableCells / 2 + 10;
    const Loaded in =
        load("{\\rtf1" + repeated("\\trowd\\cellx100\\cellx200\\intbl a\\cell b\\cell\\row", rows) +
             "\\pard fin}");
    EXPECT_EQ(in.status, ReadStatus::LimitReached);
    const QTextTable* table = QTextCursor(in.doc->begin().next()).currentTable();
    ASSERT_NE(table, nullptr);
    EXPECT_LE(table->rows() * table->columns(), kMaxTableCells);
    EXPECT_EQ(in.doc->toPlainText().count(QLatin1Char('b')), rows);
    EXPECT_EQ(in.doc->lastBlock().text(), QStringLiteral("fin"));
}

TEST(HostilePictures, DocumentPictureBudgetIsShared) {
    // Identical pictures share one resource but each counts against the budget.
    const QByteArray png = pngOf(blankImage(4096)).toHex();
    const Loaded in = load("{\\rtf1" + repeated("{\\pict\\pngblip " + png + "}", 6) + "}");
    EXPECT_EQ(in.status, ReadStatus::LimitReached);
    EXPECT_EQ(in.doc->toPlainText().count(QChar::ObjectReplacementCharacter),
              int(kMaxDocumentPicturePixels / kMaxPicturePixels));
}

}  // namespace

// ---- bounds on the document built ----

namespace {

struct BoundCase {
    const char* name;
    QByteArray data;
    ReadStatus status;
    std::function<void(const QTextDocument&)> check;
};

class Bounds : public ::testing::TestWithParam<BoundCase> {};

TEST_P(Bounds, KeepTheBeginningAndSaySo) {
    const BoundCase& c = GetParam();
    const Loaded in = load(c.data);
    EXPECT_EQ(in.status, c.status);
    c.check(*in.doc);
}

int countOf(const QTextDocument& doc, QChar c) {
    return int(doc.toRawText().count(c));
}

INSTANTIATE_TEST_SUITE_P(
    Rtf, Bounds,
    ::testing::Values(
        BoundCase{"EmptyParagraphs", "{\\rtf1 " + repeated("\\par", kMaxLines + 500) + " fin}",
                  ReadStatus::TooLong,
                  [](const QTextDocument& doc) {
                      EXPECT_EQ(doc.blockCount(), kMaxLines);
                      EXPECT_FALSE(doc.toPlainText().contains("fin"));
                  }},
        BoundCase{"AsManyParagraphsAsAllowed", "{\\rtf1 " + repeated("a\\par ", kMaxLines) + "}",
                  ReadStatus::Ok, [](const QTextDocument& doc) { EXPECT_EQ(doc.blockCount(), kMaxLines); }},
        BoundCase{"LineBreaks", "{\\rtf1 " + repeated("a\\line ", kMaxLines + 10) + "}", ReadStatus::TooLong,
                  [](const QTextDocument& doc) {
                      EXPECT_EQ(countOf(doc, QChar::LineSeparator),
                                kMaxLines - 1);  // the first block is a line too
                  }},
        BoundCase{"Characters", "{\\rtf1 " + repeated("abcdefghi ", int(kMaxCharacters / 10) + 100) + "}",
                  ReadStatus::TooLong,
                  [](const QTextDocument& doc) {
                      EXPECT_EQ(doc.characterCount(),
                                kMaxCharacters + 1);  // and the document's own last mark
                      EXPECT_TRUE(doc.toPlainText().startsWith("abcdefghi abcdefghi"));
                  }},
        BoundCase{"Runs", "{\\rtf1 " + repeated("{\\b a}{\\i b}", kMaxRuns) + "}", ReadStatus::TooLong,
                  [](const QTextDocument& doc) {
                      EXPECT_EQ(countOf(doc, QLatin1Char('a')) + countOf(doc, QLatin1Char('b')), kMaxRuns);
                  }},
        BoundCase{"TruncatedAndTooLongSaysTooLong", "{\\rtf1 \\'zz" + repeated("\\par", kMaxLines + 1),
                  ReadStatus::TooLong, [](const QTextDocument&) {}},
        BoundCase{"LongWordsGetAPlaceToBreak",
                  "{\\rtf1 " + repeated("{\\b a}{\\i b}", kMaxWordCharacters) + " court}", ReadStatus::Ok,
                  [](const QTextDocument& doc) {
                      const QString text = doc.toPlainText();
                      EXPECT_EQ(text.count(QChar(0x200B)), 1);
                      EXPECT_EQ(text.indexOf(QChar(0x200B)), kMaxWordCharacters);
                      EXPECT_EQ(QString(text).remove(QChar(0x200B)),
                                QString("ab").repeated(kMaxWordCharacters) + " court");
                  }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HostilePictures, PicturesPastTheirNumberAreLeftOut) {
    const QByteArray png = pngOf(blankImage(1)).toHex();
    const Loaded in = load("{\\rtf1" + repeated("{\\pict\\pngblip " + png + "}", kMaxPictures + 5) + " fin}");
    EXPECT_EQ(in.status, ReadStatus::LimitReached);
    EXPECT_EQ(in.doc->toPlainText().count(QChar::ObjectReplacementCharacter), kMaxPictures);
    EXPECT_TRUE(in.doc->toPlainText().endsWith(" fin"));
}

}  // namespace

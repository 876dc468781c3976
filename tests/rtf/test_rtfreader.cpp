#include <gtest/gtest.h>

#include <QBuffer>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextTable>
#include <QUrl>
#include <functional>

#include "rtfcharsets.h"
#include "rtffile.h"
#include "rtftestsupport.h"
#include "rtfwriter.h"
#include "tests/common/nonregular.h"

using namespace molvane::rtf;
using namespace molvane::rtf::test;

namespace {

// Lines of text without list markers, pictures, blanks, or empty lines.
QStringList meaningfulLines(QString text) {
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    QStringList lines;
    for (QString line : text.split(QLatin1Char('\n'))) {
        line.remove(QChar::ObjectReplacementCharacter);
        line.remove(QRegularExpression(QStringLiteral("^[\\s\\x{2022}\\x{feff}]+")));
        line = line.trimmed();
        if (!line.isEmpty()) lines.append(line);
    }
    return lines;
}

// ---- the two fixtures from two word processors ----

struct FixtureCase {
    const char* rtf;
    const char* txt;
    const char* title;
    QColor titleColour;  // invalid: the file gives none
    bool hasRedAndRightAligned;
};

class Fixtures : public ::testing::TestWithParam<FixtureCase> {};

TEST_P(Fixtures, LoadWithTheirTextAndFormatting) {
    const FixtureCase& fx = GetParam();
    const Loaded in = load(fixture(fx.rtf));
    ASSERT_EQ(in.status, ReadStatus::Ok);
    const QTextDocument& doc = *in.doc;
    EXPECT_EQ(meaningfulLines(doc.toPlainText()), meaningfulLines(QString::fromUtf8(fixture(fx.txt))));

    const QString title = QString::fromUtf8(fx.title);
    EXPECT_EQ(blockFormatOf(doc, title).alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(charFormatOf(doc, title).fontPointSize(), 18);
    if (fx.titleColour.isValid()) {
        EXPECT_EQ(charFormatOf(doc, title).foreground().color(), fx.titleColour);
    }

    EXPECT_GE(charFormatOf(doc, QStringLiteral("A + B = C + D")).fontWeight(), QFont::Bold);
    EXPECT_LT(charFormatOf(doc, QStringLiteral("dans un r")).fontWeight(), QFont::Bold);
    EXPECT_TRUE(charFormatOf(doc, QStringLiteral("100 particules de A")).fontItalic());
    EXPECT_TRUE(charFormatOf(doc, QStringLiteral("100 particules de B")).fontItalic());
    EXPECT_TRUE(charFormatOf(doc, QStringLiteral("Remarque")).fontUnderline());
    EXPECT_FALSE(charFormatOf(doc, QStringLiteral(" : le quotient")).fontUnderline());
    EXPECT_EQ(charFormatOf(doc, QStringLiteral("Qr")).verticalAlignment(), QTextCharFormat::AlignNormal);
    QTextCursor r = doc.find(QStringLiteral("Qr"));
    r.setPosition(r.selectionEnd());
    EXPECT_EQ(r.charFormat().verticalAlignment(), QTextCharFormat::AlignSubScript);
    QTextCursor two = doc.find(QStringLiteral("(102"));
    two.setPosition(two.selectionEnd());
    EXPECT_EQ(two.charFormat().verticalAlignment(), QTextCharFormat::AlignSuperScript);
    if (fx.hasRedAndRightAligned) {
        EXPECT_EQ(charFormatOf(doc, QStringLiteral("50 %")).foreground().color(), QColor(192, 0, 0));
        EXPECT_EQ(blockFormatOf(doc, QStringLiteral("Remarque")).alignment() & Qt::AlignHorizontal_Mask,
                  Qt::AlignRight);
    }

    const QTextCursor cell = doc.find(QStringLiteral("Nombre de C"));
    const QTextTable* table = cell.currentTable();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rows(), 3);
    EXPECT_EQ(table->columns(), 2);
    const auto cellText = [&](int row, int column) {
        QTextCursor c = table->cellAt(row, column).firstCursorPosition();
        c.setPosition(table->cellAt(row, column).lastCursorPosition().position(), QTextCursor::KeepAnchor);
        return c.selectedText();
    };
    EXPECT_EQ(cellText(0, 0), QStringLiteral("Date (s)"));
    EXPECT_EQ(cellText(1, 1), QStringLiteral("0"));
    EXPECT_EQ(cellText(2, 0), QStringLiteral("20"));
    EXPECT_EQ(cellText(2, 1), QString(QChar(0xA0)));

    const QTextCursor picture = doc.find(QString(QChar::ObjectReplacementCharacter));
    ASSERT_FALSE(picture.isNull());
    const QTextImageFormat image = picture.charFormat().toImageFormat();
    EXPECT_EQ(image.width(), 60);
    EXPECT_EQ(image.height(), 30);
    const QImage pixels = doc.resource(QTextDocument::ImageResource, QUrl(image.name())).value<QImage>();
    EXPECT_EQ(pixels.size(), QSize(60, 30));
}

INSTANTIATE_TEST_SUITE_P(
    Rtf, Fixtures,
    ::testing::Values(FixtureCase{"libreoffice-writer.rtf", "libreoffice-writer.txt",
                                  "Exercice 1 : vers l'équilibre", QColor(0, 0, 200), true},
                      FixtureCase{"pandoc.rtf", "pandoc.txt", "Énoncé", QColor(), false}));

// ---- characters ----

struct CharCase {
    const char* body;
    const char* text;   // the whole first paragraph
    const char* probe;  // where the check looks
    std::function<bool(const QTextCharFormat&)> check;
};

class Characters : public ::testing::TestWithParam<CharCase> {};

TEST_P(Characters, ReadAsExpected) {
    const CharCase& c = GetParam();
    const Loaded in = load(wrap(c.body));
    EXPECT_EQ(in.status, ReadStatus::Ok) << c.body;
    EXPECT_EQ(in.doc->begin().text(), QString::fromUtf8(c.text)) << c.body;
    if (c.check) {
        EXPECT_TRUE(c.check(charFormatOf(*in.doc, QString::fromUtf8(c.probe)))) << c.body;
    }
}

using F = const QTextCharFormat&;
INSTANTIATE_TEST_SUITE_P(
    Rtf, Characters,
    ::testing::Values(
        CharCase{"{\\b gras}\\b0  maigre", "gras maigre", "maigre",
                 [](F f) { return f.fontWeight() < QFont::Bold; }},
        CharCase{"\\b gras\\b0  maigre", "gras maigre", "gras",
                 [](F f) { return f.fontWeight() >= QFont::Bold; }},
        CharCase{"{\\i x}y", "xy", "y", [](F f) { return !f.fontItalic(); }},
        CharCase{"\\ul a\\ul0 b", "ab", "b",
                 [](F f) { return f.underlineStyle() == QTextCharFormat::NoUnderline; }},
        CharCase{"\\ulwave a", "a", "a",
                 [](F f) { return f.underlineStyle() == QTextCharFormat::WaveUnderline; }},
        CharCase{"\\uld a", "a", "a", [](F f) { return f.underlineStyle() == QTextCharFormat::DotLine; }},
        CharCase{"\\uldb a\\ulnone b", "ab", "a",
                 [](F f) { return f.underlineStyle() == QTextCharFormat::SingleUnderline; }},
        CharCase{"\\strike a", "a", "a", [](F f) { return f.fontStrikeOut(); }},
        CharCase{"\\super a\\nosupersub b", "ab", "b",
                 [](F f) { return f.verticalAlignment() == QTextCharFormat::AlignNormal; }},
        CharCase{"\\dn4 a", "a", "a",
                 [](F f) { return f.verticalAlignment() == QTextCharFormat::AlignSubScript; }},
        CharCase{"\\up a", "a", "a",
                 [](F f) { return f.verticalAlignment() == QTextCharFormat::AlignSuperScript; }},
        CharCase{"\\scaps a", "a", "a", [](F f) { return f.fontCapitalization() == QFont::SmallCaps; }},
        CharCase{"\\fs30 a", "a", "a", [](F f) { return f.fontPointSize() == 15; }},
        CharCase{"a", "a", "a",
                 [](F f) {
                     return f.fontPointSize() == 12 &&
                            f.fontFamilies().toStringList() == QStringList{"Arial"};
                 }},
        CharCase{"\\cf1 a", "a", "a", [](F f) { return f.foreground().color() == QColor(255, 0, 0); }},
        CharCase{"\\cf1\\cf0 a", "a", "a", [](F f) { return f.foreground().style() == Qt::NoBrush; }},
        CharCase{"\\cf9 a", "a", "a", [](F f) { return f.foreground().style() == Qt::NoBrush; }},
        CharCase{"\\highlight2 a", "a", "a", [](F f) { return f.background().color() == QColor(0, 0, 255); }},
        CharCase{"\\b\\i\\fs40\\cf2\\plain a", "a", "a",
                 [](F f) {
                     return f.fontWeight() < QFont::Bold && !f.fontItalic() && f.fontPointSize() == 12 &&
                            f.foreground().style() == Qt::NoBrush;
                 }},
        CharCase{"{\\v cach\\'e9}vu", "vu", nullptr, nullptr},
        // characters and code pages
        CharCase{"caf\\'e9 \\'80 \\'9c", "café € œ", nullptr, nullptr},
        CharCase{"\\u233?t\\u233?", "été", nullptr, nullptr},
        CharCase{"\\uc2\\u233\\'e9\\'e9t", "ét", nullptr, nullptr},
        CharCase{"\\uc0\\u233 a", "éa", nullptr, nullptr},
        CharCase{"{\\uc2 \\u8364 xx}\\u8364 ?", "€€", nullptr, nullptr},
        CharCase{"\\u-3913?", "\xEF\x82\xB7", nullptr, nullptr},
        CharCase{"\\u-10179?\\u-8704?", "\xF0\x9F\x98\x80", nullptr, nullptr},
        CharCase{"\\u8226\\'95{x}", "•x", nullptr, nullptr},
        CharCase{"{\\f1 \\'b7 p \\'ae \\u-3913?}", "• π → •", "π",
                 [](F f) { return f.fontFamilies().toStringList().isEmpty(); }},
        CharCase{"{\\f3 \\'36}", "⌛", nullptr, nullptr},
        CharCase{"{\\f2 \\'cf\\'f0\\'e8}", "При", "П",
                 [](F f) { return f.fontFamilies().toStringList() == QStringList{"Times"}; }},
        CharCase{"{\\f4 \\'82\\'a0\\'82\\'a2}", "あい", nullptr, nullptr},
        CharCase{"\\ansicpg1251 \\'e4\\'e0", "да", nullptr, nullptr},
        // what no text may hold becomes U+FFFD; U+FEFF is a character like another
        CharCase{"a\\u-257?b",
                 "a\uFEFF"
                 "b",
                 nullptr, nullptr},
        CharCase{"a\\u-10179?b\\u-8704?c",
                 "a\uFFFD"
                 "b\uFFFD"
                 "c",
                 nullptr, nullptr},
        CharCase{"{\\f4 \\'82\\'a0\\'82\\'ff}", "あ\uFFFD\uFFFD", nullptr, nullptr},
        CharCase{"a\\u8233?b\\u65532?c",
                 "a\u2028"
                 "b\uFFFD"
                 "c",
                 nullptr, nullptr},
        // a font named Symbol or Wingdings that says it holds ordinary text keeps it
        CharCase{"{\\fonttbl{\\f5\\fcharset0 Symbol;}{\\f6\\fnil\\fcharset0 Wingdings 3;}}{\\f5 "
                 "Symbol-font}{\\f6 6}",
                 "Symbol-font6", "Symbol",
                 [](F f) { return f.fontFamilies().toStringList() == QStringList{"Symbol"}; }},
        CharCase{"{\\fonttbl{\\f5 Symbol;}{\\f6 Sym\\'01bol;}}{\\f5 p}{\\f6 a}", "πα", nullptr, nullptr},
        // symbols
        CharCase{"\\lquote a\\rquote  \\ldblquote b\\rdblquote", "‘a’ “b”", nullptr, nullptr},
        CharCase{"a\\emdash b\\endash c\\bullet d", "a—b–c•d", nullptr, nullptr},
        CharCase{"a\\~b\\_c\\-d",
                 "a\xC2\xA0"
                 "b\xE2\x80\x91"
                 "c\xC2\xAD"
                 "d",
                 nullptr, nullptr},
        CharCase{"a\\tab b\\line c",
                 "a\tb\xE2\x80\xA8"
                 "c",
                 nullptr, nullptr},
        CharCase{"\\\\ \\{ \\}", "\\ { }", nullptr, nullptr},
        // what is skipped leaves the text around it
        CharCase{"a{\\*\\inconnu x}b{\\info{\\title T}}c{\\stylesheet{\\s0 Normal;}}d", "abcd", nullptr,
                 nullptr},
        CharCase{"a{\\field{\\*\\fldinst HYPERLINK \"http://x\"}{\\fldrslt {\\ul lien}}}b", "alienb", "lien",
                 [](F f) { return f.fontUnderline(); }},
        CharCase{"a{\\object\\objemb{\\*\\objclass Equation}{\\*\\objdata 0102}{\\result r}}b", "arb",
                 nullptr, nullptr},
        CharCase{"a{\\header en-t\\'eate}{\\footnote note}b", "ab", nullptr, nullptr},
        CharCase{"{\\listtext\\pard\\plain \\'b7\\tab}x", "·\tx", nullptr, nullptr},
        CharCase{"{\\pntext\\f1\\'b7\\tab}x", "•\tx", nullptr, nullptr},
        CharCase{"{\\*\\shppict x}{\\nonshppict y}z", "xz", nullptr, nullptr},
        CharCase{"a\\nestcell b", "a\tb", nullptr, nullptr}));

TEST(Fonts, TableEntriesWithAndWithoutGroups) {
    const Loaded in = load(
        "{\\rtf1{\\fonttbl\\f0\\fswiss Helv\\'e9tica;\\f1 Co\\u21644?urier{\\*\\falt Mono};}"
        "\\f0 a\\f1 b\\f7 c}");
    EXPECT_EQ(charFormatOf(*in.doc, "a").fontFamilies().toStringList(),
              QStringList{QString::fromUtf8("Helvética")});
    EXPECT_EQ(charFormatOf(*in.doc, "b").fontFamilies().toStringList(),
              QStringList{QString::fromUtf8("Co和urier")});
    EXPECT_FALSE(charFormatOf(*in.doc, "c").hasProperty(QTextFormat::FontFamilies));
}

// A font's name is in its own charset's code page, or in the document's when
// the font defers to it; read, written and read again it stays the same, and
// so does the writing.
TEST(Fonts, NamesInTheCodePageTheyAreWrittenIn) {
    struct Case {
        int documentCodePage;
        const char* charset;  // the entry's \fcharset, or nothing
        int nameCodePage;     // what the name's bytes are in
        QString name;
    };
    const std::vector<Case> cases{
        {1251, "", 1251, QString::fromUtf8("Шрифт Учебник")},
        {1251, "\\fcharset0", 1251, QString::fromUtf8("Таймс Кириллица")},
        {1251, "\\fcharset204", 1251, QString::fromUtf8("Гарнитура №1")},
        {1250, "", 1250, QString::fromUtf8("Písmo Řečtina")},
        {1250, "\\fcharset0", 1250, QString::fromUtf8("Czcionka Łódź")},
        {1250, "\\fcharset238", 1250, QString::fromUtf8("Betűtípus Ő")},
        // The font's own charset wins over the document's code page.
        {1251, "\\fcharset238", 1250, QString::fromUtf8("Písmo Čeština")},
        {1250, "\\fcharset204", 1251, QString::fromUtf8("Шрифт")},
        {1250, "\\fcharset161", 1253, QString::fromUtf8("Γραμματοσειρά")},
        {1252, "", 1252, QString::fromUtf8("Helvética Œuvre")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        QStringEncoder encoder(codecNameForCodePage(c.nameCodePage));
        const QByteArray bytes = encoder.encode(c.name);
        ASSERT_FALSE(encoder.hasError());
        QByteArray escaped;
        for (const char byte : bytes) {
            const auto b = static_cast<unsigned char>(byte);
            escaped += b < 0x80 ? QByteArray(1, byte) : "\\'" + QByteArray::number(b, 16);
        }
        const QByteArray rtf = "{\\rtf1\\ansi\\ansicpg" + QByteArray::number(c.documentCodePage) +
                               "\\deff0{\\fonttbl{\\f0\\fnil Arial;}{\\f1\\fswiss" + c.charset + ' ' +
                               escaped + ";}}\\f1 x\\f0 y}";
        const Loaded in = load(rtf);
        ASSERT_EQ(in.status, ReadStatus::Ok);
        EXPECT_EQ(charFormatOf(*in.doc, "x").fontFamilies().toStringList(), QStringList{c.name});

        EXPECT_EQ(roundTripDifference(rtf), QString());
        const Loaded again = load(RtfWriter::write(*in.doc));
        EXPECT_EQ(charFormatOf(*again.doc, "x").fontFamilies().toStringList(), QStringList{c.name});
        EXPECT_EQ(RtfWriter::write(*again.doc), RtfWriter::write(*in.doc));
    }
}

// ---- paragraphs ----

TEST(Paragraphs, PropertiesAndBreaks) {
    const Loaded in =
        load(wrap("\\qc centre\\par\\pard\\qr\\li720\\ri360\\fi-360\\sb240\\sa120 droite\\par"
                  "\\pard\\qj\\sl360\\slmult1\\tx1440\\tqr\\tx2880 justifie\\par"
                  "\\pard\\sl-300 exact\\page suite\\par\\par fin"));
    ASSERT_EQ(in.status, ReadStatus::Ok);
    const QStringList lines = describe(*in.doc);
    ASSERT_EQ(lines.size(), 7) << lines.join('\n').toStdString();
    const QTextDocument& doc = *in.doc;
    EXPECT_EQ(blockFormatOf(doc, "centre").alignment(), Qt::AlignHCenter);
    const QTextBlockFormat right = blockFormatOf(doc, "droite");
    EXPECT_EQ(right.alignment(), Qt::AlignRight);
    EXPECT_EQ(right.leftMargin(), 48);
    EXPECT_EQ(right.rightMargin(), 24);
    EXPECT_EQ(right.textIndent(), -24);
    EXPECT_EQ(right.topMargin(), 16);
    EXPECT_EQ(right.bottomMargin(), 8);
    const QTextBlockFormat justified = blockFormatOf(doc, "justifie");
    EXPECT_EQ(justified.alignment(), Qt::AlignJustify);
    EXPECT_EQ(justified.leftMargin(), 0);  // \pard reset the indent
    EXPECT_EQ(justified.lineHeightType(), QTextBlockFormat::ProportionalHeight);
    EXPECT_EQ(justified.lineHeight(), 150);
    ASSERT_EQ(justified.tabPositions().size(), 2);
    EXPECT_EQ(justified.tabPositions().at(0).position, 96);
    EXPECT_EQ(justified.tabPositions().at(1).type, QTextOption::RightTab);
    EXPECT_EQ(blockFormatOf(doc, "exact").lineHeightType(), QTextBlockFormat::FixedHeight);
    EXPECT_EQ(blockFormatOf(doc, "exact").lineHeight(), 20);
    EXPECT_TRUE(blockFormatOf(doc, "suite").pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
    EXPECT_FALSE(blockFormatOf(doc, "exact").pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
    EXPECT_EQ(doc.findBlockByNumber(5).text(), QString());  // \par\par leaves an empty paragraph
    EXPECT_EQ(doc.lastBlock().text(), QStringLiteral("fin"));
}

TEST(Paragraphs, FinalParagraphMarkAddsNoEmptyParagraph) {
    for (const char* body : {"un\\par deux\\par", "un\\par deux", "un\\par{deux\\par}", "un\\\ndeux\\par"}) {
        const Loaded in = load(wrap(body));
        EXPECT_EQ(in.doc->blockCount(), 2) << body;
        EXPECT_EQ(in.doc->lastBlock().text(), QStringLiteral("deux")) << body;
    }
}

TEST(Paragraphs, InsertsAtTheCursorInsideExistingText) {
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("avant apres"));
    QTextCursor cursor(&doc);
    cursor.setPosition(6);
    EXPECT_EQ(RtfReader::read(wrap("{\\b colle} ici "), cursor), ReadStatus::Ok);
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("avant colle ici apres"));
    EXPECT_EQ(cursor.position(), 16);
    EXPECT_GE(charFormatOf(doc, "colle").fontWeight(), QFont::Bold);
}

// ---- tables ----

TEST(Tables, RowsBecomeATableAndTextFollowsIt) {
    const Loaded in =
        load(wrap("avant\\par\\trowd\\clbrdrt\\brdrs\\cellx1500\\cellx4500"
                  "\\pard\\intbl a\\cell\\pard\\intbl\\qc b\\par b2\\cell\\row"
                  "\\trowd\\cellx1500\\cellx4500\\pard\\intbl c\\cell\\cell\\row\\pard apres"));
    ASSERT_EQ(in.status, ReadStatus::Ok);
    const QStringList lines = describe(*in.doc);
    ASSERT_EQ(lines.size(), 7) << lines.join('\n').toStdString();
    EXPECT_TRUE(lines[0].contains("\"avant\""));
    EXPECT_TRUE(lines[1].startsWith("cell 0,0 of 2x2") && lines[1].contains("\"a\""));
    EXPECT_TRUE(lines[2].startsWith("cell 0,1 of 2x2: align 4") && lines[2].contains("\"b\""));
    EXPECT_TRUE(lines[3].startsWith("cell 0,1 of 2x2") && lines[3].contains("\"b2\""));
    EXPECT_TRUE(lines[4].startsWith("cell 1,0") && lines[4].contains("\"c\""));
    EXPECT_TRUE(lines[5].startsWith("cell 1,1"));
    EXPECT_TRUE(lines[6].contains("\"apres\"") && !lines[6].startsWith("cell"));
    const QTextTable* table = QTextCursor(in.doc->findBlockByNumber(1)).currentTable();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->format().border(), 1);
    ASSERT_EQ(table->format().columnWidthConstraints().size(), 2);
    EXPECT_EQ(table->format().columnWidthConstraints().at(1).rawValue(), 200);
}

TEST(Tables, CellsBeyondTheRowDefinitionAddColumns) {
    const Loaded in = load(wrap("\\trowd\\cellx1000\\intbl a\\cell b\\cell c\\cell\\row"));
    const QTextTable* table =
        in.doc->begin().next().isValid() ? QTextCursor(in.doc->begin().next()).currentTable() : nullptr;
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->columns(), 3);
    EXPECT_EQ(table->format().border(), 0);
}

// ---- pictures ----

QImage testImage(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.setPixel(x, y, qRgb(x * 40, y * 60, 100));
    return image;
}

TEST(Pictures, PngAndJpegShownAtTheirSize) {
    const QImage image = testImage(6, 4);
    QByteArray jpeg;
    {
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPEG");
    }
    const QByteArray png = pngOf(image);
    struct Case {
        QByteArray body;
        QSizeF size;
    };
    const Case cases[] = {
        {"{\\pict\\pngblip\\picw6\\pich4 " + png.toHex() + "}", {6, 4}},
        {"{\\pict\\pngblip\\picwgoal1800\\pichgoal600 " + png.toHex() + "}", {120, 40}},
        {"{\\pict\\pngblip\\picscalex50\\picscaley200\\picwgoal900\\pichgoal450 " + png.toHex() + "}",
         {30, 60}},
        {"{\\pict\\jpegblip " + jpeg.toHex() + "}", {6, 4}},
        {"{\\pict\\pngblip\\bin" + QByteArray::number(png.size()) + " " + png + "}", {6, 4}},
        {"{\\*\\shppict{\\pict\\pngblip " + png.toHex() + "}}{\\nonshppict{\\pict\\wmetafile8 0102}}",
         {6, 4}},
    };
    for (const Case& c : cases) {
        const Loaded in = load(wrap("x" + c.body + "y"));
        EXPECT_EQ(in.status, ReadStatus::Ok) << c.body.left(60).constData();
        const QStringList lines = describe(*in.doc);
        ASSERT_EQ(lines.size(), 1);
        EXPECT_EQ(in.doc->toPlainText(), QStringLiteral("x\uFFFCy"));
        const QTextImageFormat f =
            charFormatOf(*in.doc, QString(QChar::ObjectReplacementCharacter)).toImageFormat();
        EXPECT_EQ(QSizeF(f.width(), f.height()), c.size) << c.body.left(60).constData();
        const QImage shown = in.doc->resource(QTextDocument::ImageResource, QUrl(f.name())).value<QImage>();
        EXPECT_EQ(shown.size(), image.size());
    }
}

TEST(Pictures, FormatsThatCannotBeShownLeaveNothing) {
    for (const char* body : {"{\\pict\\wmetafile8\\picw10\\pich10 0100090000}", "{\\pict\\pngblip 0102zz03}",
                             "{\\pict\\emfblip 89504e47}"}) {
        const Loaded in = load(wrap(QByteArray("a") + body + "b"));
        EXPECT_EQ(in.doc->toPlainText(), QStringLiteral("ab")) << body;
    }
}

// ---- files ----

TEST(Files, LoadReplacesTheDocumentOnlyWhenTheFileIsRtf) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("ancien"));
    EXPECT_EQ(loadRtfFile(dir.filePath("absent.rtf"), doc), ReadStatus::CannotOpen);
    QFile plain(dir.filePath("texte.rtf"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.write("pas du RTF");
    plain.close();
    EXPECT_EQ(loadRtfFile(plain.fileName(), doc), ReadStatus::NotRtf);
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("ancien"));

    QTextDocument saved;
    QTextCursor(&saved).insertText(QStringLiteral("réponse de l'élève"));
    ASSERT_TRUE(saveRtfFile(saved, dir.filePath("eleve.RTF")));
    EXPECT_EQ(loadRtfFile(dir.filePath("eleve.RTF"), doc), ReadStatus::Ok);
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("réponse de l'élève"));
    EXPECT_FALSE(saveRtfFile(saved, dir.filePath("nul/part/eleve.rtf")));
}

TEST(Files, NonRegularFilesAreReadFailuresAtOnce) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const auto& [kind, path] : molvane::test::nonRegularPaths(dir.path().toStdString())) {
        QTextDocument doc;
        doc.setPlainText(QStringLiteral("ancien"));
        ReadStatus status = ReadStatus::Ok;
        EXPECT_TRUE(molvane::test::returnsPromptly(path, [&] {
            status = loadRtfFile(QString::fromStdString(path.string()), doc);
        })) << kind;
        EXPECT_EQ(status, ReadStatus::CannotOpen) << kind;
        EXPECT_TRUE(nothingLoaded(status));
        EXPECT_EQ(doc.toPlainText(), QStringLiteral("ancien")) << kind;
    }
}

TEST(Files, ANoticeForEveryLoadThatKeptOnlyPart) {
    const ReadStatus partial[] = {ReadStatus::Truncated, ReadStatus::Malformed, ReadStatus::TooDeep,
                                  ReadStatus::LimitReached, ReadStatus::TooLong};
    QStringList notices;
    for (ReadStatus status : partial) {
        EXPECT_FALSE(nothingLoaded(status));
        notices.append(readNotice(status));
        EXPECT_FALSE(notices.back().isEmpty());
    }
    notices.removeDuplicates();
    EXPECT_EQ(notices.size(), int(std::size(partial))) << "each says what was left out";
    for (ReadStatus status :
         {ReadStatus::Ok, ReadStatus::NotRtf, ReadStatus::CannotOpen, ReadStatus::TooLarge}) {
        EXPECT_EQ(readNotice(status), QString());
        EXPECT_EQ(nothingLoaded(status), status != ReadStatus::Ok);
    }
}

}  // namespace

namespace {

TEST(Charsets, EveryCodePageHasADecoder) {
    // A misspelt codec name would quietly turn text into Windows-1252.
    for (int charset = 0; charset < 256; ++charset) {
        const int codePage = codePageForCharset(charset);
        if (codePage == 0 || codePage == kCodePageSymbol) continue;
        const char* name = codecNameForCodePage(codePage);
        ASSERT_NE(name, nullptr) << charset;
        EXPECT_TRUE(QStringDecoder(name).isValid()) << name;
    }
}

}  // namespace

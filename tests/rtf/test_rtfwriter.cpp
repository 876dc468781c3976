#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextList>
#include <QTextTable>
#include <QUrl>
#include <functional>

#include "richtextdocument.h"
#include "rtffile.h"
#include "rtftestsupport.h"
#include "rtfwriter.h"

using namespace molvane::rtf;
using namespace molvane::rtf::test;

namespace {

QStringList roundTrip(const QTextDocument& doc, QByteArray* written = nullptr) {
    const QByteArray rtf = RtfWriter::write(doc);
    if (written) *written = rtf;
    const Loaded again = load(rtf);
    EXPECT_EQ(again.status, ReadStatus::Ok);
    return describe(*again.doc);
}

TEST(RoundTrip, FixturesComeBackTheSame) {
    for (const char* name : {"libreoffice-writer.rtf", "pandoc.rtf"}) {
        const Loaded first = load(fixture(name));
        QByteArray written;
        EXPECT_EQ(roundTrip(*first.doc, &written), describe(*first.doc)) << name;
        const Loaded second = load(written);
        EXPECT_EQ(RtfWriter::write(*second.doc), written) << name << ": writing is stable";
    }
}

using Build = std::function<void(QTextDocument&, QTextCursor&)>;

struct BuiltCase {
    const char* name;
    Build build;
};

class BuiltDocuments : public ::testing::TestWithParam<BuiltCase> {};

TEST_P(BuiltDocuments, ReadBackAsWritten) {
    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("Arial"), 10));
    QTextCursor cursor(&doc);
    GetParam().build(doc, cursor);
    const QStringList original = describe(doc);
    EXPECT_EQ(roundTrip(doc), original);
}

QTextCharFormat with(const std::function<void(QTextCharFormat&)>& set) {
    QTextCharFormat f;
    set(f);
    return f;
}

INSTANTIATE_TEST_SUITE_P(
    Rtf, BuiltDocuments,
    ::testing::Values(
        BuiltCase{
            "CharacterFormats",
            [](QTextDocument&, QTextCursor& c) {
                c.insertText("plain ");
                c.insertText("gras ", with([](auto& f) { f.setFontWeight(QFont::Bold); }));
                c.insertText("italique ", with([](auto& f) { f.setFontItalic(true); }));
                c.insertText("souligne ", with([](auto& f) { f.setFontUnderline(true); }));
                c.insertText("vague ",
                             with([](auto& f) { f.setUnderlineStyle(QTextCharFormat::WaveUnderline); }));
                c.insertText("tirets ",
                             with([](auto& f) { f.setUnderlineStyle(QTextCharFormat::DashDotLine); }));
                c.insertText("barre ", with([](auto& f) { f.setFontStrikeOut(true); }));
                c.insertText(
                    "2", with([](auto& f) { f.setVerticalAlignment(QTextCharFormat::AlignSuperScript); }));
                c.insertText("r",
                             with([](auto& f) { f.setVerticalAlignment(QTextCharFormat::AlignSubScript); }));
                c.insertText(" grand", with([](auto& f) { f.setFontPointSize(18.5); }));
                c.insertText(" police", with([](auto& f) { f.setFontFamilies({"Liberation Sérif"}); }));
                c.insertText(" rouge", with([](auto& f) { f.setForeground(QColor(192, 0, 0)); }));
                c.insertText(" fond", with([](auto& f) { f.setBackground(QColor(255, 255, 0)); }));
                c.insertText(" bleu", with([](auto& f) { f.setForeground(QColor(0, 0, 200)); }));
                c.insertText(" rouge", with([](auto& f) { f.setForeground(QColor(192, 0, 0)); }));
                c.insertText(" petites", with([](auto& f) { f.setFontCapitalization(QFont::SmallCaps); }));
            }},
        BuiltCase{"SpecialCharacters",
                  [](QTextDocument&, QTextCursor& c) {
                      c.insertText(QString::fromUtf8(
                          "\\ { } a\tb\u2028c d\u00a0e\u2011f\u00adg € œ — Ω α 😀 «x» ‘y’ "));
                  }},
        BuiltCase{"Paragraphs",
                  [](QTextDocument&, QTextCursor& c) {
                      QTextBlockFormat b;
                      b.setAlignment(Qt::AlignHCenter);
                      c.setBlockFormat(b);
                      c.insertText("titre", with([](auto& f) { f.setFontPointSize(18); }));
                      b = QTextBlockFormat();
                      b.setAlignment(Qt::AlignRight);
                      b.setLeftMargin(20);
                      b.setRightMargin(10);
                      b.setTextIndent(-12);
                      b.setTopMargin(4);
                      b.setBottomMargin(8);
                      c.insertBlock(b);
                      c.insertText("droite");
                      b = QTextBlockFormat();
                      b.setAlignment(Qt::AlignJustify);
                      b.setLineHeight(150, QTextBlockFormat::ProportionalHeight);
                      b.setTabPositions({QTextOption::Tab(96, QTextOption::LeftTab),
                                         QTextOption::Tab(200, QTextOption::RightTab),
                                         QTextOption::Tab(250, QTextOption::CenterTab)});
                      c.insertBlock(b);
                      c.insertText("a\tb\tc");
                      b = QTextBlockFormat();
                      b.setLineHeight(20, QTextBlockFormat::FixedHeight);
                      c.insertBlock(b);
                      b = QTextBlockFormat();
                      b.setLineHeight(30, QTextBlockFormat::MinimumHeight);
                      c.insertBlock(b);
                      c.insertText("vide avant");
                      b = QTextBlockFormat();
                      b.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
                      c.insertBlock(b);
                      c.insertText("nouvelle page");
                  }},
        BuiltCase{"Pictures",
                  [](QTextDocument& doc, QTextCursor& c) {
                      QImage image(6, 4, QImage::Format_ARGB32);
                      image.fill(QColor(10, 200, 30, 128));
                      image.setPixel(1, 2, qRgba(255, 0, 0, 255));
                      doc.addResource(QTextDocument::ImageResource, QUrl("figure"), image);
                      QTextImageFormat f;
                      f.setName("figure");
                      f.setWidth(60);
                      f.setHeight(30);
                      c.insertText("Figure : ");
                      c.insertImage(f);
                      c.insertImage(f);
                      c.insertText(" fin");
                      QTextImageFormat natural;
                      natural.setName("figure");
                      c.insertBlock();
                      c.insertImage(natural);
                  }},
        BuiltCase{"DescribedPictures",
                  [](QTextDocument& doc, QTextCursor& c) {
                      doc.addResource(QTextDocument::ImageResource, QUrl("figure"),
                                      QImage(5, 3, QImage::Format_RGB32));
                      QTextImageFormat f;
                      f.setName("figure");
                      f.setProperty(kPictureDescription,
                                    QStringLiteral("Un récipient « fermé » {A} ; B\\C α"));
                      c.insertImage(f);
                      f.setProperty(kPictureDescription, QStringLiteral("Un autre"));
                      c.insertImage(f);
                      QTextImageFormat undescribed;
                      undescribed.setName("figure");
                      c.insertImage(undescribed);
                  }},
        BuiltCase{"Tables",
                  [](QTextDocument&, QTextCursor& c) {
                      c.insertText("avant");
                      QTextTableFormat t;
                      t.setBorder(1);
                      QTextTable* table = c.insertTable(2, 3, t);
                      c.insertText("Date (s)", with([](auto& f) { f.setFontWeight(QFont::Bold); }));
                      c = table->cellAt(0, 1).firstCursorPosition();
                      c.insertText("Nombre");
                      QTextBlockFormat centred;
                      centred.setAlignment(Qt::AlignHCenter);
                      c.insertBlock(centred);
                      c.insertText("de C");
                      c = table->cellAt(1, 2).firstCursorPosition();
                      c.insertText("20");
                      c = table->lastCursorPosition();
                      c.movePosition(QTextCursor::NextBlock);
                      c.insertText("apres");
                      c.insertBlock();
                      QTextTable* second = c.insertTable(1, 1, QTextTableFormat());
                      second->cellAt(0, 0).firstCursorPosition().insertText("seule");
                  }},
        BuiltCase{"TrailingEmptyParagraphs",
                  [](QTextDocument&, QTextCursor& c) {
                      c.insertText("a");
                      for (int k = 0; k < 3; ++k) c.insertBlock();
                  }},
        BuiltCase{"FontsNamedLikeSymbolFonts",
                  [](QTextDocument&, QTextCursor& c) {
                      c.insertText("Symbol-font", with([](auto& f) { f.setFontFamilies({"Symbol"}); }));
                      c.insertText(" 6 pq", with([](auto& f) { f.setFontFamilies({"Wingdings 3"}); }));
                  }},
        BuiltCase{"FontNamesWithAnyCharacters",
                  [](QTextDocument&, QTextCursor& c) {
                      c.insertText("a", with([](auto& f) {
                                       f.setFontFamilies({QString::fromUtf8("Deja\u00a0Vu\u00adSans")});
                                   }));
                      c.insertText("b", with([](auto& f) {
                                       f.setFontFamilies({QString::fromUtf8("Noto \u4e2d\u6587 \u2011 é")});
                                   }));
                      c.insertText("c",
                                   with([](auto& f) { f.setFontFamilies({QString::fromUtf8("x\\y{z}")}); }));
                  }},
        BuiltCase{"CharactersReadersLikeToDrop",
                  [](QTextDocument&, QTextCursor& c) {
                      c.insertText(QString::fromUtf8("\uFEFFa\u200Bb\uFFFD\uFFFEc"));
                  }},
        BuiltCase{"PageBreakBeforeTheFirstParagraphAndInACell",
                  [](QTextDocument&, QTextCursor& c) {
                      QTextBlockFormat page;
                      page.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
                      c.setBlockFormat(page);
                      c.insertText("premier");
                      QTextTable* table = c.insertTable(1, 1, QTextTableFormat());
                      QTextCursor cell = table->cellAt(0, 0).firstCursorPosition();
                      cell.setBlockFormat(page);
                      cell.insertText("cellule");
                  }},
        BuiltCase{"EmptyParagraphsInCells",
                  [](QTextDocument&, QTextCursor& c) {
                      QTextTable* table = c.insertTable(1, 3, QTextTableFormat());
                      QTextCursor first = table->cellAt(0, 0).firstCursorPosition();
                      first.insertText("a");
                      first.insertBlock();
                      QTextCursor second = table->cellAt(0, 1).firstCursorPosition();
                      second.insertBlock();
                      QTextBlockFormat centred;
                      centred.setAlignment(Qt::AlignHCenter);
                      table->cellAt(0, 2).firstCursorPosition().setBlockFormat(centred);
                  }}),
    [](const auto& info) { return std::string(info.param.name); });

// Every document the reader makes comes back the same from its writing, and
// its writing comes back byte for byte: the seeds of the fuzz corpus (odd and
// damaged files) and the files of other word processors.
TEST(RoundTrip, EveryFileOfTheCorpusAndTheFixtures) {
    int files = 0;
    for (const char* folder : {RTF_CORPUS, RTF_TEST_DATA}) {
        for (const QFileInfo& info :
             QDir(QString::fromLatin1(folder)).entryInfoList({"*.rtf"}, QDir::Files)) {
            QFile file(info.filePath());
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(roundTripDifference(file.readAll()), QString()) << info.fileName().toStdString();
            ++files;
        }
    }
    EXPECT_GE(files, 20);
}

// A pupil's text saved and reopened again and again, as files.
TEST(RoundTrip, SavingAndReopeningChangesNothing) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("reponse.RTF"));
    for (const QByteArray& start :
         {QByteArray("{\\rtf1 a\\par\\par\\par\\par}"), fixture("libreoffice-writer.rtf")}) {
        QTextDocument doc;
        QTextCursor cursor(&doc);
        ASSERT_EQ(RtfReader::read(start, cursor), ReadStatus::Ok);
        const QStringList first = describe(doc);
        QByteArray previous;
        for (int cycle = 1; cycle <= 3; ++cycle) {
            ASSERT_TRUE(saveRtfFile(doc, path));
            ASSERT_EQ(loadRtfFile(path, doc), ReadStatus::Ok);
            EXPECT_EQ(describe(doc), first) << "cycle " << cycle;
            QFile saved(path);
            ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
            const QByteArray bytes = saved.readAll();
            if (cycle > 1) {
                EXPECT_EQ(bytes, previous) << "cycle " << cycle;
            }
            previous = bytes;
        }
        if (start.startsWith("{\\rtf1 a")) {
            EXPECT_EQ(doc.blockCount(), 4);
        }
    }
}

TEST(Writer, EscapesTextForWindows1252) {
    QTextDocument doc;
    QTextCursor(&doc).insertText(QString::fromUtf8("\\{}é€Ω😀\t"));
    const QByteArray rtf = RtfWriter::write(doc);
    EXPECT_TRUE(rtf.contains("\\\\\\{\\}\\'e9\\'80\\u937?\\u-10179?\\u-8704?\\tab ")) << rtf.constData();
    for (const char c : rtf) EXPECT_LT(static_cast<unsigned char>(c), 0x80) << "RTF is 7-bit text";
}

TEST(Writer, TablesListOnlyWhatIsUsedOnce) {
    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("Arial"), 10));
    QTextCursor c(&doc);
    c.insertText("a", with([](auto& f) { f.setForeground(QColor(1, 2, 3)); }));
    c.insertText("b", with([](auto& f) {
                     f.setForeground(QColor(1, 2, 3));
                     f.setFontFamilies({"Courier"});
                 }));
    c.insertText("c", with([](auto& f) { f.setBackground(QColor(4, 5, 6)); }));
    const QByteArray rtf = RtfWriter::write(doc);
    EXPECT_TRUE(rtf.contains("{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}{\\f1\\fnil\\fcharset0 Courier;}}"))
        << rtf.constData();
    EXPECT_TRUE(rtf.contains("{\\colortbl;\\red1\\green2\\blue3;\\red4\\green5\\blue6;}")) << rtf.constData();
    EXPECT_TRUE(rtf.contains("\\deff0")) << rtf.constData();
    EXPECT_TRUE(rtf.contains("{\\f0\\fs20\\cf1 a}{\\f1\\fs20\\cf1 b}{\\f0\\fs20\\highlight2 c}"))
        << rtf.constData();
}

}  // namespace

namespace {

TEST(Writer, ListsMergedCellsAndInnerTablesKeepTheirText) {
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertList(QTextListFormat::ListDisc);
    c.insertText("puce");
    c.insertList(QTextListFormat::ListDecimal);
    c.insertText("un");
    c.insertBlock();
    c.insertText("deux");
    c.insertBlock(QTextBlockFormat());
    QTextTableFormat percent;
    percent.setColumnWidthConstraints({QTextLength(QTextLength::PercentageLength, 30), QTextLength()});
    QTextTable* table = c.insertTable(2, 2, percent);
    table->mergeCells(0, 0, 1, 2);
    table->cellAt(0, 0).firstCursorPosition().insertText("fusion");
    QTextCursor inner = table->cellAt(1, 1).firstCursorPosition();
    inner.insertTable(1, 2)->cellAt(0, 1).firstCursorPosition().insertText("dedans");

    const Loaded again = load(RtfWriter::write(doc));
    EXPECT_EQ(again.status, ReadStatus::Ok);
    const QStringList lines = describe(*again.doc);
    const QString all = lines.join('\n');
    EXPECT_TRUE(all.contains(QString::fromUtf8("\"•\tpuce\""))) << all.toStdString();
    EXPECT_TRUE(all.contains("\"1.\tun\"") && all.contains("\"2.\tdeux\"")) << all.toStdString();
    EXPECT_TRUE(all.contains("cell 0,0 of 2x2") && all.contains("\"fusion\"")) << all.toStdString();
    EXPECT_TRUE(all.contains(QRegularExpression("cell 1,1 of 2x2.*\"dedans\""))) << all.toStdString();
}

}  // namespace

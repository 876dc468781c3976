// The rich-text model read from RTF and written back, without Qt: what the
// builder makes of each kind of content, the bounds it holds, the pictures'
// descriptions, and that writing and reading again changes nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "exercises/rtf/picturesize.h"
#include "exercises/rtf/richtext.h"
#include "exercises/rtf/rtfbuilder.h"
#include "exercises/rtf/rtfemitter.h"

namespace molvane::rtf {
namespace {

using namespace richtext;

// A 7 by 5 pixels PNG, and the same bytes in RTF's hexadecimal.
const std::string kPngHex =
    "89504e470d0a1a0a0000000d494844520000000700000005080200000006f8618f0000001249444154789c63f8cfc08089b0"
    "0851451400a12f22de7b957d9f0000000049454e44ae426082";

std::string fromHex(const std::string& hex) {
    std::string out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return out;
}

Document build(const std::string& rtf, ReadStatus expected = ReadStatus::Ok) {
    Document d;
    EXPECT_EQ(buildRichText(rtf, d), expected) << rtf;
    return d;
}

// Paragraphs outside tables, as their text.
std::vector<std::u16string> texts(const Document& d) {
    std::vector<std::u16string> out;
    for (const Block& b : d.blocks)
        if (b.paragraph) out.push_back(plainText(b.paragraph->runs, d));
    return out;
}

const richtext::Run& firstRun(const Document& d) {
    for (const Block& b : d.blocks)
        if (b.paragraph && !b.paragraph->runs.empty()) return b.paragraph->runs.front();
    static const richtext::Run none;
    ADD_FAILURE() << "no run";
    return none;
}

TEST(RichTextBuilder, CharacterFormats) {
    const struct {
        const char* rtf;
        void (*set)(CharFormat&);
    } cases[] = {
        {R"({\rtf1 x})", [](CharFormat&) {}},
        {R"({\rtf1 {\b x}})", [](CharFormat& f) { f.bold = true; }},
        {R"({\rtf1 {\b\b0 x}})", [](CharFormat&) {}},
        {R"({\rtf1 {\i\strike x}})",
         [](CharFormat& f) {
             f.italic = true;
             f.strike = true;
         }},
        {R"({\rtf1 {\fs31 x}})", [](CharFormat& f) { f.halfPoints = 31; }},
        {R"({\rtf1 {\ul x}})", [](CharFormat& f) { f.underline = Underline::Single; }},
        {R"({\rtf1 {\uldb x}})", [](CharFormat& f) { f.underline = Underline::Single; }},
        {R"({\rtf1 {\ulwave x}})", [](CharFormat& f) { f.underline = Underline::Wave; }},
        {R"({\rtf1 {\uldashdd x}})", [](CharFormat& f) { f.underline = Underline::DashDotDot; }},
        {R"({\rtf1 {\ul\ulnone x}})", [](CharFormat&) {}},
        {R"({\rtf1 {\super x}})", [](CharFormat& f) { f.vertical = VerticalPosition::Superscript; }},
        {R"({\rtf1 {\dn4 x}})", [](CharFormat& f) { f.vertical = VerticalPosition::Subscript; }},
        {R"({\rtf1 {\scaps x}})", [](CharFormat& f) { f.capitals = Capitals::Small; }},
        {R"({\rtf1{\colortbl;\red255\green0\blue0;}{\cf1\highlight1 x}})",
         [](CharFormat& f) {
             f.foreground = Colour{255, 0, 0};
             f.background = Colour{255, 0, 0};
         }},
        {R"({\rtf1{\colortbl;\red255\green0\blue0;}{\cf7 x}})", [](CharFormat&) {}},
        {R"({\rtf1{\fonttbl{\f0 Arial;}{\f1 Georgia;}}{\f1 x}})", [](CharFormat& f) { f.font = u"Georgia"; }},
        {R"({\rtf1\deff1{\fonttbl{\f0 Arial;}{\f1 Georgia;}} x})",
         [](CharFormat& f) { f.font = u"Georgia"; }},
        {R"({\rtf1{\fonttbl{\f0 Symbol;}}{\f0 x}})", [](CharFormat&) {}},
    };
    for (const auto& c : cases) {
        CharFormat expected;
        c.set(expected);
        EXPECT_EQ(firstRun(build(c.rtf)).format, expected) << c.rtf;
    }
}

TEST(RichTextBuilder, ParagraphFormats) {
    const struct {
        const char* rtf;
        void (*set)(ParagraphFormat&);
    } cases[] = {
        {R"({\rtf1 x\par})", [](ParagraphFormat&) {}},
        {R"({\rtf1\qc x\par})", [](ParagraphFormat& f) { f.alignment = Alignment::Centre; }},
        {R"({\rtf1\qj\li720\ri360\fi-180 x\par})",
         [](ParagraphFormat& f) {
             f.alignment = Alignment::Justify;
             f.leftIndent = 720;
             f.rightIndent = 360;
             f.firstIndent = -180;
         }},
        {R"({\rtf1\sb120\sa-5 x\par})", [](ParagraphFormat& f) { f.spaceBefore = 120; }},
        {R"({\rtf1\sl360\slmult1 x\par})",
         [](ParagraphFormat& f) {
             f.lineSpacing = LineSpacing::Proportional;
             f.lineSpacingValue = 360;
         }},
        {R"({\rtf1\sl300 x\par})",
         [](ParagraphFormat& f) {
             f.lineSpacing = LineSpacing::AtLeast;
             f.lineSpacingValue = 300;
         }},
        {R"({\rtf1\sl-300 x\par})",
         [](ParagraphFormat& f) {
             f.lineSpacing = LineSpacing::Exactly;
             f.lineSpacingValue = 300;
         }},
        {R"({\rtf1\li99999 x\par})", [](ParagraphFormat& f) { f.leftIndent = 22 * 1440; }},
        {R"({\rtf1\tqr\tx2000\tx3000 x\par})",
         [](ParagraphFormat& f) {
             f.tabs = {{2000, TabKind::Right}, {3000, TabKind::Left}};
         }},
        {R"({\rtf1\pagebb x\par})", [](ParagraphFormat& f) { f.pageBreakBefore = true; }},
        {R"({\rtf1 a\page x\par})", [](ParagraphFormat& f) { f.pageBreakBefore = true; }},
    };
    for (const auto& c : cases) {
        const Document d = build(c.rtf);
        const Paragraph& last = *d.blocks.back().paragraph;
        EXPECT_TRUE(last.formatted) << c.rtf;
        ParagraphFormat expected;
        c.set(expected);
        EXPECT_EQ(last.format, expected) << c.rtf;
    }
}

TEST(RichTextBuilder, TextAndParagraphs) {
    const struct {
        const char* rtf;
        std::vector<std::u16string> paragraphs;
    } cases[] = {
        {R"({\rtf1 un\par deux})", {u"un", u"deux"}},
        {R"({\rtf1 un\par})", {u"un"}},
        {R"({\rtf1 un\par\par})", {u"un", u""}},
        {R"({\rtf1 a\line b\tab c})", {u"a\u2028b\tc"}},
        {R"({\rtf1\ansi caf\'e9 \'80 \u945?})", {u"café € α"}},
        {R"({\rtf1\uc2 \u8364\'80\'80 !})", {u"€ !"}},
        {R"({\rtf1 \{\}\\ \~\_})", {u"{}\\ \u00A0\u2011"}},
        {R"({\rtf1 a{\v cach\'e9}b})", {u"ab"}},
        {R"({\rtf1 a{\*\unknown b}{\fldinst c}{\field{\*\fldinst d}{\fldrslt e}}})", {u"ae"}},
        {R"({\rtf1{\fonttbl{\f0 Symbol;}}{\f0 a}})", {u"α"}},
        // The object character only ever stands for a picture.
        {R"({\rtf1 a\u-4?b})", {u"a\uFFFDb"}},
    };
    for (const auto& c : cases) EXPECT_EQ(texts(build(c.rtf)), c.paragraphs) << c.rtf;
}

TEST(RichTextBuilder, TablesKeepTheirCellsAndWidths) {
    const Document d =
        build(R"({\rtf1 avant\par\trowd\clbrdrt\cellx1000\cellx3000\intbl a\cell b\par c\cell\row)"
              R"(\intbl d\cell e\cell f\cell\row\pard apr\'e8s})");
    ASSERT_EQ(d.blocks.size(), 3u);
    ASSERT_TRUE(d.blocks[1].table);
    const Table& t = *d.blocks[1].table;
    EXPECT_TRUE(t.borders);
    EXPECT_EQ(t.columnWidths, (std::vector<int>{1000, 2000}));
    EXPECT_EQ(t.firstColumns, 2);
    EXPECT_EQ(t.columns, 3);  // the second row's third cell added a column
    ASSERT_EQ(t.rows.size(), 2u);
    EXPECT_EQ(t.rows[0].cellsRead, 2);
    EXPECT_EQ(t.rows[1].cellsRead, 3);
    ASSERT_EQ(t.rows[0].cells.size(), 3u);
    const auto cellText = [&](int r, int c) {
        std::u16string out;
        for (const Paragraph& p : t.rows[r].cells[c].paragraphs) out += plainText(p.runs, d) + u"|";
        return out;
    };
    EXPECT_EQ(cellText(0, 0), u"a|");
    EXPECT_EQ(cellText(0, 1), u"b|c|");
    EXPECT_EQ(cellText(0, 2), u"|");
    EXPECT_EQ(cellText(1, 2), u"f|");
    EXPECT_EQ(texts(d), (std::vector<std::u16string>{u"avant", u"après"}));
}

TEST(RichTextBuilder, PicturesTakeTheirSizeFromTheirHeader) {
    const Document d = build("{\\rtf1 x{\\pict\\pngblip\\picscalex200\\picwgoal300\\pichgoal150 " + kPngHex +
                             "}y{\\pict\\pngblip " + kPngHex + "}}");
    ASSERT_EQ(d.pictures.size(), 2u);
    EXPECT_EQ(d.pictures[0].format, PictureFormat::Png);
    EXPECT_EQ(d.pictures[0].pixelWidth, 7);
    EXPECT_EQ(d.pictures[0].pixelHeight, 5);
    EXPECT_EQ(d.pictures[0].width, 600);
    EXPECT_EQ(d.pictures[0].height, 150);
    EXPECT_EQ(d.pictures[1].width, 7 * 15);  // no goal: its pixels, at 15 twips each
    EXPECT_EQ(d.pictures[0].bytes, fromHex(kPngHex));
    const std::vector<richtext::Run>& runs = d.blocks[0].paragraph->runs;
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_EQ(runs[1].picture, 0);
    EXPECT_EQ(runs[3].picture, 1);
}

TEST(RichTextBuilder, PicturesReadTheirDescription) {
    const struct {
        std::string rtf;
        std::u16string description;
    } cases[] = {
        {"{\\rtf1 {\\pict{\\*\\picprop{\\sp{\\sn wzDescription}{\\sv Un r\\'e9cipient}}}\\pngblip " +
             kPngHex + "}}",
         u"Un récipient"},
        {"{\\rtf1 {\\*\\shppict{\\pict{\\*\\picprop{\\sp{\\sn wzName}{\\sv nom}}{\\sp{\\sn "
         "wzDescription}{\\sv "
         "A \\u8652? B}}}\\pngblip " +
             kPngHex +
             "}}{\\nonshppict{\\pict{\\*\\picprop{\\sp{\\sn wzDescription}{\\sv autre}}}\\wmetafile8 00}}}",
         u"A \u21CC B"},
        {"{\\rtf1 {\\pict{\\*\\picprop{\\sp{\\sn wzDescription}{\\sv }}}\\pngblip " + kPngHex + "}}", u""},
        {"{\\rtf1 {\\pict{\\*\\picprop{\\sp{\\sn wzName}{\\sv figure}}}\\pngblip " + kPngHex + "}}", u""},
        {"{\\rtf1 {\\pict\\pngblip " + kPngHex + "}}", u""},
    };
    for (const auto& c : cases) {
        const Document d = build(c.rtf);
        ASSERT_EQ(d.pictures.size(), 1u) << c.rtf;
        EXPECT_EQ(d.pictures[0].description, c.description) << c.rtf;
    }
    // A description is short: a long one is cut, not held whole.
    const Document d = build("{\\rtf1 {\\pict{\\*\\picprop{\\sp{\\sn wzDescription}{\\sv " +
                             std::string(5000, 'a') + "}}}\\pngblip " + kPngHex + "}}");
    ASSERT_EQ(d.pictures.size(), 1u);
    EXPECT_LE(d.pictures[0].description.size(), kMaxDescriptionCharacters);
    EXPECT_GT(d.pictures[0].description.size(), 0u);
}

TEST(RichTextBuilder, BoundsStopWhatAFileCouldMakeGrow) {
    std::string deep = "{\\rtf1 a";
    for (int i = 0; i < 300; ++i) deep += "{";
    deep += "cach\\'e9";
    for (int i = 0; i < 300; ++i) deep += "}";
    deep += "b}";
    std::string wide = "{\\rtf1 \\trowd\\cellx100 ";
    for (int i = 0; i < 100; ++i) wide += "\\intbl c\\cell ";
    wide += "\\row}";
    std::string rows = "{\\rtf1 \\trowd\\cellx100\\cellx200 ";
    for (int i = 0; i < 3000; ++i) rows += "\\intbl a\\cell b\\cell\\row ";
    rows += "}";
    const std::string longText =
        "{\\rtf1 " + std::string(static_cast<std::size_t>(kMaxCharacters) + 10, 'x') + "}";
    const struct {
        std::string rtf;
        ReadStatus status;
    } cases[] = {
        {"not rtf", ReadStatus::NotRtf},
        {"{\\rtf1 a", ReadStatus::Truncated},
        {deep, ReadStatus::TooDeep},
        {"{\\rtf1 {\\pict\\bin10 abc}}", ReadStatus::Malformed},
        {"{\\rtf1 a\\'zz}", ReadStatus::Malformed},
        {wide, ReadStatus::LimitReached},
        {rows, ReadStatus::LimitReached},
        {longText, ReadStatus::TooLong},
    };
    for (const auto& c : cases) {
        Document d;
        EXPECT_EQ(buildRichText(c.rtf, d), c.status) << c.rtf.substr(0, 40);
        std::int64_t characters = 0;
        for (const Block& b : d.blocks) {
            if (b.table) {
                EXPECT_LE(b.table->columns, kMaxTableColumns);
                EXPECT_LE(b.table->columns * static_cast<int>(b.table->rows.size()), kMaxTableCells);
            }
            if (b.paragraph)
                for (const richtext::Run& r : b.paragraph->runs)
                    characters += static_cast<std::int64_t>(r.text.size());
        }
        EXPECT_LE(characters, kMaxCharacters);
    }
    EXPECT_EQ(texts(build(deep, ReadStatus::TooDeep)), std::vector<std::u16string>{u"ab"});
}

TEST(RichTextBuilder, OtherCodePagesGoToThePlatformsDecoder) {
    struct Recorder : CodePageDecoder {
        std::vector<std::pair<int, std::string>> calls;
        bool decode(int codePage, std::string_view bytes, std::u16string& out) override {
            calls.emplace_back(codePage, std::string(bytes));
            out += u"<" + std::u16string(bytes.size(), u'?') + u">";
            return true;
        }
    };
    const std::string rtf =
        R"({\rtf1\ansi\ansicpg1251{\fonttbl{\f0\fcharset0 A;}{\f1\fcharset238 B;}}\'c0{\f0 \'c0}{\f1 \'e9}})";
    Recorder recorder;
    Document d;
    ASSERT_EQ(buildRichText(rtf, d, &recorder), ReadStatus::Ok);
    EXPECT_EQ(recorder.calls, (std::vector<std::pair<int, std::string>>{
                                  {1251, "A"}, {1250, "B"}, {1251, "\xC0"}, {1251, "\xC0"}, {1250, "\xE9"}}));
    // Without one, such bytes read as Windows-1252.
    EXPECT_EQ(texts(build(rtf)), std::vector<std::u16string>{u"ÀÀé"});
}

TEST(PictureHeader, SizeOfPngAndJpeg) {
    const std::string png = fromHex(kPngHex);
    std::string badCrc = png;
    badCrc[29] = static_cast<char>(badCrc[29] ^ 1);
    std::string zeroWide = png;
    zeroWide[19] = 0;
    // JPEG: start, an application segment, then a frame header of 300 by 200.
    const std::string jpeg = std::string("\xFF\xD8\xFF\xE0\x00\x04\x4A\x46", 8) +
                             std::string("\xFF\xC0\x00\x0B\x08\x00\xC8\x01\x2C\x01\x01\x11\x00", 13);
    const struct {
        std::string bytes;
        std::optional<PictureHeader> expected;
    } cases[] = {
        {png, PictureHeader{PictureFormat::Png, 7, 5}},
        {png.substr(0, 30), std::nullopt},
        {badCrc, std::nullopt},
        {zeroWide, std::nullopt},
        {jpeg, PictureHeader{PictureFormat::Jpeg, 300, 200}},
        {jpeg.substr(0, 12), std::nullopt},
        {std::string("\xFF\xD8\xFF\xDA\x00\x02", 6), std::nullopt},
        {"GIF89a", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        const auto header = readPictureHeader(c.bytes);
        ASSERT_EQ(header.has_value(), c.expected.has_value()) << c.bytes.size();
        if (!header) continue;
        EXPECT_EQ(header->format, c.expected->format);
        EXPECT_EQ(header->width, c.expected->width);
        EXPECT_EQ(header->height, c.expected->height);
    }
}

TEST(RichTextWriter, EscapesWhatRtfReservesAndWhatWindows1252Lacks) {
    const struct {
        std::u16string text;
        std::string written;
    } cases[] = {
        {u"plain", " plain}"},
        {u"{a}\\b", " \\{a\\}\\\\b}"},
        {u"é€", " \\'e9\\'80}"},
        {u"α", " \\u945?}"},
        {u"a\tb\u2028c", " a\\tab b\\line c}"},
        {u"\u00A0\u2011\u00AD", " \\~\\_\\-}"},
        {u"\U0001F600", " \\u-10179?\\u-8704?}"},
        {std::u16string(1, char16_t(0xD800)) + u"x", " \\u-3?x}"},
        {u"a\uFFFCb\x01", " ab}"},
    };
    for (const auto& c : cases) {
        Document d;
        d.defaultFont = u"Arial";
        Paragraph p;
        p.runs.push_back(richtext::Run{c.text, {}, -1});
        d.blocks.push_back(Block{p, std::nullopt});
        const std::string rtf = writeRtf(d);
        EXPECT_NE(rtf.find("{\\f0\\fs24" + c.written), std::string::npos) << rtf;
    }
}

// Written, read and written again: the same bytes, the same model. Every
// kind of content the builder keeps is here, and the files of the fuzz
// corpus and of the tests.
void expectStable(const std::string& rtf, const std::string& name) {
    Document first;
    if (buildRichText(rtf, first) == ReadStatus::NotRtf) return;
    const std::string written = writeRtf(first);
    Document second;
    EXPECT_EQ(buildRichText(written, second), ReadStatus::Ok) << name;
    const std::string again = writeRtf(second);
    EXPECT_EQ(again, written) << name;
    Document third;
    buildRichText(again, third);
    EXPECT_EQ(third, second) << name;
}

TEST(RichTextWriter, WritingAndReadingAgainChangesNothing) {
    const std::string all =
        R"({\rtf1\ansi{\fonttbl{\f0 Arial;}{\f1 Georgia;}}{\colortbl;\red10\green20\blue30;})"
        R"(\pard\qc\li100\ri50\fi-20\sb10\sa30\sl360\slmult1\tqdec\tx1500\tqc\tx2500 {\f1\fs30\b\i\ul\strike\cf1\highlight1 a\tab b}\par)"
        R"(\pard\sl-280\pagebb {\super x}{\sub y}{\caps z}{\scaps w}{\uldashd v}\line caf\'e9 \u945?\par\par)"
        R"({\pict{\*\picprop{\sp{\sn wzDescription}{\sv Un r\'e9cipient \u8652?}}}\pngblip\picwgoal300\pichgoal150 )" +
        kPngHex +
        R"(}\par\trowd\clbrdrb\cellx1200\cellx2600\intbl un\cell deux\par\par\cell\row\intbl trois\cell\row\pard fin})";
    expectStable(all, "all");
    const Document d = build(all);
    EXPECT_NE(writeRtf(d).find("{\\*\\picprop{\\sp{\\sn wzDescription}{\\sv Un r\\'e9cipient \\u8652?}}}"),
              std::string::npos);
    for (const char* folder : {RTF_CORPUS, RTF_TEST_DATA}) {
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (entry.path().extension() != ".rtf") continue;
            std::ifstream in(entry.path(), std::ios::binary);
            expectStable(std::string(std::istreambuf_iterator<char>(in), {}),
                         entry.path().filename().string());
        }
    }
}

}  // namespace
}  // namespace molvane::rtf

// The text area read as a screen reader reads it when its text holds
// pictures: each picture as its description, never as the object character,
// with offsets, caret and announced changes in the text as read.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QLineEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QtTest/QTest>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "exercises/rtf/richtextdocument.h"
#include "exercises/rtf/rtfreader.h"
#include "exercises/textarea.h"
#include "exercises/textreading.h"

namespace molvane {
namespace {

// A 7 by 5 pixels PNG in RTF's hexadecimal.
const char* const kPng =
    "89504e470d0a1a0a0000000d494844520000000700000005080200000006f8618f0000001249444154789c63f8cfc08089b0"
    "0851451400a12f22de7b957d9f0000000049454e44ae426082";

const QString kDescription = QStringLiteral("Un récipient fermé");

class PictureText : public testing::Test {
protected:
    void SetUp() override {
        box = new QTextEdit(&window);
        box->setObjectName(QStringLiteral("supertext"));
        area = std::make_unique<TextArea>(box, new QLineEdit(&window));
        window.resize(500, 300);
        box->resize(500, 300);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        // "Voir [picture] ici." / "Ligne deux" / a picture with no description
        const QByteArray rtf = QByteArray(
                                   "{\\rtf1 Voir {\\pict{\\*\\picprop{\\sp{\\sn wzDescription}{\\sv Un "
                                   "r\\'e9cipient ferm\\'e9}}}\\pngblip ") +
                               kPng + "} ici.\\par Ligne deux\\par {\\pict\\pngblip " + kPng + "}}";
        QTextCursor cursor(box->document());
        ASSERT_EQ(rtf::RtfReader::read(rtf, cursor), rtf::ReadStatus::Ok);
        reader = QAccessible::queryAccessibleInterface(box);
        ASSERT_TRUE(reader && reader->textInterface());
        text = reader->textInterface();
    }

    QString piece(int offset, QAccessible::TextBoundaryType boundary, int* start, int* end) const {
        return text->textAtOffset(offset, boundary, start, end);
    }

    QWidget window;
    QTextEdit* box = nullptr;
    std::unique_ptr<TextArea> area;
    QAccessibleInterface* reader = nullptr;
    QAccessibleTextInterface* text = nullptr;
};

const int kPicture = 5;                             // where the description starts
const int kAfter = kPicture + kDescription.size();  // the first offset after it

TEST_F(PictureText, WholeTextSaysEachPicture) {
    const QString expected =
        QStringLiteral("Voir ") + kDescription + QStringLiteral(" ici.\nLigne deux\n") + undescribedPicture();
    EXPECT_EQ(text->text(0, text->characterCount()), expected);
    EXPECT_EQ(reader->text(QAccessible::Value), expected);
    EXPECT_EQ(text->characterCount(), expected.size());
    EXPECT_FALSE(expected.contains(QChar::ObjectReplacementCharacter));
}

TEST_F(PictureText, APictureIsOneCharacterAndOneWord) {
    const struct {
        int offset;
        QAccessible::TextBoundaryType boundary;
        int start;
        int end;
    } cases[] = {
        {kPicture, QAccessible::CharBoundary, kPicture, kAfter},
        {kPicture + 7, QAccessible::CharBoundary, kPicture, kAfter},  // inside: the whole description
        {kAfter, QAccessible::CharBoundary, kAfter, kAfter + 1},
        {kPicture - 1, QAccessible::CharBoundary, kPicture - 1, kPicture},
        {kPicture, QAccessible::WordBoundary, kPicture, kAfter + 1},
        {kPicture + 4, QAccessible::WordBoundary, kPicture, kAfter + 1},
        {0, QAccessible::WordBoundary, 0, kPicture},
        {kPicture + 3, QAccessible::LineBoundary, 0, kAfter + 6},
        {kPicture + 3, QAccessible::ParagraphBoundary, 0, kAfter + 6},
    };
    for (const auto& c : cases) {
        int start = -1, end = -1;
        const QString got = piece(c.offset, c.boundary, &start, &end);
        EXPECT_EQ(start, c.start) << c.offset << " " << c.boundary;
        EXPECT_EQ(end, c.end) << c.offset << " " << c.boundary;
        EXPECT_EQ(got, text->text(start, end));
    }
    int start = -1, end = -1;
    EXPECT_EQ(text->textAfterOffset(kPicture, QAccessible::CharBoundary, &start, &end), QStringLiteral(" "));
    EXPECT_EQ(text->textBeforeOffset(kAfter, QAccessible::CharBoundary, &start, &end), kDescription);
    EXPECT_EQ(text->textAfterOffset(0, QAccessible::LineBoundary, &start, &end),
              QStringLiteral("Ligne deux\n"));
    EXPECT_EQ(text->textAfterOffset(kAfter + 7, QAccessible::LineBoundary, &start, &end),
              undescribedPicture());
}

// Every question at every offset, in a text with pictures in a paragraph and
// in a table's cells: each answer is the text between its offsets, and no
// piece starts or ends inside a description.
TEST_F(PictureText, EveryPieceHoldsTogetherAndKeepsPicturesWhole) {
    const QByteArray table =
        QByteArray(
            "{\\rtf1 \\trowd\\cellx1000\\cellx2000\\intbl a {\\pict{\\*\\picprop{\\sp{\\sn "
            "wzDescription}{\\sv Deux mots}}}\\pngblip ") +
        kPng + "}\\cell {\\pict\\pngblip " + kPng + "}b\\cell\\row\\pard fin.}";
    QTextCursor end(box->document());
    end.movePosition(QTextCursor::End);
    ASSERT_EQ(rtf::RtfReader::read(table, end), rtf::ReadStatus::Ok);

    const int count = text->characterCount();
    const QString all = text->text(0, count);
    // Where descriptions lie, from the text's own answers: a character that
    // is a whole picture is longer than one.
    std::vector<std::pair<int, int>> pictures;
    for (int offset = 0; offset < count;) {
        int start = -1, end = -1;
        text->textAtOffset(offset, QAccessible::CharBoundary, &start, &end);
        ASSERT_EQ(start, offset);
        ASSERT_GT(end, start);
        if (end - start > 2) pictures.emplace_back(start, end);
        offset = end;
    }
    ASSERT_EQ(pictures.size(), 4u);
    const auto inside = [&pictures](int offset) {
        return std::any_of(pictures.begin(), pictures.end(),
                           [offset](const auto& p) { return offset > p.first && offset < p.second; });
    };
    for (int offset = -2; offset <= count + 1; ++offset) {
        for (const auto boundary :
             {QAccessible::CharBoundary, QAccessible::WordBoundary, QAccessible::SentenceBoundary,
              QAccessible::LineBoundary, QAccessible::ParagraphBoundary, QAccessible::NoBoundary}) {
            for (int side = 0; side < 3; ++side) {
                int start = -5, end = -5;
                const QString got = side == 0   ? text->textBeforeOffset(offset, boundary, &start, &end)
                                    : side == 1 ? text->textAtOffset(offset, boundary, &start, &end)
                                                : text->textAfterOffset(offset, boundary, &start, &end);
                if (start < 0) continue;
                const std::string where =
                    std::to_string(offset) + " " + std::to_string(boundary) + " " + std::to_string(side);
                ASSERT_LE(start, end) << where;
                ASSERT_LE(end, count) << where;
                EXPECT_EQ(got, all.mid(start, end - start)) << where;
                EXPECT_FALSE(inside(start) || inside(end)) << where << " " << start << ".." << end;
            }
        }
    }
}

TEST_F(PictureText, ADescriptionGivenLaterIsReadAtOnce) {
    const int last = text->characterCount() - undescribedPicture().size();
    QTextCursor picture(box->document());
    picture.setPosition(box->document()->characterCount() - 2);
    picture.setPosition(box->document()->characterCount() - 1, QTextCursor::KeepAnchor);
    QTextImageFormat format = picture.charFormat().toImageFormat();
    ASSERT_TRUE(format.isValid());
    format.setProperty(rtf::kPictureDescription, QStringLiteral("Le graphe"));
    picture.setCharFormat(format);
    EXPECT_EQ(text->text(last, text->characterCount()), QStringLiteral("Le graphe"));
}

TEST_F(PictureText, TheCaretMovesInTheTextAsRead) {
    QTextCursor caret = box->textCursor();
    caret.setPosition(kPicture + 1);  // in the document, just after the picture
    box->setTextCursor(caret);
    EXPECT_EQ(text->cursorPosition(), kAfter);
    box->moveCursor(QTextCursor::NextBlock);
    EXPECT_EQ(text->cursorPosition(), kAfter + 6);
    int start = -1, end = -1;
    EXPECT_EQ(text->textAtOffset(-2, QAccessible::LineBoundary, &start, &end),
              QStringLiteral("Ligne deux\n"));

    // A caret put inside a description goes to its picture.
    text->setCursorPosition(kPicture + 4);
    EXPECT_EQ(box->textCursor().position(), kPicture);
    text->setCursorPosition(kAfter);
    EXPECT_EQ(box->textCursor().position(), kPicture + 1);
    text->setSelection(0, kPicture, kAfter);
    EXPECT_EQ(box->textCursor().selectedText(), QString(QChar::ObjectReplacementCharacter));
    text->selection(0, &start, &end);
    EXPECT_EQ(start, kPicture);
    EXPECT_EQ(end, kAfter);
}

TEST_F(PictureText, EditsAndTheirAnnouncementsUseTheTextAsRead) {
    box->setReadOnly(false);
    auto* editable = reader->editableTextInterface();
    ASSERT_TRUE(editable);
    editable->insertText(kAfter, QStringLiteral("!"));
    EXPECT_EQ(box->document()->firstBlock().text(),
              QStringLiteral("Voir ") + QChar(QChar::ObjectReplacementCharacter) + QStringLiteral("! ici."));
    EXPECT_EQ(text->text(kAfter, kAfter + 2), QStringLiteral("! "));

    // Qt tells the caret and the insertion in document positions; the reader
    // hears them in the text's offsets. (Offscreen, Qt sends nothing itself:
    // the events are handed to the handler as Qt would.)
    static std::vector<std::pair<QAccessible::Event, int>> told;
    static QString inserted;
    told.clear();
    QAccessible::installUpdateHandler([](QAccessibleEvent* event) {
        if (event->type() == QAccessible::TextCaretMoved)
            told.emplace_back(event->type(),
                              static_cast<QAccessibleTextCursorEvent*>(event)->cursorPosition());
        if (event->type() == QAccessible::TextInserted) {
            told.emplace_back(event->type(),
                              static_cast<QAccessibleTextInsertEvent*>(event)->changePosition());
            inserted = static_cast<QAccessibleTextInsertEvent*>(event)->textInserted();
        }
    });
    readPicturesAsDescribed(box);  // on top of the watching handler
    const QAccessible::UpdateHandler translating = QAccessible::installUpdateHandler(nullptr);
    ASSERT_TRUE(translating);
    QAccessibleTextCursorEvent moved(box, kPicture + 2);
    translating(&moved);
    QAccessibleTextInsertEvent insertion(box, kPicture + 1, QStringLiteral("!"));
    translating(&insertion);
    QLineEdit other;
    QAccessibleTextCursorEvent elsewhere(&other, 3);
    translating(&elsewhere);
    using Told = std::vector<std::pair<QAccessible::Event, int>>;
    EXPECT_EQ(told, (Told{{QAccessible::TextCaretMoved, kAfter + 1},
                          {QAccessible::TextInserted, kAfter},
                          {QAccessible::TextCaretMoved, 3}}));
    EXPECT_EQ(inserted, QStringLiteral("!"));

    // A read-only text takes no edit (asked of the interface made again above).
    box->setReadOnly(true);
    editable = QAccessible::queryAccessibleInterface(box)->editableTextInterface();
    ASSERT_TRUE(editable);
    editable->deleteText(0, 4);
    EXPECT_TRUE(box->document()->firstBlock().text().startsWith(QStringLiteral("Voir")));
}

}  // namespace
}  // namespace molvane

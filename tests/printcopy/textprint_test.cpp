// Printing the text area: the selection or the whole text, its pictures, and
// Cancel leaving everything as it was.
#include "output/textprint.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

#include "output/printtarget.h"
#include "tests/printcopy/pdftools.h"

namespace molvane {
namespace {

class TextPrintTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(files.isValid());
        useNoPrinter(printer);
        ASSERT_EQ(targetOf(printer), PrintTarget::NoPrinter);
        // A statement with a picture in its second paragraph, as the RTF reader makes them.
        QImage picture(60, 40, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        edit.document()->addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("rtfimage:1")),
                                     picture);
        QTextCursor cursor(edit.document());
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        cursor.insertText(QStringLiteral("Exercice premier"), bold);
        cursor.insertBlock();
        cursor.insertText(QStringLiteral("Regarder la courbe "), QTextCharFormat());
        QTextImageFormat image;
        image.setName(QStringLiteral("rtfimage:1"));
        cursor.insertImage(image);
        cursor.insertBlock();
        cursor.insertText(QStringLiteral("Réponse de l'élève"));
    }
    void TearDown() override { setPdfFileChooser({}); }
    void select(int from, int to) {
        QTextCursor cursor(edit.document());
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        edit.setTextCursor(cursor);
    }
    QString printed(const QString& name) {
        const QString path = files.filePath(name);
        setPdfFileChooser([path](const QString&) { return path; });
        printText(nullptr, edit, printer);
        return path;
    }

    QTemporaryDir files;
    QPrinter printer{QPrinter::HighResolution};
    QTextEdit edit;
};

TEST_F(TextPrintTest, SelectionOrWholeTextWithItsPictures) {
    const int pictureAt = QStringLiteral("Exercice premier\nRegarder la courbe ").size();
    struct Case {
        const char* name;
        int from, to;  // no selection when equal
        QStringList shown, left;
        int pictures;
    };
    const std::vector<Case> cases{
        {"whole", 0, 0, {"Exercice premier", "Regarder la courbe", "Réponse de l'élève"}, {}, 1},
        {"picture", pictureAt - 7, pictureAt + 1, {"courbe"}, {"Exercice", "Réponse"}, 1},
        {"first", 0, 8, {"Exercice"}, {"premier", "courbe", "Réponse"}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        select(c.from, c.to);
        const QString path = printed(QString::fromLatin1(c.name) + QStringLiteral(".pdf"));
        const QString text = pdf::text(path);
        for (const QString& word : c.shown) {
            EXPECT_TRUE(text.contains(word)) << word.toStdString();
        }
        for (const QString& word : c.left) {
            EXPECT_FALSE(text.contains(word)) << word.toStdString();
        }
        const std::vector<pdf::Picture> pictures = pdf::pictures(path);
        ASSERT_EQ(static_cast<int>(pictures.size()), c.pictures);
        if (c.pictures > 0) {
            EXPECT_EQ(pictures[0].width, 60);
        }
        // The text area itself is left as it was.
        EXPECT_EQ(edit.textCursor().selectionStart(), c.from);
        EXPECT_EQ(edit.textCursor().selectionEnd(), c.to);
    }
}

TEST_F(TextPrintTest, SelectionKeepsItsFormatting) {
    select(0, 8);
    const std::unique_ptr<QTextDocument> part = selectionDocument(edit);
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(part->toPlainText(), QStringLiteral("Exercice"));
    EXPECT_EQ(QTextCursor(part.get()).block().begin().fragment().charFormat().fontWeight(), QFont::Bold);
    select(3, 3);
    EXPECT_EQ(selectionDocument(edit), nullptr);
}

TEST_F(TextPrintTest, CancelInEitherDialogPrintsNothing) {
    // No printer: the PDF file question, cancelled.
    int asked = 0;
    setPdfFileChooser([&](const QString&) {
        ++asked;
        return QString();
    });
    printText(nullptr, edit, printer);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(QDir(files.path()).isEmpty());

    // A PDF file chosen earlier in the printer dialog: the dialog shows first.
    const QString path = files.filePath(QStringLiteral("texte.pdf"));
    printer.setOutputFileName(path);
    for (QDialog::DialogCode answer : {QDialog::Rejected, QDialog::Accepted}) {
        bool shown = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            shown = true;
            dialog->done(answer);
        });
        printText(nullptr, edit, printer);
        EXPECT_TRUE(shown);
        EXPECT_EQ(QFile::exists(path), answer == QDialog::Accepted);
    }
    EXPECT_EQ(asked, 1);
}

// The PDF file question is Qt's own dialog, in French down to the kinds of
// entry its list names.
TEST(PdfQuestion, NamesItsEntriesInFrench) {
    QString kind, filter;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        filter = dialog->nameFilters().value(0);
        if (dialog->iconProvider()) kind = dialog->iconProvider()->type(QFileInfo(QDir::tempPath()));
        dialog->reject();
    });
    EXPECT_TRUE(askPdfFile(nullptr, QStringLiteral("Imprimer"), QStringLiteral("page.pdf")).isEmpty());
    EXPECT_EQ(kind, QStringLiteral("Dossier"));
    EXPECT_EQ(filter, QStringLiteral("Document PDF (*.pdf *.PDF)"));
}

}  // namespace
}  // namespace molvane

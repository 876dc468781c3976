// The window with a dark or high-contrast palette, or a style sheet: the text
// stays readable, and the species colours stay where they are data.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QTextBlock>
#include <QTextEdit>
#include <QtTest/QTest>

#include "exercises/exercisepreviewpanel.h"
#include "tests/ui/fixture.h"
#include "windowkit/paper.h"

namespace molvane {
namespace {

QPalette darkPalette(const QColor& ink) {
    QPalette p;
    for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button, QPalette::AlternateBase})
        p.setColor(role, QColor(20, 20, 20));
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::BrightText})
        p.setColor(role, ink);
    p.setColor(QPalette::Highlight, QColor(255, 255, 0));
    p.setColor(QPalette::HighlightedText, Qt::black);
    return p;
}

// The colour farthest from the background in a grabbed control: its text.
double inkContrast(QWidget* control) {
    const QImage shown = control->grab().toImage();
    const QColor paper = shown.pixelColor(shown.width() - 4, shown.height() / 2);
    double best = 1;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 3; x < shown.width() - 3; ++x)
            best = std::max(best, contrastRatio(shown.pixelColor(x, y), paper));
    return best;
}

TEST(Contrast, RatioOfKnownPairs) {
    const struct {
        QColor a, b;
        double low, high;
    } cases[] = {
        {Qt::black, Qt::white, 20.9, 21.1},
        {Qt::white, Qt::white, 1.0, 1.01},
        {QColor(0, 0, 200), Qt::black, 1.5, 2.5},    // the introduction's blue on a dark page
        {QColor(0, 0, 200), Qt::white, 10.5, 12.0},  // and on paper
    };
    for (const auto& c : cases) {
        EXPECT_GE(contrastRatio(c.a, c.b), c.low) << c.a.name().toStdString();
        EXPECT_LE(contrastRatio(c.a, c.b), c.high) << c.a.name().toStdString();
    }
}

TEST(Contrast, InkReadsOnAnyBackgroundAndKeepsItsHueWhereItCan) {
    const struct {
        QColor wanted, background;
        bool kept;
    } cases[] = {
        {QColor(0, 40, 100), Qt::white, true},
        {QColor(0, 40, 100), Qt::black, false},
        {QColor(0, 110, 60), QColor(20, 20, 20), false},
        {Qt::yellow, Qt::black, true},
        {Qt::yellow, Qt::white, false},
        {QColor(128, 128, 128), QColor(118, 118, 118), false},
    };
    for (const auto& c : cases) {
        const QColor ink = readableOn(c.wanted, c.background);
        EXPECT_GE(contrastRatio(ink, c.background), 4.5) << c.wanted.name().toStdString();
        EXPECT_EQ(ink == c.wanted, c.kept) << c.wanted.name().toStdString();
    }
}

class Looks : public testing::Test {
protected:
    void TearDown() override {
        qApp->setStyleSheet(QString());
        QApplication::setPalette(QApplication::style()->standardPalette());
    }
};

TEST_F(Looks, TextStaysReadableAndSpeciesKeepTheirColours) {
    const struct {
        const char* name;
        QPalette palette;
        const char* sheet;
    } looks[] = {
        {"clair", QApplication::style()->standardPalette(), ""},
        {"sombre", darkPalette(QColor(230, 230, 230)), ""},
        {"contraste élevé", darkPalette(Qt::yellow), ""},
        {"feuille de style", QApplication::style()->standardPalette(),
         "QWidget { background-color: black; color: white; }"},
        {"feuille de style sombre", darkPalette(Qt::white),
         "QWidget { background-color: black; color: yellow; } QLineEdit { background-color: black; }"},
    };
    const QColor species[] = {QColor(0, 0, 255), QColor(255, 0, 255), QColor(255, 128, 0), QColor(0, 192, 0)};
    for (const auto& look : looks) {
        QApplication::setPalette(look.palette);
        qApp->setStyleSheet(QString::fromLatin1(look.sheet));
        QTemporaryDir folder;
        MainWindow window(folder.path());
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

        // The exercise window's preview: its title and its correction status.
        ExercisePreviewPanel preview(nullptr);
        ExercisePreview shown;
        shown.corrected = true;
        shown.title = "Vers l'équilibre";
        preview.resize(400, ExercisePreviewPanel::kHeight);
        preview.showPreview(shown);
        preview.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&preview));
        for (const char* name : {"titratexo", "Label2"})
            EXPECT_GE(inkContrast(namedChild<QLabel>(preview, name)), 4.5) << look.name << " " << name;
        preview.hide();

        // Every piece of the introduction against the page it is written on.
        auto* text = namedChild<QTextEdit>(window, "supertext");
        const QImage page = text->viewport()->grab().toImage();
        const QColor paper = page.pixelColor(page.width() - 3, page.height() - 3);
        int pieces = 0;
        for (QTextBlock block = text->document()->begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment piece = it.fragment();
                if (piece.text().trimmed().isEmpty()) continue;
                const QBrush ink = piece.charFormat().foreground();
                const QColor colour =
                    ink.style() == Qt::NoBrush ? text->palette().color(QPalette::Text) : ink.color();
                EXPECT_GE(contrastRatio(colour, paper), 4.5)
                    << look.name << ": « " << piece.text().left(30).toStdString() << " »";
                ++pieces;
            }
        }
        EXPECT_GE(pieces, 10) << look.name;

        // The count boxes and the counts during the run, as drawn.
        for (int s = 0; s < 4; ++s) {
            const QByteArray box = "Text1_" + QByteArray::number(s),
                             count = "Labelinf_" + QByteArray::number(s);
            EXPECT_GE(inkContrast(namedChild<QLineEdit>(window, box.constData())), 4.5)
                << look.name << " " << box.constData();
            EXPECT_GE(inkContrast(namedChild<QLabel>(window, count.constData())), 4.5)
                << look.name << " " << count.constData();
            // The swatches are data: the particles are drawn in their colour.
            const QByteArray swatch = "Label4_" + QByteArray::number(s + 1);
            QWidget* shown = namedChild<QWidget>(window, swatch.constData());
            const QImage drawn = shown->grab().toImage();
            EXPECT_EQ(drawn.pixelColor(drawn.width() / 2, drawn.height() / 2), species[s])
                << look.name << " " << swatch.constData();
        }
    }
}

}  // namespace
}  // namespace molvane

// The message boxes: what they show of a text, and how they lay it out.
#include "windowkit/messages.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTextLayout>
#include <QTimer>

namespace molvane {
namespace {

// "_" stands for the no-break space in the texts below.
QString withNoBreak(const char* text) {
    return QString::fromUtf8(text).replace(u'_', QChar(0x00A0));
}

TEST(UnbrokenNumbers, OnlyTheBlanksOfDigitGroupsAreJoined) {
    struct Case {
        const char* text;
        const char* shown;
    };
    const Case cases[] = {
        {"Le nombre total de particules ne peut être supérieur à 1 000",
         "Le nombre total de particules ne peut être supérieur à 1_000"},
        {"de 10 à 1 000 particules", "de 10 à 1_000 particules"},
        {"12 345 678", "12_345_678"},
        {"t = 1 000,5 s", "t = 1_000,5 s"},
        {"« 2 000 »", "« 2_000 »"},
        {"1 000\r\n2 000", "1_000\r\n2_000"},
        {"entre 2 et 3", "entre 2 et 3"},            // no group of three digits
        {"les 3 4000 essais", "les 3 4000 essais"},  // four digits are no group
        {"page 2 12", "page 2 12"},
        {"A 100 B", "A 100 B"},  // a letter before the blank
        {"100", "100"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(unbrokenNumbers(QString::fromUtf8(c.text)), withNoBreak(c.shown)) << c.text;
}

// The lines of a text laid out as a word-wrapping label lays it out.
QStringList lines(const QString& text, const QFont& font, qreal width) {
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    QStringList result;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        result << text.mid(line.textStart(), line.textLength());
    }
    layout.endLayout();
    return result;
}

TEST(UnbrokenNumbers, NoWidthSplitsANumber) {
    const QString text = QStringLiteral(
        "Les nombres de particules de ce fichier sortaient des limites permises (de 10 à 1 000 particules "
        "en tout) : ils ont été ajustés à 1 000 particules, soit 12 345 678 chocs.");
    const QFont font = QApplication::font();
    bool plainSplits = false;
    for (qreal width = 20; width <= 600; width += 3) {
        const auto splitIn = [&](const QString& laidOut) {
            const QStringList parts = lines(laidOut, font, width);
            for (qsizetype k = 1; k < parts.size(); ++k) {
                const QString before = parts[k - 1].trimmed();
                if (!before.isEmpty() && before.back().isDigit() && parts[k].front().isDigit()) return true;
            }
            return false;
        };
        plainSplits = plainSplits || splitIn(text);
        EXPECT_FALSE(splitIn(unbrokenNumbers(text))) << width;
    }
    EXPECT_TRUE(plainSplits) << "the widths tried never reach a number's blank";
}

TEST(Message, TheBoxShowsNumbersWholeAndTheResponderGetsTheTextAsQuoted) {
    const QString text = QStringLiteral("Le nombre total de particules ne peut être supérieur à 1 000");
    QString shown;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) shown = label->text();
        for (QAbstractButton* button : box->buttons()) button->click();
    });
    EXPECT_EQ(message(nullptr, MessageIcon::Exclamation, QStringLiteral("Attention"), text),
              MessageAnswer::Ok);
    EXPECT_EQ(shown, unbrokenNumbers(text));

    MessageShown given{};
    setMessageResponder([&](const MessageShown& s) {
        given = s;
        return MessageAnswer::Ok;
    });
    message(nullptr, MessageIcon::Exclamation, QStringLiteral("Attention"), text);
    setMessageResponder({});
    EXPECT_EQ(given.text, text);
}

}  // namespace
}  // namespace molvane

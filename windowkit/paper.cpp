#include "windowkit/paper.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QColor>
#include <QEvent>
#include <QLabel>
#include <QPalette>
#include <algorithm>
#include <cmath>

namespace molvane {

namespace {

double luminance(const QColor& c) {
    const auto channel = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

constexpr double kReadable = 4.5;

// Follows the label's background each time it shows: a palette or a style
// sheet may come after it is made.
class Ink final : public QObject {
public:
    Ink(QLabel* label, const QColor& wanted) : QObject(label), label_(label), wanted_(wanted) {
        label->installEventFilter(this);
        follow();
    }

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show && !following_) follow();
        return false;
    }

private:
    void follow() {
        // Setting the sheet polishes the label again, which must not come back here.
        following_ = true;
        const QColor ink = readableOn(wanted_, label_->palette().color(QPalette::Window));
        const QString sheet = QStringLiteral("color: %1").arg(ink.name());
        if (label_->styleSheet() != sheet) label_->setStyleSheet(sheet);
        following_ = false;
    }

    QLabel* label_;
    QColor wanted_;
    bool following_ = false;
};

}  // namespace

QColor readableOn(const QColor& wanted, const QColor& background) {
    if (contrastRatio(wanted, background) >= kReadable) return wanted;
    const QColor towards = contrastRatio(Qt::white, background) >= contrastRatio(Qt::black, background)
                               ? QColor(Qt::white)
                               : QColor(Qt::black);
    for (int step = 1; step <= 20; ++step) {
        const double t = step / 20.0;
        const QColor mixed =
            QColor::fromRgbF(static_cast<float>(wanted.redF() + (towards.redF() - wanted.redF()) * t),
                             static_cast<float>(wanted.greenF() + (towards.greenF() - wanted.greenF()) * t),
                             static_cast<float>(wanted.blueF() + (towards.blueF() - wanted.blueF()) * t));
        if (contrastRatio(mixed, background) >= kReadable) return mixed.toRgb();
    }
    return towards;
}

void inkReadably(QLabel* label, const QColor& wanted) {
    new Ink(label, wanted);
}

void keepPaper(QAbstractScrollArea* page) {
    QPalette colours = page->palette();
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Text, Qt::black);
    page->setPalette(colours);
    // A style sheet given to the program would cover the palette; the page's
    // own sheet wins over it.
    if (!qApp->styleSheet().isEmpty())
        page->setStyleSheet(QStringLiteral("background-color: white; color: black;"));
}

double contrastRatio(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace molvane

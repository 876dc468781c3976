#include "windowkit/paper.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QColor>
#include <QPalette>
#include <algorithm>
#include <cmath>

namespace molvane {

namespace {

double luminance(const QColor& c) {
    const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

}  // namespace

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

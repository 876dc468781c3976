#include "ui/main/tabstrip.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>

#include "common/numbers.h"
#include "core/surface.h"
#include "ui/main/drawing.h"
#include "windowkit/designscale.h"
#include "windowkit/surfaces.h"

namespace molvane {

namespace {

const std::array<QString, 3> kNames{QStringLiteral("Paramètres"), QStringLiteral("Affichage"),
                                    QStringLiteral("Suivi du système")};

}  // namespace

TabStrip::TabStrip(QWidget* parent) : QWidget(parent) {
    setFont(arial(8));
    measure();
}

void TabStrip::setPanels(const std::array<QWidget*, 3>& panels) {
    panels_ = panels;
    placeCurrentPanel();
}

void TabStrip::setCurrent(int tab) {
    if (tab < 1 || tab > 3 || tab == current()) return;
    current_ = static_cast<std::int16_t>(tab);
    placeCurrentPanel();
    update();
    emit currentChanged(tab);
}

void TabStrip::cycle(int step) {
    setCurrent((current() - 1 + step % 3 + 3) % 3 + 1);
}

QString TabStrip::name(int tab) {
    return tab >= 1 && tab <= 3 ? kNames[tab - 1] : QString();
}

void TabStrip::measure() {
    const QFont regular = arial(8), bold = arial(8, true);
    h_ = roundToInt16(QFontMetricsF(regular).height()).value_or(0);
    // The bold name is wider, so every boundary moves a little with the current tab.
    std::array<double, 3> widths{};
    double sum = 0;
    for (int k = 0; k < 3; ++k) {
        widths[k] = QFontMetricsF(k + 1 == current() ? bold : regular).horizontalAdvance(kNames[k]);
        sum += widths[k];
    }
    const int w = designWidth();
    gap_ = (w - sum) / 6.0;
    b_[0] = -1;
    for (int k = 1; k <= 2; ++k)
        b_[k] = roundToInt16(b_[k - 1] + widths[k - 1] + 2 * gap_).value_or(b_[k - 1]);
    b_[3] = static_cast<std::int16_t>(w);
}

void TabStrip::placeCurrentPanel() {
    measure();
    const int top = h_ + 5;
    for (int k = 0; k < 3; ++k) {
        QWidget* panel = panels_[k];
        if (!panel) continue;
        if (k + 1 == current()) {
            const double scale = designScale(this);
            panel->setGeometry(
                scaledRect(QRect(4, top, designWidth() - 4 - 4, designHeight() - top - 4), scale));
            panel->show();
        } else {
            panel->hide();
        }
    }
}

int TabStrip::designWidth() const {
    return scaledLength(width(), 1.0 / designScale(this));
}

int TabStrip::designHeight() const {
    return scaledLength(height(), 1.0 / designScale(this));
}

void TabStrip::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeCurrentPanel();
}

void TabStrip::paintEvent(QPaintEvent*) {
    measure();
    const int w = designWidth(), h = designHeight();
    QPainter painter(this);
    painter.scale(designScale(this), designScale(this));
    // The strip's own ground, so that its white lines show on it.
    painter.fillRect(QRect(0, 0, w, h), toQColor(kPanel));
    const auto line = [&painter](int x1, int y1, int x2, int y2, const QColor& colour) {
        painter.setPen(colour);
        painter.drawLine(x1, y1, x2, y2);
    };
    line(0, 0, w - 1, 0, toQColor(kDarkGrey));
    line(w - 1, 0, w - 1, h - 1, toQColor(kDarkGrey));
    line(0, h - 1, w - 1, h - 1, toQColor(kDarkGrey));
    line(0, 0, 0, h - 1, toQColor(kDarkGrey));
    line(0, 0, 0, h - 1, Qt::white);
    for (int k = 0; k <= 3; ++k) {
        line(b_[k] - 1, 1, b_[k] - 1, h_ + 1, toQColor(kDarkGrey));
        line(b_[k], 0, b_[k], h_, Qt::white);
        if (k < 3) line(b_[k] + 1, 0, b_[k + 1] - 1, 0, Qt::white);
    }
    // The base line stops at the current tab, which stays open towards its panel.
    const int c = current();
    line(0, h_ + 1, b_[c - 1] + 2, h_ + 1, Qt::white);
    line(b_[c], h_ + 1, w, h_ + 1, Qt::white);

    painter.setPen(Qt::black);
    for (int k = 1; k <= 3; ++k) {
        painter.setFont(arial(8, k == c));
        writeAt(painter, b_[k - 1] + gap_, k == c ? 2 : 1, kNames[k - 1]);
    }
}

void TabStrip::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF at = designPoint(event->position(), designScale(this));
    if (at.y() < 0 || at.y() > 15) return;
    for (int k = 1; k <= 3; ++k) {
        if (b_[k - 1] < at.x() && at.x() <= b_[k]) {
            setCurrent(k);
            return;
        }
    }
}

}  // namespace molvane

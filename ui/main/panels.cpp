#include "ui/main/panels.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <utility>

#include "core/settings.h"
#include "ui/main/drawing.h"
#include "ui/main/inputs.h"
#include "windowkit/place.h"
#include "windowkit/surfaces.h"

namespace molvane {

namespace {

QString indexed(const char* name, int index) {
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

PaintedPanel* panel(QWidget* parent, const QString& name) {
    auto* widget = new PaintedPanel(parent);
    widget->setObjectName(name);
    // Check boxes and option buttons show the panel's colour through their own background.
    QPalette colours = widget->palette();
    colours.setColor(QPalette::Window, toQColor(kPanel));
    colours.setColor(QPalette::Button, toQColor(kPanel));
    widget->setPalette(colours);
    widget->setAutoFillBackground(true);
    return widget;
}

}  // namespace

ParameterPanel buildParameterPanel(QWidget* strip) {
    ParameterPanel p;
    p.picture3 = panel(strip, QStringLiteral("Picture3"));
    for (int i = 0; i < 2; ++i) {
        const int top = i == 0 ? 28 : 72;
        p.label5[i] = place(new QLineEdit(QStringLiteral("50 %"), p.picture3), indexed("Label5", i),
                            QRect(136, top, 65, 19));
        p.label5[i]->setAlignment(Qt::AlignCenter);
        p.vscroll4[i] =
            place(new QScrollBar(Qt::Vertical, p.picture3), indexed("VScroll4", i), QRect(200, top, 17, 20));
        p.vscroll4[i]->setRange(kPercentBar.lowest, kPercentBar.highest);
        p.vscroll4[i]->setPageStep(10);
        p.vscroll4[i]->setFocusPolicy(Qt::StrongFocus);
        p.vscroll4[i]->setValue(50);
    }
    p.hscroll1 = place(new QScrollBar(Qt::Horizontal, p.picture3), QStringLiteral("HScroll1"),
                       QRect(64, 124, 257, 17));
    p.hscroll1->setRange(kTemperatureBar.lowest, kTemperatureBar.highest);
    p.hscroll1->setSingleStep(10);
    p.hscroll1->setPageStep(100);
    p.hscroll1->setFocusPolicy(Qt::StrongFocus);
    // A scroll bar's arrow keys run against its direction by default: here
    // the right arrow goes where the thumb goes, towards the hot end.
    p.hscroll1->setInvertedControls(false);
    p.hscroll1->setValue(500);
    p.picture3->setPainter([boxes = p.label5, bar = p.hscroll1](QPainter& painter, QSize size) {
        paintParameterPanel(painter, size, {boxes[0]->geometry(), boxes[1]->geometry()}, bar->geometry());
    });
    return p;
}

DisplayPanel buildDisplayPanel(QWidget* strip, const std::array<Colour, 4>& colours) {
    DisplayPanel d;
    d.frame2 = panel(strip, QStringLiteral("Frame2"));
    static constexpr std::array<int, 4> kSwatchLefts{40, 112, 184, 256};
    for (int k = 0; k < 4; ++k) {
        d.label4[k] =
            place(new Swatch(d.frame2), indexed("Label4", k + 1), QRect(kSwatchLefts[k], 40, 17, 17));
        d.label4[k]->setValue(colours[k]);
    }
    d.check1 = place(new QCheckBox(QStringLiteral("Fond blanc"), d.frame2), QStringLiteral("Check1"),
                     QRect(32, 72, 209, 17));
    d.check2 = place(new QCheckBox(QStringLiteral("Conserver les courbes sur le graphe"), d.frame2),
                     QStringLiteral("Check2"), QRect(32, 96, 209, 17));
    d.check3 = place(new QCheckBox(QStringLiteral("Afficher Qr dans le tableau"), d.frame2),
                     QStringLiteral("Check3"), QRect(32, 120, 209, 17));
    d.check2->setChecked(true);
    d.check3->setChecked(true);
    d.command6 = place(new QPushButton(QStringLiteral("Effacer"), d.frame2), QStringLiteral("Command6"),
                       QRect(256, 94, 81, 23));
    d.command6->hide();
    d.frame2->setPainter([swatches = d.label4](QPainter& painter, QSize size) {
        std::array<QRect, 4> places;
        for (int k = 0; k < 4; ++k) places[k] = swatches[k]->geometry();
        paintDisplayPanel(painter, size, places);
    });
    return d;
}

SettingsPanel buildSettingsPanel(QWidget* strip) {
    SettingsPanel s;
    s.picture1 = panel(strip, QStringLiteral("Picture1"));
    QWidget* picture1 = s.picture1;
    // Each bar sits right of its label, which sits where its heading ends.
    const QFontMetrics heading(arial(8, true));
    const auto labelAndBar = [&](const char* label, const char* bar, QPointF textAt, const QString& text) {
        const int left = qRound(textAt.x() + heading.horizontalAdvance(text));
        const int top = qRound(textAt.y()) - 2;
        auto* shown = place(new QLabel(picture1), QString::fromLatin1(label), QRect(left, top, 73, 19));
        shown->setAlignment(Qt::AlignCenter);
        shown->setFrameShape(QFrame::Panel);
        shown->setFrameShadow(QFrame::Sunken);
        shown->setAutoFillBackground(true);
        QPalette white = shown->palette();
        white.setColor(QPalette::Window, Qt::white);
        shown->setPalette(white);
        auto* scroll = place(new QScrollBar(Qt::Vertical, picture1), QString::fromLatin1(bar),
                             QRect(left + 73, top, 17, 19));
        scroll->setFocusPolicy(Qt::StrongFocus);
        return std::pair{shown, scroll};
    };

    const QPointF durationAt(18, 15);
    std::tie(s.label2, s.vscroll2) = labelAndBar("Label2", "VScroll2", durationAt, kDurationHeading);
    // Both bars start at their lowest position, so that the start-up positions
    // the window gives them are changes that run their handlers.
    s.vscroll2->setRange(kDurationBar.lowest, kDurationBar.highest);
    s.vscroll2->setPageStep(1);

    s.option1[0] = place(new QRadioButton(QStringLiteral("Représentation graphique"), picture1),
                         indexed("Option1", 0), QRect(18, 38, 168, 17));
    s.option1[1] = place(new QRadioButton(QStringLiteral("Tableau de valeurs"), picture1),
                         indexed("Option1", 1), QRect(18, 56, 168, 17));
    s.option1[0]->setChecked(true);
    tabToChosenOption({s.option1[0], s.option1[1]});

    auto* frame1 = place(new QGroupBox(picture1), QStringLiteral("Frame1"), QRect(8, 98, 337, 50));
    const QPointF rowsAt(frame1->x() + 8, s.option1[1]->y() + 20);
    std::tie(s.label3, s.vscroll3) = labelAndBar("Label3", "VScroll3", rowsAt, kRowsHeading);
    s.vscroll3->setRange(kRowsBar.lowest, kRowsBar.highest);
    s.vscroll3->setPageStep(10);

    static constexpr std::array<const char*, 4> kSpecies{"A", "B", "C", "D"};
    for (int k = 0; k < 4; ++k) {
        s.option2[k] = place(
            new QCheckBox(QStringLiteral("Nombre de particules %1").arg(QLatin1String(kSpecies[k])), frame1),
            indexed("option2", k), QRect(10 + 165 * (k / 2), 8 + 20 * (k % 2), 160, 17));
    }
    s.option2[2]->setChecked(true);
    s.picture1->setPainter([durationAt, rowsAt](QPainter& painter, QSize size) {
        paintSettingsPanel(painter, size, durationAt, rowsAt);
    });
    return s;
}

}  // namespace molvane

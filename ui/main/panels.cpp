#include "ui/main/panels.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <string>
#include <string_view>
#include <utility>

#include "core/settings.h"
#include "core/simulation.h"
#include "ui/main/controlplace.h"
#include "ui/main/drawing.h"
#include "ui/main/inputs.h"
#include "windowkit/designscale.h"
#include "windowkit/keyboardhome.h"
#include "windowkit/surfaces.h"

namespace molvane {

namespace {

std::string indexed(std::string_view name, int index) {
    return std::string(name) + '_' + std::to_string(index);
}

PaintedPanel* panel(QWidget* parent, std::string_view name) {
    auto* widget = fromTable(new PaintedPanel(parent), name);
    // Check boxes and option buttons show the panel's colour through their own background.
    QPalette colours = widget->palette();
    colours.setColor(QPalette::Window, toQColor(kPanel));
    colours.setColor(QPalette::Button, toQColor(kPanel));
    widget->setPalette(colours);
    widget->setAutoFillBackground(true);
    return widget;
}

// A bar that sets a value, over the range its line of the table gives.
QScrollBar* bar(Qt::Orientation orientation, QWidget* parent, std::string_view name, int headingWidth = 0) {
    auto* scroll = fromTable(new QScrollBar(orientation, parent), name, headingWidth);
    const BarRange* range = tableControl(name).range;
    if (range) scroll->setRange(range->lowest, range->highest);
    scroll->setFocusPolicy(Qt::StrongFocus);
    return scroll;
}

}  // namespace

ParameterPanel buildParameterPanel(QWidget* strip) {
    const Parameters start;
    ParameterPanel p;
    p.picture3 = panel(strip, "Picture3");
    for (int i = 0; i < 2; ++i) {
        const int percent = start.effectivePercent[i];
        p.label5[i] = fromTable(new QLineEdit(QString::fromStdString(percentLabel(percent)), p.picture3),
                                indexed("Label5", i));
        p.label5[i]->setAlignment(Qt::AlignCenter);
        p.vscroll4[i] = bar(Qt::Vertical, p.picture3, indexed("VScroll4", i));
        p.vscroll4[i]->setPageStep(10);
        p.vscroll4[i]->setValue(percentBarPosition(percent));
    }
    p.hscroll1 = bar(Qt::Horizontal, p.picture3, "HScroll1");
    p.hscroll1->setSingleStep(10);
    p.hscroll1->setPageStep(100);
    // A scroll bar's arrow keys run against its direction by default: here
    // the right arrow goes where the thumb goes, towards the hot end.
    p.hscroll1->setInvertedControls(false);
    p.hscroll1->setValue(start.temperature);
    p.picture3->setPainter([boxes = p.label5, bar = p.hscroll1](QPainter& painter, QSize size) {
        paintParameterPanel(painter, size, {designRect(boxes[0]), designRect(boxes[1])}, designRect(bar));
    });
    return p;
}

DisplayPanel buildDisplayPanel(QWidget* strip, const std::array<Colour, 4>& colours) {
    const Parameters start;
    DisplayPanel d;
    d.frame2 = panel(strip, "Frame2");
    for (int k = 0; k < 4; ++k) {
        d.label4[k] = fromTable(new Swatch(d.frame2), indexed("Label4", k + 1));
        d.label4[k]->setValue(colours[k]);
    }
    d.check1 = fromTable(new QCheckBox(d.frame2), "Check1");
    d.check2 = fromTable(new QCheckBox(d.frame2), "Check2");
    d.check3 = fromTable(new QCheckBox(d.frame2), "Check3");
    d.check2->setChecked(start.keepCurves);
    d.check3->setChecked(start.showQr);
    d.command6 = fromTable(new QPushButton(d.frame2), "Command6");
    d.frame2->setPainter([swatches = d.label4](QPainter& painter, QSize size) {
        std::array<QRect, 4> places;
        for (int k = 0; k < 4; ++k) places[k] = designRect(swatches[k]);
        paintDisplayPanel(painter, size, places);
    });
    return d;
}

SettingsPanel buildSettingsPanel(QWidget* strip) {
    const Parameters start;
    SettingsPanel s;
    s.picture1 = panel(strip, "Picture1");
    QWidget* picture1 = s.picture1;
    // Each bar sits right of its label, which sits where its heading ends.
    const QFontMetrics heading(arial(8, true));
    const auto labelAndBar = [&](std::string_view label, std::string_view bar) {
        const int headingWidth = heading.horizontalAdvance(fromTable(tableControl(label).after->text));
        auto* shown = fromTable(new QLabel(picture1), label, headingWidth);
        shown->setAlignment(Qt::AlignCenter);
        shown->setFrameShape(QFrame::Panel);
        shown->setFrameShadow(QFrame::Sunken);
        shown->setAutoFillBackground(true);
        QPalette white = shown->palette();
        white.setColor(QPalette::Window, Qt::white);
        shown->setPalette(white);
        return std::pair{shown, molvane::bar(Qt::Vertical, picture1, bar, headingWidth)};
    };

    // Both bars start at their lowest position, so that the start-up positions
    // the window gives them are changes that run their handlers.
    std::tie(s.label2, s.vscroll2) = labelAndBar("Label2", "VScroll2");
    s.vscroll2->setPageStep(1);
    showFocusRing(s.vscroll2);

    s.option1[0] = fromTable(new QRadioButton(picture1), "Option1_0");
    s.option1[1] = fromTable(new QRadioButton(picture1), "Option1_1");
    s.option1[0]->setChecked(true);
    tabToChosenOption({s.option1[0], s.option1[1]});

    auto* frame1 = fromTable(new QGroupBox(picture1), "Frame1");
    std::tie(s.label3, s.vscroll3) = labelAndBar("Label3", "VScroll3");
    s.vscroll3->setPageStep(10);
    showFocusRing(s.vscroll3);

    for (int k = 0; k < 4; ++k) {
        s.option2[k] = fromTable(new QCheckBox(frame1), indexed("option2", k));
        s.option2[k]->setChecked(start.curves[k]);
    }
    s.picture1->setPainter([](QPainter& painter, QSize size) { paintSettingsPanel(painter, size); });
    return s;
}

}  // namespace molvane

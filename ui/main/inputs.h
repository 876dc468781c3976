// Small controls of the panels: the digit filter of the number boxes, the
// colour swatches, panels painted by a function, and the colour dialog.
#pragma once

#include <QColor>
#include <QLabel>
#include <QWidget>
#include <functional>

#include "core/settings.h"
#include "core/surface.h"

class QAbstractButton;
class QLineEdit;

namespace molvane {

// Lets only digits and Backspace be typed into box; Enter, and leaving the box
// for another control of the program after typing in it, run check, told
// whether Enter ran it. A check that moves the focus does not run itself again.
void filterDigits(QLineEdit* box, std::function<void(bool entered)> check);

// Enter on a focused push button of the window clicks it, once per press
// (a held key does not repeat the command), as Space does.
void clickOnEnter(QWidget* window);

// Tab into a group of option buttons lands on the chosen one, whichever
// comes first in the Tab order; the arrows then move the choice.
void tabToChosenOption(const QList<QAbstractButton*>& group);

// The main window's bars read as the values they show: the percentages and
// the recording's duration and rows as spin buttons ("52 %", "20 s",
// "51 lignes"), the temperature as a slider over its range of positions.
void readBarsAsShown(QWidget* window);

// Places where the keyboard stops to read what the window only draws: the
// equation above the count boxes (`Equation`, with the species' colours) and
// the counts during the reaction under them (`Pendant`). See-through, framed
// while they have the keyboard, read as they are at the time of asking.
// Made after the boxes, the count labels and the swatches.
void addReadingStops(QWidget* window);

// A widget whose content a function paints.
class PaintedPanel final : public QWidget {
    Q_OBJECT
public:
    using Painter = std::function<void(QPainter&, QSize)>;
    explicit PaintedPanel(QWidget* parent = nullptr);
    void setPainter(Painter painter) { painter_ = std::move(painter); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Painter painter_;
};

// A colour swatch `Label4`(k): shows its colour, opens the dialog on a click,
// or on Space or Enter when it has the keyboard.
class Swatch final : public QLabel {
    Q_OBJECT
public:
    explicit Swatch(QWidget* parent = nullptr);

    // The colour as a configuration stores it (0x00BBGGRR, or a system colour).
    Colour value() const { return value_; }
    void setValue(Colour value);
    // The colour it shows.
    QColor shown() const;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    Colour value_ = 0;
};

// The RGB a swatch value stands for; system colours follow the palette.
QColor swatchColour(Colour value);

// The colour dialog, starting from initial; an invalid colour is Cancel.
// Tests answer it instead through setColourResponder.
QColor chooseColour(QWidget* parent, const QColor& initial);
using ColourResponder = std::function<QColor(const QColor& initial)>;
void setColourResponder(ColourResponder responder);

}  // namespace molvane

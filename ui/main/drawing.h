// What the main window and its panels draw around their controls: the shaded
// background, the sunken vessel frame, the equation panel and the headings of
// the parameter, settings and display panels.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <array>

#include "core/controltable.h"
#include "ui/main/controlplace.h"

class QPainter;

namespace molvane {

inline const QString kBullet = fromTable(kBulletSign);
inline const QString kArrow = fromTable(kArrowSign);

QFont arial(int points, bool bold = false);
// The dotted frame that shows which picture has the keyboard, just inside
// `area`: dark on light, so that it shows on any ground.
void drawKeyboardFrame(QPainter& painter, const QRect& area);
// Writes text with its top-left corner at (x, y); returns the x where it ends.
double writeAt(QPainter& painter, double x, double y, const QString& text);

// Where the window's controls lie, in window pixels.
struct WindowLayout {
    QSize size;
    QRect animpic;
    QRect fich;
    QRect supertext;
    std::array<QRect, 4> text1;
    QRect labelinf0;
    std::array<QColor, 4> colours;  // the species colours, A to D
};

// Background, text-area shadow, vessel frame with its blue band, equation panel.
void paintWindow(QPainter& painter, const WindowLayout& layout);

// The parameter panel `Picture3`: the headings of the two percentages and of
// the temperature, and the cold-to-hot band behind the temperature bar.
void paintParameterPanel(QPainter& painter, QSize size, const std::array<QRect, 2>& percentBoxes,
                         const QRect& temperatureBar);

// The band's ends, in panel pixels: 20 pixels beyond each end of the bar and
// 8 above and below it.
QRect temperatureBand(const QRect& temperatureBar);

// Headings of the settings panel `Picture1`, the duration's and the rows',
// where the control table puts them.
void paintSettingsPanel(QPainter& painter, QSize size);

// The display panel `Frame2`: its title and the letter beside each swatch.
void paintDisplayPanel(QPainter& painter, QSize size, const std::array<QRect, 4>& swatches);

}  // namespace molvane

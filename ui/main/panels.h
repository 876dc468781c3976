// The tab strip's three panels as the window lays them out: the parameters
// `Picture3`, the display options `Frame2` and the recording settings
// `Picture1`, with their controls in place and their headings painted. The
// window connects the controls to its handlers.
#pragma once

#include <array>

#include "core/surface.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QWidget;

namespace molvane {

class PaintedPanel;
class Swatch;

struct ParameterPanel {
    PaintedPanel* picture3 = nullptr;
    std::array<QLineEdit*, 2> label5{};     // the typed percentages of senses 1 and 2
    std::array<QScrollBar*, 2> vscroll4{};  // their bars: position = 100 - percentage
    QScrollBar* hscroll1 = nullptr;         // the temperature
};

struct DisplayPanel {
    PaintedPanel* frame2 = nullptr;
    std::array<Swatch*, 4> label4{};  // the species colours, A to D
    QCheckBox* check1 = nullptr;      // "Fond blanc"
    QCheckBox* check2 = nullptr;      // "Conserver les courbes sur le graphe"
    QCheckBox* check3 = nullptr;      // "Afficher Qr dans le tableau"
    QPushButton* command6 = nullptr;  // "Effacer", shown while curves are kept
};

struct SettingsPanel {
    PaintedPanel* picture1 = nullptr;
    QLabel* label2 = nullptr;                // the recording duration
    QScrollBar* vscroll2 = nullptr;          // its bar, 1 (2 h) to 12 (10 s)
    std::array<QRadioButton*, 2> option1{};  // graph or table
    QLabel* label3 = nullptr;                // the number of table rows
    QScrollBar* vscroll3 = nullptr;          // its bar, 10 (101 rows) to 100 (11 rows)
    std::array<QCheckBox*, 4> option2{};     // the curves drawn, A to D
};

ParameterPanel buildParameterPanel(QWidget* strip);
DisplayPanel buildDisplayPanel(QWidget* strip, const std::array<Colour, 4>& colours);
SettingsPanel buildSettingsPanel(QWidget* strip);

}  // namespace molvane

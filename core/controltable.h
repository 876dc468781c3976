// The main window's controls as plain data: for each one its design name,
// what it is, where it lies, its caption, the help line's text when the mouse
// is over it, what a screen reader is told of it, and its place in the Tab
// round. The window builds its controls, its hover help, its accessible names
// and its Tab round from this one table; another front-end reads the same
// table, since these texts are the program's whatever draws them.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/presentation.h"
#include "core/settings.h"
#include "core/surface.h"

namespace molvane {

enum class ControlKind {
    Window,
    Picture,   // drawn by the program: the vessel, the graph
    Label,     // a text the program writes
    TextBox,   // a line the user types in
    TextArea,  // the text area of the exercises
    Button,    // a command
    CheckBox,
    OptionButton,  // one of a group, one chosen
    VerticalBar,   // a scroll bar that sets a value
    HorizontalBar,
    Swatch,  // a species colour, pressed to change it
    Panel,   // one of the tab strip's panels
    Frame,   // a box grouping controls
    TabStrip,
    Grid,         // the table of values
    ReadingStop,  // a place the keyboard stops at to hear what the window shows there
};

// In the parent's pixels. An empty rectangle is laid out by the parent: the
// tab strip places its panels under the tabs' names.
struct ControlRect {
    int x = 0, y = 0, width = 0, height = 0;
    constexpr bool empty() const { return width == 0 && height == 0; }
    constexpr int right() const { return x + width; }
    constexpr int bottom() const { return y + height; }
};

// A heading painted on a panel, its text's top-left corner at (x, y); the
// controls that follow it lie where its text ends.
struct PanelHeading {
    std::string_view text;
    int x, y;
};
inline constexpr PanelHeading kDurationHeading{"Durée de l'enregistrement : ", 18, 15};
inline constexpr PanelHeading kRowsHeading{"Nombre de lignes : ", 16, 76};

// The other texts the window paints around its controls.
inline constexpr std::array<std::string_view, 3> kTabNames{"Paramètres", "Affichage", "Suivi du système"};
inline constexpr std::string_view kEquationHeading = "Équation chimique : ";
inline constexpr std::string_view kInitialHeading = "État initial : ";
inline constexpr std::string_view kDuringHeading = "Pendant la réaction : ";
inline constexpr std::string_view kBulletSign = "\u2022";
inline constexpr std::string_view kArrowSign = "\u2192";
// Each percentage's heading is written around the arrow, after a bullet.
inline constexpr std::array<std::array<std::string_view, 2>, 2> kPercentHeadings{{
    {" Pourcentage de chocs efficaces dans le sens 1 (A + B ", " C + D) :"},
    {" Pourcentage de chocs efficaces dans le sens 2 (C + D ", " A + B) :"},
}};
inline constexpr std::string_view kTemperatureHeading = " Température du système :";
inline constexpr std::string_view kColoursHeading = "Couleurs de représentation des particules";

// The magnifier `louloupe`: what a reader names it, and its title after the
// main window's.
inline constexpr std::string_view kMagnifierName = "Agrandissement du récipient";
// The help line after a copy to the clipboard.
inline constexpr std::string_view kCopyConfirmation =
    "L'image est copiée : vous pouvez la retrouver depuis toute application Windows (coller)";
inline constexpr std::string_view kMagnifierDescription =
    "Le récipient deux fois plus grand ; Échap ferme la fenêtre";
inline constexpr std::string_view kMagnifierTitleSuffix = " (agrandissement)";

// A text the window paints itself, in Arial: its top at y, and x its left
// edge, centre or right edge as the anchor says; a text that follows starts
// where the previous one ends. `species` 0 to 3 paints it in that species'
// colour, -1 in black.
struct PaintedText {
    std::string text;
    double x = 0.0, y = 0.0;
    TextAnchor anchor = TextAnchor::Left;
    int points = 8;
    bool bold = false;
    int species = -1;
    bool follows = false;
};
// What the window paints under its controls, in design pixels: a line or a
// filled rectangle from (x1, y1) to (x2, y2), both corners included.
struct PaintedStroke {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    Colour colour = kBlack;
    bool fill = false;
    bool shading = false;  // part of the shading of the whole window, not of one control
};
// In the order they are painted: the window's shading over `width` x
// `height` pixels, the text area's shadow, the sunken vessel and the blue
// band under it where the clock and its buttons lie.
std::vector<PaintedStroke> windowStrokes(int width, int height);

// What a panel of the strip paints under its controls: under the
// temperature bar, blue at the cold end to red at the hot end, with white ticks.
std::vector<PaintedStroke> panelStrokes(std::string_view panel);

// The tab strip `Onglets`, which draws its tabs itself, for names `widths`
// wide (the current tab's in bold) and `nameHeight` high, in a strip
// `width` x `height`: tab k spans boundaries[k - 1] < x <= boundaries[k],
// its name starts `gap` after its left boundary, one pixel lower when it is
// the current tab, and the current tab's panel lies in `panel`.
struct TabStripLayout {
    std::array<std::int16_t, 4> boundaries{};
    double gap = 0.0;
    ControlRect panel{};
};
TabStripLayout tabStripLayout(const std::array<double, 3>& widths, int width, int height, int nameHeight);
// The top of tab `tab`'s name (1 to 3), the current one `current`.
constexpr int tabNameTop(int tab, int current) {
    return tab == current ? 2 : 1;
}
// The strip's lines: its outline, the separators, and the base line left
// open under the current tab (1 to 3).
std::vector<PaintedStroke> tabStripStrokes(const TabStripLayout& layout, int current, int width, int height,
                                           int nameHeight);

// The texts painted over the control `parent` (the window, or a panel of the
// strip), in the order they are painted, placed from the controls they
// stand by.
std::vector<PaintedText> paintedTexts(std::string_view parent);

struct Control {
    std::string_view name;       // the design name, also the objectName: "Text1_2" is element 2 of Text1
    ControlKind kind;            //
    std::string_view parent;     // the design name of what it lies in, "" for the window itself
    ControlRect rect{};          // x counts from the end of `after`'s text when `after` is set
    std::string_view caption{};  // "&" marks the key letter; the title for the window
    std::string_view hover{};    // the help line's text over it, "" for none
    std::string_view accessibleName{};  // "" when its caption or shown text says it
    std::string_view description{};     // "" when its help text says it
    int tabPlace = 0;                   // 1, 2, ... in the Tab round; 0 out of it
    std::string_view toolTip{};
    bool startsHidden = false;
    const PanelHeading* after = nullptr;
    // The parameter panel says another text over its lower part.
    std::string_view lowerHover{};
    int lowerHoverFrom = 0;
    // A bar that sets a value: its range.
    const BarRange* range = nullptr;
};

inline constexpr std::string_view kMainWindowName = "feuilleP";
// The window's design size, in which every control lies.
inline constexpr ControlRect kMainWindowRect{0, 0, 800, 600};

// Every control of the main window, the window itself first.
std::span<const Control> mainWindowControls();
// The control of that design name, or nullptr.
const Control* findControl(std::string_view name);

// Where the control lies in its parent, `headingWidth` being the width of
// its heading's text when it follows one.
ControlRect placedRect(const Control& control, int headingWidth = 0);

// The help line's text over the control, the pointer `y` pixels below its
// top; "" for a control that has none.
std::string_view hoverText(const Control& control, int y = 0);
std::string_view hoverText(std::string_view name, int y = 0);

// A caption without its key-letter marks: "&Fermer" is "Fermer", "&&" is "&".
std::string plainCaption(std::string_view caption);
// What a screen reader names the control: its accessible name, else its caption.
std::string spokenName(const Control& control);
// What it describes it as: its own description, else its help text on one
// line. A bar that sets a value reads that value as the window shows it,
// unit included, through its value rather than its description.
std::string spokenDescription(const Control& control);
// A description that begins with what the control shows at the moment (a
// swatch's colour in words): "bleu ; Cliquer pour modifier la couleur d'affichage".
std::string describedWith(std::string_view state, std::string_view own);

}  // namespace molvane

#include "core/controltable.h"

#include <array>

#include "common/numbers.h"
#include "core/presentation.h"

namespace molvane {

namespace {

using enum ControlKind;

constexpr std::string_view kWindow = kMainWindowName;
constexpr std::string_view kCountHover = "Saisir le nombre de particules à l'état initial";
constexpr std::string_view kSwatchHover = "Cliquer pour modifier la couleur d'affichage";
constexpr std::string_view kCurveHover = "Choisir les courbes représentées";

// In reading order: the window, the run's views and the counts, the strip and
// its panels, the commands, the text area, the help line.
constexpr std::array kControls = std::to_array<Control>({
    {.name = kWindow,
     .kind = Window,
     .parent = "",
     .rect = kMainWindowRect,
     .caption = "Équilibre dynamique",
     .hover = "Vous pouvez modifier les paramètres,\r\nouvrir une configuration ou un exercice"},

    // The vessel closes the Tab round: a reader reads the run there.
    {.name = "animpic",
     .kind = Picture,
     .parent = kWindow,
     .rect = {20, 59, kVesselWidth, kVesselHeight},
     .hover = "Utiliser l'onglet Affichage pour modifier la représentation",
     .accessibleName = "Récipient de la réaction",
     .tabPlace = 43},
    {.name = "Label1",
     .kind = Label,
     .parent = kWindow,
     .rect = {20, 224, 113, 16},
     .hover = "Temps écoulé depuis le début de la réaction"},
    // On the blue band under the vessel, between the clock and the restart.
    {.name = "Comloupe",
     .kind = Button,
     .parent = kWindow,
     .rect = {172, 222, 86, 23},
     .caption = "A&grandir",
     .accessibleName = "Agrandir",
     .description = "Montrer le récipient deux fois plus grand dans une autre fenêtre",
     .tabPlace = 29},
    {.name = "Command5",
     .kind = Button,
     .parent = kWindow,
     .rect = {268, 222, 145, 23},
     .caption = "Retour à l'état initial",
     .hover = "Retrouver l'état initial",
     .tabPlace = 30},

    // The equation: the initial counts, and under them the counts of the run.
    // A reader hears the equation, and the counts of the run, by stopping on
    // the lines that show them (their names are what they show at the time).
    {.name = "Equation", .kind = ReadingStop, .parent = kWindow, .rect = {20, 255, 389, 16}, .tabPlace = 1},
    {.name = "Pendant", .kind = ReadingStop, .parent = kWindow, .rect = {20, 291, 389, 19}, .tabPlace = 6},
    {.name = "Text1_0",
     .kind = TextBox,
     .parent = kWindow,
     .rect = {144, 272, 57, 19},
     .hover = kCountHover,
     .accessibleName = "Nombre initial de particules A",
     .tabPlace = 2},
    {.name = "Text1_1",
     .kind = TextBox,
     .parent = kWindow,
     .rect = {208, 272, 57, 19},
     .hover = kCountHover,
     .accessibleName = "Nombre initial de particules B",
     .tabPlace = 3},
    {.name = "Text1_2",
     .kind = TextBox,
     .parent = kWindow,
     .rect = {288, 272, 57, 19},
     .hover = kCountHover,
     .accessibleName = "Nombre initial de particules C",
     .tabPlace = 4},
    {.name = "Text1_3",
     .kind = TextBox,
     .parent = kWindow,
     .rect = {352, 272, 57, 19},
     .hover = kCountHover,
     .accessibleName = "Nombre initial de particules D",
     .tabPlace = 5},
    {.name = "Labelinf_0", .kind = Label, .parent = kWindow, .rect = {144, 292, 57, 17}},
    {.name = "Labelinf_1", .kind = Label, .parent = kWindow, .rect = {208, 292, 57, 17}},
    {.name = "Labelinf_2", .kind = Label, .parent = kWindow, .rect = {288, 292, 57, 17}},
    {.name = "Labelinf_3", .kind = Label, .parent = kWindow, .rect = {352, 292, 57, 17}},

    // The graph, with the table lying over it (shown instead of it on demand).
    {.name = "Picture2",
     .kind = Picture,
     .parent = kWindow,
     .rect = {8, 312, 413, 235},
     .accessibleName = "Graphe du nombre de particules en fonction du temps",
     .tabPlace = 31},
    {.name = "MSFlexGrid1",
     .kind = Grid,
     .parent = "Picture2",
     .rect = {0, 0, 413, 235},
     .accessibleName = "Tableau de valeurs",
     .tabPlace = 32,
     .startsHidden = true},

    // Not a text of its own in the program's first design: the keys that
    // turn the tabs are shown where the pointer finds the tabs.
    {.name = "Onglets",
     .kind = TabStrip,
     .parent = kWindow,
     .rect = {432, 48, 361, 177},
     .hover = "Cliquer sur un onglet pour changer de panneau, ou au clavier Ctrl+Tab (suivant) et "
              "Ctrl+Maj+Tab (précédent)",
     .accessibleName = "Onglets des réglages",
     .tabPlace = 7},

    // Tab 1, the parameters: the two percentages and the temperature.
    {.name = "Picture3",
     .kind = Panel,
     .parent = "Onglets",
     .hover = "Vous pouvez modifier les pourcentages",
     .accessibleName = "Panneau Paramètres",
     .lowerHover = "Vous pouvez augmenter ou diminuer la température du système",
     .lowerHoverFrom = 100},
    {.name = "Label5_0",
     .kind = TextBox,
     .parent = "Picture3",
     .rect = {136, 28, 65, 19},
     .accessibleName = "Pourcentage de chocs efficaces, sens 1 : A + B donne C + D, en pour cent",
     .tabPlace = 8},
    {.name = "VScroll4_0",
     .kind = VerticalBar,
     .parent = "Picture3",
     .rect = {200, 28, 17, 20},
     .accessibleName = "Réglage du pourcentage de chocs efficaces, sens 1",
     .tabPlace = 9,
     .range = &kPercentBar},
    {.name = "Label5_1",
     .kind = TextBox,
     .parent = "Picture3",
     .rect = {136, 72, 65, 19},
     .accessibleName = "Pourcentage de chocs efficaces, sens 2 : C + D donne A + B, en pour cent",
     .tabPlace = 10},
    {.name = "VScroll4_1",
     .kind = VerticalBar,
     .parent = "Picture3",
     .rect = {200, 72, 17, 20},
     .accessibleName = "Réglage du pourcentage de chocs efficaces, sens 2",
     .tabPlace = 11,
     .range = &kPercentBar},
    {.name = "HScroll1",
     .kind = HorizontalBar,
     .parent = "Picture3",
     .rect = {64, 124, 257, 17},
     .accessibleName = "Température du système",
     .description = "Vers la droite, les particules vont plus vite",
     .tabPlace = 12,
     .range = &kTemperatureBar},

    // Tab 2, the display options.
    {.name = "Frame2",
     .kind = Panel,
     .parent = "Onglets",
     .hover = "Choisir les couleurs de représentation des particules sur l'animation.",
     .accessibleName = "Panneau Affichage"},
    {.name = "Label4_1",
     .kind = Swatch,
     .parent = "Frame2",
     .rect = {40, 40, 17, 17},
     .hover = kSwatchHover,
     .accessibleName = "Couleur de A",
     .tabPlace = 13},
    {.name = "Label4_2",
     .kind = Swatch,
     .parent = "Frame2",
     .rect = {112, 40, 17, 17},
     .hover = kSwatchHover,
     .accessibleName = "Couleur de B",
     .tabPlace = 14},
    {.name = "Label4_3",
     .kind = Swatch,
     .parent = "Frame2",
     .rect = {184, 40, 17, 17},
     .hover = kSwatchHover,
     .accessibleName = "Couleur de C",
     .tabPlace = 15},
    {.name = "Label4_4",
     .kind = Swatch,
     .parent = "Frame2",
     .rect = {256, 40, 17, 17},
     .hover = kSwatchHover,
     .accessibleName = "Couleur de D",
     .tabPlace = 16},
    {.name = "Check1",
     .kind = CheckBox,
     .parent = "Frame2",
     .rect = {32, 72, 209, 17},
     .caption = "Fond blanc",
     .tabPlace = 17},
    {.name = "Check2",
     .kind = CheckBox,
     .parent = "Frame2",
     .rect = {32, 96, 209, 17},
     .caption = "Conserver les courbes sur le graphe",
     .tabPlace = 18},
    // Shown while kept curves exist and Check2 is ticked.
    {.name = "Command6",
     .kind = Button,
     .parent = "Frame2",
     .rect = {256, 94, 81, 23},
     .caption = "Effacer",
     .hover = "Effacer les courbes",
     .tabPlace = 19,
     .startsHidden = true},
    {.name = "Check3",
     .kind = CheckBox,
     .parent = "Frame2",
     .rect = {32, 120, 209, 17},
     .caption = "Afficher Qr dans le tableau",
     .tabPlace = 20},

    // Tab 3, the recording: its duration, graph or table, the rows, the curves.
    {.name = "Picture1",
     .kind = Panel,
     .parent = "Onglets",
     .hover = "Vous pouvez modifier les paramètres du graphe et du tableau",
     .accessibleName = "Panneau Suivi du système"},
    // Each label sits where its heading ends, 2 pixels above the text, and
    // its bar just right of it.
    {.name = "Label2",
     .kind = Label,
     .parent = "Picture1",
     .rect = {0, 13, 73, 19},
     .after = &kDurationHeading},
    {.name = "VScroll2",
     .kind = VerticalBar,
     .parent = "Picture1",
     .rect = {73, 13, 17, 19},
     .accessibleName = "Durée de l'enregistrement",
     .tabPlace = 21,
     .after = &kDurationHeading,
     .range = &kDurationBar},
    {.name = "Option1_0",
     .kind = OptionButton,
     .parent = "Picture1",
     .rect = {18, 38, 168, 17},
     .caption = "Représentation graphique",
     .tabPlace = 22},
    {.name = "Option1_1",
     .kind = OptionButton,
     .parent = "Picture1",
     .rect = {18, 56, 168, 17},
     .caption = "Tableau de valeurs",
     .tabPlace = 23},
    {.name = "Frame1", .kind = Frame, .parent = "Picture1", .rect = {8, 98, 337, 50}},
    {.name = "Label3", .kind = Label, .parent = "Picture1", .rect = {0, 74, 73, 19}, .after = &kRowsHeading},
    {.name = "VScroll3",
     .kind = VerticalBar,
     .parent = "Picture1",
     .rect = {73, 74, 17, 19},
     .accessibleName = "Nombre de lignes du tableau",
     .tabPlace = 24,
     .after = &kRowsHeading,
     .range = &kRowsBar},
    {.name = "option2_0",
     .kind = CheckBox,
     .parent = "Frame1",
     .rect = {10, 8, 160, 17},
     .caption = "Nombre de particules A",
     .hover = kCurveHover,
     .tabPlace = 25},
    {.name = "option2_1",
     .kind = CheckBox,
     .parent = "Frame1",
     .rect = {10, 28, 160, 17},
     .caption = "Nombre de particules B",
     .hover = kCurveHover,
     .tabPlace = 26},
    {.name = "option2_2",
     .kind = CheckBox,
     .parent = "Frame1",
     .rect = {175, 8, 160, 17},
     .caption = "Nombre de particules C",
     .hover = kCurveHover,
     .tabPlace = 27},
    {.name = "option2_3",
     .kind = CheckBox,
     .parent = "Frame1",
     .rect = {175, 28, 160, 17},
     .caption = "Nombre de particules D",
     .hover = kCurveHover,
     .tabPlace = 28},

    // Every command on one row above the vessel and the strip, spread evenly
    // from the vessel's left edge to the strip's right edge.
    {.name = "Command11",
     .kind = Button,
     .parent = kWindow,
     .rect = {20, 12, 101, 25},
     .caption = "&Enregistrer",
     .hover = "Pour conserver la configuration en cours",
     .tabPlace = 33},
    {.name = "Command2",
     .kind = Button,
     .parent = kWindow,
     .rect = {132, 12, 101, 25},
     .caption = "&Ouvrir",
     .hover = "Pour retrouver une situation enregistrée",
     .tabPlace = 34},
    {.name = "Command4",
     .kind = Button,
     .parent = kWindow,
     .rect = {244, 12, 101, 25},
     .caption = "Co&pier",
     .hover = "Copier pour placer l'image dans le presse- papiers puis coller depuis Word, Paint...",
     .tabPlace = 35},
    {.name = "Command10",
     .kind = Button,
     .parent = kWindow,
     .rect = {356, 12, 101, 25},
     .caption = "&Imprimer",
     .hover = "Pour configurer l'imprimante et imprimer l'image",
     .tabPlace = 36,
     .toolTip = "Imprimer l'image"},
    {.name = "Command8",
     .kind = Button,
     .parent = kWindow,
     .rect = {468, 12, 101, 25},
     .caption = "&Calculatrice",
     .hover = "Machine à calculer",
     .tabPlace = 37},
    {.name = "Command7",
     .kind = Button,
     .parent = kWindow,
     .rect = {580, 12, 101, 25},
     .caption = "&Aide",
     .hover = "Si vous rencontrez une difficulté avec cette application",
     .tabPlace = 38},
    {.name = "Command1",
     .kind = Button,
     .parent = kWindow,
     .rect = {692, 12, 101, 25},
     .caption = "&Fermer",
     .hover = "Pour retrouver le module principal et quitter cette application",
     .tabPlace = 39,
     .toolTip = "Quitter cette application"},

    // The exercises: the button opens its menu down over the text area; the
    // file name box beside it shows which text the area holds.
    {.name = "btexo",
     .kind = Button,
     .parent = kWindow,
     .rect = {432, 234, 88, 22},
     .caption = "E&xercices",
     .hover = "Ouvrir un énoncé, enregistrer le texte, obtenir la correction, imprimer ou fermer.",
     .tabPlace = 40},
    {.name = "fich",
     .kind = TextBox,
     .parent = kWindow,
     .rect = {520, 236, 270, 20},
     .accessibleName = "Fichier du texte"},
    {.name = "supertext",
     .kind = TextArea,
     .parent = kWindow,
     .rect = {432, 256, 358, 288},
     .accessibleName = "Énoncé et réponses",
     .description = "L'énoncé de l'exercice, et les réponses que vous y écrivez",
     .tabPlace = 41},

    // The help line, under the graph.
    {.name = "info", .kind = Label, .parent = kWindow, .rect = {8, 552, 413, 40}},
    // In the free corner under the text area; F10 opens its menu from the keyboard.
    {.name = "Comtaille",
     .kind = Button,
     .parent = kWindow,
     .rect = {640, 564, 150, 23},
     .caption = "Taille de l'affichage",
     .tabPlace = 42},
});

}  // namespace

std::span<const Control> mainWindowControls() {
    return kControls;
}

const Control* findControl(std::string_view name) {
    for (const Control& control : kControls)
        if (control.name == name) return &control;
    return nullptr;
}

ControlRect placedRect(const Control& control, int headingWidth) {
    ControlRect rect = control.rect;
    if (control.after) rect.x += control.after->x + headingWidth;
    return rect;
}

std::string_view hoverText(const Control& control, int y) {
    if (!control.lowerHover.empty() && y >= control.lowerHoverFrom) return control.lowerHover;
    return control.hover;
}

std::string_view hoverText(std::string_view name, int y) {
    const Control* control = findControl(name);
    return control ? hoverText(*control, y) : std::string_view();
}

std::string plainCaption(std::string_view caption) {
    std::string plain;
    for (std::size_t k = 0; k < caption.size(); ++k) {
        if (caption[k] == '&' && k + 1 < caption.size()) ++k;
        plain += caption[k];
    }
    return plain;
}

std::string spokenName(const Control& control) {
    if (!control.accessibleName.empty()) return std::string(control.accessibleName);
    return plainCaption(control.caption);
}

std::string spokenDescription(const Control& control) {
    std::string text(control.description.empty() ? control.hover : control.description);
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at))
        text.replace(at, 2, " ");
    return text;
}

std::string describedWith(std::string_view state, std::string_view own) {
    if (own.empty()) return std::string(state);
    return std::string(state) + " ; " + std::string(own);
}

std::vector<PaintedText> paintedTexts(std::string_view parent) {
    const auto rectOf = [](std::string_view name) { return findControl(name)->rect; };
    const auto indexed = [](std::string_view name, int i) {
        return std::string(name) + "_" + std::to_string(i);
    };
    std::vector<PaintedText> texts;
    if (parent == kMainWindowName) {
        const ControlRect vessel = rectOf("animpic");
        std::array<ControlRect, 4> boxes{};
        for (int s = 0; s < 4; ++s) boxes[s] = rectOf(indexed("Text1", s));
        const double equation = vessel.bottom() + 39;
        texts.push_back(
            {std::string(kEquationHeading), double(boxes[0].x), equation + 1, TextAnchor::Right, 8, true});
        for (int s = 0; s < 4; ++s)
            texts.push_back({std::string(1, char('A' + s)), boxes[s].x + boxes[s].width / 2.0, equation,
                             TextAnchor::Centre, 10, true, s});
        static constexpr std::array<const char*, 3> kSigns{"+", "=", "+"};
        for (int k = 0; k < 3; ++k)
            texts.push_back({kSigns[k], (boxes[k].right() + boxes[k + 1].x) / 2.0, equation,
                             TextAnchor::Centre, 10, true});
        texts.push_back(
            {std::string(kInitialHeading), double(boxes[0].x), boxes[0].y + 3.0, TextAnchor::Right, 8, true});
        texts.push_back({std::string(kDuringHeading), double(boxes[0].x), rectOf("Labelinf_0").y + 1.0,
                         TextAnchor::Right, 8, true});
    } else if (parent == "Picture3") {
        for (int i = 0; i < 2; ++i) {
            const double y = rectOf(indexed("Label5", i)).y - 18.0;
            texts.push_back({std::string(kBulletSign), 18, y});
            texts.push_back(
                {std::string(kPercentHeadings[i][0]), 0, y, TextAnchor::Left, 8, false, -1, true});
            texts.push_back({std::string(kArrowSign), 0, y, TextAnchor::Left, 8, false, -1, true});
            texts.push_back(
                {std::string(kPercentHeadings[i][1]), 0, y, TextAnchor::Left, 8, false, -1, true});
        }
        const double y = rectOf("HScroll1").y - 24.0;
        texts.push_back({std::string(kBulletSign), 18, y});
        texts.push_back({std::string(kTemperatureHeading), 0, y, TextAnchor::Left, 8, false, -1, true});
    } else if (parent == "Picture1") {
        for (const PanelHeading& heading : {kDurationHeading, kRowsHeading})
            texts.push_back(
                {std::string(heading.text), double(heading.x), double(heading.y), TextAnchor::Left, 8, true});
    } else if (parent == "Frame2") {
        texts.push_back({std::string(kColoursHeading), 18, 15, TextAnchor::Left, 8, true});
        for (int s = 0; s < 4; ++s) {
            const ControlRect swatch = rectOf(indexed("Label4", s + 1));
            texts.push_back({std::string(1, char('A' + s)), double(swatch.right() + 8), swatch.y + 1.0});
        }
    }
    return texts;
}

std::vector<PaintedStroke> windowStrokes(int width, int height) {
    const auto rounded = [](double v) { return static_cast<int>(roundToInt16(v).value_or(0)); };
    std::vector<PaintedStroke> strokes;
    // White at the top shading to RGB(200, 200, 180) at the bottom.
    for (int y = 0; y <= height && height > 0; ++y) {
        const int g = rounded(255 - 55.0 * y / height), b = rounded(255 - 75.0 * y / height);
        strokes.push_back({0, y, width, y, rgb(g, g, b), false, true});
    }
    // The text area hides this but for a 3-pixel edge at its right and bottom.
    const ControlRect text = findControl("supertext")->rect, fich = findControl("fich")->rect;
    strokes.push_back({text.x + 3, fich.y + 3, text.right() + 3, text.bottom() + 3, kDarkGrey, true});
    // The vessel sunk into the window: dark above and left, light below and right.
    const ControlRect vessel = findControl("animpic")->rect;
    const int l = vessel.x, t = vessel.y, w = vessel.width, h = vessel.height;
    for (int i = 0; i <= 10; ++i) {
        const Colour shadow = rgb(5 + 5 * i, 65 + 6 * i, 135 + 6 * i);
        strokes.push_back({l - i, t - i, l + w + i, t - i, shadow});
        strokes.push_back({l - i, t - i, l - i, t + h + i, shadow});
        const Colour light = rgb(255 - 20 * i, 255 - 13 * i, 255 - 6 * i);
        strokes.push_back({l - i, t + h + i, l + w + i, t + h + i, light});
        strokes.push_back({l + w + i, t - i, l + w + i, t + h + i + 1, light});
        strokes.push_back(
            {l - 10, t + h + 22 + i, l + w + 11, t + h + 22 + i, rgb(55 - 5 * i, 125 - 6 * i, 195 - 6 * i)});
    }
    strokes.push_back({l - 10, t + h + 10, l + w + 10, t + h + 22, rgb(55, 125, 195), true});
    return strokes;
}

std::vector<PaintedStroke> panelStrokes(std::string_view panel) {
    std::vector<PaintedStroke> strokes;
    if (panel != "Picture3") return strokes;
    const auto rounded = [](double v) { return static_cast<int>(roundToInt16(v).value_or(0)); };
    const ControlRect bar = findControl("HScroll1")->rect;
    const int x0 = bar.x - 20, x1 = bar.right() + 20, y0 = bar.y - 8, y1 = bar.bottom() + 8;
    for (int x = x0; x <= x1; ++x) {
        const int m = rounded(255.0 * (x - x0) / (x1 - x0));
        strokes.push_back({x, y0, x, y1, rgb(m, rounded((255 - m) / 2.0), 255 - m)});
    }
    for (int x = x0 + 36; x <= x1 - 30; x += 25) strokes.push_back({x, y0, x, y1, kWhite});
    return strokes;
}

TabStripLayout tabStripLayout(const std::array<double, 3>& widths, int width, int height, int nameHeight) {
    TabStripLayout layout;
    const double sum = widths[0] + widths[1] + widths[2];
    layout.gap = (width - sum) / 6.0;
    layout.boundaries[0] = -1;
    for (int k = 1; k <= 2; ++k)
        layout.boundaries[k] = roundToInt16(layout.boundaries[k - 1] + widths[k - 1] + 2 * layout.gap)
                                   .value_or(layout.boundaries[k - 1]);
    layout.boundaries[3] = static_cast<std::int16_t>(width);
    const int top = nameHeight + 5;
    layout.panel = {4, top, width - 4 - 4, height - top - 4};
    return layout;
}

std::vector<PaintedStroke> tabStripStrokes(const TabStripLayout& layout, int current, int width, int height,
                                           int nameHeight) {
    const auto& b = layout.boundaries;
    std::vector<PaintedStroke> strokes{
        {0, 0, width - 1, 0, kDarkGrey},
        {width - 1, 0, width - 1, height - 1, kDarkGrey},
        {0, height - 1, width - 1, height - 1, kDarkGrey},
        {0, 0, 0, height - 1, kDarkGrey},
        {0, 0, 0, height - 1, kWhite},
    };
    for (int k = 0; k <= 3; ++k) {
        strokes.push_back({b[k] - 1, 1, b[k] - 1, nameHeight + 1, kDarkGrey});
        strokes.push_back({b[k], 0, b[k], nameHeight, kWhite});
        if (k < 3) strokes.push_back({b[k] + 1, 0, b[k + 1] - 1, 0, kWhite});
    }
    // The base line stops at the current tab, which stays open towards its panel.
    strokes.push_back({0, nameHeight + 1, b[current - 1] + 2, nameHeight + 1, kWhite});
    strokes.push_back({b[current], nameHeight + 1, width, nameHeight + 1, kWhite});
    return strokes;
}

}  // namespace molvane

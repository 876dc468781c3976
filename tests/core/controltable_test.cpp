// The main window's control table, read as any front-end reads it.
#include "core/controltable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace molvane {
namespace {

bool interactive(ControlKind kind) {
    switch (kind) {
        case ControlKind::TextBox:
        case ControlKind::ReadingStop:
        case ControlKind::TextArea:
        case ControlKind::Button:
        case ControlKind::CheckBox:
        case ControlKind::OptionButton:
        case ControlKind::VerticalBar:
        case ControlKind::HorizontalBar:
        case ControlKind::Swatch:
        case ControlKind::Grid:
        case ControlKind::Picture:
        case ControlKind::TabStrip:  // its arrows change the tab
            return true;
        default:
            return false;
    }
}

// The tab strip's panels lie under the names of the tabs: 4 pixels in from
// its sides and bottom, and at least (name height + 5) from its top.
constexpr int kTallestTabNames = 16;

// A heading's text is at most this wide per character in the panels' 8-point bold font.
constexpr int kWidestHeadingCharacter = 8;

int headingWidth(const Control& control) {
    return control.after ? kWidestHeadingCharacter * static_cast<int>(control.after->text.size()) : 0;
}

// The size of the room a control's rectangle must fit in.
ControlRect room(const Control& parent) {
    if (parent.kind == ControlKind::Panel) {
        const ControlRect strip = findControl(parent.parent)->rect;
        return {0, 0, strip.width - 8, strip.height - (kTallestTabNames + 5) - 4};
    }
    return parent.rect;
}

// The control's rectangle in window pixels, its panel taken at the top of its room.
ControlRect inWindow(const Control& control) {
    ControlRect rect = placedRect(control, headingWidth(control));
    for (const Control* parent = findControl(control.parent); parent; parent = findControl(parent->parent)) {
        if (parent->kind == ControlKind::Panel) {
            rect.x += 4;
            rect.y += kTallestTabNames + 5;
        } else {
            rect.x += parent->rect.x;
            rect.y += parent->rect.y;
        }
    }
    return rect;
}

TEST(ControlTable, NamesAreUniqueAndEveryParentIsAControlOfTheWindow) {
    std::set<std::string_view> names;
    for (const Control& control : mainWindowControls()) {
        EXPECT_TRUE(names.insert(control.name).second) << control.name << " twice";
        EXPECT_FALSE(control.name.empty());
        // A design name is an objectName: no blank, no accent.
        for (char c : control.name)
            EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c)) || c == '_') << control.name;
    }
    EXPECT_EQ(mainWindowControls().front().name, kMainWindowName);
    for (const Control& control : mainWindowControls()) {
        if (control.name == kMainWindowName) {
            EXPECT_TRUE(control.parent.empty());
            continue;
        }
        // Up the parents to the window, never round in a circle.
        const Control* at = &control;
        int steps = 0;
        while (!at->parent.empty() && steps < 10) {
            const Control* parent = findControl(at->parent);
            ASSERT_NE(parent, nullptr) << control.name << " in " << at->parent;
            at = parent;
            ++steps;
        }
        EXPECT_EQ(at->name, kMainWindowName) << control.name;
    }
    EXPECT_EQ(findControl("Text1"), nullptr) << "an array's elements are found by element";
    EXPECT_EQ(findControl(""), nullptr);
}

TEST(ControlTable, TabPlacesAreUniqueAndFollowOneAnother) {
    std::map<int, std::string_view> round;
    for (const Control& control : mainWindowControls()) {
        if (control.tabPlace == 0) continue;
        EXPECT_GT(control.tabPlace, 0) << control.name;
        EXPECT_TRUE(round.emplace(control.tabPlace, control.name).second)
            << control.name << " takes the place of " << round[control.tabPlace];
        EXPECT_TRUE(interactive(control.kind)) << control.name << " takes the keyboard but is no control";
    }
    ASSERT_FALSE(round.empty());
    EXPECT_EQ(round.begin()->first, 1);
    EXPECT_EQ(round.rbegin()->first, static_cast<int>(round.size())) << "a gap in the Tab round";
    // The round opens on the equation over the count boxes (the keyboard
    // itself starts in the first box); the vessel closes the round.
    EXPECT_EQ(round.begin()->second, "Equation");
    EXPECT_EQ(round.at(2), "Text1_0");
    EXPECT_EQ(round.rbegin()->second, "animpic");
}

TEST(ControlTable, EveryControlAPupilReachesHasAFrenchName) {
    for (const Control& control : mainWindowControls()) {
        if (!interactive(control.kind) && control.kind != ControlKind::Panel &&
            control.kind != ControlKind::TabStrip)
            continue;
        // A reading stop is named by what it shows at the time.
        if (control.kind == ControlKind::ReadingStop) continue;
        const std::string name = spokenName(control);
        EXPECT_FALSE(name.empty()) << control.name;
        EXPECT_NE(name, control.name) << "a design name is no name for a reader";
        EXPECT_EQ(name.find('&'), std::string::npos) << control.name;
        EXPECT_TRUE(std::isupper(static_cast<unsigned char>(name.front())) ||
                    static_cast<unsigned char>(name.front()) >= 0x80)
            << name;
        // A name says what the control is; the help line says what it is for.
        EXPECT_NE(name, std::string(control.hover)) << control.name;
    }
}

TEST(ControlTable, EveryControlLiesInsideItsParentAndTheWindow) {
    const ControlRect window = kMainWindowRect;
    for (const Control& control : mainWindowControls()) {
        if (control.name == kMainWindowName) continue;
        const Control* parent = findControl(control.parent);
        ASSERT_NE(parent, nullptr);
        if (control.kind == ControlKind::Panel) {
            EXPECT_TRUE(control.rect.empty()) << control.name << ": the strip places its panels";
            EXPECT_EQ(parent->kind, ControlKind::TabStrip);
            continue;
        }
        ASSERT_FALSE(control.rect.empty()) << control.name;
        EXPECT_GT(control.rect.width, 0) << control.name;
        EXPECT_GT(control.rect.height, 0) << control.name;
        const ControlRect place = placedRect(control, headingWidth(control));
        const ControlRect inside = room(*parent);
        EXPECT_GE(place.x, 0) << control.name;
        EXPECT_GE(place.y, 0) << control.name;
        EXPECT_LE(place.right(), inside.width) << control.name << " out of " << parent->name;
        EXPECT_LE(place.bottom(), inside.height) << control.name << " out of " << parent->name;
        const ControlRect shown = inWindow(control);
        EXPECT_LE(shown.right(), window.width) << control.name;
        EXPECT_LE(shown.bottom(), window.height) << control.name;
    }
}

TEST(ControlTable, ALabelAndItsBarFollowTheirHeading) {
    struct Case {
        const char* label;
        const char* bar;
        const PanelHeading* heading;
    };
    for (const Case& c :
         {Case{"Label2", "VScroll2", &kDurationHeading}, Case{"Label3", "VScroll3", &kRowsHeading}}) {
        const Control* label = findControl(c.label);
        const Control* bar = findControl(c.bar);
        ASSERT_NE(label, nullptr);
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(label->after, c.heading);
        EXPECT_EQ(bar->after, c.heading);
        for (int width : {0, 120, 145}) {
            const ControlRect shown = placedRect(*label, width);
            EXPECT_EQ(shown.x, c.heading->x + width) << c.label;
            EXPECT_EQ(shown.y, c.heading->y - 2) << c.label;
            EXPECT_EQ(placedRect(*bar, width).x, shown.right()) << c.bar << " just right of " << c.label;
            EXPECT_EQ(placedRect(*bar, width).y, shown.y);
        }
    }
    // The rows' heading lies in the curves' frame, under the table's option.
    EXPECT_EQ(kRowsHeading.x, findControl("Frame1")->rect.x + 8);
    EXPECT_EQ(kRowsHeading.y, findControl("Option1_1")->rect.y + 20);
}

TEST(ControlTable, KeyLettersDifferOnTheWindow) {
    std::map<char, std::string_view> letters;
    for (const Control& control : mainWindowControls()) {
        if (control.kind != ControlKind::Button) continue;
        const auto mark = control.caption.find('&');
        if (mark == std::string_view::npos || mark + 1 >= control.caption.size()) continue;
        const char letter =
            static_cast<char>(std::tolower(static_cast<unsigned char>(control.caption[mark + 1])));
        EXPECT_TRUE(letters.emplace(letter, control.name).second)
            << control.name << " and " << letters[letter] << " share Alt+" << letter;
    }
    EXPECT_GE(letters.size(), 9u);
}

TEST(ControlTable, HoverTextsFollowThePointer) {
    struct Case {
        const char* name;
        int y;
        const char* text;
    };
    const Case cases[] = {
        {"Picture3", 0, "Vous pouvez modifier les pourcentages"},
        {"Picture3", 99, "Vous pouvez modifier les pourcentages"},
        {"Picture3", 100, "Vous pouvez augmenter ou diminuer la température du système"},
        {"Picture3", 150, "Vous pouvez augmenter ou diminuer la température du système"},
        {"Text1_3", 0, "Saisir le nombre de particules à l'état initial"},
        {"Label4_2", 5, "Cliquer pour modifier la couleur d'affichage"},
        {"feuilleP", 300, "Vous pouvez modifier les paramètres,\r\nouvrir une configuration ou un exercice"},
        {"Labelinf_0", 0, ""},
        {"Comtaille", 0, ""},
        {"nothing", 0, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(hoverText(c.name, c.y), c.text) << c.name << " at " << c.y;
}

TEST(ControlTable, CaptionsLoseTheirKeyLetterMarks) {
    const std::pair<const char*, const char*> cases[] = {
        {"&Fermer", "Fermer"},
        {"Co&pier", "Copier"},
        {"A && B", "A & B"},
        {"Fin&", "Fin&"},
        {"", ""},
        {"Retour à l'état initial", "Retour à l'état initial"},
    };
    for (const auto& [caption, plain] : cases) EXPECT_EQ(plainCaption(caption), plain) << caption;
}

TEST(ControlTable, WhatAReaderIsTold) {
    struct Case {
        const char* name;
        const char* spoken;
        const char* description;
    };
    const Case cases[] = {
        // The caption speaks; the help line describes.
        {"Command1", "Fermer", "Pour retrouver le module principal et quitter cette application"},
        {"Check2", "Conserver les courbes sur le graphe", ""},
        // A name of its own; a description of its own before the help line.
        {"Text1_1", "Nombre initial de particules B", "Saisir le nombre de particules à l'état initial"},
        {"Comloupe", "Agrandir", "Montrer le récipient deux fois plus grand dans une autre fenêtre"},
        // The help line's break is read as a blank.
        {"feuilleP", "Équilibre dynamique",
         "Vous pouvez modifier les paramètres, ouvrir une configuration ou un exercice"},
    };
    for (const Case& c : cases) {
        const Control* control = findControl(c.name);
        ASSERT_NE(control, nullptr) << c.name;
        EXPECT_EQ(spokenName(*control), c.spoken);
        EXPECT_EQ(spokenDescription(*control), c.description);
    }
}

TEST(ControlTable, EveryBarHasItsRange) {
    for (const Control& control : mainWindowControls()) {
        const bool isBar =
            control.kind == ControlKind::VerticalBar || control.kind == ControlKind::HorizontalBar;
        EXPECT_EQ(isBar, control.range != nullptr) << control.name;
    }
}

TEST(ControlTable, DescriptionsBeginWithWhatIsShown) {
    EXPECT_EQ(describedWith("bleu", "Cliquer pour modifier la couleur d'affichage"),
              "bleu ; Cliquer pour modifier la couleur d'affichage");
    EXPECT_EQ(describedWith("vert foncé", ""), "vert foncé");
}

}  // namespace
}  // namespace molvane

namespace molvane {

TEST(PaintedTexts, PlacedByTheControlsTheyStandBy) {
    const ControlRect a = findControl("Text1_0")->rect, d = findControl("Text1_3")->rect;
    const std::vector<PaintedText> window = paintedTexts(kMainWindowName);
    ASSERT_EQ(window.size(), 10u);
    EXPECT_EQ(window[0].text, "Équation chimique : ");
    EXPECT_EQ(window[0].anchor, TextAnchor::Right);
    EXPECT_EQ(window[0].x, a.x);
    // The species' letters over their boxes, in their colours; the signs black.
    EXPECT_EQ(window[1].text, "A");
    EXPECT_EQ(window[1].species, 0);
    EXPECT_EQ(window[1].x, a.x + a.width / 2.0);
    EXPECT_EQ(window[4].text, "D");
    EXPECT_EQ(window[4].x, d.x + d.width / 2.0);
    EXPECT_EQ(window[6].text, "=");
    EXPECT_EQ(window[6].species, -1);
    EXPECT_EQ(window[9].y, findControl("Labelinf_0")->rect.y + 1.0);

    const std::vector<PaintedText> percentages = paintedTexts("Picture3");
    ASSERT_EQ(percentages.size(), 10u);
    EXPECT_FALSE(percentages[0].follows);
    EXPECT_TRUE(percentages[1].follows && percentages[2].follows && percentages[3].follows);
    EXPECT_EQ(percentages[2].text, "\u2192");
    EXPECT_EQ(percentages[8].y, findControl("HScroll1")->rect.y - 24.0);

    const std::vector<PaintedText> display = paintedTexts("Frame2");
    ASSERT_EQ(display.size(), 5u);
    const ControlRect swatch = findControl("Label4_2")->rect;
    EXPECT_EQ(display[2].text, "B");
    EXPECT_EQ(display[2].x, swatch.x + swatch.width + 8);

    EXPECT_EQ(paintedTexts("Picture1").size(), 2u);
    EXPECT_TRUE(paintedTexts("Command1").empty());
}

TEST(WindowStrokes, ShadingThenTheTextAreasShadowThenTheSunkenVessel) {
    const std::vector<PaintedStroke> strokes = windowStrokes(800, 600);
    ASSERT_EQ(strokes.size(), 601u + 1u + 11u * 5u + 1u);
    EXPECT_EQ(strokes.front().colour, kWhite);
    EXPECT_TRUE(strokes.front().shading);
    EXPECT_EQ(strokes[600].colour, rgb(200, 200, 180));
    EXPECT_EQ(strokes[600].y1, 600);
    EXPECT_FALSE(strokes[601].shading);
    EXPECT_TRUE(strokes[601].fill);
    EXPECT_EQ(strokes[601].colour, kDarkGrey);
    const ControlRect vessel = findControl("animpic")->rect;
    // The blue band under the vessel, where the clock is written in white.
    const PaintedStroke& band = strokes.back();
    EXPECT_TRUE(band.fill);
    EXPECT_EQ(band.colour, rgb(55, 125, 195));
    EXPECT_EQ(band.y1, vessel.bottom() + 10);
    const ControlRect clock = findControl("Label1")->rect;
    EXPECT_LE(band.y1, clock.y + clock.height / 2);
    EXPECT_GE(band.y2, clock.y + clock.height / 2);
    EXPECT_EQ(windowStrokes(436, 0).size(), 1u + 11u * 5u + 1u);
}

TEST(TabStrip, NamesSpreadEvenlyAndTheCurrentTabStaysOpen) {
    const int nameHeight = 14;
    const TabStripLayout layout = tabStripLayout({50, 40, 80}, 361, 177, nameHeight);
    EXPECT_EQ(layout.boundaries, (std::array<std::int16_t, 4>{-1, 113, 217, 361}));
    EXPECT_NEAR(layout.gap, (361 - 170) / 6.0, 1e-9);
    EXPECT_EQ(layout.panel.x, 4);
    EXPECT_EQ(layout.panel.y, nameHeight + 5);
    EXPECT_EQ(layout.panel.right(), 361 - 4);
    EXPECT_EQ(layout.panel.bottom(), 177 - 4);
    EXPECT_EQ(tabNameTop(2, 2), 2);
    EXPECT_EQ(tabNameTop(1, 2), 1);

    for (int current = 1; current <= 3; ++current) {
        // The base line covers every x but those of the current tab.
        std::vector<bool> covered(362, false);
        for (const PaintedStroke& s : tabStripStrokes(layout, current, 361, 177, nameHeight))
            if (s.y1 == nameHeight + 1 && s.y2 == nameHeight + 1)
                for (int x = std::max(s.x1, 0); x <= std::min(s.x2, 361); ++x) covered[x] = true;
        const int left = layout.boundaries[current - 1], right = layout.boundaries[current];
        for (int x = 0; x <= 361; ++x)
            EXPECT_EQ(covered[x], x <= left + 2 || x >= right) << "tab " << current << " x " << x;
    }
}

TEST(PanelStrokes, TheTemperatureBandRunsFromColdToHot) {
    const std::vector<PaintedStroke> band = panelStrokes("Picture3");
    const ControlRect bar = findControl("HScroll1")->rect;
    const int columns = bar.width + 40 + 1;
    ASSERT_GT(band.size(), static_cast<std::size_t>(columns));
    EXPECT_EQ(band.front().x1, bar.x - 20);
    EXPECT_EQ(band.front().colour, rgb(0, 128, 255));
    EXPECT_EQ(band[columns - 1].x1, bar.right() + 20);
    EXPECT_EQ(band[columns - 1].colour, rgb(255, 0, 0));
    for (std::size_t k = columns; k < band.size(); ++k) EXPECT_EQ(band[k].colour, kWhite);
    EXPECT_TRUE(panelStrokes("Frame2").empty());
}

}  // namespace molvane

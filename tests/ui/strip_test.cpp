// The tab strip, the hover help and the window's drawing.
#include <QEnterEvent>
#include <QLabel>
#include <QLineEdit>
#include <QtTest/QTest>

#include "tests/ui/fixture.h"
#include "ui/main/inputs.h"
#include "ui/main/tabstrip.h"

namespace molvane {
namespace {

class StripTest : public WindowTest {
protected:
    TabStrip* strip() { return control<TabStrip>("Onglets"); }

    // The panel shown, by its design name.
    QString shownPanel() {
        QString shown;
        for (const char* name : {"Picture3", "Frame2", "Picture1"})
            if (!control<QWidget>(name)->isHidden()) shown += QLatin1String(name);
        return shown;
    }

    QString info() { return control<QLabel>("info")->text(); }

    void hover(QWidget* widget, QPoint at) {
        QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
    }
};

TEST_F(StripTest, ReleaseOnANameSwitchesAndMovesTheBoundaries) {
    EXPECT_EQ(strip()->current(), 1);
    EXPECT_EQ(shownPanel(), QStringLiteral("Picture3"));
    const auto start = strip()->boundaries();
    EXPECT_EQ(start[0], -1);
    EXPECT_EQ(start[3], 361);
    ASSERT_LT(start[1], start[2]);

    struct Case {
        QPoint at;
        int current;
        const char* panel;
    };
    const int middleOf2 = (start[1] + start[2]) / 2, middleOf3 = (start[2] + 361) / 2;
    const std::vector<Case> cases{
        {{middleOf2, 20}, 1, "Picture3"},                                 // below the names: nothing
        {{middleOf2, 8}, 2, "Frame2"},    {{middleOf2, 8}, 2, "Frame2"},  // the current tab: nothing
        {{middleOf3, 15}, 3, "Picture1"}, {{5, 0}, 1, "Picture3"},
    };
    for (const Case& c : cases) {
        QTest::mouseRelease(strip(), Qt::LeftButton, Qt::NoModifier, c.at);
        EXPECT_EQ(strip()->current(), c.current) << c.at.x() << "," << c.at.y();
        EXPECT_EQ(shownPanel(), QString::fromLatin1(c.panel));
    }

    // With "Affichage" bold, the first tab narrows and the second widens.
    strip()->setCurrent(2);
    const auto second = strip()->boundaries();
    EXPECT_LT(second[1], start[1]);
    EXPECT_GT(second[2] - second[1], start[2] - start[1]);
    EXPECT_EQ(second[3], 361);
    const QRect panel = control<QWidget>("Frame2")->geometry();
    EXPECT_EQ(panel, QRect(4, strip()->nameHeight() + 5, 361 - 8, 177 - (strip()->nameHeight() + 5) - 4));
}

TEST_F(StripTest, CtrlTabTurnsTheTabsBothWays) {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    struct Case {
        Qt::KeyboardModifiers modifiers;
        int current;
    };
    const std::vector<Case> cases{{Qt::ControlModifier, 2},
                                  {Qt::ControlModifier, 3},
                                  {Qt::ControlModifier, 1},
                                  {Qt::ControlModifier | Qt::ShiftModifier, 3},
                                  {Qt::ControlModifier | Qt::ShiftModifier, 2}};
    for (const Case& c : cases) {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : window.get(), Qt::Key_Tab, c.modifiers);
        EXPECT_EQ(strip()->current(), c.current);
        // The keyboard follows into the panel shown.
        focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        EXPECT_TRUE(strip()->isAncestorOf(focus)) << focus->objectName().toStdString();
    }
}

TEST_F(StripTest, HoverTextsFollowThePointer) {
    EXPECT_EQ(info(), QStringLiteral(
                          "Vous pouvez modifier les paramètres,\r\nouvrir une configuration ou un exercice"));
    struct Case {
        const char* control;
        QPoint at;
        const char* text;
    };
    const std::vector<Case> cases{
        {"Picture3", {10, 100}, "Vous pouvez augmenter ou diminuer la température du système"},
        {"Picture3", {10, 99}, "Vous pouvez modifier les pourcentages"},
        {"Text1_2", {3, 3}, "Saisir le nombre de particules à l'état initial"},
        {"Picture3", {10, 100}, "Vous pouvez augmenter ou diminuer la température du système"},
        {"animpic", {3, 3}, "Utiliser l'onglet Affichage pour modifier la représentation"},
        {"Label4_3", {3, 3}, "Cliquer pour modifier la couleur d'affichage"},
        {"Frame2", {2, 2}, "Choisir les couleurs de représentation des particules sur l'animation."},
        {"option2_1", {3, 3}, "Choisir les courbes représentées"},
        {"Picture1", {2, 2}, "Vous pouvez modifier les paramètres du graphe et du tableau"},
        {"Command11", {3, 3}, "Pour conserver la configuration en cours"},
        {"Command2", {3, 3}, "Pour retrouver une situation enregistrée"},
        {"Command5", {3, 3}, "Retrouver l'état initial"},
        {"Label1", {3, 3}, "Temps écoulé depuis le début de la réaction"},
        {"feuilleP",
         {790, 300},
         "Vous pouvez modifier les paramètres,\r\nouvrir une configuration ou un exercice"},
        // Over one of its controls, a panel leaves the text as it was.
        {"Picture3",
         {140, 30},
         "Vous pouvez modifier les paramètres,\r\nouvrir une configuration ou un exercice"},
    };
    for (const Case& c : cases) {
        QWidget* widget = QLatin1String(c.control) == QLatin1String("feuilleP") ? window.get()
                                                                                : control<QWidget>(c.control);
        hover(widget, c.at);
        EXPECT_EQ(info(), QString::fromUtf8(c.text)) << c.control;
    }
}

TEST_F(StripTest, StripHasThePanelGroundUnderItsLines) {
    for (int tab : {1, 2, 3}) {
        strip()->setCurrent(tab);
        // As it shows over the window.
        const QImage drawn =
            window->grab(strip()->geometry()).toImage().convertToFormat(QImage::Format_RGB32);
        const auto b = strip()->boundaries();
        // Between a separator and the next name, and under the names' line.
        EXPECT_EQ(drawn.pixelColor(b[1] + 3, strip()->nameHeight() / 2), QColor(240, 235, 230)) << tab;
        EXPECT_EQ(drawn.pixelColor(b[2] + 3, strip()->nameHeight() / 2), QColor(240, 235, 230)) << tab;
        // The white lines of the tabs show on it: the top of each tab, and the
        // base line beside the current tab only.
        EXPECT_EQ(drawn.pixelColor(b[0] + 4, 0), QColor(Qt::white)) << tab;
        const int outside = tab == 1 ? b[2] + 4 : b[0] + 1;
        const int inside = (b[tab - 1] + b[tab]) / 2;
        EXPECT_EQ(drawn.pixelColor(outside, strip()->nameHeight() + 1), QColor(Qt::white)) << tab;
        EXPECT_EQ(drawn.pixelColor(inside, strip()->nameHeight() + 1), QColor(240, 235, 230)) << tab;
    }
}

TEST_F(StripTest, WindowDrawingAndEquationColours) {
    QImage drawn(window->size(), QImage::Format_RGB32);
    window->render(&drawn);
    EXPECT_EQ(drawn.pixelColor(795, 2), QColor(255, 255, 255));
    EXPECT_EQ(drawn.pixelColor(795, 597), QColor(200, 200, 180));
    // The blue band under the vessel (between the clock and "Agrandir"), and
    // its deep blue edge above it.
    EXPECT_EQ(drawn.pixelColor(150, 59 + 157 + 12), QColor(55, 125, 195));
    EXPECT_EQ(drawn.pixelColor(200, 58), QColor(10, 71, 141));

    const auto lettersOf = [&](const QColor& colour) {
        int n = 0;
        for (int y = 250; y < 272; ++y)
            for (int x = 144; x < 201; ++x) n += drawn.pixelColor(x, y) == colour;
        return n;
    };
    EXPECT_GT(lettersOf(QColor(0, 0, 255)), 5);
    const QColor chosen(200, 30, 40);
    setColourResponder([&](const QColor&) { return chosen; });
    QTest::mouseClick(control<Swatch>("Label4_1"), Qt::LeftButton);
    setColourResponder({});
    window->render(&drawn);
    EXPECT_GT(lettersOf(chosen), 5);
    EXPECT_EQ(lettersOf(QColor(0, 0, 255)), 0);
}

}  // namespace
}  // namespace molvane

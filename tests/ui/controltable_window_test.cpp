// The built main window is the control table: every control in its place
// with its caption, tip, help text, name and Tab place, and no control
// outside the table.
#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAccessible>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QtTest/QTest>
#include <algorithm>
#include <ostream>
#include <vector>

#include "core/controltable.h"
#include "tests/ui/fixture.h"
#include "ui/main/drawing.h"
#include "windowkit/accessibility.h"

// A failure shows the texts as a reader of the test reads them.
static void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace molvane {
namespace {

QString text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

class WindowFromTable : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    QWidget* widgetOf(const Control& control) {
        if (control.name == kMainWindowName) return window.get();
        return window->findChild<QWidget*>(text(control.name));
    }
};

TEST_F(WindowFromTable, EveryControlHasItsPlaceCaptionAndTip) {
    const QFontMetrics headings(arial(8, true));
    EXPECT_EQ(window->windowTitle(), text(findControl(kMainWindowName)->caption));
    EXPECT_EQ(window->size(), QSize(kMainWindowRect.width, kMainWindowRect.height));
    for (const Control& control : mainWindowControls()) {
        if (control.name == kMainWindowName) continue;
        QWidget* widget = widgetOf(control);
        ASSERT_NE(widget, nullptr) << control.name;
        ASSERT_NE(widget->parentWidget(), nullptr);
        EXPECT_EQ(widget->parentWidget()->objectName(), text(control.parent)) << control.name;
        if (!control.rect.empty()) {
            const int width = control.after ? headings.horizontalAdvance(text(control.after->text)) : 0;
            const ControlRect place = placedRect(control, width);
            EXPECT_EQ(widget->geometry(), QRect(place.x, place.y, place.width, place.height)) << control.name;
        }
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            EXPECT_EQ(button->text(), text(control.caption)) << control.name;
        }
        EXPECT_EQ(widget->toolTip(), text(control.toolTip)) << control.name;
        if (control.kind != ControlKind::Panel) {
            EXPECT_EQ(widget->isHidden(), control.startsHidden)
                << control.name << ": no control waits hidden";
        }
    }
}

TEST_F(WindowFromTable, EveryNamedControlOfTheWindowIsInTheTable) {
    // Menus are no controls of the window; Qt's own parts are named qt_*.
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        const QString name = widget->objectName();
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_")) || qobject_cast<QMenu*>(widget)) continue;
        bool insideAControl = false;
        for (QWidget* up = widget->parentWidget(); up && up != window.get(); up = up->parentWidget())
            if (qobject_cast<QAbstractScrollArea*>(up)) insideAControl = true;
        if (insideAControl) continue;
        EXPECT_NE(findControl(name.toStdString()), nullptr) << name.toStdString() << " is not in the table";
    }
}

TEST_F(WindowFromTable, AReaderIsToldTheTablesNamesAndDescriptions) {
    for (const Control& control : mainWindowControls()) {
        if (control.name == kMainWindowName) continue;
        QWidget* widget = widgetOf(control);
        ASSERT_NE(widget, nullptr) << control.name;
        QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(widget);
        ASSERT_NE(reader, nullptr) << control.name;
        const std::string spoken = spokenName(control);
        // Labels without a name of their own read the text they show.
        if (!spoken.empty()) {
            EXPECT_EQ(reader->text(QAccessible::Name), text(spoken)) << control.name;
        }

        const QString description = reader->text(QAccessible::Description);
        if (qobject_cast<QScrollBar*>(widget)) {
            // A bar reads as the value it sets, as the window shows it.
            EXPECT_TRUE(readsAsShown(widget)) << control.name;
        } else if (control.kind == ControlKind::Swatch) {
            // The colour in words first.
            EXPECT_TRUE(description.endsWith(QStringLiteral(" ; ") + text(spokenDescription(control))))
                << control.name << ": " << description.toStdString();
        } else if (control.kind != ControlKind::Picture) {
            // The pictures are described by the run they show.
            EXPECT_EQ(description, text(spokenDescription(control))) << control.name;
        }
    }
}

TEST_F(WindowFromTable, TheHelpLineSaysTheTablesTextUnderThePointer) {
    auto* info = control<QLabel>("info");
    for (const Control& control : mainWindowControls()) {
        QWidget* widget = widgetOf(control);
        ASSERT_NE(widget, nullptr) << control.name;
        for (int y : {1, control.lowerHoverFrom + 1}) {
            const QPoint at(1, y);
            if (widget->childAt(at)) continue;  // over one of its controls
            info->setText(QStringLiteral("-"));
            QEnterEvent enter(at, widget->mapToGlobal(at), widget->mapToGlobal(at));
            QApplication::sendEvent(widget, &enter);
            const QString expected = text(hoverText(control, y));
            EXPECT_EQ(info->text(), expected.isEmpty() ? QStringLiteral("-") : expected)
                << control.name << " at " << y;
        }
    }
}

TEST_F(WindowFromTable, TheTabRoundFollowsTheTablesPlaces) {
    std::vector<const Control*> places;
    for (const Control& control : mainWindowControls())
        if (control.tabPlace > 0) places.push_back(&control);
    std::sort(places.begin(), places.end(),
              [](const Control* a, const Control* b) { return a->tabPlace < b->tabPlace; });
    ASSERT_FALSE(places.empty());

    // Round the focus chain once from the first place, hidden controls included.
    std::vector<std::string> round;
    QWidget* first = widgetOf(*places.front());
    ASSERT_NE(first, nullptr);
    QWidget* at = first;
    do {
        const std::string name = at->objectName().toStdString();
        const Control* control = findControl(name);
        if (control && control->tabPlace > 0) round.push_back(name);
        at = at->nextInFocusChain();
    } while (at != first && round.size() <= places.size());

    std::vector<std::string> expected;
    for (const Control* control : places) expected.emplace_back(control->name);
    EXPECT_EQ(round, expected);
    // The round opens on the equation's line; the keyboard starts in the box under it.
    EXPECT_EQ(window->focusWidget(), widgetOf(*findControl("Text1_0"))) << "the keyboard starts in A's box";
}

}  // namespace
}  // namespace molvane

// Every window of the program read through its accessibility tree: each
// object a pupil can reach or press has a French name.
#include <QAccessible>
#include <QDir>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QtTest/QTest>

#include "calc/machine.h"
#include "exercises/exercisemenu.h"
#include "exercises/fichexo.h"
#include "files/configdialogs.h"
#include "output/helpwindow.h"
#include "output/magnifier.h"
#include "output/printdialog.h"
#include "output/printerchoice.h"
#include "output/printtarget.h"
#include "tests/accessibility/accessibletree.h"
#include "tests/ui/fixture.h"

namespace molvane {
namespace {

std::string joined(const std::vector<std::string>& lines) {
    std::string all;
    for (const std::string& line : lines) all += line + '\n';
    return all;
}

// A window must be walked, and walked whole: a tree cut short would pass.
void expectNamed(QObject* window, int atLeast) {
    EXPECT_GE(interactiveObjects(window), atLeast) << window->objectName().toStdString();
    const auto faults = unnamedObjects(window);
    EXPECT_TRUE(faults.empty()) << window->objectName().toStdString() << "\n" << joined(faults);
}

TEST(FrenchNames, TellWhatAReaderCouldNotSay) {
    const struct {
        const char* name;
        const char* design;
        bool fine;
    } cases[] = {
        {"racine carrée", "", true},
        {"Nombre initial de particules A", "", true},
        {"7", "", true},         // a digit key reads as its digit
        {"Date (s)", "", true},  // French words that look English
        {"", "", false},
        {"   ", "", false},
        {"√‾", "", false},  // the symbol drawn on the key
        {"^", "", false},
        {"Command5", "Command5", false},
        {"Look in:", "", false},  // Qt's text left untranslated
        {"Cancel", "", false},
        {"Detail View", "", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(frenchNameFault(QString::fromUtf8(c.name), QString::fromLatin1(c.design)).isEmpty(), c.fine)
            << c.name;
}

class AccessibleWindows : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
};

TEST_F(AccessibleWindows, MainWindowAndItsMenus) {
    // The table, hidden at start, is walked too: hidden controls keep their names.
    expectNamed(window.get(), 40);
    for (QMenu* menu : window->findChildren<QMenu*>()) expectNamed(menu, 2);
}

TEST_F(AccessibleWindows, Calculator) {
    Machine machine(window.get());
    expectNamed(&machine, 45);
}

TEST_F(AccessibleWindows, ConfigurationDialogs) {
    QDir::setCurrent(folder.path());
    Enregistrer save(*window, window.get());
    expectNamed(&save, 5);
    Ouvrir open(*window, window.get());
    expectNamed(&open, 5);
}

TEST_F(AccessibleWindows, ExerciseWindow) {
    Fichexo& exercises = window->exercises().window();
    exercises.show();
    expectNamed(&exercises, 5);
    exercises.hide();
}

TEST_F(AccessibleWindows, PrintDialog) {
    QPrinter printer(QPrinter::HighResolution);
    useNoPrinter(printer);
    PrintSources sources;
    sources.animation = [] { return QImage(); };
    sources.graph = [] { return QImage(); };
    Confimp dialog(printer, sources, window.get());
    expectNamed(&dialog, 7);
}

TEST_F(AccessibleWindows, PrinterChoice) {
    // Qt's own dialog, as the print dialog's "Imprimantes" shows it.
    QPrinter printer(QPrinter::HighResolution);
    useNoPrinter(printer);
    QPrintDialog dialog(&printer, window.get());
    finishPrinterDialog(dialog);
    dialog.show();
    expectNamed(&dialog, 10);
}

TEST_F(AccessibleWindows, Magnifier) {
    MagnifierLink link;
    Louloupe loupe(window.get(), link);
    EXPECT_TRUE(
        frenchNameFault(QAccessible::queryAccessibleInterface(&loupe)->text(QAccessible::Name)).isEmpty());
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(&loupe)->text(QAccessible::Description).isEmpty());
}

TEST_F(AccessibleWindows, HelpWindow) {
    const QString collection = helpCollectionPath(QStringLiteral(MOLVANE_PROGRAM_DIR "/"));
    std::unique_ptr<HelpWindow> help(HelpWindow::create(collection, window.get()));
    ASSERT_NE(help, nullptr) << collection.toStdString();
    help->show();
    expectNamed(help.get(), 6);
}

}  // namespace
}  // namespace molvane

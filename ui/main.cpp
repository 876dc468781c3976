// Molvane, "Équilibre dynamique": the main window is the program.
#include <QApplication>

#include "core/controltable.h"
#include "ui/appicon.h"
#include "ui/main/displaysize.h"
#include "ui/main/mainwindow.h"
#include "ui/selfcheck/selfcheck.h"
#include "windowkit/accessibility.h"
#include "windowkit/french.h"
#include "windowkit/keyboardhome.h"
#include "windowkit/partnames.h"
#include "windowkit/place.h"

int main(int argc, char* argv[]) {
    // A self-check's standard error holds its failures only.
    if (molvane::selfCheckWanted()) molvane::quietHeadlessNotices();
    QApplication app(argc, argv);
    molvane::installFrenchTranslation();
    molvane::installReaderInterfaces();
    // Every window opens inside its screen, at any size of the display.
    molvane::keepWindowsOnScreen();
    // After every box the keyboard is back where it was.
    molvane::keepKeyboardHome();
    // Nothing nameless for a screen reader, in any window.
    molvane::nameNamelessParts();
    // The desktop matches the windows to the menu entry by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.molvane.Molvane"));
    QApplication::setWindowIcon(molvane::applicationIcon());
    // The size of the display kept from the last session, before any window.
    molvane::applyStoredDisplaySize(QSize(molvane::kMainWindowRect.width, molvane::kMainWindowRect.height));
    const QString folder = QCoreApplication::applicationDirPath();
    molvane::MainWindow window(folder);
    window.show();
    if (molvane::selfCheckWanted()) return molvane::selfCheckMain(window, folder);
    return app.exec();
}

// The widget tests need an application object; the tests run offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include "windowkit/accessibility.h"
#include "windowkit/french.h"

int main(int argc, char** argv) {
    // Listing the tests at build time happens without a display too.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The headless screens are a classroom's: a projector on which every size
    // of the display fits, and a whiteboard of twice its resolution beside it.
    const QTemporaryDir screen;
    if (screen.isValid() && qgetenv("QT_QPA_PLATFORM") == "offscreen") {
        QFile file(screen.filePath(QStringLiteral("screen.json")));
        if (file.open(QIODevice::WriteOnly)) {
            file.write(R"({"screens": [{"name": "Classe", "x": 0, "y": 0, "width": 2048, "height": 1536,
                           "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1},
                          {"name": "Tableau", "x": 2048, "y": 0, "width": 3840, "height": 2160,
                           "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 2}]})");
            file.close();
            qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + file.fileName().toLocal8Bit());
        }
    }
    // Numbers are checked as a French user sees them, with a decimal comma.
    qputenv("LC_ALL", "fr_FR.UTF-8");
    // A cache of the process's own: tests running side by side never share
    // the help's copy and search index, and the user's cache stays untouched.
    const QTemporaryDir cache;
    if (cache.isValid()) qputenv("XDG_CACHE_HOME", cache.path().toLocal8Bit());
    // The same for the text area's recovery copies: no test finds another's.
    const QTemporaryDir data;
    if (data.isValid()) qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    // Likewise the settings: the size of the display chosen by a test stays its own.
    const QTemporaryDir config;
    if (config.isValid()) qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    // Qt's own dialogs speak French, as in the program.
    molvane::installFrenchTranslation();
    // Read as the program is read.
    molvane::installReaderInterfaces();
    // A test that closes its window must not end the others' event loops.
    QApplication::setQuitOnLastWindowClosed(false);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// The windows on a small screen at a system scale of 150 %: 1 280 x 1 024
// pixels, 853 x 682 of the windows' own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include "windowkit/french.h"
#include "windowkit/place.h"

int main(int argc, char** argv) {
    const QTemporaryDir screen;
    if (screen.isValid()) {
        QFile file(screen.filePath(QStringLiteral("screen.json")));
        if (file.open(QIODevice::WriteOnly)) {
            file.write(R"({"screens": [{"name": "Salle", "x": 0, "y": 0, "width": 1280, "height": 1024,
                           "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
            file.close();
            qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + file.fileName().toLocal8Bit());
        }
    }
    qputenv("QT_SCALE_FACTOR", "1.5");
    qputenv("LC_ALL", "fr_FR.UTF-8");
    const QTemporaryDir cache, data, config;
    if (cache.isValid()) qputenv("XDG_CACHE_HOME", cache.path().toLocal8Bit());
    if (data.isValid()) qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    if (config.isValid()) qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    molvane::installFrenchTranslation();
    molvane::keepWindowsOnScreen();
    QApplication::setQuitOnLastWindowClosed(false);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

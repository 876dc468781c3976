#include "windowkit/french.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace molvane {

bool installFrenchTranslation() {
    static bool installed = false;
    if (installed) return true;
    if (!qApp) return false;
    // Qt's own folder first, then a folder beside the program (a build that
    // carries its translations with it).
    const QStringList folders{
        QLibraryInfo::path(QLibraryInfo::TranslationsPath),
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("translations"))};
    const QLocale french(QLocale::French, QLocale::France);
    bool base = false;
    // qtbase holds the widgets and dialogs; qt_help the help window's texts.
    for (const char* catalogue : {"qtbase", "qt_help"}) {
        auto* translator = new QTranslator(qApp);
        bool loaded = false;
        for (const QString& folder : folders) {
            loaded = translator->load(french, QLatin1String(catalogue), QStringLiteral("_"), folder);
            if (loaded) break;
        }
        if (loaded && QCoreApplication::installTranslator(translator)) {
            if (QLatin1String(catalogue) == QLatin1String("qtbase")) base = true;
        } else {
            delete translator;
        }
    }
    installed = base;
    return base;
}

}  // namespace molvane

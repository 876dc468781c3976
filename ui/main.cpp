// Molvane, "Équilibre dynamique": the main window is the program.
#include <QApplication>

#include "ui/main/mainwindow.h"
#include "ui/messages/french.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    molvane::installFrenchTranslation();
    molvane::MainWindow window(QCoreApplication::applicationDirPath());
    window.show();
    return app.exec();
}

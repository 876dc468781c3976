// The main window's "&Imprimer" and "Co&pier" buttons: shown, opening the
// print dialog over the window and the copy menu, from the mouse or the keys.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "output/printdialog.h"
#include "output/printtarget.h"
#include "tests/ui/fixture.h"

namespace molvane {
namespace {

class WiringTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        window->show();
        QApplication::setActiveWindow(window.get());
    }
    void TearDown() override { window->hide(); }
    // Calls `look` on the first modal window or pop-up that opens, then closes it.
    void whenOpen(std::function<void(QWidget*)> look) {
        auto* poll = new QTimer(window.get());
        QObject::connect(poll, &QTimer::timeout, [poll, look] {
            QWidget* open = QApplication::activePopupWidget();
            if (!open) open = QApplication::activeModalWidget();
            if (!open) return;
            poll->deleteLater();
            poll->stop();
            look(open);
            open->close();
        });
        poll->start(10);
    }
};

TEST_F(WiringTest, BothButtonsShownInTheRow) {
    for (const auto& [name, caption] : std::vector<std::pair<const char*, const char*>>{
             {"Command10", "&Imprimer"}, {"Command4", "Co&pier"}}) {
        QPushButton* button = control<QPushButton>(name);
        EXPECT_TRUE(button->isVisible()) << name;
        EXPECT_EQ(button->text(), QString::fromUtf8(caption));
    }
    EXPECT_EQ(control<QPushButton>("Command10")->toolTip(), QStringLiteral("Imprimer l'image"));
}

TEST_F(WiringTest, ImprimerOpensTheDialogModallyBelowTheWindowsTop) {
    QString name, printer;
    bool modal = false;
    int top = 0;
    whenOpen([&](QWidget* open) {
        name = open->objectName();
        modal = open->isModal();
        top = open->frameGeometry().top();
        printer = open->findChild<QLineEdit*>(QStringLiteral("defaut"))->text();
    });
    control<QPushButton>("Command10")->click();
    EXPECT_EQ(name, QStringLiteral("confimp"));
    EXPECT_TRUE(modal);
    EXPECT_EQ(top, window->frameGeometry().top() + 20);
    EXPECT_FALSE(printer.isEmpty());
}

TEST_F(WiringTest, CopierFromTheKeyboardOpensUnderTheButtonAndConfirms) {
    QPushButton* command4 = control<QPushButton>("Command4");
    QCursor::setPos(window->mapToGlobal(QPoint(700, 500)));
    QPoint at;
    QString menu;
    whenOpen([&](QWidget* open) {
        menu = open->objectName();
        at = open->pos();
    });
    QLabel* info = control<QLabel>("info");
    ASSERT_NE(info->text(), window->messagecopie);
    QTest::keyClick(window.get(), Qt::Key_P, Qt::AltModifier);
    QTRY_COMPARE(menu, QStringLiteral("menucop"));
    EXPECT_EQ(at, command4->mapToGlobal(QPoint(0, command4->height())));
    // Closed without a choice, the menu still leaves the confirmation, which
    // the mouse over the button keeps.
    QTRY_COMPARE(info->text(), window->messagecopie);
    QTest::mouseMove(command4, QPoint(10, 10));
    EXPECT_EQ(info->text(), window->messagecopie);
}

}  // namespace
}  // namespace molvane

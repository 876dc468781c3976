// A main window of its own for each test, with its hand-off file in a fresh folder.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <deque>
#include <memory>

#include "ui/main/mainwindow.h"

namespace molvane {

class WindowTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        window = std::make_unique<MainWindow>(folder.path());
    }

    template <typename W>
    W* control(const char* name) {
        W* widget = window->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    void ticks(int n) {
        for (int i = 0; i < n; ++i) window->Timer1_Timer();
    }

    QTemporaryDir folder;
    std::unique_ptr<MainWindow> window;
};

// Answers the message boxes that open, in order, by the caption of a button,
// and remembers what each one showed.
class BoxAnswerer : public QObject {
public:
    struct Seen {
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QStringList buttons;
    };

    explicit BoxAnswerer(std::deque<QString> answers) : answers_(std::move(answers)) {
        connect(&poll_, &QTimer::timeout, this, [this] { look(); });
        poll_.start(5);
    }

    std::vector<Seen> seen;

private:
    void look() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || answers_.empty()) return;
        Seen s{box->windowTitle(), box->text(), box->icon(), {}};
        QAbstractButton* chosen = nullptr;
        for (QAbstractButton* button : box->buttons()) {
            s.buttons << button->text();
            if (button->text() == answers_.front()) chosen = button;
        }
        seen.push_back(s);
        answers_.pop_front();
        if (chosen) chosen->click();
        else box->reject();
    }

    std::deque<QString> answers_;
    QTimer poll_;
};

}  // namespace molvane

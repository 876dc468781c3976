// A main window of its own for each test, with its hand-off file in a fresh folder.
#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <deque>
#include <memory>

#include "ui/main/mainwindow.h"
#include "windowkit/messages.h"

namespace molvane {

// The widget of that objectName under parent; a failure of the test when there is none.
template <typename W>
W* namedChild(const QObject& parent, const char* name) {
    W* widget = parent.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

class WindowTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        window = std::make_unique<MainWindow>(folder.path());
    }

    template <typename W>
    W* control(const char* name) {
        return namedChild<W>(*window, name);
    }

    void ticks(int n) {
        for (int i = 0; i < n; ++i) window->Timer1_Timer();
    }

    QTemporaryDir folder;
    std::unique_ptr<MainWindow> window;
};

// Answers the message boxes in order, and remembers what each one showed.
class Answers {
public:
    explicit Answers(std::deque<MessageAnswer> answers) : answers_(std::move(answers)) {
        setMessageResponder([this](const MessageShown& shown) {
            seen.push_back(shown);
            if (answers_.empty()) return MessageAnswer::Cancel;
            const MessageAnswer answer = answers_.front();
            answers_.pop_front();
            return answer;
        });
    }
    ~Answers() { setMessageResponder({}); }
    Answers(const Answers&) = delete;
    Answers& operator=(const Answers&) = delete;

    std::vector<MessageShown> seen;

private:
    std::deque<MessageAnswer> answers_;
};

}  // namespace molvane

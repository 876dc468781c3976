// A screen reader asks every text control for its characters, words,
// sentences, lines and paragraphs before, at and after each offset, the end
// of the text included: every such question is answered, on every text
// control of every window, and the answers hold together.
#include <QAccessible>
#include <QColorDialog>
#include <QDir>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QSpinBox>
#include <QTextEdit>
#include <QtTest/QTest>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "calc/machine.h"
#include "exercises/exerciseeditor.h"
#include "exercises/exercisemenu.h"
#include "exercises/fichexo.h"
#include "exercises/textarea.h"
#include "files/configdialogs.h"
#include "output/printdialog.h"
#include "output/printerchoice.h"
#include "output/printtarget.h"
#include "tests/ui/fixture.h"
#include "windowkit/accessibility.h"

namespace molvane {
namespace {

TEST(TextSpans, CoverTheTextUpToItsEnd) {
    using B = QAccessible::TextBoundaryType;
    const struct {
        const char* text;
        int offset;
        B boundary;
        TextSide side;
        TextSpan span;
    } cases[] = {
        // A count box with the caret after its last digit: the word is the whole number.
        {"100", 3, QAccessible::WordBoundary, TextSide::At, {0, 3}},
        {"100", 3, QAccessible::WordBoundary, TextSide::Before, {0, 0}},
        {"100", 3, QAccessible::WordBoundary, TextSide::After, {3, 3}},
        {"100", 1, QAccessible::WordBoundary, TextSide::At, {0, 3}},
        {"100", 3, QAccessible::CharBoundary, TextSide::At, {3, 3}},
        {"100", 3, QAccessible::CharBoundary, TextSide::Before, {2, 3}},
        {"100", 2, QAccessible::CharBoundary, TextSide::After, {3, 3}},
        {"100", 0, QAccessible::CharBoundary, TextSide::After, {1, 2}},
        {"100", 3, QAccessible::SentenceBoundary, TextSide::At, {0, 3}},
        {"100", 3, QAccessible::LineBoundary, TextSide::At, {0, 3}},
        {"100", 0, QAccessible::ParagraphBoundary, TextSide::At, {0, 3}},
        {"100", 2, QAccessible::NoBoundary, TextSide::At, {0, 3}},
        // A word runs up to the next one: "50 " then "%".
        {"50 %", 4, QAccessible::WordBoundary, TextSide::At, {0, 4}},
        {"50 %", 0, QAccessible::WordBoundary, TextSide::At, {0, 4}},
        {"l'eau 0,25 mol", 0, QAccessible::WordBoundary, TextSide::At, {0, 6}},
        {"l'eau 0,25 mol", 6, QAccessible::WordBoundary, TextSide::At, {6, 11}},
        {"l'eau 0,25 mol", 7, QAccessible::WordBoundary, TextSide::Before, {0, 6}},
        {"l'eau 0,25 mol", 7, QAccessible::WordBoundary, TextSide::After, {11, 14}},
        {"l'eau 0,25 mol", 14, QAccessible::WordBoundary, TextSide::At, {11, 14}},
        {"  deux", 0, QAccessible::WordBoundary, TextSide::At, {0, 2}},
        {"  deux", 0, QAccessible::WordBoundary, TextSide::After, {2, 6}},
        // Sentences keep their closing blanks; lines their line break.
        {"Un. Deux ! Trois", 5, QAccessible::SentenceBoundary, TextSide::At, {4, 11}},
        {"Un. Deux ! Trois", 5, QAccessible::SentenceBoundary, TextSide::Before, {0, 4}},
        {"Un. Deux ! Trois", 16, QAccessible::SentenceBoundary, TextSide::At, {11, 16}},
        {"Pi 3.14 rad", 4, QAccessible::SentenceBoundary, TextSide::At, {0, 11}},
        {"un\ndeux\n", 3, QAccessible::LineBoundary, TextSide::At, {3, 8}},
        {"un\ndeux\n", 2, QAccessible::LineBoundary, TextSide::At, {0, 3}},
        {"un\ndeux\n", 8, QAccessible::LineBoundary, TextSide::At, {3, 8}},
        {"un\ndeux\n", 3, QAccessible::LineBoundary, TextSide::After, {8, 8}},
        // An empty box: nothing, but an answer.
        {"", 0, QAccessible::WordBoundary, TextSide::At, {0, 0}},
        {"", 0, QAccessible::CharBoundary, TextSide::Before, {0, 0}},
        {"", 0, QAccessible::SentenceBoundary, TextSide::After, {0, 0}},
        // Out of the text.
        {"100", 4, QAccessible::WordBoundary, TextSide::At, {-1, -1}},
        {"100", -3, QAccessible::CharBoundary, TextSide::At, {-1, -1}},
    };
    for (const auto& c : cases) {
        const TextSpan span = textSpan(QString::fromUtf8(c.text), c.offset, c.boundary, c.side);
        EXPECT_EQ(span, c.span) << '"' << c.text << "\" at " << c.offset << ", boundary " << c.boundary
                                << ", side " << static_cast<int>(c.side) << ": got " << span.start << ".."
                                << span.end;
    }
}

// Ends the test program, with the question that never returned, when one
// question goes unanswered for far longer than any answer takes: a loop must
// fail the test, not hang it.
class Watchdog {
public:
    Watchdog()
        : thread_([this] {
              std::unique_lock lock(mutex_);
              long seen = -1;
              while (!stop_) {
                  wake_.wait_for(lock, std::chrono::seconds(30));
                  if (stop_) break;
                  if (asked_ == seen) {
                      std::fprintf(stderr, "Question sans réponse : %s\n", question_);
                      std::fflush(stderr);
                      std::_Exit(1);
                  }
                  seen = asked_;
              }
          }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wake_.notify_one();
        thread_.join();
    }
    void asking(const char* question) {
        std::lock_guard lock(mutex_);
        ++asked_;
        question_ = question;
    }

private:
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    long asked_ = 0;
    const char* question_ = "";
    std::thread thread_;
};

struct Asked {
    int controls = 0;
    int questions = 0;
    std::vector<std::string> faults;
};

void askEverything(QAccessibleInterface* node, Watchdog& watchdog, Asked& asked, int depth = 0) {
    if (!node || !node->isValid() || depth > 40) return;
    if (QAccessibleTextInterface* text = node->textInterface()) {
        ++asked.controls;
        static const QAccessible::TextBoundaryType kBoundaries[] = {
            QAccessible::CharBoundary,      QAccessible::WordBoundary, QAccessible::SentenceBoundary,
            QAccessible::ParagraphBoundary, QAccessible::LineBoundary, QAccessible::NoBoundary};
        const int count = text->characterCount();
        const QString all = text->text(0, count);
        const std::string where =
            (node->object() ? node->object()->objectName().toStdString() : std::string()) + " «" +
            node->text(QAccessible::Name).toStdString() + "»";
        for (int offset = -2; offset <= count + 1; ++offset) {
            for (const QAccessible::TextBoundaryType boundary : kBoundaries) {
                for (int side = 0; side < 3; ++side) {
                    watchdog.asking(where.c_str());
                    int start = -5, end = -5;
                    QString piece;
                    if (side == 0) piece = text->textBeforeOffset(offset, boundary, &start, &end);
                    if (side == 1) piece = text->textAtOffset(offset, boundary, &start, &end);
                    if (side == 2) piece = text->textAfterOffset(offset, boundary, &start, &end);
                    ++asked.questions;
                    if (start < 0 || end < 0) continue;
                    if (start > end || end > count || piece != all.mid(start, end - start))
                        asked.faults.push_back(where + " offset " + std::to_string(offset) + " boundary " +
                                               std::to_string(boundary) + " side " + std::to_string(side) +
                                               ": " + std::to_string(start) + ".." + std::to_string(end) +
                                               " «" + piece.toStdString() + "»");
                }
            }
        }
        int start = -1, end = -1;
        for (int offset : {0, count}) {
            watchdog.asking(where.c_str());
            text->attributes(offset, &start, &end);
            ++asked.questions;
        }
    }
    for (int i = 0; i < node->childCount(); ++i) askEverything(node->child(i), watchdog, asked, depth + 1);
}

// Asks everything of window, with texts put into its single-line boxes: the
// empty text, a number, a number with its unit, words and sentences.
Asked askWindow(QWidget* window) {
    Watchdog watchdog;
    Asked asked;
    const QList<QLineEdit*> boxes = window->findChildren<QLineEdit*>();
    for (const char* typed : {"", "100", "50 %", "Un deux. Trois ! l'eau 0,25 mol"}) {
        for (QLineEdit* box : boxes) {
            const QSignalBlocker quiet(box);
            box->setText(QString::fromUtf8(typed));
            box->setCursorPosition(box->text().size());
        }
        askEverything(QAccessible::queryAccessibleInterface(window), watchdog, asked);
    }
    return asked;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string all;
    for (size_t i = 0; i < lines.size() && i < 20; ++i) all += lines[i] + '\n';
    return all;
}

class TextQueries : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void expectAnswered(QWidget* asked, int controls) {
        const Asked answers = askWindow(asked);
        EXPECT_GE(answers.controls, controls) << asked->objectName().toStdString();
        EXPECT_TRUE(answers.faults.empty()) << asked->objectName().toStdString() << '\n'
                                            << joined(answers.faults);
    }
};

TEST_F(TextQueries, MainWindowWithTheIntroductionAndAStatement) {
    // The count boxes, the percentages, the file name, the text area and
    // the value of the bars read as spin buttons.
    expectAnswered(window.get(), 11);
    window->textArea().showIntroduction();
    Watchdog watchdog;
    Asked asked;
    askEverything(
        QAccessible::queryAccessibleInterface(window->findChild<QTextEdit*>(QStringLiteral("supertext"))),
        watchdog, asked);
    EXPECT_EQ(asked.controls, 1);
    EXPECT_TRUE(asked.faults.empty()) << joined(asked.faults);
}

TEST_F(TextQueries, Calculator) {
    Machine machine(window.get());
    expectAnswered(&machine, 1);
}

TEST_F(TextQueries, ConfigurationDialogs) {
    QDir::setCurrent(folder.path());
    Enregistrer save(*window, window.get());
    expectAnswered(&save, 1);
    Ouvrir open(*window, window.get());
    expectAnswered(&open, 1);
}

TEST_F(TextQueries, ExerciseWindowAndEditor) {
    Fichexo& exercises = window->exercises().window();
    exercises.show();
    expectAnswered(&exercises, 1);
    exercises.hide();
    ExerciseEditor editor(window->exercises().context());
    // Its four boxes and two spin boxes at least.
    expectAnswered(&editor, 6);
}

TEST_F(TextQueries, PrintDialogsAndColourDialog) {
    QPrinter printer(QPrinter::HighResolution);
    useNoPrinter(printer);
    PrintSources sources;
    sources.animation = [] { return QImage(); };
    sources.graph = [] { return QImage(); };
    Confimp dialog(printer, sources, window.get());
    // The page title, the printer's name and the number of copies.
    expectAnswered(&dialog, 3);
    QPrintDialog choice(&printer, window.get());
    finishPrinterDialog(choice);
    expectAnswered(&choice, 1);
    QColorDialog colours(Qt::blue, window.get());
    colours.setOption(QColorDialog::DontUseNativeDialog);
    expectAnswered(&colours, 8);
}

TEST_F(TextQueries, CountBoxesReadTheirWholeTextWithOneFont) {
    // The attribute run covers the text, so that a reader keeps its last character.
    auto* a = control<QLineEdit>("Text1_0");
    for (const char* text : {"100", "0", "900"}) {
        a->setText(QString::fromLatin1(text));
        QAccessibleTextInterface* reading = QAccessible::queryAccessibleInterface(a)->textInterface();
        ASSERT_NE(reading, nullptr);
        for (int offset = 0; offset <= a->text().size(); ++offset) {
            int start = -1, end = -1;
            reading->attributes(offset, &start, &end);
            EXPECT_EQ(start, 0) << text << " at " << offset;
            EXPECT_EQ(end, a->text().size()) << text << " at " << offset;
        }
        int start = -1, end = -1;
        EXPECT_EQ(reading->textAtOffset(a->text().size(), QAccessible::WordBoundary, &start, &end),
                  QString::fromLatin1(text));
        EXPECT_EQ(reading->textAtOffset(0, QAccessible::LineBoundary, &start, &end),
                  QString::fromLatin1(text));
    }
}

}  // namespace
}  // namespace molvane

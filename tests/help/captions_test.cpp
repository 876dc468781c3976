// The help quotes the program's own texts: every caption marked in its pages
// is a text of the program, and every caption of the program's windows is
// explained in the pages. A renamed button or a new control breaks one of the two.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPrinter>
#include <QRegularExpression>
#include <QSet>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextDocumentFragment>
#include <iostream>
#include <memory>

#include "calc/machine.h"
#include "exercises/exerciseeditor.h"
#include "exercises/exercisemenu.h"
#include "exercises/fichexo.h"
#include "files/configdialogs.h"
#include "output/helpwindow.h"
#include "output/printdialog.h"
#include "ui/main/mainwindow.h"

namespace molvane {
namespace {

const QString kSources = QStringLiteral(MOLVANE_SOURCE_DIR);

// A caption as the user reads it: mnemonic marks gone, line breaks and runs
// of blanks as one blank, no blank at either end.
QString asRead(QString text) {
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size()) ++i;  // "&&" is one "&"
        out += text[i];
    }
    out.replace(QChar(0x00A0), u' ');
    return out.simplified();
}

// The string literals of a C++ source, adjacent ones joined, comments and
// character literals skipped.
QStringList literalsOf(const QString& code) {
    QStringList found;
    QString current;
    bool open = false;  // a literal was read and may go on with the next one
    const auto flush = [&] {
        if (open) found << current;
        current.clear();
        open = false;
    };
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        if (c == u'/' && i + 1 < code.size() && code[i + 1] == u'/') {
            i = code.indexOf(u'\n', i);
            if (i < 0) break;
            continue;
        }
        if (c == u'/' && i + 1 < code.size() && code[i + 1] == u'*') {
            i = code.indexOf(QStringLiteral("*/"), i + 2);
            if (i < 0) break;
            ++i;
            continue;
        }
        if (c == u'\'') {
            flush();
            for (++i; i < code.size() && code[i] != u'\''; ++i)
                if (code[i] == u'\\') ++i;
            continue;
        }
        if (c == u'"') {
            for (++i; i < code.size() && code[i] != u'"'; ++i) {
                if (code[i] != u'\\') {
                    current += code[i];
                    continue;
                }
                const QChar e = code[++i];
                if (e == u'n' || e == u'r' || e == u't') {
                    current += u' ';
                } else if (e == u'u') {
                    current += QChar(code.mid(i + 1, 4).toUShort(nullptr, 16));
                    i += 4;
                } else {
                    current += e;
                }
            }
            open = true;
            continue;
        }
        if (!c.isSpace()) flush();
    }
    flush();
    return found;
}

QSet<QString> sourceTexts() {
    QSet<QString> texts;
    for (const char* folder : {"core", "windowkit", "ui", "files", "front", "calc", "exercises", "output"}) {
        QDirIterator it(kSources + QLatin1Char('/') + QLatin1String(folder),
                        {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            if (!file.open(QIODevice::ReadOnly)) continue;
            for (const QString& literal : literalsOf(QString::fromUtf8(file.readAll()))) {
                const QString read = asRead(literal);
                if (!read.isEmpty()) texts << read;
            }
        }
    }
    return texts;
}

// A caption marked in the help pages, the page it stands on, and the design
// name of the window that shows it when that window is built elsewhere.
struct Quoted {
    QString caption, page, window;
};

std::vector<Quoted> helpCaptions() {
    std::vector<Quoted> captions;
    static const QRegularExpression kMarked(
        QStringLiteral("<span class=\"ui\"(?: data-window=\"(\\w+)\")?>(.*?)</span>"),
        QRegularExpression::DotMatchesEverythingOption);
    const QDir pages(kSources + QStringLiteral("/help"));
    for (const QString& name : pages.entryList({QStringLiteral("*.html")}, QDir::Files)) {
        QFile file(pages.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) continue;
        const QString html = QString::fromUtf8(file.readAll());
        for (const QRegularExpressionMatch& m : kMarked.globalMatch(html)) {
            // Entities and inner marks as a reader sees them.
            QString read = QTextDocumentFragment::fromHtml(m.captured(2)).toPlainText().simplified();
            captions.push_back({read.replace(QChar(0x00A0), u' '), name, m.captured(1)});
        }
    }
    return captions;
}

// Controls whose text is a value the program writes, not a caption.
bool showsAValue(const QWidget& w) {
    static const QRegularExpression kValues(QStringLiteral("^(Label1|Labelinf_\\d|Label2|Label3|info)$"));
    return kValues.match(w.objectName()).hasMatch();
}

bool insideQtHelp(const QWidget* w) {
    for (; w; w = w->parentWidget())
        if (QString::fromLatin1(w->metaObject()->className()).startsWith(QLatin1String("QHelp"))) return true;
    return false;
}

// Every caption a user reads on a window: title, buttons, boxes, labels, tabs, menus.
QStringList captionsOf(const QWidget& window) {
    QStringList captions{window.windowTitle()};
    for (const QWidget* w : window.findChildren<QWidget*>()) {
        if (insideQtHelp(w) || showsAValue(*w)) continue;
        if (const auto* b = qobject_cast<const QAbstractButton*>(w)) captions << b->text();
        if (const auto* g = qobject_cast<const QGroupBox*>(w)) captions << g->title();
        if (const auto* l = qobject_cast<const QLabel*>(w)) {
            // A symbol alone (the hourglass of a notice) is a picture.
            if (l->text().contains(QRegularExpression(QStringLiteral("[\\w]")))) captions << l->text();
        }
        if (const auto* t = qobject_cast<const QTabWidget*>(w))
            for (int i = 0; i < t->count(); ++i) captions << t->tabText(i);
        if (const auto* m = qobject_cast<const QMenu*>(w))
            for (const QAction* a : m->actions()) captions << a->text();
    }
    QStringList read;
    for (const QString& c : captions)
        if (!asRead(c).isEmpty()) read << asRead(c);
    return read;
}

class Captions : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        main = std::make_unique<MainWindow>(folder.path());
        windows.push_back(main.get());
        save = std::make_unique<Enregistrer>(*main, main.get());
        open = std::make_unique<Ouvrir>(*main, main.get());
        calculator = std::make_unique<Machine>(main.get());
        help.reset(HelpWindow::create(helpCollectionPath(QStringLiteral(MOLVANE_PROGRAM_DIR)), nullptr));
        ASSERT_NE(help, nullptr);
        print = std::make_unique<Confimp>(printer, PrintSources{}, main.get());
        editor = std::make_unique<ExerciseEditor>(main->exercises().context());
        windows.insert(windows.end(), {save.get(), open.get(), calculator.get(), help.get(), print.get(),
                                       &main->exercises().window(), editor.get()});
    }

    QTemporaryDir folder;
    std::unique_ptr<MainWindow> main;
    std::unique_ptr<Enregistrer> save;
    std::unique_ptr<Ouvrir> open;
    std::unique_ptr<Machine> calculator;
    std::unique_ptr<HelpWindow> help;
    QPrinter printer;
    std::unique_ptr<Confimp> print;
    std::unique_ptr<ExerciseEditor> editor;
    std::vector<QWidget*> windows;
};

TEST(CaptionReading, LiteralsAndMnemonics) {
    EXPECT_EQ(asRead(QStringLiteral("A&grandir")), QStringLiteral("Agrandir"));
    EXPECT_EQ(asRead(QStringLiteral("Sels && acides")), QStringLiteral("Sels & acides"));
    EXPECT_EQ(asRead(QStringLiteral("paramètres,\r\nouvrir ")), QStringLiteral("paramètres, ouvrir"));
    const QString code = QStringLiteral(
        "// \"commentaire\" d'un développeur\n"
        "f(QStringLiteral(\"&Aide\"), '\"', \"Les \" \"deux\\r\\nmorceaux\", /* \"non\" */ \"\\u2022 x\");");
    EXPECT_EQ(literalsOf(code), QStringList({QStringLiteral("&Aide"), QStringLiteral("Les deux  morceaux"),
                                             QStringLiteral("\u2022 x")}));
}

TEST_F(Captions, EveryCaptionQuotedInTheHelpIsTheProgramsOwn) {
    QSet<QString> texts = sourceTexts();
    for (const QWidget* w : windows)
        for (const QString& c : captionsOf(*w)) texts << c;
    const auto captions = helpCaptions();
    ASSERT_GT(captions.size(), 200u);
    QStringList pending;
    for (const Quoted& q : captions) {
        if (texts.contains(q.caption)) continue;
        // A caption of a window still to come is checked as soon as the
        // window's design name is among the program's texts.
        if (!q.window.isEmpty() && !texts.contains(q.window)) {
            pending << q.window + QStringLiteral(": ") + q.caption;
            continue;
        }
        ADD_FAILURE() << q.page.toStdString() << ": \"" << q.caption.toStdString() << "\"";
    }
    pending.removeDuplicates();
    if (!pending.isEmpty())
        std::cout << "Windows not built yet, their captions unchecked:\n  "
                  << pending.join(QStringLiteral("\n  ")).toStdString() << "\n";
}

TEST_F(Captions, EveryCaptionOfTheWindowsIsExplainedInTheHelp) {
    QSet<QString> quoted;
    for (const Quoted& q : helpCaptions()) quoted << q.caption;
    for (const QWidget* w : windows) {
        const QStringList captions = captionsOf(*w);
        EXPECT_FALSE(captions.isEmpty());
        for (const QString& c : captions)
            EXPECT_TRUE(quoted.contains(c))
                << w->objectName().toStdString() << ": \"" << c.toStdString() << "\"";
    }
}

}  // namespace
}  // namespace molvane

// The print dialog `confimp`: its controls, its place, the printer it names,
// and what OK makes of each printer: pages in a PDF file or nothing at all.
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "output/printdialog.h"
#include "output/printtarget.h"
#include "tests/printcopy/pdftools.h"
#include "tests/ui/fixture.h"
#include "ui/main/pictures.h"

namespace molvane {
namespace {

class ConfimpTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        window->show();
        ASSERT_TRUE(files.isValid());
        useNoPrinter(printer);
        ASSERT_EQ(targetOf(printer), PrintTarget::NoPrinter);
        sources.animation = [this] {
            // Read while the pages are made: the notice shows instead of the buttons.
            noticeShown = dialog->findChild<QFrame*>(QStringLiteral("Frame2"))->isVisible() &&
                          dialog->findChild<QPushButton*>(QStringLiteral("Command1"))->isHidden();
            return control<AnimationView>("animpic")->surface().image();
        };
        sources.graph = [this] { return control<GraphView>("Picture2")->surface().image(); };
        sources.tablePicture = [this] { return tablePicture(*control<QTableView>("MSFlexGrid1")); };
        dialog = std::make_unique<Confimp>(printer, sources, window.get());
    }
    void TearDown() override {
        setPdfFileChooser({});
        dialog.reset();
        window->hide();
    }
    template <typename W>
    W* in(const char* name) {
        return namedChild<W>(*dialog, name);
    }
    // Answers the PDF file question with this path, and counts the questions.
    void answerPdf(const QString& path) {
        setPdfFileChooser([this, path](const QString&) {
            ++asked;
            return path;
        });
    }

    QTemporaryDir files;
    QPrinter printer{QPrinter::HighResolution};
    PrintSources sources;
    std::unique_ptr<Confimp> dialog;
    bool noticeShown = false;
    int asked = 0;
};

TEST_F(ConfimpTest, ControlsAndTheirFirstState) {
    EXPECT_EQ(dialog->objectName(), QStringLiteral("confimp"));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Imprimer"));
    EXPECT_TRUE(dialog->isModal());
    EXPECT_EQ(in<QGroupBox>("Frame1")->title(), QStringLiteral("Options"));
    struct Box {
        const char* name;
        const char* caption;
        bool ticked;
    };
    for (const Box& b : {Box{"Check1_0", "L'animation", true}, Box{"Check1_1", "Le graphe", true},
                         Box{"Check1_2", "Le tableau de valeur", false}}) {
        QCheckBox* box = in<QCheckBox>(b.name);
        EXPECT_EQ(box->text(), QString::fromUtf8(b.caption));
        EXPECT_EQ(box->isChecked(), b.ticked) << b.name;
        EXPECT_EQ(box->parentWidget(), in<QGroupBox>("Frame1"));
    }
    for (const auto& [name, caption] :
         std::vector<std::pair<const char*, const char*>>{{"Label5", "Titre de la page :"},
                                                          {"Label3", "Nombre d'exemplaires :"},
                                                          {"Label2", "Imprimante:"}})
        EXPECT_EQ(in<QLabel>(name)->text(), QString::fromUtf8(caption));
    EXPECT_EQ(in<QLineEdit>("Text1")->text(), QStringLiteral("Quintara - Molvane chimique"));
    for (const auto& [name, caption] : std::vector<std::pair<const char*, const char*>>{
             {"Command1", "&OK"}, {"Command2", "&Imprimantes"}, {"Command3", "&Annuler"}})
        EXPECT_EQ(in<QPushButton>(name)->text(), QString::fromUtf8(caption));
    QSpinBox* copies = in<QSpinBox>("UpDown1");
    EXPECT_EQ(copies->minimum(), 1);
    EXPECT_EQ(copies->maximum(), 99);
    EXPECT_EQ(in<QLineEdit>("Label4")->text(), QStringLiteral("1"));
    copies->stepUp();
    EXPECT_EQ(in<QLineEdit>("Label4")->text(), QStringLiteral("2"));
    EXPECT_TRUE(in<QLineEdit>("defaut")->isReadOnly());
    EXPECT_TRUE(in<QFrame>("Frame2")->isHidden());
    EXPECT_EQ(in<QLabel>("Label1")->text(), QStringLiteral("Veuillez patienter quelques instants..."));
    // Every caption and the no-printer notice are seen whole.
    for (QWidget* shown : dialog->findChildren<QWidget*>()) {
        if (!shown->isVisibleTo(dialog.get())) continue;
        QString text;
        int room = 0;  // what the box or the tick takes beside the text
        if (auto* label = qobject_cast<QLabel*>(shown)) {
            text = label->text();
        } else if (auto* box = qobject_cast<QCheckBox*>(shown)) {
            text = box->text();
            room = 24;
        } else if (auto* line = qobject_cast<QLineEdit*>(shown)) {
            text = line->text();
            room = 8;
        }
        if (text.size() > 1) {
            EXPECT_LE(shown->fontMetrics().horizontalAdvance(text) + room, shown->width())
                << text.toStdString();
        }
    }
}

TEST_F(ConfimpTest, EnterRunsOneCommand) {
    struct Case {
        const char* focus;
        int asked;  // PDF questions, one per print
        bool closed;
    };
    // OK has the keyboard at first; Enter in the title or the copies prints;
    // on a box it does nothing; on Annuler it closes without printing.
    for (const Case& c : {Case{nullptr, 1, true}, Case{"Text1", 1, true}, Case{"UpDown1", 1, true},
                          Case{"Check1_2", 0, false}, Case{"Command3", 0, true}}) {
        dialog = std::make_unique<Confimp>(printer, sources, window.get());
        asked = 0;
        answerPdf(files.filePath(QStringLiteral("entree.pdf")));
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        QWidget* target =
            c.focus ? dialog->findChild<QWidget*>(QString::fromLatin1(c.focus)) : in<QPushButton>("Command1");
        ASSERT_NE(target, nullptr);
        if (c.focus) target->setFocus();
        EXPECT_TRUE(target->hasFocus()) << (c.focus ? c.focus : "OK");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(asked, c.asked) << (c.focus ? c.focus : "OK");
        EXPECT_EQ(dialog->isHidden(), c.closed) << (c.focus ? c.focus : "OK");
    }
}

TEST_F(ConfimpTest, OpensTwentyPixelsBelowTheMainWindowsTop) {
    dialog->show();
    EXPECT_EQ(dialog->frameGeometry().top(), window->frameGeometry().top() + 20);
    EXPECT_TRUE(window->frameGeometry().contains(dialog->frameGeometry().center()));
}

TEST_F(ConfimpTest, NamesThePrinterOrSaysThereIsNone) {
    EXPECT_EQ(in<QLineEdit>("defaut")->text(),
              QStringLiteral("Aucune imprimante : OK enregistre un fichier PDF"));
    printer.setOutputFileName(files.filePath(QStringLiteral("classe.pdf")));
    dialog->Form_Load();
    EXPECT_EQ(in<QLineEdit>("defaut")->text(),
              QStringLiteral("Fichier PDF : ") + files.filePath(QStringLiteral("classe.pdf")));
}

TEST_F(ConfimpTest, WithoutAPrinterOkWritesThePagesIntoAPdfFile) {
    struct Case {
        int copies;
        bool table;
        int pages;
    };
    // The start-up table (52 rows) does not fit under the two pictures.
    for (const Case& c : {Case{1, false, 1}, Case{2, false, 2}, Case{2, true, 4}}) {
        dialog = std::make_unique<Confimp>(printer, sources, window.get());
        const QString path = files.filePath(QStringLiteral("copies%1.pdf").arg(c.copies));
        answerPdf(path);
        in<QSpinBox>("UpDown1")->setValue(c.copies);
        in<QCheckBox>("Check1_2")->setChecked(c.table);
        dialog->show();
        dialog->Command1_Click();
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(asked, 1);
        EXPECT_TRUE(noticeShown);
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
        EXPECT_EQ(pdf::pages(path), c.pages) << c.copies << c.table;
        EXPECT_EQ(pdf::text(path).count(QStringLiteral("Quintara - Molvane chimique")), c.copies);
        asked = 0;
    }
}

TEST_F(ConfimpTest, CancellingThePdfFilePrintsNothing) {
    answerPdf(QString());
    dialog->show();
    dialog->Command1_Click();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(in<QPushButton>("Command1")->isHidden());
    EXPECT_TRUE(in<QFrame>("Frame2")->isHidden());
}

TEST_F(ConfimpTest, AFileThatCannotBeWrittenIsReportedNotPrinted) {
    const QString path = files.filePath(QStringLiteral("absent/pages.pdf"));
    answerPdf(path);
    Answers answers({MessageAnswer::Ok});
    dialog->show();
    dialog->Command1_Click();
    ASSERT_EQ(answers.seen.size(), 1u);
    EXPECT_EQ(answers.seen[0].title, QStringLiteral("Erreur d'écriture."));
    EXPECT_EQ(answers.seen[0].icon, MessageIcon::Error);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(in<QPushButton>("Command1")->isHidden());
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(ConfimpTest, AnExistingPdfIsReplacedWhole) {
    const QString path = files.filePath(QStringLiteral("old.pdf"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old pages");
    }
    printer.setOutputFileName(path);  // chosen in the printer dialog
    dialog->Form_Load();
    dialog->Command1_Click();
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(pdf::pages(path), 1);
}

TEST_F(ConfimpTest, PrinterDialogNamesThePrinterChosen) {
    const QString path = files.filePath(QStringLiteral("choisi.pdf"));
    QString title;
    QTimer::singleShot(0, dialog.get(), [&] {
        auto* setup = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(setup, nullptr);
        title = setup->windowTitle();
        setup->printer()->setOutputFileName(path);
        setup->printer()->setCopyCount(3);
        setup->done(QDialog::Accepted);
    });
    dialog->show();
    dialog->Command2_Click();
    EXPECT_EQ(title, QStringLiteral("Choisir l'imprimante"));
    EXPECT_EQ(in<QLineEdit>("defaut")->text(), QStringLiteral("Fichier PDF : ") + path);
    // The copies come back to the dialog; the printer itself prints one.
    EXPECT_EQ(in<QSpinBox>("UpDown1")->value(), 3);
    EXPECT_EQ(printer.copyCount(), 1);
}

}  // namespace
}  // namespace molvane

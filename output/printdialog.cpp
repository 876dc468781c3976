#include "output/printdialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <algorithm>

#include "output/outputtexts.h"
#include "output/printerchoice.h"
#include "output/printpages.h"
#include "output/printtarget.h"
#include "windowkit/enterrule.h"
#include "windowkit/messages.h"
#include "windowkit/place.h"

namespace molvane {

namespace {

constexpr QSize kDialogSize{480, 212};
constexpr int kBelowMainWindow = 20;  // pixels between the main window's top and the dialog's
const PrintDialogTexts& kTexts = kPrintDialogTexts;

QString text(std::string_view t) {
    return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
}

}  // namespace

Confimp::Confimp(QPrinter& printer, PrintSources sources, QWidget* mainWindow)
    : QDialog(mainWindow), printer_(printer), sources_(std::move(sources)) {
    setObjectName(QStringLiteral("confimp"));
    setWindowTitle(text(kTexts.title));
    setModal(true);
    if (mainWindow) setFont(mainWindow->font());
    setFixedSize(kDialogSize);

    frame1_ =
        place(new QGroupBox(text(kTexts.options), this), QStringLiteral("Frame1"), QRect(12, 8, 220, 100));
    for (int i = 0; i < 3; ++i) {
        check1_[i] = place(new QCheckBox(text(kTexts.views[i]), frame1_), QStringLiteral("Check1_%1").arg(i),
                           QRect(14, 22 + 24 * i, 196, 20));
        check1_[i]->setChecked(i < kTexts.viewsChosen);
    }

    command1_ =
        place(new QPushButton(text(kTexts.ok), this), QStringLiteral("Command1"), QRect(368, 14, 100, 25));
    command2_ = place(new QPushButton(text(kTexts.printers), this), QStringLiteral("Command2"),
                      QRect(368, 46, 100, 25));
    command3_ = place(new QPushButton(text(kTexts.cancel), this), QStringLiteral("Command3"),
                      QRect(368, 78, 100, 25));

    place(new QLabel(text(kTexts.titleLabel), this), QStringLiteral("Label5"), QRect(12, 120, 150, 20));
    text1_ = place(new QLineEdit(text(kTexts.defaultTitle), this), QStringLiteral("Text1"),
                   QRect(164, 119, 304, 21));
    place(new QLabel(text(kTexts.copiesLabel), this), QStringLiteral("Label3"), QRect(12, 150, 150, 20));
    // The up-down and the number it drives are one spin box: its number box is `Label4`.
    upDown1_ = place(new QSpinBox(this), QStringLiteral("UpDown1"), QRect(164, 149, 56, 21));
    upDown1_->setRange(1, kMostCopies);
    upDown1_->setValue(1);
    if (auto* label4 = upDown1_->findChild<QLineEdit*>()) {
        label4->setObjectName(QStringLiteral("Label4"));
        label4->setAccessibleName(text(kTexts.copiesName));
    }
    place(new QLabel(text(kTexts.printerLabel), this), QStringLiteral("Label2"), QRect(12, 180, 150, 20));
    defaut_ = place(new QLineEdit(this), QStringLiteral("defaut"), QRect(164, 179, 304, 21));
    defaut_->setReadOnly(true);
    defaut_->setFocusPolicy(Qt::ClickFocus);
    // What a screen reader says of the boxes, whose labels stand beside them.
    text1_->setAccessibleName(text(kTexts.titleName));
    upDown1_->setAccessibleName(text(kTexts.copiesName));
    upDown1_->setAccessibleDescription(QString::fromStdString(copiesDescription()));
    defaut_->setAccessibleName(text(kTexts.printerName));
    command2_->setAccessibleDescription(text(kTexts.printersDescription));

    // The notice shown while the pages are being made, over the options and buttons.
    frame2_ = place(new QFrame(this), QStringLiteral("Frame2"), QRect(12, 8, 456, 100));
    frame2_->setFrameShape(QFrame::StyledPanel);
    auto* notice = new QHBoxLayout(frame2_);
    auto* hourglass = new QLabel(QString(QChar(0x231B)), frame2_);
    hourglass->setObjectName(QStringLiteral("Image1"));
    QFont big = hourglass->font();
    big.setPointSize(big.pointSize() * 3);
    hourglass->setFont(big);
    notice->addWidget(hourglass);
    notice->addWidget(new QLabel(text(kTexts.waiting), frame2_));
    notice->itemAt(1)->widget()->setObjectName(QStringLiteral("Label1"));
    notice->addStretch();
    frame2_->hide();

    setTabOrder(check1_[0], check1_[1]);
    setTabOrder(check1_[1], check1_[2]);
    setTabOrder(check1_[2], text1_);
    setTabOrder(text1_, upDown1_);
    setTabOrder(upDown1_, command1_);
    setTabOrder(command1_, command2_);
    setTabOrder(command2_, command3_);
    // Enter in the title or the number of copies prints, like OK; Enter on
    // a button runs that button. OK starts with the keyboard.
    auto* enter = new EnterRule(this);
    enter->onEnter(text1_, [this] { Command1_Click(); });
    enter->onEnter(upDown1_, [this] { Command1_Click(); });
    command1_->setFocus();

    connect(command1_, &QPushButton::clicked, this, &Confimp::Command1_Click);
    connect(command2_, &QPushButton::clicked, this, &Confimp::Command2_Click);
    connect(command3_, &QPushButton::clicked, this, &QDialog::reject);

    if (mainWindow) {
        const QRect main = mainWindow->frameGeometry();
        move(main.left() + (main.width() - width()) / 2, main.top() + kBelowMainWindow);
    }
    Form_Load();
}

bool Confimp::event(QEvent* event) {
    // The printer or file dialog, or a message, has closed: take the keyboard
    // back, which no window manager may do for us.
    if (event->type() == QEvent::WindowUnblocked) activateWindow();
    return QDialog::event(event);
}

void Confimp::Form_Load() {
    defaut_->setText(printerText(printer_));
    defaut_->setCursorPosition(0);
    defaut_->setToolTip(defaut_->text());
}

void Confimp::Command2_Click() {
    // Copies chosen in Qt's dialog come back here: the pages are repeated by
    // the program, one group per copy, never by the printer as well.
    printer_.setCopyCount(upDown1_->value());
    QPrintDialog dialog(&printer_, this);
    dialog.setWindowTitle(text(kTexts.printersTitle));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    finishPrinterDialog(dialog);
    // This dialog only chooses: printing is the OK of `confimp`.
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok)) ok->setText(QStringLiteral("OK"));
    }
    if (dialog.exec() == QDialog::Accepted) {
        upDown1_->setValue(std::clamp(printer_.copyCount(), 1, kMostCopies));
        pdfInstead_ = false;
    }
    printer_.setCopyCount(1);
    Form_Load();
}

void Confimp::showNotice(bool printing) {
    for (QWidget* control : {static_cast<QWidget*>(command1_), static_cast<QWidget*>(command2_),
                             static_cast<QWidget*>(command3_), static_cast<QWidget*>(frame1_)})
        control->setVisible(!printing);
    frame2_->setVisible(printing);
    // Painted at once: making the pages keeps the program busy meanwhile.
    repaint();
}

void Confimp::Command1_Click() {
    if (!print()) return;
    accept();
}

bool Confimp::print() {
    const std::optional<QString> destination = pdfDestination(
        this, printer_, pdfInstead_, QStringLiteral("Enregistrer les pages dans un fichier PDF"),
        QStringLiteral("Molvane.pdf"));
    if (!destination) return false;
    const QString& pdfPath = *destination;

    showNotice(true);
    // The views as they stand now: the run goes on while the pages are made.
    PrintMaterial material;
    material.title = text1_->text();
    material.copies = upDown1_->value();
    if (check1_[0]->isChecked() && sources_.animation) material.animation = sources_.animation();
    if (check1_[1]->isChecked() && sources_.graph) material.graph = sources_.graph();
    if (check1_[2]->isChecked() && sources_.tablePicture) material.table = sources_.tablePicture();
    const PagePainter paint = [&material](QPagedPaintDevice& device) { return printPages(device, material); };
    if (pdfPath.isEmpty()) {
        printer_.setCopyCount(1);
        printer_.setDocName(material.title);
    }
    const bool done = printOrSave(printer_, pdfPath, material.title, paint);
    showNotice(false);
    if (done) return true;

    if (pdfPath.isEmpty()) {
        // Nothing was printed: the next OK writes the same pages into a PDF file.
        const QString name = printer_.printerName();
        message(
            this, MessageIcon::Error, QStringLiteral("Erreur d'impression."),
            QStringLiteral("L'imprimante « %1 » n'a pas pu imprimer les pages.\r\n"
                           "Choisissez une autre imprimante, ou enregistrez les pages dans un fichier PDF "
                           "avec OK.")
                .arg(name));
        pdfInstead_ = true;
        defaut_->setText(QStringLiteral("« %1 » a échoué : OK enregistre un fichier PDF").arg(name));
        defaut_->setCursorPosition(0);
    } else {
        showPdfWriteError(this);
    }
    return false;
}

Printing::Printing(PrintSources sources) : sources_(std::move(sources)) {}

Printing::~Printing() = default;

QPrinter& Printing::printer() {
    // Made at the first print: asking the print service for its printers
    // need not slow the program's start.
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        useDefaultPrinter(*printer_);
    }
    return *printer_;
}

void Printing::Command10_Click(QWidget* mainWindow) {
    Confimp dialog(printer(), sources_, mainWindow);
    dialog.exec();
}

}  // namespace molvane

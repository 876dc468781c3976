#include "output/printtarget.h"

#include <QDir>
#include <QFileDialog>
#include <QLibrary>
#include <QPageLayout>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>

#include "files/filemessages.h"
#include "windowkit/filetypes.h"
#include "windowkit/messages.h"

namespace molvane {

namespace {

PdfFileChooser& chooser() {
    static PdfFileChooser instance;
    return instance;
}

// Margins for a page that no printer limits, close to an ordinary printer's.
constexpr double kPdfMarginMillimetres = 10;

// Qt's print support hands the finished pages to the print service without
// telling whether the service took them (a queue that refuses jobs loses
// them silently). The service's library, which Qt's print support has
// loaded, keeps the status of its last request: an IPP error is a refusal.
bool printServiceRefused() {
#if defined(Q_OS_UNIX)
    using LastStatus = int (*)();
    static const auto lastStatus =
        reinterpret_cast<LastStatus>(QLibrary::resolve(QStringLiteral("cups"), 2, "cupsLastError"));
    constexpr int kFirstIppError = 0x0400;
    return lastStatus && lastStatus() >= kFirstIppError;
#else
    return false;
#endif
}

}  // namespace

PrintTarget targetOf(const QPrinter& printer) {
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return printer.outputFileName().isEmpty() ? PrintTarget::NoPrinter : PrintTarget::PdfFile;
    return printer.printerName().isEmpty() ? PrintTarget::NoPrinter : PrintTarget::Printer;
}

void useDefaultPrinter(QPrinter& printer) {
    QString name = QPrinterInfo::defaultPrinterName();
    if (name.isEmpty()) {
        const QStringList names = QPrinterInfo::availablePrinterNames();
        if (!names.isEmpty()) name = names.first();
    }
    if (!name.isEmpty()) {
        printer.setOutputFormat(QPrinter::NativeFormat);
        printer.setPrinterName(name);
    }
    if (name.isEmpty() || printer.printerName().isEmpty()) useNoPrinter(printer);
}

void useNoPrinter(QPrinter& printer) {
    // An empty file name alone would bring the system's printer back.
    printer.setOutputFileName(QString());
    printer.setOutputFormat(QPrinter::PdfFormat);
}

QString printerText(const QPrinter& printer) {
    switch (targetOf(printer)) {
        case PrintTarget::Printer:
            return printer.printerName();
        case PrintTarget::PdfFile:
            return QStringLiteral("Fichier PDF : ") + QDir::toNativeSeparators(printer.outputFileName());
        case PrintTarget::NoPrinter:
            break;
    }
    return QStringLiteral("Aucune imprimante : OK enregistre un fichier PDF");
}

bool printOnPrinter(QPrinter& printer, const PagePainter& paint) {
    if (!paint(printer)) return false;
    const QPrinter::PrinterState state = printer.printerState();
    if (state == QPrinter::Error || state == QPrinter::Aborted) return false;
    return printer.outputFormat() != QPrinter::NativeFormat || !printServiceRefused();
}

bool savePdf(const QString& path, const QPageLayout& layout, const QString& title, const PagePainter& paint) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    bool painted = false;
    {
        QPdfWriter writer(&file);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Molvane"));
        QPageLayout page =
            layout.isValid() ? layout : QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, {});
        if (page.margins().isNull()) {
            page.setUnits(QPageLayout::Millimeter);
            page.setMargins(QMarginsF(kPdfMarginMillimetres, kPdfMarginMillimetres, kPdfMarginMillimetres,
                                      kPdfMarginMillimetres));
        }
        writer.setPageLayout(page);
        painted = paint(writer);
    }
    if (!painted || file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

void setPdfFileChooser(PdfFileChooser c) {
    chooser() = std::move(c);
}

std::optional<QString> pdfDestination(QWidget* parent, const QPrinter& printer, bool pdfAnyway,
                                      const QString& caption, const QString& suggestedName) {
    const PrintTarget target = targetOf(printer);
    if (target == PrintTarget::NoPrinter || pdfAnyway) {
        QString path = askPdfFile(parent, caption, suggestedName);
        if (path.isEmpty()) return std::nullopt;
        return path;
    }
    if (target == PrintTarget::PdfFile) return printer.outputFileName();
    return QString();
}

bool printOrSave(QPrinter& printer, const QString& pdfPath, const QString& title, const PagePainter& paint) {
    if (pdfPath.isEmpty()) return printOnPrinter(printer, paint);
    return savePdf(pdfPath, printer.pageLayout(), title, paint);
}

QString askPdfFile(QWidget* parent, const QString& caption, const QString& suggestedName) {
    if (chooser()) return chooser()(caption);
    // Where the last export went, else the documents folder.
    const QString folder = startFolder(FileKind::Exports, true, documentsFolder());
    // Qt's own dialog, so that it speaks French with the rest of the program.
    FrenchFileDialog dialog(parent, caption, QDir(folder).filePath(suggestedName),
                            QStringLiteral("Document PDF (*.pdf *.PDF)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    rememberFolder(FileKind::Exports, dialog.selectedFiles().first());
    return dialog.selectedFiles().first();
}

void showPdfWriteError(QWidget* parent) {
    message(parent, MessageIcon::Error, QString::fromUtf8(kWriteErrorTitle), QString::fromUtf8(kDriveAdvice));
}

}  // namespace molvane

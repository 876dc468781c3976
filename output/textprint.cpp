#include "output/textprint.h"

#include <QPagedPaintDevice>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QUrl>

#include "output/printerchoice.h"
#include "output/printtarget.h"
#include "windowkit/messages.h"

namespace molvane {

std::unique_ptr<QTextDocument> selectionDocument(const QTextEdit& text) {
    const QTextCursor selection = text.textCursor();
    if (!selection.hasSelection()) return nullptr;
    const QTextDocument& source = *text.document();
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(source.defaultFont());
    document->setDefaultStyleSheet(source.defaultStyleSheet());
    document->setDefaultTextOption(source.defaultTextOption());
    document->setDocumentMargin(source.documentMargin());
    document->setUseDesignMetrics(source.useDesignMetrics());
    QTextCursor(document.get()).insertFragment(selection.selection());
    // The pictures are resources of the text area's document: bring them along.
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat()) continue;
            const QUrl name(format.toImageFormat().name());
            const QVariant picture = source.resource(QTextDocument::ImageResource, name);
            if (picture.isValid()) document->addResource(QTextDocument::ImageResource, name, picture);
        }
    }
    return document;
}

void printText(QWidget* parent, const QTextEdit& text, QPrinter& printer) {
    const std::unique_ptr<QTextDocument> selected = selectionDocument(text);
    const QTextDocument& document = selected ? *selected : *text.document();
    const PagePainter paint = [&document](QPagedPaintDevice& device) {
        document.print(&device);
        return true;
    };
    const QString caption = QStringLiteral("Enregistrer le texte dans un fichier PDF");
    const QString suggested = QStringLiteral("Texte.pdf");

    if (targetOf(printer) != PrintTarget::NoPrinter) {
        QPrintDialog dialog(&printer, parent);
        dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize |
                          QAbstractPrintDialog::PrintCollateCopies);
        finishPrinterDialog(dialog);
        if (dialog.exec() != QDialog::Accepted) return;
    }
    std::optional<QString> pdfPath = pdfDestination(parent, printer, false, caption, suggested);
    if (!pdfPath) return;
    const QString title = document.metaInformation(QTextDocument::DocumentTitle);
    if (printOrSave(printer, *pdfPath, title, paint)) return;
    if (!pdfPath->isEmpty()) {
        showPdfWriteError(parent);
        return;
    }
    if (message(parent, MessageIcon::Exclamation, QStringLiteral("Erreur d'impression."),
                QStringLiteral("L'imprimante « %1 » n'a pas pu imprimer le texte.\r\n"
                               "Enregistrer le texte dans un fichier PDF ?")
                    .arg(printer.printerName()),
                MessageButtons::OkCancel) != MessageAnswer::Ok)
        return;
    const QString instead = askPdfFile(parent, caption, suggested);
    if (!instead.isEmpty() && !printOrSave(printer, instead, title, paint)) showPdfWriteError(parent);
}

}  // namespace molvane

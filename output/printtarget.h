// Where a print goes, and the way to a PDF file when there is no printer or
// when the printer fails. Shared by the print dialog and the text printing.
#pragma once

#include <QString>
#include <functional>
#include <optional>

class QPageLayout;
class QPagedPaintDevice;
class QPrinter;
class QWidget;

namespace molvane {

// A printer of the system's print service; a PDF file chosen in Qt's printer
// dialog; or no printer at all, when a PDF file is asked for at printing.
enum class PrintTarget { Printer, PdfFile, NoPrinter };

PrintTarget targetOf(const QPrinter& printer);
// The system's default printer, else its first one, else no printer.
void useDefaultPrinter(QPrinter& printer);
// No printer: PDF output with no file yet, so that printing asks for one.
void useNoPrinter(QPrinter& printer);
// What the print dialog shows of the printer, in French.
QString printerText(const QPrinter& printer);

// Paints the pages of one print; false when the device refused a step.
using PagePainter = std::function<bool(QPagedPaintDevice&)>;

// Prints on the printer; false when Qt or the print service report a failure.
bool printOnPrinter(QPrinter& printer, const PagePainter& paint);
// Writes the pages into a PDF file laid out as the printer's pages. The old
// file is replaced only once every page is written.
bool savePdf(const QString& path, const QPageLayout& layout, const QString& title, const PagePainter& paint);

// Where a print goes: empty for the printer itself, else the PDF file to
// write instead, the one chosen in Qt's printer dialog, or, without a printer
// (or when `pdfAnyway`), one asked for now. Nothing when that question is
// cancelled.
std::optional<QString> pdfDestination(QWidget* parent, const QPrinter& printer, bool pdfAnyway,
                                      const QString& caption, const QString& suggestedName);
// Prints the pages on the printer when pdfPath is empty, else writes them
// into that PDF file; false when either fails.
bool printOrSave(QPrinter& printer, const QString& pdfPath, const QString& title, const PagePainter& paint);

// Qt's save dialog for a PDF file; empty when cancelled.
QString askPdfFile(QWidget* parent, const QString& caption, const QString& suggestedName);
// While set, askPdfFile() asks the chooser instead of showing the dialog.
using PdfFileChooser = std::function<QString(const QString& caption)>;
void setPdfFileChooser(PdfFileChooser chooser);

// The message shown when a PDF file could not be written.
void showPdfWriteError(QWidget* parent);

}  // namespace molvane

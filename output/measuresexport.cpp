#include "output/measuresexport.h"

#include <QDir>
#include <QFileDialog>
#include <QSaveFile>

#include "windowkit/filetypes.h"
#include "windowkit/messages.h"

namespace molvane {

namespace {

CsvFileChooser& chooser() {
    static CsvFileChooser instance;
    return instance;
}

}  // namespace

QString csvFilter(CsvFormat format) {
    return format == CsvFormat::Spreadsheet ? QStringLiteral("Tableur (français) (*.csv *.CSV)")
                                            : QStringLiteral("Python / international (*.csv *.CSV)");
}

void setCsvFileChooser(CsvFileChooser chooser) {
    molvane::chooser() = std::move(chooser);
}

std::optional<CsvChoice> askCsvFile(QWidget* parent) {
    if (chooser()) return chooser()();
    const QString folder = documentsFolder();
    // Qt's own dialog, so that it speaks French with the rest of the program.
    FrenchFileDialog dialog(parent, QStringLiteral("Exporter les mesures"),
                            QDir(folder).filePath(QStringLiteral("mesures.csv")));
    dialog.setObjectName(QStringLiteral("exportcsv"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({csvFilter(CsvFormat::Spreadsheet), csvFilter(CsvFormat::Python)});
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const CsvFormat format = dialog.selectedNameFilter() == csvFilter(CsvFormat::Python)
                                 ? CsvFormat::Python
                                 : CsvFormat::Spreadsheet;
    return CsvChoice{dialog.selectedFiles().first(), format};
}

void exportMeasures(QWidget* parent, const std::function<std::string(CsvFormat)>& csv) {
    const std::optional<CsvChoice> choice = askCsvFile(parent);
    if (!choice) return;
    const std::string bytes = csv(choice->format);
    QSaveFile file(choice->path);
    const bool written =
        file.open(QIODevice::WriteOnly) &&
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size()) &&
        file.commit();
    if (written) return;
    file.cancelWriting();
    message(parent, MessageIcon::Error, QStringLiteral("Exportation impossible"),
            QStringLiteral("Les mesures n'ont pas pu être écrites dans le fichier « %1 ».\r\n"
                           "Vérifiez le dossier choisi et la place libre sur le disque.")
                .arg(QDir::toNativeSeparators(choice->path)));
}

}  // namespace molvane

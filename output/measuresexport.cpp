#include "output/measuresexport.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QSaveFile>
#include <memory>

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
    return QString::fromUtf8(dialectName(format)) + QStringLiteral(" (*.csv *.CSV)");
}

void setCsvFileChooser(CsvFileChooser chooser) {
    molvane::chooser() = std::move(chooser);
}

std::optional<CsvChoice> askCsvFile(QWidget* parent) {
    if (chooser()) return chooser()();
    const QString folder = startFolder(FileKind::Exports, true, documentsFolder());
    // Qt's own dialog, so that it speaks French with the rest of the program.
    FrenchFileDialog dialog(parent, QString::fromUtf8(kExportTitle),
                            QDir(folder).filePath(QString::fromUtf8(kExportName)));
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

void exportMeasures(QWidget* parent, const MeasuresSource& csv) {
    const std::optional<CsvChoice> choice = askCsvFile(parent);
    if (!choice) return;
    const std::vector<CsvFile> parts = csv(choice->format);
    const std::string chosen = QFile::encodeName(choice->path).toStdString();
    const auto pathOf = [&](const std::string& suffix) {
        return QFile::decodeName(QByteArray::fromStdString(csvFilePath(chosen, suffix)));
    };
    const auto failed = [&](const QString& path) {
        message(parent, MessageIcon::Error, QStringLiteral("Exportation impossible"),
                QStringLiteral("Les mesures n'ont pas pu être écrites dans le fichier « %1 ».\r\n"
                               "Vérifiez le dossier choisi et la place libre sur le disque.")
                    .arg(QDir::toNativeSeparators(path)));
    };

    // Every file is first written whole beside its place; only then do they
    // replace what was there, so that a failure midway leaves the old ones.
    std::vector<std::unique_ptr<QSaveFile>> files;
    for (const CsvFile& part : parts) {
        auto file = std::make_unique<QSaveFile>(pathOf(part.suffix));
        const auto size = static_cast<qint64>(part.text.size());
        if (!file->open(QIODevice::WriteOnly) || file->write(part.text.data(), size) != size) {
            const QString path = file->fileName();
            file->cancelWriting();
            for (auto& written : files) written->cancelWriting();
            failed(path);
            return;
        }
        files.push_back(std::move(file));
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (files[i]->commit()) continue;
        for (std::size_t j = i + 1; j < files.size(); ++j) files[j]->cancelWriting();
        failed(files[i]->fileName());
        return;
    }
    // The next export starts where this one went.
    rememberFolder(FileKind::Exports, choice->path);

    // Kept-run files of an earlier export of more runs under the same name.
    if (choice->format != CsvFormat::Python) return;
    int kept = 0;
    for (const CsvFile& part : parts)
        if (part.suffix.rfind("essai", 0) == 0) ++kept;
    for (int n = kept + 1;; ++n) {
        const QString stale = pathOf(keptRunSuffix(n));
        if (!QFileInfo(stale).isFile() || !QFile::remove(stale)) break;
    }
}

}  // namespace molvane

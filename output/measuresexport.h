// "E&xporter les mesures (CSV)…": the measurements of the run written into a
// CSV file the pupil names, in the dialect chosen in the save dialog.
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "files/measurescsv.h"

class QWidget;

namespace molvane {

// The two kinds of file the save dialog offers, as it names them.
QString csvFilter(CsvFormat format);

struct CsvChoice {
    QString path;
    CsvFormat format = CsvFormat::Spreadsheet;
};
// Qt's save dialog, proposing mesures.csv in the user's documents folder;
// nothing when cancelled. While set, the chooser answers instead (tests).
std::optional<CsvChoice> askCsvFile(QWidget* parent);
using CsvFileChooser = std::function<std::optional<CsvChoice>()>;
void setCsvFileChooser(CsvFileChooser chooser);

// Asks for the file, then writes the measurements that `csv` gives in the
// chosen dialect, whole or not at all; a failure is told in French. The run
// goes on meanwhile, untouched.
void exportMeasures(QWidget* parent, const std::function<std::string(CsvFormat)>& csv);

}  // namespace molvane

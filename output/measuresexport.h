// "E&xporter les mesures (CSV)…": the measurements of the run written into a
// CSV file the pupil names, in the dialect chosen in the save dialog.
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

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

// The measurements of the run in a dialect: the chosen file's text first,
// then the files beside it.
using MeasuresSource = std::function<std::vector<CsvFile>(CsvFormat)>;

// Asks for the file, then writes the measurements that `csv` gives in the
// chosen dialect: the chosen file and the ones beside it, every one whole or
// not at all, none replaced unless all could be prepared; a failure is told
// in French and names its file. Files left beside the chosen one by an
// earlier export of more kept runs go, so that every kept-run file belongs
// to this export. The run goes on meanwhile, untouched.
void exportMeasures(QWidget* parent, const MeasuresSource& csv);

}  // namespace molvane

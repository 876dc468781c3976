// The measurements of a run as CSV, for a spreadsheet or for Python: every
// sample of the recording, the table of values and each kept run. Two
// dialects:
// - Spreadsheet, for a French spreadsheet: one file of three kinds of block
//   with a blank line between them, ";" between cells, decimal commas, UTF-8
//   with a byte-order mark, a heading line above each block's column names;
// - Python, for pandas or the csv module: one rectangular table a file, ","
//   and decimal points, no mark, one row of column names. The chosen file
//   holds the samples; the table of values and each kept run go to files
//   beside it (mesures-tableau.csv, mesures-essai1.csv… for mesures.csv).
// A cell where Qr is no number (no A or no B) is empty.
#pragma once

#include <string>
#include <vector>

#include "common/grid.h"
#include "core/simulation.h"

namespace molvane {

enum class CsvFormat { Spreadsheet, Python };

// The export's command, its box's title, the dialects' names and the name
// first proposed, in every front-end.
inline constexpr const char* kExportCaption = "E&xporter les mesures (CSV)…";
inline constexpr const char* kExportTitle = "Exporter les mesures";
inline constexpr const char* kExportName = "mesures.csv";
constexpr const char* dialectName(CsvFormat format) {
    return format == CsvFormat::Spreadsheet ? "Tableur (français)" : "Python / international";
}

// What the file begins with: the byte-order mark, or nothing.
std::string csvStart(CsvFormat format);
// The heading and column names of the recording's block.
std::string samplesHeading(CsvFormat format);
// One sample's row, with its time for ticks of `intervalMs`.
void appendSampleRow(std::string& out, const Sample& sample, int intervalMs, CsvFormat format);

// One file of an export: the chosen file itself when `suffix` is empty,
// otherwise the file named by csvFilePath(chosen, suffix).
struct CsvFile {
    std::string suffix;
    std::string text;
};

// The whole export of a run and its table, the chosen file first.
std::vector<CsvFile> measuresCsv(const Simulation& run, const GridModel& table, CsvFormat format);

// The file beside `chosen` that holds the part `suffix`: the suffix goes
// after a "-" before the file name's extension (mesures.csv, "tableau":
// mesures-tableau.csv); `chosen` itself for an empty suffix.
std::string csvFilePath(const std::string& chosen, const std::string& suffix);
// The suffix of the file of kept run `n` (1 for the first).
std::string keptRunSuffix(int n);

}  // namespace molvane

// The measurements of a run as a CSV file, for a spreadsheet or for Python:
// every sample of the recording, then the table of values, then each kept
// run, one block each. Two dialects:
// - Spreadsheet, for a French spreadsheet: ";" between cells, decimal
//   commas, UTF-8 with a byte-order mark, a heading line above each block's
//   column names;
// - Python, for pandas or the csv module: "," and decimal points, no mark,
//   one row of column names per block (its first name says which block), and
//   a blank line between blocks, so that the first block is read alone.
// A cell where Qr is no number (no A or no B) is empty.
#pragma once

#include <string>

#include "common/grid.h"
#include "core/simulation.h"

namespace molvane {

enum class CsvFormat { Spreadsheet, Python };

// What the file begins with: the byte-order mark, or nothing.
std::string csvStart(CsvFormat format);
// The heading and column names of the recording's block.
std::string samplesHeading(CsvFormat format);
// One sample's row, with its time for ticks of `intervalMs`.
void appendSampleRow(std::string& out, const Sample& sample, int intervalMs, CsvFormat format);

// The whole export of a run and its table.
std::string measuresCsv(const Simulation& run, const GridModel& table, CsvFormat format);

}  // namespace molvane

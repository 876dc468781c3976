// One batch run of molvane-run: a configuration file run for a simulated
// time, each tick's measurements written as CSV as they come, so that the
// memory it takes does not grow with the time; or a series of seeds, run
// side by side, one file each, and a summary of them all.
#pragma once

#include <array>
#include <cstdint>
#include <ostream>
#include <string>

#include "batch/options.h"

namespace molvane::batch {

enum ExitStatus { kDone = 0, kBadFile = 1, kBadOption = 2, kCannotWrite = 3 };

// What a run ends with: its last counts, and Qr over the second half of its
// ticks (those where Qr is a number).
struct RunSummary {
    std::array<double, 4> finalCounts{};
    long long qrCount = 0;
    double qrSum = 0, qrSquares = 0;
    double meanQr() const { return qrCount ? qrSum / qrCount : 0.0; }
    double spreadQr() const;  // the standard deviation
};

// Writes the CSV to the output file (whole or not at all) or to
// `standardOutput`, and what goes wrong, in French, to `errors`. A series of
// seeds writes its summary to `standardOutput`.
ExitStatus runBatch(const Options& options, std::ostream& standardOutput, std::ostream& errors);

}  // namespace molvane::batch

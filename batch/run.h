// One batch run of molvane-run: a configuration file run for a simulated
// time, each tick's measurements written as CSV as they come, so that the
// memory it takes does not grow with the time.
#pragma once

#include <ostream>

#include "batch/options.h"

namespace molvane::batch {

enum ExitStatus { kDone = 0, kBadFile = 1, kBadOption = 2, kCannotWrite = 3 };

// Writes the CSV to the output file (whole or not at all) or to `standardOutput`,
// and what goes wrong, in French, to `errors`.
ExitStatus runBatch(const Options& options, std::ostream& standardOutput, std::ostream& errors);

}  // namespace molvane::batch

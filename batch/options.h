// The command line of molvane-run, read into what a batch run needs, with
// the French message of whatever is wrong in it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "files/measurescsv.h"

namespace molvane::batch {

struct Options {
    std::string configuration;          // the .C11 file
    double seconds = 0;                 // --duree: simulated time to run
    std::optional<std::uint32_t> seed;  // --graine; the time of day without it
    // --graines A-B: every seed from A to B, one CSV file each, run side by
    // side on `processes` cores at once (--processus; 0 for all of them).
    std::optional<std::pair<std::uint32_t, std::uint32_t>> seeds;
    unsigned processes = 0;
    CsvFormat format = CsvFormat::Spreadsheet;  // --format tableur|python
    std::string output;                         // --sortie; standard output when empty
    bool help = false;                          // --help
};

struct ParsedOptions {
    std::optional<Options> options;
    std::string error;  // French, when options is empty
};

ParsedOptions parseOptions(const std::vector<std::string>& arguments);

// The file of one seed of a series: "-graineN" before the extension of the
// name given, "essai.csv" giving "essai-graine3.csv".
std::string seedOutput(const std::string& output, std::uint32_t seed);

// What --help prints.
std::string usageText();

}  // namespace molvane::batch

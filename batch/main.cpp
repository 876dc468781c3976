// molvane-run: a configuration of "Équilibre dynamique" run without a window,
// its measurements written as CSV. See usageText() for the command line.
#include <iostream>
#include <string>
#include <vector>

#include "batch/options.h"
#include "batch/run.h"

int main(int argc, char* argv[]) {
    using namespace molvane::batch;
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const ParsedOptions parsed = parseOptions(arguments);
    if (!parsed.options) {
        std::cerr << "molvane-run : " << parsed.error << "\nEssayez « molvane-run --help ».\n";
        return kBadOption;
    }
    if (parsed.options->help) {
        std::cout << usageText();
        return kDone;
    }
    return runBatch(*parsed.options, std::cout, std::cerr);
}

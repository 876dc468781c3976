#include "batch/run.h"

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "common/grid.h"
#include "core/random.h"
#include "core/simulation.h"
#include "core/table.h"
#include "files/measurescsv.h"
#include "files/runsetup.h"

namespace molvane::batch {

namespace {

constexpr std::size_t kFlushBytes = 1 << 16;

Sample sampleOf(const Simulation& run) {
    return {run.nbtics(), {run.nbA(), run.nbB(), run.nbC(), run.nbD()}};
}

}  // namespace

ExitStatus runBatch(const Options& options, std::ostream& standardOutput, std::ostream& errors) {
    GridModel table(tableRowsAt(60) + 1, kTableColumns);
    Simulation run(table);
    const RunLoad load = loadRun(options.configuration, run);
    if (!load.error.empty()) {
        errors << "molvane-run : " << options.configuration << " : " << load.error << '\n';
        return kBadFile;
    }
    if (!load.notice.empty())
        errors << "molvane-run : " << options.configuration << " : " << load.notice << '\n';

    run.seed(options.seed.value_or(secondsSinceMidnight()));
    run.Command5_Click(nullptr);
    const int interval = run.parameters().interval;
    const auto ticks = static_cast<long long>(std::llround(options.seconds * 1000.0 / interval));

    // A file is written beside its final name and takes it only when whole.
    namespace fs = std::filesystem;
    const fs::path final = options.output;
    const fs::path partial = options.output.empty()
                                 ? fs::path()
                                 : fs::path(options.output + ".part-" + std::to_string(::getpid()));
    std::ofstream file;
    if (!options.output.empty()) {
        file.open(partial, std::ios::binary | std::ios::trunc);
        if (!file) {
            errors << "molvane-run : le fichier « " << options.output << " » ne peut pas être écrit\n";
            return kCannotWrite;
        }
    }
    std::ostream& out = options.output.empty() ? standardOutput : file;

    std::string buffer = csvStart(options.format) + samplesHeading(options.format);
    buffer.reserve(kFlushBytes + 256);
    appendSampleRow(buffer, sampleOf(run), interval, options.format);
    const Display none;
    for (long long k = 0; k < ticks && out; ++k) {
        run.Timer1_Timer(none);
        appendSampleRow(buffer, sampleOf(run), interval, options.format);
        if (buffer.size() >= kFlushBytes) {
            out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
            buffer.clear();
        }
    }
    out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    out.flush();

    if (options.output.empty()) return out ? kDone : kCannotWrite;
    file.close();
    std::error_code error;
    if (!file || (fs::rename(partial, final, error), error)) {
        fs::remove(partial, error);
        errors << "molvane-run : le fichier « " << options.output << " » ne peut pas être écrit\n";
        return kCannotWrite;
    }
    return kDone;
}

}  // namespace molvane::batch

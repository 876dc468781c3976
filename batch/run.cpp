#include "batch/run.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

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

double RunSummary::spreadQr() const {
    if (qrCount == 0) return 0.0;
    const double mean = meanQr();
    return std::sqrt(std::max(0.0, qrSquares / qrCount - mean * mean));
}

namespace {

struct OneRun {
    ExitStatus status = kDone;
    RunSummary summary;
    std::string errors;
};

// One seed, into `output` (standard output when empty).
OneRun runSeed(const Options& options, std::uint32_t seed, const std::string& output,
               std::ostream& standardOutput) {
    OneRun result;
    GridModel table(tableRowsAt(60) + 1, kTableColumns);
    Simulation run(table);
    const RunLoad load = loadRun(options.configuration, run);
    if (!load.error.empty()) {
        result.errors = "molvane-run : " + options.configuration + " : " + load.error + "\n";
        result.status = kBadFile;
        return result;
    }
    if (!load.notice.empty())
        result.errors = "molvane-run : " + options.configuration + " : " + load.notice + "\n";

    run.seed(seed);
    run.restart(nullptr);
    const int interval = run.parameters().interval;
    const auto ticks = static_cast<long long>(std::llround(options.seconds * 1000.0 / interval));

    // A file is written beside its final name and takes it only when whole.
    namespace fs = std::filesystem;
    const std::string cannotWrite = "molvane-run : le fichier « " + output + " » ne peut pas être écrit\n";
    const fs::path partial =
        output.empty() ? fs::path() : fs::path(output + ".part-" + std::to_string(::getpid()));
    std::ofstream file;
    if (!output.empty()) {
        file.open(partial, std::ios::binary | std::ios::trunc);
        if (!file) {
            result.errors += cannotWrite;
            result.status = kCannotWrite;
            return result;
        }
    }
    std::ostream& out = output.empty() ? standardOutput : file;

    std::string buffer = csvStart(options.format) + samplesHeading(options.format);
    buffer.reserve(kFlushBytes + 256);
    appendSampleRow(buffer, sampleOf(run), interval, options.format);
    const Display none;
    RunSummary& summary = result.summary;
    for (long long k = 1; k <= ticks && out; ++k) {
        run.tick(none);
        const Sample sample = sampleOf(run);
        appendSampleRow(buffer, sample, interval, options.format);
        if (2 * k > ticks && sample.counts[0] != 0 && sample.counts[1] != 0) {
            const double qr =
                (double(sample.counts[2]) * sample.counts[3]) / (double(sample.counts[0]) * sample.counts[1]);
            ++summary.qrCount;
            summary.qrSum += qr;
            summary.qrSquares += qr * qr;
        }
        if (buffer.size() >= kFlushBytes) {
            out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
            buffer.clear();
        }
    }
    out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    out.flush();
    summary.finalCounts = {double(run.nbA()), double(run.nbB()), double(run.nbC()), double(run.nbD())};

    if (output.empty()) {
        if (!out) result.status = kCannotWrite;
        return result;
    }
    file.close();
    std::error_code error;
    if (!file || (fs::rename(partial, output, error), error)) {
        fs::remove(partial, error);
        result.errors += cannotWrite;
        result.status = kCannotWrite;
    }
    return result;
}

// A number for the summary, in French: decimal comma.
std::string french(double value, int decimals) {
    std::string text = std::to_string(std::llround(value * std::pow(10.0, decimals)));
    const bool negative = !text.empty() && text[0] == '-';
    if (negative) text.erase(0, 1);
    if (decimals > 0) {
        if (text.size() <= static_cast<std::size_t>(decimals))
            text.insert(0, decimals + 1 - text.size(), '0');
        text.insert(text.size() - decimals, ",");
    }
    return negative ? "-" + text : text;
}

std::string summaryLine(const std::string& who, const RunSummary& s, int countDecimals) {
    std::string line = who + " : N(A) = " + french(s.finalCounts[0], countDecimals);
    line += ", N(B) = " + french(s.finalCounts[1], countDecimals);
    line += ", N(C) = " + french(s.finalCounts[2], countDecimals);
    line += ", N(D) = " + french(s.finalCounts[3], countDecimals);
    if (s.qrCount == 0) return line + " ; Qr n'est jamais un nombre sur la seconde moitié\n";
    return line + " ; Qr moyen sur la seconde moitié = " + french(s.meanQr(), 3) + " (écart-type " +
           french(s.spreadQr(), 3) + ")\n";
}

ExitStatus runSeeds(const Options& options, std::ostream& standardOutput, std::ostream& errors) {
    const auto [first, last] = *options.seeds;
    const std::size_t count = static_cast<std::size_t>(last - first) + 1;
    std::vector<OneRun> runs(count);
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        std::ostringstream unused;
        for (std::size_t i; (i = next++) < count;) {
            const auto seed = static_cast<std::uint32_t>(first + i);
            runs[i] = runSeed(options, seed, seedOutput(options.output, seed), unused);
            // A file that cannot be read fails every seed alike: stop there.
            if (runs[i].status == kBadFile) next = count;
        }
    };
    unsigned workers =
        options.processes ? options.processes : std::max(1u, std::thread::hardware_concurrency());
    workers = static_cast<unsigned>(std::min<std::size_t>(workers, count));
    std::vector<std::thread> threads;
    for (unsigned w = 1; w < workers; ++w) threads.emplace_back(work);
    work();
    for (std::thread& t : threads) t.join();

    ExitStatus status = kDone;
    RunSummary all;
    std::size_t done = 0;
    std::string notice;
    for (std::size_t i = 0; i < count; ++i) {
        const OneRun& run = runs[i];
        if (run.status == kBadFile) {
            errors << run.errors;
            return kBadFile;
        }
        if (run.status != kDone) {
            errors << run.errors;
            status = run.status;
            continue;
        }
        if (notice.empty()) notice = run.errors;
        standardOutput << summaryLine("graine " + std::to_string(first + i), run.summary, 0);
        ++done;
        for (int s = 0; s < 4; ++s) all.finalCounts[s] += run.summary.finalCounts[s];
        all.qrCount += run.summary.qrCount;
        all.qrSum += run.summary.qrSum;
        all.qrSquares += run.summary.qrSquares;
    }
    errors << notice;
    if (done > 0) {
        for (double& n : all.finalCounts) n /= static_cast<double>(done);
        standardOutput << summaryLine("toutes les graines (" + std::to_string(done) + ", nombres moyens)",
                                      all, 1);
    }
    return status;
}

}  // namespace

ExitStatus runBatch(const Options& options, std::ostream& standardOutput, std::ostream& errors) {
    if (options.seeds) return runSeeds(options, standardOutput, errors);
    const OneRun run =
        runSeed(options, options.seed.value_or(secondsSinceMidnight()), options.output, standardOutput);
    errors << run.errors;
    return run.status;
}

}  // namespace molvane::batch

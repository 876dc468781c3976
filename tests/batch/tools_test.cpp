// One seed gives one run, whichever tool runs it: molvane-bench's set-up
// against molvane-run's reading of a configuration of the same settings.
// (The window against molvane-run: tests/ui/measures_test.cpp.)
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "batch/options.h"
#include "batch/run.h"
#include "bench/benchrun.h"
#include "common/grid.h"
#include "core/settings.h"
#include "core/table.h"
#include "files/configuration.h"
#include "tests/support/csvtext.h"

namespace molvane {
namespace {

namespace fs = std::filesystem;

struct Case {
    std::array<int, 4> counts;
    std::array<int, 2> percents;
    int temperature;
    std::uint32_t seed;
    int ticks;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.counts[0] << "/" << c.counts[1] << "/" << c.counts[2] << "/" << c.counts[3] << " graine "
        << c.seed;
}

class SameRun : public testing::TestWithParam<Case> {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("molvane-tools-" + std::to_string(::getpid()));
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }
    fs::path folder;
};

TEST_P(SameRun, BenchAndBatchCountTheSameAtEveryTick) {
    const Case& c = GetParam();
    ConfigurationValues values;
    for (int s = 0; s < 4; ++s) values.counts[s] = std::to_string(c.counts[s]);
    for (int k = 0; k < 2; ++k) {
        values.sensePositions[k] = static_cast<std::int16_t>(100 - c.percents[k]);
        ASSERT_EQ(percentAt(values.sensePositions[k]), c.percents[k]);
    }
    values.temperature = static_cast<std::int16_t>(c.temperature);
    const fs::path file = folder / "essai.C11";
    std::ofstream(file, std::ios::binary) << *configurationBytes(values);

    const auto options = batch::parseOptions({file.string(), "--duree", std::to_string(c.ticks / 10.0),
                                              "--graine", std::to_string(c.seed), "--format", "python"});
    ASSERT_TRUE(options.options) << options.error;
    std::ostringstream out, err;
    ASSERT_EQ(batch::runBatch(*options.options, out, err), batch::kDone) << err.str();
    const auto rows = test::csvBlocks(out.str(), ',').at(0);
    ASSERT_EQ(rows.size(), 1u + c.ticks + 1);

    GridModel table(tableRowsAt(60) + 1, kTableColumns);
    Simulation sim(table);
    bench::startRun(sim, {c.counts, c.percents, c.temperature, c.seed}, nullptr);
    const Display none;
    for (int t = 0; t <= c.ticks; ++t) {
        if (t > 0) sim.tick(none);
        const std::array<int, 4> counts{sim.nbA(), sim.nbB(), sim.nbC(), sim.nbD()};
        for (int s = 0; s < 4; ++s)
            ASSERT_EQ(test::csvNumber(rows[1 + t][1 + s]), counts[s]) << "t = " << t << ", espèce " << s;
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Reglages, SameRun, testing::Values(
    Case{{100, 100, 0, 0}, {50, 50}, 500, 5, 50},
    Case{{150, 100, 20, 0}, {70, 40}, 650, 21, 400},  // beyond the 20 s of the recording
    Case{{0, 0, 150, 150}, {30, 60}, 300, 3, 120},
    Case{{500, 500, 0, 0}, {100, 0}, 800, 12, 60}));
// clang-format on

}  // namespace
}  // namespace molvane

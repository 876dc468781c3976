// Any bytes as a record file and as a configuration file. Checked beyond the
// sanitizers: records decode within the data and encode back to themselves;
// the file on disk reads as the bytes in memory; the configuration reader
// applies records in order, stops at the first it cannot apply, and never
// lets the run restart with counts outside the panel's limits.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "common/recordfile.h"
#include "files/configuration.h"
#include "fuzz/check.h"
#include "fuzz/fuzzfile.h"

namespace {

using namespace molvane;

using fuzz::check;

// Takes what the window's controls would take; counts what it was given.
class Target final : public ConfigurationTarget {
public:
    bool setCount(int s, const std::string& text) override {
        check(s == applied);
        counts[s] = text;
        return next();
    }
    bool setSensePosition(int s, std::int16_t p) override {
        check(applied == 4 + s);
        // A bar's change restarts the run with the counts the boxes hold.
        if (s == 0) countsAtFirstBar = counts;
        return p >= 0 && p <= 100 && next();
    }
    bool setTemperature(std::int16_t p) override {
        return check(applied == 6), p >= 200 && p <= 800 && next();
    }
    bool setColour(int s, std::int32_t) override { return check(applied == 7 + s), next(); }
    bool setDurationPosition(std::int16_t p) override {
        return check(applied == 11), p >= 1 && p <= 12 && next();
    }
    bool setRowsPosition(std::int16_t p) override {
        return check(applied == 12), p >= 10 && p <= 100 && next();
    }
    bool setView(int o, bool) override { return check(applied == 13 + o), next(); }
    bool setCurve(int s, bool) override { return check(applied == 15 + s), next(); }
    bool setKeepCurves(bool) override { return check(applied == 19), next(); }
    bool setShowQr(bool) override { return check(applied == 20), next(); }

    int applied = 0;
    std::array<std::string, 4> counts{"100", "100", "0", "0"};
    std::optional<std::array<std::string, 4>> countsAtFirstBar;

private:
    bool next() {
        ++applied;
        return true;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    for (int n = 1; n <= recordCount(bytes) + 1; ++n) {
        const auto record = decodeRecord(bytes, n);
        if (!record) continue;
        check(record->size() <= kRecordValueMax);
        check(decodeRecord(*encodeRecord(*record), 1) == record);
    }

    Target inMemory;
    const ConfigurationLoad load = readConfiguration(bytes, inMemory);
    switch (load.result) {
        case ConfigurationRead::NotConfiguration:
            check(inMemory.applied == 0);
            break;
        case ConfigurationRead::Loaded:
            check(inMemory.applied == kConfigurationRecords - 1);
            break;
        case ConfigurationRead::ReadFailure:
            check(inMemory.applied < kConfigurationRecords - 1);
            break;
    }
    if (inMemory.countsAtFirstBar) check(!countsWithinLimits(*inMemory.countsAtFirstBar).has_value());
    if (load.countsAdjusted) check(inMemory.applied >= 1);

    // From disk, only the first 22 records count, whatever follows them.
    Target fromDisk;
    const ConfigurationLoad diskLoad = readConfigurationFile(fuzz::scratchFileWith(bytes), fromDisk);
    check(diskLoad.result == load.result && diskLoad.countsAdjusted == load.countsAdjusted);
    check(fromDisk.applied == inMemory.applied && fromDisk.counts == inMemory.counts);
    return 0;
}

// A configuration file given to a run without any window, as the batch
// program reads it: the same reader, the same bounds and the same
// adjustments as the window's, each record applied straight to the run's
// settings instead of through a control.
#pragma once

#include <filesystem>
#include <string>

#include "core/simulation.h"
#include "files/configuration.h"

namespace molvane {

class RunSetup final : public ConfigurationTarget {
public:
    explicit RunSetup(Simulation& run) : run_(run) {}

    bool setCount(int species, const std::string& utf8) override;
    bool setSensePosition(int sense, std::int16_t position) override;
    bool setTemperature(std::int16_t position) override;
    bool setColour(int species, std::int32_t colour) override;
    bool setDurationPosition(std::int16_t position) override;
    bool setRowsPosition(std::int16_t position) override;
    bool setView(int option, bool selected) override;
    bool setCurve(int species, bool ticked) override;
    bool setKeepCurves(bool ticked) override;
    bool setShowQr(bool ticked) override;

private:
    Simulation& run_;
};

struct RunLoad {
    ConfigurationLoad load;
    // What to tell the user, in French, when the file could not be used
    // whole (empty when it was), and the notice of adjusted counts.
    std::string error;
    std::string notice;
};

// Reads the file into the run's settings. Nothing is restarted: the caller
// seeds the run and restarts it.
RunLoad loadRun(const std::filesystem::path& path, Simulation& run);

}  // namespace molvane

#include "files/runsetup.h"

#include "core/settings.h"
#include "core/table.h"
#include "files/configmessages.h"

namespace molvane {

bool RunSetup::setCount(int species, const std::string& utf8) {
    run_.setCount(species, utf8);
    return true;
}

bool RunSetup::setSensePosition(int sense, std::int16_t position) {
    if (!kPercentBar.holds(position)) return false;
    run_.setEffectivePercent(sense, percentAt(position));
    return true;
}

bool RunSetup::setTemperature(std::int16_t position) {
    if (!kTemperatureBar.holds(position)) return false;
    run_.setTemperature(position);
    return true;
}

bool RunSetup::setColour(int species, std::int32_t colour) {
    if (!isSwatchColour(colour)) return false;
    // A system colour is drawn as the desktop shows it; the counts do not depend on it.
    if (colour >= 0) run_.setColour(species, static_cast<Colour>(colour));
    return true;
}

bool RunSetup::setDurationPosition(std::int16_t position) {
    if (!kDurationBar.holds(position)) return false;
    run_.setDuration(durationSeconds(position).value_or(0));
    return true;
}

bool RunSetup::setRowsPosition(std::int16_t position) {
    if (!kRowsBar.holds(position)) return false;
    run_.setTableRows(tableRowsAt(position));
    return true;
}

bool RunSetup::setView(int, bool) {
    return true;  // graph or table: nothing to show here
}

bool RunSetup::setCurve(int species, bool ticked) {
    run_.setCurve(species, ticked);
    return true;
}

bool RunSetup::setKeepCurves(bool ticked) {
    run_.setKeepCurves(ticked);
    return true;
}

bool RunSetup::setShowQr(bool ticked) {
    run_.setShowQr(ticked);
    return true;
}

RunLoad loadRun(const std::filesystem::path& path, Simulation& run) {
    RunSetup setup(run);
    RunLoad result;
    result.load = readConfigurationFile(path, setup);
    switch (result.load.result) {
        case ConfigurationRead::NotConfiguration:
            result.error = std::string(kNotConfigurationTitle) + " : " + kNotConfigurationText;
            break;
        case ConfigurationRead::ReadFailure:
            result.error = std::string(kReadFailureTitle) + " : " + kReadFailureText;
            break;
        case ConfigurationRead::Loaded:
            break;
    }
    if (result.load.countsAdjusted) result.notice = kCountsAdjustedText;
    return result;
}

}  // namespace molvane

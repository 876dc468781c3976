// A configuration as the window's controls hold it: read from the controls
// to be saved, and given back to them, record by record, as a user's changes,
// so that each control's own handling runs when a file is loaded.
#pragma once

#include <array>
#include <functional>

#include "core/surface.h"
#include "files/configuration.h"
#include "ui/main/panels.h"

class QLineEdit;

namespace molvane {

class ControlsConfiguration final : public ConfigurationTarget {
public:
    struct Hooks {
        // A file's colour for a species: the swatch and the run take it.
        std::function<void(int species, Colour colour)> setColour;
        // A file's duration, before the bar moves to it.
        std::function<void(int position)> beforeDuration;
    };

    ControlsConfiguration(const std::array<QLineEdit*, 4>& counts, const ParameterPanel& parameters,
                          const DisplayPanel& display, const SettingsPanel& settings, Hooks hooks);

    ConfigurationValues values() const;

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
    std::array<QLineEdit*, 4> counts_;
    ParameterPanel parameters_;
    DisplayPanel display_;
    SettingsPanel settings_;
    Hooks hooks_;
};

}  // namespace molvane

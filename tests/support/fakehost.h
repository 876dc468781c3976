// A main window reduced to what configuration files touch: the values the
// controls would show, the bars' ranges, the restarts and the title.
#pragma once

#include <QString>

#include "files/configio.h"

namespace molvane {

class FakeHost final : public ConfigurationHost, public ConfigurationTarget {
public:
    ConfigurationValues configuration() const override { return values; }
    ConfigurationTarget& configurationTarget() override { return *this; }
    void restartAfterLoad() override { ++restarts; }
    void showFileInTitle(const QString& path) override {
        title = QStringLiteral("Équilibre dynamique - ") + path;
    }

    bool setCount(int s, const std::string& t) override { return values.counts[s] = t, true; }
    bool setSensePosition(int s, std::int16_t p) override {
        return p >= 0 && p <= 100 && (values.sensePositions[s] = p, true);
    }
    bool setTemperature(std::int16_t p) override {
        return p >= 200 && p <= 800 && (values.temperature = p, true);
    }
    bool setColour(int s, std::int32_t c) override { return values.colours[s] = c, true; }
    bool setDurationPosition(std::int16_t p) override {
        return p >= 1 && p <= 12 && (values.durationPosition = p, true);
    }
    bool setRowsPosition(std::int16_t p) override {
        return p >= 10 && p <= 100 && (values.rowsPosition = p, true);
    }
    bool setView(int o, bool b) override { return values.views[o] = b, true; }
    bool setCurve(int s, bool b) override { return values.curves[s] = b, true; }
    bool setKeepCurves(bool b) override { return values.keepCurves = b, true; }
    bool setShowQr(bool b) override { return values.showQr = b, true; }

    ConfigurationValues values;
    int restarts = 0;
    QString title;
};

}  // namespace molvane

#include "files/configuration.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "common/cp1252.h"
#include "common/numbers.h"
#include "common/recordfile.h"

namespace molvane {

namespace {

std::string flag(bool set) {
    return set ? "1" : "0";
}
std::string number(double value) {
    return numberText(value, true);
}

constexpr char kSeparator = '/';

}  // namespace

std::optional<std::string> configurationBytes(const ConfigurationValues& v) {
    std::vector<std::string> records;
    records.reserve(kConfigurationRecords);
    records.emplace_back(kConfigurationSignature);
    for (const auto& count : v.counts) {
        const auto bytes = utf8ToCp1252(count);
        if (!bytes.lossless) return std::nullopt;
        records.push_back(bytes.bytes);
    }
    for (auto p : v.sensePositions) records.push_back(number(p));
    records.push_back(number(v.temperature));
    for (auto c : v.colours) records.push_back(number(c));
    records.push_back(number(v.durationPosition));
    records.push_back(number(v.rowsPosition));
    for (bool b : v.views) records.push_back(flag(b));
    for (bool b : v.curves) records.push_back(flag(b));
    records.push_back(flag(v.keepCurves));
    records.push_back(flag(v.showQr));
    return encodeRecords(records);
}

ConfigurationLoad readConfiguration(const std::string& bytes, ConfigurationTarget& target) {
    ConfigurationLoad load;
    const auto signature = decodeRecord(bytes, 1);
    if (!signature || *signature != kConfigurationSignature) {
        load.result = ConfigurationRead::NotConfiguration;
        return load;
    }
    // A record beyond the end of a short file is a read failure, not a neutral value.
    const auto record = [&bytes](int n) -> std::optional<std::string> {
        if (static_cast<std::size_t>(n - 1) * kRecordSize >= bytes.size()) return std::nullopt;
        return decodeRecord(bytes, n);
    };

    // The counts are read up to the first that fails; those before it are still applied.
    std::array<std::string, 4> counts;
    int countsRead = 0;
    for (; countsRead < 4; ++countsRead) {
        const auto text = record(countsRead + 2);
        if (!text) break;
        counts[countsRead] = cp1252ToUtf8(*text);
    }
    if (countsRead == 4) {
        if (auto within = countsWithinLimits(counts)) {
            counts = std::move(*within);
            load.countsAdjusted = true;
        }
    }
    for (int s = 0; s < countsRead; ++s)
        if (!target.setCount(s, counts[s])) return load;
    if (countsRead < 4) return load;

    for (int n = 6; n <= kConfigurationRecords; ++n) {
        const auto text = record(n);
        if (!text) return load;
        const double value = leadingNumber(*text);
        const bool one = *text == "1";
        bool ok = false;
        if (n <= 8 || n == 13 || n == 14) {
            const auto position = roundToInt16(value);
            if (!position) return load;
            if (n <= 7)
                ok = target.setSensePosition(n - 6, *position);
            else if (n == 8)
                ok = target.setTemperature(*position);
            else if (n == 13)
                ok = target.setDurationPosition(*position);
            else
                ok = target.setRowsPosition(*position);
        } else if (n <= 12) {
            const auto colour = roundToInt32(value);
            ok = colour && target.setColour(n - 9, *colour);
        } else if (n <= 16) {
            ok = target.setView(n - 15, one);
        } else if (n <= 20) {
            ok = target.setCurve(n - 17, one);
        } else if (n == 21) {
            ok = target.setKeepCurves(one);
        } else {
            ok = target.setShowQr(one);
        }
        if (!ok) return load;
    }
    load.result = ConfigurationRead::Loaded;
    return load;
}

ConfigurationLoad readConfigurationFile(const std::filesystem::path& path, ConfigurationTarget& target) {
    const FileBytes file = readRegularFile(path, kConfigurationRecords * kRecordSize, false);
    if (file.status != FileRead::Ok) return ConfigurationLoad{};
    return readConfiguration(file.bytes, target);
}

namespace {

constexpr long kFewestParticles = 10;
constexpr long kMostParticles = 1000;

// Shares total out in proportion to the weights (not all zero, none
// negative): each share is the exact one rounded down, and what is left goes
// to the largest remainders, the first count first on a tie.
std::array<long, 4> apportion(const std::array<double, 4>& weights, long total) {
    std::array<double, 4> w = weights;
    // Counts too large to add are compared by which are infinite.
    if (std::any_of(w.begin(), w.end(), [](double x) { return std::isinf(x); })) {
        for (double& x : w) x = std::isinf(x) ? 1.0 : 0.0;
    }
    // Dividing by the largest first keeps the sum finite whatever the values.
    const double largest = *std::max_element(w.begin(), w.end());
    double sum = 0.0;
    for (double& x : w) sum += (x /= largest);
    std::array<long, 4> shares{};
    std::array<double, 4> remainders{};
    long given = 0;
    for (int s = 0; s < 4; ++s) {
        const double exact = static_cast<double>(total) * w[s] / sum;
        shares[s] = std::min(total, static_cast<long>(std::floor(exact)));
        remainders[s] = exact - static_cast<double>(shares[s]);
        given += shares[s];
    }
    while (given < total) {
        int best = 0;
        for (int s = 1; s < 4; ++s)
            if (remainders[s] > remainders[best]) best = s;
        ++shares[best];
        remainders[best] = -1.0;
        ++given;
    }
    return shares;
}

}  // namespace

std::optional<std::array<std::string, 4>> countsWithinLimits(const std::array<std::string, 4>& counts) {
    std::array<double, 4> values{};
    bool plain = true;
    double total = 0.0;
    for (int s = 0; s < 4; ++s) {
        // Blanks around the digits are harmless (the run reads past them) and stay as the file has them.
        const std::string_view digits = trimmed(counts[s]);
        plain = plain && !digits.empty() && digits.size() <= 4 &&
                std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
        const double v = leadingNumber(counts[s]);
        values[s] = v > 0 ? v : 0.0;  // never negative (nor NaN)
        total += values[s];
    }
    if (plain && total >= kFewestParticles && total <= kMostParticles) return std::nullopt;

    // Within the limits but not written as the panel writes counts: each is
    // rounded on its own, as long as the total stays within them.
    std::array<long, 4> n{};
    long rounded = 0;
    if (total <= kMostParticles) {
        for (int s = 0; s < 4; ++s) rounded += (n[s] = roundToInt32(values[s]).value_or(0));
    }
    if (total > kMostParticles || rounded > kMostParticles) {
        n = apportion(values, kMostParticles);
    } else if (rounded < kFewestParticles) {
        n = total > 0.0 ? apportion(values, kFewestParticles)
                        : std::array<long, 4>{kFewestParticles, 0, 0, 0};
    }
    std::array<std::string, 4> out;
    for (int s = 0; s < 4; ++s) out[s] = std::to_string(n[s]);
    return out;
}

std::optional<std::string> settleSaveName(const std::string& typed, const std::string& directory) {
    std::string name = typed;
    for (;;) {
        name = std::string(trimmed(name));
        const auto slash = name.find_last_of(kSeparator);
        const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
        if (name.size() == start) return std::nullopt;  // no file name left
        const auto dot = name.find_last_of('.');
        if (dot == std::string::npos || dot < start) break;
        name.erase(dot);
    }
    if (name.find(kSeparator) == std::string::npos) {
        std::string folder = directory;
        if (folder.empty() || folder.back() != kSeparator) folder += kSeparator;
        name = folder + name;
    }
    return name + ".C11";
}

}  // namespace molvane

#include "files/configuration.h"

#include <algorithm>
#include <fstream>
#include <vector>

#include "common/cp1252.h"
#include "common/numbers.h"
#include "common/recordfile.h"

namespace molvane {

namespace {

std::string flag(bool set) { return set ? "1" : "0"; }
std::string number(double value) { return numberText(value, true); }

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

ConfigurationRead readConfiguration(const std::string& bytes, ConfigurationTarget& target) {
    const auto signature = decodeRecord(bytes, 1);
    if (!signature || *signature != kConfigurationSignature) return ConfigurationRead::NotConfiguration;

    for (int n = 2; n <= kConfigurationRecords; ++n) {
        // A record beyond the end of a short file is a read failure, not a neutral value.
        if (static_cast<std::size_t>(n - 1) * kRecordSize >= bytes.size()) return ConfigurationRead::ReadFailure;
        const auto text = decodeRecord(bytes, n);
        if (!text) return ConfigurationRead::ReadFailure;
        const double value = leadingNumber(*text);
        const bool one = *text == "1";
        bool ok = false;
        if (n <= 5) {
            ok = target.setCount(n - 2, cp1252ToUtf8(*text));
        } else if (n <= 8 || n == 13 || n == 14) {
            const auto position = roundToInt16(value);
            if (!position) return ConfigurationRead::ReadFailure;
            if (n <= 7) ok = target.setSensePosition(n - 6, *position);
            else if (n == 8) ok = target.setTemperature(*position);
            else if (n == 13) ok = target.setDurationPosition(*position);
            else ok = target.setRowsPosition(*position);
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
        if (!ok) return ConfigurationRead::ReadFailure;
    }
    return ConfigurationRead::Loaded;
}

ConfigurationRead readConfigurationFile(const std::filesystem::path& path, ConfigurationTarget& target) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return ConfigurationRead::ReadFailure;
    std::string bytes(kConfigurationRecords * kRecordSize, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) return ConfigurationRead::ReadFailure;
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return readConfiguration(bytes, target);
}

std::optional<std::array<std::string, 4>> countsWithinLimits(const std::array<std::string, 4>& counts) {
    std::array<long, 4> n{};
    bool plain = true;
    for (int s = 0; s < 4; ++s) {
        const std::string& text = counts[s];
        // Blanks around the digits are harmless (the run reads past them) and stay as the file has them.
        const std::string_view digits = trimmed(text);
        plain = plain && !digits.empty() && digits.size() <= 4 &&
                std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
        const double v = leadingNumber(text);
        n[s] = v > 0 ? static_cast<long>(std::min(v, 1000.0) + 0.5) : 0;
    }
    long total = n[0] + n[1] + n[2] + n[3];
    if (plain && total >= 10 && total <= 1000) return std::nullopt;
    if (total > 1000) {
        // Scale down, keeping the proportions, then give back what rounding lost.
        long scaled = 0;
        for (auto& c : n) {
            c = c * 1000 / total;
            scaled += c;
        }
        total = scaled;
    }
    if (total < 10) n[0] += 10 - total;
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

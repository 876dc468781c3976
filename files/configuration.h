// Configuration files (".C11"): 22 records of the record-file layout holding
// every setting of the parameter and display panels.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace molvane {

inline constexpr const char* kConfigurationSignature = "MOLVANE";
inline constexpr int kConfigurationRecords = 22;

// What a configuration holds, as the controls show it.
struct ConfigurationValues {
    std::array<std::string, 4> counts{"100", "100", "0", "0"};  // Text1(0..3), UTF-8, exactly as typed
    std::array<std::int16_t, 2> sensePositions{50, 50};         // VScroll4(0..1)
    std::int16_t temperature = 500;                             // HScroll1
    std::array<std::int32_t, 4> colours{};                      // Label4(1..4) background, 0x00BBGGRR
    std::int16_t durationPosition = 11;                         // VScroll2
    std::int16_t rowsPosition = 60;                             // VScroll3
    std::array<bool, 2> views{true, false};                     // Option1(0..1)
    std::array<bool, 4> curves{false, false, true, false};      // option2(0..3)
    bool keepCurves = true;                                     // Check2
    bool showQr = true;                                         // Check3
};

// The file's bytes: 22 full records. Nothing when a value cannot be stored
// (over 126 bytes, or a character without a Windows-1252 byte).
std::optional<std::string> configurationBytes(const ConfigurationValues& values);

// Receives the records of a file being read, one at a time and in order, as
// a user's change of each control would. A setter returns false when the
// control refuses the value (out of its range), which ends the reading.
class ConfigurationTarget {
public:
    virtual ~ConfigurationTarget() = default;
    virtual bool setCount(int species, const std::string& utf8) = 0;      // records 2-5
    virtual bool setSensePosition(int sense, std::int16_t position) = 0;  // 6-7
    virtual bool setTemperature(std::int16_t position) = 0;               // 8
    virtual bool setColour(int species, std::int32_t colour) = 0;         // 9-12
    virtual bool setDurationPosition(std::int16_t position) = 0;          // 13
    virtual bool setRowsPosition(std::int16_t position) = 0;              // 14
    virtual bool setView(int option, bool selected) = 0;                  // 15-16
    virtual bool setCurve(int species, bool ticked) = 0;                  // 17-20
    virtual bool setKeepCurves(bool ticked) = 0;                          // 21
    virtual bool setShowQr(bool ticked) = 0;                              // 22
};

enum class ConfigurationRead {
    Loaded,            // every record applied
    NotConfiguration,  // record 1 is not the signature: nothing applied
    ReadFailure,       // a record missing, malformed or refused: those before it stay applied
};

struct ConfigurationLoad {
    ConfigurationRead result = ConfigurationRead::ReadFailure;
    // The stored counts lay outside the panel's limits, and the counts given
    // to the target are those brought within them (countsWithinLimits).
    bool countsAdjusted = false;
};

// Reads a file's bytes into the target. The four counts (records 2 to 5) are
// looked at together before the first is applied, so that the target never
// holds counts outside the limits once they are all read: the bars applied
// after them restart the run with those counts.
ConfigurationLoad readConfiguration(const std::string& bytes, ConfigurationTarget& target);
// Reads a file: only its first 22 records are ever loaded, whatever its size.
// A path that names anything but a regular file (a FIFO, a device) is a read
// failure at once; nothing is applied.
ConfigurationLoad readConfigurationFile(const std::filesystem::path& path, ConfigurationTarget& target);

// Initial counts as the parameter panel allows them: plain digits (blanks
// around them are kept), none negative, 10 to 1 000 in all. Returns the
// counts brought within these limits, or nothing when they already are.
// Counts outside are scaled together from their values as written, however
// large, so that their ratios stay as close as whole numbers allow: a total
// over 1 000 becomes exactly 1 000, one under 10 becomes 10. A text with no
// number counts 0; when every count is 0, A takes the 10 particles.
std::optional<std::array<std::string, 4>> countsWithinLimits(const std::array<std::string, 4>& counts);

// The full name under which the save dialog writes: extensions cut from the
// file name (not from its folders), the folder added to a bare name, ".C11"
// appended. Nothing when no name is left.
std::optional<std::string> settleSaveName(const std::string& typed, const std::string& directory);

}  // namespace molvane

#include "files/handoff.h"

#include "common/numbers.h"
#include "common/recordfile.h"

namespace molvane {

HandOffFile::HandOffFile(const std::filesystem::path& programFolder) : path_(programFolder / "TEMPKR.TMP") {}

void HandOffFile::markRunning() const {
    RecordFile(path_).write(kRunningRecord, "OUI");
}

void HandOffFile::markClosed() const {
    RecordFile(path_).write(kRunningRecord, "NON");
}

std::string HandOffFile::takeExerciseRequest() const {
    const RecordFile file(path_);
    std::string request(trimmed(file.read(kExerciseRecord).value_or(std::string())));
    file.write(kExerciseRecord, "");
    return request;
}

}  // namespace molvane

// The configuration files' names and messages for the page.
#include <emscripten/bind.h>

#include <filesystem>
#include <string>

#include "common/recordfile.h"
#include "files/configmessages.h"
#include "files/configuration.h"

namespace molvane::web {

// The name a save takes, as the desktop's save dialog settles it, without a
// folder (a download has none); "" when no name is left.
std::string saveName(const std::string& typed) {
    const auto settled = settleSaveName(typed, ".");
    return settled ? std::filesystem::path(*settled).filename().string() : std::string();
}

}  // namespace molvane::web

EMSCRIPTEN_BINDINGS(molvane_files) {
    using namespace emscripten;
    using namespace molvane;
    function("saveName", &molvane::web::saveName);
    // The reader looks at no byte past its records: a page reads no more of a file.
    constant("configurationBytesRead", static_cast<int>(kConfigurationRecords * kRecordSize));
    constant("configurationSignature", std::string(kConfigurationSignature));
    constant("saveTitle", std::string(kSaveTitle));
    constant("saveNameLabel", std::string(kSaveNameLabel));
    constant("saveButton", std::string(kSaveButton));
    constant("cancelCaption", std::string(kCancelCaption));
    constant("noNameText", std::string(kNoNameText));
    constant("writeFailureTitle", std::string(kWriteFailureTitle));
    constant("writeFailureText", std::string(kWriteFailureText));
    constant("notConfigurationTitle", std::string(kNotConfigurationTitle));
    constant("notConfigurationText", std::string(kNotConfigurationText));
    constant("readFailureTitle", std::string(kReadFailureTitle));
    constant("readFailureText", std::string(kReadFailureText));
}

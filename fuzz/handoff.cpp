// Any bytes as the suite's hand-off file, taken at activation through the
// program's own hand-off module: record 31 read from disk and trimmed, then
// emptied in place. Checked: the request is the record of the bytes, trimmed;
// it comes back to the same bytes through its text; emptying it changes that
// record only, and a second request finds nothing.
#include "files/handoff.h"

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#include "common/cp1252.h"
#include "common/numbers.h"
#include "common/recordfile.h"
#include "fuzz/check.h"

namespace {

using namespace molvane;

using fuzz::check;

// A program folder of the fuzzing process, holding its hand-off file; it
// goes when the process ends.
struct ScratchFolder {
    std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("molvane-fuzz-" + std::to_string(::getpid()));
    HandOffFile file{(std::filesystem::create_directories(path), path)};
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

const HandOffFile& handOff() {
    static const ScratchFolder folder;
    return folder.file;
}

void writeBytes(const std::string& bytes) {
    std::ofstream out(handOff().path(), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) std::abort();
}

std::string fileBytes() {
    std::ifstream in(handOff().path(), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 64 * kRecordSize) return -1;  // the file has 31 records of interest; larger adds nothing
    constexpr int kExerciseRecord = HandOffFile::kExerciseRecord;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    writeBytes(bytes);

    const std::string request = handOff().takeExerciseRequest();
    check(request == trimmed(decodeRecord(bytes, kExerciseRecord).value_or(std::string())));
    const Cp1252Text back = utf8ToCp1252(cp1252ToUtf8(request));
    check(back.lossless && back.bytes == request);

    std::string expected = bytes;
    const std::size_t at = (kExerciseRecord - 1) * kRecordSize;
    if (expected.size() < at) expected.resize(at, '\0');
    expected.replace(at, std::min(kRecordSize, expected.size() - at), *encodeRecord(""));
    check(fileBytes() == expected);
    check(handOff().takeExerciseRequest().empty());
    check(fileBytes() == expected);
    return 0;
}

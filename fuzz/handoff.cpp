// Any bytes as the suite's hand-off file, read at activation as the main
// window does it: record 31 read from disk and trimmed, then emptied in place.
// Checked: the record read from disk is the record of the bytes; the request
// comes back to the same bytes through its text; emptying it changes that
// record only, and the file reads empty there afterwards.
#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include "common/cp1252.h"
#include "common/numbers.h"
#include "common/recordfile.h"
#include "fuzz/check.h"
#include "fuzz/fuzzfile.h"

namespace {

using namespace molvane;

constexpr int kExerciseRecord = 31;

using fuzz::check;

std::string fileBytes() {
    std::ifstream in(fuzz::scratchFile(), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 64 * kRecordSize) return -1;  // the file has 31 records of interest; larger adds nothing
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const RecordFile handOff(fuzz::scratchFileWith(bytes));

    const auto record = handOff.read(kExerciseRecord);
    check(record == decodeRecord(bytes, kExerciseRecord));
    const std::string request(trimmed(record.value_or(std::string())));
    const Cp1252Text back = utf8ToCp1252(cp1252ToUtf8(request));
    check(back.lossless && back.bytes == request);

    check(handOff.write(kExerciseRecord, ""));
    std::string expected = bytes;
    const std::size_t at = (kExerciseRecord - 1) * kRecordSize;
    if (expected.size() < at) expected.resize(at, '\0');
    expected.replace(at, std::min(kRecordSize, expected.size() - at), *encodeRecord(""));
    check(fileBytes() == expected);
    check(handOff.read(kExerciseRecord) == std::string());
    return 0;
}

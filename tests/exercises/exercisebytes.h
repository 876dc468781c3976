// An exercise file's bytes from its records written as UTF-8 text, stored in
// Windows-1252 as the program's own files are.
#pragma once

#include <string>
#include <vector>

#include "common/cp1252.h"
#include "common/recordfile.h"

namespace molvane {

inline std::string exerciseBytes(const std::vector<std::string>& records) {
    std::vector<std::string> bytes;
    for (const auto& r : records) bytes.push_back(utf8ToCp1252(r).bytes);
    return *encodeRecords(bytes);
}

}  // namespace molvane

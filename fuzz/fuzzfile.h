// A scratch file of the fuzzing process, for targets whose reader takes a
// path: each input is written into it before being read back from disk.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

namespace molvane::fuzz {

inline const std::filesystem::path& scratchFile() {
    // Removed when the process ends, by the destructor of the static that
    // holds its name (never after that name is gone).
    struct Scratch {
        std::filesystem::path path =
            std::filesystem::temp_directory_path() / ("molvane-fuzz-" + std::to_string(::getpid()) + ".tmp");
        ~Scratch() {
            std::error_code ignored;
            std::filesystem::remove(path, ignored);
        }
    };
    static const Scratch scratch;
    return scratch.path;
}

// The scratch file holding exactly bytes; aborts when it cannot be written,
// which would make every later check meaningless.
inline const std::filesystem::path& scratchFileWith(std::string_view bytes) {
    std::ofstream out(scratchFile(), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) std::abort();
    return scratchFile();
}

}  // namespace molvane::fuzz

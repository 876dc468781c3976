// The benchmarks' memory figures, read from the kernel's account of this process.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace molvane::bench {

// A line of /proc/self/status ("VmRSS", "VmHWM") in kB; -1 where there is none.
inline long statusKilobytes(const char* key) {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (!status) return -1;
    char line[256];
    long kb = -1;
    const std::size_t length = std::strlen(key);
    while (std::fgets(line, sizeof line, status)) {
        if (std::strncmp(line, key, length) == 0 && line[length] == ':') {
            kb = std::strtol(line + length + 1, nullptr, 10);
            break;
        }
    }
    std::fclose(status);
    return kb;
}

}  // namespace molvane::bench

// Paths that name something other than a regular file, for the readers'
// tests: a FIFO, devices and a folder. A reader that waited on one of them
// would hang the test; these helpers turn such a wait into a failure.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <future>
#include <string>
#include <vector>

namespace molvane::test {

struct NonRegularPath {
    std::string kind;
    std::filesystem::path path;
};

// A FIFO and a folder made in dir, and two devices every Linux system has.
inline std::vector<NonRegularPath> nonRegularPaths(const std::filesystem::path& dir) {
    std::filesystem::create_directories(dir / "dossier.C11");
    std::vector<NonRegularPath> paths{
        {"null device", "/dev/null"}, {"zero device", "/dev/zero"}, {"folder", dir / "dossier.C11"}};
#ifndef __EMSCRIPTEN__  // Node's file system makes no FIFO
    ::mkfifo((dir / "tube.C11").c_str(), 0644);
    paths.insert(paths.begin(), {"fifo", dir / "tube.C11"});
#endif
    return paths;
}

// Runs call and tells whether it came back within a few seconds. While it
// runs, both ends of a FIFO at fifo (if there is one) are held open here, so
// that neither an open nor a read of it could return on its own; when time is
// up they are closed, which ends any read waiting on them, and the call is
// reported as having blocked. Whatever the FIFO received is left in written.
inline bool returnsPromptly(const std::filesystem::path& fifo, const std::function<void()>& call,
                            std::string* written = nullptr) {
#ifdef __EMSCRIPTEN__
    // A WebAssembly program under Node has one thread and no FIFO: the call
    // runs here, and a wait would be the test's time-out.
    (void)fifo;
    (void)written;
    call();
    return true;
#else
    std::error_code ec;
    const int end = std::filesystem::is_fifo(fifo, ec) ? ::open(fifo.c_str(), O_RDWR | O_NONBLOCK) : -1;
    auto done = std::async(std::launch::async, call);
    const bool prompt = done.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    if (end >= 0) {
        char buffer[4096];
        for (ssize_t n; (n = ::read(end, buffer, sizeof buffer)) > 0;)
            if (written) written->append(buffer, static_cast<std::size_t>(n));
        ::close(end);
    }
    done.wait();
    return prompt;
#endif
}

}  // namespace molvane::test

#include "recordfile.h"

#include <cerrno>
#include <cstdint>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace molvane {

namespace {

// One opened file, closed with the object. Opening never waits: on POSIX the
// open is non-blocking (a FIFO without a writer opens at once), and anything
// but a regular file is closed again before a byte is read or written.
class OpenedFile {
public:
    OpenedFile(const std::filesystem::path& path, bool update) {
        // A name that already shows a FIFO or a device is not even opened:
        // opening some devices acts on them.
        std::error_code ec;
        const auto kind = std::filesystem::status(path, ec).type();
        if (!ec && kind != std::filesystem::file_type::regular &&
            kind != std::filesystem::file_type::not_found) {
            status_ = FileRead::NotRegularFile;
            return;
        }
#ifdef _WIN32
        fd_ = ::_wopen(path.c_str(), (update ? _O_RDWR | _O_CREAT : _O_RDONLY) | _O_BINARY,
                       _S_IREAD | _S_IWRITE);
#else
        fd_ = ::open(path.c_str(), (update ? O_RDWR | O_CREAT : O_RDONLY) | O_NONBLOCK | O_CLOEXEC | O_NOCTTY,
                     0666);
#endif
        if (fd_ < 0) return;
            // The check that counts is on what was opened, whatever the name shows now.
#ifdef _WIN32
        struct _stat64 st;
        const bool known = ::_fstat64(fd_, &st) == 0;
        const bool regular = known && (st.st_mode & _S_IFMT) == _S_IFREG;
#else
        struct stat st;
        const bool known = ::fstat(fd_, &st) == 0;
        const bool regular = known && S_ISREG(st.st_mode);
#endif
        if (!regular) {
            close();
            status_ = known ? FileRead::NotRegularFile : FileRead::CannotOpen;
            return;
        }
        size_ = static_cast<std::uint64_t>(st.st_size);
        status_ = FileRead::Ok;
    }
    ~OpenedFile() {
        close();
    }
    OpenedFile(const OpenedFile&) = delete;
    OpenedFile& operator=(const OpenedFile&) = delete;

    FileRead status() const {
        return status_;
    }
    std::uint64_t size() const {
        return size_;
    }

    // Reads up to out.size() bytes from offset; out keeps what was read.
    bool readAt(std::uint64_t offset, std::string& out) const {
        if (!seek(offset)) return false;
        std::size_t got = 0;
        while (got < out.size()) {
            const auto chunk = static_cast<unsigned>(std::min<std::size_t>(out.size() - got, 1u << 30));
#ifdef _WIN32
            const long long n = ::_read(fd_, out.data() + got, chunk);
#else
            const long long n = ::read(fd_, out.data() + got, chunk);
#endif
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return false;
            if (n == 0) break;
            got += static_cast<std::size_t>(n);
        }
        out.resize(got);
        return true;
    }

    bool writeAt(std::uint64_t offset, std::string_view bytes) const {
        if (!seek(offset)) return false;
        while (!bytes.empty()) {
            const auto chunk = static_cast<unsigned>(std::min<std::size_t>(bytes.size(), 1u << 30));
#ifdef _WIN32
            const long long n = ::_write(fd_, bytes.data(), chunk);
#else
            const long long n = ::write(fd_, bytes.data(), chunk);
#endif
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
        return true;
    }

    bool close() {
        if (fd_ < 0) return true;
#ifdef _WIN32
        const bool ok = ::_close(fd_) == 0;
#else
        const bool ok = ::close(fd_) == 0;
#endif
        fd_ = -1;
        return ok;
    }

private:
    bool seek(std::uint64_t offset) const {
#ifdef _WIN32
        return ::_lseeki64(fd_, static_cast<long long>(offset), SEEK_SET) >= 0;
#else
        return ::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) >= 0;
#endif
    }

    int fd_ = -1;
    FileRead status_ = FileRead::CannotOpen;
    std::uint64_t size_ = 0;
};

}  // namespace

std::optional<std::string> encodeRecord(std::string_view value) {
    if (value.size() > kRecordValueMax) return std::nullopt;
    std::string record(kRecordSize, '\0');
    record[0] = static_cast<char>(value.size() & 0xFF);
    record[1] = static_cast<char>((value.size() >> 8) & 0xFF);
    record.replace(2, value.size(), value);
    return record;
}

std::optional<std::string> decodeRecord(std::string_view data, int n) {
    if (n < 1) return std::nullopt;
    const std::size_t offset = static_cast<std::size_t>(n - 1) * kRecordSize;
    if (offset >= data.size()) return std::string();
    if (offset + 2 > data.size()) return std::nullopt;
    const std::size_t length = static_cast<unsigned char>(data[offset]) |
                               (static_cast<std::size_t>(static_cast<unsigned char>(data[offset + 1])) << 8);
    if (length > kRecordValueMax || offset + 2 + length > data.size()) return std::nullopt;
    return std::string(data.substr(offset + 2, length));
}

std::optional<std::string> encodeRecords(const std::vector<std::string>& values) {
    std::string data;
    data.reserve(values.size() * kRecordSize);
    for (const auto& v : values) {
        auto record = encodeRecord(v);
        if (!record) return std::nullopt;
        data += *record;
    }
    return data;
}

int recordCount(std::string_view data) {
    return static_cast<int>((data.size() + kRecordSize - 1) / kRecordSize);
}

std::optional<std::string> RecordFile::read(int n) const {
    // The file is opened before anything else, so that a file that cannot be
    // read fails for every record, those beyond its end included.
    const OpenedFile file(path_, false);
    if (file.status() != FileRead::Ok || n < 1) return std::nullopt;
    const std::uint64_t offset = static_cast<std::uint64_t>(n - 1) * kRecordSize;
    if (offset >= file.size()) return std::string();
    std::string record(kRecordSize, '\0');
    if (!file.readAt(offset, record)) return std::nullopt;
    return decodeRecord(record, 1);
}

bool RecordFile::write(int n, std::string_view value) const {
    const auto record = encodeRecord(value);
    if (n < 1 || !record) return false;
    OpenedFile file(path_, true);
    if (file.status() != FileRead::Ok) return false;
    const std::uint64_t offset = static_cast<std::uint64_t>(n - 1) * kRecordSize;
    // Records between the old end and record n become empty records.
    if (file.size() < offset && !file.writeAt(file.size(), std::string(offset - file.size(), '\0')))
        return false;
    return file.writeAt(offset, *record) && file.close();
}

FileBytes readRegularFile(const std::filesystem::path& path, std::size_t maxBytes, bool whole) {
    FileBytes result;
    const OpenedFile file(path, false);
    result.status = file.status();
    if (result.status != FileRead::Ok) return result;
    if (whole && file.size() > maxBytes) {
        result.status = FileRead::TooLarge;
        return result;
    }
    // One byte more than allowed tells a file that grew since it was opened.
    result.bytes.assign(
        static_cast<std::size_t>(std::min<std::uint64_t>(file.size(), maxBytes)) + (whole ? 1 : 0), '\0');
    if (!file.readAt(0, result.bytes)) {
        result = FileBytes{FileRead::CannotOpen, {}};
    } else if (result.bytes.size() > maxBytes) {
        if (whole)
            result = FileBytes{FileRead::TooLarge, {}};
        else
            result.bytes.resize(maxBytes);
    }
    return result;
}

std::optional<std::string> readWholeFile(const std::filesystem::path& path, std::size_t maxBytes) {
    FileBytes file = readRegularFile(path, maxBytes, true);
    if (file.status != FileRead::Ok) return std::nullopt;
    return std::move(file.bytes);
}

}  // namespace molvane

// Record files: fixed 128-byte records numbered from 1, each holding one text
// as a 16-bit little-endian length followed by that many Windows-1252 bytes.
// Configuration, exercise and hand-off files all use this layout.
//
// Every file access here opens regular files only: a path naming a FIFO, a
// device, a socket or a folder fails at once instead of waiting for data that
// may never come. The check is made on the opened file, so a name swapped
// between a check and the open cannot slip through.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace molvane {

constexpr std::size_t kRecordSize = 128;
constexpr std::size_t kRecordValueMax = kRecordSize - 2;

// One record's 128 bytes for a value (the rest of the record is zeros);
// nothing when the value is longer than a record can hold.
std::optional<std::string> encodeRecord(std::string_view value);

// The record n (from 1) of a file's bytes: empty beyond the end of the data;
// nothing when the record is malformed (a length over 126 or bytes missing).
std::optional<std::string> decodeRecord(std::string_view data, int n);

// A whole file made of the given records, in order; nothing when one is too long.
std::optional<std::string> encodeRecords(const std::vector<std::string>& values);

// Number of records a file's bytes hold, a short last record counting as one.
int recordCount(std::string_view data);

// Access to one record file on disk. The file is opened and closed by each call.
class RecordFile {
public:
    explicit RecordFile(std::filesystem::path path) : path_(std::move(path)) {}

    const std::filesystem::path& path() const { return path_; }

    // Record n: empty beyond the end of the file; nothing when the file
    // cannot be opened (missing, unreadable, not a regular file) or the
    // record is malformed, whatever n is.
    std::optional<std::string> read(int n) const;

    // Writes record n in place, creating the file (and empty records before n)
    // as needed; the other records are left untouched. Fails for a value over
    // 126 bytes, a record number below 1, a path that is not a regular file
    // or a write error.
    bool write(int n, std::string_view value) const;

private:
    std::filesystem::path path_;
};

enum class FileRead {
    Ok,
    CannotOpen,      // missing, unreadable, or a read error
    NotRegularFile,  // a FIFO, device, socket or folder: never waited on
    TooLarge,        // only when the whole file was asked for
};

struct FileBytes {
    FileRead status = FileRead::CannotOpen;
    std::string bytes;
};

// The bytes of a regular file. With whole, a file longer than maxBytes is
// TooLarge and nothing is read; otherwise its first maxBytes bytes are given.
FileBytes readRegularFile(const std::filesystem::path& path, std::size_t maxBytes, bool whole);

// Reads a whole regular file, refusing files larger than maxBytes.
std::optional<std::string> readWholeFile(const std::filesystem::path& path, std::size_t maxBytes);

}  // namespace molvane

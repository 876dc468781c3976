#include "recordfile.h"

#include <fstream>
#include <system_error>

namespace molvane {

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
    if (n < 1) return std::nullopt;
    std::error_code ec;
    const auto size = std::filesystem::file_size(path_, ec);
    if (ec) {
        // A file that does not exist yet holds only empty records.
        if (!std::filesystem::exists(path_, ec) && !ec) return std::string();
        return std::nullopt;
    }
    const std::size_t offset = static_cast<std::size_t>(n - 1) * kRecordSize;
    if (offset >= size) return std::string();
    std::ifstream in(path_, std::ios::binary);
    if (!in) return std::nullopt;
    std::string record(kRecordSize, '\0');
    in.seekg(static_cast<std::streamoff>(offset));
    in.read(record.data(), static_cast<std::streamsize>(kRecordSize));
    record.resize(static_cast<std::size_t>(in.gcount()));
    return decodeRecord(record, 1);
}

bool RecordFile::write(int n, std::string_view value) const {
    if (n < 1) return false;
    const auto record = encodeRecord(value);
    if (!record) return false;
    std::error_code ec;
    if (!std::filesystem::exists(path_, ec)) {
        if (ec) return false;
        std::ofstream create(path_, std::ios::binary);
        if (!create) return false;
    }
    std::fstream file(path_, std::ios::binary | std::ios::in | std::ios::out);
    if (!file) return false;
    file.seekg(0, std::ios::end);
    const auto size = static_cast<std::size_t>(file.tellg());
    const std::size_t offset = static_cast<std::size_t>(n - 1) * kRecordSize;
    if (size < offset) {
        // Records between the old end and record n become empty records.
        file.seekp(static_cast<std::streamoff>(size));
        const std::string zeros(offset - size, '\0');
        file.write(zeros.data(), static_cast<std::streamsize>(zeros.size()));
    }
    file.seekp(static_cast<std::streamoff>(offset));
    file.write(record->data(), static_cast<std::streamsize>(record->size()));
    file.flush();
    return static_cast<bool>(file);
}

std::optional<std::string> readWholeFile(const std::filesystem::path& path, std::size_t maxBytes) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size > maxBytes) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string data(static_cast<std::size_t>(size), '\0');
    in.read(data.data(), static_cast<std::streamsize>(size));
    if (static_cast<std::size_t>(in.gcount()) != size) return std::nullopt;
    return data;
}

}  // namespace molvane

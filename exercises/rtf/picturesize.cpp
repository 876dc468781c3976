#include "picturesize.h"

#include <array>
#include <cstdint>

namespace molvane::rtf {

namespace {

// PNG allows sizes up to 2^31 - 1, but its decoders refuse a side longer
// than a million pixels.
constexpr std::uint32_t kMaxPngSide = 1000000;

std::uint32_t bigEndian(std::string_view bytes, std::size_t at, int count) {
    std::uint32_t v = 0;
    for (int k = 0; k < count; ++k) v = (v << 8) | static_cast<unsigned char>(bytes[at + k]);
    return v;
}

std::uint32_t crc32(std::string_view bytes) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (char ch : bytes) c = table[(c ^ static_cast<unsigned char>(ch)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

// The signature, then the IHDR chunk: its length (13), name, width, height,
// five one-byte fields and a checksum over name and data.
std::optional<PictureHeader> pngHeader(std::string_view bytes) {
    if (bytes.size() < 33 || bigEndian(bytes, 8, 4) != 13 || bytes.substr(12, 4) != "IHDR")
        return std::nullopt;
    if (crc32(bytes.substr(12, 17)) != bigEndian(bytes, 29, 4)) return std::nullopt;
    const std::uint32_t width = bigEndian(bytes, 16, 4);
    const std::uint32_t height = bigEndian(bytes, 20, 4);
    if (width == 0 || height == 0 || width > kMaxPngSide || height > kMaxPngSide) return std::nullopt;
    return PictureHeader{richtext::PictureFormat::Png, static_cast<int>(width), static_cast<int>(height)};
}

// Segments follow the start marker until a frame header gives the size;
// the markers without a length (RSTn, TEM) and fill bytes are passed over.
std::optional<PictureHeader> jpegHeader(std::string_view bytes) {
    std::size_t at = 2;
    while (at + 1 < bytes.size()) {
        if (static_cast<unsigned char>(bytes[at]) != 0xFF) return std::nullopt;
        const auto marker = static_cast<unsigned char>(bytes[at + 1]);
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        at += 2;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;
        if (marker == 0xD9 || marker == 0xDA || at + 2 > bytes.size()) return std::nullopt;
        const std::uint32_t length = bigEndian(bytes, at, 2);
        if (length < 2 || at + length > bytes.size()) return std::nullopt;
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (length < 8) return std::nullopt;
            const auto height = static_cast<int>(bigEndian(bytes, at + 3, 2));
            const auto width = static_cast<int>(bigEndian(bytes, at + 5, 2));
            if (width == 0 || height == 0) return std::nullopt;
            return PictureHeader{richtext::PictureFormat::Jpeg, width, height};
        }
        at += length;
    }
    return std::nullopt;
}

}  // namespace

std::optional<PictureHeader> readPictureHeader(std::string_view bytes) {
    if (bytes.starts_with("\x89PNG\r\n\x1a\n")) return pngHeader(bytes);
    if (bytes.starts_with("\xFF\xD8\xFF")) return jpegHeader(bytes);
    return std::nullopt;
}

}  // namespace molvane::rtf

// Windows-1252 bytes, as stored in record files, to and from UTF-8 text.
#pragma once

#include <string>
#include <string_view>

namespace molvane {

// Every byte has a character (the five bytes that Windows-1252 leaves
// undefined map to the C1 controls of the same value), so this never fails.
std::string cp1252ToUtf8(std::string_view bytes);

// The character of one byte; every one is a single UTF-16 unit.
char16_t cp1252Character(unsigned char byte);

struct Cp1252Text {
    std::string bytes;
    bool lossless = true;  // false when a character had no byte and became "?"
};

// Characters outside Windows-1252 (and malformed UTF-8) become "?", and the
// result says so: callers decide whether that may be stored.
Cp1252Text utf8ToCp1252(std::string_view text);

}  // namespace molvane

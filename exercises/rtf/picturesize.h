// The format and pixel size a picture's bytes announce, read from their
// header alone, so that the bounds on pictures hold before any is decoded.
#pragma once

#include <optional>
#include <string_view>

#include "richtext.h"

namespace molvane::rtf {

struct PictureHeader {
    richtext::PictureFormat format;
    int width;
    int height;
};

// Nothing for bytes that are neither PNG nor JPEG, or whose header is damaged
// or gives no size.
std::optional<PictureHeader> readPictureHeader(std::string_view bytes);

}  // namespace molvane::rtf

// Writes the rich-text model as RTF that word processors open and that the
// builder reads back into the same model.
#pragma once

#include <string>

#include "richtext.h"

namespace molvane::rtf {

// Text is Windows-1252 with \'hh escapes and \uN? for other characters;
// pictures keep their bytes and their description. Writing cannot fail.
std::string writeRtf(const richtext::Document& document);

}  // namespace molvane::rtf

// The introduction to the simulator as a rich-text document: what the text
// area shows whenever no exercise is open, on the desktop and in the page.
#pragma once

#include "exercises/rtf/richtext.h"

namespace molvane {

// A centred blue title, then paragraphs indented by 20 pixels in black
// Arial 10 with a few words in blue. Every run and paragraph mark names its
// font, size and colour, so that nothing depends on the area's defaults.
richtext::Document introductionDocument();

}  // namespace molvane

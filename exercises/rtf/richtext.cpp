#include "richtext.h"

namespace molvane::richtext {

std::u16string plainText(const std::vector<Run>& runs, const Document& document) {
    std::u16string out;
    for (const Run& run : runs) {
        if (!run.isPicture())
            out += run.text;
        else if (static_cast<std::size_t>(run.picture) < document.pictures.size())
            out += document.pictures[static_cast<std::size_t>(run.picture)].description;
    }
    return out;
}

}  // namespace molvane::richtext

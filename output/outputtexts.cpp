#include "output/outputtexts.h"

namespace molvane {

std::string copiesDescription() {
    return "De 1 à " + std::to_string(kMostCopies) + " exemplaires";
}

}  // namespace molvane

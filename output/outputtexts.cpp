#include "output/outputtexts.h"

namespace molvane {

std::string copyDownloadNotice(std::string_view fileName) {
    return "Le navigateur refuse le presse-papiers : le fichier « " + std::string(fileName) +
           " » est enregistré dans les téléchargements.";
}

std::string copiesDescription() {
    return "De 1 à " + std::to_string(kMostCopies) + " exemplaires";
}

}  // namespace molvane

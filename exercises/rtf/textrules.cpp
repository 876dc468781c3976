#include "textrules.h"

#include <array>
#include <cstdio>

namespace molvane::textrules {

std::string overwriteQuestion(std::string_view fileName) {
    return "Le fichier " + std::string(fileName) + " existe déjà.\r\nEcraser l'ancien?";
}

std::string_view fileNameOf(std::string_view path) {
    const std::size_t cut = path.find_last_of("/\\");
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

std::string withRtfExtension(std::string_view path) {
    if (fileNameOf(path).find('.') != std::string_view::npos) return std::string(path);
    return std::string(path) + ".RTF";
}

std::string textAreaName(std::string_view fich) {
    std::string name = "Énoncé et réponses";
    if (fich.empty()) return name;
    const std::size_t cut = fich.find_last_of("/\\");
    if (cut == std::string_view::npos) return name + " : " + std::string(fich);
    // "Texte: essai.rtf": what comes before the path stays.
    const std::size_t prefix = fich.find(": ");
    const std::string_view before =
        prefix != std::string_view::npos && prefix < cut ? fich.substr(0, prefix + 2) : std::string_view();
    return name + " : " + std::string(before) + std::string(fich.substr(cut + 1));
}

std::string readNotice(rtf::ReadStatus status) {
    using rtf::ReadStatus;
    switch (status) {
        case ReadStatus::Truncated:
            return "Ce fichier s'arrête avant sa fin normale : la fin du texte peut manquer.";
        case ReadStatus::Malformed:
            return "Certains passages de ce fichier sont abîmés : ils n'ont pas pu être lus.";
        case ReadStatus::TooDeep:
            return "Certaines parties de ce fichier sont imbriquées trop profondément : elles n'ont pas été "
                   "lues.";
        case ReadStatus::LimitReached:
            return "Certains tableaux, images ou polices de ce fichier dépassent ce que la zone de texte "
                   "peut "
                   "montrer : ils n'ont été lus qu'en partie.";
        case ReadStatus::TooLong:
            return "Ce texte est trop long pour la zone de texte : seul son début a été lu.";
        case ReadStatus::Ok:
        case ReadStatus::NotRtf:
        case ReadStatus::CannotOpen:
        case ReadStatus::TooLarge:
            break;
    }
    return {};
}

bool nothingLoaded(rtf::ReadStatus status) {
    return status == rtf::ReadStatus::NotRtf || status == rtf::ReadStatus::CannotOpen ||
           status == rtf::ReadStatus::TooLarge;
}

std::string recoveryQuestion(std::string_view fich, const CopyTime& written) {
    static constexpr std::array<const char*, 12> kMonths = {"janvier",   "février", "mars",     "avril",
                                                            "mai",       "juin",    "juillet",  "août",
                                                            "septembre", "octobre", "novembre", "décembre"};
    const std::string_view reopened = kReopenedPrefix;
    std::string what;
    if (fich.substr(0, reopened.size()) == reopened)
        what = std::string(fileNameOf(fich.substr(reopened.size()))) + ' ';
    else if (!fich.empty())
        what = "de l'exercice " + std::string(fileNameOf(fich)) + ' ';
    const int month = written.month >= 1 && written.month <= 12 ? written.month : 1;
    char clock[16];
    std::snprintf(clock, sizeof clock, "%02d:%02d", written.hour % 100, written.minute % 100);
    // A no-break space before the question mark, as French sets it.
    return "Molvane ne s'est pas fermé normalement.\r\nRécupérer le texte " + what + "tapé le " +
           std::to_string(written.day) + ' ' + kMonths[static_cast<std::size_t>(month - 1)] + ' ' +
           std::to_string(written.year) + " à " + clock + "\u00a0?";
}

std::string copyFaultText(CopyFaultKind fault, std::string_view where) {
    const std::string place(where);
    switch (fault) {
        case CopyFaultKind::DiskFull:
            return "Copie de secours du texte impossible : le disque de " + place +
                   " est plein. Enregistrez votre texte.";
        case CopyFaultKind::Unwritable:
            return "Copie de secours du texte impossible : le dossier " + place +
                   " est protégé en écriture. Enregistrez votre texte.";
        case CopyFaultKind::Other:
            break;
    }
    return "Copie de secours du texte impossible dans " + place + ". Enregistrez votre texte.";
}

}  // namespace molvane::textrules

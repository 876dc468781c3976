// What a user is told when a configuration file is read: the same words in
// the window's boxes and on the batch program's error output.
#pragma once

#include <string>

namespace molvane {

// The save dialog.
inline constexpr const char* kSaveTitle = "Enregistrer les paramètres.";
inline constexpr const char* kSaveNameLabel = "Nom du fichier:";
inline constexpr const char* kSaveButton = "ENREGISTRER";
inline constexpr const char* kCancelCaption = "ANNULER";
inline constexpr const char* kNoNameText = "Il faut donner un nom au fichier!";
inline constexpr const char* kWriteFailureTitle = "Enregistrement impossible";
inline constexpr const char* kWriteFailureText = "Ecriture impossible sur disque";
inline constexpr const char* kNotConfigurationTitle = "Fichier non valide";
inline constexpr const char* kNotConfigurationText = "Ce fichier ne correspond pas à cette application";
inline constexpr const char* kReadFailureTitle = "Erreur lors du chargement du fichier";
inline constexpr const char* kReadFailureText = "Lecture impossible sur disque";
inline constexpr const char* kCountsAdjustedTitle = "Nombres de particules";
// The help quotes this text word for word.
inline constexpr const char* kCountsAdjustedText =
    "Les nombres de particules de ce fichier sortaient des limites permises (de 10 à 1 000 particules en "
    "tout) : ils ont été ajustés.";

// A failed read that left counts outside the limits, brought back within
// them, says so in its one message.
inline std::string readFailureMessage(bool countsAdjusted) {
    std::string text = kReadFailureText;
    if (countsAdjusted) text += std::string("\n\n") + kCountsAdjustedText;
    return text;
}

}  // namespace molvane

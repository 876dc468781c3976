// What a user is told when a configuration file is read: the same words in
// the window's boxes and on the batch program's error output.
#pragma once

namespace molvane {

inline constexpr const char* kNotConfigurationTitle = "Fichier non valide";
inline constexpr const char* kNotConfigurationText = "Ce fichier ne correspond pas à cette application";
inline constexpr const char* kReadFailureTitle = "Erreur lors du chargement du fichier";
inline constexpr const char* kReadFailureText = "Lecture impossible sur disque";
inline constexpr const char* kCountsAdjustedTitle = "Nombres de particules";
// The help quotes this text word for word.
inline constexpr const char* kCountsAdjustedText =
    "Les nombres de particules de ce fichier sortaient des limites permises (de 10 à 1 000 particules en "
    "tout) : ils ont été ajustés.";

}  // namespace molvane

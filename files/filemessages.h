// What a user is told when a document cannot be written or read back: the
// same words for the text area's RTF files and the PDF copies.
#pragma once

namespace molvane {

inline constexpr const char* kWriteErrorTitle = "Erreur d'écriture.";
inline constexpr const char* kReadErrorTitle = "Erreur de lecture.";
inline constexpr const char* kDriveAdvice = "Vérifier l'état du lecteur et le nom du fichier.";

}  // namespace molvane

// What the text area says and how it names and keeps its texts, for the
// desktop and the page alike: the question before typing is lost, the file
// names of a save, the notice of a file read in part, and the recovery
// copy's timing and question.
#pragma once

#include <string>
#include <string_view>

#include "rtfbuilder.h"

namespace molvane::textrules {

inline constexpr const char* kDiscardTitle = "Abandon des données?";
inline constexpr const char* kDiscardText = "Attention: perte des modifications du texte.";

// The title of the box that names a saved text, where the platform asks for one.
inline constexpr const char* kSaveTextTitle = "Enregistrer le contenu de la fenêtre exercice";

inline constexpr const char* kOverwriteTitle = "Ecraser le fichier?";
// "Le fichier essai.rtf existe déjà." and "Ecraser l'ancien?" on a second line.
std::string overwriteQuestion(std::string_view fileName);

// What the file dialogs name, then the names they list, in either case.
inline constexpr const char* kRtfFilterName = "Texte au format RTF";
inline constexpr const char* kRtfPatterns = "*.RTF *.rtf";
// A name whose file part has no extension gets ".RTF".
std::string withRtfExtension(std::string_view path);
// The file part of a path, of either kind of separator.
std::string_view fileNameOf(std::string_view path);

// fich of a text reopened with "Retrouver un texte" starts so.
inline constexpr const char* kReopenedPrefix = "Texte: ";

// The text area's name for a screen reader: "Énoncé et réponses", followed by
// what fich names, a path said by its file's name alone.
std::string textAreaName(std::string_view fich);

// A file read in part shows what was read, under this title and notice.
inline constexpr const char* kIncompleteReadTitle = "Lecture incomplète";
// Empty for a full read and for the statuses that read nothing.
std::string readNotice(rtf::ReadStatus status);
// Whether a read gave nothing to show: the caller says the file cannot be read.
bool nothingLoaded(rtf::ReadStatus status);

// The recovery copy is taken once typing has paused this long, and at the
// latest this long after the first change not yet copied.
inline constexpr int kCopyQuietMs = 2000;
inline constexpr int kCopyLongestMs = 25000;

inline constexpr const char* kRecoveryTitle = "Récupération du texte";
inline constexpr const char* kRecoveryYes = "Oui";
inline constexpr const char* kRecoveryNo = "Non";

// Local time of a copy's last write.
struct CopyTime {
    int year = 2000;
    int month = 1;  // 1 to 12
    int day = 1;
    int hour = 0;
    int minute = 0;
};

// The question at start about a copy left behind, naming the text by what
// fich said when it was copied.
std::string recoveryQuestion(std::string_view fich, const CopyTime& written);

// Where the page keeps its copy, as copyFaultText names it.
inline constexpr const char* kBrowserStorageName = "le stockage du navigateur";

enum class CopyFaultKind { DiskFull, Unwritable, Other };
// The status line's words when a copy cannot be written where it goes.
std::string copyFaultText(CopyFaultKind fault, std::string_view where);

}  // namespace molvane::textrules

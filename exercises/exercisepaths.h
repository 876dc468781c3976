// Names stored in exercise files, made into paths of this file system.
#pragma once

#include <QString>
#include <filesystem>

namespace molvane {

// The folder with "/" at its end, as the exercise folder `repexo` always is.
QString withFinalSeparator(const QString& folder);

// The path a name stored in an exercise file stands for, relative to folder
// (which ends with "/"). Files made on Windows may write "\" between folders
// and use any case: each part of the name is matched in any case when no
// entry has that exact name. A name that matches nothing gives folder + name,
// which then fails to open as any missing file does.
QString fileInFolder(const QString& folder, const QString& storedName);

// A path as the standard library's file functions take it.
std::filesystem::path fileSystemPath(const QString& path);

}  // namespace molvane

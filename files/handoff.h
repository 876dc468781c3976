// The suite's hand-off file TEMPKR.TMP, in the program's folder: a record
// file shared with the suite's other programs. Record 2 says whether this
// program runs ("OUI", then "NON" once closed); record 31 holds an exercise
// another program asks this one to open, which is emptied as soon as read.
// Every step that fails (a read-only folder, say) is skipped without a word:
// the file is a courtesy to the other programs, never a condition to run.
#pragma once

#include <filesystem>
#include <string>

namespace molvane {

class HandOffFile {
public:
    // The hand-off file of a program's folder.
    explicit HandOffFile(const std::filesystem::path& programFolder);

    const std::filesystem::path& path() const { return path_; }

    void markRunning() const;
    void markClosed() const;
    // The exercise asked for, trimmed, in Windows-1252 (empty when none); the
    // request is emptied at once, so that it is taken only once.
    std::string takeExerciseRequest() const;

    static constexpr int kRunningRecord = 2;
    static constexpr int kExerciseRecord = 31;

private:
    std::filesystem::path path_;
};

}  // namespace molvane

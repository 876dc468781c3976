// The plain-text sources of the course material: exercise sheets and
// configurations written as "clé = valeur" lines, and the records of the
// exercise files (".E32") and of the getting-started file built from them.
// Free of Qt, so that the rules are tested without a display.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "exercises/exercisefile.h"
#include "files/configuration.h"

namespace molvane::course {

// "clé = valeur" lines in file order. Blank lines and lines starting with "#"
// are skipped; keys are compared in lower case, values are trimmed.
struct KeyValues {
    std::vector<std::pair<std::string, std::string>> entries;
    std::vector<int> lines;  // source line of each entry, for messages

    const std::string* find(std::string_view key) const;
};

// On failure, the message names the line and what is wrong.
bool parseKeyValues(std::string_view text, KeyValues& out, std::string& error);

// A configuration as a teacher writes it. Missing keys keep the window's
// start-up values; every value is checked against what the panels accept.
//   A = 100 (B, C, D likewise), sens 1 = 50 %, sens 2 = 50 %,
//   temperature = 500 (200 to 800), duree = 20 s (a duration of the bar,
//   written as its label shows it), lignes = 51 (11 to 101),
//   vue = graphe | tableau, courbes = A B C D (the curves ticked, or "aucune"),
//   conserver = oui | non, qr = oui | non, couleur A = 0 0 255 (red green blue).
bool parseConfiguration(const KeyValues& source, ConfigurationValues& out, std::string& error);

// An exercise sheet: what the exercise window previews, and the source files
// of its documents and configurations (names of files of the sources'
// folders; the configurations are optional, and so is the correction).
struct ExerciseSheet {
    std::string title;
    int difficulty = 1;   // 1 to 3
    int hourglasses = 1;  // estimated length, 1 to 6
    std::string topics;
    std::string statement;
    std::string configuration;
    std::string correction;
    std::string correctionConfiguration;
};

bool parseExerciseSheet(const KeyValues& source, ExerciseSheet& out, std::string& error);

// The getting-started sheet: only its statement and configuration are read.
bool parseGettingStartedSheet(const KeyValues& source, ExerciseSheet& out, std::string& error);

// The topics are cut into records by the exercise file's writer.
using molvane::topicPieces;

// Names of the shipped files, relative to the program's folder.
struct ShippedNames {
    std::string statement;
    std::string configuration;  // empty: none
    std::string correction;     // empty: none
    std::string correctionConfiguration;
};

// The twelve records of an exercise file, as Windows-1252 bytes, from the
// exercise file's writer.
std::optional<std::vector<std::string>> exerciseRecords(const ExerciseSheet& sheet, const ShippedNames& names,
                                                        std::string& error);
// The two records of the getting-started file.
std::optional<std::vector<std::string>> gettingStartedRecords(const ShippedNames& names, std::string& error);

// Whether a name may be used for a shipped file: ASCII letters, digits, "-",
// "_" and ".", not starting with a ".", so that it reads the same on every
// file system and needs no quoting.
bool isPlainFileName(std::string_view name);

// The shipped name of a source file: its stem with the given extension.
std::string shippedName(std::string_view sourceName, std::string_view extension);

}  // namespace molvane::course

#include "course/generator/sheets.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>

#include "common/cp1252.h"
#include "common/numbers.h"
#include "common/recordfile.h"
#include "core/settings.h"
#include "core/simulation.h"
#include "core/table.h"

namespace molvane::course {

namespace {

std::string lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    return out;
}

// Runs of blanks become one blank, so that "1 min  30 s" and "1 min 30 s" match.
std::string collapsed(std::string_view text) {
    std::string out;
    for (char c : trimmed(text)) {
        if (c == ' ' || c == '\t') {
            if (!out.empty() && out.back() != ' ') out += ' ';
        } else {
            out += c;
        }
    }
    return out;
}

// A whole number written alone (blanks around it allowed).
std::optional<int> wholeNumber(std::string_view text) {
    const std::string_view t = trimmed(text);
    if (t.empty()) return std::nullopt;
    int value = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (ec != std::errc() || end != t.data() + t.size()) return std::nullopt;
    return value;
}

std::string entryError(const KeyValues& source, std::size_t i, const std::string& what) {
    return "ligne " + std::to_string(source.lines[i]) + " (" + source.entries[i].first + ") : " + what;
}

std::optional<bool> yesNo(std::string_view value) {
    const std::string v = lower(trimmed(value));
    if (v == "oui") return true;
    if (v == "non") return false;
    return std::nullopt;
}

// Runs handle(key, value, fail) on each entry until one returns false; fail
// writes the message, naming the entry's line, and returns false.
template <typename Handle>
bool eachEntry(const KeyValues& source, std::string& error, Handle handle) {
    for (std::size_t i = 0; i < source.entries.size(); ++i) {
        const auto fail = [&](const std::string& what) {
            error = entryError(source, i, what);
            return false;
        };
        if (!handle(source.entries[i].first, source.entries[i].second, fail)) return false;
    }
    return true;
}

int speciesIndex(char letter) {
    return letter >= 'a' && letter <= 'd' ? letter - 'a' : -1;
}

bool toRecordText(std::string_view utf8, std::string& out) {
    Cp1252Text text = utf8ToCp1252(utf8);
    if (!text.lossless || text.bytes.size() > kRecordValueMax) return false;
    out = std::move(text.bytes);
    return true;
}

}  // namespace

const std::string* KeyValues::find(std::string_view key) const {
    for (const auto& [k, v] : entries)
        if (k == key) return &v;
    return nullptr;
}

bool parseKeyValues(std::string_view text, KeyValues& out, std::string& error) {
    out = {};
    int lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        line = trimmed(line);
        if (line.empty() || line.front() == '#') continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || trimmed(line.substr(0, equals)).empty()) {
            error = "ligne " + std::to_string(lineNumber) + " : « clé = valeur » attendu";
            return false;
        }
        std::string key = collapsed(lower(line.substr(0, equals)));
        if (out.find(key)) {
            error = "ligne " + std::to_string(lineNumber) + " : « " + key + " » est déjà donné";
            return false;
        }
        out.entries.emplace_back(std::move(key), std::string(trimmed(line.substr(equals + 1))));
        out.lines.push_back(lineNumber);
    }
    return true;
}

bool parseConfiguration(const KeyValues& source, ConfigurationValues& out, std::string& error) {
    out = {};
    const Parameters window;
    for (int s = 0; s < 4; ++s) out.colours[s] = static_cast<std::int32_t>(window.colours[s]);

    const bool read =
        eachEntry(source, error, [&](const std::string& key, const std::string& value, auto fail) {
            if (key.size() == 1 && speciesIndex(key[0]) >= 0) {
                const auto n = wholeNumber(value);
                if (!n || *n < 0 || value.find_first_not_of("0123456789") != std::string::npos)
                    return fail("un nombre entier de particules est attendu");
                out.counts[speciesIndex(key[0])] = value;
            } else if (key == "sens 1" || key == "sens 2") {
                std::string_view v = trimmed(value);
                if (!v.empty() && v.back() == '%') v.remove_suffix(1);
                const auto p = wholeNumber(v);
                if (!p || *p < 0 || *p > 100) return fail("un pourcentage de 0 à 100 est attendu");
                out.sensePositions[key == "sens 1" ? 0 : 1] =
                    static_cast<std::int16_t>(percentBarPosition(*p));
            } else if (key == "temperature") {
                const auto t = wholeNumber(value);
                if (!t || *t < 200 || *t > 800) return fail("une position de 200 à 800 est attendue");
                out.temperature = static_cast<std::int16_t>(*t);
            } else if (key == "duree") {
                bool found = false;
                for (int position = 1; position <= 12 && !found; ++position) {
                    if (collapsed(durationLabel(*durationSeconds(position))) == collapsed(value)) {
                        out.durationPosition = static_cast<std::int16_t>(position);
                        found = true;
                    }
                }
                if (!found)
                    return fail(
                        "une durée de la barre est attendue (10 s, 20 s, 30 s, 1 min, 1 min 30 s, ... 2 h)");
            } else if (key == "lignes") {
                const auto rows = wholeNumber(value);
                if (!rows || *rows < kFewestTableRows || *rows > kMostTableRows)
                    return fail("un nombre de lignes de 11 à 101 est attendu");
                out.rowsPosition = static_cast<std::int16_t>(rowsBarPosition(*rows));
            } else if (key == "vue") {
                const std::string v = lower(trimmed(value));
                if (v != "graphe" && v != "tableau") return fail("« graphe » ou « tableau » est attendu");
                out.views = {v == "graphe", v == "tableau"};
            } else if (key == "courbes") {
                out.curves = {false, false, false, false};
                const std::string v = lower(value);
                if (collapsed(v) != "aucune") {
                    for (char c : v) {
                        if (c == ' ' || c == ',') continue;
                        if (speciesIndex(c) < 0)
                            return fail("des lettres A, B, C, D ou « aucune » sont attendues");
                        out.curves[speciesIndex(c)] = true;
                    }
                }
            } else if (key == "conserver" || key == "qr") {
                const auto flag = yesNo(value);
                if (!flag) return fail("« oui » ou « non » est attendu");
                (key == "qr" ? out.showQr : out.keepCurves) = *flag;
            } else if (key.size() == 9 && key.starts_with("couleur ") && speciesIndex(key[8]) >= 0) {
                std::array<int, 3> rgbValues{};
                std::string_view rest = value;
                for (int& component : rgbValues) {
                    rest = trimmed(rest);
                    const std::size_t blank = rest.find(' ');
                    const auto c = wholeNumber(rest.substr(0, blank));
                    if (!c || *c < 0 || *c > 255)
                        return fail("trois nombres de 0 à 255 (rouge vert bleu) sont attendus");
                    component = *c;
                    rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank);
                }
                if (!trimmed(rest).empty())
                    return fail("trois nombres de 0 à 255 (rouge vert bleu) sont attendus");
                out.colours[speciesIndex(key[8])] =
                    static_cast<std::int32_t>(rgb(rgbValues[0], rgbValues[1], rgbValues[2]));
            } else {
                return fail("clé inconnue");
            }
            return true;
        });
    if (!read) return false;
    if (countsWithinLimits(out.counts)) {
        error = "le nombre total de particules doit être de 10 à 1 000";
        return false;
    }
    return true;
}

namespace {

bool parseSheet(const KeyValues& source, ExerciseSheet& out, std::string& error, bool gettingStarted) {
    out = {};
    std::array<bool, 3> seen{};  // titre, difficulte, sabliers
    const bool read =
        eachEntry(source, error, [&](const std::string& key, const std::string& value, auto fail) {
            const auto fileName = [&](std::string& field) {
                if (!isPlainFileName(value))
                    return fail("un nom de fichier sans espace ni accent est attendu");
                field = value;
                return true;
            };
            if (key == "enonce") {
                if (!fileName(out.statement)) return false;
            } else if (key == "configuration") {
                if (!fileName(out.configuration)) return false;
            } else if (gettingStarted) {
                return fail("clé inconnue (seules « enonce » et « configuration » sont lues)");
            } else if (key == "corrige") {
                if (!fileName(out.correction)) return false;
            } else if (key == "configuration-corrige") {
                if (!fileName(out.correctionConfiguration)) return false;
            } else if (key == "titre") {
                std::string bytes;
                if (value.empty() || !toRecordText(value, bytes))
                    return fail("un titre de 1 à 126 caractères de l'alphabet latin est attendu");
                out.title = value;
                seen[0] = true;
            } else if (key == "difficulte") {
                const auto d = wholeNumber(value);
                if (!d || *d < 1 || *d > 3) return fail("un niveau de 1 à 3 est attendu");
                out.difficulty = *d;
                seen[1] = true;
            } else if (key == "sabliers") {
                const auto n = wholeNumber(value);
                if (!n || *n < 1 || *n > 6) return fail("un nombre de sabliers de 1 à 6 est attendu");
                out.hourglasses = *n;
                seen[2] = true;
            } else if (key == "notions") {
                if (value.empty() || !topicPieces(value))
                    return fail("des notions de 1 à 4 × 126 caractères sont attendues");
                out.topics = value;
            } else {
                return fail("clé inconnue");
            }
            return true;
        });
    if (!read) return false;
    if (out.statement.empty()) {
        error = "« enonce » manque";
        return false;
    }
    if (gettingStarted) return true;
    static constexpr std::array<const char*, 3> kNames{"titre", "difficulte", "sabliers"};
    for (std::size_t k = 0; k < seen.size(); ++k) {
        if (!seen[k]) {
            error = std::string("« ") + kNames[k] + " » manque";
            return false;
        }
    }
    if (out.topics.empty()) {
        error = "« notions » manque";
        return false;
    }
    if (!out.correctionConfiguration.empty() && out.correction.empty()) {
        error = "« configuration-corrige » sans « corrige »";
        return false;
    }
    return true;
}

}  // namespace

bool parseExerciseSheet(const KeyValues& source, ExerciseSheet& out, std::string& error) {
    return parseSheet(source, out, error, false);
}

bool parseGettingStartedSheet(const KeyValues& source, ExerciseSheet& out, std::string& error) {
    return parseSheet(source, out, error, true);
}

std::optional<std::vector<std::string>> exerciseRecords(const ExerciseSheet& sheet, const ShippedNames& names,
                                                        std::string& error) {
    // The program's own writer, so that what is shipped is what a teacher's
    // exercise would be.
    ExerciseFields fields;
    fields.statement = names.statement;
    fields.configuration = names.configuration;
    fields.correction = names.correction;
    fields.correctionConfiguration = names.correctionConfiguration;
    fields.difficulty = sheet.difficulty;
    fields.topics = sheet.topics;
    fields.title = sheet.title;
    fields.hourglasses = sheet.hourglasses;
    ExerciseRecords written = exerciseFileRecords(fields);
    if (!written.refusal) return std::move(written.records);
    switch (written.refusal->field) {
        case ExerciseField::Title:
            error = "titre trop long";
            break;
        case ExerciseField::Topics:
            error = "notions trop longues";
            break;
        case ExerciseField::Difficulty:
        case ExerciseField::Hourglasses:
            error = "niveau ou sabliers hors limites";
            break;
        default:
            error = "nom de fichier trop long";
            break;
    }
    return std::nullopt;
}

std::optional<std::vector<std::string>> gettingStartedRecords(const ShippedNames& names, std::string& error) {
    std::vector<std::string> records(2);
    if (!toRecordText(names.statement, records[0]) || !toRecordText(names.configuration, records[1])) {
        error = "nom de fichier trop long";
        return std::nullopt;
    }
    return records;
}

bool isPlainFileName(std::string_view name) {
    if (name.empty() || name.front() == '.' || name.size() > 64) return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
               c == '_' || c == '.';
    });
}

std::string shippedName(std::string_view sourceName, std::string_view extension) {
    const std::size_t dot = sourceName.find_last_of('.');
    std::string out(dot == std::string_view::npos || dot == 0 ? sourceName : sourceName.substr(0, dot));
    out += extension;
    return out;
}

}  // namespace molvane::course

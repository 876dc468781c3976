#include "batch/options.h"

#include <charconv>
#include <cmath>

namespace molvane::batch {

namespace {

// A number written with a point or a comma, whole to the end of the text.
std::optional<double> numberOf(std::string text) {
    for (char& c : text)
        if (c == ',') c = '.';
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

std::optional<std::uint32_t> seedOf(const std::string& text) {
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

std::string quoted(const std::string& text) {
    return "« " + text + " »";
}

}  // namespace

// The longest run: a day of simulated time; the longest series of seeds.
constexpr double kMostSeconds = 86400.0;
constexpr std::uint32_t kMostSeeds = 10000;

std::string seedOutput(const std::string& output, std::uint32_t seed) {
    const std::string tag = "-graine" + std::to_string(seed);
    const auto slash = output.find_last_of('/');
    const auto dot = output.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash) || dot == slash + 1)
        return output + tag;
    return output.substr(0, dot) + tag + output.substr(dot);
}

ParsedOptions parseOptions(const std::vector<std::string>& arguments) {
    Options o;
    bool secondsGiven = false;
    const auto fail = [](std::string error) { return ParsedOptions{std::nullopt, std::move(error)}; };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (a == "--help" || a == "-h" || a == "--aide") {
            o.help = true;
            return {o, {}};
        }
        const bool takesValue = a == "--duree" || a == "--graine" || a == "--graines" || a == "--processus" ||
                                a == "--format" || a == "--sortie";
        if (takesValue) {
            if (i + 1 >= arguments.size()) return fail("l'option " + quoted(a) + " attend une valeur");
            const std::string& value = arguments[++i];
            if (a == "--duree") {
                const auto seconds = numberOf(value);
                if (!seconds || !std::isfinite(*seconds) || *seconds <= 0 || *seconds > kMostSeconds)
                    return fail("la durée " + quoted(value) +
                                " n'est pas un nombre de secondes de simulation compris entre 0 et 86 400");
                o.seconds = *seconds;
                secondsGiven = true;
            } else if (a == "--graine") {
                o.seed = seedOf(value);
                if (!o.seed)
                    return fail("la graine " + quoted(value) + " n'est pas un entier de 0 à 4 294 967 295");
            } else if (a == "--graines") {
                const auto dash = value.find('-');
                const auto first = dash == std::string::npos ? std::nullopt : seedOf(value.substr(0, dash));
                const auto last = dash == std::string::npos ? std::nullopt : seedOf(value.substr(dash + 1));
                if (!first || !last || *first > *last || *last - *first >= kMostSeeds)
                    return fail(
                        "les graines " + quoted(value) +
                        " ne sont pas une suite A-B de graines entières, A au plus égal à B, 10 000 au plus");
                o.seeds = std::pair{*first, *last};
            } else if (a == "--processus") {
                const auto n = seedOf(value);
                if (!n || *n < 1 || *n > 256)
                    return fail("le nombre de processus " + quoted(value) +
                                " n'est pas un entier de 1 à 256");
                o.processes = *n;
            } else if (a == "--format") {
                if (value == "tableur")
                    o.format = CsvFormat::Spreadsheet;
                else if (value == "python")
                    o.format = CsvFormat::Python;
                else
                    return fail("le format " + quoted(value) +
                                " n'existe pas : « tableur » ou « python » est attendu");
            } else {
                if (value.empty()) return fail("l'option « --sortie » attend un nom de fichier");
                o.output = value;
            }
            continue;
        }
        if (a.size() > 1 && a[0] == '-') return fail("option inconnue " + quoted(a));
        if (!o.configuration.empty())
            return fail("un seul fichier de configuration est attendu, " + quoted(a) + " est en trop");
        o.configuration = a;
    }
    if (o.configuration.empty()) return fail("il manque le fichier de configuration (.C11) à simuler");
    if (!secondsGiven) return fail("il manque la durée de simulation : --duree SECONDES");
    if (o.seeds && o.seed) return fail("« --graine » et « --graines » ne vont pas ensemble");
    if (o.seeds && o.output.empty())
        return fail("avec « --graines », « --sortie » donne le nom des fichiers, un par graine");
    if (o.processes != 0 && !o.seeds) return fail("« --processus » ne sert qu'avec « --graines »");
    return {o, {}};
}

std::string usageText() {
    return "Usage : molvane-run FICHIER.C11 --duree SECONDES [--graine N] [--format tableur|python]\n"
           "                   [--sortie FICHIER.csv]\n"
           "        molvane-run FICHIER.C11 --duree SECONDES --graines A-B [--processus N]\n"
           "                   [--format tableur|python] --sortie FICHIER.csv\n"
           "\n"
           "Simule sans fenêtre la réaction A + B = C + D réglée par un fichier de configuration\n"
           "enregistré avec « Équilibre dynamique », pendant SECONDES secondes de temps simulé\n"
           "(un pas de 0,1 s), aussi vite que l'ordinateur le permet, et écrit une ligne par pas :\n"
           "le temps en secondes, les nombres de particules A, B, C et D et le quotient de\n"
           "réaction Qr (cellule vide quand il n'y a ni A ni B).\n"
           "\n"
           "  --duree SECONDES   temps simulé, de 0,1 s à 86 400 s (un jour)\n"
           "  --graine N         graine du hasard : une même graine redonne exactement les mêmes\n"
           "                     nombres ; sans elle, la graine vient de l'heure, comme dans la fenêtre\n"
           "  --format tableur   « ; » entre les cellules et virgule décimale, pour un tableur en\n"
           "                     français (par défaut)\n"
           "  --format python    « , » entre les cellules et point décimal, pour Python (pandas, csv)\n"
           "  --sortie FICHIER   le fichier CSV à écrire ; sans elle, la sortie standard\n"
           "  --graines A-B      simule chaque graine de A à B et écrit un fichier par graine,\n"
           "                     FICHIER-graineN.csv, identique à celui d'une simulation de cette\n"
           "                     seule graine, puis un résumé : pour chaque graine et pour toutes,\n"
           "                     les nombres finaux et la moyenne de Qr sur la seconde moitié,\n"
           "                     avec son écart-type\n"
           "  --processus N      nombre de simulations menées en même temps (par défaut, autant\n"
           "                     que l'ordinateur a de cœurs)\n"
           "  --help             affiche cette aide\n"
           "\n"
           "Le fichier est lu comme le fait la fenêtre : mêmes limites, mêmes ajustements, mêmes\n"
           "messages. Code de sortie : 0 si tout s'est bien passé, 1 pour un fichier de configuration\n"
           "illisible, 2 pour une option incorrecte, 3 si le fichier de sortie ne peut pas être écrit.\n";
}

}  // namespace molvane::batch

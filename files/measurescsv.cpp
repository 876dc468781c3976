#include "files/measurescsv.h"

#include "common/numbers.h"

namespace molvane {

namespace {

char separatorOf(CsvFormat format) {
    return format == CsvFormat::Spreadsheet ? ';' : ',';
}
char decimalOf(CsvFormat format) {
    return format == CsvFormat::Spreadsheet ? ',' : '.';
}

// The shortest text that reads back as the same double.
void appendNumber(std::string& out, double value, CsvFormat format) {
    for (char c : roundTripText(value)) out += c == '.' ? decimalOf(format) : c;
}

void appendRow(std::string& out, double t, const std::array<double, 4>& n, CsvFormat format) {
    const char sep = separatorOf(format);
    appendNumber(out, t, format);
    for (double count : n) {
        out += sep;
        appendNumber(out, count, format);
    }
    out += sep;
    if (n[0] != 0.0 && n[1] != 0.0) appendNumber(out, (n[2] * n[3]) / (n[0] * n[1]), format);
    out += '\n';
}

std::string heading(CsvFormat format, const std::string& title) {
    if (format == CsvFormat::Python) return "t_s,N_A,N_B,N_C,N_D,Qr\n";
    return title + "\nTemps (s);N(A);N(B);N(C);N(D);Qr\n";
}

// A cell of the table as a number of the file's dialect: the blanks that
// group thousands go, the user's decimal separator becomes the file's.
std::string tableCell(const std::string& text, char userDecimal, CsvFormat format) {
    std::string cell;
    for (char c : trimmed(text)) {
        if (c == ' ') continue;
        cell += c == userDecimal ? decimalOf(format) : c;
    }
    return cell;
}

}  // namespace

std::string csvStart(CsvFormat format) {
    return format == CsvFormat::Spreadsheet ? "\xEF\xBB\xBF" : "";
}

std::string samplesHeading(CsvFormat format) {
    return heading(format, "Mesures de l'enregistrement, une à chaque pas de la simulation");
}

void appendSampleRow(std::string& out, const Sample& sample, int intervalMs, CsvFormat format) {
    const double t = static_cast<double>(sample.tick) * intervalMs / 1000.0;
    appendRow(out, t,
              {double(sample.counts[0]), double(sample.counts[1]), double(sample.counts[2]),
               double(sample.counts[3])},
              format);
}

std::string keptRunSuffix(int n) {
    return "essai" + std::to_string(n);
}

std::string csvFilePath(const std::string& chosen, const std::string& suffix) {
    if (suffix.empty()) return chosen;
    // The extension is looked for in the file name only, never in a folder's
    // name; a name that starts with its only dot (.cache) has none.
    const std::size_t slash = chosen.find_last_of("/\\");
    const std::size_t name = slash == std::string::npos ? 0 : slash + 1;
    std::size_t dot = chosen.rfind('.');
    if (dot == std::string::npos || dot <= name) dot = chosen.size();
    return chosen.substr(0, dot) + "-" + suffix + chosen.substr(dot);
}

std::vector<CsvFile> measuresCsv(const Simulation& run, const GridModel& table, CsvFormat format) {
    const Parameters& p = run.parameters();
    std::string samples = csvStart(format) + samplesHeading(format);
    for (const Sample& sample : run.samples()) appendSampleRow(samples, sample, p.interval, format);
    std::vector<CsvFile> files{{"", std::move(samples)}};
    // A further part: for Python in a file of its own, in the spreadsheet's
    // file after a blank line.
    const auto add = [&](const std::string& suffix, const std::string& title, const std::string& rows) {
        if (format == CsvFormat::Python)
            files.push_back({suffix, heading(format, title) + rows});
        else
            files.front().text += '\n' + heading(format, title) + rows;
    };

    std::string values;
    for (int r = 1; r < table.rows(); ++r) {
        for (int c = 0; c < table.cols(); ++c) {
            if (c > 0) values += separatorOf(format);
            values += tableCell(table.text(r, c), p.decimalSeparator, format);
        }
        values += '\n';
    }
    add("tableau", "Tableau de valeurs", values);

    // The kept curves go by runs of four, A to D, their 61 points spread over
    // the duration they were recorded with (a new duration drops them).
    const double d = run.duration();
    const auto& curves = run.courbes();
    int kept = 0;
    for (int k = 1; k + 3 <= run.nbcourbes() && k + 3 < static_cast<int>(curves.size()); k += 4) {
        ++kept;
        std::string rows;
        for (int b = 0; b <= 60; ++b) {
            std::array<double, 4> n{};
            for (int s = 0; s < 4; ++s) {
                const CurveRecord& record = curves[k + s];
                const int species = static_cast<int>(record[63]);
                if (species >= 0 && species < 4) n[species] = record[b];
            }
            appendRow(rows, d * b / 60.0, n, format);
        }
        add(keptRunSuffix(kept),
            "Courbes conservées, essai " + std::to_string(kept) + " (moyennes par soixantième de la durée)",
            rows);
    }
    return files;
}

}  // namespace molvane

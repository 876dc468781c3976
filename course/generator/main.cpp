// molvane-course: builds the course material shipped beside the program from
// its readable sources.
//   molvane-course SOURCES PROGRAM_FOLDER MANIFEST
// SOURCES holds priseenmain.txt, exercices/*.txt (one sheet per exercise,
// named as its ".E32"), documents/*.html, configurations/*.txt and images/.
// The exercise files and molvane.PEM go into PROGRAM_FOLDER, their documents
// and configurations into its subfolder "exercices". MANIFEST lists what was
// written, relative to PROGRAM_FOLDER; files of the previous list that are no
// longer made are removed, so a renamed exercise leaves nothing behind.
//   molvane-course --aide SOURCES HELP_FOLDER
// fills the list of exercises of the help page exercices.html and the index
// of molvane.qhp, in a copy of the help's folder, from the same sheets.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>
#include <QSet>
#include <QStringList>
#include <QTextDocument>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <vector>

#include "common/recordfile.h"
#include "course/generator/documents.h"
#include "course/generator/helppage.h"
#include "course/generator/sheets.h"
#include "exercises/rtf/rtfwriter.h"
#include "files/configuration.h"

namespace {

using namespace molvane;

const QString kSubfolder = QStringLiteral("exercices");

class Builder {
public:
    Builder(QString sources, QString program) : sources_(std::move(sources)), program_(std::move(program)) {}

    bool gettingStarted();
    bool exercise(const QString& sheetPath);
    bool finish(const QString& manifestPath);

private:
    std::optional<course::KeyValues> readSource(const QString& path);
    // The shipped file of a source of the folder kind, made once however many
    // sheets name it: make gives the file's bytes from the source's path, or
    // says why it cannot.
    using Make = std::optional<QByteArray> (Builder::*)(const QString& path);
    std::optional<std::string> ship(const char* kind, const std::string& source, std::string_view extension,
                                    Make make);
    std::optional<QByteArray> documentBytes(const QString& path);
    std::optional<QByteArray> configurationFileBytes(const QString& path);
    std::optional<std::string> shipDocument(const std::string& source);
    std::optional<std::string> shipConfiguration(const std::string& source);
    std::optional<course::ShippedNames> shipFiles(const course::ExerciseSheet& sheet);
    bool writeFile(const QString& relative, const QByteArray& bytes);
    bool fail(const QString& file, const QString& message);

    QString sources_;
    QString program_;
    std::map<std::string, std::string> shipped_;  // source name -> shipped name, each made once
    QStringList written_;
};

bool Builder::fail(const QString& file, const QString& message) {
    std::fprintf(stderr, "molvane-course : %s : %s\n", qUtf8Printable(QDir::toNativeSeparators(file)),
                 qUtf8Printable(message));
    return false;
}

std::optional<course::KeyValues> Builder::readSource(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(path, QStringLiteral("lecture impossible"));
        return std::nullopt;
    }
    course::KeyValues values;
    std::string error;
    if (!course::parseKeyValues(file.readAll().toStdString(), values, error)) {
        fail(path, QString::fromStdString(error));
        return std::nullopt;
    }
    return values;
}

bool Builder::writeFile(const QString& relative, const QByteArray& bytes) {
    const QString path = QDir(program_).filePath(relative);
    written_.append(relative);
    QFile current(path);
    if (current.open(QIODevice::ReadOnly) && current.readAll() == bytes) return true;  // keep its date
    current.close();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        return fail(path, QStringLiteral("écriture impossible"));
    return true;
}

std::optional<std::string> Builder::ship(const char* kind, const std::string& source,
                                         std::string_view extension, Make make) {
    const std::string key = kind + ("/" + source);
    if (const auto it = shipped_.find(key); it != shipped_.end()) return it->second;
    const auto bytes = (this->*make)(QDir(sources_).filePath(QString::fromStdString(key)));
    if (!bytes) return std::nullopt;
    const std::string name = kSubfolder.toStdString() + "/" + course::shippedName(source, extension);
    if (!writeFile(QString::fromStdString(name), *bytes)) return std::nullopt;
    shipped_[key] = name;
    return name;
}

std::optional<QByteArray> Builder::documentBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(path, QStringLiteral("document introuvable"));
        return std::nullopt;
    }
    QTextDocument document;
    QString error;
    if (!course::buildDocument(QString::fromUtf8(file.readAll()),
                               QDir(sources_).filePath(QStringLiteral("images")), document, error)) {
        fail(path, error);
        return std::nullopt;
    }
    return rtf::RtfWriter::write(document);
}

std::optional<QByteArray> Builder::configurationFileBytes(const QString& path) {
    const auto values = readSource(path);
    if (!values) return std::nullopt;
    ConfigurationValues configuration;
    std::string error;
    if (!course::parseConfiguration(*values, configuration, error)) {
        fail(path, QString::fromStdString(error));
        return std::nullopt;
    }
    const auto bytes = configurationBytes(configuration);
    if (!bytes) {
        fail(path, QStringLiteral("valeur impossible à enregistrer"));
        return std::nullopt;
    }
    return QByteArray::fromStdString(*bytes);
}

std::optional<std::string> Builder::shipDocument(const std::string& source) {
    return ship("documents", source, ".rtf", &Builder::documentBytes);
}

std::optional<std::string> Builder::shipConfiguration(const std::string& source) {
    if (source.empty()) return std::string();
    return ship("configurations", source, ".C11", &Builder::configurationFileBytes);
}

std::optional<course::ShippedNames> Builder::shipFiles(const course::ExerciseSheet& sheet) {
    const auto statement = shipDocument(sheet.statement);
    const auto configuration = shipConfiguration(sheet.configuration);
    const auto correction =
        sheet.correction.empty() ? std::optional<std::string>("") : shipDocument(sheet.correction);
    const auto correctionConfiguration = shipConfiguration(sheet.correctionConfiguration);
    if (!statement || !configuration || !correction || !correctionConfiguration) return std::nullopt;
    return course::ShippedNames{*statement, *configuration, *correction, *correctionConfiguration};
}

bool Builder::gettingStarted() {
    const QString path = QDir(sources_).filePath(QStringLiteral("priseenmain.txt"));
    const auto values = readSource(path);
    if (!values) return false;
    course::ExerciseSheet sheet;
    std::string error;
    if (!course::parseGettingStartedSheet(*values, sheet, error))
        return fail(path, QString::fromStdString(error));
    const auto names = shipFiles(sheet);
    if (!names) return false;
    const auto records = course::gettingStartedRecords(*names, error);
    if (!records) return fail(path, QString::fromStdString(error));
    return writeFile(QStringLiteral("molvane.PEM"), QByteArray::fromStdString(*encodeRecords(*records)));
}

bool Builder::exercise(const QString& sheetPath) {
    const std::string stem = QFileInfo(sheetPath).completeBaseName().toStdString();
    if (!course::isPlainFileName(stem))
        return fail(sheetPath, QStringLiteral("nom sans espace ni accent attendu"));
    const auto values = readSource(sheetPath);
    if (!values) return false;
    course::ExerciseSheet sheet;
    std::string error;
    if (!course::parseExerciseSheet(*values, sheet, error))
        return fail(sheetPath, QString::fromStdString(error));
    const auto names = shipFiles(sheet);
    if (!names) return false;
    const auto records = course::exerciseRecords(sheet, *names, error);
    if (!records) return fail(sheetPath, QString::fromStdString(error));
    return writeFile(QString::fromStdString(stem + ".E32"),
                     QByteArray::fromStdString(*encodeRecords(*records)));
}

bool Builder::finish(const QString& manifestPath) {
    QFile previous(manifestPath);
    if (previous.open(QIODevice::ReadOnly)) {
        const QSet<QString> now(written_.begin(), written_.end());
        for (const QByteArray& line : previous.readAll().split('\n')) {
            const QString relative = QString::fromUtf8(line).trimmed();
            if (!relative.isEmpty() && !now.contains(relative))
                QFile::remove(QDir(program_).filePath(relative));
        }
        previous.close();
    }
    written_.sort();
    QSaveFile manifest(manifestPath);
    const QByteArray text = written_.join(QLatin1Char('\n')).toUtf8() + '\n';
    if (!manifest.open(QIODevice::WriteOnly) || manifest.write(text) != text.size() || !manifest.commit())
        return fail(manifestPath, QStringLiteral("écriture impossible"));
    return true;
}

// The sheets of SOURCES/exercices, in the order of their names, as the help lists them.
std::optional<std::vector<course::ListedExercise>> listedExercises(const QString& sources) {
    const QDir sheets(QDir(sources).filePath(QStringLiteral("exercices")));
    std::vector<course::ListedExercise> listed;
    for (const QString& name : sheets.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
        QFile file(sheets.filePath(name));
        course::KeyValues values;
        course::ExerciseSheet sheet;
        std::string error;
        if (!file.open(QIODevice::ReadOnly))
            error = "lecture impossible";
        else if (course::parseKeyValues(file.readAll().toStdString(), values, error))
            course::parseExerciseSheet(values, sheet, error);
        if (!error.empty()) {
            std::fprintf(stderr, "molvane-course : %s : %s\n", qUtf8Printable(file.fileName()),
                         error.c_str());
            return std::nullopt;
        }
        listed.push_back({QFileInfo(name).completeBaseName(), QString::fromStdString(sheet.title),
                          QString::fromStdString(sheet.topics), sheet.difficulty});
    }
    return listed;
}

// Rewrites a file of the help's folder, its marker replaced.
bool fillHelpFile(const QString& path, const QString& marker, const QString& replacement) {
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "molvane-course : %s : lecture impossible\n", qUtf8Printable(path));
        return false;
    }
    QString text = QString::fromUtf8(in.readAll());
    in.close();
    if (!course::replaceMarker(text, marker, replacement)) {
        std::fprintf(stderr, "molvane-course : %s : repère %s introuvable\n", qUtf8Printable(path),
                     qUtf8Printable(marker));
        return false;
    }
    QSaveFile out(path);
    const QByteArray bytes = text.toUtf8();
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        std::fprintf(stderr, "molvane-course : %s : écriture impossible\n", qUtf8Printable(path));
        return false;
    }
    return true;
}

int helpPages(const QString& sources, const QString& helpFolder) {
    const auto listed = listedExercises(sources);
    if (!listed) return 1;
    if (listed->empty()) {
        std::fprintf(stderr, "molvane-course : aucun exercice\n");
        return 1;
    }
    const QDir help(helpFolder);
    const QString page = QStringLiteral("exercices.html");
    const bool ok =
        fillHelpFile(help.filePath(page), QStringLiteral("<!-- liste des exercices -->"),
                     course::exerciseRows(*listed)) &&
        fillHelpFile(help.filePath(QStringLiteral("molvane.qhp")), QStringLiteral("<!-- exercices -->"),
                     course::exerciseKeywords(*listed, page));
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--aide") == 0) {
        QCoreApplication app(argc, argv);
        return helpPages(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    }
    if (argc != 4) {
        std::fprintf(stderr,
                     "usage : molvane-course SOURCES DOSSIER_DU_PROGRAMME LISTE\n"
                     "        molvane-course --aide SOURCES DOSSIER_DE_L_AIDE\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);  // a platform the caller chose stays
    QGuiApplication app(argc, argv);
    Builder builder(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));

    bool ok = builder.gettingStarted();
    QDir sheets(QDir(QString::fromLocal8Bit(argv[1])).filePath(QStringLiteral("exercices")));
    const QStringList names = sheets.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    if (names.isEmpty()) {
        std::fprintf(stderr, "molvane-course : aucun exercice\n");
        ok = false;
    }
    for (const QString& name : names) ok = builder.exercise(sheets.filePath(name)) && ok;
    if (!ok) return 1;
    return builder.finish(QString::fromLocal8Bit(argv[3])) ? 0 : 1;
}

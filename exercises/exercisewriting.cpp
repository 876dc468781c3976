#include "exercises/exercisewriting.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextDocument>
#include <algorithm>
#include <memory>
#include <vector>

#include "common/recordfile.h"
#include "exercises/exercisepaths.h"
#include "exercises/rtf/rtffile.h"
#include "exercises/rtf/rtfwriter.h"
#include "files/configuration.h"
#include "windowkit/messages.h"

namespace molvane {

namespace {

const QString kRefusedTitle = QStringLiteral("Enregistrement impossible");

ExerciseField fieldOf(ExerciseSourceKind kind) {
    switch (kind) {
        case ExerciseSourceKind::Statement:
            return ExerciseField::Statement;
        case ExerciseSourceKind::Configuration:
            return ExerciseField::Configuration;
        case ExerciseSourceKind::Correction:
            return ExerciseField::Correction;
        case ExerciseSourceKind::CorrectionConfiguration:
            break;
    }
    return ExerciseField::CorrectionConfiguration;
}

bool isDocument(ExerciseSourceKind kind) {
    return kind == ExerciseSourceKind::Statement || kind == ExerciseSourceKind::Correction;
}

// The name a document or configuration made from the program's current
// state takes beside the exercise file.
QString currentName(const QString& exerciseFile, ExerciseSourceKind kind) {
    const QString stem = QFileInfo(exerciseFile).completeBaseName();
    switch (kind) {
        case ExerciseSourceKind::Statement:
            return stem + QStringLiteral("-enonce.rtf");
        case ExerciseSourceKind::Configuration:
            return stem + QStringLiteral("-enonce.C11");
        case ExerciseSourceKind::Correction:
            return stem + QStringLiteral("-corrige.rtf");
        case ExerciseSourceKind::CorrectionConfiguration:
            break;
    }
    return stem + QStringLiteral("-corrige.C11");
}

ExerciseFields describedFields(const ExerciseDraft& draft) {
    ExerciseFields fields;
    fields.title = draft.title.toStdString();
    fields.topics = draft.topics.toStdString();
    fields.difficulty = draft.difficulty;
    fields.hourglasses = draft.hourglasses;
    // Placeholders: the names are checked once the files are gathered.
    std::array<std::string*, 4> names{&fields.statement, &fields.configuration, &fields.correction,
                                      &fields.correctionConfiguration};
    for (std::size_t k = 0; k < names.size(); ++k)
        if (draft.sources[k].given()) *names[k] = "-";
    return fields;
}

void refuse(QWidget* parent, const QString& text) {
    message(parent, MessageIcon::Exclamation, kRefusedTitle, text);
}

// A file the exercise writes: its name relative to the folder and its bytes.
struct Output {
    QString name;
    QByteArray bytes;
    ExerciseSourceKind kind;
};

QByteArray existingBytes(const QString& path) {
    const auto bytes = readWholeFile(fileSystemPath(path), static_cast<std::size_t>(rtf::kMaxFileBytes));
    return bytes ? QByteArray::fromStdString(*bytes) : QByteArray();
}

}  // namespace

QString fieldCaption(ExerciseField field) {
    switch (field) {
        case ExerciseField::Statement:
            return QStringLiteral("Énoncé");
        case ExerciseField::Configuration:
            return QStringLiteral("Configuration de l'énoncé");
        case ExerciseField::Correction:
            return QStringLiteral("Corrigé");
        case ExerciseField::CorrectionConfiguration:
            return QStringLiteral("Configuration du corrigé");
        case ExerciseField::Difficulty:
            return QStringLiteral("Niveau de difficulté");
        case ExerciseField::Topics:
            return QStringLiteral("Notions abordées");
        case ExerciseField::Title:
            return QStringLiteral("Titre");
        case ExerciseField::Hourglasses:
            break;
    }
    return QStringLiteral("Durée estimée");
}

QString refusalText(const ExerciseRefusal& refusal, const QString& name) {
    using Reason = ExerciseRefusal::Reason;
    const QString field = QStringLiteral("« ") + fieldCaption(refusal.field) + QStringLiteral(" »");
    const bool isName =
        refusal.field == ExerciseField::Statement || refusal.field == ExerciseField::Configuration ||
        refusal.field == ExerciseField::Correction || refusal.field == ExerciseField::CorrectionConfiguration;
    switch (refusal.reason) {
        case Reason::Missing:
            if (refusal.field == ExerciseField::Title)
                return QStringLiteral(
                           "%1 est vide : donnez un titre à l'exercice, la fenêtre des exercices "
                           "l'affiche.")
                    .arg(field);
            return QStringLiteral(
                       "%1 est vide : choisissez un document RTF ou cochez « Utiliser le texte de la "
                       "zone exercice ».")
                .arg(field);
        case Reason::TooLong:
            if (isName)
                return QStringLiteral(
                           "Le nom « %1 » retenu pour %2 a %3 caractères : le fichier d'exercice en "
                           "garde %4 au plus. Choisissez un fichier au nom plus court.")
                    .arg(name, field)
                    .arg(refusal.length)
                    .arg(refusal.limit);
            if (refusal.field == ExerciseField::Topics && refusal.length <= refusal.limit)
                return QStringLiteral(
                           "%1 ne tient pas dans le fichier d'exercice : il en garde %2 caractères au "
                           "plus, en quatre morceaux de 126 caractères coupés entre les mots. "
                           "Raccourcissez le texte ou séparez ses mots par des espaces.")
                    .arg(field)
                    .arg(refusal.limit);
            return QStringLiteral(
                       "%1 a %2 caractères : le fichier d'exercice en garde %3 au plus. "
                       "Raccourcissez-le de %4 caractères au moins.")
                .arg(field)
                .arg(refusal.length)
                .arg(refusal.limit)
                .arg(refusal.length - refusal.limit);
        case Reason::NotWritable:
            return QStringLiteral(
                       "%1%2 contient le caractère « %3 », que le fichier d'exercice ne peut pas "
                       "enregistrer : seuls les caractères de l'alphabet latin d'Europe occidentale "
                       "(jeu Windows-1252) y sont permis.")
                .arg(isName ? QStringLiteral("Le nom « ") + name + QStringLiteral(" » retenu pour ")
                            : QString(),
                     field, QString::fromStdString(refusal.character));
        case Reason::OutOfRange:
            break;
    }
    return refusal.field == ExerciseField::Difficulty
               ? QStringLiteral("%1 va de 0 à %2.").arg(field).arg(kMostDifficulty)
               : QStringLiteral("%1 va de %2 à %3 sabliers.")
                     .arg(field)
                     .arg(kFewestHourglasses)
                     .arg(kMostHourglasses);
}

QString withExerciseExtension(const QString& fileName) {
    return fileName.endsWith(QStringLiteral(".E32"), Qt::CaseInsensitive) ? fileName
                                                                          : fileName + QStringLiteral(".E32");
}

ExercisePreview draftPreview(const ExerciseDraft& draft) {
    ExerciseFields fields = describedFields(draft);
    if (fields.statement.empty()) fields.statement = "-";
    if (const auto bytes = exerciseFileBytes(fields))
        if (const auto preview = previewExercise(*bytes)) return *preview;
    // Fields that cannot be stored yet are shown as typed.
    ExercisePreview preview;
    preview.corrected = !fields.correction.empty() || !fields.correctionConfiguration.empty();
    for (int k = 0; k < 3; ++k) preview.lit[k] = draft.difficulty > k;
    preview.topics = fields.topics;
    preview.title = draft.title.trimmed().toStdString();
    preview.hourglasses = std::max(0, draft.hourglasses);
    return preview;
}

bool saveExercise(QWidget* parent, const ExerciseDraft& draft, const ExerciseCurrent& current,
                  const QString& replaceable, QString& saved) {
    // The folder and the file's name.
    const QString folderText = draft.folder.trimmed();
    if (folderText.isEmpty()) {
        refuse(parent, QStringLiteral("« Dossier de l'exercice » est vide : choisissez le dossier où "
                                      "l'exercice sera enregistré."));
        return false;
    }
    const QString folder = withFinalSeparator(QDir(folderText).absolutePath());
    const QString typedName = draft.fileName.trimmed();
    if (typedName.isEmpty() || typedName.contains(u'/') || typedName.contains(u'\\') || typedName == u'.' ||
        typedName == QStringLiteral("..")) {
        refuse(parent, QStringLiteral("« Nom du fichier » doit être un nom de fichier, sans « / » ni « \\ » "
                                      "(l'extension .E32 est ajoutée si elle manque)."));
        return false;
    }
    const QString exerciseName = withExerciseExtension(typedName);
    const QString exercisePath = folder + exerciseName;

    // What the exercise window shows, before any file is looked at.
    ExerciseRecords described = exerciseFileRecords(describedFields(draft));
    if (described.refusal && described.refusal->field != ExerciseField::Statement) {
        refuse(parent, refusalText(*described.refusal));
        return false;
    }
    if (!draft.sources[0].given()) {
        ExerciseRefusal missing;
        missing.field = ExerciseField::Statement;
        refuse(parent, refusalText(missing));
        return false;
    }

    // The documents and configurations, gathered with the names they take
    // in the folder.
    const QString canonicalFolder = QFileInfo(folder).canonicalFilePath();
    std::array<QString, 4> names;
    std::vector<Output> outputs;
    for (std::size_t k = 0; k < draft.sources.size(); ++k) {
        const ExerciseSource& source = draft.sources[k];
        const auto kind = static_cast<ExerciseSourceKind>(k);
        const QString field = QStringLiteral("« ") + fieldCaption(fieldOf(kind)) + QStringLiteral(" »");
        if (!source.given()) continue;
        if (source.current) {
            QByteArray bytes;
            if (isDocument(kind)) {
                bytes = current.text ? rtf::RtfWriter::write(*current.text) : QByteArray();
            } else {
                const auto values = current.configuration ? configurationBytes(*current.configuration)
                                                          : std::optional<std::string>();
                if (!values) {
                    refuse(parent,
                           QStringLiteral("Le réglage actuel ne peut pas être enregistré pour %1 : un "
                                          "nombre de particules contient un caractère que le fichier "
                                          "de configuration ne peut pas garder.")
                               .arg(field));
                    return false;
                }
                bytes = QByteArray::fromStdString(*values);
            }
            names[k] = currentName(exerciseName, kind);
            outputs.push_back({names[k], bytes, kind});
            continue;
        }
        const QString typed = source.path.trimmed();
        const QString path = QFileInfo(typed).isAbsolute() ? typed : fileInFolder(folder, typed);
        const QFileInfo info(path);
        if (!info.exists() || !info.isFile()) {
            refuse(parent,
                   QStringLiteral("Le fichier « %1 », choisi pour %2, est introuvable.").arg(path, field));
            return false;
        }
        const auto read = readWholeFile(fileSystemPath(path), static_cast<std::size_t>(rtf::kMaxFileBytes));
        if (!read) {
            refuse(
                parent,
                QStringLiteral("Le fichier « %1 », choisi pour %2, ne peut pas être lu.").arg(path, field));
            return false;
        }
        const QByteArray bytes = QByteArray::fromStdString(*read);
        if (isDocument(kind)) {
            QTextDocument document;
            if (rtf::nothingLoaded(rtf::loadRtfFile(path, document))) {
                refuse(parent, QStringLiteral("Le fichier « %1 », choisi pour %2, n'est pas un document RTF "
                                              "lisible.")
                                   .arg(path, field));
                return false;
            }
        } else if (decodeRecord(*read, 1) != std::optional<std::string>(kConfigurationSignature)) {
            refuse(parent, QStringLiteral("Le fichier « %1 », choisi pour %2, n'est pas un fichier de "
                                          "configuration de ce programme.")
                               .arg(path, field));
            return false;
        }
        const QString canonical = info.canonicalFilePath();
        if (!canonicalFolder.isEmpty() && canonical.startsWith(canonicalFolder + u'/')) {
            names[k] = canonical.mid(canonicalFolder.size() + 1);  // already beside the exercise
            continue;
        }
        names[k] = info.fileName();
        outputs.push_back({names[k], bytes, kind});
    }

    // Two different files cannot take one name.
    for (std::size_t a = 0; a < outputs.size(); ++a)
        for (std::size_t b = a + 1; b < outputs.size(); ++b)
            if (outputs[a].name.compare(outputs[b].name, Qt::CaseInsensitive) == 0 &&
                outputs[a].bytes != outputs[b].bytes) {
                refuse(parent,
                       QStringLiteral("« %1 » et « %2 » prendraient le même nom « %3 » dans le dossier "
                                      "de l'exercice : renommez l'un des deux fichiers.")
                           .arg(fieldCaption(fieldOf(outputs[a].kind)),
                                fieldCaption(fieldOf(outputs[b].kind)), outputs[b].name));
                return false;
            }

    // The records, now that the names are known.
    ExerciseFields fields = describedFields(draft);
    std::array<std::string*, 4> recordNames{&fields.statement, &fields.configuration, &fields.correction,
                                            &fields.correctionConfiguration};
    for (std::size_t k = 0; k < names.size(); ++k) *recordNames[k] = names[k].toStdString();
    const ExerciseRecords records = exerciseFileRecords(fields);
    if (records.refusal) {
        const auto k = static_cast<std::size_t>(records.refusal->field);
        refuse(parent, refusalText(*records.refusal, k < names.size() ? names[k] : QString()));
        return false;
    }
    const QByteArray exerciseBytes = QByteArray::fromStdString(*encodeRecords(records.records));

    // Questions before anything is replaced.
    std::vector<Output> writes;
    for (const Output& output : outputs) {
        const QString target = folder + output.name;
        if (std::any_of(writes.begin(), writes.end(), [&](const Output& w) { return w.name == output.name; }))
            continue;
        if (QFileInfo::exists(target)) {
            if (existingBytes(target) == output.bytes) continue;
            const QString question =
                QStringLiteral(
                    "Le dossier de l'exercice contient déjà un fichier « %1 », différent de celui "
                    "retenu pour « %2 ». Le remplacer ?")
                    .arg(output.name, fieldCaption(fieldOf(output.kind)));
            if (message(parent, MessageIcon::Question, QStringLiteral("Remplacer le fichier ?"), question,
                        MessageButtons::YesNo) != MessageAnswer::Yes)
                return false;
        }
        writes.push_back(output);
    }
    const bool sameExercise =
        QFileInfo(replaceable).absoluteFilePath() == QFileInfo(exercisePath).absoluteFilePath();
    if (QFileInfo::exists(exercisePath) && !sameExercise &&
        message(parent, MessageIcon::Question, QStringLiteral("Remplacer le fichier ?"),
                QStringLiteral("Le fichier d'exercice « %1 » existe déjà. Le remplacer ?").arg(exercisePath),
                MessageButtons::YesNo) != MessageAnswer::Yes)
        return false;

    // Every file is written to its temporary copy first; none replaces
    // anything until all are written, and the exercise file comes last.
    const bool folderExisted = QFileInfo(folder).isDir();
    const auto unwritable = [&] {
        if (!folderExisted) QDir().rmdir(folder);
        message(
            parent, MessageIcon::Error, kRefusedTitle,
            QStringLiteral("Le dossier « %1 » n'accepte pas l'écriture : rien n'a été enregistré. Choisissez "
                           "un autre « Dossier de l'exercice », par exemple dans vos documents.")
                .arg(QDir::toNativeSeparators(folderText)));
        return false;
    };
    if (!folderExisted && !QDir().mkpath(folder)) return unwritable();
    writes.push_back({exerciseName, exerciseBytes, ExerciseSourceKind::Statement});
    std::vector<std::unique_ptr<QSaveFile>> files;
    for (const Output& output : writes) {
        auto file = std::make_unique<QSaveFile>(folder + output.name);
        if (!file->open(QIODevice::WriteOnly) || file->write(output.bytes) != output.bytes.size()) {
            for (auto& open : files) open->cancelWriting();
            file->cancelWriting();
            return unwritable();
        }
        files.push_back(std::move(file));
    }
    for (auto& file : files)
        if (!file->commit()) return unwritable();
    saved = exercisePath;
    return true;
}

std::optional<ExerciseDraft> draftFromFile(const QString& path) {
    const auto fields = exerciseFields(exerciseFileReader(fileSystemPath(path)));
    if (!fields) return std::nullopt;
    const QFileInfo info(path);
    ExerciseDraft draft;
    draft.folder = info.absolutePath();
    draft.fileName = info.fileName();
    draft.title = QString::fromStdString(fields->title);
    draft.topics = QString::fromStdString(fields->topics);
    draft.difficulty = fields->difficulty;
    draft.hourglasses = fields->hourglasses;
    const std::array<const std::string*, 4> names{&fields->statement, &fields->configuration,
                                                  &fields->correction, &fields->correctionConfiguration};
    const QString folder = withFinalSeparator(draft.folder);
    for (std::size_t k = 0; k < names.size(); ++k)
        if (!names[k]->empty())
            draft.sources[k].path = fileInFolder(folder, QString::fromStdString(*names[k]));
    return draft;
}

}  // namespace molvane

#include "rtffile.h"

#include <QFile>
#include <QSaveFile>
#include <QTextCursor>

#include "common/recordfile.h"
#include "rtfwriter.h"

namespace molvane::rtf {

ReadStatus loadRtfFile(const QString& path, QTextDocument& document) {
    const QByteArray name = QFile::encodeName(path);
    const FileBytes file = readRegularFile(std::filesystem::path(name.constData()),
                                           static_cast<std::size_t>(kMaxFileBytes), true);
    if (file.status == FileRead::TooLarge) return ReadStatus::TooLarge;
    if (file.status != FileRead::Ok) return ReadStatus::CannotOpen;
    const QByteArrayView data(file.bytes.data(), static_cast<qsizetype>(file.bytes.size()));

    if (!RtfReader::isRtf(data)) return ReadStatus::NotRtf;  // leaves the shown text alone

    document.clear();
    QTextCursor cursor(&document);
    return RtfReader::read(data, cursor);
}

bool nothingLoaded(ReadStatus status) {
    return status == ReadStatus::NotRtf || status == ReadStatus::CannotOpen || status == ReadStatus::TooLarge;
}

QString readNotice(ReadStatus status) {
    switch (status) {
        case ReadStatus::Truncated:
            return QStringLiteral("Ce fichier s'arrête avant sa fin normale : la fin du texte peut manquer.");
        case ReadStatus::Malformed:
            return QStringLiteral("Certains passages de ce fichier sont abîmés : ils n'ont pas pu être lus.");
        case ReadStatus::TooDeep:
            return QStringLiteral(
                "Certaines parties de ce fichier sont imbriquées trop profondément : elles n'ont pas été "
                "lues.");
        case ReadStatus::LimitReached:
            return QStringLiteral(
                "Certains tableaux, images ou polices de ce fichier dépassent ce que la zone de texte peut "
                "montrer : ils n'ont été lus qu'en partie.");
        case ReadStatus::TooLong:
            return QStringLiteral("Ce texte est trop long pour la zone de texte : seul son début a été lu.");
        case ReadStatus::Ok:
        case ReadStatus::NotRtf:
        case ReadStatus::CannotOpen:
        case ReadStatus::TooLarge:
            break;
    }
    return QString();
}

bool saveRtfFile(const QTextDocument& document, const QString& path) {
    const QByteArray data = RtfWriter::write(document);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(data) != data.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace molvane::rtf

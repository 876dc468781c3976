#include "rtffile.h"

#include <QFile>
#include <QSaveFile>
#include <QTextCursor>

#include "rtfwriter.h"

namespace molvane::rtf {

ReadStatus loadRtfFile(const QString& path, QTextDocument& document) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return ReadStatus::CannotOpen;
    if (file.size() > kMaxFileBytes) return ReadStatus::TooLarge;
    const QByteArray data = file.read(kMaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError) return ReadStatus::CannotOpen;
    if (data.size() > kMaxFileBytes) return ReadStatus::TooLarge;  // grew while reading

    if (!RtfReader::isRtf(data)) return ReadStatus::NotRtf;  // leaves the shown text alone

    document.clear();
    QTextCursor cursor(&document);
    return RtfReader::read(data, cursor);
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

#include "rtffile.h"

#include <QFile>
#include <QSaveFile>
#include <QTextCursor>

#include "common/recordfile.h"
#include "rtfwriter.h"
#include "textrules.h"

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
    return textrules::nothingLoaded(status);
}

QString readNotice(ReadStatus status) {
    return QString::fromStdString(textrules::readNotice(status));
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

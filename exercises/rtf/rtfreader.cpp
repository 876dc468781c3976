#include "rtfreader.h"

#include "richtextdocument.h"

namespace molvane::rtf {

namespace {

std::string_view bytesOf(QByteArrayView data) {
    return std::string_view(data.data(), static_cast<std::size_t>(data.size()));
}

}  // namespace

bool RtfReader::isRtf(QByteArrayView data) {
    return rtf::isRtf(bytesOf(data));
}

ReadStatus RtfReader::read(QByteArrayView data, QTextCursor& cursor) {
    if (cursor.isNull()) return ReadStatus::NotRtf;
    richtext::Document model;
    const ReadStatus status = buildRichText(bytesOf(data), model, &qtCodePageDecoder());
    if (status == ReadStatus::NotRtf) return status;
    cursor.beginEditBlock();
    insertRichText(model, cursor);
    cursor.endEditBlock();
    return status;
}

}  // namespace molvane::rtf

#include "rtfwriter.h"

#include "richtextdocument.h"
#include "rtfemitter.h"

namespace molvane::rtf {

QByteArray RtfWriter::write(const QTextDocument& document) {
    return QByteArray::fromStdString(writeRtf(richTextOf(document)));
}

}  // namespace molvane::rtf

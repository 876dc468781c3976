// libFuzzer entry: read arbitrary bytes as RTF, write the result and read
// that again. Also linked into the corpus replay test.
#include "rtfreader.h"
#include "rtfwriter.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void ensureApplication() {
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "rtffuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);  // fonts need a GUI application
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace molvane::rtf;
    ensureApplication();
    QTextDocument document;
    QTextCursor cursor(&document);
    const QByteArrayView input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (RtfReader::read(input, cursor) == ReadStatus::NotRtf) return 0;

    // What the writer makes of any document must read back without a problem.
    const QByteArray written = RtfWriter::write(document);
    QTextDocument again;
    QTextCursor againCursor(&again);
    if (RtfReader::read(written, againCursor) != ReadStatus::Ok) std::abort();
    return 0;
}

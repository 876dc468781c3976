// Any bytes through the RTF reader; what it makes of them must come back the
// same once written and read again, and be written again byte for byte.
#include <QGuiApplication>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz/rtfdescribe.h"

namespace {

void ensureApplication() {
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "rtf_fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);  // fonts and images need a GUI application
    // Damaged pictures make Qt's image readers complain on every input.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ensureApplication();
    const QString difference = molvane::rtf::test::roundTripDifference(
        QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    if (!difference.isEmpty()) {
        std::fprintf(stderr, "round trip: %s\n", qPrintable(difference));
        std::abort();
    }
    return 0;
}

// Any bytes through the RTF builder; the model it makes must come back the
// same once written and read again, and be written again byte for byte; and
// so must the desktop's document made from it.
#include <QGuiApplication>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "exercises/rtf/rtfbuilder.h"
#include "exercises/rtf/rtfemitter.h"
#include "fuzz/rtfdescribe.h"

namespace {

// What differs first between the model, written, and what that reads as.
std::string modelRoundTripDifference(std::string_view data) {
    using namespace molvane;
    richtext::Document first;
    if (rtf::buildRichText(data, first) == rtf::ReadStatus::NotRtf) return {};
    const std::string written = rtf::writeRtf(first);
    richtext::Document second;
    if (const rtf::ReadStatus status = rtf::buildRichText(written, second); status != rtf::ReadStatus::Ok)
        return "what the writer made reads with status " + std::to_string(static_cast<int>(status));
    const std::string rewritten = rtf::writeRtf(second);
    if (rewritten != written) return "the second writing differs";
    richtext::Document third;
    rtf::buildRichText(rewritten, third);
    if (!(third == second)) return "the model read again differs";
    return {};
}

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
    if (const std::string difference =
            modelRoundTripDifference(std::string_view(reinterpret_cast<const char*>(data), size));
        !difference.empty()) {
        std::fprintf(stderr, "model round trip: %s\n", difference.c_str());
        std::abort();
    }
    ensureApplication();
    const QString difference = molvane::rtf::test::roundTripDifference(
        QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    if (!difference.isEmpty()) {
        std::fprintf(stderr, "round trip: %s\n", qPrintable(difference));
        std::abort();
    }
    return 0;
}

// molvane-rtfbench: the costliest RTF files we know how to build, each just
// within the reader's file-size bound, loaded as the text area loads them.
//   molvane-rtfbench [--mib N] [--case NAME] [--list]
// Without --case, every case runs in a process of its own (so that its peak
// memory is its own) and one JSON line is printed per case.
#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextEdit>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "bench/procstatus.h"
#include "exercises/rtf/rtfbuilder.h"
#include "exercises/rtf/rtffile.h"

namespace {

using Maker = std::function<QByteArray(qsizetype)>;

// The header, then piece repeated until the file is as large as allowed.
QByteArray filled(qsizetype bytes, const QByteArray& head, const QByteArray& piece,
                  const QByteArray& tail = "}") {
    QByteArray data = head;
    const qsizetype room = bytes - data.size() - tail.size();
    data.reserve(bytes);
    if (room > 0) data += piece.repeated(room / piece.size());
    data += tail;
    return data;
}

QByteArray png(int side) {
    QImage image(side, side, QImage::Format_RGB32);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            image.setPixel(x, y, qRgb((x * 7) & 255, (y * 13) & 255, (x ^ y) & 255));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

struct Case {
    const char* name;
    Maker make;
};

const std::vector<Case>& cases() {
    static const std::vector<Case> all = {
        {"empty-paragraphs", [](qsizetype n) { return filled(n, "{\\rtf1 ", "\\par"); }},
        {"short-paragraphs", [](qsizetype n) { return filled(n, "{\\rtf1 ", "a\\par "); }},
        {"one-long-paragraph", [](qsizetype n) { return filled(n, "{\\rtf1 ", "abcdefgh "); }},
        {"line-breaks", [](qsizetype n) { return filled(n, "{\\rtf1 ", "a\\line "); }},
        {"formatted-runs",
         [](qsizetype n) { return filled(n, "{\\rtf1 ", "{\\b\\i\\fs30\\cf1 a}{\\ul b}"); }},
        {"unicode-escapes", [](qsizetype n) { return filled(n, "{\\rtf1 ", "\\u8364?"); }},
        {"hex-escapes", [](qsizetype n) { return filled(n, "{\\rtf1 ", "\\'e9"); }},
        {"tabs", [](qsizetype n) { return filled(n, "{\\rtf1 ", "\\tab "); }},
        {"page-breaks", [](qsizetype n) { return filled(n, "{\\rtf1 ", "\\page "); }},
        {"paragraph-formats",
         [](qsizetype n) {
             return filled(n, "{\\rtf1 ",
                           "\\pard\\qc\\li720\\ri360\\sb120\\sa120\\sl360\\slmult1\\tx720\\tx1440 a\\par ");
         }},
        {"empty-groups-with-tabs",
         [](qsizetype n) {
             QByteArray tabs;
             for (int t = 1; t <= 64; ++t) tabs += "\\tx" + QByteArray::number(t * 100);
             return filled(n, "{\\rtf1 " + tabs + " ", "{}");
         }},
        {"deep-groups",
         [](qsizetype n) {
             return filled(n, "{\\rtf1 ", QByteArray(300, '{') + "x" + QByteArray(300, '}'));
         }},
        {"table-rows",
         [](qsizetype n) {
             return filled(n, "{\\rtf1 ", "\\trowd\\cellx1000\\cellx2000\\intbl a\\cell b\\cell\\row ");
         }},
        {"cells-without-rows", [](qsizetype n) { return filled(n, "{\\rtf1 ", "\\intbl a\\cell "); }},
        {"paragraphs-in-one-cell",
         [](qsizetype n) {
             return filled(n, "{\\rtf1 \\trowd\\cellx1000\\intbl ", "a\\par ", "\\cell\\row}");
         }},
        {"small-pictures",
         [](qsizetype n) { return filled(n, "{\\rtf1 ", "{\\pict\\pngblip " + png(2).toHex() + "}"); }},
        {"large-pictures",
         [](qsizetype n) {
             return filled(
                 n, "{\\rtf1 ",
                 "{\\pict\\pngblip\\bin" + QByteArray::number(png(4096).size()) + " " + png(4096) + "}");
         }},
        {"font-table", [](qsizetype n) { return filled(n, "{\\rtf1{\\fonttbl", "{\\f1 Police;}", "}a}"); }},
        {"skipped-destination", [](qsizetype n) { return filled(n, "{\\rtf1 a{\\*\\inconnu ", "x", "}b}"); }},
        {"unknown-words", [](qsizetype n) { return filled(n, "{\\rtf1 ", "\\inconnu "); }},
    };
    return all;
}

int runOne(const Case& c, qsizetype bytes) {
    const QByteArray data = c.make(bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cas.rtf"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size()) return 1;
    file.close();

    // The text area's own widget, at its size on the main window.
    QTextEdit edit;
    edit.resize(358, 288);
    edit.show();
    QApplication::processEvents();

    // The builder alone, as the page runs it: the model of the file, no layout.
    double built = 0;
    {
        QElapsedTimer building;
        building.start();
        molvane::richtext::Document model;
        molvane::rtf::buildRichText(std::string_view(data.constData(), static_cast<std::size_t>(data.size())),
                                    model);
        built = building.nsecsElapsed() / 1e9;
    }

    QElapsedTimer clock;
    clock.start();
    const auto status = molvane::rtf::loadRtfFile(path, *edit.document());
    const double read = clock.nsecsElapsed() / 1e9;
    edit.repaint();
    QApplication::processEvents();
    const double shown = clock.nsecsElapsed() / 1e9;
    const double height = edit.document()->documentLayout()->documentSize().height();  // lays out the rest
    const double laidOut = clock.nsecsElapsed() / 1e9;

    std::printf(
        "{\"case\":\"%s\",\"file_bytes\":%lld,\"status\":%d,\"blocks\":%d,\"characters\":%d,"
        "\"model_s\":%.2f,\"read_s\":%.2f,\"shown_s\":%.2f,\"laid_out_s\":%.2f,\"height_px\":%.0f,\"peak_"
        "mb\":%.0f}\n",
        c.name, static_cast<long long>(data.size()), static_cast<int>(status), edit.document()->blockCount(),
        edit.document()->characterCount(), built, read, shown, laidOut, height,
        molvane::bench::statusKilobytes("VmHWM") / 1024.0);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qsizetype bytes = molvane::rtf::kMaxFileBytes - 4096;
    QString only;
    const QStringList args = app.arguments();
    for (int a = 1; a < args.size(); ++a) {
        if (args[a] == QLatin1String("--mib") && a + 1 < args.size()) {
            bytes = static_cast<qsizetype>(args[++a].toDouble() * (1 << 20));
        } else if (args[a] == QLatin1String("--case") && a + 1 < args.size()) {
            only = args[++a];
        } else if (args[a] == QLatin1String("--list")) {
            for (const Case& c : cases()) std::printf("%s\n", c.name);
            return 0;
        } else {
            std::fprintf(stderr, "usage : molvane-rtfbench [--mib N] [--case NOM] [--list]\n");
            return 2;
        }
    }
    if (!only.isEmpty()) {
        for (const Case& c : cases())
            if (only == QLatin1String(c.name)) return runOne(c, bytes);
        std::fprintf(stderr, "molvane-rtfbench : cas inconnu %s\n", qPrintable(only));
        return 2;
    }
    for (const Case& c : cases()) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--mib"), QString::number(bytes / double(1 << 20), 'f', 6),
                     QStringLiteral("--case"), QLatin1String(c.name)});
        child.waitForFinished(-1);
        std::fputs(child.readAllStandardOutput().constData(), stdout);
        std::fflush(stdout);
    }
    return 0;
}

#include "files/configio.h"

#include <QFile>
#include <QSaveFile>

#include "files/configmessages.h"
#include "windowkit/messages.h"

namespace molvane {

QString& nomfichier() {
    static QString path;
    return path;
}

bool writeConfiguration(QWidget* parent, ConfigurationHost& host) {
    const auto bytes = configurationBytes(host.configuration());
    QSaveFile file(nomfichier());
    const bool written =
        bytes && file.open(QIODevice::WriteOnly) &&
        file.write(bytes->data(), static_cast<qint64>(bytes->size())) == static_cast<qint64>(bytes->size()) &&
        file.commit();
    if (!written) {
        file.cancelWriting();
        message(parent, MessageIcon::Error, QString::fromUtf8(kWriteFailureTitle),
                QString::fromUtf8(kWriteFailureText));
        return false;
    }
    host.showFileInTitle(nomfichier());
    return true;
}

namespace {

const QString kCountsNotice = QString::fromUtf8(kCountsAdjustedText);

// After a failure among records 2 to 5 the boxes hold counts from the file
// beside the ones from before; the whole set is brought within the limits
// before anything can run with it.
bool keepCountsWithinLimits(ConfigurationHost& host) {
    const auto counts = countsWithinLimits(host.configuration().counts);
    if (!counts) return false;
    for (int s = 0; s < 4; ++s) host.configurationTarget().setCount(s, (*counts)[s]);
    return true;
}

}  // namespace

void chargeconfig(QWidget* parent, ConfigurationHost& host) {
    const QByteArray path = QFile::encodeName(nomfichier());
    const ConfigurationLoad load =
        readConfigurationFile(std::filesystem::path(path.constData()), host.configurationTarget());
    switch (load.result) {
        case ConfigurationRead::NotConfiguration:
            message(parent, MessageIcon::Error, QString::fromUtf8(kNotConfigurationTitle),
                    QString::fromUtf8(kNotConfigurationText));
            return;
        case ConfigurationRead::ReadFailure: {
            // One box only: the adjustment of the counts is told in the failure's own message.
            const bool adjusted = keepCountsWithinLimits(host) || load.countsAdjusted;
            message(parent, MessageIcon::Error, QString::fromUtf8(kReadFailureTitle),
                    QString::fromStdString(readFailureMessage(adjusted)));
            return;
        }
        case ConfigurationRead::Loaded:
            host.restartAfterLoad();
            host.showFileInTitle(nomfichier());
            if (load.countsAdjusted)
                message(parent, MessageIcon::Exclamation, QString::fromUtf8(kCountsAdjustedTitle),
                        kCountsNotice);
            return;
    }
}

}  // namespace molvane

#include "files/configio.h"

#include <QFile>
#include <QSaveFile>

#include "ui/messages/messages.h"

namespace molvane {

QString& nomfichier() {
    static QString path;
    return path;
}

bool writeConfiguration(QWidget* parent, ConfigurationHost& host) {
    const auto bytes = configurationBytes(host.configuration());
    QSaveFile file(nomfichier());
    const bool written = bytes && file.open(QIODevice::WriteOnly) &&
                         file.write(bytes->data(), static_cast<qint64>(bytes->size())) ==
                             static_cast<qint64>(bytes->size()) &&
                         file.commit();
    if (!written) {
        file.cancelWriting();
        message(parent, MessageIcon::Error, QStringLiteral("Enregistrement impossible"),
                QStringLiteral("Ecriture impossible sur disque"));
        return false;
    }
    host.showFileInTitle(nomfichier());
    return true;
}

namespace {

// Counts from a file that the parameter panel would never allow are brought
// within its limits, so that no run is ever built outside them.
void keepCountsWithinLimits(QWidget* parent, ConfigurationHost& host) {
    const auto counts = countsWithinLimits(host.configuration().counts);
    if (!counts) return;
    for (int s = 0; s < 4; ++s) host.configurationTarget().setCount(s, (*counts)[s]);
    message(parent, MessageIcon::Exclamation, QStringLiteral("Nombres de particules"),
            QStringLiteral("Les nombres de particules de ce fichier sortaient des limites permises "
                           "(de 10 à 1 000 particules en tout) : ils ont été ajustés."));
}

}  // namespace

void chargeconfig(QWidget* parent, ConfigurationHost& host) {
    const QByteArray path = QFile::encodeName(nomfichier());
    switch (readConfigurationFile(std::filesystem::path(path.constData()), host.configurationTarget())) {
        case ConfigurationRead::NotConfiguration:
            message(parent, MessageIcon::Error, QStringLiteral("Fichier non valide"),
                    QStringLiteral("Ce fichier ne correspond pas à cette application"));
            return;
        case ConfigurationRead::ReadFailure:
            message(parent, MessageIcon::Error, QStringLiteral("Erreur lors du chargement du fichier"),
                    QStringLiteral("Lecture impossible sur disque"));
            keepCountsWithinLimits(parent, host);
            return;
        case ConfigurationRead::Loaded:
            keepCountsWithinLimits(parent, host);
            host.restartAfterLoad();
            host.showFileInTitle(nomfichier());
            return;
    }
}

}  // namespace molvane

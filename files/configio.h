// Saving and loading configurations from the windows: the safe write, the
// reader `chargeconfig` and their messages.
#pragma once

#include <QString>

#include "files/configuration.h"

class QWidget;

namespace molvane {

// What the main window offers to configuration files.
class ConfigurationHost {
public:
    virtual ~ConfigurationHost() = default;
    // The settings as the controls show them now.
    virtual ConfigurationValues configuration() const = 0;
    // Receives the records of a file, each as a user's change of its control.
    virtual ConfigurationTarget& configurationTarget() = 0;
    // After a load: the kept curves are dropped and the run restarts.
    virtual void restartAfterLoad() = 0;
    // The window's title names the file: "Équilibre dynamique - " + path.
    virtual void showFileInTitle(const QString& path) = 0;
};

// The path of the configuration last saved or loaded, for the program's life.
QString& nomfichier();

// Writes the configuration into nomfichier as a whole: the old file stays
// intact when anything fails. Reports a failure to the user; true on success,
// after which the title names the file.
bool writeConfiguration(QWidget* parent, ConfigurationHost& host);

// Reads nomfichier into the window. Reports its own failures.
void chargeconfig(QWidget* parent, ConfigurationHost& host);

}  // namespace molvane

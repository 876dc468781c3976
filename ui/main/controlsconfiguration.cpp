#include "ui/main/controlsconfiguration.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>

#include "ui/main/inputs.h"

namespace molvane {

namespace {

// A bar takes only positions within its range, as it would from the user.
bool takes(const QScrollBar* bar, int position) {
    return position >= bar->minimum() && position <= bar->maximum();
}
bool moveBar(QScrollBar* bar, int position) {
    if (!takes(bar, position)) return false;
    bar->setValue(position);
    return true;
}

}  // namespace

ControlsConfiguration::ControlsConfiguration(const std::array<QLineEdit*, 4>& counts,
                                             const ParameterPanel& parameters, const DisplayPanel& display,
                                             const SettingsPanel& settings, Hooks hooks)
    : counts_(counts),
      parameters_(parameters),
      display_(display),
      settings_(settings),
      hooks_(std::move(hooks)) {}

ConfigurationValues ControlsConfiguration::values() const {
    ConfigurationValues v;
    for (int s = 0; s < 4; ++s) {
        v.counts[s] = counts_[s]->text().toStdString();
        v.colours[s] = static_cast<std::int32_t>(display_.label4[s]->value());
        v.curves[s] = settings_.option2[s]->isChecked();
    }
    for (int i = 0; i < 2; ++i) {
        v.sensePositions[i] = static_cast<std::int16_t>(parameters_.vscroll4[i]->value());
        v.views[i] = settings_.option1[i]->isChecked();
    }
    v.temperature = static_cast<std::int16_t>(parameters_.hscroll1->value());
    v.durationPosition = static_cast<std::int16_t>(settings_.vscroll2->value());
    v.rowsPosition = static_cast<std::int16_t>(settings_.vscroll3->value());
    v.keepCurves = display_.check2->isChecked();
    v.showQr = display_.check3->isChecked();
    return v;
}

bool ControlsConfiguration::setCount(int species, const std::string& utf8) {
    counts_[species]->setText(QString::fromStdString(utf8));
    return true;
}

bool ControlsConfiguration::setSensePosition(int sense, std::int16_t position) {
    return moveBar(parameters_.vscroll4[sense], position);
}

bool ControlsConfiguration::setTemperature(std::int16_t position) {
    return moveBar(parameters_.hscroll1, position);
}

bool ControlsConfiguration::setDurationPosition(std::int16_t position) {
    if (takes(settings_.vscroll2, position)) hooks_.beforeDuration(position);
    return moveBar(settings_.vscroll2, position);
}

bool ControlsConfiguration::setRowsPosition(std::int16_t position) {
    return moveBar(settings_.vscroll3, position);
}

bool ControlsConfiguration::setColour(int species, std::int32_t colour) {
    if (!isSwatchColour(colour)) return false;
    hooks_.setColour(species, static_cast<Colour>(colour));
    return true;
}

bool ControlsConfiguration::setView(int option, bool selected) {
    // Deselecting leaves both buttons empty, as the file says; only a
    // selection switches the view.
    QRadioButton* button = settings_.option1[option];
    button->setAutoExclusive(selected);
    button->setChecked(selected);
    button->setAutoExclusive(true);
    return true;
}

bool ControlsConfiguration::setCurve(int species, bool ticked) {
    settings_.option2[species]->setChecked(ticked);
    return true;
}

bool ControlsConfiguration::setKeepCurves(bool ticked) {
    display_.check2->setChecked(ticked);
    return true;
}

bool ControlsConfiguration::setShowQr(bool ticked) {
    display_.check3->setChecked(ticked);
    return true;
}

}  // namespace molvane

// What a screen reader is told of the main window: the French names and
// descriptions of its controls as the control table gives them (a
// description is the hover help's text unless the table has one of its own),
// the three tabs of the strip as tabs, and the vessel and the graph as
// pictures whose text is the run's time, counts and Qr.
#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace molvane {

class Simulation;

// Names and describes the controls of the main window `feuilleP` found in
// the control table, and keeps each bar's description on the value shown.
void nameMainWindow(QWidget* window);

// The text of the vessel and the graph: time, the four counts and Qr.
QString runText(const Simulation& run);
// The graph's text: the curves it draws, in their colours, over which
// duration, the curves kept from earlier runs, then the run's text.
QString graphText(const Simulation& run);

// Makes the vessel and the graph speak the run's text, and announces it once
// when a recording ends (not at every tick, which would flood a reader).
class RunSpeech final : public QObject {
    Q_OBJECT
public:
    RunSpeech(const Simulation& run, QWidget* vessel, QWidget* graph);

    // After each tick: announces the end of the recording.
    void afterTick();

private:
    const Simulation& run_;
    QWidget* vessel_;
    QWidget* graph_;
    bool wasRecording_ = false;
};

}  // namespace molvane

// What a screen reader is told about the program's windows: a French name and
// description for each control that has no readable text of its own, and for
// the drawn pictures (the vessel, the graph, the magnifier) a text of what
// they show, read when the reader asks for it and announced on request, never
// at every tick.
#pragma once

#include <QString>
#include <functional>
#include <initializer_list>

class QColor;
class QObject;
class QWidget;

namespace molvane {

// Sets both texts at once; an empty description leaves the one set before.
void setAccessibleText(QWidget* control, const QString& name, const QString& description = {});

// One line of a window's table of names: the control's object name (its
// design name, "Text1_2" for element 2 of an array), then its texts.
struct AccessibleEntry {
    const char* objectName;
    const char* name;  // UTF-8
    const char* description = nullptr;
};
// Names the controls of window found in the table; returns how many were
// found, so that a caller's test sees a table that no longer matches.
int nameControls(QWidget* window, std::initializer_list<AccessibleEntry> entries);

// From now on a screen reader reads picture as a picture named by its
// accessible name whose description is what `text` gives at the time of
// asking. The text lives as long as the picture.
using SpokenText = std::function<QString()>;
void speakOnDemand(QWidget* picture, SpokenText text);
// Whether speakOnDemand was called for picture.
bool speaksOnDemand(const QObject* picture);
// Tells the screen reader that the picture's text changed, so that it is read
// now (the end of a recording).
void announceChange(QWidget* picture);
// Tests see the announcements here, since no reader listens offscreen.
using AnnouncementWatcher = std::function<void(const QWidget* picture)>;
void setAnnouncementWatcher(AnnouncementWatcher watcher);

// A colour said in French words, for a pupil who does not see it: "bleu",
// "vert foncé", "gris clair".
QString colourName(const QColor& colour);

}  // namespace molvane

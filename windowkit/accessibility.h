// What a screen reader is told about the program's windows: a French name and
// description for each control that has no readable text of its own, and for
// the drawn pictures (the vessel, the graph, the magnifier) a text of what
// they show, read when the reader asks for it and announced on request, never
// at every tick.
#pragma once

#include <QAccessible>
#include <QString>
#include <functional>
#include <initializer_list>

class QAbstractSlider;
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
// From now on a screen reader reads control as a text whose words are what
// `text` gives at the time of asking (counts that change at every tick, said
// when the pupil comes to them, never pushed at each change).
void readOnDemand(QWidget* control, SpokenText text);
// Whether speakOnDemand was called for picture.
bool speaksOnDemand(const QObject* picture);
// Tells the screen reader that the picture's text changed, so that it is read
// now (the end of a recording).
void announceChange(QWidget* picture);
// Tests see the announcements here, since no reader listens offscreen.
using AnnouncementWatcher = std::function<void(const QWidget* picture)>;
void setAnnouncementWatcher(AnnouncementWatcher watcher);

// Sends event to the screen reader, through the watcher when there is one.
void tellReader(QAccessibleEvent& event);
// Tests see what the reader is told here, since no reader listens offscreen.
using ReaderWatcher = std::function<void(QAccessibleEvent* event)>;
void setReaderWatcher(ReaderWatcher watcher);

// Qt's own reading of single-line boxes never returns from some queries at
// the end of their text (the word at the caret placed after the last digit),
// and reports their attributes over an empty run, so that a reader drops the
// last character. Every QLineEdit, and the spin and combo boxes built on one,
// reads through an interface of ours instead. Call once the application
// object exists and before any window is made; later calls do nothing.
void installReaderInterfaces();

// The piece of text a reader asks for, before, at or after offset, as
// [start, end). Words run up to the next word, sentences up to the next
// sentence, lines and paragraphs up to and including their line break. At the
// end of the text, the character is empty and the other pieces are the last
// ones; out of the text, everything is empty.
enum class TextSide { Before, At, After };
struct TextSpan {
    int start = 0;
    int end = 0;
    bool operator==(const TextSpan&) const = default;
};
TextSpan textSpan(const QString& text, int offset, QAccessible::TextBoundaryType boundary, TextSide side);

// A control that sets a number by a bar's position, read as the number the
// pupil sees: a spin button whose text is the value with its unit ("52 %",
// "20 s"), or a slider whose value is the position within its range. The
// new value is told to the reader at each change.
struct ShownValue {
    QAccessible::Role role = QAccessible::SpinBox;
    std::function<double()> value;
    std::function<QString()> text;  // the spin button's text
    double minimum = 0;
    double maximum = 0;
    double step = 1;
    // Said before the control's own description (a slider's range in words).
    QString about;
    // Whether the value grows as the bar's position falls (a vertical bar
    // whose top is the highest value).
    bool growsDownwards = false;
    // Moves the bar to show the number nearest to the one asked for.
    std::function<void(double)> setValue;
};
void readAsShown(QAbstractSlider* control, ShownValue shown);
// Whether readAsShown was called for control.
bool readsAsShown(const QObject* control);

// A frame that groups option buttons read as a plain group named by its
// title (which a reader says before its buttons), not as a dashboard panel.
void readAsGroup(QWidget* box);

// A colour said in French words, for a pupil who does not see it: "bleu",
// "vert foncé", "gris clair".
QString colourName(const QColor& colour);

}  // namespace molvane

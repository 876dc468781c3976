// The installed program's self-check. With MOLVANE_SELF_CHECK set (and not
// "0"), the program starts as usual, then opens its getting-started document,
// its exercise window and every exercise listed there, and its help, through
// the commands a pupil uses; it reports each step on the standard output,
// closes as at the end of a lesson and exits with status 0 when everything
// was found. Nothing else the program does depends on the variable.
#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace molvane {

class MainWindow;

// Whether the environment asks for the self-check.
bool selfCheckWanted();

// What Qt says of a session without a screen or a desktop session, where a
// self-check typically runs (offscreen platform, no XDG_RUNTIME_DIR): notices
// about what that platform does not do, not failures of the program.
bool isHeadlessNotice(QtMsgType type, const QString& text);
// From here on, such notices are not printed; every other message is, as before.
void quietHeadlessNotices();

struct SelfCheckResult {
    QStringList lines;  // one line a step, "ok" or "ÉCHEC" first
    int failures = 0;
};

// Runs the checks on the shown main window whose program folder is given.
// Any message box the steps open is answered and counted as a failure.
SelfCheckResult runSelfCheck(MainWindow& window, const QString& programFolder);

// The program's main loop in self-check mode: runs the checks once the loop
// has started, prints them, closes the window and returns the exit status.
int selfCheckMain(MainWindow& window, const QString& programFolder);

}  // namespace molvane

// The help's list of exercises, made from the exercise sheets when the help
// is built, so that it always names what ships.
#pragma once

#include <QString>
#include <vector>

namespace molvane::course {

struct ListedExercise {
    QString name;  // the sheet's name, that of its ".E32"
    QString title;
    QString topics;
    int level = 1;
};

// The rows of the help page's table, one per exercise in the order given,
// in French typography; each row carries an anchor named after the sheet.
QString exerciseRows(const std::vector<ListedExercise>& exercises);

// One keyword of the help's index per exercise, pointing at its row.
QString exerciseKeywords(const std::vector<ListedExercise>& exercises, const QString& page);

// Puts text in place of the line holding marker (an HTML or XML comment).
// False when the marker is not found: the page would silently lose its list.
bool replaceMarker(QString& text, const QString& marker, const QString& replacement);

}  // namespace molvane::course

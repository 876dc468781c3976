// What a document holds, line by line, so that two documents can be compared;
// and the property every document the reader makes must have: written and
// read again it is the same document, and written again the same bytes.
// Shared by the RTF tests and the RTF fuzz target.
#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QTextDocument>

namespace molvane::rtf::test {

// One line per block: its place (table cell or not), paragraph format, and
// each fragment's text and resolved character format; pictures by size and
// pixels. Two documents that print the same lines are the same document.
QStringList describe(const QTextDocument& doc);

// Reads data as RTF; when it is, writes the document, reads that and writes
// it again. Empty when both documents describe the same and both writings
// are the same bytes; otherwise what differed first. Data that is not RTF
// gives nothing to compare: empty.
QString roundTripDifference(QByteArrayView data);

}  // namespace molvane::rtf::test

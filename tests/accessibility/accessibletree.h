// Walks a window's accessibility tree as a screen reader would, and lists the
// objects a pupil can reach or press whose name is missing or not French.
#pragma once

#include <QString>
#include <string>
#include <vector>

class QAccessibleInterface;
class QObject;

namespace molvane {

// Why name would not do as a French name read aloud; empty when it does.
// designName is the object's design name, which is no name for a reader.
QString frenchNameFault(const QString& name, const QString& designName = {});

// Each fault as "path: name: why", the path made of roles and design names.
std::vector<std::string> unnamedObjects(QObject* window);

// How many interactive objects the walk met, so that a test sees it walked.
int interactiveObjects(QObject* window);

}  // namespace molvane

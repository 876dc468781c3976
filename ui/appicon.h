// The program's icon for its windows, drawn from the same picture as the icon
// of the desktop's menu.
#pragma once

#include <QIcon>

namespace molvane {

QIcon applicationIcon();

}  // namespace molvane

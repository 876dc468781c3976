#include "ui/main/controlplace.h"

#include <stdexcept>
#include <string>

namespace molvane {

const Control& tableControl(std::string_view name) {
    if (const Control* control = findControl(name)) return *control;
    throw std::logic_error("no control " + std::string(name) + " in the main window's table");
}

}  // namespace molvane

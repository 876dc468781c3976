#include "core/table.h"

#include "common/numbers.h"
#include "common/units.h"

namespace molvane {

const std::array<const char*, 6> kTableHeaders = {"Date (s)",    "Nombre de A", "Nombre de B",
                                                  "Nombre de C", "Nombre de D", "Qr"};

void layTableColumns(GridModel& table, int widthPixels) {
    constexpr double kScrollBarTwips = twipsFromPixels(20);
    const double column = twipsFromPixels(widthPixels) / kTableColumns;
    for (int c = 0; c < kTableColumns; ++c) {
        if (auto twips = roundToInt32(c == 0 ? column - kScrollBarTwips : column))
            table.setColWidth(c, *twips);
    }
}

}  // namespace molvane

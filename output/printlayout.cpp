#include "output/printlayout.h"

#include <algorithm>
#include <cmath>

namespace molvane {

namespace {

// Follows the printer's current position through one copy, as the lines of
// text and the pictures move it down the page.
class PageCursor {
public:
    explicit PageCursor(PageLayout& layout) : layout_(layout) {}

    void startCopy() {
        if (layout_.pages > 0)
            newPage();
        else
            layout_.pages = 1;
        y_ = 0;
    }
    void newPage() {
        ++layout_.pages;
        y_ = 0;
    }
    void place(Placed what, double x, double y, double height, int firstRow = 0, int endRow = 0) {
        layout_.items.push_back({what, layout_.pages - 1, x, y, height, firstRow, endRow});
    }
    double& y() { return y_; }

private:
    PageLayout& layout_;
    double y_ = 0;
};

void layoutTable(const PageGeometry& page, const TableExtent& table, PageCursor& cursor) {
    const double top = page.height / 20;
    const double height = table.rowHeight * table.rows;
    const double x = page.width / 10;
    if (cursor.y() + height > page.height) {
        cursor.newPage();
        cursor.y() = top;
    }
    double y = cursor.y();
    const int dataRows = std::max(table.rows - 1, 0);
    if (y + height <= page.height || table.rowHeight <= 0) {
        cursor.place(Placed::Table, x, y, height, 0, dataRows);
        cursor.y() = y + height;
        return;
    }
    // Taller than the room from H/20 to the bottom: as many rows as fit under
    // the header, the rest on the next pages, each part headed again.
    const double room = page.height - y - table.frame;
    const int perPart = std::max(static_cast<int>(std::floor(room / table.rowHeight)) - 1, 1);
    for (int first = 0; first < dataRows; first += perPart) {
        if (first > 0) {
            cursor.newPage();
            y = top;
        }
        const int end = std::min(first + perPart, dataRows);
        const double partHeight = table.rowHeight * (1 + end - first);
        cursor.place(Placed::Table, x, y, partHeight, first, end);
        cursor.y() = y + partHeight;
    }
}

}  // namespace

PageLayout layoutPages(const PageGeometry& page, const PrintChoice& choice) {
    PageLayout layout;
    PageCursor cursor(layout);
    const double top = page.height / 20;
    for (int copy = 0; copy < std::max(choice.copies, 1); ++copy) {
        cursor.startCopy();
        cursor.place(Placed::Title, 0, 0, page.titleLine);
        cursor.y() = page.titleLine + page.smallLine;  // the title, then an empty line in 10
        double y = top;
        if (choice.animation) {
            const double height = choice.animation->height * kTwipsPerPixel;
            cursor.place(Placed::Animation, (page.width - choice.animation->width * kTwipsPerPixel) / 2, y,
                         height);
            cursor.y() = top + height + 2 * page.smallLine;
            y = cursor.y();
        }
        if (choice.graph) {
            const double height = choice.graph->height * kTwipsPerPixel;
            cursor.place(Placed::Graph, (page.width - choice.graph->width * kTwipsPerPixel) / 2, y, height);
            cursor.y() = y + height + 2 * page.smallLine;
        }
        if (choice.table) layoutTable(page, *choice.table, cursor);
    }
    return layout;
}

}  // namespace molvane

#include "output/tablecopy.h"

#include <algorithm>
#include <string_view>

#include "common/grid.h"

namespace molvane {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

void appendEscaped(std::string& html, std::string_view text) {
    for (const char c : text) {
        switch (c) {
            case '<':
                html += "&lt;";
                break;
            case '>':
                html += "&gt;";
                break;
            case '&':
                html += "&amp;";
                break;
            case '"':
                html += "&quot;";
                break;
            default:
                html += c;
        }
    }
}

}  // namespace

std::string copyTableText(GridModel& grid) {
    grid.setCol(0);
    grid.setRow(0);
    grid.setColSel(grid.cols() - 1);
    grid.setRowSel(grid.rows() - 1);
    std::string text = grid.clip();
    std::replace(text.begin(), text.end(), '\r', '\n');
    return text;
}

std::string tableHtml(const GridModel& grid) {
    std::string html = "<html><head><meta charset=\"utf-8\"></head><body><table border=\"1\">";
    for (int r = 0; r < grid.rows(); ++r) {
        html += "<tr>";
        const std::string_view cell = r == 0 ? "th" : "td";
        for (int c = 0; c < grid.cols(); ++c) {
            // The blanks after the times only align them on screen: cells
            // without them are read as numbers.
            html += '<';
            html += cell;
            html += '>';
            appendEscaped(html, trimmed(grid.text(r, c)));
            html += "</";
            html += cell;
            html += '>';
        }
        html += "</tr>";
    }
    html += "</table></body></html>";
    return html;
}

}  // namespace molvane

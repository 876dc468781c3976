// Reading back the CSV the program writes: its blocks, rows and cells.
#pragma once

#include <sstream>
#include <string>
#include <vector>

namespace molvane::test {

using CsvRow = std::vector<std::string>;
using CsvBlock = std::vector<CsvRow>;  // the lines of a block, its heading lines included

inline std::vector<CsvBlock> csvBlocks(const std::string& text, char separator) {
    std::vector<CsvBlock> blocks(1);
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty()) {
            blocks.emplace_back();
            continue;
        }
        CsvRow row;
        std::string cell;
        std::istringstream cells(line);
        while (std::getline(cells, cell, separator)) row.push_back(cell);
        if (!line.empty() && line.back() == separator) row.emplace_back();
        blocks.back().push_back(row);
    }
    return blocks;
}

// A cell as a number, whichever decimal mark it has.
inline double csvNumber(std::string cell) {
    for (char& c : cell)
        if (c == ',') c = '.';
    return std::stod(cell);
}

}  // namespace molvane::test

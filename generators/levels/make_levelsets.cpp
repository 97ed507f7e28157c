// Turns a level text into a level-set file: one 750-byte record per level,
// the level drawn from the top-left corner of the 22 x 34 grid, everything
// the border can reach without crossing a wall marked as outside.
//
//   make_levelsets <levels.txt> <levels.box>
//
// A level that is too big, not closed, or has no single worker or unequal
// numbers of boxes and targets stops the build with a message naming it.

#include "level_text.h"
#include "storage/record_file.h"
#include "storage/records.h"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using sokoban::TMazeData;

std::uint8_t codeOf(char c) {
    switch (c) {
    case '#':
        return sokoban::kWall;
    case '.':
    case '+':
        return sokoban::kTarget;
    case '$':
        return sokoban::kBox;
    case '*':
        return sokoban::kBoxOnTarget;
    default: // blank and worker
        return sokoban::kFloor;
    }
}

TMazeData toRecord(const std::vector<std::string>& rows) {
    std::size_t width = 0;
    for (const auto& r : rows)
        width = std::max(width, r.size());
    if (rows.size() > static_cast<std::size_t>(sokoban::kRows) ||
        width > static_cast<std::size_t>(sokoban::kCols))
        throw std::runtime_error("does not fit the 22 x 34 board");

    TMazeData maze;
    maze.cells.fill(sokoban::kFloor); // the flood below turns the unused part into outside
    int workers = 0, boxes = 0, targets = 0;
    for (std::size_t y = 0; y < rows.size(); ++y)
        for (std::size_t x = 0; x < rows[y].size(); ++x) {
            const char c = rows[y][x];
            const int index = static_cast<int>(y) * sokoban::kCols + static_cast<int>(x);
            maze.cells[index] = codeOf(c);
            if (c == '@' || c == '+') {
                maze.man = static_cast<std::int16_t>(index);
                ++workers;
            }
            if (c == '$' || c == '*') ++boxes;
            if (c == '.' || c == '*' || c == '+') ++targets;
        }
    if (workers != 1) throw std::runtime_error("needs exactly one worker");
    if (boxes == 0 || boxes != targets) throw std::runtime_error("boxes and targets differ");

    // Flood from the border of the grid through everything that is not wall.
    std::vector<int> todo;
    std::vector<bool> outside(sokoban::kCells, false);
    auto enter = [&](int index) {
        if (outside[index] || maze.cells[index] == sokoban::kWall) return;
        outside[index] = true;
        todo.push_back(index);
    };
    for (int x = 0; x < sokoban::kCols; ++x) {
        enter(x);
        enter((sokoban::kRows - 1) * sokoban::kCols + x);
    }
    for (int y = 0; y < sokoban::kRows; ++y) {
        enter(y * sokoban::kCols);
        enter(y * sokoban::kCols + sokoban::kCols - 1);
    }
    while (!todo.empty()) {
        const int i = todo.back();
        todo.pop_back();
        const int row = i / sokoban::kCols, col = i % sokoban::kCols;
        if (row > 0) enter(i - sokoban::kCols);
        if (row < sokoban::kRows - 1) enter(i + sokoban::kCols);
        if (col > 0) enter(i - 1);
        if (col < sokoban::kCols - 1) enter(i + 1);
    }
    for (int i = 0; i < sokoban::kCells; ++i) {
        if (!outside[i]) continue;
        if (maze.cells[i] != sokoban::kFloor || i == maze.man)
            throw std::runtime_error("is not closed by walls");
        maze.cells[i] = sokoban::kOutside;
    }
    return maze;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make_levelsets <levels.txt> <levels.box>\n";
        return 2;
    }
    try {
        std::ifstream in(argv[1]);
        if (!in) throw std::runtime_error("cannot be read");
        const auto levels = sokoban::leveltext::readLevels(in);
        if (levels.empty()) throw std::runtime_error("holds no level");

        std::vector<TMazeData> records;
        for (const auto& level : levels) {
            try {
                records.push_back(toRecord(level.rows));
            } catch (const std::exception& e) {
                throw std::runtime_error("level at line " + std::to_string(level.line) + " " +
                                         e.what());
            }
        }

        const sokoban::RecordFile out(argv[2], TMazeData::kSize);
        out.create();
        for (std::size_t i = 0; i < records.size(); ++i)
            out.write(static_cast<std::int64_t>(i), records[i].encode());
    } catch (const std::exception& e) {
        std::cerr << argv[1] << ": " << e.what() << "\n";
        return 1;
    }
    return 0;
}

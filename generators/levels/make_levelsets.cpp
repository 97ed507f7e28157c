// Turns a level text into a level-set file: one 750-byte record per level,
// the level drawn from the top-left corner of the 22 x 34 grid, everything
// the edge of the grid can reach without crossing a wall marked as outside.
//
//   make_levelsets <levels.txt> <levels.box>
//
// A level that is too big, not closed, or has no single worker or unequal
// numbers of boxes and targets stops the build with a message naming it.

#include "set_text.h"

#include "core/paths.h"
#include "storage/record_file.h"
#include "storage/records.h"

#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using sokoban::TMazeData;
namespace core = sokoban::core;

// No cell the worker can reach lies outside or on the edge of the board.
bool closedByWalls(const core::Board& b) {
    const std::vector<bool> in = core::reach(b, b.worker, core::Walk::ThroughBoxes);
    for (int p = 0; p < b.size(); ++p) {
        if (!in[static_cast<std::size_t>(p)]) continue;
        for (int d = 0; d < 4; ++d) {
            const int q = b.neighbour(p, d);
            if (q < 0 || b.at(q) == core::kOutside) return false;
        }
    }
    return true;
}

TMazeData toRecord(const sokoban::settext::SetLevel& level) {
    const core::Board& b = level.board;
    if (b.rows > sokoban::kRows || b.cols > sokoban::kCols)
        throw std::runtime_error("does not fit the 22 x 34 board");
    if (level.workers != 1) throw std::runtime_error("needs exactly one worker");
    if (b.boxCount() == 0 || b.boxCount() != b.targetCount())
        throw std::runtime_error("boxes and targets differ");
    if (!closedByWalls(b)) throw std::runtime_error("is not closed by walls");

    TMazeData maze;
    maze.cells.fill(sokoban::kOutside);
    for (int r = 0; r < b.rows; ++r)
        for (int c = 0; c < b.cols; ++c)
            maze.cells[static_cast<std::size_t>(r * sokoban::kCols + c)] = b.at(r, c);
    maze.man = static_cast<std::int16_t>(b.rowOf(b.worker) * sokoban::kCols + b.colOf(b.worker));
    return maze;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make_levelsets <levels.txt> <levels.box>\n";
        return 2;
    }
    try {
        const auto levels = sokoban::settext::readSetFile(argv[1]);
        if (levels.empty()) throw std::runtime_error("holds no level");

        std::vector<TMazeData> records;
        for (const auto& level : levels) {
            try {
                records.push_back(toRecord(level));
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

// A level as the solver reads it: a rectangular grid of the game's cell codes
// (up to 64 x 64) and the worker's square, from a level record or from lines
// of XSB text.
#pragma once

#include "storage/records.h"

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace sokoban::solver {

constexpr int kMaxSide = 64;

// Move codes, as the game numbers them.
enum Dir : int { kUp = 0, kDown = 1, kLeft = 2, kRight = 3 };
constexpr int kDRow[4] = {-1, 1, 0, 0};
constexpr int kDCol[4] = {0, 0, -1, 1};
constexpr int opposite(int d) {
    return d ^ 1;
}

struct Level {
    int rows = 0;
    int cols = 0;
    std::vector<std::uint8_t> cells; // CellCode per square, row-major
    int man = -1;                    // row * cols + col

    std::uint8_t at(int r, int c) const {
        return r < 0 || c < 0 || r >= rows || c >= cols ? std::uint8_t{kOutside}
                                                        : cells[r * cols + c];
    }
};

// Either a level or the reason it could not be read.
struct LevelOrError {
    Level level;
    std::string error; // empty when the level was read
    bool ok() const { return error.empty(); }
};

// A level record of the game. The edge of the 22 x 34 grid counts as wall.
LevelOrError levelFromMaze(const TMazeData& maze);

// One level of XSB text, one string per row. Spaces, '-' and '_' are floor.
// A level whose worker can walk off the drawn rows is refused (open edge).
LevelOrError levelFromXsb(const std::vector<std::string>& rows);

// Writes a level back as XSB rows (no trailing spaces).
std::vector<std::string> levelToXsb(const Level& level);

// The runs of level lines in a text file: a level line consists only of
// "#@+$*. -_" and holds at least one '#'; any other line ends a level. A
// trailing carriage return is ignored. Lines longer than kMaxSide are kept
// cut short with `tooWide` set, so a huge line costs no memory.
struct TextLevel {
    std::vector<std::string> rows;
    int firstLine = 0; // 1-based line number in the file
    bool tooWide = false;
    bool tooTall = false; // rows past kMaxSide are not kept
};
std::vector<TextLevel> splitTextLevels(std::istream& in);

} // namespace sokoban::solver

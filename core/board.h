// A Sokoban board of any size up to 64 x 64: one cell code per cell, row by
// row, and the worker's cell. Standard C++ only; the game's level records,
// files and texts for people all live elsewhere.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sokoban::core {

constexpr int kMaxSide = 64;

// Cell codes, numbered as the game's level records store them. A box is the
// code of the cell under it plus 2.
enum CellCode : std::uint8_t {
    kOutside = 0,
    kWall = 1,
    kFloor = 2,
    kTarget = 3,
    kBox = 4,
    kBoxOnTarget = 5,
};

constexpr bool isBox(std::uint8_t code) {
    return code == kBox || code == kBoxOnTarget;
}
constexpr bool isTarget(std::uint8_t code) {
    return code == kTarget || code == kBoxOnTarget;
}
// Floor or target with nothing on it: the worker may step there.
constexpr bool isFree(std::uint8_t code) {
    return code == kFloor || code == kTarget;
}

// Move directions, numbered as the game stores moves in its logs and answers.
enum Dir : std::uint8_t { kUp = 0, kDown = 1, kLeft = 2, kRight = 3 };
constexpr int kDRow[4] = {-1, 1, 0, 0};
constexpr int kDCol[4] = {0, 0, -1, 1};
constexpr Dir opposite(Dir d) {
    return static_cast<Dir>(d ^ 1);
}

// Moves as direction codes, one byte each, as logs and answers keep them.
using Moves = std::vector<std::uint8_t>;

struct Board {
    int rows = 0;
    int cols = 0;
    std::vector<std::uint8_t> cells; // row * cols + col
    // The worker's cell; -1 for none. Not a cell code: the cell under the
    // worker keeps its own code (floor or target).
    int worker = -1;

    Board() = default;
    // A board of outside cells, clamped to 0 .. kMaxSide each way.
    Board(int rows, int cols);

    int size() const { return rows * cols; }
    bool contains(int cell) const { return cell >= 0 && cell < size(); }
    int cellAt(int row, int col) const { return row * cols + col; }
    int rowOf(int cell) const { return cols > 0 ? cell / cols : 0; }
    int colOf(int cell) const { return cols > 0 ? cell % cols : 0; }

    // The code of a cell; outside for anything off the board.
    std::uint8_t at(int cell) const {
        return contains(cell) ? cells[static_cast<std::size_t>(cell)] : std::uint8_t{kOutside};
    }
    std::uint8_t at(int row, int col) const {
        return row < 0 || col < 0 || row >= rows || col >= cols ? std::uint8_t{kOutside}
                                                                : at(cellAt(row, col));
    }
    void set(int cell, std::uint8_t code) { cells[static_cast<std::size_t>(cell)] = code; }

    // The cell one step from `cell` in direction d; -1 across the board's edge.
    int neighbour(int cell, int d) const;

    int boxCount() const;    // boxes on and off targets
    int targetCount() const; // targets with and without boxes

    bool operator==(const Board&) const = default;
};

// A board from XSB rows: "#" wall, " " floor, "." target, "$" box, "*" box
// on target, "@" worker, "+" worker on target; "-" and "_" are floor too.
// The board is as wide as the longest row; cells past a row's end and any
// other character are outside. Every blank stays floor: which blanks lie
// outside the walls is the level-text reader's business. The worker stands
// on the last worker character, none when there is none. Rows and columns
// past kMaxSide are cut off.
Board fromXsbRows(const std::vector<std::string>& rows);

// The board as XSB rows, outside cells as blanks, trailing blanks dropped.
std::vector<std::string> toXsbRows(const Board& board);

} // namespace sokoban::core

// The level reduced to what the search needs: the squares the worker can ever
// reach, numbered compactly, with their neighbours, the targets, the boxes and
// the tables computed once per level (dead squares, push distances, tunnels).
#pragma once

#include "core/board.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace sokoban::solver {

// The solver works on core boards, in the game's move codes and cell codes.
using core::kBox;
using core::kBoxOnTarget;
using core::kDCol;
using core::kDown;
using core::kDRow;
using core::kFloor;
using core::kLeft;
using core::kMaxSide;
using core::kOutside;
using core::kRight;
using core::kTarget;
using core::kUp;
using core::kWall;
constexpr int opposite(int d) {
    return d ^ 1;
}

using Square = std::uint16_t;          // compact square number
constexpr Square kNone = 0xffff;       // no square (wall or off the board)
constexpr std::uint16_t kFar = 0xffff; // no push path

class Board {
  public:
    // Builds the board of a valid level (see invalidReason). When the level cannot be solved for
    // a reason seen right away (a box stuck outside the walls, more boxes
    // than targets), unsolvable() says why.
    explicit Board(const core::Board& level);

    const core::Board& level() const { return level_; }
    const std::string& unsolvable() const { return unsolvable_; }

    int size() const { return static_cast<int>(grid_.size()); }
    int gridOf(Square s) const { return grid_[s]; }
    Square squareOf(int gridIndex) const { return square_[gridIndex]; }
    Square next(Square s, int dir) const { return next_[s][dir]; }

    bool isTarget(Square s) const { return target_[s]; }
    // No box standing here can ever reach a target.
    bool isDead(Square s) const { return dead_[s]; }
    // Walls (or the board's edge) on both sides across direction dir.
    bool isTunnel(Square s, int dir) const { return tunnel_[s] & (1 << (dir >> 1)); }

    const std::vector<Square>& targets() const { return targets_; }
    const std::vector<Square>& boxes() const { return boxes_; } // sorted
    Square man() const { return man_; }

    // Fewest pushes that bring a box from s onto target number t on an
    // otherwise empty board, or kFar.
    std::uint16_t pushDistance(int t, Square s) const { return dist_[t * size() + s]; }

    // The same when the worker stands on side `side` of the box (a move
    // code: the square next(s, side)), walls only in the way. Empty tables
    // on boards too big for them; then only pushDistance() is there.
    bool hasSideDistances() const { return !sideDist_.empty(); }
    std::uint16_t sideDistance(int t, Square s, int side) const {
        return sideDist_[(static_cast<std::size_t>(t) * size() + s) * 4 + side];
    }
    // Sides of a box on s with the same group number are joined by a walk
    // around it; kNoGroup where the side is wall.
    static constexpr std::uint8_t kNoGroup = 0xff;
    std::uint8_t sideGroup(Square s, int side) const { return sideGroup_[s * 4 + side]; }

  private:
    void computeDeadAndDistances();
    void computeSideDistances();

    core::Board level_;
    std::string unsolvable_;
    std::vector<int> grid_;
    std::vector<Square> square_;
    std::vector<std::array<Square, 4>> next_;
    std::vector<std::uint8_t> target_, dead_, tunnel_;
    std::vector<Square> targets_, boxes_;
    Square man_ = kNone;
    std::vector<std::uint16_t> dist_;
    std::vector<std::uint8_t> sideGroup_;
    std::vector<std::uint16_t> sideDist_;
};

} // namespace sokoban::solver

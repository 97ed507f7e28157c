// Dead squares and frozen boxes of the level in play, as the solver sees
// them: a box on a dead square can never reach a target, and a frozen box
// can never move again.
#pragma once

#include "core/board.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace sokoban {

namespace solver {
class Board;
class Detector;
} // namespace solver

class DeadSquares {
  public:
    DeadSquares();
    ~DeadSquares();
    DeadSquares(DeadSquares&&) noexcept;
    DeadSquares& operator=(DeadSquares&&) noexcept;

    // Learns the walls and targets of a level; a board the solver cannot
    // read has no dead squares.
    void reset(const core::Board& level);
    void clear();

    // Floor (not a target) from which no box can ever reach a target; cells
    // are numbered as on the board given to reset().
    bool isDead(int cell) const {
        return cell >= 0 && static_cast<std::size_t>(cell) < marks_.size() &&
               marks_[static_cast<std::size_t>(cell)] != 0;
    }
    const std::vector<std::uint8_t>& marks() const { return marks_; }

    enum class Lock { None, DeadSquare, Frozen };
    // What the box just pushed onto boxCell did to the position.
    Lock afterPush(std::span<const std::uint8_t> cells, int boxCell);

  private:
    std::unique_ptr<solver::Board> board_;
    std::unique_ptr<solver::Detector> detector_;
    std::vector<std::uint8_t> marks_;
};

} // namespace sokoban

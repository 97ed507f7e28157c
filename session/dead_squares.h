// Dead squares and frozen boxes of the level in play, as the solver sees
// them: a box on a dead square can never reach a target, and a frozen box
// can never move again.
#pragma once

#include "storage/records.h"

#include <array>
#include <memory>

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
    void reset(const Cells& cells, int man);
    void clear();

    // Floor (not a target) from which no box can ever reach a target.
    bool isDead(int cell) const { return cell >= 0 && cell < kCells && marks_[cell] != 0; }
    const std::array<std::uint8_t, kCells>& marks() const { return marks_; }

    enum class Lock { None, DeadSquare, Frozen };
    // What the box just pushed onto boxCell did to the position.
    Lock afterPush(const Cells& cells, int boxCell);

  private:
    std::unique_ptr<solver::Board> board_;
    std::unique_ptr<solver::Detector> detector_;
    std::array<std::uint8_t, kCells> marks_{};
};

} // namespace sokoban

#include "session/dead_squares.h"

#include "solver/board.h"
#include "solver/deadlock.h"
#include "solver/solver.h"
#include "storage/maze_board.h"

namespace sokoban {

DeadSquares::DeadSquares() = default;
DeadSquares::~DeadSquares() = default;
DeadSquares::DeadSquares(DeadSquares&&) noexcept = default;
DeadSquares& DeadSquares::operator=(DeadSquares&&) noexcept = default;

void DeadSquares::clear() {
    detector_.reset();
    board_.reset();
    marks_.fill(0);
}

void DeadSquares::reset(const Cells& cells, int man) {
    clear();
    const core::Board level = boardOf(cells, man);
    if (!solver::invalidReason(level).empty()) return;
    board_ = std::make_unique<solver::Board>(level);
    detector_ = std::make_unique<solver::Detector>(*board_);
    for (int s = 0; s < board_->size(); ++s) {
        const auto sq = static_cast<solver::Square>(s);
        if (board_->isDead(sq) && !board_->isTarget(sq)) marks_[board_->gridOf(sq)] = 1;
    }
}

DeadSquares::Lock DeadSquares::afterPush(const Cells& cells, int boxCell) {
    if (!board_ || boxCell < 0 || boxCell >= kCells) return Lock::None;
    if (marks_[boxCell]) return Lock::DeadSquare;
    const solver::Square at = board_->squareOf(boxCell);
    if (at == solver::kNone) return Lock::None;
    std::vector<std::uint16_t> boxAt(static_cast<std::size_t>(board_->size()), 0);
    for (int s = 0; s < board_->size(); ++s) {
        const auto code = cells[board_->gridOf(static_cast<solver::Square>(s))];
        if (code == kBox || code == kBoxOnTarget) boxAt[s] = 1;
    }
    return detector_->frozenOffTarget(boxAt, at) ? Lock::Frozen : Lock::None;
}

} // namespace sokoban

#include "session/dead_squares.h"

#include "solver/board.h"
#include "solver/deadlock.h"
#include "solver/solver.h"

#include <algorithm>

namespace sokoban {

DeadSquares::DeadSquares() = default;
DeadSquares::~DeadSquares() = default;
DeadSquares::DeadSquares(DeadSquares&&) noexcept = default;
DeadSquares& DeadSquares::operator=(DeadSquares&&) noexcept = default;

void DeadSquares::clear() {
    detector_.reset();
    board_.reset();
    std::fill(marks_.begin(), marks_.end(), std::uint8_t{0});
}

void DeadSquares::reset(const core::Board& level) {
    clear();
    marks_.assign(static_cast<std::size_t>(level.size()), 0);
    if (!solver::invalidReason(level).empty()) return;
    board_ = std::make_unique<solver::Board>(level);
    detector_ = std::make_unique<solver::Detector>(*board_);
    for (int s = 0; s < board_->size(); ++s) {
        const auto sq = static_cast<solver::Square>(s);
        if (board_->isDead(sq) && !board_->isTarget(sq))
            marks_[static_cast<std::size_t>(board_->gridOf(sq))] = 1;
    }
}

DeadSquares::Lock DeadSquares::afterPush(std::span<const std::uint8_t> cells, int boxCell) {
    if (!board_ || boxCell < 0 || static_cast<std::size_t>(boxCell) >= marks_.size() ||
        marks_.size() != cells.size())
        return Lock::None;
    if (marks_[static_cast<std::size_t>(boxCell)]) return Lock::DeadSquare;
    const solver::Square at = board_->squareOf(boxCell);
    if (at == solver::kNone) return Lock::None;
    std::vector<std::uint16_t> boxAt(static_cast<std::size_t>(board_->size()), 0);
    for (int s = 0; s < board_->size(); ++s) {
        const auto code = cells[board_->gridOf(static_cast<solver::Square>(s))];
        if (core::isBox(code)) boxAt[s] = 1;
    }
    return detector_->frozenOffTarget(boxAt, at) ? Lock::Frozen : Lock::None;
}

} // namespace sokoban

#include "core/rules.h"

#include <algorithm>

namespace sokoban::core {

MoveOutcome tryMove(const Board& board, Dir d) {
    MoveOutcome out;
    out.workerFrom = out.workerTo = board.worker;
    const int next = board.neighbour(board.worker, d);
    if (next < 0) return out;
    const std::uint8_t code = board.at(next);
    if (isFree(code)) {
        out.kind = MoveKind::Step;
        out.workerTo = next;
        return out;
    }
    out.obstacle = next;
    if (!isBox(code)) return out;
    const int beyond = board.neighbour(next, d);
    if (beyond < 0 || !isFree(board.at(beyond))) return out;
    out.kind = MoveKind::Push;
    out.obstacle = -1;
    out.workerTo = next;
    out.boxFrom = next;
    out.boxTo = beyond;
    return out;
}

MoveOutcome apply(Board& board, Dir d) {
    const MoveOutcome out = tryMove(board, d);
    if (out.kind == MoveKind::Push) {
        board.set(out.boxFrom, static_cast<std::uint8_t>(board.at(out.boxFrom) - 2));
        board.set(out.boxTo, static_cast<std::uint8_t>(board.at(out.boxTo) + 2));
    }
    board.worker = out.workerTo;
    return out;
}

bool solved(const Board& board) {
    return std::find(board.cells.begin(), board.cells.end(), kBox) == board.cells.end();
}

} // namespace sokoban::core

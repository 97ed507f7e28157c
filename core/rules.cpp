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

MoveFigures figuresOf(Board board, const Moves& moves) {
    MoveFigures f;
    int lastBox = -1; // where the last pushed box stands
    int lastDir = -1; // the direction of the last move, when it was a push
    for (const std::uint8_t m : moves) {
        const MoveOutcome out = apply(board, static_cast<Dir>(m));
        if (out.kind == MoveKind::Blocked) break;
        ++f.moves;
        if (out.kind != MoveKind::Push) {
            lastDir = -1;
            continue;
        }
        ++f.pushes;
        if (out.boxFrom != lastBox) ++f.boxChanges;
        if (out.boxFrom != lastBox || lastDir != m) ++f.boxLines;
        lastBox = out.boxTo;
        lastDir = m;
    }
    return f;
}

} // namespace sokoban::core

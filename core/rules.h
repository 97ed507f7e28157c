// The rules of play: one move of the worker is a step onto a free cell, a
// push of the one box in front of him onto a free cell behind it, or nothing.
#pragma once

#include "core/board.h"

namespace sokoban::core {

enum class MoveKind { Blocked, Step, Push };

struct MoveOutcome {
    MoveKind kind = MoveKind::Blocked;
    int workerFrom = -1;
    int workerTo = -1; // workerFrom when blocked
    int boxFrom = -1;  // a push only
    int boxTo = -1;
    // A blocked move: the cell in the way (a wall, outside, or a box that
    // cannot move), -1 at the board's edge or without a worker.
    int obstacle = -1;
};

// Makes the move on the board when the rules allow it. Anything but a free
// cell or a box is in the way, codes no level should hold included.
MoveOutcome apply(Board& board, Dir d);

// What apply would do, leaving the board as it is.
MoveOutcome tryMove(const Board& board, Dir d);

// No box stands off a target (a board without boxes is solved).
bool solved(const Board& board);

// What players count of a line of moves: moves and pushes made (up to the
// first blocked move), box lines (a push that does not carry on the last
// move's push of the same box the same way starts one) and box changes (a
// push of another box than the last one pushed, the first push included).
struct MoveFigures {
    int moves = 0;
    int pushes = 0;
    int boxLines = 0;
    int boxChanges = 0;
    bool operator==(const MoveFigures&) const = default;
};
MoveFigures figuresOf(Board board, const Moves& moves);

} // namespace sokoban::core

// Finishing touches of generated levels, given a solution: boxes that never
// move turned to wall and dead ends filled, the solution still holding.
#pragma once

#include "core/board.h"

#include <string>

namespace sokoban::hardlevels {

// The boxes the solution never moves (they stand on targets) become wall:
// they only narrow the room, and the solution still holds. `walled` gets
// their number; the level comes back finished.
core::Board wallInIdleBoxes(const core::Board& level, const std::string& lurd, int& walled);

// Dead ends of bare floor the solution never walks into become wall, and
// the level is finished again: the puzzle stays the same and its solution
// still holds.
core::Board fillUnusedDeadEnds(const core::Board& level, const std::string& lurd);

// Every square of floor that neither the worker nor a box enters while the
// solution is played becomes wall, and the level is finished again: the
// solution still holds and the board holds no room it does not use.
core::Board wallInUnusedFloor(const core::Board& level, const std::string& lurd);

// The solution without its detours: wherever the play comes back to a
// position it was in before (the same boxes, the worker in the same area),
// the pushes between go, and the worker walks the shortest way to each
// push. A solution that does not solve the level comes back unchanged.
std::string withoutDetours(const core::Board& level, const std::string& lurd);

} // namespace sokoban::hardlevels

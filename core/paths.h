// Ways across a board: where the worker can walk, the shortest walk, the
// pushes that bring one box somewhere, and the game's own walk for a click
// on a distant cell. Moves are direction codes; nothing here changes the
// board.
#pragma once

#include "core/board.h"

#include <optional>
#include <vector>

namespace sokoban::core {

enum class Walk {
    AroundBoxes,  // boxes stand in the way: where the worker gets without pushing
    ThroughBoxes, // boxes ignored: the area he could ever get to
};

// The cells reached from `from` by steps onto free cells (boxes too when
// walking through them); `from` itself counts whatever it holds. Indexed by
// cell; all false when `from` is off the board.
std::vector<bool> reach(const Board& board, int from, Walk walk = Walk::AroundBoxes);

// The fewest steps from `from` to the free cell `to`; of equally short walks
// the one found by trying up, down, left, right in that order. Empty when
// from is to; nullopt when `to` cannot be reached.
std::optional<Moves> shortestWalk(const Board& board, int from, int to);

// The fewest pushes, and for them the fewest moves, that bring the box on
// `box` to the free cell `goal`, the worker starting where the board has
// him and the other boxes staying put; nullopt when it cannot be done.
std::optional<Moves> boxPath(const Board& board, int box, int goal);

// The walk the game makes for a click on a distant free cell when it does
// not look for the shortest one: a greedy search that always steps to the
// free neighbour nearest (in a straight line) to the goal, trying left,
// right, up, down on ties and backing out of dead ends, made both ways; the
// shorter of the two, straightened where a greedy search finds a shortcut
// between two of its cells. The player sees every step, so the choices are
// fixed. nullopt when the goal cannot be reached, or the search's path
// grows to 700 cells first.
std::optional<Moves> greedyWalk(const Board& board, int from, int to);

} // namespace sokoban::core

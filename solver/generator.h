// Makes solvable levels: a random room, boxes set on their targets, then
// played backwards by pulling boxes away. Whatever the pulls reach can be
// pushed back, so every level made here has a solution.
#pragma once

#include "level.h"

#include <cstdint>

namespace sokoban::solver {

struct GeneratorOptions {
    int rows = 10; // the whole level, walls included (at most kMaxSide)
    int cols = 10;
    int boxes = 3;
    std::uint64_t seed = 1;
    double wallShare = 0.18; // of the inner squares turned to wall
    int pulls = 0;           // 0: grows with the room and the boxes
};

// A level with the given room and box count; the same options always give
// the same level. Fewer boxes come out when the room has too little floor.
Level generateLevel(const GeneratorOptions& options);

} // namespace sokoban::solver

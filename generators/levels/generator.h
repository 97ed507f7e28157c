// Makes solvable levels: a random room, boxes set on their targets, then
// played backwards by pulling boxes away. Whatever the pulls reach can be
// pushed back, so every level made here has a solution.
#pragma once

#include "solver/board.h"

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
core::Board generateLevel(const GeneratorOptions& options);

// Levels whose targets are packed together: a block of targets in a room of
// its own with one or two doors, or in a corner of the open floor, and the
// boxes pulled out of it far across a large room.
struct GoalRoomOptions {
    int rows = 20; // the whole level, walls included (at most kMaxSide)
    int cols = 28;
    int boxes = 20;
    std::uint64_t seed = 1;
    int doors = 1; // 0: the targets lie in a corner with no room walls
    // The room holds two spare columns of floor beside the block, with the
    // door in their wall; or, with spareRow, two spare rows below it.
    bool spareRow = false;
    double wallShare = 0.10; // of the squares outside the room turned to wall
    // The floor outside the room: 0 one open hall; 1 halls parted by long
    // walls with a few gaps; 2 aisles between rows of shelves.
    int layout = 0;
};
core::Board generateGoalRoomLevel(const GoalRoomOptions& options);

// Levels that need many pushes and many changes of box: a room put together
// from small wall patterns, targets scattered or grown into one patch, then
// several long backward games (pulls) from the solved position, each biased
// to pull a box other than the last one and away from the targets; the
// position farthest from solved over all games is kept.
struct DeepOptions {
    int rows = 12; // the whole level, walls included (at most kMaxSide)
    int cols = 14;
    int boxes = 8;
    std::uint64_t seed = 1;
    bool packedTargets = false; // one patch of targets instead of scattered ones
    double openShare = 0.5;     // of the room's patterns left all floor
    int games = 8;              // backward games played
    int pulls = 0;              // per game; 0: grows with the room and the boxes
};
core::Board generateDeepLevel(const DeepOptions& options);

} // namespace sokoban::solver

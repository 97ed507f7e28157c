// Rooms laid out from motifs, so that a level looks made on purpose: a hall
// symmetric about its middle column, twin rooms that mirror each other
// across a corridor, a store room joined to its goal room by a corridor of
// a set length, and always a goal room behind a door. The boards come with
// walls, floor and targets only: the level tools' backward search puts the
// boxes where the way home is longest (make_levels motif), so every level
// made from them is proven by the pushes that search found.
#pragma once

#include "generator.h"

#include "core/board.h"

#include <cstdint>
#include <vector>

namespace sokoban::solver {

enum class Motif {
    MirrorHall, // a hall mirrored about its middle column, the goal room below it on that column
    TwinRooms,  // two rooms, each the other's mirror image, a corridor of two lanes between
                // them and the goal room hanging from the corridor's middle
    Corridor,   // a store room, a straight corridor of the set length, the goal room at its end
};

struct MotifOptions {
    Motif kind = Motif::MirrorHall;
    int boxes = 4;
    int hallRows = 4;          // floor rows of the hall, or of each twin or store room
    int hallCols = 7;          // floor columns of the hall, or of each twin or store room
    int corridor = 3;          // squares of the corridor (TwinRooms: odd, at least goalCols + 2)
    int goalCols = 3;          // floor columns of the goal room
    double pillarShare = 0.15; // of the room's squares turned to wall (mirrored where it mirrors)
    std::uint64_t seed = 1;
};

struct MotifBoard {
    core::Board board;          // walls, floor and targets; no cells when none came out
    int axisSum = -1;           // the walls mirror column c onto axisSum - c; -1: no mirror
    bool targetsMirror = false; // the targets mirror too
    std::vector<int> corridor;  // the corridor's squares from one end to the other
    int lanes = 1;              // 2: a second lane beside it, one row up
    std::vector<int> doors;     // the squares through which the goal room opens
    std::vector<int> goalRoom;  // the goal room's squares
};

// The board of one motif. Empty when the options do not fit the motif or the
// room came out in pieces.
MotifBoard motifBoard(const MotifOptions& options);

// Options drawn from the seed for a level of about `boxes` boxes and floor
// between minFloor and maxFloor (the board may still come out empty).
MotifOptions motifOptionsFor(Motif kind, int boxes, int minFloor, int maxFloor, Random& random);

} // namespace sokoban::solver

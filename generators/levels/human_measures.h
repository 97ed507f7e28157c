// What makes a level hard for a person rather than for the solver: how much
// floor each box has, a player who never looks ahead, how few first pushes
// keep the level open, and levels that nearly repeat another. The level
// tools select and order every set by these. No solver here: the measures
// that need one take it as a question (see narrowness).
#pragma once

#include "core/board.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace sokoban::levelcheck {

// Squares the worker could walk on, boxes aside, per box; 0 without boxes.
// Open rooms give many; the hardest puzzles keep it near five to seven.
double floorPerBox(const core::Board& board);

// The player with no look-ahead: again and again he takes the box that the
// fewest pushes bring to a free target and pushes it to the free target it
// can reach that is the nearest, or the most enclosed (walls and placed
// boxes round it; the nearest of equals). He never moves a box twice for one
// target and never goes back: when no box can reach a free target, he has
// lost.
enum class Greedy { NearestTarget, MostEnclosedTarget };
struct GreedyPlay {
    bool solved = false;
    int placed = 0; // boxes he put on targets before he won or stuck
    int pushes = 0;
    core::Moves moves; // what he played, for a look at it
};
GreedyPlay playWithoutLookAhead(const core::Board& board, Greedy variant);

// Either variant solves the level: past the lessons such a level is filler.
bool fallsToNoLookAhead(const core::Board& board);

// The positions one push from the start, one per push the worker can make
// without first pushing something else.
std::vector<core::Board> firstPushes(const core::Board& board);

// How narrow the way in is: of all first pushes, those after which the
// level may still be solved. `mayBeSolved` answers for one position; a
// solver that gives up answers yes, so `open` is at most the true count.
struct Narrowness {
    int pushes = 0;
    int open = 0;
};
Narrowness narrowness(const core::Board& board,
                      const std::function<bool(const core::Board&)>& mayBeSolved);

// The figures of a level as a person meets them, for the human score.
struct PersonFigures {
    int pushes = 0;     // of the solution with the fewest pushes known
    int boxChanges = 0; // pushes that move another box than the push before
    int boxes = 0;
    double floorPerBox = 0;
    double overBound = 1; // those pushes over the solver's lower bound; 1 when unknown
    double openShare = 1; // first pushes that keep the level open / all; 1 when unknown
};

// How hard a level is for a person, from what he sees and does, not from
// how long a solver searches (higher is harder):
//   12 log10(1 + pushes) + 10 log10(1 + changes) + 25 min(over - 1, 1)
//   + 10 (1 - open share) + 2 boxes - max(0, floor per box - 7) / 2
// Length and juggling count by their logarithms; every push beyond the
// lower bound is a detour to think out (up to double the bound); few safe
// first pushes make a trap; each box is one more thing to keep in mind;
// floor beyond seven squares a box gives room to spare.
double humanScore(const PersonFigures& figures);

// Ideas a lesson teaches, seen in the level or in its solution.
// A corral: boxes fence off floor the worker cannot get to at the start, a
// piece of four squares or more with an empty target in it (not a box that
// merely stands in a passage).
bool fencesOffATarget(const core::Board& level);
// A box as a wall for a while: playing `solution`, a box off the targets
// comes to stand where it cannot be pushed either way, held along one line
// by a box (along the other by a wall or a box), and is pushed on later,
// once the box that held it has moved.
bool holdsABoxWithABox(const core::Board& level, const core::Moves& solution);

// Levels met so far, each under a name, compared by their floor and their
// boxes and targets after any turn or mirror and a shift of up to two
// squares: two levels are near when their floors differ in at most a tenth
// of the smaller one's squares (at least two) and their boxes and targets
// together in at most two squares. So one target moved, a box moved, or a
// wall square added makes a near twin, not a new level. Exact repeats are
// near too; SameLevels keeps the exact rule.
class NearLevels {
  public:
    // The name of an earlier level near this one; otherwise nothing, and
    // the level is remembered under `name`.
    std::optional<std::string> add(const core::Board& board, const std::string& name = {});
    std::optional<std::string> nearTo(const core::Board& board) const;

    struct Layout {
        int rows = 0, cols = 0;
        std::vector<std::uint64_t> floor, boxes, targets; // a row's columns as bits
        int floorCount = 0, boxCount = 0;
    };

  private:
    struct Entry {
        std::string name;
        Layout layout;
    };
    std::vector<Entry> levels_;
};

// Whether two levels are near, as NearLevels judges.
bool nearLevels(const core::Board& a, const core::Board& b);

} // namespace sokoban::levelcheck

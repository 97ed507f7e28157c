// Makes solvable levels by playing backwards from the solved position:
// whatever the pulls reach can be pushed back, so every level made here has
// a solution. The one generator of the level tools (make_levels,
// make_hard_levels), the solver's tests and its benchmark corpora:
// - rooms laid from small wall patterns;
// - random backward games: generateLevel, generateGoalRoomLevel,
//   generateDeepLevel;
// - the exact backward search over pulls (PullSearch), whose depths are the
//   fewest pushes that solve a position;
// - the finish every level gets: what the worker never reaches goes.
// Boards are the core's; the same options always give the same level.
#pragma once

#include "core/board.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace sokoban::solver {

// The generators' random numbers: the same seed gives the same numbers on
// every machine.
class Random {
  public:
    explicit Random(std::uint64_t seed) : state_(seed * 0x9e3779b97f4a7c15ull + 1) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ull);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
        return z ^ (z >> 31);
    }
    // 0 .. n - 1; 0 when n is not positive.
    int below(int n) {
        return n <= 0 ? 0 : static_cast<int>(next() % static_cast<std::uint64_t>(n));
    }
    template <class T> void shuffle(std::vector<T>& v) {
        for (std::size_t i = v.size(); i > 1; --i)
            std::swap(v[i - 1], v[static_cast<std::size_t>(below(static_cast<int>(i)))]);
    }

  private:
    std::uint64_t state_;
};

struct GeneratorOptions {
    int rows = 10; // the whole level, walls included (at most kMaxSide)
    int cols = 10;
    int boxes = 3;
    std::uint64_t seed = 1;
    double wallShare = 0.18; // of the inner squares turned to wall
    int pulls = 0;           // 0: grows with the room and the boxes
};

// A level with the given room and box count: walls of one to three squares
// scattered in an open room, then one backward game. Fewer boxes come out
// when the room has too little floor.
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

// Levels that need many pushes and many changes of box: a room laid from
// wall patterns, targets scattered or grown into one patch, then several
// long backward games from the solved position, each biased to pull a box
// other than the last one and away from the targets; the position farthest
// from solved over all games is kept.
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

// Compact levels with a goal room behind a door: a small board laid from
// wall patterns, the targets packed into a walled room in one corner that
// the boxes enter by a single door, so they go in one at a time, far end
// first, and wait parked in the tight floor outside until their turn. The
// backward games pull every box out through the door into that floor,
// mostly another box than the last and away from the room. An empty board
// when the floor comes out outside minFloorPerBox .. maxFloorPerBox or more
// than half the boxes never left the room.
struct CompactOptions {
    int rows = 10; // the whole level, walls included (at most kMaxSide)
    int cols = 12;
    int boxes = 7;
    std::uint64_t seed = 1;
    double openShare = 0.2; // of the patterns outside the room left all floor
    int roomWidth = 3;      // columns of the goal room; its rows follow from the boxes
    double minFloorPerBox = 5;
    double maxFloorPerBox = 8;
    int games = 10;
    int pulls = 0; // per game; 0: grows with the room and the boxes
    // A box pulled out of the room goes at least this share of the way to
    // the square farthest from the targets: many boxes then leave room at
    // the door for the next (0: four squares or more).
    double parkFar = 0;
};
struct CompactLevel {
    core::Board level;    // empty when the options gave none
    core::Moves solution; // the backward games undone: a proof by construction
};
CompactLevel generateCompactLevel(const CompactOptions& options);

// --- Rooms -------------------------------------------------------------------

// A rows x cols board walled all round, its inside laid from 3 x 3 wall
// patterns, each turned and mirrored at random, openShare of them all
// floor. Only the largest connected piece of floor stays floor.
core::Board patternRoom(Random& random, int rows, int cols, double openShare);

// Plain floor with three or four walls (or outside) round it becomes wall,
// again and again, except the worker's cell and cells marked to keep.
void fillDeadEnds(core::Board& board, const std::vector<bool>& keep);

// Some all-floor block w wide and h high lies in the board.
bool hasOpenBlock(const core::Board& board, int w, int h);

// Cells that are neither wall nor outside.
int floorCount(const core::Board& board);

struct RoomOptions {
    int innerW = 6; // floor columns the patterns may cover
    int innerH = 6;
    int minFloor = 12;
    int maxFloor = 40;
    int openW = 3; // no all-floor block this wide and openH high (either way round)
    int openH = 4;
    double openShare = 0.12; // of the patterns left all floor
};

// A pattern room with its dead ends filled, or an empty board when it came
// out too small, too big or too open.
core::Board makeRoom(const RoomOptions& options, Random& random);

// The level as it is kept: cells the worker cannot reach, boxes aside,
// become wall where they touch his area (corners too) or lie shut in by
// walls, and outside elsewhere. The board keeps its size.
core::Board finished(const core::Board& board);

// --- The exact backward search --------------------------------------------------

// A push: the box's cell before and after it.
using Push = std::pair<int, int>;

// Breadth first over pulls from every solved position (or from one given
// position), so a position's depth is the fewest pushes between the two.
// Positions are the boxes plus the worker's area, named by its least cell.
class PullSearch {
  public:
    struct Position {
        std::uint64_t lo = 0, hi = 0; // the boxes as a set of floor numbers
        std::uint32_t parent = 0;     // the position one push nearer the start
        std::uint16_t depth = 0;
        std::uint8_t man = 0; // floor number of the least cell the worker reaches
    };

    // The walls and targets of `board` count; its boxes and worker do not.
    explicit PullSearch(const core::Board& board);

    // False when the board has no floor or more than 128 floor cells.
    bool usable() const { return !cellOf_.empty() && cellOf_.size() <= 128; }

    // Runs from the solved positions until every position is found (true)
    // or `cap` positions are stored (false).
    bool run(std::size_t cap);
    // The same from the given boxes and worker: depths are then pushes from
    // that position.
    bool runFrom(const std::vector<int>& boxes, int worker, std::size_t cap);

    const std::vector<Position>& positions() const { return positions_; }
    int cellOf(int floorNumber) const { return cellOf_[static_cast<std::size_t>(floorNumber)]; }
    std::vector<int> boxCells(const Position& p) const;
    // The pushes that take position i back to where the search started.
    std::vector<Push> pushesFrom(std::uint32_t i) const;

  private:
    bool search(const Position& start, int worker, std::size_t cap);
    bool insert(const Position& p);
    void load(const Position& p);
    // The least cell the worker reaches from `from` on the loaded position;
    // the cells themselves into `cells` when given.
    int area(int from, std::vector<int>* cells);

    core::Board board_; // walls and targets; the loaded position's boxes
    std::vector<int> number_, cellOf_;
    std::vector<Position> positions_;
    std::vector<std::uint32_t> table_;
};

// How a push sequence moves the boxes: how often the worker turns to
// another box, how many straight runs of one box it makes, and whether every
// box of the start moves at all.
struct PushStats {
    int changes = 0;
    int lines = 0;
    bool everyBoxMoves = true;
};
PushStats pushStats(const std::vector<int>& startBoxes, const std::vector<Push>& pushes);

} // namespace sokoban::solver

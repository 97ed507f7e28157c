// Packing plans: the order a group of targets is filled in, found by taking
// the boxes out of the filled group backwards, some pulled aside to wait;
// plans made again when the first stops fitting.
#include "check.h"
#include "core/level_text.h"
#include "solver/board.h"
#include "solver/goalroom.h"
#include "solver/packing.h"
#include "solver/search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <utility>

namespace sokoban::solver {
namespace {

using test::playPushes;
using test::xsb;

using Cell = std::pair<int, int>; // row, column

Cell cellOf(const Board& board, Square s) {
    const int cols = board.level().cols;
    return {board.gridOf(s) / cols, board.gridOf(s) % cols};
}

std::vector<Cell> cellsOf(const Board& board, const std::vector<Square>& squares) {
    std::vector<Cell> cells;
    for (Square s : squares)
        cells.push_back(cellOf(board, s));
    return cells;
}

Square squareAt(const Board& board, Cell c) {
    return board.squareOf(c.first * board.level().cols + c.second);
}

// Every target of the board once.
bool isPermutationOfTargets(const Board& board, std::vector<Square> order) {
    std::vector<Square> targets = board.targets();
    std::sort(order.begin(), order.end());
    std::sort(targets.begin(), targets.end());
    return order == targets;
}

struct Planned {
    PackingPlan plan;
    std::vector<int> depth;
};

// The plan for all the board's targets, those in `filledNow` holding boxes,
// the nearest the way out (the floor that is not a target) taken first.
Planned planAll(const Board& board, const std::vector<Cell>& filledNow) {
    const int n = board.size();
    std::vector<std::uint8_t> group(n, 0), filled(n, 0);
    for (Square t : board.targets())
        group[t] = 1;
    for (Cell c : filledNow)
        filled[squareAt(board, c)] = 1;
    Planned out;
    out.depth.assign(n, n);
    std::vector<Square> queue;
    for (int s = 0; s < n; ++s)
        if (!group[s]) {
            out.depth[s] = 0;
            queue.push_back(static_cast<Square>(s));
        }
    for (std::size_t i = 0; i < queue.size(); ++i)
        for (int d = 0; d < 4; ++d) {
            const Square q = board.next(queue[i], d);
            if (q != kNone && out.depth[q] > out.depth[queue[i]] + 1) {
                out.depth[q] = out.depth[queue[i]] + 1;
                queue.push_back(q);
            }
        }
    out.plan = planPacking(board, group, filled, out.depth);
    return out;
}

TEST(SolverPacking, PlansFillTheFarEndFirstParkOnlyWhenNeededAndKeepWhatCannotMove) {
    struct Case {
        const char* name;
        std::vector<std::string> level;
        std::vector<Cell> filledNow;
        std::vector<Cell> order; // empty: no plan; {{-1, -1}}: any order of every target
        bool parks;
    } cases[] = {
        {"a dead end is filled from its far end",
         {"##########", "#.....   #", "#######  #", "#  $$$$$@#", "##########"},
         {},
         {{1, 1}, {1, 2}, {1, 3}, {1, 4}, {1, 5}},
         false},
        // Only when the box on (3,2) waits on a square of the room emptied
        // before does another get out.
        {"a box waits in the room",
         {"########", "#..#  ##", "# .  $ #", "#.. ## #", "## #$$ #", "## #$$@#", "########"},
         {},
         {{-1, -1}},
         true},
        // (1,4) takes a box only pushed west from (1,5), the worker on
        // (1,6) shut in behind it: no box may wait on (1,5) for that.
        {"no waiting where the worker would be shut in",
         {"########", "#..... #", "###   ##", "#   #  #", "# $$$$$#", "#     @#", "########"},
         {},
         {},
         false},
        // The top row can only be filled by a push up from the wall below
        // it: never, unless it is filled now; then it heads the order.
        {"targets that cannot be filled",
         {"########", "#..#####", "#..    #", "####   #", "#  $$$$#", "#   @  #", "########"},
         {},
         {},
         false},
        {"targets that cannot be emptied are filled now",
         {"########", "#..#####", "#..    #", "####   #", "#  $$$$#", "#   @  #", "########"},
         {{1, 1}, {1, 2}},
         {{1, 2}, {1, 1}, {2, 1}, {2, 2}},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Board board(xsb(c.level));
        const Planned p = planAll(board, c.filledNow);
        if (c.order.empty()) {
            EXPECT_TRUE(p.plan.order.empty());
            continue;
        }
        ASSERT_TRUE(isPermutationOfTargets(board, p.plan.order));
        if (c.order.front().first >= 0) {
            EXPECT_EQ(cellsOf(board, p.plan.order), c.order);
        }
        EXPECT_EQ(!p.plan.parking.empty(), c.parks);
        // A box waits only on a target filled later than some other.
        for (Square park : p.plan.parking)
            EXPECT_NE(std::find(p.plan.order.begin() + 1, p.plan.order.end(), park),
                      p.plan.order.end());
    }
}

TEST(SolverPacking, ABoxLeavesTheGroupByEitherWayOut) {
    // Three targets in a passage open at both ends.
    const Board board(xsb({"#########", "#  ...  #", "## ### ##", "#  $$$ @#", "#########"}));
    const int n = board.size();
    std::vector<std::uint8_t> group(n, 0);
    for (Square t : board.targets())
        group[t] = 1;
    struct Case {
        Cell box;
        std::vector<Cell> blocked;
        bool out;
    } cases[] = {
        {{1, 3}, {{1, 4}, {1, 5}}, true},  // by the west end
        {{1, 5}, {{1, 3}, {1, 4}}, true},  // by the east end
        {{1, 3}, {{1, 4}, {1, 2}}, false}, // its way west stopped
        {{1, 4}, {{1, 3}, {1, 5}}, false}, // boxed in between two
        {{1, 4}, {{1, 5}}, true},          // west, once that end is empty
        {{1, 4}, {{1, 3}, {1, 6}}, false}, // the worker cannot get behind it
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> blocked(n, 0);
        blocked[squareAt(board, c.box)] = 1;
        for (Cell b : c.blocked)
            blocked[squareAt(board, b)] = 1;
        EXPECT_EQ(canPullOut(board, group, blocked, squareAt(board, c.box)), c.out)
            << c.box.first << "," << c.box.second;
    }
}

TEST(SolverPacking, APlanMadeAgainKeepsThePlacedBoxesAndTakesAnotherTargetNext) {
    const Board board(xsb({"#########", "#...    #", "#...    #", "#  $$$  #", "#  $$$  #",
                           "#@      #", "#########"}));
    const Planned first = planAll(board, {});
    ASSERT_EQ(first.plan.order.size(), 6u);
    const std::vector<Square>& order = first.plan.order;
    for (int placed = 0; placed < 5; ++placed) {
        SCOPED_TRACE(placed);
        std::vector<Square> boxes = board.boxes();
        // The placed boxes stand on their targets, the rest where they were.
        for (int i = 0; i < placed; ++i)
            boxes[static_cast<std::size_t>(i)] = order[static_cast<std::size_t>(i)];
        const PackingPlan again = replanPacking(board, order, placed, boxes, first.depth);
        if (placed == 5) {
            EXPECT_TRUE(again.order.empty()); // the last target has no other
            continue;
        }
        ASSERT_TRUE(isPermutationOfTargets(board, again.order));
        EXPECT_TRUE(std::equal(order.begin(), order.begin() + placed, again.order.begin()));
        EXPECT_NE(again.order[static_cast<std::size_t>(placed)],
                  order[static_cast<std::size_t>(placed)]);
        // With every other target ruled out too there is none left.
        const std::vector<Square> avoid(order.begin() + placed, order.end());
        EXPECT_TRUE(replanPacking(board, order, placed, boxes, first.depth, avoid).order.empty());
    }
}

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(SolverPacking, AWorkerShutInAmongPlacedBoxesGetsAPlanThatLetsHimOut) {
    // The worker starts in the goal room walled in by boxes on targets that
    // the first order keeps where they are: not one push follows it.
    // Planned again with the boxes he can push not placed, it is solved.
    const auto levels = core::readLevelText(readAll(std::string(SOLVER_BENCH_DIR) + "/doors.txt"));
    ASSERT_GE(levels.size(), 14u);
    const Board board(levels[13].board());
    const GoalRoom room(board);
    ASSERT_TRUE(room.active());
    SearchControl control(systemClock());
    control.memoryLeft = std::int64_t{512} << 20;
    {
        Search strict(board, control, 5, &room, true);
        const SearchOutcome out = strict.run();
        EXPECT_EQ(out.end, SearchEnd::GaveUp);
        EXPECT_EQ(strict.furthest().pushCount, 0);
    }
    DeadlockTable learned(board);
    const SearchOutcome out = searchInOrder(board, control, 5, room, learned, 0, true);
    ASSERT_EQ(out.end, SearchEnd::Solved);
    EXPECT_EQ(playPushes(board, out.pushes), out.pushCount);
}

TEST(SolverPacking, AnOrderThatStopsFittingIsMadeAgainFromWhereItGotFurthest) {
    // Eighteen targets behind two doors: the first order fills sixteen and
    // then stops getting further. From there, or a few targets back, other
    // orders get through.
    const auto levels = core::readLevelText(readAll(std::string(SOLVER_BENCH_DIR) + "/doors.txt"));
    ASSERT_GE(levels.size(), 9u);
    const Board board(levels[8].board());
    const GoalRoom room(board);
    ASSERT_TRUE(room.active());
    SearchControl control(systemClock());
    control.memoryLeft = std::int64_t{1} << 30;
    {
        Search strict(board, control, 5, &room, true);
        strict.setStallLimit(10000);
        EXPECT_EQ(strict.run().end, SearchEnd::GaveUp);
        EXPECT_LT(strict.furthest().filled, static_cast<int>(room.order().size()));
    }
    DeadlockTable learned(board);
    const SearchOutcome out = searchInOrder(board, control, 5, room, learned, 0, true);
    ASSERT_EQ(out.end, SearchEnd::Solved);
    EXPECT_EQ(playPushes(board, out.pushes), out.pushCount);
}

TEST(SolverPacking, TheFurthestPositionLeadsFromTheStartByItsPushes) {
    // The strict order on a small room, cut short: the furthest position
    // and those before it on the way are reached by the pushes given.
    const Board board(xsb({"##########", "#.....   #", "#######  #", "#        #", "#  $$$$$ #",
                           "#       @#", "##########"}));
    const GoalRoom room(board);
    ASSERT_TRUE(room.active());
    SearchControl control(systemClock());
    control.memoryLeft = std::int64_t{512} << 20;
    Search search(board, control, 5, &room, true);
    const SearchOutcome out = search.run();
    ASSERT_EQ(out.end, SearchEnd::Solved);
    const Search::Furthest last = search.furthest();
    EXPECT_EQ(last.filled, 5);
    for (int k = 0; k <= last.filled; ++k) {
        SCOPED_TRACE(k);
        const Search::Furthest at = search.furthestAt(k);
        EXPECT_LE(at.filled, k);
        // Played from the start the pushes leave the boxes where it says.
        core::Board lv = board.level();
        std::vector<std::uint16_t> boxAt(board.size(), 0);
        for (Square b : board.boxes())
            boxAt[b] = 1;
        for (const PushRun& run : at.pushes) {
            Square box = run.from;
            ASSERT_TRUE(boxAt[box]);
            for (int i = 0; i < run.count; ++i) {
                const Square to = board.next(box, run.dir);
                ASSERT_NE(to, kNone);
                ASSERT_FALSE(boxAt[to]);
                boxAt[box] = 0;
                boxAt[to] = 1;
                box = to;
            }
        }
        std::vector<Square> boxes;
        for (int s = 0; s < board.size(); ++s)
            if (boxAt[s]) boxes.push_back(static_cast<Square>(s));
        EXPECT_EQ(boxes, at.boxes);
        int pushes = 0;
        for (const PushRun& run : at.pushes)
            pushes += run.count;
        EXPECT_EQ(pushes, at.pushCount);
    }
}

TEST(SolverPacking, TheCheapSearchSolvesSmallPackingsWithFewPositions) {
    // Small packings behind a door: the greedy search, guided by the goal
    // room's order, answers with far fewer positions than the search for
    // the fewest pushes, and its answers solve the levels.
    const auto levels =
        core::readLevelText(readAll(std::string(SOLVER_BENCH_DIR) + "/tight_packing.txt"));
    ASSERT_GE(levels.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i + 1);
        const Board board(levels[i].board());
        const GoalRoom room(board);
        SearchControl control(systemClock());
        control.memoryLeft = std::int64_t{512} << 20;
        DeadlockTable learned(board);
        const SearchOutcome cheap =
            cheapSearch(board, control, room.active() ? &room : nullptr, learned, 0);
        ASSERT_EQ(cheap.end, SearchEnd::Solved);
        EXPECT_EQ(playPushes(board, cheap.pushes), cheap.pushCount);
        Search fewest(board, control, 1);
        const SearchOutcome best = fewest.run();
        ASSERT_EQ(best.end, SearchEnd::Solved);
        EXPECT_LT(cheap.expanded, best.expanded);
        EXPECT_GE(cheap.pushCount, best.pushCount);
    }
}

} // namespace
} // namespace sokoban::solver

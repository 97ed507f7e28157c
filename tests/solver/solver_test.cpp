// Whole solves: every solution replayed by the game's rules, push counts
// against a plain breadth-first search, plainly unsolvable levels, limits.
#include "check.h"
#include "core/lurd.h"
#include "generators/levels/generator.h"
#include "solver/solver.h"
#include "storage/maze_board.h"

#include <gtest/gtest.h>

#include <thread>

namespace sokoban::solver {
namespace {

using test::fewestPushes;
using test::replay;
using test::xsb;

void expectSolvedBy(const core::Board& lv, const Result& r, const std::string& name) {
    ASSERT_EQ(r.status, Status::Solved) << name << ": " << statusName(r.status) << " " << r.reason;
    test::Replay rep = replay(lv, r.moves);
    EXPECT_TRUE(rep.legal) << name;
    EXPECT_TRUE(rep.solved) << name;
    EXPECT_EQ(rep.moves, r.moveCount) << name;
    EXPECT_EQ(rep.pushes, r.pushCount) << name;
    EXPECT_EQ(static_cast<int>(core::lurdOf(lv, r.moves).size()), r.moveCount) << name;
}

std::vector<core::Board> generated(int side, int boxes, int count, int seed0) {
    std::vector<core::Board> out;
    for (int i = 0; i < count; ++i) {
        GeneratorOptions o;
        o.rows = o.cols = side;
        o.boxes = boxes;
        o.seed = static_cast<std::uint64_t>(seed0 + i);
        out.push_back(generateLevel(o));
    }
    return out;
}

TEST(Solver, HandMadeLevelsReplay) {
    const std::vector<std::vector<std::string>> levels = {
        {"#####", "#@$.#", "#####"},
        {"#######", "#     #", "# $ $ #", "#. .@ #", "#######"},
        {"  ####", "###  ####", "#     $ #", "# #  #$ #", "# . .#@ #", "#########"},
        // A corridor the box must travel through whole.
        {"#####", "#  ##########", "# @$       .#", "#  ##########", "#####"},
        // Fewer boxes than targets: the game is won once every box is on one.
        {"######", "#@$ .#", "#.   #", "######"},
        // Already solved.
        {"#####", "#@*.#", "#####"},
        // A worker standing on a target.
        {"######", "#+$  #", "#  $.#", "#    #", "######"},
        // A wall splitting the room.
        {"#########", "#  #    #", "# $ $ . #", "#@    . #", "#########"},
    };
    for (const auto& rows : levels) {
        core::Board lv = xsb(rows);
        Limits limits;
        limits.timeSeconds = 10;
        expectSolvedBy(lv, solve(lv, limits), rows[1]);
    }
}

TEST(Solver, GeneratedLevelsAreSolvedAndReplay) {
    // Made by playing backwards, so each has a solution: reporting any other
    // status would mean a pruning rule threw a solvable position away.
    struct Tier {
        int side, boxes, count;
    } tiers[] = {{7, 2, 10}, {8, 3, 10}, {10, 4, 8}, {12, 6, 6}, {14, 8, 4}};
    for (const Tier& t : tiers) {
        for (const core::Board& lv : generated(t.side, t.boxes, t.count, 7000 + t.side)) {
            Limits limits;
            limits.timeSeconds = 20;
            expectSolvedBy(lv, solve(lv, limits), core::toXsbRows(lv)[1]);
        }
    }
}

TEST(Solver, FewestPushesAndBoundAgainstBreadthFirst) {
    // The search with one thread looks for the fewest pushes; its bound must
    // never promise less work than the breadth-first optimum, from the start
    // or from any position along an optimal solution.
    std::vector<core::Board> levels = generated(7, 2, 12, 100);
    for (const core::Board& lv : generated(8, 3, 8, 200))
        levels.push_back(lv);
    levels.push_back(xsb({"#######", "#     #", "# $ $ #", "#. .@ #", "#######"}));
    levels.push_back(
        xsb({"  ####", "###  ####", "#     $ #", "# #  #$ #", "# . .#@ #", "#########"}));
    for (const core::Board& lv : levels) {
        std::vector<core::Board> path;
        const int best = fewestPushes(lv, &path);
        ASSERT_GE(best, 0);
        for (std::size_t i = 0; i < path.size(); ++i) {
            int bound = lowerBound(path[i]);
            EXPECT_GE(bound, 0);
            EXPECT_LE(bound, best - static_cast<int>(i)) << core::toXsbRows(path[i])[1];
        }
        Limits limits;
        limits.threads = 1;
        Result r = solve(lv, limits);
        expectSolvedBy(lv, r, core::toXsbRows(lv)[1]);
        EXPECT_EQ(r.pushCount, best) << core::toXsbRows(lv)[1];
    }
}

TEST(Solver, BoundKnowsWhichSideTheWorkerIsOn) {
    struct Case {
        std::vector<std::string> level;
        int bound; // -1: no box assignment at all
    } cases[] = {
        // Worker and target on the same side of a box in a corridor.
        {{"#######", "#.@$  #", "#######"}, -1},
        {{"#######", "#. $@ #", "#######"}, 2},
        // The worker has to push the box out of the way and walk round.
        {{"#########", "#.@$    #", "#### ## #", "   #    #", "   ######"}, 6},
    };
    for (const auto& c : cases) {
        core::Board lv = xsb(c.level);
        EXPECT_EQ(lowerBound(lv), c.bound) << c.level[1];
        if (c.bound > 0) {
            EXPECT_EQ(fewestPushes(lv), c.bound) << c.level[1];
        }
    }
}

TEST(Solver, PlainlyUnsolvableLevelsAreReportedAtOnce) {
    const std::vector<std::vector<std::string>> levels = {
        {"######", "#$  .#", "#  @ #", "######"},                     // box frozen in a corner
        {"######", "#@$$.#", "######"},                               // more boxes than targets
        {"#####", "#@ .# $", "#####"},                                // a box outside the walls
        {"#######", "#.  # #", "# @ $ #", "#   # #", "#######"},      // box sealed in a doorway
        {"########", "#  $$  #", "#@     #", "# .  . #", "########"}, // two boxes on the wall
        {"#######", "#.@$  #", "#######"}, // the worker on the target's side
    };
    for (const auto& rows : levels) {
        core::Board lv = xsb(rows);
        Limits limits;
        limits.timeSeconds = 5;
        Result r = solve(lv, limits);
        EXPECT_EQ(r.status, Status::Unsolvable) << rows[1] << " " << statusName(r.status);
        EXPECT_LT(r.seconds, 0.5) << rows[1];
    }
}

TEST(Solver, LimitsAndCancel) {
    core::Board big = generateLevel({40, 40, 40, 99, 0.15, 0});
    {
        Limits limits;
        limits.timeSeconds = 0;
        Result r = solve(big, limits);
        EXPECT_EQ(r.status, Status::Timeout);
        EXPECT_TRUE(r.moves.empty());
    }
    {
        Limits limits;
        limits.memoryBytes = 1 << 20;
        EXPECT_EQ(solve(big, limits).status, Status::Memory);
    }
    {
        std::atomic<bool> cancel{false};
        Limits limits;
        limits.cancel = &cancel;
        limits.timeSeconds = 30;
        std::thread stopper([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            cancel = true;
        });
        Result r = solve(generateLevel({60, 60, 120, 5, 0.1, 0}), limits);
        stopper.join();
        // Either it was that quick, or it stopped soon after being asked.
        if (r.status != Status::Solved) {
            EXPECT_EQ(r.status, Status::Cancelled);
            EXPECT_LT(r.seconds, 1.0);
        }
    }
}

TEST(Solver, LevelRecords) {
    TMazeData maze;
    maze.cells.fill(kOutside);
    const char* rows[] = {"#######", "#     #", "# $ $ #", "#. .  #", "#######"};
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 7; ++c) {
            const char ch = rows[r][c];
            maze.cells[r * kCols + c] = ch == '#'   ? kWall
                                        : ch == '$' ? kBox
                                        : ch == '.' ? kTarget
                                                    : kFloor;
        }
    maze.man = 3 * kCols + 4;
    // The record's edge is the level's edge: row 0 is wall all along.
    const core::Board lv = boardOf(maze);
    expectSolvedBy(lv, solve(lv), "record");
    maze.man = 0;
    EXPECT_EQ(solve(boardOf(maze)).status, Status::Invalid);
}

} // namespace
} // namespace sokoban::solver

// Goal rooms: finding a packed cluster of targets and its filling order, and
// whole solves of generated levels whose targets lie in one room or corner.
#include "check.h"
#include "generators/levels/generator.h"
#include "solver/board.h"
#include "solver/goalroom.h"
#include "solver/search.h"
#include "solver/solver.h"

#include <gtest/gtest.h>

#include "core/level_text.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace sokoban::solver {
namespace {

using test::CountingClock;
using test::playPushes;
using test::replay;
using test::xsb;

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(SolverGoalRoom, FindsPackedClustersOnly) {
    struct Case {
        std::vector<std::string> level;
        int ordered; // targets in the order, 0: no goal room
    } cases[] = {
        // Eight targets in a corner.
        {{"############", "#....      #", "#....  $ $ #", "#      $ $ #", "#  $ $ $ $ #",
          "#         @#", "############"},
         8},
        // The same targets scattered.
        {{"############", "#. . . .   #", "#       $ $#", "#. . . .$ $#", "#  $ $ $ $ #",
          "#         @#", "############"},
         0},
        // Fewer boxes than targets: the room need not be filled.
        {{"############", "#....      #", "#....  $ $ #", "#      $ $ #", "#  $ $ $   #",
          "#         @#", "############"},
         0},
    };
    for (const auto& c : cases) {
        Board board(xsb(c.level));
        GoalRoom room(board);
        EXPECT_EQ(static_cast<int>(room.order().size()), c.ordered) << c.level[1];
        EXPECT_EQ(room.active(), c.ordered > 0) << c.level[1];
    }
}

TEST(SolverGoalRoom, BoxesThatCannotLeaveComeFirst) {
    // The two boxes in the niche can never be pulled out again: they are
    // filled from the start and head the order.
    core::Board lv = xsb({"##########", "#**#     #", "#......  #", "###### $ #", "#  $ $ $ #",
                          "# $ $ @  #", "##########"});
    Board board(lv);
    GoalRoom room(board);
    ASSERT_TRUE(room.active());
    ASSERT_EQ(room.order().size(), 8u);
    std::vector<int> front;
    for (int i = 0; i < 2; ++i)
        front.push_back(board.gridOf(room.order()[i]));
    std::sort(front.begin(), front.end());
    EXPECT_EQ(front, (std::vector<int>{lv.cols + 1, lv.cols + 2}));
    for (Square t : room.order())
        EXPECT_TRUE(room.inRoom(t));
}

TEST(SolverGoalRoom, GeneratedGoalRoomsAreSolvedAndReplay) {
    // Every shape the generator makes, on one thread (the bolder search then
    // fills the room in order) and on two.
    for (int shape = 0; shape < 6; ++shape) {
        GoalRoomOptions o;
        o.rows = shape < 4 ? 14 : 18;
        o.cols = shape < 4 ? 18 : 24;
        o.boxes = 9 + shape;
        o.seed = 40 + static_cast<std::uint64_t>(shape);
        o.doors = shape == 3 ? 0 : shape == 2 ? 2 : 1;
        o.spareRow = shape == 1;
        o.layout = shape < 4 ? 0 : shape - 3; // halls, then aisles
        core::Board lv = generateGoalRoomLevel(o);
        if (o.layout != 0) {
            // Parted by walls, but every floor square still in reach.
            std::vector<std::uint8_t> seen(lv.cells.size(), 0);
            std::vector<int> todo{lv.worker};
            int reached = 0, floor = 0, walls = 0;
            while (!todo.empty()) {
                const int p = todo.back();
                todo.pop_back();
                if (seen[p] || lv.cells[p] == kWall || lv.cells[p] == kOutside) continue;
                seen[p] = 1;
                ++reached;
                for (int q : {p - 1, p + 1, p - lv.cols, p + lv.cols})
                    todo.push_back(q);
            }
            for (std::uint8_t c : lv.cells) {
                walls += c == kWall;
                floor += c != kWall && c != kOutside;
            }
            EXPECT_EQ(reached, floor) << "shape " << shape;
            GoalRoomOptions open = o;
            open.layout = 0;
            const core::Board hall = generateGoalRoomLevel(open);
            const auto hallWalls = std::count(hall.cells.begin(), hall.cells.end(), kWall);
            EXPECT_GT(walls, hallWalls + 15) << "shape " << shape;
        }
        for (int threads : {1, 2}) {
            Limits limits;
            limits.timeSeconds = 30;
            limits.threads = threads;
            Result r = solve(lv, limits);
            const std::string name = core::toXsbRows(lv)[1] + " threads " + std::to_string(threads);
            ASSERT_EQ(r.status, Status::Solved) << name;
            test::Replay rep = replay(lv, r.moves);
            EXPECT_TRUE(rep.legal) << name;
            EXPECT_TRUE(rep.solved) << name;
            EXPECT_EQ(rep.pushes, r.pushCount) << name;
            EXPECT_EQ(rep.moves, r.moveCount) << name;
        }
    }
}

TEST(SolverGoalRoom, GeneratorPacksTheTargets) {
    // One block of targets, most boxes pulled off it.
    GoalRoomOptions o;
    o.boxes = 20;
    o.seed = 3;
    core::Board lv = generateGoalRoomLevel(o);
    Board board(lv);
    EXPECT_EQ(board.targets().size(), 20u);
    EXPECT_EQ(board.boxes().size(), 20u);
    GoalRoom room(board);
    EXPECT_EQ(room.order().size(), 20u);
    int off = 0;
    for (Square b : board.boxes())
        off += !board.isTarget(b);
    EXPECT_GE(off, 5);
}

TEST(SolverGoalRoom, WhenTheOrderHoldsTooTightBoxesMayWaitInTheRoom) {
    // The worker starts shut in among boxes that fill the front of the order:
    // held to the order the search cannot move at all; the loose search,
    // still guided by the order, solves it; so does every whole solve.
    const core::Board lv = xsb({
        "##########################", "#.....  #            #   #", "#**...                   #",
        "#*+*..  # #   $ #        #", "#**. $  ###$$$  #        #", "#       ##    $ #        #",
        "##########               #", "#            #$ ###  ### #", "#              $         #",
        "##  #    #          # #  #", "#     #   $      #  # #  #", "#                 $ # #  #",
        "#                        #", "#   #       ##      #    #", "# #                ###   #",
        "#        #        #  #   #", "#      # #        $  #   #", "##                 $     #",
        "##  #  #    #        #   #", "##########################",
    });
    const Board board(lv);
    const GoalRoom room(board);
    ASSERT_TRUE(room.active());
    for (const bool strict : {true, false}) {
        SearchControl control(systemClock());
        control.memoryLeft = std::int64_t{512} << 20;
        Search search(board, control, 5, &room, strict);
        const SearchOutcome out = search.run();
        EXPECT_EQ(out.end, strict ? SearchEnd::GaveUp : SearchEnd::Solved) << strict;
    }
    for (int threads : {1, 2}) {
        Limits limits;
        limits.timeSeconds = 60;
        limits.threads = threads;
        const Result r = solve(lv, limits);
        ASSERT_EQ(r.status, Status::Solved) << threads;
        const test::Replay rep = replay(lv, r.moves);
        EXPECT_TRUE(rep.legal && rep.solved) << threads;
        EXPECT_EQ(rep.pushes, r.pushCount) << threads;
    }
}

TEST(SolverGoalRoom, TheGuideIsNotFlatWhileTheNearestBoxIsStuck) {
    // The box nearest the next target of the order stands where it cannot
    // get there; others must come from afar. Guided by that box's distance
    // alone the search wanders among the positions where it stays nearest;
    // with half the bound added, it brings the others and fills the room.
    // (Whole box moves would bring them either way: they are left out.)
    const core::Board lv = xsb({
        "########################",
        "#.....   @             #",
        "#**.*.$ #    #         #",
        "#**.*.$ #              #",
        "### #####     #     ## #",
        "#             #       ##",
        "#   $         #        #",
        "#      ###         ### #",
        "#            $   $     #",
        "#                 ###$ #",
        "####   # ###    $   #  #",
        "#   ##               $ #",
        "#                 #    #",
        "#               $      #",
        "#       ##        ##   #",
        "########################",
    });
    const Board board(lv);
    const GoalRoom room(board);
    ASSERT_TRUE(room.active());
    for (const bool guideBound : {true, false}) {
        CountingClock clock;
        SearchControl control(clock);
        control.memoryLeft = std::int64_t{512} << 20;
        control.deadline = 200; // readings of the clock, some thousand positions
        Search search(board, control, 5, &room, true);
        search.setGuideBound(guideBound);
        search.setWholeMoves(false);
        const SearchOutcome out = search.run();
        EXPECT_EQ(out.end, guideBound ? SearchEnd::Solved : SearchEnd::Timeout) << guideBound;
    }
}

TEST(SolverGoalRoom, WholeBoxMovesCarryBoxesFromAfarToTheNextTarget) {
    // The level above with the flat guide: taking the nearest boxes to the
    // next target in one step each, the search fills the room at once; the
    // pushes of those steps, written out, solve the level.
    const core::Board lv = xsb({
        "########################",
        "#.....   @             #",
        "#**.*.$ #    #         #",
        "#**.*.$ #              #",
        "### #####     #     ## #",
        "#             #       ##",
        "#   $         #        #",
        "#      ###         ### #",
        "#            $   $     #",
        "#                 ###$ #",
        "####   # ###    $   #  #",
        "#   ##               $ #",
        "#                 #    #",
        "#               $      #",
        "#       ##        ##   #",
        "########################",
    });
    const Board board(lv);
    const GoalRoom room(board);
    ASSERT_TRUE(room.active());
    for (const bool whole : {false, true}) {
        CountingClock clock;
        SearchControl control(clock);
        control.memoryLeft = std::int64_t{512} << 20;
        control.deadline = 200;
        Search search(board, control, 5, &room, true);
        search.setGuideBound(false);
        search.setWholeMoves(whole);
        const SearchOutcome out = search.run();
        ASSERT_EQ(out.end, whole ? SearchEnd::Solved : SearchEnd::Timeout) << whole;
        if (!whole) continue;
        EXPECT_EQ(playPushes(board, out.pushes), out.pushCount);
    }
}

TEST(SolverGoalRoom, RoomsBehindDoorsAreFilledByWholeBoxMoves) {
    // Two levels of the doors corpus that the single-push searches did not
    // solve in ten seconds; one thread, so that the room's search has them.
    const auto levels = core::readLevelText(readAll(std::string(SOLVER_BENCH_DIR) + "/doors.txt"));
    ASSERT_EQ(levels.size(), 16u);
    for (const int number : {2, 15}) {
        const core::Board lv = levels[static_cast<std::size_t>(number - 1)].board();
        Limits limits;
        limits.timeSeconds = 60;
        limits.threads = 1;
        const Result r = solve(lv, limits);
        ASSERT_EQ(r.status, Status::Solved) << number;
        const test::Replay rep = replay(lv, r.moves);
        EXPECT_TRUE(rep.legal && rep.solved) << number;
        EXPECT_EQ(rep.pushes, r.pushCount) << number;
    }
}

TEST(SolverGoalRoom, ABoxShutOutOfTheRestOfTheOrderIsLost) {
    // A hole in the block of targets: open at first, shut once the targets
    // round it that let a box out are filled, and shut from then on.
    const core::Board lv = xsb({
        "#########",
        "#....   #",
        "#.. .   #",
        "#....   #",
        "#    $$$#",
        "# $$$$$$#",
        "#  $$ @ #",
        "#########",
    });
    const Board board(lv);
    const GoalRoom room(board);
    ASSERT_TRUE(room.active());
    const int m = static_cast<int>(room.order().size());
    // Wherever a box gets to the k-th target, it gets to the rest.
    for (int k = 0; k < m; ++k)
        for (int s = 0; s < board.size(); ++s) {
            if (room.distance(k, static_cast<Square>(s)) != kFar) {
                EXPECT_TRUE(room.canReachRest(k, static_cast<Square>(s))) << k << " " << s;
            }
        }
    const Square hole = board.squareOf(2 * lv.cols + 3);
    EXPECT_TRUE(room.canReachRest(0, hole));
    int shut = 0;
    while (shut < m && room.canReachRest(shut, hole))
        ++shut;
    ASSERT_LT(shut, m);
    for (int k = shut; k < m; ++k)
        EXPECT_FALSE(room.canReachRest(k, hole)) << k;
    // A full room has no rest to reach, and asking reads nothing past it.
    EXPECT_FALSE(room.canReachRest(m, hole));
}

TEST(SolverGoalRoom, TheStrictOrderDropsPositionsThatShutABoxOut) {
    // Boxes wait in a bay inside the room; filled in order around them, they
    // would be shut in for good. Dropping such positions at once, the
    // search held to the order solves the level in a few hundred positions.
    const core::Board lv = xsb({
        "#############################",  "#.......              #     ##",
        "#******.$ #  $   $     ###   #", "#***..*.$ #       $      #  ##",
        "#*****$ $ #         #        #", "#**.. $ $ #    #   $ $       #",
        "###########    #             #", "#              #             #",
        "#              ##            #", "#       #              ##    #",
        "#       #            #  #### #", "#       #           $#       #",
        "#                            #", "#         ##    ##           #",
        "#           #     ###        #", "#### #          ###   #      #",
        "#        # #                 #", "# #      #      @            #",
        "#        #                $  #", "#                     #      #",
        "#                        ##  #", "##############################",
    });
    const Board board(lv);
    const GoalRoom room(board);
    ASSERT_TRUE(room.active());
    CountingClock clock;
    SearchControl control(clock);
    control.memoryLeft = std::int64_t{512} << 20;
    control.deadline = 50; // readings of the clock, a few thousand positions
    Search search(board, control, 5, &room, true);
    const SearchOutcome out = search.run();
    ASSERT_EQ(out.end, SearchEnd::Solved);
    EXPECT_EQ(playPushes(board, out.pushes), out.pushCount);
}

TEST(SolverGoalRoom, WholeMovesLookPastTheNearestBoxesWhenTheyAreHeldUp) {
    // The boxes nearest the room's next target stand in a row in front of
    // its door, held up by each other; boxes further off can go in. The
    // search that lets boxes wait in the room fills it in a few dozen
    // positions.
    const core::Board lv = xsb({"############################", "#.*****#                   #",
                                "#.**.*.#        # ###      #", "#.**.*.#        #          #",
                                "#.*..$$#        #          #", "#.*.   #             ##    #",
                                "# $$$$$#       ###     $   #", "#      #       #           #",
                                "# ######               #   #", "#          #               #",
                                "#                          #", "#      $        #        # #",
                                "## ##           #        # #", "#            ##          # #",
                                "#  $#   #            @     #", "#                       $  #",
                                "#  $                       #", "#             #  ###       #",
                                "#   #  ##  ###   # #       #", "############ ##### #########"});
    const Board board(lv);
    const GoalRoom room(board);
    ASSERT_TRUE(room.active());
    CountingClock clock;
    SearchControl control(clock);
    control.memoryLeft = std::int64_t{512} << 20;
    control.deadline = 50;
    Search search(board, control, 5, &room, false);
    const SearchOutcome out = search.run();
    ASSERT_EQ(out.end, SearchEnd::Solved);
    EXPECT_EQ(playPushes(board, out.pushes), out.pushCount);
}

} // namespace
} // namespace sokoban::solver

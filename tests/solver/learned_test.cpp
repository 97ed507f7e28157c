// Deadlocks learned by the search: the boxes round an area the worker is
// shut out of, tried on their own, and the table of such patterns.
#include "check.h"
#include "generators/levels/generator.h"
#include "solver/learned.h"

#include <gtest/gtest.h>

namespace sokoban::solver {
namespace {

using test::CountingClock;
using test::xsb;

// Whether the prover finds the position dead; what it learns goes into
// `keep` when given.
bool provedDead(const core::Board& lv, DeadlockTable* keep = nullptr) {
    const Board board(lv);
    DeadlockTable table(board);
    CorralProver prover(board, keep ? *keep : table);
    Detector detector(board);
    std::vector<std::uint16_t> boxAt(board.size(), 0);
    for (Square b : board.boxes())
        boxAt[b] = 1;
    const Square man = detector.reach(boxAt, board.man());
    return prover.dead(boxAt, detector, man);
}

// Positions drawn by hand. In the first the worker is shut out of the
// bottom left by the box on the bottom row: the only push that opens it
// takes the right-hand box on to its neighbour on the wall, where both
// stick. The usual corral test leaves it, since that push is no deadlock by
// itself.
TEST(SolverLearned, CorralsTriedOnTheirOwn) {
    struct Case {
        std::vector<std::string> level;
        bool dead;
    } cases[] = {
        {{"#########", "#   *   #", "# #    .#", "# #     #", "#####   #", "#    #@ #", "# . $ $ #",
          "#########"},
         true},
        // The same with a way round: nothing is shut off.
        {{"#########", "#   *   #", "# #    .#", "# #     #", "#####   #", "#     @ #", "# . $ $ #",
          "#########"},
         false},
        // The boxes round the shut area can be taken out and on to targets.
        {{"########", "#@  $ .#", "#   $  #", "#  .   #", "########"}, false},
        // Everything round the shut area is on target: nothing to do there.
        {{"#######", "#@  *.#", "#   * #", "#######"}, false},
    };
    for (const auto& c : cases) {
        const Board board(xsb(c.level));
        Detector detector(board);
        std::vector<std::uint16_t> boxAt(board.size(), 0);
        for (Square b : board.boxes())
            boxAt[b] = 1;
        detector.reach(boxAt, board.man());
        std::vector<PushMove> pushes;
        EXPECT_NE(detector.corral(boxAt, board.boxes(), pushes), Detector::Corral::Deadlock);
        EXPECT_EQ(provedDead(xsb(c.level)), c.dead) << c.level[5];
    }
}

// A pattern learned holds wherever its boxes stand on the same squares with
// the worker on the same side of them, whatever else is on the board.
TEST(SolverLearned, TheTableKnowsThePatternInOtherPositions) {
    const std::vector<std::string> dead = {"#########", "#   *   #", "# #    .#", "# #     #",
                                           "#####   #", "#    #@ #", "# . $ $ #", "#########"};
    const Board first(xsb(dead));
    DeadlockTable table(first);
    ASSERT_TRUE(provedDead(xsb(dead), &table));
    ASSERT_EQ(table.size(), 1u);
    struct Case {
        std::vector<std::string> level;
        int row, col; // the box looked up by
        bool matches;
    } cases[] = {
        // Another box up in the hall, the worker elsewhere on his side.
        {{"#########", "#  @*   #", "# #  $ .#", "# #     #", "#####   #", "#    #  #", "# . $ $ #",
          "#########"},
         6,
         6,
         true},
        // One of the two boxes gone.
        {{"#########", "#   *   #", "# #  $ .#", "# #     #", "#####   #", "#    #@ #", "# .   $ #",
          "#########"},
         6,
         6,
         false},
        // The worker inside the area the pattern shuts off.
        {{"#########", "#   *   #", "# #    .#", "# #     #", "#####   #", "# @  #  #", "# . $ $ #",
          "#########"},
         6,
         4,
         false},
    };
    for (const auto& c : cases) {
        const core::Board lv = xsb(c.level);
        const Board board(lv);
        Detector detector(board);
        std::vector<std::uint16_t> boxAt(board.size(), 0);
        for (Square b : board.boxes())
            boxAt[b] = 1;
        const Square man = detector.reach(boxAt, board.man());
        EXPECT_EQ(table.matches(boxAt, board.squareOf(c.row * lv.cols + c.col), man), c.matches)
            << c.level[5];
    }
}

// Every position the prover calls dead is one a plain breadth-first search
// cannot solve: positions met on random walks through small generated
// levels. Enough of them are dead that the prover is seen at work.
TEST(SolverLearned, OnlyUnsolvablePositionsAreCalledDead) {
    int dead = 0, tried = 0;
    for (std::uint64_t seed = 1; seed <= 40; ++seed) {
        GeneratorOptions o;
        o.rows = 8;
        o.cols = 9;
        o.boxes = 3 + static_cast<int>(seed % 2);
        o.seed = seed;
        core::Board lv = generateLevel(o);
        Random rnd(seed * 7919);
        for (int step = 0; step < 60; ++step) {
            // A random legal push: walk to a side of a box, push it once.
            const Board board(lv);
            if (!board.unsolvable().empty()) break;
            Detector detector(board);
            std::vector<std::uint16_t> boxAt(board.size(), 0);
            for (Square b : board.boxes())
                boxAt[b] = 1;
            detector.reach(boxAt, board.man());
            std::vector<PushMove> pushes;
            for (Square b : board.boxes())
                for (int d = 0; d < 4; ++d) {
                    const Square w = board.next(b, opposite(d)), to = board.next(b, d);
                    if (w != kNone && to != kNone && !boxAt[to] && detector.reached(w))
                        pushes.push_back({b, static_cast<std::uint8_t>(d)});
                }
            if (pushes.empty()) break;
            const PushMove p =
                pushes[static_cast<std::size_t>(rnd.below(static_cast<int>(pushes.size())))];
            const int from = board.gridOf(p.box), to = board.gridOf(board.next(p.box, p.dir));
            lv.set(from, core::isTarget(lv.at(from)) ? kTarget : kFloor);
            lv.set(to, core::isTarget(lv.at(to)) ? kBoxOnTarget : kBox);
            lv.worker = from;
            ++tried;
            if (provedDead(lv)) {
                ++dead;
                EXPECT_EQ(test::fewestPushes(lv), -1) << core::toXsbRows(lv)[1];
            }
        }
    }
    EXPECT_GT(tried, 500);
    EXPECT_GE(dead, 5);
}

// A compact level of 24 boxes where the bolder search keeps making the same
// shut-in corners over and over: learned once, they are cut everywhere, and
// it is solved in a few thousand positions; without, not in some ten times
// as many.
TEST(SolverLearned, LearningCutsTheSearchOnACompactLevel) {
    const core::Board lv = xsb({
        "#################",
        "#  ###   ***#   #",
        "#   **   .*#  $ #",
        "##  *  # . .  $ #",
        "###*   # ##    ##",
        "# *.# ##$##   ###",
        "##  ### @#   $  #",
        "## $### ###     #",
        "###. ###  .    .#",
        "#          #.   #",
        "# $  $ $   #  $ #",
        "#  $$##       # #",
        "#     ###   #  ##",
        "#...  . .   #  ##",
        "## . $ $$#### *##",
        "##       #      #",
        "#################",
    });
    const Board board(lv);
    DeadlockTable kept(board);
    struct Case {
        const char* name;
        bool learn, shared;
        SearchEnd end;
    } cases[] = {
        {"learning", true, true, SearchEnd::Solved},
        {"neither learning nor told", false, false, SearchEnd::Timeout},
        // A later search on the same thread gets what the first learned.
        {"told what the first learned", false, true, SearchEnd::Solved},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CountingClock clock;
        SearchControl control(clock);
        control.memoryLeft = std::int64_t{512} << 20;
        control.deadline = 400; // a reading per 64 positions: some 25,000
        Search search(board, control, 5);
        search.setLearning(c.learn);
        if (c.shared) search.shareLearned(kept);
        const SearchOutcome out = search.run();
        EXPECT_EQ(out.end, c.end);
        if (out.end == SearchEnd::Solved) {
            EXPECT_GT(out.learned, 0u);
            EXPECT_EQ(test::playPushes(board, out.pushes), out.pushCount);
        }
    }
}

} // namespace
} // namespace sokoban::solver

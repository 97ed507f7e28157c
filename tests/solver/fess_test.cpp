// The search in a space of features: the features of hand-made positions,
// whole box moves against a plain search over one box's pushes, their
// pushes played by the rules, and small levels solved by it alone.
#include "check.h"
#include "core/level_text.h"
#include "solver/fess.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <queue>
#include <set>
#include <tuple>

namespace sokoban::solver {
namespace {

using test::playPushes;
using test::xsb;

std::vector<std::uint16_t> boxAtOf(const Board& board, const std::vector<Square>& boxes) {
    std::vector<std::uint16_t> at(board.size(), 0);
    for (Square b : boxes)
        at[b] = 1;
    return at;
}

TEST(SolverFeatures, HandMadePositions) {
    struct Case {
        const char* name;
        std::vector<std::string> level;
        Features want; // packed, regions, closed, outOfPlan
    } cases[] = {
        {"one open room", {"######", "#    #", "# $. #", "#@   #", "######"}, {0, 1, 0, 0}},
        {"a box cuts the corridor, the target beyond",
         {"#######", "#@$ . #", "#######"},
         {0, 2, 1, 0}},
        {"a box held up by another on its way",
         {"#########", "#@$$  ..#", "#########"},
         {0, 2, 1, 1}},
        {"one packed, the other can get there", {"########", "#@ *$ .#", "########"}, {1, 2, 1, 0}},
        {"a box in a corner", {"######", "#$   #", "#  . #", "#@   #", "######"}, {0, 1, 0, 1}},
        {"the piece shut off has no empty target",
         {"########", "#. @$  #", "########"},
         {0, 2, 0, 0}},
        {"every box packed", {"#######", "#@ ** #", "#######"}, {2, 2, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const core::Board lv = xsb(c.level);
        const Board board(lv);
        FeatureMeter meter(board, nullptr);
        const Features got = meter.measure(boxAtOf(board, board.boxes()), board.man());
        EXPECT_EQ(got.packed, c.want.packed);
        EXPECT_EQ(got.regions, c.want.regions);
        EXPECT_EQ(got.closed, c.want.closed);
        EXPECT_EQ(got.outOfPlan, c.want.outOfPlan);
        // The meter keeps nothing from one position to the next.
        EXPECT_EQ(meter.measure(boxAtOf(board, board.boxes()), board.man()), got);
    }
}

// A level of the benchmark corpora, made by the project's generators.
core::Board corpusLevel(const std::string& name, int number) {
    std::ifstream in(std::string(SOLVER_BENCH_DIR) + "/" + name + ".txt", std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const auto levels = core::readLevelText(text);
    EXPECT_GE(static_cast<int>(levels.size()), number);
    return levels.at(static_cast<std::size_t>(number - 1)).board();
}

TEST(SolverFeatures, PackedCountsTheFrontOfTheRoomsOrder) {
    // Nine targets behind a door.
    const Board board(corpusLevel("doors", 1));
    const GoalRoom room(board);
    ASSERT_TRUE(room.active());
    const auto& order = room.order();
    ASSERT_EQ(order.size(), 9u);
    // The other boxes stand on squares off the targets.
    std::vector<Square> hall;
    for (int s = 0; s < board.size() && hall.size() < 9; ++s)
        if (!board.isTarget(static_cast<Square>(s))) hall.push_back(static_cast<Square>(s));
    struct Case {
        const char* name;
        std::vector<int> filled; // places in the order holding boxes
        int packed;
    } cases[] = {
        {"none", {}, 0},
        {"the first three", {0, 1, 2}, 3},
        {"the second and third but not the first", {1, 2}, 0},
        {"the first, then a gap", {0, 2, 3}, 1},
        {"all nine", {0, 1, 2, 3, 4, 5, 6, 7, 8}, 9},
    };
    FeatureMeter meter(board, &room);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<Square> boxes;
        for (int k : c.filled)
            boxes.push_back(order[static_cast<std::size_t>(k)]);
        for (std::size_t i = 0; boxes.size() < 9; ++i)
            boxes.push_back(hall[i]);
        EXPECT_EQ(meter.measure(boxAtOf(board, boxes), board.man()).packed, c.packed);
    }
}

// The squares a box can be pushed to, the other boxes standing still, by
// the game's rules: the worker walks, or pushes that box.
std::set<Square> reachableByPushes(const Board& board, const std::vector<Square>& boxes, Square box,
                                   Square man) {
    std::vector<std::uint8_t> other(board.size(), 0);
    for (Square b : boxes)
        if (b != box) other[b] = 1;
    const int n = board.size();
    std::vector<std::uint8_t> seen(static_cast<std::size_t>(n) * n, 0);
    std::queue<std::pair<Square, Square>> queue; // box, worker
    queue.push({box, man});
    seen[static_cast<std::size_t>(box) * n + man] = 1;
    std::set<Square> out;
    while (!queue.empty()) {
        const auto [b, w] = queue.front();
        queue.pop();
        out.insert(b);
        for (int d = 0; d < 4; ++d) {
            const Square to = board.next(w, d);
            if (to == kNone || other[to]) continue;
            Square nb = b, nw = to;
            if (to == b) {
                nb = board.next(b, d);
                if (nb == kNone || other[nb]) continue;
            }
            auto& mark = seen[static_cast<std::size_t>(nb) * n + nw];
            if (!mark) {
                mark = 1;
                queue.push({nb, nw});
            }
        }
    }
    return out;
}

// Plays push runs by the rules from the position, the worker walking round
// the boxes to each push; the boxes after them (sorted), or empty when a
// push cannot be made.
std::vector<Square> afterPushes(const Board& board, std::vector<Square> boxes, Square man,
                                const std::vector<PushRun>& runs) {
    for (const PushRun& run : runs) {
        Square box = run.from;
        for (int i = 0; i < run.count; ++i) {
            const Square behind = board.next(box, opposite(run.dir));
            const Square to = board.next(box, run.dir);
            auto at = std::find(boxes.begin(), boxes.end(), box);
            if (at == boxes.end() || behind == kNone || to == kNone ||
                std::count(boxes.begin(), boxes.end(), to))
                return {};
            // The worker walks to `behind` round the boxes.
            std::vector<std::uint8_t> seen(board.size(), 0);
            std::queue<Square> walk;
            walk.push(man);
            seen[man] = 1;
            while (!walk.empty()) {
                const Square s = walk.front();
                walk.pop();
                for (int d = 0; d < 4; ++d) {
                    const Square q = board.next(s, d);
                    if (q != kNone && !seen[q] && !std::count(boxes.begin(), boxes.end(), q)) {
                        seen[q] = 1;
                        walk.push(q);
                    }
                }
            }
            if (!seen[behind]) return {};
            *at = to;
            man = box;
            box = to;
        }
    }
    std::sort(boxes.begin(), boxes.end());
    return boxes;
}

TEST(SolverBoxMoves, EverySquareAPushCanReachOnceAndTheirPushesPlayed) {
    const core::Board levels[] = {
        xsb({"#######", "#@$  .#", "#######"}),
        xsb({"#######", "#     #", "# $ $ #", "#@  ..#", "#######"}),
        xsb({"########", "#  #   #", "# $  $ #", "#@ ## .#", "#  .   #", "########"}),
        corpusLevel("doors", 1),
        corpusLevel("compact", 2),
    };
    for (std::size_t li = 0; li < std::size(levels); ++li) {
        SCOPED_TRACE(li);
        const Board board(levels[li]);
        const std::vector<Square>& boxes = board.boxes();
        BoxMover mover(board);
        std::vector<BoxMove> moves;
        mover.moves(boxes, board.man(), moves);
        ASSERT_FALSE(moves.empty());
        std::set<std::tuple<Square, Square, Square>> positions;
        for (Square box : boxes) {
            std::set<Square> want = reachableByPushes(board, boxes, box, board.man());
            want.erase(box);
            for (auto it = want.begin(); it != want.end();)
                it = board.isDead(*it) ? want.erase(it) : std::next(it);
            std::set<Square> got;
            for (const BoxMove& m : moves)
                if (m.from == box && m.to != box) got.insert(m.to);
            EXPECT_EQ(got, want) << "box on square " << box;
        }
        for (const BoxMove& m : moves) {
            // Each new position once: the box's square and the worker's area.
            EXPECT_TRUE(positions.insert({m.from, m.to, m.man}).second);
            std::vector<PushRun> runs;
            ASSERT_TRUE(mover.pushesOf(boxes, board.man(), m, runs));
            EXPECT_EQ(static_cast<int>(runs.size()), m.pushes);
            std::vector<Square> want = boxes;
            *std::find(want.begin(), want.end(), m.from) = m.to;
            std::sort(want.begin(), want.end());
            EXPECT_EQ(afterPushes(board, boxes, board.man(), runs), want)
                << "box " << m.from << " to " << m.to;
        }
        // Held to one first push: a part of the moves, that push's among them.
        for (const BoxMove& single : moves) {
            if (single.pushes != 1) continue;
            std::vector<PushRun> runs;
            ASSERT_TRUE(mover.pushesOf(boxes, board.man(), single, runs));
            const std::vector<PushMove> first = {{single.from, runs[0].dir}};
            std::vector<BoxMove> held;
            mover.moves(boxes, board.man(), held, &first);
            bool itself = false;
            for (const BoxMove& m : held) {
                EXPECT_EQ(m.from, single.from);
                EXPECT_TRUE(positions.count({m.from, m.to, m.man}));
                itself = itself || (m.to == single.to && m.man == single.man);
            }
            EXPECT_TRUE(itself);
            EXPECT_LE(held.size(), moves.size());
        }
        // A move that is not one of the position's has no pushes.
        std::vector<PushRun> none;
        EXPECT_FALSE(mover.pushesOf(boxes, board.man(), {kNone, 0, 0, 0}, none));
    }
}

TEST(SolverFeatureSearch, SolvesSmallLevelsAloneAndTheAnswersPlay) {
    struct Case {
        const char* name;
        core::Board level;
    } cases[] = {
        {"one box down a corridor", xsb({"#######", "#@$  .#", "#######"})},
        {"two boxes in a room", xsb({"#######", "#     #", "# $ $ #", "#@  ..#", "#######"})},
        {"round a pillar",
         xsb({"########", "#  #   #", "# $  $ #", "#@ ## .#", "#  .   #", "########"})},
        {"a room of nine behind a door", corpusLevel("doors", 1)},
        {"eleven boxes on a compact board", corpusLevel("compact", 1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Board board(c.level);
        const GoalRoom room(board);
        test::CountingClock clock;
        SearchControl control(clock);
        control.deadline = 20000; // readings of the clock: one per position expanded
        const std::int64_t memory = std::int64_t{256} << 20;
        control.memoryLeft = memory;
        {
            FeatureSearch search(board, control, &room);
            const SearchOutcome out = search.run();
            ASSERT_EQ(out.end, SearchEnd::Solved);
            EXPECT_FALSE(out.fewest);
            EXPECT_GT(out.pushCount, 0);
            EXPECT_EQ(playPushes(board, out.pushes), out.pushCount);
            EXPECT_GE(search.cells(), 1u);
            EXPECT_LT(control.memoryLeft.load(), memory);
        }
        // Every byte taken is given back.
        EXPECT_EQ(control.memoryLeft.load(), memory);
    }
}

TEST(SolverFeatureSearch, GivesUpWhenOutOfMemoryOrTime) {
    const Board board(corpusLevel("compact", 1));
    const GoalRoom room(board);
    {
        test::CountingClock clock;
        SearchControl control(clock);
        control.deadline = 20000; // readings of the clock: one per position expanded
        control.memoryLeft = 1024;
        FeatureSearch search(board, control, &room);
        EXPECT_EQ(search.run().end, SearchEnd::Memory);
    }
    {
        test::CountingClock clock;
        SearchControl control(clock);
        control.deadline = 3; // a few readings of the clock
        control.memoryLeft = std::int64_t{256} << 20;
        FeatureSearch search(board, control, &room);
        EXPECT_EQ(search.run().end, SearchEnd::Timeout);
    }
    {
        test::CountingClock clock;
        SearchControl control(clock);
        control.memoryLeft = std::int64_t{256} << 20;
        std::atomic<bool> cancel{true};
        control.cancel = &cancel;
        FeatureSearch search(board, control, &room);
        EXPECT_EQ(search.run().end, SearchEnd::Cancelled);
    }
}

} // namespace
} // namespace sokoban::solver

// Shortening answers: detours come out, what is left still solves the level,
// and the shortening stops when asked.
#include "check.h"
#include "generators/levels/generator.h"
#include "solver/shorten.h"

#include <gtest/gtest.h>

namespace sokoban::solver {
namespace {

using test::fewestPushes;
using test::playPushes;
using test::xsb;

struct Push {
    int row, col, dir; // the box's square before the push
};

std::vector<PushRun> runsOf(const Board& board, const std::vector<Push>& pushes) {
    std::vector<PushRun> runs;
    for (const Push& p : pushes)
        runs.push_back({board.squareOf(p.row * board.level().cols + p.col),
                        static_cast<std::uint8_t>(p.dir), 1});
    return runs;
}

TEST(SolverShorten, DetoursComeOut) {
    struct Case {
        const char* name;
        std::vector<std::string> level;
        std::vector<Push> detour;
    } cases[] = {
        {"there and back",
         {"#######", "#     #", "#@$  .#", "#     #", "#######"},
         {{2, 2, kRight}, {2, 3, kLeft}, {2, 2, kRight}, {2, 3, kRight}, {2, 4, kRight}}},
        {"the long way round",
         {"########", "#      #", "#      #", "#@$  . #", "#      #", "########"},
         {{3, 2, kUp}, {2, 2, kRight}, {2, 3, kRight}, {2, 4, kRight}, {2, 5, kDown}}},
        {"another box's excursion in between",
         {"########", "#      #", "#@$  . #", "#  $   #", "#  .   #", "########"},
         {{3, 3, kRight},
          {3, 4, kLeft}, // back where it was
          {2, 2, kRight},
          {2, 3, kRight},
          {2, 4, kRight},
          {3, 3, kDown}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const core::Board lv = xsb(c.level);
        const Board board(lv);
        const std::vector<PushRun> detour = runsOf(board, c.detour);
        ASSERT_EQ(playPushes(board, detour), static_cast<int>(c.detour.size()));
        const std::vector<PushRun> shorter = shortenPushes(board, detour, {});
        EXPECT_EQ(playPushes(board, shorter), fewestPushes(lv));
        EXPECT_EQ(static_cast<int>(shorter.size()), fewestPushes(lv));
    }
}

TEST(SolverShorten, BolderAnswersGetNoLongerAndStillSolve) {
    // The bolder search's answers on generated levels: what the shortening
    // leaves solves the level, with no more pushes and no fewer than the
    // fewest there are.
    int shortened = 0;
    for (std::uint64_t seed = 1; seed <= 8; ++seed) {
        GeneratorOptions o;
        o.rows = 9;
        o.cols = 10;
        o.boxes = 3;
        o.seed = seed;
        const core::Board lv = generateLevel(o);
        const Board board(lv);
        SearchControl control(systemClock());
        control.memoryLeft = std::int64_t{256} << 20;
        Search search(board, control, 5);
        const SearchOutcome out = search.run();
        ASSERT_EQ(out.end, SearchEnd::Solved) << seed;
        const std::vector<PushRun> shorter = shortenPushes(board, out.pushes, {});
        const int pushes = playPushes(board, shorter);
        EXPECT_EQ(pushes, static_cast<int>(shorter.size())) << seed;
        EXPECT_LE(pushes, out.pushCount) << seed;
        EXPECT_GE(pushes, fewestPushes(lv)) << seed;
        shortened += pushes < out.pushCount;
    }
    EXPECT_GT(shortened, 0);
}

TEST(SolverShorten, StopsWhenAsked) {
    const core::Board lv = xsb({"#######", "#     #", "#@$  .#", "#     #", "#######"});
    const Board board(lv);
    const auto detour = runsOf(
        board, {{2, 2, kRight}, {2, 3, kLeft}, {2, 2, kRight}, {2, 3, kRight}, {2, 4, kRight}});
    ShortenLimits limits;
    limits.stop = [] { return true; };
    const std::vector<PushRun> same = shortenPushes(board, detour, limits);
    EXPECT_EQ(playPushes(board, same), 5);
}

} // namespace
} // namespace sokoban::solver

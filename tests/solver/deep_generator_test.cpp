// Levels of the generator for deep and big levels: the asked size and box
// count, closed rooms whose floor the worker can reach, targets in one patch
// when asked, the same level for the same options, and solutions that replay.
#include "check.h"
#include "core/flood.h"
#include "generators/levels/generator.h"
#include "solver/solver.h"

#include <gtest/gtest.h>

#include <vector>

namespace sokoban::solver {
namespace {

using test::replay;

int countOf(const core::Board& lv, std::initializer_list<int> codes) {
    int n = 0;
    for (auto c : lv.cells)
        for (int code : codes)
            n += c == code;
    return n;
}

// Squares reachable from `from` over everything but walls and the outside.
std::vector<char> reach(const core::Board& lv, int from, bool onlyTargets) {
    core::Flood flood(lv.size());
    flood.start(from);
    flood.run([&](int p) {
        for (int d = 0; d < 4; ++d) {
            const int q = lv.neighbour(p, d);
            const std::uint8_t code = lv.at(q);
            if (code == kOutside || code == kWall) continue;
            if (onlyTargets && !core::isTarget(code)) continue;
            flood.visit(q);
        }
    });
    std::vector<char> seen(lv.cells.size(), 0);
    for (const int p : flood.order())
        seen[static_cast<std::size_t>(p)] = 1;
    return seen;
}

// The wall clock for the limit, and no processor time for the first
// search's slice: the fewest-pushes search solves every level here in well
// under a second, and on its own the outcome does not hang on how much of
// the processor the test had, or on the bolder search.
class WholeSliceClock final : public SolveClock {
  public:
    double wallSeconds() const override { return systemClock().wallSeconds(); }
    double threadSeconds() const override { return 0; }
};

TEST(SolverDeepGenerator, LevelsAreClosedSolvableAndAsAsked) {
    const WholeSliceClock clock;
    struct Case {
        int rows, cols, boxes;
        bool packed;
        double open;
    } cases[] = {
        {9, 9, 4, false, 0.5},  {10, 12, 6, true, 0.3},   {11, 14, 7, false, 0.2},
        {12, 12, 8, true, 0.6}, {16, 22, 10, false, 0.7},
    };
    for (const Case& c : cases) {
        for (std::uint64_t seed : {3u, 17u}) {
            DeepOptions o;
            o.rows = c.rows;
            o.cols = c.cols;
            o.boxes = c.boxes;
            o.seed = seed;
            o.packedTargets = c.packed;
            o.openShare = c.open;
            o.games = 4;
            const core::Board lv = generateDeepLevel(o);
            const std::string name = std::to_string(c.rows) + "x" + std::to_string(c.cols) +
                                     " seed " + std::to_string(seed);
            ASSERT_EQ(lv.rows, c.rows) << name;
            ASSERT_EQ(lv.cols, c.cols) << name;
            const int boxes = countOf(lv, {kBox, kBoxOnTarget});
            EXPECT_EQ(boxes, c.boxes) << name;
            EXPECT_EQ(countOf(lv, {kTarget, kBoxOnTarget}), boxes) << name;
            EXPECT_LT(countOf(lv, {kBoxOnTarget}), boxes) << name << ": nothing to do";
            // The worker reaches every floor square (boxes aside) and the
            // edge of the grid is never floor.
            const auto seen = reach(lv, lv.worker, false);
            for (int p = 0; p < lv.rows * lv.cols; ++p) {
                const std::uint8_t code = lv.cells[p];
                if (code == kWall || code == kOutside) continue;
                EXPECT_TRUE(seen[p]) << name << " square " << p;
                const int r = p / lv.cols, col = p % lv.cols;
                EXPECT_TRUE(r > 0 && col > 0 && r < lv.rows - 1 && col < lv.cols - 1) << name;
            }
            if (c.packed) {
                int first = -1;
                for (int p = 0; p < lv.rows * lv.cols && first < 0; ++p)
                    if (lv.cells[p] == kTarget || lv.cells[p] == kBoxOnTarget) first = p;
                const auto patch = reach(lv, first, true);
                int inPatch = 0;
                for (char s : patch)
                    inPatch += s;
                EXPECT_EQ(inPatch, boxes) << name << ": targets not in one patch";
            }
            const core::Board again = generateDeepLevel(o);
            EXPECT_EQ(again.cells, lv.cells) << name;
            EXPECT_EQ(again.worker, lv.worker) << name;

            Limits limits;
            limits.timeSeconds = 60;
            limits.threads = 1;
            limits.clock = &clock;
            const Result r = solve(lv, limits);
            ASSERT_EQ(r.status, Status::Solved) << name << ": " << statusName(r.status);
            const test::Replay rep = replay(lv, r.moves);
            EXPECT_TRUE(rep.legal) << name;
            EXPECT_TRUE(rep.solved) << name;
            EXPECT_EQ(rep.pushes, r.pushCount) << name;
        }
    }
}

TEST(SolverDeepGenerator, SeedsGiveDifferentLevels) {
    DeepOptions a, b;
    a.seed = 1;
    b.seed = 2;
    EXPECT_NE(generateDeepLevel(a).cells, generateDeepLevel(b).cells);
}

} // namespace
} // namespace sokoban::solver

// Writes the benchmark corpus: levels from the solver's own generator in
// tiers of growing room size and box count, in XSB text with a title line
// before each level. Each level is the hardest of a few generated candidates,
// judged by how many positions a one-thread fewest-pushes search expands
// for it within a second. Every level is solvable: the generator plays
// backwards from the solved position.
//
//   solver_make_corpus [LEVELS_PER_TIER [CANDIDATES]] > corpus.txt
#include "generators/levels/generator.h"
#include "solver/solver.h"

#include <cstdio>
#include <cstdlib>

using namespace sokoban;
using namespace sokoban::solver;

struct Tier {
    int side;
    int boxes;
};

int main(int argc, char** argv) {
    const int perTier = argc > 1 ? std::atoi(argv[1]) : 10;
    const int candidates = argc > 2 ? std::atoi(argv[2]) : 6;
    const Tier tiers[] = {{7, 2}, {8, 3}, {10, 4}, {12, 6}, {14, 8}, {16, 10}, {18, 12}, {20, 15}};
    Limits limits;
    limits.timeSeconds = 1;
    limits.threads = 1;
    limits.memoryBytes = std::size_t{512} << 20;
    for (const Tier& t : tiers) {
        for (int i = 0; i < perTier; ++i) {
            sokoban::core::Board best;
            std::uint64_t bestNodes = 0;
            bool found = false;
            for (int k = 0; k < candidates; ++k) {
                GeneratorOptions o;
                o.rows = o.cols = t.side;
                o.boxes = t.boxes;
                o.seed = (static_cast<std::uint64_t>(t.side) * 1000 + i) * 100 + k;
                o.wallShare = 0.2 + 0.05 * (k % 4);
                o.pulls = 150 * t.boxes;
                sokoban::core::Board lv = generateLevel(o);
                // Judged by the effort of the plain fewest-pushes search;
                // levels it cannot finish in the judging time count as the
                // hardest, so the corpus is not limited to what the solver
                // already does well.
                Result r = solve(lv, limits);
                if (!found || r.nodes > bestNodes) {
                    best = lv;
                    bestNodes = r.nodes;
                    found = true;
                }
            }
            if (!found) continue;
            std::printf("; %dx%d %d boxes #%d\n", t.side, t.side, t.boxes, i + 1);
            for (const auto& row : sokoban::core::toXsbRows(best))
                std::printf("%s\n", row.c_str());
            std::printf("\n");
            std::fflush(stdout);
        }
    }
    return 0;
}

// Writes the goal-room corpus: levels whose targets are packed in one room
// (one or two doors, with or without a spare row) or in a corner, with 15 to
// 30 boxes pulled out across a large room. Solvable by construction: the
// generator plays backwards from the filled room.
//
//   solver_make_goal_corpus [LEVELS_PER_TIER] > goal_rooms.txt
#include "generators/levels/generator.h"

#include <cstdio>
#include <cstdlib>

using namespace sokoban;
using namespace sokoban::solver;

struct Tier {
    int rows, cols, boxes;
};

int main(int argc, char** argv) {
    const int perTier = argc > 1 ? std::atoi(argv[1]) : 6;
    const Tier tiers[] = {{16, 24, 15}, {18, 26, 20}, {20, 28, 25}, {22, 30, 30}};
    static const char* const kShapes[] = {"room", "room+row", "two doors", "corner"};
    for (const Tier& t : tiers) {
        for (int i = 0; i < perTier; ++i) {
            GoalRoomOptions o;
            o.rows = t.rows;
            o.cols = t.cols;
            o.boxes = t.boxes;
            o.seed = static_cast<std::uint64_t>(t.boxes) * 100 + i;
            const int shape = i % 4;
            o.doors = shape == 3 ? 0 : shape == 2 ? 2 : 1;
            o.spareRow = shape == 1;
            o.wallShare = 0.08 + 0.02 * (i % 3);
            sokoban::core::Board lv = generateGoalRoomLevel(o);
            std::printf("; %d boxes #%d %s\n", t.boxes, i + 1, kShapes[shape]);
            for (const auto& row : sokoban::core::toXsbRows(lv))
                std::printf("%s\n", row.c_str());
            std::printf("\n");
        }
    }
    return 0;
}

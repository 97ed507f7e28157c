#include "core/board.h"

#include <gtest/gtest.h>

namespace sokoban::core {
namespace {

TEST(CoreBoard, XsbRowsBothWays) {
    struct Case {
        const char* what;
        std::vector<std::string> rows;
        std::vector<std::string> back; // toXsbRows of the board read
        int worker;
        int boxes;
        int targets;
    } cases[] = {
        {"plain", {"#####", "#@$.#", "#####"}, {"#####", "#@$.#", "#####"}, 6, 1, 1},
        {"worker on target, box on target",
         {"####", "#+*#", "####"},
         {"####", "#+*#", "####"},
         5,
         1,
         2},
        {"short rows leave outside",
         {"  ###", "###@#", "#$. #", "####"},
         {"  ###", "###@#", "#$. #", "####"},
         8,
         1,
         1},
        {"dash and underscore are floor",
         {"#####", "#@-_#", "#####"},
         {"#####", "#@  #", "#####"},
         6,
         0,
         0},
        {"the last worker counts", {"#@@#"}, {"# @#"}, 2, 0, 0},
        {"no worker", {"#$.#"}, {"#$.#"}, -1, 1, 1},
        {"unknown characters are outside", {"#x@#"}, {"# @#"}, 2, 0, 0},
    };
    for (const auto& c : cases) {
        const Board b = fromXsbRows(c.rows);
        EXPECT_EQ(b.worker, c.worker) << c.what;
        EXPECT_EQ(b.boxCount(), c.boxes) << c.what;
        EXPECT_EQ(b.targetCount(), c.targets) << c.what;
        EXPECT_EQ(toXsbRows(b), c.back) << c.what;
    }
    const Board cut = fromXsbRows(std::vector<std::string>(70, std::string(70, '#')));
    EXPECT_EQ(cut.rows, kMaxSide);
    EXPECT_EQ(cut.cols, kMaxSide);
}

TEST(CoreBoard, NeighboursStopAtTheEdge) {
    const Board b(3, 4); // cells 0..11
    struct Case {
        int cell, dir, expected;
    } cases[] = {
        {0, kUp, -1},    {0, kLeft, -1}, {0, kRight, 1},   {0, kDown, 4},
        {3, kRight, -1}, {4, kLeft, -1}, {7, kRight, -1},  {8, kDown, -1},
        {11, kUp, 7},    {5, kLeft, 4},  {-1, kRight, -1}, {12, kLeft, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(b.neighbour(c.cell, c.dir), c.expected) << c.cell << " " << c.dir;
    EXPECT_EQ(b.at(-1, 0), kOutside);
    EXPECT_EQ(b.at(0, 4), kOutside);
}

} // namespace
} // namespace sokoban::core

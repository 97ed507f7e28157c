#include "core/paths.h"

#include "core/rules.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace sokoban::core {
namespace {

std::string letters(const std::optional<Moves>& moves) {
    if (!moves) return "-";
    std::string s;
    for (const auto d : *moves)
        s += "udlr"[d];
    return s;
}

// The board with the worker on "@" and the goal on the one ".".
struct Scene {
    Board board;
    int goal = -1;
    explicit Scene(const std::vector<std::string>& rows) : board(fromXsbRows(rows)) {
        for (int i = 0; i < board.size(); ++i)
            if (board.at(i) == kTarget) goal = i;
    }
};

TEST(CorePaths, ReachAroundAndThroughBoxes) {
    struct Case {
        std::vector<std::string> rows;
        int around, through; // cells reached, the worker's own included
    } cases[] = {
        {{"#######", "#@ $  #", "#######"}, 2, 5},
        {{"#######", "#@ * .#", "#######"}, 2, 5},
        {{"######", "#@ # #", "######"}, 2, 2}, // a wall is a wall either way
        {{"#####", "#@$$ ", "#####"}, 1, 4},    // past the last wall: off the board stops him
    };
    for (const auto& c : cases) {
        const Board b = fromXsbRows(c.rows);
        const auto count = [](const std::vector<bool>& v) {
            return std::count(v.begin(), v.end(), true);
        };
        EXPECT_EQ(count(reach(b, b.worker)), c.around) << c.rows[1];
        EXPECT_EQ(count(reach(b, b.worker, Walk::ThroughBoxes)), c.through) << c.rows[1];
    }
    EXPECT_EQ(reach(fromXsbRows({"# #"}), -1), std::vector<bool>(3, false));
}

TEST(CorePaths, ShortestWalks) {
    struct Case {
        const char* what;
        std::vector<std::string> rows;
        std::string walk;
    } cases[] = {
        {"straight", {"######", "#@  .#", "######"}, "rrr"},
        // Of equal walks, up and down are tried before left and right.
        {"ties go down first", {"#####", "#@  #", "#  .#", "#####"}, "drr"},
        {"round a box", {"#####", "#@$.#", "#   #", "#####"}, "drru"},
        {"walled off", {"#####", "#@#.#", "#####"}, "-"},
        {"boxes are no way", {"#####", "#@$.#", "#####"}, "-"},
    };
    for (const auto& c : cases) {
        const Scene s(c.rows);
        EXPECT_EQ(letters(shortestWalk(s.board, s.board.worker, s.goal)), c.walk) << c.what;
    }
    const Scene s({"#####", "#@$.#", "#####"});
    EXPECT_EQ(letters(shortestWalk(s.board, s.board.worker, s.board.worker)), "");
    EXPECT_EQ(letters(shortestWalk(s.board, s.board.worker, 2)), "-"); // onto the box
    EXPECT_EQ(letters(shortestWalk(s.board, s.board.worker, 99)), "-");
}

TEST(CorePaths, BoxPathsTakeFewestPushesThenFewestMoves) {
    struct Case {
        const char* what;
        std::vector<std::string> rows;
        std::string box;  // "row,col"
        std::string path; // "-" when it cannot be done
        int pushes;
    } cases[] = {
        {"one push", {"######", "#@$ .#", "######"}, "1,2", "RR", 2},
        {"round a corner",
         {"#######", "#     #", "#@$   #", "##### #", "    #.#", "    ###"},
         "2,2",
         "RRRurDD",
         5},
        // Pushing down first would be fewer moves but more pushes.
        {"a walk to the other side",
         {"#######", "#     #", "# $   #", "#@    #", "# .   #", "#######"},
         "2,2",
         "uurDD",
         2},
        {"into a corner it cannot leave",
         {"#####", "#@$ #", "### #", "  #.#", "  ###"},
         "1,2",
         "-",
         0},
        {"another box in the way", {"#######", "#@$$ .#", "#######"}, "1,2", "-", 0},
    };
    for (const auto& c : cases) {
        const Scene s(c.rows);
        const int box = s.board.cellAt(c.box[0] - '0', c.box[2] - '0');
        const auto path = boxPath(s.board, box, s.goal);
        // Capitals for the pushes, as they play.
        std::string played = "-";
        if (path) {
            Board b = s.board;
            played.clear();
            for (const auto d : *path)
                played +=
                    (apply(b, static_cast<Dir>(d)).kind == MoveKind::Push ? "UDLR" : "udlr")[d];
            EXPECT_TRUE(isBox(b.at(s.goal))) << c.what;
        }
        EXPECT_EQ(played, c.path) << c.what;
        EXPECT_EQ(std::count_if(played.begin(), played.end(), ::isupper), c.pushes) << c.what;
    }
    const Scene s({"######", "#@$ .#", "######"});
    EXPECT_FALSE(boxPath(s.board, 9, s.goal)); // no box there
    EXPECT_FALSE(boxPath(s.board, 8, 8));      // onto the box itself
    EXPECT_TRUE(boxPath(s.board, 8, 9));
}

// The walk a click makes is seen step by step, so its choices are pinned:
// these are the walks the game has always made on these boards.
TEST(CorePaths, TheGreedyWalkMakesTheGamesChoices) {
    struct Case {
        std::vector<std::string> rows;
        std::string walk, shortest;
    } cases[] = {
        // Left is tried before right on a tie.
        {{"#######", "#  @  #", "# ### #", "# #.# #", "#     #", "#######"},
         "lldddrru",
         "lldddrru"},
        {{"#########", "# #    ##", "# @ #   #", "## #  # #", "#  # # ##", "##    .##",
          "#########"},
         "rurrddlddrr",
         "dddrrrr"},
        {{"#########", "#  .    #", "# #  #  #", "#  # #  #", "#   ##  #", "#@#    ##",
          "#########"},
         "urrdrrruuuulll",
         "uuuurr"},
        {{"#########", "#     . #", "#  # ## #", "## ##   #", "##     ##", "# #  #@ #",
          "#########"},
         "ulllluuurrrr",
         "uuruul"},
        {{"#########", "#@      #", "#       #", "#      .#", "#########"}, "rrrrrdrd", "ddrrrrrr"},
        // The way back from the goal is shorter: taken, turned round.
        {{"#########", "# #     #", "##  .#  #", "#   #  @#", "#      ##", "###  #  #",
          "#########"},
         "ululld",
         "uullld"},
        {{"#####", "#@$.#", "#####"}, "-", "-"},
    };
    for (const auto& c : cases) {
        const Scene s(c.rows);
        const auto walk = greedyWalk(s.board, s.board.worker, s.goal);
        EXPECT_EQ(letters(walk), c.walk) << c.rows[1];
        EXPECT_EQ(letters(shortestWalk(s.board, s.board.worker, s.goal)), c.shortest) << c.rows[1];
        if (!walk) continue;
        Board b = s.board;
        for (const auto d : *walk)
            ASSERT_EQ(apply(b, static_cast<Dir>(d)).kind, MoveKind::Step);
        EXPECT_EQ(b.worker, s.goal);
    }
}

} // namespace
} // namespace sokoban::core

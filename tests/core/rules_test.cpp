#include "core/rules.h"

#include "core/lurd.h"

#include <gtest/gtest.h>

namespace sokoban::core {
namespace {

TEST(CoreRules, EveryKindOfMove) {
    // Cells of a 5-wide row are numbered from 0; the worker starts at 2.
    struct Case {
        const char* what;
        std::string row;
        Dir dir;
        MoveKind kind;
        int workerTo, boxFrom, boxTo, obstacle;
        std::string after;
    } cases[] = {
        {"step onto floor", "# @ #", kRight, MoveKind::Step, 3, -1, -1, -1, "#  @#"},
        {"step onto a target", "# @.#", kRight, MoveKind::Step, 3, -1, -1, -1, "#  +#"},
        {"into a wall", "##@ #", kLeft, MoveKind::Blocked, 2, -1, -1, 1, "##@ #"},
        {"into outside", " x@ #", kLeft, MoveKind::Blocked, 2, -1, -1, 1, "  @ #"},
        {"across the edge", "  @  ", kUp, MoveKind::Blocked, 2, -1, -1, -1, "  @"},
        {"push onto floor", " @$  ", kRight, MoveKind::Push, 2, 2, 3, -1, "  @$"},
        {"push onto a target", " @$. ", kRight, MoveKind::Push, 2, 2, 3, -1, "  @*"},
        {"push off a target", " @*  ", kRight, MoveKind::Push, 2, 2, 3, -1, "  +$"},
        {"box against a wall", " @$# ", kRight, MoveKind::Blocked, 1, -1, -1, 2, " @$#"},
        {"box against a box", "@$$  ", kRight, MoveKind::Blocked, 0, -1, -1, 1, "@$$"},
        {"box against the edge", "  @$", kRight, MoveKind::Blocked, 2, -1, -1, 3, "  @$"},
    };
    for (const auto& c : cases) {
        Board b = fromXsbRows({c.row});
        const int from = b.worker;
        const MoveOutcome peek = tryMove(b, c.dir);
        const MoveOutcome o = apply(b, c.dir);
        EXPECT_EQ(peek.kind, o.kind) << c.what;
        EXPECT_EQ(o.kind, c.kind) << c.what;
        EXPECT_EQ(o.workerFrom, from) << c.what;
        EXPECT_EQ(o.workerTo, c.workerTo) << c.what;
        EXPECT_EQ(o.boxFrom, c.boxFrom) << c.what;
        EXPECT_EQ(o.boxTo, c.boxTo) << c.what;
        EXPECT_EQ(o.obstacle, c.obstacle) << c.what;
        EXPECT_EQ(toXsbRows(b), std::vector<std::string>{c.after}) << c.what;
    }
}

TEST(CoreRules, CodesNoLevelShouldHoldStopTheWorker) {
    Board b = fromXsbRows({" @  "});
    b.set(2, 9);
    EXPECT_EQ(apply(b, kRight).kind, MoveKind::Blocked);
    Board none = fromXsbRows({"  $ "});
    EXPECT_EQ(apply(none, kLeft).kind, MoveKind::Blocked);
    EXPECT_EQ(none.worker, -1);
}

TEST(CoreRules, SolvedWhenNoBoxIsOffATarget) {
    struct Case {
        std::vector<std::string> rows;
        bool solved;
    } cases[] = {
        {{"#@*#"}, true},
        {{"#@*.#"}, true}, // a spare target
        {{"#@$.#"}, false},
        {{"#@ #"}, true}, // no boxes at all
    };
    for (const auto& c : cases)
        EXPECT_EQ(solved(fromXsbRows(c.rows)), c.solved) << c.rows[0];
    Board b = fromXsbRows({"#@$.#"});
    apply(b, kRight);
    EXPECT_TRUE(solved(b));
}

TEST(CoreRules, FiguresOfALineOfMoves) {
    const std::vector<std::string> room = {"#########", "#@$   . #", "#       #",
                                           "#  $  . #", "#       #", "#########"};
    const struct {
        const char* lurd;
        MoveFigures figures;
    } cases[] = {
        {"", {0, 0, 0, 0}},         {"RRRR", {4, 4, 1, 1}}, // one box, one line
        {"RRlrR", {5, 3, 2, 1}},    // a walk between: a new line of the same box
        {"ddrRurD", {7, 2, 2, 1}},  // another way: a new line
        {"RRRRddlL", {8, 5, 2, 2}}, // the other box: a change and a line
        {"RRRRRRuu", {5, 5, 1, 1}}, // a blocked push ends the count
    };
    for (const auto& c : cases) {
        Moves moves;
        for (const LurdMove& m : parseLurd(c.lurd).moves)
            moves.push_back(m.dir);
        const MoveFigures f = figuresOf(fromXsbRows(room), moves);
        EXPECT_EQ(f, c.figures) << c.lurd << ": " << f.moves << " " << f.pushes << " " << f.boxLines
                                << " " << f.boxChanges;
    }
}

} // namespace
} // namespace sokoban::core

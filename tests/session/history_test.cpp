// One line of play: moves, undo, redo, the push undo, retry and the return
// of a demonstration, read back as the board, the counters and the move log.
#include "session/history.h"

#include "core/board.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

namespace sokoban {
namespace {

// Two boxes, two targets, room to walk round.
const std::vector<std::string> kRoom = {
    "########", //
    "#      #", //
    "# $ $  #", //
    "#@  .. #", //
    "#      #", //
    "########",
};

Position positionOf(const std::vector<std::string>& rows, int moves = 0) {
    const core::Board b = core::fromXsbRows(rows);
    Position p;
    for (int r = 0; r < b.rows; ++r)
        for (int c = 0; c < b.cols; ++c)
            p.cells[static_cast<std::size_t>(r * kCols + c)] = b.at(r, c);
    if (b.worker >= 0) p.man = b.rowOf(b.worker) * kCols + b.colOf(b.worker);
    p.moves = moves;
    return p;
}

int codeOf(char c) {
    switch (c) {
    case 'u':
        return 0;
    case 'd':
        return 1;
    case 'l':
        return 2;
    case 'r':
        return 3;
    default:
        return -1;
    }
}

// Moves by letter; "-" undo, "+" redo, "P" push undo, "S" a new line from
// the first position, "M" mark, "B" back to the mark. Undo and redo with
// nothing to take back or make again do nothing, as in the game.
void play(History& h, const Position& first, const std::string& script) {
    for (char c : script) {
        switch (c) {
        case '-':
            if (h.canUndo()) h.undo();
            break;
        case '+':
            if (h.canRedo()) h.redo();
            break;
        case 'P':
            h.undoPush();
            break;
        case 'S':
            h.start(first);
            break;
        case 'M':
            h.setMark();
            break;
        case 'B':
            h.backToMark();
            break;
        default:
            h.move(codeOf(c));
            break;
        }
    }
}

std::vector<std::pair<int, int>> boxes(const Position& p) {
    std::vector<std::pair<int, int>> out;
    for (int i = 0; i < kCells; ++i)
        if (core::isBox(p.cells[static_cast<std::size_t>(i)]))
            out.emplace_back(i / kCols, i % kCols);
    return out;
}

std::string letters(const History::MoveLog& log, int from, std::size_t count) {
    std::string s;
    for (std::size_t i = 0; i < count; ++i)
        s += "udlr"[log[static_cast<std::size_t>(from) + i]];
    return s;
}

TEST(History, ScriptsOfPlay) {
    struct Case {
        const char* what;
        std::string script;
        int row, col; // the worker
        std::vector<std::pair<int, int>> boxes;
        int moves, pushes, depth;
        std::size_t redo;
        std::string log; // from slot 0
    } cases[] = {
        {"steps", "uur", 1, 2, {{2, 2}, {2, 4}}, 3, 0, 0, 0, "uur"},
        {"a wall refuses and is not logged", "luu", 1, 1, {{2, 2}, {2, 4}}, 2, 0, 0, 0, "uu"},
        {"a push", "ur", 2, 2, {{2, 3}, {2, 4}}, 2, 1, 1, 0, "ur"},
        {"a box against a box refuses", "urr", 2, 2, {{2, 3}, {2, 4}}, 2, 1, 1, 0, "ur"},
        {"undo takes the push back, the log keeps it",
         "ur-",
         2,
         1,
         {{2, 2}, {2, 4}},
         1,
         0,
         0,
         1,
         "ur"},
        {"undo at the start does nothing", "u---", 3, 1, {{2, 2}, {2, 4}}, 0, 0, 0, 1, "u"},
        {"redo makes it again", "ur-+", 2, 2, {{2, 3}, {2, 4}}, 2, 1, 1, 0, "ur"},
        {"a new move ends redo", "ur-d+", 3, 1, {{2, 2}, {2, 4}}, 2, 0, 0, 0, "ud"},
        {"the same move anew also ends redo", "urd--r+", 2, 2, {{2, 3}, {2, 4}}, 2, 1, 1, 0, "urd"},
        {"push undo goes to before the push", "urdrP", 2, 1, {{2, 2}, {2, 4}}, 1, 0, 0, 3, "urdr"},
        {"and its moves can be redone", "urdrP+", 2, 2, {{2, 3}, {2, 4}}, 2, 1, 1, 2, "urdr"},
        {"push undo without a push goes to the start",
         "uuP",
         3,
         1,
         {{2, 2}, {2, 4}},
         0,
         0,
         0,
         2,
         "uu"},
        {"two pushes, one push undo", "urdrruP", 3, 4, {{2, 3}, {2, 4}}, 5, 1, 1, 1, "urdrru"},
        {"two pushes, two push undos", "urdrruPP", 2, 1, {{2, 2}, {2, 4}}, 1, 0, 0, 5, "urdrru"},
        {"push undo at the start stays there",
         "urdrruPPPP",
         3,
         1,
         {{2, 2}, {2, 4}},
         0,
         0,
         0,
         6,
         "urdrru"},
        {"a move after the push undo overwrites the log",
         "urdrruPl",
         3,
         3,
         {{2, 3}, {2, 4}},
         6,
         1,
         1,
         0,
         "urdrrl"},
        {"a single undo after the push undo",
         "urdrruP-",
         3,
         3,
         {{2, 3}, {2, 4}},
         4,
         1,
         1,
         2,
         "urdrru"},
        {"retry starts a new line over the old log",
         "rdrSd",
         4,
         1,
         {{2, 2}, {2, 4}},
         1,
         0,
         0,
         0,
         "ddr"},
        {"a demonstration's moves are forgotten, log and all",
         "rdrSuMddB",
         2,
         1,
         {{2, 2}, {2, 4}},
         1,
         0,
         0,
         0,
         "udr"},
        {"the mark keeps what could be redone",
         "urd--MuB+",
         2,
         2,
         {{2, 3}, {2, 4}},
         2,
         1,
         1,
         1,
         "urd"},
        {"a new line drops the mark", "uMdSB", 3, 1, {{2, 2}, {2, 4}}, 0, 0, 0, 0, "ud"},
    };
    const Position first = positionOf(kRoom);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.what) + ": " + c.script);
        History h;
        h.start(first);
        play(h, first, c.script);
        const Position& now = h.now();
        EXPECT_EQ(std::make_pair(now.man / kCols, now.man % kCols), std::make_pair(c.row, c.col));
        EXPECT_EQ(boxes(now), c.boxes);
        EXPECT_EQ(now.moves, c.moves);
        EXPECT_EQ(now.pushes, c.pushes);
        EXPECT_EQ(h.undoDepth(), c.depth);
        EXPECT_EQ(h.length() - h.done(), c.redo);
        EXPECT_EQ(h.done(), static_cast<std::size_t>(c.moves));
        EXPECT_EQ(letters(h.moveLog(), 0, c.log.size()), c.log);
        EXPECT_FALSE(now.logOverflow);
    }
}

TEST(History, TheCounterStopsAndTheLastSlotTakesTheRest) {
    // A line started near the end, as a slot with many moves starts one.
    struct Case {
        const char* what;
        int startMoves;
        std::string script;
        int moves;
        bool overflow;
        std::string log; // from slot 4093
    } cases[] = {
        {"up to the last counted move", 4094, "r", 4095, false, "uru"},
        {"one more goes into the last slot", 4094, "rl", 4095, true, "url"},
        {"and the next over it", 4094, "rlr", 4095, true, "urr"},
        {"undo keeps the last slot as it was", 4094, "rlr-", 4095, true, "urr"},
        {"undo to a counted move", 4094, "rlr--", 4095, false, "urr"},
        {"redo runs full again", 4094, "rlr---+++", 4095, true, "urr"},
        {"a new move after undo overwrites", 4094, "rlr--d", 4095, true, "urd"},
        {"a start at the end runs full at once", 4095, "r", 4095, true, "uur"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.what) + ": " + c.script);
        const Position first = positionOf(kRoom, c.startMoves);
        History h;
        h.start(first);
        play(h, first, c.script);
        EXPECT_EQ(h.now().moves, c.moves);
        EXPECT_EQ(h.now().logOverflow, c.overflow);
        EXPECT_EQ(letters(h.moveLog(), 4093, 3), c.log);
    }
}

TEST(History, UndoReportsTheWayBack) {
    const Position first = positionOf(kRoom);
    History h;
    h.start(first);
    play(h, first, "ud"); // a step back down
    play(h, first, "ur"); // and a push right
    const int man = h.now().man;
    const History::Undone push = h.undo();
    EXPECT_EQ(push.code, 3);
    EXPECT_EQ(push.back.kind, core::MoveKind::Push);
    EXPECT_EQ(push.back.workerFrom, man);
    EXPECT_EQ(push.back.workerTo, man - 1);
    EXPECT_EQ(push.back.boxFrom, man + 1);
    EXPECT_EQ(push.back.boxTo, man);
    const History::Undone step = h.undo();
    EXPECT_EQ(step.code, 0);
    EXPECT_EQ(step.back.kind, core::MoveKind::Step);
    EXPECT_EQ(step.back.workerTo, step.back.workerFrom + kCols);
    EXPECT_EQ(step.back.boxFrom, -1);
}

// Whatever is done, the board is the line replayed by the rules up to where
// it stands, and the counters and the log agree with it.
TEST(History, RandomPlayAgreesWithAReplay) {
    const Position first = positionOf(kRoom, 0);
    for (unsigned seed : {1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u}) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        History h;
        h.start(first);
        std::string script;
        for (int i = 0; i < 400; ++i) {
            const char* ops = "udlrudlrudlr--+P";
            script += ops[random() % 16];
        }
        play(h, first, script);
        Position replay = first;
        History check;
        check.start(replay);
        for (std::size_t i = 0; i < h.done(); ++i)
            ASSERT_NE(check.move(h.moves()[i].code).kind, core::MoveKind::Blocked) << i;
        EXPECT_EQ(check.now(), h.now()) << script;
        int pushes = 0;
        for (std::size_t i = 0; i < h.done(); ++i)
            pushes += h.moves()[i].push ? 1 : 0;
        EXPECT_EQ(h.undoDepth(), pushes);
        const History::MoveLog log = h.moveLog();
        for (std::size_t i = 0; i < h.length(); ++i)
            ASSERT_EQ(log[i], h.moves()[i].code) << i;
        // Everything undone and redone comes back to the same place.
        const Position here = h.now();
        const std::size_t done = h.done();
        while (h.canUndo())
            h.undo();
        EXPECT_EQ(h.now(), first);
        for (std::size_t i = 0; i < done; ++i)
            h.redo();
        EXPECT_EQ(h.now(), here);
    }
}

} // namespace
} // namespace sokoban

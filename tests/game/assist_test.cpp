// Help with play: undo and redo of single moves, hints and solving from the
// position on the board, dead squares and the mouse's shortest ways.
#include "assist_support.h"
#include "core/paths.h"
#include "storage/maze_board.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cctype>

namespace sokoban::testing {
namespace {

// Two boxes, two targets; the worker has room to walk round.
const std::vector<std::string> kTwoBoxes = {
    "########", //
    "#      #", //
    "# $ $  #", //
    "#@  .. #", //
    "#      #", //
    "########",
};

class AssistTest : public GameFixture {
  protected:
    QueuedAssistant solver;

    void open(const std::vector<TMazeData>& levels) {
        game.setAssistant(&solver.assistant);
        playSet(levels);
    }
    void TearDown() override { EXPECT_EQ(unsolvedAnswers(game), std::vector<int>{}); }
    void keys(const std::string& moves) {
        static const std::pair<char, const char*> words[] = {
            {'u', "up"}, {'d', "down"}, {'l', "left"}, {'r', "right"}};
        for (char c : moves)
            for (const auto& [k, w] : words)
                if (std::tolower(static_cast<unsigned char>(c)) == k) game.KeyMove(w);
    }
    // What undo must give back exactly.
    struct Snapshot {
        PlayCells cells;
        int man, moves, pushes;
        std::vector<std::uint8_t> log;
        bool operator==(const Snapshot&) const = default;
    };
    Snapshot snap() const {
        const History::MoveLog log = game.moveLog();
        return {game.cells(), game.manPos(), game.moveCount(), game.pushCount(),
                std::vector<std::uint8_t>(log.begin(), log.begin() + game.moveCount())};
    }
    TBestData best(int level) const {
        return RecordFile(dir.path / "game.bst", TBestData::kSize).get<TBestData>(level - 1);
    }
    TAnswerData answer(int level) const {
        return RecordFile(dir.path / "game.sol", TAnswerData::kSize).get<TAnswerData>(level - 1);
    }
    // Hints until the level is solved or the hints stop moving anything.
    int hintUntilSolved(int limit = 200) {
        const int level = game.curLevel();
        int hints = 0;
        while (game.curLevel() == level && !game.solved() && hints < limit) {
            const int moves = game.moveCount();
            game.mHintClick();
            if (solver.assistant.busy()) solver.finish();
            ++hints;
            if (game.curLevel() == level && game.moveCount() == moves) break;
        }
        return hints;
    }
};

TEST_F(AssistTest, UndoAndRedoRoundTripsRestoreEverything) {
    open({makeLevel(kTwoBoxes)});
    // Steps, pushes, a refused step against the wall and pushes back.
    const std::string line = "uurrdlrdlluurrrddl";
    std::vector<Snapshot> seen{snap()};
    for (char c : line) {
        const int moves = game.moveCount();
        keys(std::string(1, c));
        if (game.moveCount() != moves) seen.push_back(snap());
    }
    ASSERT_GT(game.pushCount(), 2);
    const int undoRecords = game.undoCount();
    for (std::size_t i = seen.size() - 1; i > 0; --i) {
        game.mUndoMoveClick();
        ASSERT_EQ(snap(), seen[i - 1]) << "after taking back move " << i;
    }
    EXPECT_EQ(game.undoCount(), 0);
    game.mUndoMoveClick(); // nothing left: nothing happens
    EXPECT_EQ(snap(), seen.front());
    for (std::size_t i = 1; i < seen.size(); ++i) {
        game.mRedoClick();
        ASSERT_EQ(snap(), seen[i]) << "after redoing move " << i;
    }
    EXPECT_EQ(game.undoCount(), undoRecords);
    // A new move ends what could be redone.
    game.mUndoMoveClick();
    game.mUndoMoveClick();
    keys("l");
    const Snapshot after = snap();
    game.mRedoClick();
    EXPECT_EQ(snap(), after);
}

TEST_F(AssistTest, PushUndoAndMoveUndoKeepInStep) {
    open({makeLevel(kTwoBoxes)});
    keys("uur");
    const Snapshot beforeFirst = snap();
    keys("d");   // the left box down
    keys("urr"); // round to the right box
    const Snapshot beforeSecond = snap();
    keys("d");          // the right box down onto its target
    keys("l");          // a step
    game.tbUndoClick(); // back to before the last push
    EXPECT_EQ(snap(), beforeSecond);
    // The moves the push undo took back can be made again one by one.
    game.mRedoClick();
    game.mRedoClick();
    EXPECT_EQ(game.pushCount(), 2);
    EXPECT_EQ(game.undoCount(), 2);
    // Taken back move by move, then the push undo finds the first push.
    game.mUndoMoveClick();
    game.mUndoMoveClick();
    EXPECT_EQ(snap(), beforeSecond);
    EXPECT_EQ(game.undoCount(), 1);
    game.tbUndoClick();
    EXPECT_EQ(snap(), beforeFirst);
    EXPECT_EQ(game.history().done(), 3u);
    game.mRedoClick(); // the first push again
    EXPECT_EQ(game.pushCount(), 1);
    EXPECT_EQ(game.undoCount(), 1);
}

TEST_F(AssistTest, ASolveAfterUndoStoresTheLineAsItStands) {
    open({makeLevel(kTwoBoxes), makeLevel(kTwoBoxes)});
    keys("uurdd"); // a push too far, taken back
    game.mUndoMoveClick();
    game.mUndoMoveClick();
    keys("rrll"); // a wander, half taken back
    game.mUndoMoveClick();
    game.mUndoMoveClick();
    hintUntilSolved();
    EXPECT_EQ(game.curLevel(), 2);
    EXPECT_NE(best(1).moves, 0);
    EXPECT_EQ(answer(1).moves, best(1).moves);
    // TearDown replays the stored answer from the level's start.
}

TEST_F(AssistTest, HintsMakeOnePushEachAndCountAsThePlayers) {
    open({makeLevel(kTwoBoxes), makeLevel(kTwoBoxes)});
    game.mHintClick();
    ASSERT_TRUE(solver.assistant.busy());
    const Position asked = game.position();
    solver.finish();
    EXPECT_EQ(game.pushCount(), 1);
    EXPECT_GT(game.moveCount(), 1);
    EXPECT_FALSE(game.position().sameBoard(asked));
    // The next hint follows the same solution without solving again.
    game.mHintClick();
    EXPECT_FALSE(solver.assistant.busy());
    EXPECT_EQ(game.pushCount(), 2);
    hintUntilSolved();
    EXPECT_EQ(game.curLevel(), 2);
    EXPECT_EQ(game.maxLevel(), 2);
    EXPECT_EQ(dialogs.takeMessages().front(), Message(Id::Congratulations, 1));
    EXPECT_NE(answer(1).moves, 0);
}

TEST_F(AssistTest, HintsWithoutATimeLimitStillAnswer) {
    open({makeLevel(kTwoBoxes)});
    for (double none : {0.0, double(TPlayOptions::kNoLimit)}) {
        SCOPED_TRACE(none);
        solver.assistant.timeSeconds = none;
        game.tbRetryGameClick(); // a new solve, not the plan of the last one
        game.mHintClick();
        solver.finish();
        EXPECT_EQ(dialogs.takeTexts(), std::vector<std::string>{});
        EXPECT_EQ(game.pushCount(), 1);
    }
}

TEST_F(AssistTest, AnUnsolvablePositionIsSaidAndChangesNothing) {
    open({makeLevel(kTwoBoxes)});
    keys("ru"); // the left box up against the wall: it never comes down
    const Snapshot before = snap();
    ASSERT_EQ(game.pushCount(), 1);
    dialogs.takeTexts();
    game.mHintClick();
    solver.finish();
    EXPECT_EQ(dialogs.takeMessages(), Messages{Id::PositionUnsolvable});
    EXPECT_EQ(snap(), before);
    game.mSolveClick();
    solver.finish();
    EXPECT_EQ(dialogs.takeMessages(), Messages{Id::PositionUnsolvable});
    EXPECT_EQ(snap(), before);
    EXPECT_FALSE(game.demoMode());
}

TEST_F(AssistTest, CancellingOrMovingOnLeavesTheBoardAlone) {
    open({makeLevel(kTwoBoxes)});
    game.mHintClick();
    // The worst moment: the solver has ended, its answer not yet handed over.
    solver.assistant.wait();
    solver.assistant.cancel();
    const Snapshot before = snap();
    solver.finish();
    EXPECT_EQ(snap(), before);
    EXPECT_EQ(dialogs.takeTexts(), std::vector<std::string>{});
    // The player moved while the solver worked: its answer is for a board
    // that is gone.
    game.mHintClick();
    keys("u");
    const Snapshot moved = snap();
    solver.finish();
    EXPECT_EQ(snap(), moved);
}

TEST_F(AssistTest, SolvingFromHereShowsTheWayAndRecordsNothing) {
    open({makeLevel(kTwoBoxes), makeLevel(kTwoBoxes)});
    keys("uurr");
    const Snapshot asked = snap();
    game.mSolveClick();
    solver.finish();
    ASSERT_TRUE(game.demoMode());
    EXPECT_TRUE(view.demoTimer);
    EXPECT_EQ(view.demo, DemoButtons::Running);
    // Stopped half-way: back where it was asked.
    game.Timer4Timer();
    game.Timer4Timer();
    game.FormKeyDown(GameKey::R, 0);
    EXPECT_FALSE(game.demoMode());
    EXPECT_EQ(snap(), asked);
    // Played to the end: the usual word, and the board as it was asked.
    game.mSolveClick(); // the plan is kept: no new solve
    EXPECT_FALSE(solver.assistant.busy());
    game.tbLoadAnswerClick(); // pause
    EXPECT_EQ(view.demo, DemoButtons::Paused);
    game.FormKeyDown(GameKey::N, 0);
    EXPECT_EQ(game.moveCount(), asked.moves + 1);
    game.tbLoadAnswerClick(); // resume
    for (int i = 0; i < 500 && game.demoMode(); ++i)
        game.Timer4Timer();
    EXPECT_EQ(dialogs.takeMessages(), Messages{Id::DemoWatched});
    EXPECT_EQ(snap(), asked);
    EXPECT_EQ(game.curLevel(), 1);
    EXPECT_EQ(game.maxLevel(), 1);
    EXPECT_EQ(best(1).moves, 0);
    EXPECT_EQ(answer(1).moves, 0);
    // The player's own line goes on from there.
    game.mUndoMoveClick();
    EXPECT_EQ(game.moveCount(), asked.moves - 1);
}

TEST_F(AssistTest, DeadSquaresOfHandMadePatterns) {
    struct Case {
        const char* name;
        std::vector<std::string> rows;
        std::vector<std::pair<int, int>> dead; // (row, col)
    } cases[] = {
        {"corners and a wall without targets",
         {"#####", "#@$.#", "#   #", "#####"},
         {{1, 1}, {2, 1}, {2, 2}, {2, 3}}},
        {"a wall without a target along it",
         {"######", "#    #", "#@$ .#", "#    #", "######"},
         {{1, 1}, {1, 2}, {1, 3}, {1, 4}, {2, 1}, {3, 1}, {3, 2}, {3, 3}, {3, 4}}},
        {"a target on the wall keeps its side alive",
         {"######", "#  . #", "#@$  #", "#    #", "######"},
         {{1, 1}, {1, 4}, {2, 1}, {2, 4}, {3, 1}, {3, 2}, {3, 3}, {3, 4}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TMazeData m = makeLevel(c.rows);
        DeadSquares dead;
        dead.reset(boardOf(m));
        std::vector<std::pair<int, int>> found;
        for (int i = 0; i < kCells; ++i)
            if (dead.isDead(i)) found.emplace_back(i / kCols, i % kCols);
        EXPECT_EQ(found, c.dead);
    }
}

TEST_F(AssistTest, APushThatLosesTheLevelIsWarnedAbout) {
    // Four boxes in a square hold each other, on no dead square.
    const TMazeData square = makeLevel({
        "########", //
        "#      #", //
        "# $$   #", //
        "# $ $@ #", //
        "#      #", //
        "# .... #", //
        "########",
    });
    open({makeLevel(kTwoBoxes), square});
    keys("ru"); // the left box up against the wall: not marked, not warned
    EXPECT_EQ(view.status[3], Message());
    game.tbRetryGameClick();
    game.mMarkDeadClick();
    ASSERT_EQ(game.playOptions().markDead, 1);
    EXPECT_TRUE(game.deadSquares().isDead(1 * kCols + 2));
    keys("ru");
    EXPECT_EQ(view.status[3], Message(Id::DeadSquareWarning));
    game.mUndoMoveClick();
    EXPECT_EQ(view.status[3], Message());
    game.UnlockAllLevels();
    game.tbNextRecordClick();
    keys("l");
    EXPECT_EQ(view.status[3], Message(Id::FrozenBoxWarning));
    keys("r"); // a step: the square stays
    EXPECT_EQ(view.status[3], Message(Id::FrozenBoxWarning));
    game.tbUndoClick();
    EXPECT_EQ(view.status[3], Message());
}

TEST_F(AssistTest, DraggingABoxPushesItAlongTheFewestPushes) {
    open({makeLevel(kTwoBoxes)});
    const int box = 2 * kCols + 2, goal = 3 * kCols + 4;
    const auto path = core::boxPath(game.position().board(), box, goal);
    ASSERT_TRUE(path);
    int pushes = 0;
    for (auto code : *path) {
        const int ahead = game.manPos() + kDirections[code].step;
        if (game.cells()[static_cast<std::size_t>(ahead)] >= kBox) ++pushes;
        game.KeyMove(kDirections[code].word);
    }
    EXPECT_EQ(pushes, 3); // down once, right twice
    EXPECT_EQ(game.cells()[static_cast<std::size_t>(goal)], kBoxOnTarget);
    // Through the mouse: press on the box, release on the cell.
    game.tbRetryGameClick();
    const auto pixel = [&](int cell) {
        const auto& l = game.layout();
        return std::pair{(cell % kCols + l.originCol) * l.cellSize + l.cellSize / 2,
                         (cell / kCols + l.originRow) * l.cellSize + l.cellSize / 2};
    };
    auto [bx, by] = pixel(box);
    auto [gx, gy] = pixel(goal);
    game.Image1MouseDown(false, bx, by);
    EXPECT_EQ(game.moveCount(), 0); // nothing until the release
    game.Image1MouseMove(gx, gy);
    EXPECT_EQ(view.cursor, "go");
    game.Image1MouseUp(gx, gy);
    ASSERT_TRUE(view.walking);
    while (game.walk().walking)
        game.Timer2Timer();
    EXPECT_EQ(game.cells()[static_cast<std::size_t>(goal)], kBoxOnTarget);
    EXPECT_EQ(game.pushCount(), 3);
    // Into a corner it cannot leave by the way asked: a wall cell, nothing.
    const Snapshot before = snap();
    auto [wx, wy] = pixel(0);
    auto [cx, cy] = pixel(goal);
    game.Image1MouseDown(false, cx, cy);
    game.Image1MouseMove(wx, wy);
    EXPECT_EQ(view.cursor, "dead");
    game.Image1MouseUp(wx, wy);
    EXPECT_EQ(snap(), before);
    EXPECT_EQ(view.cursor, "dead");
}

TEST_F(AssistTest, ShortestWalksTakeTheFewestSteps) {
    // The greedy search heads left round the block and keeps the detour.
    open({makeLevel({
        "#########", //
        "#       #", //
        "# # ### #", //
        "#     # #", //
        "## #    #", //
        "#   ##@##", //
        "#########",
    })});
    const int goal = 1 * kCols + 6;
    game.BlockClick(goal);
    const int greedy = game.walk().walkCount;
    game.stopWalk();
    game.playOptions().shortestWalk = 1;
    game.BlockClick(goal);
    EXPECT_EQ(game.walk().walkCount, 6);
    EXPECT_EQ(greedy, 10);
    ASSERT_TRUE(view.walking);
    const auto shortest = core::shortestWalk(game.position().board(), game.manPos(), goal);
    ASSERT_TRUE(shortest);
    EXPECT_EQ(game.walk().walkCount, static_cast<int>(shortest->size()));
    while (game.walk().walking)
        game.Timer2Timer();
    EXPECT_EQ(game.manPos(), goal);
    EXPECT_EQ(game.moveCount(), static_cast<int>(shortest->size()));
}

TEST(PlayOptionsFile, FiveBytesAndSafeDefaults) {
    TempDir dir;
    const auto file = dir.path / "assist.var";
    EXPECT_EQ(loadPlayOptions(file), TPlayOptions{});
    TPlayOptions o;
    o.markDead = 1;
    o.shortestWalk = 1;
    o.solveSeconds = 300;
    savePlayOptions(file, o);
    EXPECT_EQ(readFile(file), (Bytes{1, 1, 0x2c, 0x01, 0}));
    EXPECT_EQ(loadPlayOptions(file), o);
    // No limit at all, with the animation on.
    o.solveSeconds = TPlayOptions::kNoLimit;
    o.animate = 1;
    savePlayOptions(file, o);
    EXPECT_EQ(readFile(file), (Bytes{1, 1, 0xff, 0xff, 1}));
    EXPECT_EQ(loadPlayOptions(file), o);

    // Files of older versions and damaged ones: fewer bytes read as zero,
    // values out of range as the defaults.
    const struct {
        std::string bytes;
        TPlayOptions read;
    } cases[] = {
        {std::string("\x01\x00\x2c\x01", 4), {1, 0, 300, 0}},
        {std::string("\x00\x01\x3c\x00\x01", 5), {0, 1, 60, 1}},
        {std::string("\x07\x01", 2), {0, 1, TPlayOptions::kDefaultSeconds, 0}},
        {std::string("\x01\x01\x0a\x00\x07", 5), {1, 1, 10, 0}},
        {std::string("\x01\x01\x0a\x00\x01\x01\x01", 7), {1, 1, 10, 1}},
    };
    for (const auto& c : cases) {
        std::ofstream(file, std::ios::binary | std::ios::trunc) << c.bytes;
        EXPECT_EQ(loadPlayOptions(file), c.read) << c.bytes.size() << " bytes";
    }
}

} // namespace
} // namespace sokoban::testing

#include "test_support.h"

#include <gtest/gtest.h>

#include <cctype>
#include <functional>

namespace sokoban::testing {
namespace {

// Level 1: one push right solves it. Level 2: two pushes. Level 3: a room.
const std::vector<std::vector<std::string>> kLevels = {
    {"#####", "#@$.#", "#####"},
    {"######", "#@ $.#", "######"},
    {"########", "#. $ @ #", "#.$    #", "########"},
};

class GameTest : public GameFixture {
  protected:
    void SetUp() override {
        std::vector<TMazeData> levels;
        for (const auto& rows : kLevels)
            levels.push_back(makeLevel(rows, 3, 4));
        playSet(levels);
    }
    void TearDown() override { EXPECT_EQ(unsolvedAnswers(game), std::vector<int>{}); }
    std::filesystem::path file(const std::string& ext) const { return dir.path / ("game" + ext); }
    void keys(const std::string& moves) {
        for (char c : moves) {
            switch (std::tolower(static_cast<unsigned char>(c))) {
            case 'u':
                game.KeyMove("up");
                break;
            case 'd':
                game.KeyMove("down");
                break;
            case 'l':
                game.KeyMove("left");
                break;
            case 'r':
                game.KeyMove("right");
                break;
            }
        }
    }
    // A board of floor everywhere, boxes on the cells given, played as a set
    // of its own.
    void playOpenFloor(int man, const std::vector<int>& boxes = {}) {
        TMazeData m;
        m.cells.fill(kFloor);
        for (int b : boxes)
            m.cells[static_cast<std::size_t>(b)] = kBox;
        m.man = static_cast<std::int16_t>(man);
        writeLevelSet(dir.path / "floor.box", {m});
        game.openOtherSet((dir.path / "floor.box").string());
    }
    TBestData best(int level) { return RecordFile(file(".bst"), 4).get<TBestData>(level - 1); }
    TAnswerData answer(int level) {
        return RecordFile(file(".sol"), TAnswerData::kSize).get<TAnswerData>(level - 1);
    }
};

TEST_F(GameTest, OpeningShowsTheFirstLevelNormalised) {
    EXPECT_EQ(view.caption, Message(Id::CaptionDefaultSet, 1));
    EXPECT_EQ(view.status[0], Message(Id::LevelPanel, 1, 3));
    EXPECT_EQ(view.status[1], Message(Id::MovesPanelNoBest, 0));
    EXPECT_EQ(view.status[2], Message(Id::PushesPanelNoBest, 0));
    EXPECT_EQ(game.checkedGameItem(), 1);
    EXPECT_EQ(view.gameItem, 1);
    // Drawn at row 3, column 4 in the file; moved to the top-left corner.
    EXPECT_EQ(game.mazeWidth(), 5);
    EXPECT_EQ(game.mazeHeight(), 3);
    EXPECT_EQ(game.manPos(), 1 * kCols + 1);
    EXPECT_EQ(game.cells()[0], kWall);
    EXPECT_FALSE(view.nextEnabled);
    EXPECT_FALSE(view.undoEnabled);
    // Undo record 0 holds the entry position.
    const auto rec0 = undoFile(dir.path).get<TSaveData>(0);
    EXPECT_EQ(rec0.man, game.manPos());
    EXPECT_EQ(PlayCells(rec0.cells.begin(), rec0.cells.end()), game.cells());
    EXPECT_EQ(rec0.moves, 0);
}

TEST_F(GameTest, CaptionsOfBuiltInAndOutsideSets) {
    struct Case {
        std::string file;
        Id caption;
    } cases[] = {
        {"game.box", Id::CaptionDefaultSet},          {"easy.box", Id::CaptionEasySet},
        {"normal.box", Id::CaptionNormalSet},         {"veryhard.box", Id::CaptionVeryHardSet},
        {"impossible.box", Id::CaptionImpossibleSet},
    };
    game.UnlockAllLevels();
    game.playLevel(3);
    for (const auto& c : cases) {
        game.setGameFile(dirPrefix(dir.path) + c.file);
        EXPECT_EQ(game.caption(), Message(c.caption, 3)) << c.file;
    }
    game.setGameFile("/elsewhere/game.box");
    EXPECT_EQ(game.caption(), Message(Id::CaptionOtherSet, "/elsewhere/game.box", 3));
}

TEST_F(GameTest, StepsTurnsAndRefusals) {
    game.KeyMove("left"); // wall: turns, counts nothing
    EXPECT_EQ(game.manDir(), 5);
    EXPECT_EQ(game.moveCount(), 0);
    EXPECT_EQ(view.effects, std::vector<std::string>{"PONG"});

    // A worker in row 0 going up: nothing at all happens, not even a turn.
    playOpenFloor(5, {kCells - 1});
    view.effects.clear();
    game.KeyMove("up");
    EXPECT_EQ(game.manDir(), 5);
    EXPECT_TRUE(view.effects.empty());
    playOpenFloor(kCols - 1, {kCells - 1});
    game.KeyMove("right");
    EXPECT_TRUE(view.effects.empty());
    game.KeyMove("down");
    EXPECT_EQ(game.manPos(), 2 * kCols - 1);
    EXPECT_EQ(view.effects, std::vector<std::string>{"MOVE"});
    EXPECT_EQ(game.moveLog()[0], 1);
    EXPECT_EQ(view.status[1], Message(Id::MovesPanelNoBest, 1));
}

TEST_F(GameTest, BoxesAtTheGridEdgeCannotLeaveIt) {
    struct Case {
        int box;
        int man;
        const char* dir;
    } cases[] = {
        {5, 5 + kCols, "up"},
        {21 * kCols + 5, 20 * kCols + 5, "down"},
        {kCols * 4, kCols * 4 + 1, "left"},
        {kCols * 5 - 1, kCols * 5 - 2, "right"},
    };
    for (const auto& c : cases) {
        playOpenFloor(c.man, {c.box});
        view.effects.clear();
        game.KeyMove(c.dir);
        EXPECT_EQ(view.effects, std::vector<std::string>{"PONG"}) << c.dir;
        EXPECT_EQ(view.cursor, "dead");
        EXPECT_EQ(game.manPos(), c.man);
        EXPECT_EQ(game.pushCount(), 0);
    }
}

TEST_F(GameTest, TheMoveCounterStopsAt4095AndTheLastEntryIsOverwritten) {
    playOpenFloor(2 * kCols + 2, {0}); // the box keeps the level unsolved
    for (int i = 0; i < 4100; ++i)
        game.KeyMove(i % 2 ? "left" : "right");
    EXPECT_EQ(game.moveCount(), 4095);
    EXPECT_EQ(game.moveLog()[4094], 3);
    EXPECT_EQ(game.moveLog()[4095], 2); // the last move made
    EXPECT_TRUE(game.logOverflow());
}

TEST_F(GameTest, FirstSolutionRecordsEverythingAndOpensTheNextLevel) {
    game.KeyMove("right");
    EXPECT_EQ(view.effects, std::vector<std::string>{"PUSH"});
    EXPECT_EQ(
        dialogs.takeMessages(),
        (Messages{{Id::Congratulations, 1}, {Id::FirstSolve, 1, 1, 1}, {Id::SolutionStored}}));
    EXPECT_EQ(best(1), (TBestData{1, 1}));
    const auto a = answer(1);
    EXPECT_EQ(a.level, 1);
    EXPECT_EQ(a.moves, 1);
    EXPECT_EQ(a.moveAt(0), 3);
    EXPECT_EQ(RecordFile(file(".sav"), TSaveData::kSize).get<TSaveData>(0).level, 2);
    EXPECT_EQ(game.curLevel(), 2);
    EXPECT_EQ(game.maxLevel(), 2);
    EXPECT_EQ(view.caption, Message(Id::CaptionDefaultSet, 2));
}

TEST_F(GameTest, BetterSolutionsBreakRecords) {
    // Level 3 solved once the long way, then the short way.
    game.UnlockAllLevels();
    dialogs.takeTexts();
    game.playLevel(3);
    keys("rllLLrdL"); // a detour first
    auto said = dialogs.takeMessages();
    ASSERT_GE(said.size(), 2u);
    EXPECT_EQ(said[1], Message(Id::FirstSolve, 3, 8, 3));
    EXPECT_EQ(best(3), (TBestData{8, 3}));
    game.playLevel(3);
    keys("lLLrdL");
    EXPECT_EQ(dialogs.takeMessages(), (Messages{{Id::Congratulations, 3},
                                                {Id::MovesRecordBroken, 6, 3},
                                                {Id::BetterAnswerStored},
                                                {Id::AllLevelsSolved}}));
    EXPECT_EQ(best(3), (TBestData{6, 3}));
    EXPECT_EQ(answer(3).moves, 6);
    // The last level stays on the board.
    EXPECT_EQ(game.curLevel(), 3);
    EXPECT_TRUE(game.solved());
}

TEST_F(GameTest, NoPassInfoKeepsOnlyTheCongratulationAndTheFirstSolution) {
    game.settings().noPassInfo = 1;
    game.KeyMove("right");
    EXPECT_EQ(dialogs.takeMessages(),
              (Messages{{Id::Congratulations, 1}, {Id::FirstSolve, 1, 1, 1}}));
    EXPECT_EQ(answer(1).moves, 1); // stored all the same
}

TEST_F(GameTest, UndoReturnsToBeforeTheLastPush) {
    game.tbNextRecordClick(); // locked
    EXPECT_EQ(dialogs.takeMessages(), Messages{Id::SolveThisLevelFirst});
    game.UnlockAllLevels();
    EXPECT_EQ(dialogs.takeMessages(), Messages{Id::AllLevelsUnlocked});
    game.playLevel(3);
    const PlayCells start = game.cells();
    const int startMan = game.manPos();

    // Undo right after entering keeps the entry position.
    game.tbUndoClick();
    EXPECT_EQ(game.cells(), start);
    EXPECT_EQ(game.undoCount(), 0);
    EXPECT_FALSE(view.undoEnabled);

    keys("lL"); // walk, push
    EXPECT_TRUE(view.undoEnabled);
    keys("rr");
    EXPECT_EQ(game.moveCount(), 4);
    view.effects.clear();
    game.tbUndoClick();
    EXPECT_EQ(view.effects, std::vector<std::string>{"undo"});
    EXPECT_EQ(game.moveCount(), 1);
    EXPECT_EQ(game.pushCount(), 0);
    EXPECT_EQ(game.manPos(), startMan - 1);
    EXPECT_EQ(game.cells(), start);
    EXPECT_TRUE(view.undoEnabled); // record 0 is still there
    game.tbUndoClick();
    EXPECT_EQ(game.manPos(), startMan);
    EXPECT_FALSE(view.undoEnabled);
    EXPECT_TRUE(game.redrawOnly());
    // Retrying reloads the level with its full lookups.
    const int faces = view.randomFaces;
    game.tbRetryGameClick();
    EXPECT_FALSE(game.redrawOnly());
    EXPECT_EQ(view.randomFaces, faces + 1);
}

TEST_F(GameTest, ChoosingALevelByNumber) {
    struct Case {
        std::optional<std::string> answer;
        Messages said;
        int level;
    } cases[] = {
        {std::nullopt, {}, 1},
        {"", {}, 1},
        {"0", {Id::EnterValidLevel}, 1},
        {"-2", {Id::EnterValidLevel}, 1},
        {"4", {Id::EnterValidLevel}, 1},
        {"abc", {Id::EnterValidNumber}, 1},
        {"1.5", {Id::EnterValidNumber}, 1},
        {"99999999999", {Id::EnterValidNumber}, 1},
        {"2", {Id::SolveThisLevelFirst}, 1},
        {"1", {}, 1},
    };
    for (const auto& c : cases) {
        dialogs.inputAnswers.push_back(c.answer);
        game.tbSelectRecordClick();
        EXPECT_EQ(dialogs.takeMessages(), c.said) << c.answer.value_or("(cancel)");
        EXPECT_EQ(game.curLevel(), c.level);
    }
    EXPECT_EQ(dialogs.inputMessages.back(),
              std::pair(Message(Id::ChooseLevelCaption), Message(Id::ChooseLevelPrompt, 1)));
}

TEST_F(GameTest, PreviousAndNextStayInsideTheSet) {
    game.tbPreviousRecordClick();
    EXPECT_EQ(game.curLevel(), 1);
    game.UnlockAllLevels();
    dialogs.takeTexts();
    game.playLevel(3);
    game.FormKeyDown(GameKey::F12, kCtrl); // the manager's key opens every level
    game.tbNextRecordClick();
    EXPECT_EQ(game.curLevel(), 3);
    EXPECT_TRUE(dialogs.takeTexts().empty());
    game.tbPreviousRecordClick();
    EXPECT_EQ(game.curLevel(), 2);
    EXPECT_TRUE(view.nextEnabled);
}

TEST_F(GameTest, SelectingTheOpenSetDoesNothing) {
    const int paints = view.fullPaints;
    game.SelectGames(1);
    EXPECT_EQ(view.fullPaints, paints);
    // A missing built-in set keeps the open one.
    game.SelectGames(2);
    EXPECT_EQ(dialogs.takeMessages(), Messages{Id::SetFileMissing});
    EXPECT_EQ(game.gameFile(), dirPrefix(dir.path) + "game.box");
    EXPECT_EQ(game.settings().levelSet, 1);
}

TEST_F(GameTest, SaveSlotsRoundTrip) {
    // A fresh slot reads as empty.
    game.GameLoad(3);
    EXPECT_EQ(dialogs.takeMessages(), Messages{Id::NoSuchSlot});

    game.UnlockAllLevels();
    dialogs.takeTexts();
    game.playLevel(3);
    keys("lLd");
    const PlayCells board = game.cells();
    const int man = game.manPos();
    game.Gamesave(3);
    EXPECT_EQ(dialogs.takeMessages(), (Messages{{Id::GameSaved, 3, 3}}));
    game.playLevel(1);
    game.GameLoad(3);
    EXPECT_EQ(game.curLevel(), 3);
    EXPECT_EQ(game.moveCount(), 3);
    EXPECT_EQ(game.pushCount(), 1);
    EXPECT_EQ(game.manPos(), man);
    EXPECT_EQ(game.cells(), board);
    EXPECT_TRUE(game.resumedFromSlot());

    // Level 1 after exactly one move reads as empty.
    TSaveData oneMove = freshSaveRecord();
    oneMove.level = 1;
    oneMove.moves = 1;
    RecordFile(file(".sav"), TSaveData::kSize).put(4, oneMove);
    dialogs.takeTexts();
    game.GameLoad(4);
    EXPECT_EQ(dialogs.takeMessages(), Messages{Id::NoSuchSlot});
}

TEST_F(GameTest, UndoRightAfterLoadingASlotKeepsItsCounters) {
    game.UnlockAllLevels();
    game.playLevel(3);
    keys("lLd");
    const PlayCells board = game.cells();
    const int man = game.manPos();
    game.Gamesave(2);
    game.playLevel(1);
    game.GameLoad(2);
    EXPECT_EQ(undoFile(dir.path).get<TSaveData>(0).moves, 3);
    game.tbUndoClick();
    EXPECT_EQ(game.moveCount(), 3);
    EXPECT_EQ(game.pushCount(), 1);
    EXPECT_EQ(game.manPos(), man);
    EXPECT_EQ(game.cells(), board);
    EXPECT_EQ(view.status[1], Message(Id::MovesPanelNoBest, 3));
    game.KeyMove("left"); // one more push counts on from the slot
    EXPECT_EQ(game.pushCount(), 2);
}

TEST_F(GameTest, ASetThatFailsToOpenLeavesTheOpenOneInPlay) {
    game.UnlockAllLevels();
    game.playLevel(3);
    const PlayCells start = game.cells();
    const int startMan = game.manPos();
    keys("lL"); // one push in the undo history
    dialogs.takeTexts();
    // Each candidate has a folder where its progress file should be.
    const auto other = dir.path / "other";
    std::filesystem::create_directories(other / "mine.sav");
    std::filesystem::create_directories(dir.path / "normal.sav");
    writeLevelSet(other / "mine.box", {makeLevel(kLevels[0])});
    writeLevelSet(dir.path / "normal.box", {makeLevel(kLevels[0])});
    struct Case {
        const char* name;
        std::function<void()> open;
    } cases[] = {
        {"built-in", [&] { game.SelectGames(2); }},
        {"other file",
         [&] {
             dialogs.fileAnswers.push_back((other / "mine.box").string());
             game.N24Click();
         }},
        {"listed", [&] { game.openListedSet((other / "mine.box").string(), 2); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        game.guarded(c.open);
        ASSERT_EQ(dialogs.shown.size(), 1u);
        EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Error);
        dialogs.takeTexts();
        EXPECT_EQ(game.gameFile(), dirPrefix(dir.path) + "game.box");
        EXPECT_EQ(game.levelCount(), 3);
        EXPECT_EQ(game.curLevel(), 3);
        EXPECT_EQ(game.maxLevel(), 3);
        EXPECT_EQ(game.checkedGameItem(), 1);
        EXPECT_EQ(view.gameItem, 1);
        EXPECT_EQ(game.settings().levelSet, 1);
        EXPECT_EQ(view.caption, Message(Id::CaptionDefaultSet, 3));
    }
    // The undo history is whole.
    game.guarded([&] { game.tbUndoClick(); });
    EXPECT_TRUE(dialogs.takeTexts().empty());
    EXPECT_EQ(game.cells(), start);
    EXPECT_EQ(game.manPos(), startMan - 1);
    game.guarded([&] { game.tbRetryGameClick(); });
    EXPECT_EQ(game.manPos(), startMan);
    EXPECT_EQ(view.caption, Message(Id::CaptionDefaultSet, 3));
}

TEST_F(GameTest, APushWhoseUndoRecordCannotBeWrittenIsRefused) {
    const PlayCells start = game.cells();
    const int man = game.manPos();
    const auto tmp = game.undoFile().path();
    std::filesystem::remove(tmp);
    std::filesystem::create_directory(tmp);
    view.effects.clear();
    game.guarded([&] { game.KeyMove("right"); });
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Error);
    dialogs.takeTexts();
    EXPECT_EQ(game.undoCount(), 0);
    EXPECT_EQ(game.pushCount(), 0);
    EXPECT_EQ(game.moveCount(), 0);
    EXPECT_EQ(game.manPos(), man);
    EXPECT_EQ(game.cells(), start);
    EXPECT_TRUE(view.effects.empty());
    EXPECT_FALSE(view.undoEnabled);
    // With the file back the push goes through and undoes to the start.
    std::filesystem::remove(tmp);
    game.guarded([&] { game.tbRetryGameClick(); });
    game.guarded([&] { game.KeyMove("right"); });
    EXPECT_EQ(game.curLevel(), 2);
}

TEST_F(GameTest, ASlotOutsideTheSetIsEmpty) {
    TSaveData slot = freshSaveRecord();
    slot.level = 9;
    slot.moves = 5;
    RecordFile(file(".sav"), TSaveData::kSize).put(2, slot);
    game.GameLoad(2);
    EXPECT_EQ(dialogs.takeMessages(), Messages{Id::NoSuchSlot});
    EXPECT_EQ(game.curLevel(), 1);
}

TEST_F(GameTest, ASolutionAfterASlotKeepsItsBestButStoresNoAnswer) {
    game.Gamesave(1);
    dialogs.takeTexts();
    game.GameLoad(1);
    game.KeyMove("right");
    EXPECT_EQ(best(1), (TBestData{1, 1}));
    EXPECT_EQ(answer(1).moves, 0);
    EXPECT_EQ(dialogs.takeMessages(),
              (Messages{{Id::Congratulations, 1}, {Id::FirstSolve, 1, 1, 1}}));
}

TEST_F(GameTest, KeysDuringADemonstration) {
    // An imported answer shown, not stored.
    TAnswerData push = emptyAnswerRecord();
    push.level = 1;
    push.moves = 1;
    push.setMove(0, 3);
    dialogs.confirmAnswers = {false, true};
    game.offerImportedAnswer(push);
    ASSERT_TRUE(game.demoMode());
    dialogs.takeMessages();
    game.FormKeyDown(GameKey::Left, 0);
    EXPECT_EQ(game.moveCount(), 0); // arrows ignored
    game.FormKeyDown(GameKey::N, 0);
    EXPECT_EQ(game.curLevel(), 1); // the demonstration solved level 1 and restarted it
    EXPECT_EQ(dialogs.takeMessages(), Messages{Id::DemoWatched});
    EXPECT_FALSE(game.demoMode());
    EXPECT_EQ(view.demo, DemoButtons::Idle);
    EXPECT_EQ(best(1), (TBestData{1, 1}));
    EXPECT_EQ(answer(1).moves, 0);
    EXPECT_EQ(RecordFile(file(".sav"), TSaveData::kSize).get<TSaveData>(0).level, 1);
}

TEST_F(GameTest, DemonstrationSpeedKeysStayInBounds) {
    for (int i = 0; i < 24; ++i) // from 300 down to 60
        game.FormKeyDown(GameKey::Equals, 0);
    ASSERT_EQ(game.demoInterval(), 60);
    game.FormKeyDown(GameKey::Equals, 0);
    EXPECT_EQ(game.demoInterval(), 50);
    game.FormKeyDown(GameKey::Equals, 0);
    EXPECT_EQ(game.demoInterval(), 50);
    game.FormKeyDown(GameKey::Equals, kShift); // needs no modifier
    for (int i = 0; i < 194; ++i)              // up to 1990
        game.FormKeyDown(GameKey::Minus, 0);
    ASSERT_EQ(game.demoInterval(), 1990);
    game.FormKeyDown(GameKey::Minus, 0);
    EXPECT_EQ(game.demoInterval(), 2000);
    EXPECT_EQ(view.demoInterval, 2000);
}

TEST_F(GameTest, HiddenKeys) {
    game.FormKeyDown(GameKey::F12, kCtrl);
    EXPECT_TRUE(game.managerUnlocked());
    EXPECT_TRUE(view.managerEnabled);
    EXPECT_EQ(dialogs.beeps, 1);
    game.FormKeyDown(GameKey::F12, kCtrl | kShift);
    EXPECT_EQ(game.maxLevel(), 3);
    EXPECT_EQ(RecordFile(file(".sav"), TSaveData::kSize).get<TSaveData>(0).level, 3);
    EXPECT_TRUE(view.nextEnabled);
    game.FormKeyDown(GameKey::F12, kCtrl | kShift | kAlt);
    EXPECT_EQ(dialogs.takeMessages(), Messages{Id::AllLevelsUnlocked});
}

} // namespace
} // namespace sokoban::testing

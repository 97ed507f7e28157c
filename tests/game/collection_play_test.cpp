// A collection as a player meets it in the game: any level open at once, the
// numbers of the text in the caption, the status bar and 选关, and a way to
// the next level still to solve.
#include "test_support.h"

#include "session/level_text_play.h"
#include "storage/level_collection.h"
#include "storage/level_stats.h"

#include <gtest/gtest.h>

namespace sokoban::testing {
namespace {

std::string corridor(int n) {
    const std::string wall(std::size_t(n) + 5, '#');
    return wall + "\n#@" + std::string(std::size_t(n), ' ') + "$.#\n" + wall + "\n\n";
}

class CollectionPlay : public GameFixture {
  protected:
    void SetUp() override {
        // Level 2 of the text is too large to play: the set's level 2 is
        // the text's level 3.
        const std::string tooWide = "#" + std::string(70, ' ') + "#\n#@$." + std::string(64, ' ') +
                                    "#\n" + std::string(72, '#') + "\n\n";
        std::ofstream(dir.path / "halls.xsb")
            << "Collection: Halls\n\n" + corridor(1) + tooWide + corridor(2) + corridor(3);
        box = openLevelTextFile(dir.path / "halls.xsb", dir.path / "sets").set.boxFile;
        ASSERT_FALSE(box.empty());
        game.setClock([this] { return now; });
        game.openOtherSet(box);
        ASSERT_EQ(game.levelCount(), 3);
    }
    // The game outlives this fixture's members: its last reading of the
    // clock, when it is destroyed, must not reach `now`.
    void TearDown() override {
        game.setClock([t = now] { return t; });
    }
    // Level n is a corridor of n + 1 steps to the solve.
    void solveThisLevel() {
        const int steps = game.curLevel() + 1;
        for (int k = 0; k < steps; ++k)
            game.KeyMove("right");
    }

    std::string box;
    std::int64_t now = 1000;
};

TEST_F(CollectionPlay, EveryLevelIsOpenAndGoesByItsNumberInTheText) {
    EXPECT_EQ(game.maxLevel(), 3);
    EXPECT_EQ(game.curLevel(), 1);
    EXPECT_EQ(game.caption(), (Message{Id::CaptionOtherSet, "Halls", 1}));

    // 选关 takes the text's numbers: 3 is the set's level 2, 2 is not there.
    dialogs.inputAnswers = {"3", "2"};
    game.tbSelectRecordClick();
    EXPECT_EQ(game.curLevel(), 2);
    EXPECT_EQ(game.caption(), (Message{Id::CaptionOtherSet, "Halls", 3}));
    EXPECT_EQ(game.levelText(), (Message{Id::LevelPanel, 3, 4}));
    game.tbSelectRecordClick();
    EXPECT_EQ(game.curLevel(), 2);
    EXPECT_EQ(dialogs.takeMessages().back(), Message(Id::EnterValidLevel));
}

TEST_F(CollectionPlay, NextUnsolvedGoesRoundToTheLevelsLeft) {
    game.playLevel(2);
    solveThisLevel(); // the game moves on to level 3
    EXPECT_EQ(game.curLevel(), 3);
    // The text's number in the congratulation; not done while levels are left.
    const Messages said = dialogs.takeMessages();
    EXPECT_EQ(said.front(), (Message{Id::Congratulations, 3}));
    EXPECT_EQ(std::count(said.begin(), said.end(), Message(Id::AllLevelsSolved)), 0);
    game.nextUnsolvedClick(); // round to 1, 2 being solved
    EXPECT_EQ(game.curLevel(), 1);
    game.nextUnsolvedClick();
    EXPECT_EQ(game.curLevel(), 3);
    solveThisLevel();
    game.playLevel(1);
    dialogs.takeMessages();
    game.nextUnsolvedClick(); // level 1 is the only one left
    EXPECT_EQ(game.curLevel(), 1);
    EXPECT_EQ(dialogs.takeMessages(), Messages{Id::NoUnsolvedLevel});

    // Opened again, the set starts on its first level not solved.
    game.openOtherSet(box);
    EXPECT_EQ(game.curLevel(), 1);
    solveThisLevel();
    EXPECT_EQ(dialogs.takeMessages().back(), Message(Id::AllLevelsSolved));
    game.openOtherSet(box);
    EXPECT_EQ(game.curLevel(), 1); // all solved: the first
    EXPECT_EQ(game.unsolvedLevels(), (std::vector<bool>{false, false, false}));
}

// Attempts count a level's first move after it is entered; time runs while
// a level is in play, in stretches of at most an hour; 游戏信息 tells of
// both, of the best answer and of the whole collection.
TEST_F(CollectionPlay, StatisticsOfTheLevelsAndTheCollection) {
    now += 30; // looking at level 1 without a move: time, no attempt
    game.playLevel(2);
    game.KeyMove("right");
    game.KeyMove("left");
    now += 50;
    game.tbRetryGameClick(); // another attempt, once a move is made
    game.KeyMove("right");
    now += 5000; // away from the game: an hour at most
    game.KeyMove("right");
    game.KeyMove("right"); // solved; then on to level 3
    now += 7;
    game.playLevel(1);
    game.openOtherSet(box); // back on level 1
    EXPECT_EQ(readLevelStats(game.statsFile()),
              (std::vector<LevelStats>{{0, 30}, {2, 50 + 3600}, {0, 7}}));

    game.playLevel(2);
    const Messages lines = LevelTextCommands::titleLines(game);
    const Messages expected = {
        {Id::CollectionLine, "Halls", 3},
        {Id::LevelStatsLine, 2, 60, 50},
        {Id::AnswerFiguresLine, 3, 1, 1, 1},
        {Id::CollectionStatsLine, 1, 3, 2, 61},
    };
    EXPECT_EQ(lines, expected);
}

// A level past the 22 x 34 of a record plays like any other: keys, the
// mouse, undo, the solve recorded; only a save slot cannot hold it.
TEST_F(GameFixture, ALevelLargerThanARecordPlaysAndIsRecorded) {
    // 40 x 60 inside its walls; the box two pushes from its target.
    std::vector<std::string> rows(42, "#" + std::string(60, ' ') + "#");
    rows.front() = rows.back() = std::string(62, '#');
    rows[1].replace(1, 4, "@$ .");
    rows[39][59] = '$';
    rows[38][59] = '.';
    std::string text = corridor(1);
    for (const auto& r : rows)
        text += r + "\n";
    std::ofstream(dir.path / "big.xsb") << text + "\n" + corridor(2);
    const std::string box = openLevelTextFile(dir.path / "big.xsb", dir.path / "sets").set.boxFile;
    ASSERT_FALSE(box.empty());
    game.openOtherSet(box);
    ASSERT_EQ(game.levelCount(), 3);
    game.playLevel(2);
    EXPECT_EQ(game.cols(), 62);
    EXPECT_EQ(game.rows(), 42);
    EXPECT_EQ(game.mazeWidth(), 62);
    EXPECT_EQ(game.mazeHeight(), 42);
    EXPECT_EQ(game.manPos(), 62 + 1);

    // The mouse walks to the far corner and back along the board's rows.
    game.BlockClick(40 * 62 + 59);
    ASSERT_TRUE(game.walk().connected);
    while (game.walk().walking)
        game.Timer2Timer();
    EXPECT_EQ(game.manPos(), 40 * 62 + 59);
    game.BlockClick(62 + 1);
    while (game.walk().walking)
        game.Timer2Timer();
    EXPECT_EQ(game.manPos(), 62 + 1);

    game.KeyMove("right"); // a push
    EXPECT_EQ(game.cells()[62 + 3], kBox);
    game.tbUndoClick();
    EXPECT_EQ(game.cells()[62 + 2], kBox);
    EXPECT_EQ(game.manPos(), 62 + 1);

    dialogs.takeMessages();
    game.Gamesave(1);
    EXPECT_EQ(dialogs.takeMessages(), Messages{Id::LevelTooLargeForSlot});

    EXPECT_NE(LevelTextCommands(game, dialogs).copyLevel().find(rows[1] + "\r\n"),
              std::string::npos);

    // The first box home, then the second one up from the bottom corner.
    game.KeyMove("right");
    game.KeyMove("right");
    game.BlockClick(40 * 62 + 59);
    while (game.walk().walking)
        game.Timer2Timer();
    game.KeyMove("up"); // solved: recorded, and on to level 3
    EXPECT_EQ(game.curLevel(), 3);
    const auto best = game.files().bst.get<TBestData>(1);
    EXPECT_GT(best.moves, 0);
    EXPECT_EQ(best.pushes, 3);
    game.playLevel(2);
    EXPECT_EQ(game.bestPushes(), 3);
    EXPECT_EQ(game.cols(), 62);
}

// A collection's answers may be longer than a record: shown, beaten and
// counted past 4095 moves like any other.
TEST_F(GameFixture, AnswersLongerThanARecordPlayAndAreKept) {
    std::string walk;
    for (int k = 0; k < 2100; ++k)
        walk += "rl";
    std::ofstream(dir.path / "long.xsb")
        << corridor(1) + "######\n#@ $.#\n######\nSolution: " + walk + "rR\n\n";
    const std::string box = openLevelTextFile(dir.path / "long.xsb", dir.path / "sets").set.boxFile;
    ASSERT_FALSE(box.empty());
    game.openOtherSet(box);
    game.playLevel(2);
    EXPECT_TRUE(view.answerEnabled);
    EXPECT_EQ(game.bestMoves(), 4202);

    // The stored answer shown to its end.
    game.tbLoadAnswerClick();
    ASSERT_TRUE(game.demoMode());
    for (int k = 0; k < 5000 && game.demoMode(); ++k)
        game.Timer4Timer();
    EXPECT_FALSE(game.demoMode());
    const Messages said = dialogs.takeMessages();
    EXPECT_NE(std::count(said.begin(), said.end(), Message(Id::DemoWatched)), 0);

    // Beaten by a shorter walk that is still longer than a record.
    game.tbRetryGameClick();
    for (int k = 0; k < 2050; ++k) {
        game.KeyMove("right");
        game.KeyMove("left");
    }
    EXPECT_EQ(game.moveCount(), 4100);
    game.KeyMove("right");
    game.KeyMove("right");
    EXPECT_EQ(game.bestMoves(), 4102);
    EXPECT_EQ(game.longAnswer(2).size(), 4102u);
    EXPECT_EQ(game.files().sol.get<TAnswerData>(1).moves, 0);

    // A short answer pasted in its place ends the long one.
    dialogs.confirmAnswers = {true, false}; // kept, not shown
    LevelTextCommands(game, dialogs).pasteAnswer("rR");
    EXPECT_TRUE(game.longAnswer(2).empty());
    EXPECT_EQ(game.files().sol.get<TAnswerData>(1).moves, 2);
}

} // namespace
} // namespace sokoban::testing

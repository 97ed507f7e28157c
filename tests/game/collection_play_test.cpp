// A collection as a player meets it in the game: any level open at once, the
// numbers of the text in the caption, the status bar and 选关, and a way to
// the next level still to solve.
#include "test_support.h"

#include "storage/level_collection.h"

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
        const std::string tooWide = "#" + std::string(70, ' ') + "#\n#@$." +
                                    std::string(64, ' ') + "#\n" + std::string(72, '#') + "\n\n";
        std::ofstream(dir.path / "halls.xsb")
            << "Collection: Halls\n\n" + corridor(1) + tooWide + corridor(2) + corridor(3);
        box = openLevelTextFile(dir.path / "halls.xsb", dir.path / "sets").set.boxFile;
        ASSERT_FALSE(box.empty());
        game.openOtherSet(box);
        ASSERT_EQ(game.levelCount(), 3);
    }
    void solveThisLevel() {
        for (int k = 0; k <= game.curLevel(); ++k)
            game.KeyMove("right");
    }

    std::string box;
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

} // namespace
} // namespace sokoban::testing

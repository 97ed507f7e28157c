#include "test_support.h"

#include <gtest/gtest.h>

#include <climits>

namespace sokoban::testing {
namespace {

class AnswerTest : public GameFixture {
  protected:
    void SetUp() override {
        // Level 1 is solved by right, down, left, up... in a loop room;
        // level 2 by one push.
        playSet({makeLevel({"######", "#@   #", "#  $ #", "#  . #", "######"}),
                 makeLevel({"#####", "#@$.#", "#####"})});
    }
    RecordFile sol() const { return RecordFile(dir.path / "game.sol", TAnswerData::kSize); }
    // An .ans file as the export writes it; `moves` may claim more or fewer
    // moves than the codes given.
    static constexpr int kAsGiven = INT_MIN;
    std::string answerFile(int level, const std::vector<int>& codes, int moves = kAsGiven) {
        TAnswerData a;
        a.level = static_cast<std::int16_t>(level);
        a.moves =
            static_cast<std::int16_t>(moves == kAsGiven ? static_cast<int>(codes.size()) : moves);
        for (std::size_t i = 0; i < codes.size(); ++i)
            a.setMove(static_cast<int>(i), codes[i]);
        const auto path = dir.path / ("in" + std::to_string(++files_) + ".ans");
        const Bytes b = a.encode();
        const auto size =
            5 + std::min<std::size_t>(std::max(a.moves, std::int16_t(0)) / 4 + 2, a.packed.size());
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(size));
        return path.string();
    }
    int files_ = 0;
    void storeAnswer(int level, const std::vector<int>& moves) {
        TAnswerData a;
        a.level = static_cast<std::int16_t>(level);
        a.moves = static_cast<std::int16_t>(moves.size());
        for (std::size_t i = 0; i < moves.size(); ++i)
            a.setMove(static_cast<int>(i), moves[i]);
        sol().put(level - 1, a);
    }
};

TEST_F(AnswerTest, ExportWritesThePackedBytes) {
    storeAnswer(1, {3, 1, 2, 0}); // right, down, left, up
    const auto target = (dir.path / "out.ans").string();
    dialogs.inputAnswers.push_back("1");
    dialogs.fileAnswers.push_back(target);
    game.mAnswerOutClick();
    EXPECT_EQ(dialogs.proposedNames.back(), dirPrefix(dir.path) + "game0001.ans");
    EXPECT_EQ(dialogs.filterMessages.back(), Message(Id::AnswerFilter));
    const Bytes b = readFile(target);
    ASSERT_EQ(b.size(), 8u);
    EXPECT_EQ((Bytes{b.begin(), b.begin() + 6}), (Bytes{0x01, 0x00, 0x04, 0x00, 0x00, 0x72}));
}

TEST_F(AnswerTest, ExportRefusals) {
    struct Case {
        std::string reply;
        Id said;
    } cases[] = {
        {"x", Id::EnterValidNumber},
        {"0", Id::EnterValidLevel},
        {"3", Id::EnterValidLevel},
        {"2", Id::NoAnswerForLevel},
    };
    for (const auto& c : cases) {
        dialogs.inputAnswers.push_back(c.reply);
        game.mAnswerOutClick();
        EXPECT_EQ(dialogs.takeMessages(), Messages{c.said}) << c.reply;
        EXPECT_EQ(dialogs.inputMessages.back(),
                  std::pair(Message(Id::ExportAnswerCaption), Message(Id::EnterLevelPrompt)));
    }
    EXPECT_TRUE(dialogs.fileFilters.empty());
    EXPECT_EQ(GameModel::answerFileName("/g/easy", 12, "12"), "/g/easy0012.ans");
    EXPECT_EQ(GameModel::answerFileName("/g/easy", 123, "123"), "/g/easy0123.ans");
    EXPECT_EQ(GameModel::answerFileName("/g/easy", 12345, "12345"), "/g/easy12345.ans");
}

TEST_F(AnswerTest, BatchExportNamesEveryAnswer) {
    storeAnswer(2, {3});
    game.mAnswerOutAllClick();
    const std::string path = dirPrefix(dir.path) + "game0002.ans";
    EXPECT_EQ(dialogs.takeMessages(),
              (Messages{{Id::AnswerExported, 2, path}, {Id::AllAnswersSaved}}));
    EXPECT_EQ(readFile(path).size(), 5u + 2u);
    // A level played from an XSB file has no answers to export.
    std::ofstream(dir.path / "one.xsb") << "#####\n#@$.#\n#####\n";
    ASSERT_TRUE(game.PlayXSB((dir.path / "one.xsb").string()));
    game.mAnswerOutAllClick();
    EXPECT_EQ(dialogs.takeMessages(), Messages{Id::XsbCannotExportAnswer});
}

TEST_F(AnswerTest, DemonstrationStatesAndCaptions) {
    dialogs.takeTexts();
    game.tbLoadAnswerClick();
    EXPECT_EQ(dialogs.takeMessages(), Messages{Id::NoAnswerTryYourself});

    storeAnswer(1, {3, 3, 1}); // right, right, push down
    game.KeyMove("down");      // the demonstration restarts the level first
    game.tbLoadAnswerClick();
    EXPECT_EQ(game.moveCount(), 0);
    EXPECT_TRUE(game.demoMode());
    EXPECT_EQ(view.demo, DemoButtons::Running);
    EXPECT_TRUE(view.demoTimer);
    EXPECT_EQ(view.demoInterval, 50);
    game.Timer4Timer();
    EXPECT_EQ(game.moveCount(), 1);
    game.tbLoadAnswerClick(); // pause
    EXPECT_EQ(view.demo, DemoButtons::Paused);
    EXPECT_FALSE(view.demoTimer);
    EXPECT_TRUE(game.demoPaused());
    game.FormKeyDown(GameKey::N, 0); // step
    EXPECT_EQ(game.moveCount(), 2);
    game.tbLoadAnswerClick(); // resume
    EXPECT_EQ(view.demo, DemoButtons::Running);
    EXPECT_TRUE(view.demoTimer);
    game.Timer4Timer(); // the last push solves the level
    EXPECT_EQ(dialogs.takeMessages(), Messages{Id::DemoWatched});
    EXPECT_EQ(view.demo, DemoButtons::Idle);
    EXPECT_FALSE(game.demoMode());
    EXPECT_EQ(game.moveCount(), 0); // a fresh start
    EXPECT_EQ(game.curLevel(), 1);
    EXPECT_EQ(RecordFile(dir.path / "game.sav", TSaveData::kSize).get<TSaveData>(0).level, 1);
}

TEST_F(AnswerTest, ASolveAfterAStoppedDemonstrationStoresAnAnswerThatReplays) {
    // The stored answer takes a detour: right, down, up, right, push down.
    const std::vector<int> detour = {3, 1, 0, 3, 1};
    const std::function<void()> stops[] = {
        [&] {
            game.Timer4Timer();
            game.FormKeyDown(GameKey::R, 0);
        },
        [&] {
            game.tbLoadAnswerClick(); // pause
            game.FormKeyDown(GameKey::N, 0);
            game.tbRetryGameClick(); // stop
        },
    };
    for (const auto& stop : stops) {
        storeAnswer(1, detour);
        RecordFile(dir.path / "game.bst", TBestData::kSize).put(0, TBestData{5, 1});
        game.tbLoadAnswerClick();
        ASSERT_TRUE(game.demoMode());
        stop(); // one move of the demonstration, then stopped
        ASSERT_FALSE(game.demoMode());
        ASSERT_EQ(game.moveCount(), 1);
        dialogs.takeTexts();
        game.KeyMove("right");
        game.KeyMove("down"); // the push that solves it, in 3 moves
        EXPECT_EQ(dialogs.takeMessages(), (Messages{{Id::Congratulations, 1},
                                                    {Id::MovesRecordBroken, 3, 1},
                                                    {Id::BetterAnswerStored}}));
        EXPECT_EQ(sol().get<TAnswerData>(0).moves, 3);
        EXPECT_EQ(unsolvedAnswers(game), std::vector<int>{});
        game.playLevel(1);
    }
}

TEST_F(AnswerTest, StepDemonstrationWaitsForN) {
    storeAnswer(1, {3, 3, 1});
    game.settings().stepDemo = 1;
    game.tbLoadAnswerClick();
    EXPECT_EQ(view.demo, DemoButtons::Running);
    EXPECT_FALSE(view.demoTimer);
    game.FormKeyDown(GameKey::N, 0);
    EXPECT_EQ(game.moveCount(), 1);
    // The retry button stops it where it stands.
    game.tbRetryGameClick();
    EXPECT_EQ(view.demo, DemoButtons::Idle);
    EXPECT_EQ(game.moveCount(), 1);
}

TEST_F(AnswerTest, ImportForAnotherLevelIsSavedButNotShown) {
    TAnswerData a;
    a.level = 2;
    a.moves = 1;
    a.setMove(0, 3);
    const auto path = dir.path / "in.ans";
    {
        std::ofstream out(path, std::ios::binary);
        const Bytes b = a.encode();
        out.write(reinterpret_cast<const char*>(b.data()), 7);
    }
    dialogs.fileAnswers.push_back(path.string());
    dialogs.confirmAnswers.push_back(true);
    game.mAnswerInClick();
    EXPECT_EQ(dialogs.said, (std::vector<ScriptedDialogs::Said>{
                                {MessageKind::Confirmation, {Id::SaveImportedAnswer, 2}},
                                {MessageKind::Warning, Id::ImportedAnswerOtherLevel}}));
    EXPECT_EQ(sol().get<TAnswerData>(1).moves, 1);
    EXPECT_EQ(sol().get<TAnswerData>(1).moveAt(0), 3);
}

TEST_F(AnswerTest, ImportOfABadLevelNumberWritesNothing) {
    for (const Bytes& content :
         {Bytes{9, 0, 1, 0, 0, 0x30}, Bytes{0, 0, 1, 0, 0}, Bytes{1, 0, 1}}) {
        const auto path = dir.path / "bad.ans";
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(content.data()),
                   static_cast<std::streamsize>(content.size()));
        const auto before = readFile(dir.path / "game.sol");
        dialogs.fileAnswers.push_back(path.string());
        game.mAnswerInClick();
        EXPECT_EQ(dialogs.takeMessages(), Messages{Id::AnswerFileBadLevel});
        EXPECT_EQ(readFile(dir.path / "game.sol"), before);
    }
}

// A crafted answer must neither replace the player's answer nor start a
// demonstration that never gets anywhere.
TEST_F(AnswerTest, ImportOfAnAnswerThatDoesNotSolveItsLevelChangesNothing) {
    storeAnswer(1, {3, 3, 1});
    storeAnswer(2, {3});
    const struct Case {
        const char* what;
        int level;
        std::vector<int> codes;
        int moves;
        Message said;
    } cases[] = {
        {"into the wall", 1, {3, 0}, kAsGiven, {Id::AnswerBlockedAtLevel, 2, 1}},
        {"stays up against the wall", 1, {0, 0, 0, 0}, kAsGiven, {Id::AnswerBlockedAtLevel, 1, 1}},
        {"box left off its target", 1, {3, 3}, kAsGiven, {Id::AnswerNotSolvingLevel, 1}},
        {"walks past the box into the wall",
         1,
         {3, 3, 3, 3},
         kAsGiven,
         {Id::AnswerBlockedAtLevel, 4, 1}},
        // Zero bytes past the real moves read as "up".
        {"more moves than the file holds", 1, {3, 3}, 400, {Id::AnswerBlockedAtLevel, 3, 1}},
        {"no moves", 1, {}, 0, Id::AnswerFileEmpty},
        {"negative moves", 1, {3}, -5, Id::AnswerFileEmpty},
        {"more moves than an answer holds", 1, {3, 3, 1}, 5000, Id::AnswerTooLong},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Bytes before = readFile(dir.path / "game.sol");
        dialogs.fileAnswers.push_back(answerFile(c.level, c.codes, c.moves));
        dialogs.confirmAnswers = {true, true};
        game.mAnswerInClick();
        EXPECT_EQ(dialogs.takeMessages(), Messages{c.said});
        EXPECT_EQ(readFile(dir.path / "game.sol"), before);
        EXPECT_FALSE(game.demoMode());
        EXPECT_FALSE(view.demoTimer);
    }
}

// An imported answer replaces the stored one only with fewer moves or fewer
// pushes, as a finished level's answer does; a worse one is not even offered.
TEST_F(AnswerTest, ImportReplacesOnlyAWorseStoredAnswer) {
    // Level 1's stored answer: right, down, up, right, push down (5 moves, 1 push).
    const std::vector<int> detour = {3, 1, 0, 3, 1};
    const struct Case {
        const char* what;
        std::vector<int> stored;
        std::vector<int> imported;
        bool offered;
        int storedMoves; // afterwards
    } cases[] = {
        {"no stored answer", {}, {3, 1, 0, 3, 1}, true, 5},
        {"fewer moves", detour, {3, 3, 1}, true, 3},
        {"as many moves", detour, {3, 1, 0, 3, 1}, false, 5},
        {"more moves", detour, {3, 2, 3, 1, 0, 3, 1}, false, 5},
        {"stored answer that does not solve", {3}, {3, 1, 0, 3, 1}, true, 5},
        // Moves after the solve are never made: the answer stored holds three.
        {"moves after the solve", {}, {3, 3, 1, 2, 2}, true, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        sol().put(0, emptyAnswerRecord());
        if (!c.stored.empty()) storeAnswer(1, c.stored);
        dialogs.fileAnswers.push_back(answerFile(1, c.imported));
        dialogs.confirmAnswers = {true, false}; // store it, no demonstration
        game.mAnswerInClick();
        const Messages said = dialogs.takeMessages();
        ASSERT_FALSE(said.empty());
        EXPECT_EQ(said.front(), c.offered ? Message(Id::SaveImportedAnswer, 1)
                                          : Message(Id::ImportedAnswerNotBetter));
        EXPECT_EQ(said.back(), Message(Id::ShowAnswerDemo));
        EXPECT_EQ(sol().get<TAnswerData>(0).moves, c.storedMoves);
        EXPECT_EQ(unsolvedAnswers(game), std::vector<int>{});
    }
}

// An import while a demonstration runs starts the imported answer from the
// level's start, so it plays through to the solve.
TEST_F(AnswerTest, ImportDuringADemonstrationReplaysFromTheStart) {
    storeAnswer(1, {3, 1, 0, 3, 1});
    game.tbLoadAnswerClick();
    game.Timer4Timer();
    game.Timer4Timer();
    ASSERT_EQ(game.moveCount(), 2);
    dialogs.fileAnswers.push_back(answerFile(1, {3, 3, 1}));
    dialogs.confirmAnswers = {false, true};
    game.mAnswerInClick();
    EXPECT_EQ(game.moveCount(), 0);
    EXPECT_TRUE(game.demoMode());
    for (int i = 0; i < 3 && game.demoMode(); ++i)
        game.Timer4Timer();
    EXPECT_FALSE(game.demoMode()); // solved in three moves and over
    EXPECT_EQ(dialogs.takeMessages().back(), Message(Id::DemoWatched));
}

TEST_F(AnswerTest, ImportAndDemonstrateTheCurrentLevel) {
    TAnswerData a;
    a.level = 1;
    a.moves = 3;
    a.setMove(0, 3);
    a.setMove(1, 3);
    a.setMove(2, 1);
    const auto path = dir.path / "in.ans";
    {
        std::ofstream out(path, std::ios::binary);
        const Bytes b = a.encode();
        out.write(reinterpret_cast<const char*>(b.data()), 7);
    }
    dialogs.fileAnswers.push_back(path.string());
    dialogs.confirmAnswers = {false, true};
    game.mAnswerInClick();
    EXPECT_EQ(sol().get<TAnswerData>(0).moves, 0); // not saved
    EXPECT_TRUE(game.demoMode());
    EXPECT_TRUE(view.demoTimer);
    EXPECT_EQ(view.demo, DemoButtons::Idle); // an import leaves the captions alone
    for (int i = 0; i < 3; ++i)
        game.Timer4Timer();
    EXPECT_FALSE(game.demoMode());
}

} // namespace
} // namespace sokoban::testing

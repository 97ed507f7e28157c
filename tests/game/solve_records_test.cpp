// Solving a level: the records only ever improve, they are on disk before
// the first message, and nothing moves while the messages are open.
#include "test_support.h"

#include "storage/safe_write.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cerrno>
#include <set>

namespace sokoban::testing {
namespace {

// One push right solves it; the room leaves space to push the box off the
// target and back on.
const std::vector<std::string> kRoom = {
    "#######", "#     #", "#@$.  #", "#     #", "#######",
};

class SolveTest : public GameFixture {
  protected:
    void SetUp() override { playSet({makeLevel(kRoom), makeLevel(kRoom)}); }
    void TearDown() override { EXPECT_EQ(unsolvedAnswers(game), std::vector<int>{}); }
    void keys(const std::string& moves) {
        static const std::pair<char, const char*> words[] = {
            {'u', "up"}, {'d', "down"}, {'l', "left"}, {'r', "right"}};
        for (char c : moves)
            for (const auto& [k, w] : words)
                if (std::tolower(static_cast<unsigned char>(c)) == k) game.KeyMove(w);
    }
    TBestData best(int level) const {
        return RecordFile(dir.path / "game.bst", TBestData::kSize).get<TBestData>(level - 1);
    }
    TAnswerData answer(int level) const {
        return RecordFile(dir.path / "game.sol", TAnswerData::kSize).get<TAnswerData>(level - 1);
    }
    int progress() const {
        return RecordFile(dir.path / "game.sav", TSaveData::kSize).get<TSaveData>(0).level;
    }
};

TEST_F(SolveTest, ASecondSolveOnTheLastLevelKeepsTheBetterRecord) {
    game.UnlockAllLevels();
    dialogs.takeTexts();
    game.playLevel(2);
    keys("R");
    EXPECT_EQ(dialogs.takeMessages(), (Messages{{Id::Congratulations, 2},
                                                {Id::FirstSolve, 2, 1, 1},
                                                {Id::SolutionStored},
                                                {Id::AllLevelsSolved}}));
    // The solved board stays: push the box off the target and back on.
    keys("RurrdL");
    EXPECT_TRUE(game.solved());
    EXPECT_EQ(dialogs.takeMessages(), (Messages{{Id::Congratulations, 2}, {Id::AllLevelsSolved}}));
    EXPECT_EQ(best(2), (TBestData{1, 1}));
    EXPECT_EQ(answer(2).moves, 1);
    EXPECT_EQ(game.bestMoves(), 1);
    EXPECT_EQ(game.bestPushes(), 1);
    EXPECT_EQ(view.status[1], Message(Id::MovesPanel, 7, 1));
    EXPECT_EQ(view.status[2], Message(Id::PushesPanel, 3, 1));
}

TEST_F(SolveTest, RecordsAreOnDiskBeforeTheFirstMessage) {
    struct Seen {
        TBestData best;
        int answerMoves = 0;
        int progress = 0;
    };
    std::vector<Seen> seen;
    dialogs.onMessage = [&]() { seen.push_back({best(1), answer(1).moves, progress()}); };
    keys("R");
    dialogs.onMessage = nullptr;
    EXPECT_EQ(
        dialogs.takeMessages(),
        (Messages{{Id::Congratulations, 1}, {Id::FirstSolve, 1, 1, 1}, {Id::SolutionStored}}));
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].best, (TBestData{1, 1}));
    EXPECT_EQ(seen[0].answerMoves, 1);
    EXPECT_EQ(seen[0].progress, 2);
    EXPECT_EQ(game.maxLevel(), 2);
    EXPECT_EQ(game.curLevel(), 2);
}

TEST_F(SolveTest, NothingMovesBehindTheMessages) {
    // A walk is under way when a push solves the level; its timer ticks
    // while the congratulation is open.
    game.BlockClick(1 * kCols + 5);
    ASSERT_TRUE(view.walking);
    bool walkingAtFirst = true, demoAtFirst = true;
    bool firstMessage = true;
    dialogs.onMessage = [&]() {
        if (!firstMessage) return;
        firstMessage = false;
        walkingAtFirst = view.walking;
        demoAtFirst = view.demoTimer;
        for (int i = 0; i < 5; ++i)
            game.Timer2Timer();
    };
    keys("R");
    dialogs.onMessage = nullptr;
    EXPECT_FALSE(walkingAtFirst);
    EXPECT_FALSE(demoAtFirst);
    const auto said = dialogs.takeMessages();
    ASSERT_GE(said.size(), 2u);
    EXPECT_EQ(said[1], Message(Id::FirstSolve, 1, 1, 1));
    EXPECT_EQ(best(1), (TBestData{1, 1}));
    EXPECT_EQ(answer(1).moves, 1);
}

TEST_F(SolveTest, ADemonstrationStopsBeforeItsMessage) {
    TAnswerData a;
    a.level = 1;
    a.moves = 1;
    a.setMove(0, 3);
    RecordFile(dir.path / "game.sol", TAnswerData::kSize).put(0, a);
    bool demoAtFirst = true;
    dialogs.onMessage = [&]() { demoAtFirst = view.demoTimer; };
    game.tbLoadAnswerClick();
    ASSERT_TRUE(view.demoTimer);
    game.Timer4Timer();
    dialogs.onMessage = nullptr;
    EXPECT_FALSE(demoAtFirst);
    EXPECT_EQ(dialogs.takeMessages(), Messages{Id::DemoWatched});
    EXPECT_EQ(best(1), (TBestData{1, 1}));
}

// A copy of the game on a set of `levels` rooms in `dir`.
struct Copy {
    RecordingView view;
    HookedDialogs dialogs;
    GameModel game{view, dialogs};
    explicit Copy(const std::filesystem::path& dir) {
        view.model = &game;
        game.setAppDir(dir);
        game.settings() = defaultSettings(1024, 768);
        game.SelectGames(1);
    }
    void keys(const std::string& moves) {
        for (char c : moves)
            game.KeyMove(c == 'U' ? "up" : c == 'D' ? "down" : c == 'L' ? "left" : "right");
    }
};

struct SetFiles {
    std::filesystem::path dir;
    TBestData best(int level) const {
        return RecordFile(dir / "game.bst", TBestData::kSize).get<TBestData>(level - 1);
    }
    int answerMoves(int level) const {
        return RecordFile(dir / "game.sol", TAnswerData::kSize).get<TAnswerData>(level - 1).moves;
    }
    int progress() const {
        return RecordFile(dir / "game.sav", TSaveData::kSize).get<TSaveData>(0).level;
    }
};

TEST(SolveRecords, TwoCopiesOnOneSetNeverTakeBackWhatTheOtherAchieved) {
    TempDir dir;
    writeLevelSet(dir.path / "game.box", std::vector<TMazeData>(7, makeLevel(kRoom)));
    const SetFiles files{dir.path};
    Copy a(dir.path), b(dir.path);
    ASSERT_EQ(b.game.curLevel(), 1);
    // Copy a passes levels 1 to 5 at best; copy b, still on level 1 since
    // before, passes it with more moves.
    a.keys("RRRRR");
    ASSERT_EQ(files.progress(), 6);
    b.keys("UDR");
    EXPECT_EQ(files.progress(), 6);
    EXPECT_EQ(files.best(1), (TBestData{1, 1}));
    EXPECT_EQ(files.answerMoves(1), 1);
    EXPECT_EQ(b.game.maxLevel(), 6);
    EXPECT_EQ(b.game.curLevel(), 2);
    // Copy b passes level 2 with fewer pushes but more moves: each count
    // keeps its best, and the answer follows the better count.
    b.keys("UDR");
    EXPECT_EQ(files.best(2), (TBestData{1, 1}));
    EXPECT_EQ(files.answerMoves(2), 1);
    EXPECT_EQ(Copy(dir.path).game.maxLevel(), 6);
}

struct Killed {};

TEST(SolveRecords, AKillOrAFullDiskAtAnyWriteOfASolveLeavesAConsistentSet) {
    // The solve stops at every rename in turn, as a kill just after it or a
    // full disk just before it would; a new start then finds records that
    // agree: a best count comes with its answer and the next level open.
    const struct {
        const char* what;
        bool solvedBefore; // with 3 moves: the solve replaces records
    } cases[] = {{"first solve", false}, {"better solve", true}};
    for (const auto& c : cases) {
        for (const RenameStep at : {RenameStep::After, RenameStep::Before}) {
            std::set<std::pair<int, int>> outcomes; // best moves, progress
            for (int stop = 1;; ++stop) {
                SCOPED_TRACE(::testing::Message()
                             << c.what << (at == RenameStep::After ? " killed" : " disk full")
                             << " at " << stop);
                TempDir dir;
                writeLevelSet(dir.path / "game.box", std::vector<TMazeData>(3, makeLevel(kRoom)));
                const SetFiles files{dir.path};
                bool stopped = false;
                {
                    Copy copy(dir.path);
                    if (c.solvedBefore) {
                        copy.keys("UDR");
                        copy.game.playLevel(1);
                    }
                    int renames = 0;
                    setRenameObserver([&](const std::filesystem::path& file, RenameStep step) {
                        if (step != at || ++renames != stop) return;
                        stopped = true;
                        if (step == RenameStep::After) throw Killed{};
                        throw FileError(file, ENOSPC);
                    });
                    try {
                        copy.game.guarded([&] { copy.keys("R"); });
                    } catch (const Killed&) {
                    }
                    setRenameObserver(nullptr);
                }
                Copy next(dir.path);
                const TBestData best = files.best(1);
                if (best.moves != 0) {
                    EXPECT_NE(files.answerMoves(1), 0);
                    EXPECT_GE(next.game.maxLevel(), 2);
                    EXPECT_EQ(files.progress(), next.game.maxLevel());
                } else {
                    EXPECT_EQ(next.game.maxLevel(), 1);
                }
                if (best.moves == 1) {
                    EXPECT_EQ(files.answerMoves(1), 1); // the answer of the best solve
                }
                outcomes.insert({best.moves, next.game.maxLevel()});
                // The set plays on and ends where an unbroken solve ends.
                next.game.playLevel(1);
                next.keys("R");
                EXPECT_EQ(files.best(1), (TBestData{1, 1}));
                EXPECT_EQ(files.answerMoves(1), 1);
                EXPECT_EQ(files.progress(), 2);
                if (!stopped) break;
            }
            // The last stop came after every write.
            EXPECT_TRUE(outcomes.contains({1, 2}));
            EXPECT_GE(outcomes.size(), 2u);
        }
    }
}

} // namespace
} // namespace sokoban::testing

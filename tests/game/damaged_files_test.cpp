// Damaged or foreign companion files never crash the game: the repair rules
// apply, and what they do not cover ends in a message.
#include "test_support.h"

#include <gtest/gtest.h>

#include <random>

namespace sokoban::testing {
namespace {

class DamagedFilesTest : public GameFixture {
  protected:
    void SetUp() override {
        writeLevelSet(dir.path / "game.box", {makeLevel({"#####", "#@$.#", "#####"}),
                                              makeLevel({"######", "#@ $.#", "######"})});
    }
    void writeBytes(const std::string& name, const Bytes& b) {
        std::ofstream(dir.path / name, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    }
    // Everything a player might do next.
    void playAround() {
        game.guarded([&] {
            for (const char* d : {"right", "left", "up", "down", "right"})
                game.KeyMove(d);
            game.tbUndoClick();
            game.tbNextRecordClick();
            game.tbPreviousRecordClick();
            for (int slot = 1; slot <= 5; ++slot)
                game.GameLoad(slot);
            game.Gamesave(2);
            game.GameLoad(2);
            game.tbLoadAnswerClick();
            for (int i = 0; i < 10; ++i)
                game.Timer4Timer();
            game.tbRetryGameClick();
        });
    }
};

TEST_F(DamagedFilesTest, StrangeProgressAndSlots) {
    struct Case {
        std::int16_t level, moves, pushes, man;
        std::uint8_t fill;
    } cases[] = {
        {-5, 1, 0, 0, 0},      {0, 0, 0, 0, 0},      {32767, -1, -1, -1, 255},
        {2, 32767, 5, 747, 9}, {1, -300, 9, 748, 4}, {2, 4, 4, -32768, 2},
    };
    for (const auto& c : cases) {
        TSaveData rec;
        rec.level = c.level;
        rec.moves = c.moves;
        rec.pushes = c.pushes;
        rec.man = c.man;
        rec.cells.fill(c.fill);
        Bytes sav;
        for (int k = 0; k < 6; ++k) {
            const Bytes b = rec.encode();
            sav.insert(sav.end(), b.begin(), b.end());
        }
        writeBytes("game.sav", sav);
        // The same set opened again, as from the open dialog.
        game.openOtherSet(dirPrefix(dir.path) + "game.box");
        playAround();
        SUCCEED();
    }
}

TEST_F(DamagedFilesTest, RandomBytesInEveryCompanionFile) {
    std::mt19937 rng(7);
    for (int round = 0; round < 30; ++round) {
        for (const char* name : {"game.sav", "game.bst", "game.sol"}) {
            Bytes b(rng() % 6000);
            for (auto& x : b)
                x = static_cast<std::uint8_t>(rng());
            writeBytes(name, b);
        }
        // The same set opened again, as from the open dialog.
        game.openOtherSet(dirPrefix(dir.path) + "game.box");
        playAround();
    }
    SUCCEED();
}

TEST_F(DamagedFilesTest, AProgressOutsideTheSetStillOpens) {
    // The set has two levels; a progress beyond it or below 1 is brought
    // into 1..2, and the level on it opens.
    const struct {
        std::int16_t progress;
        int level;
    } cases[] = {{9, 2}, {3, 2}, {2, 2}, {1, 1}, {0, 1}, {-5, 1}, {-32768, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.progress);
        // No level solved by an earlier case: that would unlock the next.
        std::filesystem::remove(dir.path / "game.bst");
        TSaveData progress = freshSaveRecord();
        progress.level = c.progress;
        RecordFile(dir.path / "game.sav", TSaveData::kSize).put(0, progress);
        // The same set opened again, as from the open dialog.
        game.openOtherSet(dirPrefix(dir.path) + "game.box");
        EXPECT_EQ(dialogs.takeTexts(), std::vector<std::string>{});
        EXPECT_EQ(game.maxLevel(), c.level);
        EXPECT_EQ(game.curLevel(), c.level);
        EXPECT_EQ(view.status[0], Message(Id::LevelPanel, c.level, 2));
        playAround();
        dialogs.takeTexts();
    }
}

TEST_F(DamagedFilesTest, ImpossibleBestCountsAreNeverShown) {
    // A best count no solve can leave reads as none, whether the file held
    // it when the set was opened (and is repaired then) or got it while the
    // set was open.
    const struct {
        TBestData read;
        int moves; // as shown; 0 for none
        int pushes;
    } cases[] = {
        {{-5, 3}, 0, 0}, {{3, -1}, 0, 0},          {{2, 5}, 0, 0}, {{0, 4}, 0, 0},
        {{7, 0}, 0, 0},  {{-32768, -32768}, 0, 0}, {{9, 2}, 9, 2}, {{3, 3}, 3, 3},
    };
    for (const bool whileOpen : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(::testing::Message()
                         << whileOpen << " " << c.read.moves << "/" << c.read.pushes);
            const bool none = c.moves == 0;
            const Bytes bst = [&] {
                Bytes b = c.read.encode();
                const Bytes second = TBestData{}.encode();
                b.insert(b.end(), second.begin(), second.end());
                return b;
            }();
            std::filesystem::remove(dir.path / "game.sav");
            if (!whileOpen) writeBytes("game.bst", bst);
            // The same set opened again, as from the open dialog.
            game.openOtherSet(dirPrefix(dir.path) + "game.box");
            if (whileOpen) writeBytes("game.bst", bst);
            // A solved level 1 opens the set on level 2.
            game.playLevel(1);
            EXPECT_EQ(view.status[1], none ? Message(Id::MovesPanelNoBest, 0)
                                           : Message(Id::MovesPanel, 0, c.moves));
            EXPECT_EQ(view.status[2], none ? Message(Id::PushesPanelNoBest, 0)
                                           : Message(Id::PushesPanel, 0, c.pushes));
            const TBestData onDisk = RecordFile(dir.path / "game.bst", 4).get<TBestData>(0);
            if (!whileOpen) {
                EXPECT_EQ(onDisk, none ? TBestData{} : c.read);
            }
            // A solve now is measured against a real count, or is the first.
            game.KeyMove("right");
            EXPECT_EQ(RecordFile(dir.path / "game.bst", 4).get<TBestData>(0), (TBestData{1, 1}));
            dialogs.takeTexts();
        }
    }
}

TEST_F(DamagedFilesTest, SettingsOfEveryValueLoad) {
    std::mt19937 rng(11);
    for (int round = 0; round < 50; ++round) {
        Bytes b(rng() % 60);
        for (auto& x : b)
            x = static_cast<std::uint8_t>(rng());
        writeBytes("game.var", b);
        const TGameVar v = loadSettings(dir.path / "game.var", 1024, 768);
        EXPECT_NE(v.levelSet, 0);
        EXPECT_NE(v.faceStyle, 0);
        EXPECT_NE(v.windowWidth, 0);
    }
}

} // namespace
} // namespace sokoban::testing

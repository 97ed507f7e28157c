#include "../game/test_support.h"

#include <gtest/gtest.h>

namespace sokoban::testing {
namespace {

const std::vector<std::string> kLevels[] = {
    {"#####", "#@$.#", "#####"},
    {"#######", "#@ $ .#", "#######"},
};

std::string text(const std::vector<std::string>& rows) {
    std::string s = "Level\r\n";
    for (const auto& r : rows)
        s += r + "\r\n";
    return s;
}

// An XSB level played from the command line: no level set is open.
class XsbPlayTest : public GameFixture {
  protected:
    void SetUp() override { game.undoFile().create(); }
    std::string put(const std::string& name, const std::string& content) {
        std::ofstream(dir.path / name, std::ios::binary) << content;
        return (dir.path / name).string();
    }
    void openSet() {
        writeLevelSet(dir.path / "game.box", {makeLevel(kLevels[0], 2, 3), makeLevel(kLevels[1])});
        game.SelectGames(1);
    }
    std::vector<std::string> files() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(dir.path))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(XsbPlayTest, PlaysTheLevelAtTheTopLeft) {
    const std::string path = put("small.xsb", text(kLevels[0]));
    game.PlayXSB(path);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(game.mazeWidth(), 5);
    EXPECT_EQ(game.mazeHeight(), 3);
    EXPECT_EQ(game.manPos(), 35);
    EXPECT_EQ(game.cells()[kCols + 2], kBox);
    EXPECT_TRUE(game.xsbMode());
    EXPECT_EQ(view.caption, Message(Id::CaptionXsb, path));
    EXPECT_EQ(view.status[0], Message(Id::LevelPanelXsb));
    EXPECT_EQ(view.status[1], Message(Id::MovesPanelNoBest, 0));
    EXPECT_EQ(view.status[2], Message(Id::PushesPanelNoBest, 0));
    EXPECT_FALSE(view.answerEnabled);
    EXPECT_FALSE(view.undoEnabled);
    const auto entry = game.undoFile().get<TSaveData>(0);
    EXPECT_EQ(entry.man, 35);
    EXPECT_EQ(PlayCells(entry.cells.begin(), entry.cells.end()), game.cells());

    game.KeyMove("right");
    EXPECT_EQ(dialogs.takeMessages(), Messages{Id::LevelSolved});
    EXPECT_EQ(files(), (std::vector<std::string>{undoFile(dir.path).path().filename().string(),
                                                 "small.xsb"}));
}

// A file that gives no level ends in a message, and the level in play stays
// on the board as it stands, playable, under its own caption: an XSB level
// or a level of the set alike.
TEST_F(XsbPlayTest, RefusedFilesLeaveTheLevelInPlayAsItStands) {
    const std::string wide = put("wide.xsb", text(kLevels[1]));
    std::filesystem::create_directory(dir.path / "folder.xsb");
    const Id noLevel = Id::NoLevelNewOne;
    struct Case {
        std::string path;
        Id message;
    } cases[] = {
        {(dir.path / "none.xsb").string(), Id::XsbFileMissing},
        {(dir.path / "folder.xsb").string(), Id::FileReadFailed},
        {put("big.xsb", std::string(40, '#')), Id::LevelTooBig},
        {put("empty.xsb", ""), noLevel},
        {put("blank.xsb", "\r\n\r\n"), noLevel},
        {put("notes.xsb", "Title: nothing here\r\n; only words\r\n"), noLevel},
        {put("binary.xsb", std::string("\x00\x01\x02\xff", 4)), noLevel},
    };
    for (const bool fromSet : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.path);
            if (fromSet) {
                openSet();
                game.playLevel(2);
            } else {
                game.PlayXSB(wide);
            }
            game.KeyMove("right"); // a step, the box not reached
            const PlayCells cells = game.cells();
            const int man = game.manPos(), moves = game.moveCount();
            const Message caption = view.caption;
            const std::string file = game.xsbFile();
            dialogs.takeMessages();
            EXPECT_FALSE(game.PlayXSB(c.path));
            EXPECT_EQ(dialogs.takeMessages(), Messages{c.message});
            EXPECT_EQ(game.cells(), cells);
            EXPECT_EQ(game.manPos(), man);
            EXPECT_EQ(game.moveCount(), moves);
            EXPECT_EQ(game.xsbMode(), !fromSet);
            EXPECT_EQ(game.xsbFile(), file);
            EXPECT_EQ(view.caption, caption);
            game.KeyMove("left"); // still in play
            EXPECT_EQ(game.manPos(), man - 1);
        }
    }
}

TEST_F(XsbPlayTest, RetryAndUndoStayWithThePlayedFile) {
    const std::string played = put("played.xsb", text(kLevels[1]));
    const std::string previewed = put("preview.xsb", text(kLevels[0]));
    game.PlayXSB(played);
    game.KeyMove("right");
    game.KeyMove("right"); // a push
    game.tbUndoClick();
    EXPECT_TRUE(game.xsbMode());
    EXPECT_EQ(game.manPos(), kCols + 2);
    EXPECT_EQ(view.caption, Message(Id::CaptionXsb, played));
    EXPECT_EQ(view.status[0], Message(Id::LevelPanelXsb));

    game.ReadXSB(previewed); // as a preview does
    game.tbRetryGameClick();
    EXPECT_EQ(game.mazeWidth(), 7);
    EXPECT_EQ(game.manPos(), kCols + 1);
    EXPECT_EQ(game.moveCount(), 0);
    EXPECT_EQ(view.caption, Message(Id::CaptionXsb, played));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(XsbPlayTest, CommandsNeedingALevelSetDoNothing) {
    game.PlayXSB(put("small.xsb", text(kLevels[0])));
    game.tbPreviousRecordClick();
    game.tbNextRecordClick();
    dialogs.inputAnswers.push_back("1");
    game.tbSelectRecordClick();
    game.GameLoad(1);
    game.FormKeyDown(GameKey::F12, kCtrl | kShift);
    dialogs.fileAnswers.push_back((dir.path / "out.xsb").string());
    game.mSaveToXSBClick();
    game.Gamesave(1);
    EXPECT_EQ(dialogs.takeMessages(), Messages{Id::XsbCannotSave});
    EXPECT_TRUE(game.xsbMode());
    EXPECT_EQ(files(), (std::vector<std::string>{undoFile(dir.path).path().filename().string(),
                                                 "small.xsb"}));
}

TEST_F(XsbPlayTest, WithALevelSetOpenTheSetIsNotTouched) {
    openSet();
    const Bytes bst = readFile(dir.path / "game.bst"), sol = readFile(dir.path / "game.sol"),
                sav = readFile(dir.path / "game.sav");
    game.PlayXSB(put("small.xsb", text(kLevels[0])));
    EXPECT_EQ(view.gameItem, 0);
    game.Gamesave(2);
    game.KeyMove("right");
    EXPECT_EQ(dialogs.takeMessages(), (Messages{Id::XsbCannotSave, Id::LevelSolved}));
    EXPECT_EQ(readFile(dir.path / "game.bst"), bst);
    EXPECT_EQ(readFile(dir.path / "game.sol"), sol);
    EXPECT_EQ(readFile(dir.path / "game.sav"), sav);
}

TEST_F(XsbPlayTest, SavesTheStoredLevelOfTheSetAsXsb) {
    openSet();
    game.playLevel(2);
    game.KeyMove("right"); // moves on the board are not written
    const std::string out = (dir.path / "out.xsb").string();
    dialogs.fileAnswers.push_back(out);
    game.mSaveToXSBClick();
    EXPECT_EQ(dialogs.filterMessages.back(), Message(Id::XsbFilter));
    EXPECT_EQ(dialogs.proposedNames.back(), dirPrefix(dir.path) + "game0002.xsb");
    EXPECT_EQ(dialogs.takeMessages(), Messages{Id::Saved});
    const Bytes written = readFile(out);
    EXPECT_EQ(std::string(written.begin(), written.end()), "#######\r\n#@ $ .#\r\n#######\r\n");

    // A level that can no longer be read leaves the chosen file as it was.
    writeLevelSet(dir.path / "game.box", {makeLevel(kLevels[0])});
    dialogs.fileAnswers.push_back(out);
    game.guarded([&] { game.mSaveToXSBClick(); });
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(readFile(out), written);
}

} // namespace
} // namespace sokoban::testing

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
class XsbPlayTest : public ::testing::Test {
  protected:
    TempDir dir;
    RecordingView view;
    ScriptedDialogs dialogs;
    GameModel game{view, dialogs};

    void SetUp() override {
        view.model = &game;
        game.appDir = dir.path;
        game.settings = defaultSettings(1024, 768);
        game.undoFile().create();
    }
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
    EXPECT_EQ(game.mazeWidth, 5);
    EXPECT_EQ(game.mazeHeight, 3);
    EXPECT_EQ(game.manPos, 35);
    EXPECT_EQ(game.maze.cells[kCols + 2], kBox);
    EXPECT_TRUE(game.xsbMode);
    EXPECT_EQ(view.caption, "推箱子      " + path);
    EXPECT_EQ(view.status[0], "当前关卡号： / ");
    EXPECT_EQ(view.status[1], "移动:0   ★   最佳移动：无");
    EXPECT_EQ(view.status[2], "推动:0   ★   最佳推动：无");
    EXPECT_FALSE(view.answerEnabled);
    EXPECT_FALSE(view.undoEnabled);
    const auto entry = game.undoFile().get<TSaveData>(0);
    EXPECT_EQ(entry.man, 35);
    EXPECT_EQ(entry.cells, game.maze.cells);

    game.KeyMove("right");
    EXPECT_EQ(dialogs.takeTexts(), std::vector<std::string>{"哈哈！过关了！"});
    EXPECT_EQ(files(), (std::vector<std::string>{undoFile(dir.path).path().filename().string(),
                                                 "small.xsb"}));
}

TEST_F(XsbPlayTest, RefusedFilesKeepTheLevelOnTheBoard) {
    const std::string small = put("small.xsb", text(kLevels[0]));
    std::filesystem::create_directory(dir.path / "folder.xsb");
    struct Case {
        std::string path;
        std::string message;
        std::string captionFile;
    } cases[] = {
        {(dir.path / "none.xsb").string(), "读取的文件不存在！", small},
        {(dir.path / "folder.xsb").string(), "文件读取错误！", (dir.path / "folder.xsb").string()},
        {put("big.xsb", std::string(40, '#')), "仓库数据太大或者数据不正确！",
         (dir.path / "big.xsb").string()},
    };
    for (const auto& c : cases) {
        game.PlayXSB(small);
        const TMazeData before = game.xsbMaze;
        game.KeyMove("right");
        dialogs.shown.clear();
        game.PlayXSB(c.path);
        EXPECT_EQ(dialogs.takeTexts(), std::vector<std::string>{c.message});
        EXPECT_EQ(game.xsbMaze, before);
        EXPECT_EQ(game.manPos, 35); // the last level read, from its start
        EXPECT_TRUE(game.xsbMode);
        EXPECT_EQ(view.caption, "推箱子      " + c.captionFile);
    }
}

TEST_F(XsbPlayTest, RetryAndUndoStayWithThePlayedFile) {
    const std::string played = put("played.xsb", text(kLevels[1]));
    const std::string previewed = put("preview.xsb", text(kLevels[0]));
    game.PlayXSB(played);
    game.KeyMove("right");
    game.KeyMove("right"); // a push
    game.tbUndoClick();
    EXPECT_TRUE(game.xsbMode);
    EXPECT_EQ(game.manPos, kCols + 2);
    EXPECT_EQ(view.caption, "推箱子      " + played);
    EXPECT_EQ(view.status[0], "当前关卡号： / ");

    game.ReadXSB(previewed); // as a preview does
    game.tbRetryGameClick();
    EXPECT_EQ(game.mazeWidth, 7);
    EXPECT_EQ(game.manPos, kCols + 1);
    EXPECT_EQ(game.moveCount, 0);
    EXPECT_EQ(view.caption, "推箱子      " + played);
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
    EXPECT_EQ(dialogs.takeTexts(), std::vector<std::string>{"XSB文件游戏，不能保存！"});
    EXPECT_TRUE(game.xsbMode);
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
    EXPECT_EQ(dialogs.takeTexts(),
              (std::vector<std::string>{"XSB文件游戏，不能保存！", "哈哈！过关了！"}));
    EXPECT_EQ(readFile(dir.path / "game.bst"), bst);
    EXPECT_EQ(readFile(dir.path / "game.sol"), sol);
    EXPECT_EQ(readFile(dir.path / "game.sav"), sav);
}

TEST_F(XsbPlayTest, SavesTheStoredLevelOfTheSetAsXsb) {
    openSet();
    game.curLevel = 2;
    game.ReadRecord(2);
    game.KeyMove("right"); // moves on the board are not written
    const std::string out = (dir.path / "out.xsb").string();
    dialogs.fileAnswers.push_back(out);
    game.mSaveToXSBClick();
    EXPECT_EQ(dialogs.fileFilters.back(), "仓库文件(*.xsb)|*.xsb|所有文件(*.*)|*.*");
    EXPECT_EQ(dialogs.proposedNames.back(), dirPrefix(dir.path) + "game0002.xsb");
    EXPECT_EQ(dialogs.takeTexts(), std::vector<std::string>{"保存完毕！"});
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

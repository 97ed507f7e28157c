#include "dialog_test_support.h"
#include "ui/dialogs/infor.h"

#include <QPlainTextEdit>
#include <QPushButton>

namespace sokoban::testing {
namespace {

class InforTest : public MainFormFixture {
  protected:
    std::unique_ptr<Tforminfor> win;

    void SetUp() override {
        start();
        win = std::make_unique<Tforminfor>(*form, &dialogs);
    }
    void TearDown() override {
        win.reset();
        MainFormFixture::TearDown();
    }
    void storeAnswer(int level) {
        TAnswerData a = emptyAnswerRecord();
        a.level = static_cast<std::int16_t>(level);
        a.moves = 3;
        model().files().sol.put(level - 1, a);
    }
    std::string shown() { return win->text().toStdString(); }
    // The set opened again with its progress at `maxLevel`, then `level`
    // brought back from a save slot with these counters and, since, this
    // best record.
    void playAt(int maxLevel, int level, TBestData best, int moves, int pushes) {
        const CompanionFiles f = model().files();
        TSaveData progress = f.sav.get<TSaveData>(0);
        progress.level = static_cast<std::int16_t>(maxLevel);
        f.sav.put(0, progress);
        f.bst.create(); // no level solved that would open the next
        model().openOtherSet(appFile("game.box"));
        f.bst.put(level - 1, best);
        TSaveData slot = freshSaveRecord();
        slot.level = static_cast<std::int16_t>(level);
        slot.moves = static_cast<std::int16_t>(moves);
        slot.pushes = static_cast<std::int16_t>(pushes);
        const TMazeData board = f.levels.get<TMazeData>(level - 1);
        slot.man = board.man;
        slot.cells = board.cells;
        f.sav.put(1, slot);
        model().GameLoad(1);
        ASSERT_EQ(dialogs.takeTexts(), std::vector<std::string>{});
    }
};

TEST_F(InforTest, ListsTheSetTheProgressTheRecordsAndTheAnswers) {
    storeAnswer(2);
    playAt(2, 2, {12, 4}, 5, 1);
    win->showDialog();
    EXPECT_EQ(shown(), "当前游戏文件： " + appFile("game.box") +
                           "；\n"
                           "当前游戏共有： 3 关；\n"
                           "您已经通过：   1   关；\n"
                           "您正在玩第     2 关；\n"
                           "当前关卡的最佳移动步数：12 步\n"
                           "当前关卡的最佳推动步数：4 步\n"
                           "您的移动步数：5 步\n"
                           "您的推动步数：1 步\n"
                           "\n"
                           "有答案的关：2、\n"
                           "没有答案的关：1、3、");
    EXPECT_EQ(win->windowTitle().toStdString(), "游戏信息");
    screenshot(*win);
}

TEST_F(InforTest, ProgressLineAndAnswerListsByCase) {
    const struct {
        int maxLevel;
        std::vector<int> answered;
        std::string progress, with, without;
    } cases[] = {
        {3, {}, "您已经通过：   3 关；", "有答案的关：", "没有答案的关：1、2、3、"},
        {1, {1, 2, 3}, "您已经通过：   0   关；", "有答案的关：1、2、3、", "没有答案的关："},
    };
    for (const auto& c : cases) {
        model().files().sol.create();
        model().files().sol.padTo(3, emptyAnswerRecord().encode());
        for (int l : c.answered)
            storeAnswer(l);
        playAt(c.maxLevel, 1, {7, 2}, 0, 0);
        win->showDialog();
        const std::string t = shown();
        EXPECT_NE(t.find("\n" + c.progress + "\n"), std::string::npos) << t;
        EXPECT_NE(t.find("当前关卡的最佳移动步数：7 步\n当前关卡的最佳推动步数：2 步"),
                  std::string::npos);
        EXPECT_NE(t.find("\n" + c.with + "\n" + c.without), std::string::npos) << t;
        win->hide();
    }
}

TEST_F(InforTest, ShownOnceThenKeptUntilClosedAndOkEmptiesIt) {
    win->showDialog();
    EXPECT_NE(shown().find("当前关卡的最佳移动步数：    无\n当前关卡的最佳推动步数：    无"),
              std::string::npos);
    playAt(1, 1, {}, 99, 0);
    win->showDialog(); // already up: brought forward, not rebuilt
    EXPECT_NE(shown().find("您的移动步数：0 步"), std::string::npos);
    QTest::mouseClick(win->findChild<QPushButton*>("Button1"), Qt::LeftButton);
    EXPECT_FALSE(win->isVisible());
    EXPECT_TRUE(win->text().isEmpty());
    win->showDialog();
    EXPECT_NE(shown().find("您的移动步数：99 步"), std::string::npos);
}

TEST_F(InforTest, AnXsbLevelShowsOnlyItsFile) {
    const std::string file = (dir.path / "one.xsb").string();
    std::ofstream(file) << "#####\n#@$.#\n#####\n";
    ASSERT_TRUE(model().PlayXSB(file));
    win->showDialog();
    EXPECT_EQ(shown(), "当前游戏文件： " + file + "；");
}

TEST_F(InforTest, AnUnreadableAnswerFileEndsTheListWithTheErrorReport) {
    std::filesystem::remove(model().files().sol.path());
    win->showDialog();
    const std::string t = shown();
    EXPECT_NE(t.find("您的推动步数：0 步"), std::string::npos);
    EXPECT_EQ(t.find("有答案的关"), std::string::npos);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Error);
}

} // namespace
} // namespace sokoban::testing

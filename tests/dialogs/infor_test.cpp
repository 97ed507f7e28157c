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
};

TEST_F(InforTest, ListsTheSetTheProgressTheRecordsAndTheAnswers) {
    storeAnswer(2);
    model().maxLevel = 2;
    model().curLevel = 2;
    model().bestMoves = 12;
    model().bestPushes = 0;
    model().moveCount = 5;
    model().pushCount = 1;
    win->showDialog();
    EXPECT_EQ(shown(), "当前游戏文件： " + appFile("game.box") +
                           "；\n"
                           "当前游戏共有： 3 关；\n"
                           "您已经通过：   1   关；\n"
                           "您正在玩第     2 关；\n"
                           "当前关卡的最佳移动步数：12 步\n"
                           "当前关卡的最佳推动步数：    无\n"
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
        model().maxLevel = static_cast<std::int16_t>(c.maxLevel);
        model().bestMoves = 7;
        model().bestPushes = 2;
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
    model().moveCount = 99;
    win->showDialog(); // already up: brought forward, not rebuilt
    EXPECT_NE(shown().find("您的移动步数：0 步"), std::string::npos);
    QTest::mouseClick(win->findChild<QPushButton*>("Button1"), Qt::LeftButton);
    EXPECT_FALSE(win->isVisible());
    EXPECT_TRUE(win->text().isEmpty());
    win->showDialog();
    EXPECT_NE(shown().find("您的移动步数：99 步"), std::string::npos);
}

TEST_F(InforTest, AnXsbLevelShowsOnlyItsFile) {
    model().xsbMode = true;
    model().xsbFile = "/levels/one.xsb";
    win->showDialog();
    EXPECT_EQ(shown(), "当前游戏文件： /levels/one.xsb；");
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

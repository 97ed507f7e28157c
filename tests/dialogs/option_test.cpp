#include "dialog_test_support.h"
#include "ui/dialogs/option.h"
#include "ui/main/assist_menu.h"
#include "ui/main/solver_runner.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QTabWidget>

namespace sokoban::testing {
namespace {

class OptionTest : public MainFormFixture {
  protected:
    ScriptedDesktop desktop;
    std::unique_ptr<TPagesDlg> dlg;

    void SetUp() override {
        start();
        dlg = std::make_unique<TPagesDlg>(*form, desktop, &dialogs, "/opt/game/sokoban");
    }
    void TearDown() override {
        dlg.reset();
        MainFormFixture::TearDown();
    }
    bool on(const char* name) { return dlg->control(name)->isChecked(); }
    // Turns to the control's page and clicks it.
    void click(const char* name) {
        QAbstractButton* b = dlg->control(name);
        auto* pages = dlg->findChild<QTabWidget*>("PageControl1");
        for (int i = 0; i < pages->count(); ++i)
            if (pages->widget(i)->isAncestorOf(b)) pages->setCurrentIndex(i);
        QApplication::processEvents(); // lay out the page just turned to
        // On the box or circle: a check box reaches wider than its text.
        const QPoint at =
            qobject_cast<QPushButton*>(b) ? b->rect().center() : QPoint(8, b->height() / 2);
        QTest::mouseClick(b, Qt::LeftButton, {}, at);
    }
};

TEST_F(OptionTest, ShowingSelectsTheSettingsInUse) {
    struct Case {
        std::uint8_t music, move, demo, back, step, face, combo, quiet;
        std::vector<const char*> checked, unchecked;
    };
    const Case cases[] = {
        {3,
         1,
         2,
         3,
         1,
         1,
         1,
         1,
         {"music3", "movespeed1", "autospeed2", "backstyle3", "cbContinue", "cbrandomface",
          "rbUseRandom", "cbshowhint"},
         {"music1", "movespeed2", "autospeed1", "backstyle2", "rbUseCustom"}},
        {5,
         3,
         1,
         1,
         0,
         0,
         0,
         0,
         {"music5", "movespeed3", "autospeed1", "backstyle1", "rbUseCustom"},
         {"music3", "cbContinue", "cbrandomface", "rbUseRandom", "cbshowhint"}},
    };
    for (const Case& c : cases) {
        TGameVar& s = model().settings();
        s.musicNo = c.music;
        s.moveSpeed = c.move;
        s.demoSpeed = c.demo;
        s.backStyle = c.back;
        s.stepDemo = c.step;
        s.randomFace = c.face;
        s.randomCombo = c.combo;
        s.noPassInfo = c.quiet;
        dlg->showDialog();
        for (const char* n : c.checked)
            EXPECT_TRUE(on(n)) << n;
        for (const char* n : c.unchecked)
            EXPECT_FALSE(on(n)) << n;
        dlg->hide();
    }
}

TEST_F(OptionTest, OkKeepsTheChoicesAndCancelDropsAllButTheMusic) {
    const TGameVar before = model().settings();
    dlg->showDialog();
    screenshot(*dlg, "_basic");
    for (const char* n : {"music4", "movespeed3", "autospeed3", "backstyle1", "cbContinue",
                          "cbrandomface", "rbUseRandom", "cbshowhint"})
        click(n);
    EXPECT_EQ(model().settings().musicNo, 4); // at once
    click("CancelBtn");
    EXPECT_FALSE(dlg->isVisible());
    TGameVar expected = before;
    expected.musicNo = 4;
    EXPECT_EQ(model().settings(), expected);

    // The next showing presents the settings in use, not the cancelled ones.
    dlg->showDialog();
    EXPECT_TRUE(on("music4"));
    EXPECT_FALSE(on("movespeed3"));
    EXPECT_FALSE(on("cbshowhint"));

    for (const char* n : {"movespeed3", "autospeed3", "backstyle1", "cbContinue", "cbrandomface",
                          "rbUseRandom", "cbshowhint"})
        click(n);
    click("OKBtn");
    EXPECT_FALSE(dlg->isVisible());
    const TGameVar& s = model().settings();
    EXPECT_EQ(s.moveSpeed, 3);
    EXPECT_EQ(s.demoSpeed, 3);
    EXPECT_EQ(s.backStyle, 1);
    EXPECT_EQ(s.stepDemo, 1);
    EXPECT_EQ(s.randomFace, 1);
    EXPECT_EQ(s.randomCombo, 1);
    EXPECT_EQ(s.noPassInfo, 1);
    EXPECT_EQ(form->painter().backStyle, 1);

    // Escape is Cancel.
    dlg->showDialog();
    click("cbshowhint");
    QTest::keyClick(dlg.get(), Qt::Key_Escape);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(model().settings().noPassInfo, 1);
}

TEST_F(OptionTest, ApplyPlaysTheChosenPiece) {
    std::ofstream(dir.path / "music2.mid") << "MThd";
    dlg->showDialog();
    click("music2");
    EXPECT_TRUE(music.calls.empty() || music.openPath != dir.path / "music2.mid");
    click("BitBtn1");
    EXPECT_EQ(music.openPath, dir.path / "music2.mid");
}

TEST_F(OptionTest, InstallButtonsRegisterAndMakeShortcutsWithTheirMessages) {
    auto* pages = dlg->findChild<QTabWidget*>("PageControl1");
    pages->setCurrentIndex(1);
    dlg->showDialog();
    screenshot(*dlg, "_install");
    const struct {
        const char* button;
        const char* call;
        const char* message; // "" when nothing is said
    } cases[] = {
        {"btCreateFileAss", "register .box 推箱子游戏文件 /opt/game/sokoban",
         "已经为*.box文件与游戏建立了关联！\n您以后可以通过双击*.box文件进行游戏！"},
        {"Button1", "register .xsb XSB推箱子仓库文件 /opt/game/sokoban",
         "已经为*.xsb文件与游戏建立了关联！\n您以后可以通过双击*.xsb文件进行游戏！"},
        {"btDeleteFileAss", "unregister .box 推箱子游戏文件",
         "已经删除了*.box文件与游戏的关联！\n您以后不能通过双击*.box文件进行游戏！"},
        {"Button2", "unregister .xsb XSB推箱子仓库文件",
         "已经删除了*.xsb文件与游戏的关联！\n您以后不能通过双击*.xsb文件进行游戏！"},
        {"btDeleteDesk", "delete 0 推箱子", ""},
        {"btCreateDesk", "create 0 推箱子 /opt/game/sokoban", "已经在桌面上创建了游戏的快捷方式!"},
        {"btCreateDesk", "create 0 推箱子 /opt/game/sokoban", ""},
        {"btCreatestart", "create 1 推箱子 /opt/game/sokoban",
         "已经在开始菜单中创建了游戏的快捷方式!"},
        {"btcreateprogram", "create 2 推箱子 /opt/game/sokoban",
         "已经在程序菜单中创建了游戏的快捷方式!"},
        {"btDeleteDesk", "delete 0 推箱子", "已经删除了游戏在桌面上的快捷方式!"},
        {"btDeletestart", "delete 1 推箱子", "已经删除了游戏在开始菜单中的快捷方式!"},
        {"btdeleteprogram", "delete 2 推箱子", "已经删除了游戏在程序菜单中的快捷方式!"},
        {"btdeleteprogram", "delete 2 推箱子", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        desktop.calls.clear();
        click(c.button);
        EXPECT_EQ(desktop.calls, std::vector<std::string>{c.call});
        const auto shown = dialogs.shown;
        dialogs.shown.clear();
        if (*c.message)
            EXPECT_EQ(shown,
                      (std::vector<ScriptedDialogs::Shown>{{MessageKind::Information, c.message}}));
        else
            EXPECT_TRUE(shown.empty());
    }
    EXPECT_EQ(dlg->control("btCreateDesk")->toolTip().toStdString(), "在桌面建立游戏快捷方式");
    EXPECT_EQ(dlg->control("btDeleteFileAss")->text().toStdString(), "删除");
}

TEST_F(OptionTest, AFailedWriteIsReportedInsteadOfSuccess) {
    for (const char* button : {"btCreateFileAss", "btCreatestart"}) {
        desktop.failWithPath = "/home/player/.local/share/x";
        click(button);
        ASSERT_EQ(dialogs.shown.size(), 1u) << button;
        EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Error);
        EXPECT_NE(dialogs.shown[0].text.find("/home/player/.local/share/x"), std::string::npos);
        dialogs.shown.clear();
    }
    EXPECT_TRUE(desktop.shortcuts.empty());
}

TEST_F(OptionTest, TheRealServiceWritesIntoItsOwnFolders) {
    FreedesktopIntegration real({dir.path / "data", dir.path / "config", dir.path / "Desktop"},
                                false);
    TPagesDlg withFiles(*form, real, &dialogs, "/opt/game/sokoban");
    QTest::mouseClick(withFiles.control("btCreateDesk"), Qt::LeftButton);
    QTest::mouseClick(withFiles.control("Button1"), Qt::LeftButton);
    EXPECT_TRUE(std::filesystem::exists(dir.path / "Desktop/推箱子.desktop"));
    EXPECT_TRUE(std::filesystem::exists(dir.path / "data/applications/sokoban-xsb.desktop"));
    EXPECT_EQ(dialogs.shown.size(), 2u);
}

TEST_F(OptionTest, OtherPageScreenshot) {
    dlg->findChild<QTabWidget*>("PageControl1")->setCurrentIndex(2);
    dlg->showDialog();
    EXPECT_EQ(dlg->windowTitle().toStdString(), "选项");
    EXPECT_TRUE(dlg->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(dlg->control("cbContinue")->toolTip().toStdString(), "选中后按\"N\"键单步演示答案");
    screenshot(*dlg);
}

TEST_F(OptionTest, ShortestWalksAreKeptInTheirOwnFile) {
    dlg->showDialog();
    EXPECT_FALSE(on("cbShortestWalk"));
    click("cbShortestWalk");
    dlg->OKBtnClick();
    EXPECT_EQ(form->model().playOptions().shortestWalk, 1);
    EXPECT_EQ(readFile(dir.path / "assist.var"), (Bytes{0, 1, 10, 0, 0}));
    EXPECT_EQ(readFile(dir.path / "game.var").size(), 36u);
}

TEST_F(OptionTest, AnimatedMovesAreOffUntilChosenAndKeptInAssistVar) {
    dlg->showDialog();
    EXPECT_EQ(dlg->control("animate1")->text().toStdString(), "开");
    EXPECT_EQ(dlg->control("animate2")->text().toStdString(), "关");
    EXPECT_TRUE(on("animate2"));
    const struct {
        const char* button;
        std::uint8_t animate;
    } cases[] = {{"animate1", 1}, {"animate2", 0}, {"animate1", 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        dlg->showDialog();
        click(c.button);
        click("OKBtn");
        EXPECT_EQ(model().playOptions().animate, c.animate);
        EXPECT_EQ(readFile(dir.path / "assist.var"), (Bytes{0, 0, 10, 0, c.animate}));
        // The next start of the game reads it back and shows it.
        dlg.reset();
        form.reset();
        start();
        dlg = std::make_unique<TPagesDlg>(*form, desktop, &dialogs, "/opt/game/sokoban");
        EXPECT_EQ(model().playOptions().animate, c.animate);
        dlg->showDialog();
        EXPECT_TRUE(on(c.button));
        dlg->hide();
    }
}

TEST_F(OptionTest, TheSolverTimeLimitIsChosenAndKeptInAssistVar) {
    // Untouched, the limit stays the ten seconds it always was.
    dlg->showDialog();
    ASSERT_NE(dlg->control("solvetime1"), nullptr);
    EXPECT_TRUE(on("solvetime1"));
    EXPECT_EQ(dlg->control("solvetime4")->text().toStdString(), "无限制");
    dlg->OKBtnClick();
    EXPECT_FALSE(std::filesystem::exists(dir.path / "assist.var"));
    EXPECT_EQ(solverRunner(*form).assistant().timeSeconds, 10);

    const struct {
        const char* button;
        Bytes file;
        double assistantSeconds; // -1: none
    } cases[] = {
        {"solvetime2", {0, 0, 30, 0, 0}, 30},
        {"solvetime4", {0, 0, 0xff, 0xff, 0}, -1},
        {"solvetime3", {0, 0, 60, 0, 0}, 60},
        {"solvetime1", {0, 0, 10, 0, 0}, 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        dlg->showDialog();
        click(c.button);
        click("OKBtn");
        EXPECT_EQ(readFile(dir.path / "assist.var"), c.file);
        EXPECT_EQ(solverRunner(*form).assistant().timeSeconds, c.assistantSeconds);
        // The next start of the game reads it back and shows it.
        dlg.reset();
        form.reset();
        start();
        dlg = std::make_unique<TPagesDlg>(*form, desktop, &dialogs, "/opt/game/sokoban");
        EXPECT_EQ(solverRunner(*form).assistant().timeSeconds, c.assistantSeconds);
        dlg->showDialog();
        EXPECT_TRUE(on(c.button));
        dlg->hide();
    }
    // Cancel keeps the limit in force.
    dlg->showDialog();
    click("solvetime4");
    click("CancelBtn");
    EXPECT_EQ(readFile(dir.path / "assist.var"), (Bytes{0, 0, 10, 0, 0}));
    EXPECT_EQ(solverRunner(*form).assistant().timeSeconds, 10);
}

TEST_F(OptionTest, ALimitNoButtonOffersStaysUntilAnotherIsChosen) {
    form.reset();
    std::ofstream(dir.path / "assist.var", std::ios::binary) << std::string("\x01\x00\x2c\x01", 4);
    start();
    dlg = std::make_unique<TPagesDlg>(*form, desktop, &dialogs, "/opt/game/sokoban");
    dlg->showDialog();
    for (const char* b : {"solvetime1", "solvetime2", "solvetime3", "solvetime4"})
        EXPECT_FALSE(on(b)) << b;
    // The animation off, as a file of four bytes says: nothing changed, nothing written.
    EXPECT_TRUE(on("animate2"));
    click("OKBtn");
    EXPECT_EQ(readFile(dir.path / "assist.var"), (Bytes{1, 0, 0x2c, 0x01}));
    EXPECT_EQ(solverRunner(*form).assistant().timeSeconds, 300);
}

} // namespace
} // namespace sokoban::testing

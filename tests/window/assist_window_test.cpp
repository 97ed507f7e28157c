// The window's help with play: F5 until the level is solved, the single-move
// undo and redo keys, the progress window of a long solve with 取消, the
// dead-square marks, and the designer's solvability check.
#include "../game/test_support.h"
#include "../worded_dialogs.h"
#include "session/dead_squares.h"
#include "ui/designer/design.h"
#include "ui/designer/item.h"
#include "ui/designer/xsbviewer.h"
#include "ui/main/assist_menu.h"
#include "ui/main/main_form.h"
#include "ui/main/solver_runner.h"

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <fstream>
#include <iostream>

namespace sokoban::testing {
namespace {

const std::vector<std::string> kTwoBoxes = {
    "########", "#      #", "# $ $  #", "#@  .. #", "#      #", "########",
};
const std::vector<std::string> kSlowToSolve = {
    "##################", //
    "#      .   #     #", //
    "# $ ##$$ $ #  $$ #", //
    "###.       . .   #", //
    "# ..   .   .    ##", //
    "# . ## #        #",  //
    "# *$ #$$ $  #####",  //
    "#   . @     #",      //
    "#############",
};

class AssistWindowTest : public ::testing::Test {
  protected:
    TempDir dir;
    WordedDialogs dialogs;
    std::unique_ptr<TMainForm> form;

    void start(const std::vector<TMazeData>& levels) {
        writeLevelSet(dir.path / "game.box", levels);
        MainFormServices services;
        services.dialogs = &dialogs;
        form = std::make_unique<TMainForm>(dir.path, QStringList{"sokoban"}, services);
        form->FormCreate();
        form->show();
        QApplication::setActiveWindow(form.get());
        (void)QTest::qWaitForWindowExposed(form.get());
        form->boardImage()->setFocus();
    }
    SolverRunner& runner() { return solverRunner(*form); }
    // Lets the event loop run until the condition holds; false after ms.
    static bool waitFor(const std::function<bool()>& condition, int ms) {
        QElapsedTimer clock;
        clock.start();
        while (!condition()) {
            if (clock.elapsed() > ms) return false;
            QTest::qWait(10);
        }
        return true;
    }
    // Until the solver's answer has been handed over.
    void waitForSolver(int ms = 20000) {
        ASSERT_TRUE(waitFor([this] { return !runner().assistant().busy(); }, ms));
    }
    void shot(const char* name) {
        if (const char* dirName = std::getenv("SOKOBAN_SCREENSHOT")) {
            form->timer1().stop();
            form->Timer1Timer();
            form->grab().save(QString(dirName) + "/" + name + ".png");
        }
    }
    void TearDown() override { form.reset(); }
};

TEST_F(AssistWindowTest, F5UntilTheLevelIsSolved) {
    start({makeLevel(kTwoBoxes), makeLevel(kTwoBoxes)});
    auto& model = form->model();
    EXPECT_EQ(form->findChild<QAction*>("mHint")->shortcut(), QKeySequence("F5"));
    ASSERT_NE(form->findChild<QToolButton*>("tbHint"), nullptr);
    int presses = 0;
    while (model.curLevel() == 1 && presses < 50) {
        const int pushes = model.pushCount();
        QTest::keyClick(form.get(), Qt::Key_F5);
        waitForSolver();
        ++presses;
        if (model.curLevel() == 1) {
            ASSERT_EQ(model.pushCount(), pushes + 1);
        }
    }
    EXPECT_EQ(model.curLevel(), 2);
    const auto texts = dialogs.takeTexts();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.front(), "恭喜你通过第1关！");
    EXPECT_EQ(unsolvedAnswers(model), std::vector<int>{});
    // The tool-bar button gives the same hint.
    QTest::mouseClick(form->findChild<QToolButton*>("tbHint"), Qt::LeftButton);
    waitForSolver();
    EXPECT_EQ(model.pushCount(), 1);
    shot("assist_hint");
}

TEST_F(AssistWindowTest, CtrlZAndCtrlYTakeBackAndRedoSingleMoves) {
    start({makeLevel(kTwoBoxes)});
    auto& model = form->model();
    for (auto key : {Qt::Key_Up, Qt::Key_Up, Qt::Key_Right, Qt::Key_Down})
        QTest::keyClick(form->boardImage(), key);
    ASSERT_EQ(model.pushCount(), 1);
    QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(model.pushCount(), 0);
    EXPECT_EQ(model.moveCount(), 3);
    EXPECT_EQ(form->statusPanel(1)->text().toStdString(), "移动:3   ★   最佳移动：无");
    QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(form.get(), Qt::Key_Y, Qt::ControlModifier);
    QTest::keyClick(form.get(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(model.moveCount(), 4);
    EXPECT_EQ(model.pushCount(), 1);
}

TEST_F(AssistWindowTest, ALongSolveShowsProgressAndCancelLeavesTheBoard) {
    // Eleven boxes the solver needs seconds for (hundreds of thousands of
    // positions), so its progress window comes up and the limit is met.
    start({makeLevel(kSlowToSolve)});
    auto& model = form->model();
    dialogs.takeTexts();
    runner().assistant().timeSeconds = 30;
    const PlayCells before = model.cells();
    const int man = model.manPos();
    QTest::keyClick(form.get(), Qt::Key_F6);
    ASSERT_TRUE(runner().assistant().busy());
    EXPECT_EQ(runner().progress(), nullptr); // not before half a second
    const bool shown = waitFor(
        [this] {
            return !runner().assistant().busy() ||
                   (runner().progress() && runner().progress()->isVisible());
        },
        3000);
    ASSERT_TRUE(shown);
    if (!runner().assistant().busy())
        GTEST_SKIP() << "the solver proved the level within half a second";
    auto* cancel = runner().progress()->findChild<QPushButton*>();
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->text().toStdString(), "取消");
    if (const char* d = std::getenv("SOKOBAN_SCREENSHOT"))
        runner().progress()->grab().save(QString(d) + "/assist_progress_dialog.png");
    QTest::mouseClick(cancel, Qt::LeftButton);
    waitForSolver(5000);
    EXPECT_EQ(runner().progress(), nullptr);
    EXPECT_EQ(model.cells(), before);
    EXPECT_EQ(model.manPos(), man);
    EXPECT_FALSE(model.demoMode());
    EXPECT_EQ(dialogs.takeTexts(), std::vector<std::string>{});
    // The limit ends a solve with its own word.
    runner().assistant().timeSeconds = 1;
    QApplication::setActiveWindow(form.get());
    QTest::keyClick(form.get(), Qt::Key_F5);
    ASSERT_TRUE(runner().assistant().busy());
    waitForSolver(5000);
    EXPECT_EQ(dialogs.takeTexts(),
              std::vector<std::string>{"在1秒之内没能解出当前局面，已经停止求解。"});
    EXPECT_EQ(model.cells(), before);
}

TEST_F(AssistWindowTest, DeadSquaresAreMarkedAndTheChoiceIsKept) {
    start({makeLevel(kTwoBoxes)});
    auto* item = form->findChild<QAction*>("mMarkDead");
    ASSERT_NE(item, nullptr);
    EXPECT_FALSE(item->isChecked());
    const auto& l = form->model().layout();
    const int corner = 1 * kCols + 1;
    const auto pixel = [&](int cell) {
        return form->painter().image().pixel(
            (cell % kCols + l.originCol) * l.cellSize + l.cellSize / 2,
            (cell / kCols + l.originRow) * l.cellSize + l.cellSize / 2);
    };
    const int live = 2 * kCols + 3;
    const QRgb plain = pixel(corner), plainLive = pixel(live);
    item->trigger();
    EXPECT_TRUE(item->isChecked());
    EXPECT_NE(pixel(corner), plain);
    EXPECT_EQ(pixel(live), plainLive);
    shot("assist_dead_squares");
    EXPECT_EQ(readFile(dir.path / "assist.var"), (Bytes{1, 0, 10, 0, 0}));
    // The push into the corner row warns in the last panel.
    QTest::keyClick(form->boardImage(), Qt::Key_Right);
    QTest::keyClick(form->boardImage(), Qt::Key_Up);
    EXPECT_EQ(form->statusPanel(3)->text().toStdString(),
              "  注意：箱子进了死角，本关已经无法完成，请撤销！");
    QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(form->statusPanel(3)->text().toStdString(), "  推箱子 · 把每一个箱子推到目标上");
    // A new start reads the choice back.
    form.reset();
    start({makeLevel(kTwoBoxes)});
    EXPECT_TRUE(form->findChild<QAction*>("mMarkDead")->isChecked());
}

// Every way to another board shows that board's marks at once: the cells
// whose picture loses its cross when the marks are turned off are just the
// dead floor of the board in play.
TEST_F(AssistWindowTest, DeadSquareMarksFollowEveryNewBoard) {
    // Dead along every wall.
    const std::vector<std::string> walled = kTwoBoxes;
    // Targets in two corners: only the bottom row is dead.
    const std::vector<std::string> cornered = {
        "######", "#.   #", "#  $ #", "# $ .#", "#@   #", "######",
    };
    // Solved by one push to the right; dead where the others are not.
    const std::vector<std::string> onePush = {"######", "#@$. #", "#  ###", "####"};
    writeLevelSet(dir.path / "normal.box", {makeLevel(cornered)});
    {
        std::ofstream out(dir.path / "walled.xsb");
        for (const auto& r : walled)
            out << r << "\n";
    }
    start({makeLevel(walled), makeLevel(cornered), makeLevel(onePush), makeLevel(walled)});
    auto& model = form->model();
    auto* mark = form->findChild<QAction*>("mMarkDead");
    mark->trigger();
    QTest::keyClick(form->boardImage(), Qt::Key_F12, Qt::ControlModifier | Qt::ShiftModifier);
    dialogs.takeTexts();
    TFormDesign design(*form, dialogs);
    TFormItem palette;
    design.setPalette(&palette);
    TFormXSBViewer viewer(*form, design, &dialogs);

    using Cellset = std::vector<int>;
    const auto centre = [&](const QImage& image, int cell) {
        const auto& l = model.layout();
        return image.pixel((cell % kCols + l.originCol) * l.cellSize + l.cellSize / 2,
                           (cell / kCols + l.originRow) * l.cellSize + l.cellSize / 2);
    };
    // The worker covers its own cell, marked or not.
    const auto plainFloor = [&](int cell) {
        return model.cells()[static_cast<std::size_t>(cell)] == kFloor && cell != model.manPos();
    };
    const auto markedOnScreen = [&] {
        const QImage marked = form->painter().image().copy();
        mark->trigger();
        const QImage plain = form->painter().image().copy();
        mark->trigger();
        Cellset cells;
        for (int i = 0; i < kCells; ++i)
            if (plainFloor(i) && centre(marked, i) != centre(plain, i)) cells.push_back(i);
        return cells;
    };
    const auto deadOfTheBoard = [&] {
        DeadSquares dead;
        dead.reset(model.position().board());
        Cellset cells;
        for (int i = 0; i < kCells; ++i)
            if (plainFloor(i) && dead.isDead(i)) cells.push_back(i);
        return cells;
    };
    ASSERT_FALSE(deadOfTheBoard().empty());
    ASSERT_EQ(markedOnScreen(), deadOfTheBoard());

    struct Case {
        const char* name;
        std::function<void()> change;
        std::vector<std::string> board; // the level then in play
    };
    const Case cases[] = {
        {"后一关", [&] { QTest::keyClick(form.get(), Qt::Key_N, Qt::ControlModifier); }, cornered},
        {"前一关", [&] { QTest::keyClick(form.get(), Qt::Key_P, Qt::ControlModifier); }, walled},
        {"选关",
         [&] {
             dialogs.inputAnswers.push_back("3");
             QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);
         },
         onePush},
        {"a solve that moves on", [&] { QTest::keyClick(form->boardImage(), Qt::Key_Right); },
         walled},
        {"another level set", [&] { form->action("mselectgame2")->trigger(); }, cornered},
        {"读取 in the XSB viewer",
         [&] {
             viewer.setFolder(QString::fromStdString(dir.path.string()));
             viewer.showFromMain();
             const auto found = viewer.fileList()->findItems("walled.xsb", Qt::MatchExactly);
             ASSERT_EQ(found.size(), 1);
             viewer.fileList()->setCurrentItem(found[0]);
             viewer.button("Button1")->click();
         },
         walled},
        {"重玩", [&] { QTest::keyClick(form->boardImage(), Qt::Key_R); }, walled},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.change();
        dialogs.takeTexts();
        TMazeData expected = makeLevel(c.board);
        normaliseBoard(expected.cells, boundingBox(expected.cells));
        ASSERT_EQ(model.cells(), PlayCells(expected.cells.begin(), expected.cells.end()));
        EXPECT_EQ(markedOnScreen(), deadOfTheBoard());
    }
}

TEST_F(AssistWindowTest, TheDesignerSaysWhetherALevelCanBeSolved) {
    start({makeLevel(kTwoBoxes)});
    TFormDesign design(*form, dialogs);
    TFormItem item;
    design.setPalette(&item);
    design.showDesign();
    (void)QTest::qWaitForWindowExposed(&design);
    QApplication::setActiveWindow(&design);
    dialogs.takeTexts();
    struct Case {
        const char* name;
        std::vector<std::string> rows;
        std::string said;
    } cases[] = {
        {"solvable", {"#####", "#@$.#", "#####"}, "这一关可以过关！推动1次，移动1次。"},
        {"a box in a corner", {"######", "#@ .$#", "######"}, "这一关无法过关！"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto xsb = dir.path / "level.xsb";
        {
            std::ofstream out(xsb);
            for (const auto& r : c.rows)
                out << r << "\n";
        }
        ASSERT_TRUE(design.LoadXSB(xsb.string()));
        QTest::keyClick(&design, Qt::Key_F5);
        ASSERT_TRUE(waitFor([&] { return !design.solverRunner().assistant().busy(); }, 10000));
        EXPECT_EQ(dialogs.takeTexts(), std::vector<std::string>{c.said});
    }
}

} // namespace
} // namespace sokoban::testing

#include "../game/test_support.h"
#include "../worded_dialogs.h"
#include "storage/xsb.h"
#include "ui/designer/design.h"
#include "ui/designer/item.h"
#include "ui/main/main_form.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <cmath>
#include <csignal>
#include <gtest/gtest.h>
#include <set>
#include <sys/resource.h>

namespace sokoban::testing {
namespace {

using Kind = MessageKind;
using Msgs = std::vector<std::string>;

const TMazeData kSmall = makeLevel({"#####", "#@$.#", "#####"}, 9, 14);

TMazeData numbered(int n) {
    TMazeData m = makeLevel({"#####", "#@$.#", "#####"}, n, 2);
    m.cells[0] = static_cast<std::uint8_t>(n); // tells the levels apart
    return m;
}

Bytes levelBytes(const std::vector<TMazeData>& levels) {
    Bytes all;
    for (const auto& l : levels) {
        const Bytes b = l.encode();
        all.insert(all.end(), b.begin(), b.end());
    }
    return all;
}

class DesignTest : public ::testing::Test {
  protected:
    TempDir dir;
    WordedDialogs dialogs;
    std::unique_ptr<TMainForm> main;
    std::unique_ptr<TFormDesign> design;
    std::unique_ptr<TFormItem> item;

    void SetUp() override {
        writeLevelSet(dir.path / "game.box", {kSmall});
        MainFormServices services;
        services.dialogs = &dialogs;
        main = std::make_unique<TMainForm>(dir.path, QStringList{"sokoban"}, services);
        main->FormCreate();
        main->show();
        design = std::make_unique<TFormDesign>(*main, dialogs);
        item = std::make_unique<TFormItem>();
        design->setPalette(item.get());
        design->showDesign();
        (void)QTest::qWaitForWindowExposed(design.get());
        dialogs.takeTexts();
    }
    void TearDown() override {
        if (const char* shot = std::getenv("SOKOBAN_SCREENSHOT")) {
            const std::string name =
                ::testing::UnitTest::GetInstance()->current_test_info()->name();
            design->grab().save(QString(shot) + "/design_" + QString::fromStdString(name) + ".png");
            const QPixmap palette = item->grab();
            palette.scaled(palette.size() * 3).save(QString(shot) + "/item.png");
            const QPixmap bar = design->toolBar()->grab();
            bar.scaled(bar.size() * 2).save(QString(shot) + "/toolbar.png");
        }
        item.reset();
        design.reset();
        main.reset();
    }

    std::string panel(int i) { return design->statusPanel(i)->text().toStdString(); }
    std::filesystem::path file(const std::string& name) { return dir.path / name; }

    QPoint centre(int i) {
        const int s = design->cellSize();
        return {i % kCols * s + s / 2, i / kCols * s + s / 2};
    }
    void send(QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent e(type, pos, design->surface()->mapToGlobal(pos), button, held, Qt::NoModifier);
        QApplication::sendEvent(design->surface(), &e);
    }
    void choose(int element) { QTest::mouseClick(item->button(element), Qt::LeftButton); }
    // Chooses an element, then presses at the first cell and drags over the rest.
    void drag(int element, const std::vector<int>& cells) {
        choose(element);
        send(QEvent::MouseMove, centre(cells.front()), Qt::NoButton, Qt::NoButton);
        send(QEvent::MouseButtonPress, centre(cells.front()), Qt::LeftButton, Qt::LeftButton);
        for (std::size_t k = 1; k < cells.size(); ++k)
            send(QEvent::MouseMove, centre(cells[k]), Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, centre(cells.back()), Qt::LeftButton, Qt::NoButton);
    }
    void put(int element, int cell) { drag(element, {cell}); }
    // Walls round a floor room from (row 1, column 1) to (row 3, column 4).
    void drawRoom() {
        for (int r = 0; r <= 4; ++r)
            for (int c = 0; c <= 5; ++c)
                put(r == 0 || r == 4 || c == 0 || c == 5 ? kWall : kFloor, r * kCols + c);
    }

    // What one cell of the surface shows.
    QImage cellPicture(int i) {
        const int s = design->cellSize();
        return design->image().copy(i % kCols * s, i / kCols * s, s, s);
    }
    QImage tilePicture(int code) {
        const int s = design->cellSize();
        QImage img(s, s, QImage::Format_RGB32);
        QPainter(&img).drawImage(img.rect(), main->painter().tiles[code]);
        return img;
    }

    // Opens a level set, dropping whatever the grid held.
    void openSet(const std::vector<TMazeData>& levels) {
        if (design->modified()) dialogs.askAnswers.push_back(Answer::No);
        writeLevelSet(file("set.box"), levels);
        dialogs.fileAnswers.push_back(file("set.box").string());
        design->btFileOpenClick();
    }
};

TEST_F(DesignTest, OpensFromTheMainWindowAndGivesItBackOnClose) {
    EXPECT_EQ(design->windowTitle().toStdString(), "关卡设计");
    EXPECT_EQ(panel(0), "没有设计文件！");
    EXPECT_TRUE(design->isVisible());
    EXPECT_TRUE(item->isVisible());
    EXPECT_FALSE(main->isVisible());
    EXPECT_FALSE(design->action("Menuexchange")->isEnabled());
    for (const char* name : {"MenuViewToolbar", "menuShowCaption", "MenuViewItem"})
        EXPECT_TRUE(design->action(name)->isChecked()) << name;

    // The designer's exit button: palette away, main window back.
    design->button("btExit")->click();
    EXPECT_FALSE(design->isVisible());
    EXPECT_FALSE(item->isVisible());
    EXPECT_TRUE(main->isVisible());
}

TEST_F(DesignTest, PaletteButtonsChooseElementAndCursor) {
    const char* cursors[] = {"black", "wall", "cell", "target", "box", "box1", "boy"};
    for (int e : {3, 0, 6, 1, 5, 2, 4}) {
        choose(e);
        EXPECT_EQ(item->element(), e);
        EXPECT_EQ(design->gridCursor().toStdString(), cursors[e]);
        for (int k = 0; k < 7; ++k)
            EXPECT_EQ(item->button(k)->isChecked(), k == e);
    }
    // Clear shows the eraser cursor but leaves the palette's choice in force.
    design->button("tbClear")->click();
    EXPECT_EQ(design->gridCursor().toStdString(), "black");
    send(QEvent::MouseMove, centre(40), Qt::NoButton, Qt::NoButton);
    send(QEvent::MouseButtonPress, centre(40), Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, centre(40), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(design->designMaze().cells[40], kBox);
}

TEST_F(DesignTest, PaintingCellsAndPlacingTheWorker) {
    drawRoom();
    const int a = kCols + 1, b = kCols + 2;
    struct Step {
        int element, cell;
        int man;
        bool shown;
        Msgs messages;
    };
    const std::vector<Step> steps = {
        {6, 0, 0, false, {"搬运工的起始位置只能在地板上！"}},  // on a wall
        {6, 40, 0, false, {"搬运工的起始位置只能在地板上！"}}, // outside the room
        {6, a, a, true, {}},
        {6, a, a, true, {}}, // same cell again
        {6, b, b, true, {}},
        {3, b, b, false, {}}, // a target over the worker hides it
        {6, b, b, true, {}},  // and it stands on the target then
        {1, b, b, false, {}}, // a wall hides it too, man stays
    };
    for (const auto& s : steps) {
        put(s.element, s.cell);
        EXPECT_EQ(design->designMaze().man, s.man) << s.element << "@" << s.cell;
        EXPECT_EQ(design->manShown(), s.shown) << s.element << "@" << s.cell;
        EXPECT_EQ(dialogs.takeTexts(), s.messages) << s.element << "@" << s.cell;
    }
    EXPECT_EQ(design->designMaze().cells[b], kWall);
    // The cell the worker left shows plain floor; the walls show the face's wall.
    EXPECT_EQ(cellPicture(a), tilePicture(kFloor));
    EXPECT_EQ(cellPicture(b), tilePicture(kWall));
    // An erased cell is black with its left and top edges in the grid colour.
    put(0, a);
    const QImage erased = cellPicture(a);
    EXPECT_EQ(erased.pixel(0, erased.height() / 2), qRgb(60, 60, 60));
    EXPECT_EQ(erased.pixel(erased.width() / 2, 0), qRgb(60, 60, 60));
    EXPECT_EQ(erased.pixel(erased.width() / 2, erased.height() / 2), qRgb(0, 0, 0));
}

TEST_F(DesignTest, DraggingPaintsEveryCellCrossedAndTheWorkerFollows) {
    drag(kWall, {0, 1, 2, 3, kCols + 3});
    for (int i : {0, 1, 2, 3, kCols + 3})
        EXPECT_EQ(design->designMaze().cells[i], kWall);
    drag(kFloor, {kCols, kCols + 1, kCols + 2});
    dialogs.takeTexts();
    // The worker across floor and walls: one message for each wall cell reached.
    drag(6, {kCols, kCols + 1, 1, 2, kCols + 2});
    EXPECT_EQ(dialogs.takeTexts(), Msgs(2, "搬运工的起始位置只能在地板上！"));
    EXPECT_EQ(design->designMaze().man, kCols + 2);
    EXPECT_EQ(cellPicture(kCols), tilePicture(kFloor));
    // Moving without a button held never paints, even when the release went
    // elsewhere (to a message box, say).
    choose(kBox);
    send(QEvent::MouseMove, centre(5), Qt::NoButton, Qt::NoButton);
    send(QEvent::MouseButtonPress, centre(5), Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, centre(6), Qt::NoButton, Qt::NoButton);
    send(QEvent::MouseMove, centre(7), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(design->designMaze().cells[5], kBox);
    EXPECT_EQ(design->designMaze().cells[6], kOutside);
    EXPECT_EQ(design->designMaze().cells[7], kOutside);
}

TEST_F(DesignTest, PointerBeyondTheGridShowsRowAndColumnButNeverPaints) {
    design->resize(1200, 900);
    const int s = design->cellSize();
    send(QEvent::MouseMove, {2 * s + 1, 3 * s + 1}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(panel(1), "行：3   列：2");
    choose(kWall);
    const QPoint beyond(34 * s + 2, 5 * s + 2);
    send(QEvent::MouseMove, beyond, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(panel(1), "行：5   列：34");
    send(QEvent::MouseButtonPress, beyond, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, beyond + QPoint(s, 0), Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, beyond, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(design->designMaze(), TMazeData{});
}

TEST_F(DesignTest, ValidityCheckJudgesOnlyTheCellUnderTheWorker) {
    struct Case {
        std::function<void()> draw;
        bool valid;
    };
    const std::vector<Case> cases = {
        {[] {}, false},                     // empty grid, man 0
        {[this] { put(kFloor, 0); }, true}, // floor at the corner, worker never placed
        {[this] { put(kTarget, 0); }, true},
        {[this] { put(kBox, 0); }, false},
        {[this] {
             drawRoom();
             put(6, kCols + 1);
             put(kWall, kCols + 1);
         },
         false},
        {[this] {
             drawRoom();
             put(6, kCols + 1);
             put(kFloor, kCols + 1);
         },
         true},
    };
    for (std::size_t k = 0; k < cases.size(); ++k) {
        design->tbClearClick();
        cases[k].draw();
        dialogs.takeTexts();
        // No file is open: a valid design is not stored anywhere and says nothing.
        design->button("btRecordSave")->click();
        EXPECT_EQ(dialogs.takeTexts(),
                  cases[k].valid ? Msgs{} : Msgs{"这个样子可没法玩，有点不对吧？"})
            << k;
    }
    design->btRecordNewClick();
    EXPECT_EQ(panel(0), "没有设计文件！");
}

TEST_F(DesignTest, NewFileThenSaveWritesTheRecordByteForByte) {
    dialogs.fileAnswers.push_back(file("mine.box").string());
    design->button("btFileNew")->click();
    EXPECT_EQ(dialogs.fileFilters.back(), "推箱子游戏文件(*.box)|*.box");
    EXPECT_EQ(dialogs.proposedNames.back(), "*.box");
    EXPECT_EQ(design->windowTitle().toStdString(), "关卡设计  " + file("mine.box").string());
    EXPECT_EQ(panel(0), "当前关卡：1 / 0");
    EXPECT_EQ(readFile(file("mine.box")).size(), 0u);

    drawRoom();
    put(kBox, kCols + 2);
    put(kTarget, kCols + 3);
    put(6, kCols + 1);
    design->button("btRecordSave")->click();
    EXPECT_EQ(dialogs.shown.back(),
              (ScriptedDialogs::Shown{Kind::Information, "将设计保存到了第1关！"}));
    const TMazeData expected = makeLevel({"######", "#@$. #", "#    #", "#    #", "######"});
    EXPECT_EQ(readFile(file("mine.box")), levelBytes({expected}));
    EXPECT_EQ(panel(0), "当前关卡：1 / 1");

    // The next new level appends.
    design->button("btRecordNew")->click();
    EXPECT_EQ(panel(0), "当前关卡：2 / 1");
    put(kFloor, 0);
    design->btRecordSaveClick();
    EXPECT_EQ(readFile(file("mine.box")).size(), 1500u);
    EXPECT_EQ(panel(0), "当前关卡：2 / 2");
}

TEST_F(DesignTest, OpeningAndMovingBetweenLevels) {
    openSet({numbered(1), numbered(2), numbered(3)});
    EXPECT_EQ(design->designMaze(), numbered(1));
    EXPECT_TRUE(design->manShown());
    EXPECT_EQ(panel(0), "当前关卡：1 / 3");
    design->btRecordPreClick();
    EXPECT_EQ(design->recordNo(), 1);
    design->button("btRecordNext")->click();
    design->button("btRecordNext")->click();
    design->button("btRecordNext")->click();
    EXPECT_EQ(design->designMaze(), numbered(3));
    EXPECT_EQ(panel(0), "当前关卡：3 / 3");

    struct Case {
        std::optional<std::string> answer;
        Msgs messages;
        int recordNo;
    };
    const std::vector<Case> cases = {
        {std::nullopt, {}, 3},
        {"", {}, 3},
        {"abc", {"请输入有效数字!"}, 3},
        {"1.5", {"请输入有效数字!"}, 3},
        {"0", {"请输入有效关卡号!"}, 3},
        {"4", {"请输入有效关卡号!"}, 3},
        {"2", {}, 2},
    };
    for (const auto& c : cases) {
        dialogs.inputAnswers.push_back(c.answer);
        design->button("btRecordGoto")->click();
        EXPECT_EQ(dialogs.inputPrompts.back(), "指定关卡|输入关卡号：");
        EXPECT_EQ(dialogs.takeTexts(), c.messages) << c.answer.value_or("(cancel)");
        EXPECT_EQ(design->recordNo(), c.recordNo);
    }
    EXPECT_EQ(design->designMaze(), numbered(2));
    // A level that can no longer be read counts as a bad number.
    writeLevelSet(file("set.box"), {numbered(1)});
    dialogs.inputAnswers.push_back("3");
    design->btRecordGotoClick();
    EXPECT_EQ(dialogs.takeTexts(), Msgs{"请输入有效数字!"});
}

TEST_F(DesignTest, AnEmptyFileStartsANewLevel) {
    writeLevelSet(file("empty.box"), {});
    dialogs.fileAnswers.push_back(file("empty.box").string());
    design->button("btFileOpen")->click();
    EXPECT_EQ(dialogs.takeTexts(), Msgs{"游戏文件中没有关卡数据，新建一关！"});
    EXPECT_EQ(panel(0), "当前关卡：1 / 0");
    EXPECT_EQ(design->windowTitle().toStdString(), "关卡设计  " + file("empty.box").string());
}

TEST_F(DesignTest, SaveAsAnotherLevelKeepsTheLevelBeingEdited) {
    openSet({numbered(1), numbered(2)});
    design->btRecordNextClick();
    struct Case {
        std::string answer;
        Msgs messages;
        std::size_t records;
    };
    const std::vector<Case> cases = {
        {"", {}, 2},
        {"x", {"请输入有效数字!"}, 2},
        {"0", {"请输入有效关卡号!"}, 2},
        {"4", {"请输入有效关卡号!"}, 2},
        {"3", {"将设计保存到了第3关！"}, 3},
        {"01", {"将设计保存到了第01关！"}, 3},
    };
    for (const auto& c : cases) {
        dialogs.inputAnswers.push_back(c.answer);
        design->action("recordSaveAs")->trigger();
        EXPECT_EQ(dialogs.inputPrompts.back(), "保存到另外关卡|输入关卡号：");
        EXPECT_EQ(dialogs.takeTexts(), c.messages) << c.answer;
        EXPECT_EQ(readFile(file("set.box")).size(), c.records * 750) << c.answer;
    }
    EXPECT_EQ(readFile(file("set.box")), levelBytes({numbered(2), numbered(2), numbered(2)}));
    EXPECT_EQ(design->recordNo(), 2);
    EXPECT_EQ(panel(0), "当前关卡：2 / 3");
}

TEST_F(DesignTest, DeletingLevels) {
    const std::vector<TMazeData> five = {numbered(1), numbered(2), numbered(3), numbered(4),
                                         numbered(5)};
    // No answer: nothing changes.
    openSet(five);
    dialogs.confirmAnswers.push_back(false);
    design->button("btRecordDelete")->click();
    EXPECT_EQ(dialogs.takeTexts(), Msgs{"删除后不能恢复，确认删除吗？"});
    EXPECT_EQ(readFile(file("set.box")), levelBytes(five));

    // Level 2 of 5: the rest shift down and the new last level is shown.
    design->btRecordNextClick();
    dialogs.confirmAnswers.push_back(true);
    design->btRecordDeleteClick();
    EXPECT_EQ(readFile(file("set.box")),
              levelBytes({numbered(1), numbered(3), numbered(4), numbered(5)}));
    EXPECT_EQ(design->recordNo(), 4);
    EXPECT_EQ(design->designMaze(), numbered(5));
    EXPECT_EQ(panel(0), "当前关卡：4 / 4");

    // The last level: gone from the file, kept on the grid; saving appends it again.
    dialogs.confirmAnswers.push_back(true);
    design->btRecordDeleteClick();
    EXPECT_EQ(readFile(file("set.box")), levelBytes({numbered(1), numbered(3), numbered(4)}));
    EXPECT_EQ(panel(0), "当前关卡：4 / 3");
    EXPECT_EQ(design->designMaze(), numbered(5));
    design->btRecordSaveClick();
    EXPECT_EQ(readFile(file("set.box")),
              levelBytes({numbered(1), numbered(3), numbered(4), numbered(5)}));

    // An unsaved new level: the file stays, the last level comes back.
    design->btRecordNewClick();
    dialogs.confirmAnswers.push_back(true);
    design->btRecordDeleteClick();
    EXPECT_EQ(readFile(file("set.box")).size(), 4u * 750);
    EXPECT_EQ(design->recordNo(), 4);
    EXPECT_EQ(design->designMaze(), numbered(5));
}

TEST_F(DesignTest, SavingIntoAFileThatShrankLeavesNoGap) {
    openSet({numbered(1), numbered(2), numbered(3)});
    design->btRecordNextClick();
    design->btRecordNextClick();
    writeLevelSet(file("set.box"), {numbered(1)}); // cut short by another tool
    dialogs.takeTexts();
    design->btRecordSaveClick();
    EXPECT_EQ(dialogs.takeTexts(), Msgs{"将设计保存到了第2关！"});
    EXPECT_EQ(readFile(file("set.box")), levelBytes({numbered(1), numbered(3)}));
}

TEST_F(DesignTest, AWorkerIndexOffTheGridIsNotPlayable) {
    TMazeData odd = numbered(1);
    odd.man = -1;
    TMazeData far = numbered(1);
    far.man = 20000;
    openSet({odd, far});
    design->btRecordSaveClick();
    design->btRecordNextClick();
    design->btRecordSaveClick();
    EXPECT_EQ(dialogs.takeTexts(), Msgs(2, "这个样子可没法玩，有点不对吧？"));
}

TEST_F(DesignTest, SaveAsXsbWritesTheGrid) {
    design->action("menuSaveXSB")->trigger();
    EXPECT_EQ(dialogs.takeTexts(), Msgs{"这个样子可没法玩，有点不对吧？"});
    EXPECT_TRUE(dialogs.fileFilters.empty());

    drawRoom();
    put(kBox, kCols + 2);
    put(kTarget, kCols + 3);
    put(6, 2 * kCols + 3);
    put(kTarget, 2 * kCols + 3); // worker on a target, hidden but still there
    dialogs.fileAnswers.push_back(file("yours1.xsb").string());
    design->menuSaveXSBClick();
    EXPECT_EQ(dialogs.fileFilters.back(), "仓库文件(*.xsb)|*.xsb|所有文件(*.*)|*.*");
    EXPECT_EQ(dialogs.proposedNames.back(), "yours*.xsb");
    EXPECT_EQ(dialogs.takeTexts(), Msgs{"保存完毕！"});
    const Bytes text = readFile(file("yours1.xsb"));
    EXPECT_EQ(std::string(text.begin(), text.end()),
              "######\r\n# $. #\r\n#  + #\r\n#    #\r\n######\r\n");
}

TEST_F(DesignTest, LoadXsbFillsTheGridAndKeepsTheLevelNumber) {
    openSet({numbered(1), numbered(2)});
    std::ofstream(file("a.xsb")) << "Title\n#####\n#@$.#\n#####\n";
    design->LoadXSB(file("a.xsb").string());
    EXPECT_EQ(design->designMaze(), kSmall);
    EXPECT_TRUE(design->manShown());
    EXPECT_EQ(design->recordNo(), 1);
    design->btRecordSaveClick();
    EXPECT_EQ(readFile(file("set.box")), levelBytes({kSmall, numbered(2)}));
    // A refused file: the reader's message, and the grid as it was.
    dialogs.takeTexts();
    design->tbClearClick();
    put(kWall, 0);
    const TMazeData drawn = design->designMaze();
    EXPECT_FALSE(design->LoadXSB(file("missing.xsb").string()));
    EXPECT_EQ(dialogs.takeTexts(), Msgs{"读取的文件不存在！"});
    EXPECT_EQ(design->designMaze(), drawn);
    // A file without a level starts a new level, as a level-set file without one does.
    std::ofstream(file("empty.xsb")).flush();
    dialogs.askAnswers.push_back(Answer::No);
    EXPECT_FALSE(design->LoadXSB(file("empty.xsb").string()));
    EXPECT_EQ(dialogs.takeTexts(),
              (Msgs{"游戏文件中没有关卡数据，新建一关！", "关卡已修改，是否保存？"}));
    EXPECT_EQ(design->designMaze(), TMazeData{});
    EXPECT_EQ(design->recordNo(), 3);
    EXPECT_FALSE(design->modified());
    // As the viewer's batch import does it: new level, load, save.
    dialogs.askAnswers.push_back(Answer::No);
    design->btRecordNewClick();
    design->LoadXSB(file("a.xsb").string());
    design->btRecordSaveClick();
    EXPECT_EQ(readFile(file("set.box")), levelBytes({kSmall, numbered(2), kSmall}));
}

// Without a mouse: the arrows move a cell cursor that is drawn over the
// grid, the digits choose the palette's element, Space and Enter place it.
TEST_F(DesignTest, TheKeyboardDrawsAsTheMouseDoes) {
    QWidget* grid = design->surface();
    grid->setFocus();
    const auto key = [grid](Qt::Key k, int times = 1) {
        for (int n = 0; n < times; ++n)
            QTest::keyClick(grid, k);
    };
    EXPECT_FALSE(design->keyCursorShown());
    // A room of walls round two floor cells, drawn by keys alone.
    key(Qt::Key_1); // wall
    EXPECT_EQ(item->element(), kWall);
    EXPECT_EQ(design->gridCursor().toStdString(), "wall");
    for (int c = 0; c < 4; ++c) {
        key(Qt::Key_Space);
        if (c < 3) key(Qt::Key_Right);
    }
    key(Qt::Key_Down);
    key(Qt::Key_Return);
    key(Qt::Key_Down);
    for (int c = 0; c < 4; ++c) {
        key(Qt::Key_Enter);
        if (c < 3) key(Qt::Key_Left);
    }
    key(Qt::Key_Up);
    key(Qt::Key_Space);
    key(Qt::Key_2); // floor
    key(Qt::Key_Right);
    key(Qt::Key_Space);
    key(Qt::Key_Right);
    key(Qt::Key_Space);
    key(Qt::Key_6); // the worker, on the floor under the cursor
    key(Qt::Key_Space);
    EXPECT_EQ(design->keyCell(), kCols + 2);
    EXPECT_TRUE(design->keyCursorShown());
    EXPECT_EQ(panel(1), "行：1   列：2");
    TMazeData wanted = makeLevel({"####", "#  #", "####"});
    wanted.man = kCols + 2;
    EXPECT_EQ(design->designMaze(), wanted);
    EXPECT_TRUE(design->manShown());
    EXPECT_TRUE(dialogs.shown.empty());

    // The worker only on floor: the same message as for the mouse.
    key(Qt::Key_Up);
    key(Qt::Key_Space);
    EXPECT_EQ(dialogs.takeTexts(), Msgs{"搬运工的起始位置只能在地板上！"});

    // The cursor stops at the edges of the grid.
    key(Qt::Key_Up, 3);
    key(Qt::Key_Left, 5);
    EXPECT_EQ(design->keyCell(), 0);
    key(Qt::Key_Down, kRows + 3);
    key(Qt::Key_Right, kCols + 3);
    EXPECT_EQ(design->keyCell(), kCells - 1);

    // It is drawn: a yellow frame inside its cell on the surface.
    const int s = design->cellSize();
    const QRect shown = static_cast<DesignImage*>(grid)->keyCursor();
    EXPECT_EQ(shown.topLeft(), QPoint((kCols - 1) * s, (kRows - 1) * s));
    const QImage onScreen = grid->grab(shown).toImage();
    int yellow = 0;
    for (int x = 0; x < 4; ++x)
        yellow += QColor(onScreen.pixel(x, s / 2)) == QColor(255, 220, 0);
    EXPECT_GE(yellow, 1);

    // A mouse press hides it and draws as it always did; the keys go on from there.
    put(kBox, 3 * kCols + 5);
    EXPECT_FALSE(design->keyCursorShown());
    EXPECT_TRUE(static_cast<DesignImage*>(grid)->keyCursor().isEmpty());
    EXPECT_EQ(design->designMaze().cells[3 * kCols + 5], kBox);
    key(Qt::Key_Right);
    EXPECT_EQ(design->keyCell(), 3 * kCols + 6);
    if (const char* shot = std::getenv("SOKOBAN_SCREENSHOT"))
        design->grab().save(QString(shot) + "/design_keyboard_cursor.png");
}

TEST_F(DesignTest, OnlyCtrlF12UnlocksTheLevelManager) {
    struct Case {
        Qt::KeyboardModifiers mods;
        int key;
    };
    for (const Case& c : {Case{Qt::NoModifier, Qt::Key_F12}, Case{Qt::ShiftModifier, Qt::Key_F12},
                          Case{Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_F12},
                          Case{Qt::ControlModifier, Qt::Key_F11}}) {
        QTest::keyClick(design.get(), static_cast<Qt::Key>(c.key), c.mods);
        EXPECT_FALSE(design->exchangeEnabled());
    }
    EXPECT_EQ(dialogs.beeps, 0);
    QTest::keyClick(design->surface(), Qt::Key_F12, Qt::ControlModifier);
    EXPECT_TRUE(design->exchangeEnabled());
    EXPECT_EQ(dialogs.beeps, 1);
}

TEST_F(DesignTest, ResizingRedrawsAndEachShowingClears) {
    drawRoom();
    put(6, kCols + 1);
    design->showNormal();
    design->resize(34 * 20 + 8, 22 * 20 + 46 + design->toolBar()->height());
    EXPECT_EQ(design->cellSize(), 20);
    EXPECT_EQ(cellPicture(0), tilePicture(kWall));
    EXPECT_NE(cellPicture(kCols + 1), tilePicture(kFloor)); // the worker is back

    // The main window has let go of its pictures: a resize leaves everything alone.
    main->painter().closing = true;
    design->resize(34 * 25 + 8, 22 * 25 + 46 + design->toolBar()->height());
    EXPECT_EQ(design->cellSize(), 20);
    main->painter().closing = false;

    // Closing and showing again starts on an empty grid; the file stays.
    openSet({numbered(1)});
    design->close();
    design->showDesign();
    EXPECT_EQ(design->designMaze(), TMazeData{});
    EXPECT_EQ(design->recordNo(), 1);
    EXPECT_EQ(design->fileName(), file("set.box").string());
}

TEST_F(DesignTest, ViewMenuTogglesPaletteStatusBarAndCaptions) {
    item->close(); // the palette's own close box
    EXPECT_FALSE(design->action("MenuViewItem")->isChecked());
    design->action("MenuViewItem")->trigger();
    EXPECT_TRUE(item->isVisible());
    EXPECT_TRUE(design->action("MenuViewItem")->isChecked());
    design->action("MenuViewItem")->trigger();
    EXPECT_FALSE(item->isVisible());
    EXPECT_FALSE(design->action("MenuViewItem")->isChecked());

    design->action("menuShowCaption")->trigger();
    EXPECT_EQ(design->button("btRecordNew")->height(), 22);
    EXPECT_FALSE(design->action("menuShowCaption")->isChecked());
    design->action("menuShowCaption")->trigger();
    EXPECT_EQ(design->button("btRecordNew")->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    EXPECT_TRUE(design->action("menuShowCaption")->isChecked());
}

TEST_F(DesignTest, FileSaveAsCopiesTheSetAndEditsTheCopy) {
    openSet({numbered(1), numbered(2)});
    dialogs.fileAnswers.push_back(file("copy.box").string());
    design->action("menuFileSaveas")->trigger();
    EXPECT_EQ(readFile(file("copy.box")), levelBytes({numbered(1), numbered(2)}));
    EXPECT_EQ(design->windowTitle().toStdString(), "关卡设计  " + file("copy.box").string());
    design->btRecordSaveClick();
    EXPECT_EQ(readFile(file("set.box")), levelBytes({numbered(1), numbered(2)}));
}

} // namespace
} // namespace sokoban::testing

namespace sokoban::testing {
namespace {

// A fast drag reports the pointer far from where it last was; every cell on
// the line between the two positions is painted all the same.
TEST_F(DesignTest, AFastDragPaintsEveryCellOnTheWay) {
    struct Case {
        const char* name;
        int from, to;
    };
    const Case cases[] = {
        {"across", 2 * kCols + 1, 2 * kCols + 20},
        {"down", kCols + 5, 20 * kCols + 5},
        {"diagonal", kCols + 1, 15 * kCols + 15},
        {"shallow", 3 * kCols + 2, 9 * kCols + 30},
        {"steep, back up", 21 * kCols + 9, 2 * kCols + 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        design->tbClearClick();
        drag(kWall, {c.from, c.to}); // one move event for the whole way
        std::set<int> painted;
        for (int i = 0; i < kCells; ++i)
            if (design->designMaze().cells[static_cast<std::size_t>(i)] == kWall) painted.insert(i);
        ASSERT_TRUE(painted.count(c.from) && painted.count(c.to));
        // No gaps: the painted cells join up from one end to the other.
        std::set<int> reached{c.from};
        std::vector<int> todo{c.from};
        while (!todo.empty()) {
            const int i = todo.back();
            todo.pop_back();
            for (int n : painted)
                if (std::abs(n / kCols - i / kCols) <= 1 && std::abs(n % kCols - i % kCols) <= 1 &&
                    reached.insert(n).second)
                    todo.push_back(n);
        }
        EXPECT_EQ(reached, painted);
        // And only cells the line crosses: each lies within half a cell's
        // diagonal of the line through the two centres.
        const double x0 = c.from % kCols, y0 = c.from / kCols, x1 = c.to % kCols, y1 = c.to / kCols;
        for (int i : painted) {
            const double px = i % kCols, py = i / kCols;
            const double distance = std::abs((x1 - x0) * (y0 - py) - (x0 - px) * (y1 - y0)) /
                                    std::hypot(x1 - x0, y1 - y0);
            EXPECT_LE(distance, 0.71) << i;
        }
    }
    // Out of the grid and back in: only the cells inside are painted.
    design->tbClearClick();
    choose(kWall);
    const int s = design->cellSize();
    send(QEvent::MouseButtonPress, centre(5 * kCols + 30), Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, {40 * s, 5 * s + s / 2}, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseMove, centre(5 * kCols + 31), Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, centre(5 * kCols + 31), Qt::LeftButton, Qt::NoButton);
    int walls = 0;
    for (int i = 0; i < kCells; ++i)
        walls += design->designMaze().cells[static_cast<std::size_t>(i)] == kWall;
    EXPECT_EQ(walls, 4); // columns 30 to 33 of row 5
}

// Every command that replaces the grid asks first when it holds changes not
// stored yet: Yes stores them, No drops them, Cancel stays.
TEST_F(DesignTest, UnsavedChangesAreAskedAboutBeforeTheyAreLost) {
    const std::string kAsk = "关卡已修改，是否保存？";
    struct Command {
        const char* name;
        std::function<void()> run;
    };
    const Command commands[] = {
        {"next", [&] { design->button("btRecordNext")->click(); }},
        {"previous", [&] { design->button("btRecordPre")->click(); }},
        {"go to",
         [&] {
             dialogs.inputAnswers.push_back("3");
             design->button("btRecordGoto")->click();
         }},
        {"open",
         [&] {
             dialogs.fileAnswers.push_back(file("other.box").string());
             design->button("btFileOpen")->click();
         }},
        {"new file",
         [&] {
             dialogs.fileAnswers.push_back(file("new.box").string());
             design->button("btFileNew")->click();
         }},
        {"new level", [&] { design->button("btRecordNew")->click(); }},
        {"close", [&] { design->close(); }},
    };
    const std::vector<TMazeData> three = {numbered(1), numbered(2), numbered(3)};
    writeLevelSet(file("other.box"), {numbered(7)});
    for (const Command& c : commands) {
        for (Answer answer : {Answer::Cancel, Answer::No, Answer::Yes}) {
            SCOPED_TRACE(std::string(c.name) + " " + std::to_string(static_cast<int>(answer)));
            dialogs.inputAnswers.clear();
            dialogs.fileAnswers.clear();
            if (!design->isVisible()) design->showDesign();
            openSet(three);
            design->btRecordNextClick();
            put(kBox, 40); // level 2 changed on the grid
            const TMazeData changed = design->designMaze();
            dialogs.takeTexts();

            dialogs.askAnswers.push_back(answer);
            c.run();
            const Msgs shown = dialogs.takeTexts();
            ASSERT_FALSE(shown.empty());
            EXPECT_EQ(shown[0], kAsk);
            const bool stayed =
                design->isVisible() && design->recordNo() == 2 && design->designMaze() == changed;
            EXPECT_EQ(stayed, answer == Answer::Cancel);
            std::vector<TMazeData> expected = three;
            if (answer == Answer::Yes) {
                expected[1] = changed;
                EXPECT_EQ(shown[1], "将设计保存到了第2关！");
            } else {
                EXPECT_EQ(shown.size(), 1u);
            }
            EXPECT_EQ(readFile(file("set.box")), levelBytes(expected));
        }
    }

    // Yes when the design cannot be stored: the message, and nothing is lost.
    design->showDesign();
    openSet(three);
    put(kWall, design->designMaze().man); // a wall under the worker
    dialogs.takeTexts();
    dialogs.askAnswers.push_back(Answer::Yes);
    design->button("btRecordNext")->click();
    EXPECT_EQ(dialogs.takeTexts(), (Msgs{kAsk, "这个样子可没法玩，有点不对吧？"}));
    EXPECT_EQ(design->recordNo(), 1);
    EXPECT_EQ(readFile(file("set.box")), levelBytes(three));

    // Nothing changed, nothing asked; a stored design is not asked about either.
    dialogs.askAnswers.push_back(Answer::No);
    design->btRecordNextClick();
    dialogs.takeTexts();
    design->btRecordNextClick();
    put(kBox, 40);
    design->btRecordSaveClick();
    dialogs.takeTexts();
    design->btRecordPreClick();
    design->close();
    EXPECT_EQ(dialogs.takeTexts(), Msgs{});
    EXPECT_FALSE(design->isVisible());
}

// A write that fails part way (a full disk, a file size limit) leaves the
// level set as it was, whatever command was writing it.
TEST_F(DesignTest, AFailedWriteLeavesTheLevelSetWhole) {
    const std::vector<TMazeData> three = {numbered(1), numbered(2), numbered(3)};
    struct Command {
        const char* name;
        std::function<void()> run;
        std::string file;
    };
    const Command commands[] = {
        {"save level 2", [&] { design->button("btRecordSave")->click(); }, "set.box"},
        {"save as level 4",
         [&] {
             dialogs.inputAnswers.push_back("4");
             design->action("recordSaveAs")->trigger();
         },
         "set.box"},
        {"delete level 2",
         [&] {
             dialogs.confirmAnswers.push_back(true);
             design->button("btRecordDelete")->click();
         },
         "set.box"},
        {"copy the set over another",
         [&] {
             dialogs.fileAnswers.push_back(file("copy.box").string());
             design->action("menuFileSaveas")->trigger();
         },
         "copy.box"},
    };
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    for (const Command& c : commands) {
        SCOPED_TRACE(c.name);
        writeLevelSet(file("copy.box"), {numbered(8), numbered(9)});
        openSet(three);
        design->btRecordNextClick();
        put(kBox, 40);
        dialogs.takeTexts();
        const Bytes before = readFile(file(c.file));

        // No file may grow beyond 1000 bytes meanwhile.
        rlimit small = old;
        small.rlim_cur = 1000;
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
        c.run();
        ::setrlimit(RLIMIT_FSIZE, &old);

        const auto shown = dialogs.shown;
        dialogs.takeTexts();
        ASSERT_FALSE(shown.empty());
        EXPECT_EQ(shown.back().kind, Kind::Error);
        EXPECT_NE(shown.back().text.find(c.file), std::string::npos) << shown.back().text;
        EXPECT_EQ(readFile(file(c.file)), before);
        for (const auto& e : std::filesystem::directory_iterator(dir.path))
            EXPECT_NE(e.path().filename().string()[0], '.') << "left behind: " << e.path();
    }
    std::signal(SIGXFSZ, oldHandler);
    // With room again the same save goes through.
    design->button("btRecordSave")->click();
    EXPECT_EQ(dialogs.takeTexts(), Msgs{"将设计保存到了第2关！"});
}

TEST_F(DesignTest, TheSurfaceCoversTheGridAndTheWindowNotTheScreen) {
    drawRoom();
    const auto coversJustThat = [&] {
        const QSize grid(kCols * design->cellSize() + 1, kRows * design->cellSize() + 1);
        return design->image().size() == design->surface()->size().expandedTo(grid);
    };
    EXPECT_TRUE(coversJustThat());
    design->showNormal();
    for (const int cell : {12, 20, 16}) {
        SCOPED_TRACE(cell);
        design->resize(34 * cell + 8, 22 * cell + 46 + design->toolBar()->height());
        QApplication::processEvents();
        EXPECT_TRUE(coversJustThat());
        EXPECT_EQ(cellPicture(0), tilePicture(kWall)); // drawn again on the new surface
    }
}

} // namespace
} // namespace sokoban::testing

#include "../game/test_support.h"
#include "../worded_dialogs.h"
#include "storage/level_set.h"
#include "ui/main/main_form.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

namespace sokoban::testing {
namespace {

class MainFormTest : public ::testing::Test {
  protected:
    TempDir dir;
    WordedDialogs dialogs;
    std::unique_ptr<TMainForm> form;

    void SetUp() override {
        writeLevelSet(dir.path / "game.box", {makeLevel({"######", "#@ $.#", "######"}, 5, 6),
                                              makeLevel({"#####", "#@$.#", "#####"})});
    }
    void start(QStringList args = {"sokoban"}) {
        MainFormServices services;
        services.dialogs = &dialogs;
        form = std::make_unique<TMainForm>(dir.path, args, services);
        form->FormCreate();
        form->show();
        QApplication::setActiveWindow(form.get());
        (void)QTest::qWaitForWindowExposed(form.get());
        form->boardImage()->setFocus();
    }
    // The colour in the middle of a board cell on the picture.
    QRgb cellColour(int cell, int dx = 0, int dy = 0) {
        const auto& l = form->model().layout();
        const int x = (cell % kCols + l.originCol) * l.cellSize + l.cellSize / 2 + dx;
        const int y = (cell / kCols + l.originRow) * l.cellSize + l.cellSize / 2 + dy;
        return form->painter().image().pixel(x, y);
    }
    void TearDown() override {
        if (const char* shot = std::getenv("SOKOBAN_SCREENSHOT"); shot && form) {
            form->timer1().stop();
            form->Timer1Timer();
            form->grab().save(QString(shot) + "/" +
                              ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                              ".png");
        }
        form.reset();
    }
};

TEST_F(MainFormTest, StartsOnTheFirstLevelOfTheDefaultSet) {
    start();
    EXPECT_EQ(form->windowTitle().toStdString(), "推箱子      默认关卡  第：1 关");
    EXPECT_EQ(form->statusPanel(0)->text().toStdString(), "当前关卡号：1 / 2");
    EXPECT_EQ(form->statusPanel(1)->text().toStdString(), "移动:0   ★   最佳移动：无");
    EXPECT_EQ(form->statusPanel(2)->text().toStdString(), "推动:0   ★   最佳推动：无");
    EXPECT_EQ(form->statusPanel(0)->width(), 140);
    EXPECT_EQ(form->statusPanel(1)->width(), 185);
    EXPECT_TRUE(form->action("mselectgame1")->isChecked());
    EXPECT_FALSE(form->action("M1")->isEnabled());
    EXPECT_EQ(readFile(dir.path / "game.var").size(), 36u);
    EXPECT_TRUE(std::filesystem::exists(undoFile(dir.path).path()));
    EXPECT_EQ(form->button("tbUndo")->size(), QSize(43, 35));

    // The board: the normalised level drawn in face 10 with whole-cell centring.
    const auto& model = form->model();
    EXPECT_EQ(model.mazeWidth(), 6);
    EXPECT_EQ(model.manPos(), kCols + 1);
    EXPECT_GT(model.layout().cellSize, 0);
    EXPECT_EQ(cellColour(0), form->painter().tiles[1].pixel(15, 15));
    EXPECT_EQ(cellColour(kCols + 4), form->painter().tiles[3].pixel(15, 15));
}

TEST_F(MainFormTest, ArrowKeysMoveTheWorkerOnTheBoard) {
    start();
    auto& model = form->model();
    const int before = model.manPos();
    QTest::keyClick(form->boardImage(), Qt::Key_Right);
    EXPECT_EQ(model.manPos(), before + 1);
    EXPECT_EQ(form->statusPanel(1)->text().toStdString(), "移动:1   ★   最佳移动：无");
    // The cell left behind shows plain floor again.
    EXPECT_EQ(cellColour(before, -10, -10), form->painter().tiles[2].pixel(5, 5));
    // The push solves level 1 and moves on to level 2.
    QTest::keyClick(form->boardImage(), Qt::Key_Right);
    EXPECT_EQ(dialogs.takeTexts().front(), "恭喜你通过第1关！");
    EXPECT_EQ(model.curLevel(), 2);
    EXPECT_EQ(form->windowTitle().toStdString(), "推箱子      默认关卡  第：2 关");
}

TEST_F(MainFormTest, MenuShortcutsReachTheirHandlers) {
    start();
    auto& model = form->model();
    QTest::keyClick(form->boardImage(), Qt::Key_Down); // a wall: turns only
    QTest::keyClick(form->boardImage(), Qt::Key_Right);
    ASSERT_EQ(model.moveCount(), 1);
    QTest::keyClick(form.get(), Qt::Key_U, Qt::ControlModifier);
    EXPECT_EQ(model.moveCount(), 0);
    QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(dialogs.inputPrompts.back(), "指定关卡|关卡号（1-1）：");
    QTest::keyClick(form.get(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(dialogs.takeTexts(), std::vector<std::string>{});
    // Next is disabled on the highest unlocked level; the hidden key unlocks all.
    QTest::keyClick(form->boardImage(), Qt::Key_F12, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(dialogs.takeTexts(), std::vector<std::string>{"哈哈！你可以玩所有的关了！"});
    QTest::keyClick(form.get(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(model.curLevel(), 2);
    QTest::keyClick(form.get(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(model.curLevel(), 1);
    QTest::keyClick(form->boardImage(), Qt::Key_F12, Qt::ControlModifier);
    EXPECT_TRUE(form->action("M1")->isEnabled());
}

TEST_F(MainFormTest, ClosingWritesTheSettingsAndRemovesTheUndoFile) {
    start();
    form->ChangeFace(3);
    form->ChangeBoy(2);
    form->SelectBack(7);
    form->mShowStatusbarClick();
    EXPECT_FALSE(form->statusBar()->isVisible());
    form->close();
    EXPECT_FALSE(std::filesystem::exists(undoFile(dir.path).path()));
    const auto v = TGameVar::decode(readFile(dir.path / "game.var"));
    EXPECT_EQ(v.faceStyle, 3);
    EXPECT_EQ(v.figureNo, 2);
    EXPECT_EQ(v.backNo, 7);
    EXPECT_EQ(v.hideStatusbar, 1);
    EXPECT_EQ(v.levelSet, 1);
}

TEST_F(MainFormTest, FacesAndViewToggles) {
    start();
    form->ChangeFace(4);
    EXPECT_EQ(cellColour(0), form->painter().tiles[1].pixel(15, 15));
    EXPECT_TRUE(form->action("fengge4")->isChecked());
    EXPECT_FALSE(form->action("fengge10")->isChecked());
    // Background 7 tiles the wall in cell squares that line up with the board.
    form->SelectBack(7);
    const int s = form->model().layout().cellSize;
    EXPECT_EQ(form->painter().image().pixel(s / 2, s / 2), form->painter().tiles[1].pixel(15, 15));
    form->mShowToolBarClick();
    EXPECT_EQ(form->model().settings().hideToolbar, 1);
    EXPECT_FALSE(form->action("mShowToolBar")->isChecked());
    form->mShowToolbarCaptionClick();
    EXPECT_EQ(form->button("tbUndo")->height(), 22);
    EXPECT_EQ(form->model().settings().hideCaptions, 1);
    form->mCustomSizeClick();
    EXPECT_EQ(form->model().settings().fixedSize, 1);
    EXPECT_LE(form->model().layout().cellSize, 30);
}

TEST_F(MainFormTest, ALevelSetFromTheCommandLine) {
    std::filesystem::create_directories(dir.path / "sets");
    writeLevelSet(dir.path / "sets" / "mine.box", {makeLevel({"#####", "#@$.#", "#####"})});
    const QString path = QString::fromStdString((dir.path / "sets" / "mine.box").string());
    start({"sokoban", path});
    EXPECT_EQ(form->windowTitle(), "推箱子      " + path + "  第：1 关");
    EXPECT_TRUE(std::filesystem::exists(dir.path / "sets" / "mine.sav"));
    for (int i = 1; i <= 5; ++i)
        EXPECT_FALSE(form->action(QString("mselectgame%1").arg(i))->isChecked());
}

} // namespace
} // namespace sokoban::testing

namespace sokoban::testing {
namespace {

TEST_F(MainFormTest, AnXsbLevelFromTheCommandLine) {
    const auto path = dir.path / "level.xsb";
    std::ofstream(path, std::ios::binary) << "Title\r\n#####\r\n#@$.#\r\n#####\r\n";
    start({"sokoban", QString::fromStdString(path.string())});
    auto& model = form->model();
    EXPECT_TRUE(model.xsbMode());
    EXPECT_EQ(form->windowTitle().toStdString(), "推箱子      " + path.string());
    EXPECT_EQ(form->statusPanel(0)->text().toStdString(), "当前关卡号： / ");
    EXPECT_EQ(model.mazeWidth(), 5);
    EXPECT_EQ(model.manPos(), 35);
    QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier); // no level set: no question
    form->action("mSave1")->trigger();
    EXPECT_EQ(dialogs.takeTexts(), std::vector<std::string>{"XSB文件游戏，不能保存！"});
    QTest::keyClick(form->boardImage(), Qt::Key_Right);
    EXPECT_EQ(dialogs.takeTexts(), std::vector<std::string>{"哈哈！过关了！"});
    // Retry reads the file again.
    QTest::keyClick(form->boardImage(), Qt::Key_R);
    EXPECT_EQ(model.manPos(), 35);
    EXPECT_FALSE(model.solved());
    EXPECT_FALSE(std::filesystem::exists(dir.path / "game.sav"));
}

} // namespace
} // namespace sokoban::testing

namespace sokoban::testing {
namespace {

class SoundTest : public MainFormTest {
  protected:
    RecordingEffectPlayer effects;
    ScriptedMusicPlayer music;

    void startWithSound() {
        std::ofstream(dir.path / "music1.mid") << "MThd";
        MainFormServices services;
        services.dialogs = &dialogs;
        services.effects = &effects;
        services.music = &music;
        form = std::make_unique<TMainForm>(dir.path, QStringList{"sokoban"}, services);
        form->FormCreate();
        form->show();
        form->boardImage()->setFocus();
    }
};

TEST_F(SoundTest, EffectsFollowTheSwitches) {
    startWithSound();
    QTest::keyClick(form->boardImage(), Qt::Key_Up); // wall
    QTest::keyClick(form->boardImage(), Qt::Key_Right);
    EXPECT_EQ(effects.played, (std::vector<std::string>{"PONG", "MOVE"}));
    form->button("tbSound")->click(); // off
    EXPECT_FALSE(form->action("mSound")->isChecked());
    EXPECT_EQ(form->model().settings().soundFlag, 0);
    QTest::keyClick(form->boardImage(), Qt::Key_Up);
    EXPECT_EQ(effects.played.size(), 2u);
    form->action("mSound")->trigger(); // on again
    EXPECT_TRUE(form->button("tbSound")->isChecked());
    EXPECT_EQ(form->model().settings().soundFlag, 1);
}

TEST_F(SoundTest, MusicStopsResumesAndRepeats) {
    startWithSound();
    EXPECT_EQ(music.calls,
              (std::vector<std::string>{"open " + (dir.path / "music1.mid").string(), "play"}));
    form->button("tbMusic")->click(); // off: stop keeps the position
    EXPECT_FALSE(form->musicOn());
    EXPECT_FALSE(form->action("mMusic")->isChecked());
    EXPECT_EQ(form->model().settings().musicFlag, 0);
    music.deliverNotifications(); // the stop's notice does not restart it
    EXPECT_FALSE(music.isPlaying());
    form->action("mMusic")->trigger(); // on: resumes
    EXPECT_TRUE(form->button("tbMusic")->isChecked());
    EXPECT_TRUE(music.isPlaying());
    EXPECT_FALSE(music.playedFromStart);
    music.finishPiece();
    music.deliverNotifications(); // finished: starts again from the top
    EXPECT_TRUE(music.isPlaying());
    EXPECT_TRUE(music.playedFromStart);
    // A missing piece leaves the current one playing.
    form->model().settings().musicNo = 4;
    const auto calls = music.calls.size();
    form->PlayMusic();
    EXPECT_EQ(music.calls.size(), calls);
}

} // namespace
} // namespace sokoban::testing

namespace sokoban::testing {
namespace {

TEST_F(MainFormTest, MouseClicksStepWalkAndUndo) {
    start();
    auto& model = form->model();
    const auto& l = model.layout();
    auto centre = [&](int cell) {
        return QPoint((cell % kCols + l.originCol) * l.cellSize + l.cellSize / 2,
                      (cell / kCols + l.originRow) * l.cellSize + l.cellSize / 2);
    };
    const int man = model.manPos();
    QTest::mouseClick(form->boardImage(), Qt::LeftButton, {}, centre(man + 1));
    EXPECT_EQ(model.manPos(), man + 1);
    QTest::mouseClick(form->boardImage(), Qt::RightButton, {}, centre(man));
    EXPECT_EQ(model.manPos(), man);
    EXPECT_EQ(model.moveCount(), 0);
    // Hovering over the box next to the worker shows the push arrow. The
    // move is sent to the board itself: QTest would move the shared cursor,
    // which makes no move at all where an earlier test left it already.
    QMouseEvent hover(QEvent::MouseMove, centre(man + 2),
                      form->boardImage()->mapToGlobal(centre(man + 2)), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(form->boardImage(), &hover);
    EXPECT_EQ(model.hoverCell(), man + 2);
}

} // namespace
} // namespace sokoban::testing

namespace sokoban::testing {
namespace {

// The window's size at start and after it was maximised, and its board picture.
class WindowSizeTest : public MainFormTest {
  protected:
    static QRect area() { return QGuiApplication::primaryScreen()->availableGeometry(); }
    // game.var with this window size; none at all for a first start.
    void storeSize(int width, int height) {
        const QSize screen = QGuiApplication::primaryScreen()->size();
        TGameVar v = defaultSettings(screen.width(), screen.height());
        v.windowWidth = static_cast<std::int16_t>(width);
        v.windowHeight = static_cast<std::int16_t>(height);
        const Bytes b = v.encode();
        std::ofstream(dir.path / "game.var", std::ios::binary)
            .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    }
    void create() {
        MainFormServices services;
        services.dialogs = &dialogs;
        form = std::make_unique<TMainForm>(dir.path, QStringList{"sokoban"}, services);
        form->FormCreate();
    }
    void showIt() {
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        QApplication::processEvents();
    }
    // The whole window, frame and status bar included, lies on the free part of the screen.
    void expectOnScreen() {
        EXPECT_TRUE(area().contains(form->frameGeometry()))
            << form->frameGeometry().width() << "x" << form->frameGeometry().height();
        const QRect bar(form->mapToGlobal(form->statusBar()->geometry().topLeft()),
                        form->statusBar()->size());
        EXPECT_TRUE(area().contains(bar));
    }
};

TEST_F(WindowSizeTest, StartsAtItsFinalSizeOnTheFreePartOfTheScreen) {
    const QRect a = area();
    struct Case {
        const char* what;
        QSize stored;   // empty: a first start, no game.var
        QSize expected; // empty: maximised
    } cases[] = {
        {"first start", {}, {}},
        {"left maximised", {a.width() + 100, a.height() + 100}, {}},
        {"as it was left", {700, 500}, {700, 500}},
        {"taller than the screen",
         {a.width() - 100, a.height() + 400},
         {a.width() - 100, a.height() - 44}},
        {"too small to play in", {120, 60}, {640, 480}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(dir.path / "game.var");
        if (!c.stored.isEmpty()) storeSize(c.stored.width(), c.stored.height());
        create();
        // Before the first frame the window already has the size it is shown
        // at: maximised, the whole free area less at most a frame.
        if (c.expected.isEmpty()) {
            EXPECT_TRUE(a.contains(form->geometry()));
            EXPECT_GE(form->width(), a.width() - 8);
            EXPECT_GE(form->height(), a.height() - 44);
        } else {
            EXPECT_EQ(form->size(), c.expected);
        }
        showIt();
        EXPECT_EQ(form->isMaximized(), c.expected.isEmpty());
        if (!c.expected.isEmpty()) {
            EXPECT_EQ(form->size(), c.expected);
        }
        expectOnScreen();
        form.reset();
    }
}

TEST_F(WindowSizeTest, AFirstMaximisedWindowComesBackAtAUsableSize) {
    create();
    showIt();
    ASSERT_TRUE(form->isMaximized());
    // As a window manager does: the window gets back the size it had before
    // it was maximised.
    const QRect before = form->normalGeometry();
    form->showNormal();
    form->setGeometry(before);
    const QRect a = area();
    const auto usable = [&] {
        return !form->isMaximized() && a.contains(form->frameGeometry()) && form->width() >= 640 &&
               form->height() >= 480 && form->width() < a.width() && form->height() < a.height();
    };
    EXPECT_TRUE(QTest::qWaitFor(usable, 10000)) << form->width() << "x" << form->height();
    expectOnScreen();
    // The whole board, with cells one can click.
    EXPECT_GE(form->model().layout().cellSize, 10);
}

TEST_F(WindowSizeTest, TheBoardPictureCoversTheBoardAreaNotTheScreen) {
    storeSize(660, 500);
    create();
    showIt();
    const auto boardArea = [&] { return form->centralWidget()->size(); };
    EXPECT_EQ(form->painter().image().size(), boardArea());
    EXPECT_EQ(form->boardImage()->size(), boardArea());
    // It grows with the window and still shows the whole board.
    for (const QSize size : {QSize(760, 560), QSize(680, 520)}) {
        form->resize(size);
        QApplication::processEvents();
        EXPECT_EQ(form->painter().image().size(), boardArea());
        EXPECT_EQ(form->boardImage()->size(), boardArea());
        const auto& l = form->model().layout();
        const int man = form->model().manPos();
        EXPECT_NE(form->painter().image().pixel(
                      (man % kCols + l.originCol) * l.cellSize + l.cellSize / 2,
                      (man / kCols + l.originRow) * l.cellSize + l.cellSize / 2),
                  qRgb(0, 0, 0));
    }
}

// Files handed over by a later start of the game.
TEST_F(MainFormTest, AFileFromALaterStartIsOpenedLikeOneChosenFromTheMenu) {
    start();
    std::filesystem::create_directories(dir.path / "sets");
    writeLevelSet(dir.path / "sets" / "mine.box", {makeLevel({"#####", "#@$.#", "#####"})});
    std::ofstream(dir.path / "sets" / "one.xsb", std::ios::binary) << "#####\n#@$.#\n#####\n";
    std::ofstream(dir.path / "sets" / "notes.doc") << "not a level";
    const auto at = [&](const char* name) { return (dir.path / "sets" / name).string(); };
    const std::string builtIn = form->windowTitle().toStdString();
    struct Case {
        std::string file;
        std::string title; // what the window shows afterwards
        std::vector<std::string> messages;
    } cases[] = {
        {at("missing.box"), builtIn, {"要读取的文件不存在！"}},
        {at("notes.doc"), builtIn, {}},
        {at("mine.box"), "推箱子      " + at("mine.box") + "  第：1 关", {}},
        {at("one.xsb"), "推箱子      " + at("one.xsb"), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        form->openHandedOver(c.file);
        EXPECT_EQ(form->windowTitle().toStdString(), c.title);
        EXPECT_EQ(dialogs.takeTexts(), c.messages);
    }
    EXPECT_TRUE(std::filesystem::exists(dir.path / "sets" / "mine.sav"));
    EXPECT_TRUE(form->model().xsbMode());
    for (int i = 1; i <= 5; ++i)
        EXPECT_FALSE(form->action(QString("mselectgame%1").arg(i))->isChecked());
}

TEST_F(MainFormTest, AFileFromALaterStartWaitsForTheOpenDialog) {
    start();
    writeLevelSet(dir.path / "mine.box", {makeLevel({"#####", "#@$.#", "#####"})});
    const std::string before = form->windowTitle().toStdString();
    QDialog open(form.get());
    open.setModal(true);
    open.show();
    form->openHandedOver((dir.path / "mine.box").string());
    QTest::qWait(400);
    EXPECT_EQ(form->windowTitle().toStdString(), before);
    open.close();
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return form->windowTitle().toStdString() != before; }, 10000));
    EXPECT_EQ(form->model().gameFile(), (dir.path / "mine.box").string());
}

TEST_F(MainFormTest, ALaterStartBringsAMinimisedGameBack) {
    start();
    form->showMinimized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->isMinimized(); }, 10000));
    form->openHandedOver("");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form->isMinimized() && form->isVisible(); }, 10000));
}

} // namespace
} // namespace sokoban::testing

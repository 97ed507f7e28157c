// The main window as the player sees it: the board fitted to the real window,
// drawn whole (worker included) after every full redraw, nothing left of an old
// board, the window size kept between runs, readable status panels in a narrow
// window, the window's keys after a menu, and an error at closing that waits.
#include "../game/test_support.h"
#include "../worded_dialogs.h"
#include "storage/level_set.h"
#include "ui/main/main_form.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <gtest/gtest.h>

namespace sokoban::testing {
namespace {

// A level filling the whole 22 x 34 grid.
TMazeData fullLevel() {
    std::vector<std::string> rows(22, "#" + std::string(32, ' ') + "#");
    rows.front() = rows.back() = std::string(34, '#');
    rows[1] = "#@ $." + std::string(28, ' ') + "#";
    rows[20] = "#" + std::string(30, ' ') + "$.#";
    return makeLevel(rows);
}

class LookTest : public ::testing::Test {
  protected:
    TempDir dir;
    WordedDialogs dialogs;
    std::unique_ptr<TMainForm> form;

    void SetUp() override { writeLevelSet(dir.path / "game.box", {fullLevel()}); }

    void writeSettings(const std::function<void(TGameVar&)>& change) {
        TGameVar v = defaultSettings(screen().width(), screen().height());
        change(v);
        const Bytes b = v.encode();
        std::ofstream(dir.path / "game.var", std::ios::binary)
            .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    }
    static QSize screen() { return QGuiApplication::primaryScreen()->size(); }
    TGameVar storedSettings() { return TGameVar::decode(readFile(dir.path / "game.var")); }

    void start(Dialogs* with = nullptr) {
        MainFormServices services;
        services.dialogs = with ? with : &dialogs;
        form = std::make_unique<TMainForm>(dir.path, QStringList{"sokoban"}, services);
        form->FormCreate();
        form->show();
        QApplication::setActiveWindow(form.get());
        (void)QTest::qWaitForWindowExposed(form.get());
        // Blinks would change the worker between two pictures of the board.
        form->timer1().stop();
        QApplication::processEvents();
        form->boardImage()->setFocus();
    }
    void shot(const QString& name) {
        if (const char* to = std::getenv("SOKOBAN_SCREENSHOT"))
            form->grab().save(QString(to) + "/" + name + ".png");
    }
    QRect cellRect(int i) const {
        const auto& l = form->model().layout();
        return QRect((i % kCols + l.originCol) * l.cellSize, (i / kCols + l.originRow) * l.cellSize,
                     l.cellSize, l.cellSize);
    }
    // What the player sees of the board picture.
    QImage visibleBoard() const {
        return form->painter().image().copy(QRect(QPoint(0, 0), form->centralWidget()->size()));
    }
    // The worker's cell differs from the bare tile of that cell.
    bool workerDrawn() const {
        const auto& m = form->model();
        const QRect r = cellRect(m.manPos());
        const QImage tile = form->painter().tiles[m.cells()[std::size_t(m.manPos())]].scaled(
            r.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
        const QImage cell = form->painter().image().copy(r);
        int differing = 0;
        for (int y = 0; y < r.height(); ++y)
            for (int x = 0; x < r.width(); ++x)
                differing += cell.pixel(x, y) != tile.pixel(x, y);
        return differing > r.width() * r.height() / 10;
    }
    void TearDown() override { form.reset(); }
};

TEST_F(LookTest, TheFirstBoardIsTheBoardARetryDraws) {
    writeSettings([](TGameVar& v) {
        v.windowWidth = 800;
        v.windowHeight = 600;
    });
    start();
    const BoardLayout first = form->model().layout();
    const QImage firstPicture = visibleBoard();
    shot("full_board_800x600");
    // The whole board lies inside the area between the tool bar and the status bar.
    const QRect area(QPoint(0, 0), form->centralWidget()->size());
    EXPECT_TRUE(area.contains(cellRect(0).united(cellRect(kCells - 1))));
    QTest::keyClick(form->boardImage(), Qt::Key_R);
    const BoardLayout retried = form->model().layout();
    EXPECT_EQ(first.cellSize, retried.cellSize);
    EXPECT_EQ(first.originRow, retried.originRow);
    EXPECT_EQ(first.originCol, retried.originCol);
    EXPECT_EQ(firstPicture, visibleBoard());
    // Hiding the tool bar refits the board to the larger area at once.
    form->mShowToolBarClick();
    EXPECT_TRUE(QRect(QPoint(0, 0), form->centralWidget()->size())
                    .contains(cellRect(0).united(cellRect(kCells - 1))));
    EXPECT_GE(form->model().layout().cellSize, first.cellSize);
}

TEST_F(LookTest, EveryFullRedrawShowsTheWorker) {
    start();
    EXPECT_TRUE(workerDrawn()) << "first board";
    struct Step {
        const char* what;
        std::function<void()> run;
    } steps[] = {
        {"step", [&] { QTest::keyClick(form->boardImage(), Qt::Key_Right); }},
        {"push", [&] { QTest::keyClick(form->boardImage(), Qt::Key_Right); }},
        {"undo", [&] { QTest::keyClick(form.get(), Qt::Key_U, Qt::ControlModifier); }},
        {"retry", [&] { QTest::keyClick(form->boardImage(), Qt::Key_R); }},
        {"face", [&] { form->ChangeFace(3); }},
        {"background", [&] { form->SelectBack(2); }},
        {"window size", [&] { form->resize(640, 480); }},
        // the custom face window's demonstration paints the board this way
        {"skin chooser",
         [&] {
             form->painter().LoadFace(2, 5, 9);
             form->painter().DrawBoard();
         }},
    };
    for (const auto& s : steps) {
        s.run();
        QApplication::processEvents();
        EXPECT_TRUE(workerDrawn()) << s.what;
    }
}

TEST_F(LookTest, ACentredBackgroundIsCentredInTheWindowAndNoOldBoardStays) {
    writeSettings([](TGameVar& v) {
        v.backStyle = 1;
        v.windowWidth = 800;
        v.windowHeight = 600;
    });
    // A small board, so that the picture shows round it.
    writeLevelSet(dir.path / "game.box", {makeLevel({"#######", "#@ $ .#", "#######"})});
    // A picture file larger than the board, in one colour the tiles do not use.
    const auto file = dir.path / "back.bmp";
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(qRgb(255, 0, 255));
    ASSERT_TRUE(picture.save(QString::fromStdString(file.string()), "BMP"));
    start();
    dialogs.fileAnswers.push_back(file.string());
    form->mLoadBackClick();

    for (const auto& change : std::vector<std::function<void()>>{
             [&] { form->resize(520, 420); },    // smaller window
             [&] { form->mCustomSizeClick(); },  // cells of at most 30 pixels
             [&] { form->mShowToolBarClick(); }, // a taller board area
         }) {
        change();
        QApplication::processEvents();
        const QImage shown = visibleBoard();
        // Where the picture shows, and that it is centred in the visible area.
        QRect seen;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                if (shown.pixel(x, y) == qRgb(255, 0, 255)) seen |= QRect(x, y, 1, 1);
        const QRect expected(QPoint((shown.width() - 300) / 2, (shown.height() - 200) / 2),
                             QSize(300, 200));
        EXPECT_TRUE(expected.contains(seen)) << seen.x() << "," << seen.y();
        // Everything else off the board is black: no cell of an earlier board.
        QImage board(shown.size(), QImage::Format_RGB32);
        board.fill(Qt::black);
        int stray = 0;
        const auto& cells = form->model().cells();
        std::vector<QRect> rects;
        for (int i = 0; i < kCells; ++i)
            if (cells[std::size_t(i)] != kOutside) rects.push_back(cellRect(i));
        for (int y = 0; y < shown.height(); y += 3)
            for (int x = 0; x < shown.width(); x += 3) {
                if (expected.contains(x, y)) continue;
                if (std::any_of(rects.begin(), rects.end(),
                                [&](const QRect& r) { return r.contains(x, y); }))
                    continue;
                stray += shown.pixel(x, y) != qRgb(0, 0, 0);
            }
        EXPECT_EQ(stray, 0);
    }
    shot("centred_background");
}

TEST_F(LookTest, TheWindowStartsAtTheSizeItWasLeftAt) {
    writeSettings([](TGameVar& v) {
        v.windowWidth = 640;
        v.windowHeight = 480;
    });
    for (int run = 1; run <= 2; ++run) {
        SCOPED_TRACE(run);
        start();
        EXPECT_EQ(form->size(), QSize(640, 480));
        form->close();
        form.reset();
        EXPECT_EQ(storedSettings().windowWidth, 640);
        EXPECT_EQ(storedSettings().windowHeight, 480);
    }
    // Left maximised, it starts maximised again.
    writeSettings([](TGameVar&) {});
    start();
    EXPECT_TRUE(form->isMaximized());
    form->close();
    form.reset();
    EXPECT_EQ(storedSettings().windowWidth, screen().width());
    EXPECT_EQ(storedSettings().windowHeight, screen().height());
}

TEST_F(LookTest, EveryStatusPanelStaysReadableInANarrowWindow) {
    start();
    QTest::keyClick(form->boardImage(), Qt::Key_Right);
    for (const int width : {800, 560, 500, 420, 340}) {
        SCOPED_TRACE(width);
        form->resize(width, 400);
        QApplication::processEvents();
        int right = -1;
        for (int i = 0; i < 4; ++i) {
            StatusPanel* p = form->statusPanel(i);
            const QString shown = p->shownText();
            // The text fits its panel, and the panels lie side by side.
            EXPECT_LE(p->fontMetrics().horizontalAdvance(shown), p->contentsRect().width()) << i;
            EXPECT_GE(p->geometry().left(), right) << i;
            right = p->geometry().right();
            EXPECT_LE(right, form->statusBar()->width()) << i;
        }
        // The counts themselves are still there.
        if (width >= 420) {
            EXPECT_TRUE(form->statusPanel(1)->shownText().contains("移动:1")) << width;
            EXPECT_TRUE(form->statusPanel(1)->shownText().contains("无")) << width;
            EXPECT_TRUE(form->statusPanel(2)->shownText().contains("推动:0")) << width;
            EXPECT_TRUE(form->statusPanel(0)->shownText().contains("1 / 1") ||
                        form->statusPanel(0)->shownText().contains("1/1"))
                << width;
        }
        if (width == 500) shot("narrow_500");
    }
    form->resize(800, 600);
    QApplication::processEvents();
    EXPECT_EQ(form->statusPanel(0)->width(), 140);
    EXPECT_EQ(form->statusPanel(1)->width(), 185);
    EXPECT_EQ(form->statusPanel(2)->width(), 185);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(form->statusPanel(i)->shownText(), form->statusPanel(i)->text());
    // The model's texts are never shortened.
    EXPECT_EQ(form->statusPanel(1)->text().toStdString(), "移动:1   ★   最佳移动：无");
}

TEST_F(LookTest, TheWindowsKeysWorkAfterAMenuWasClosedWithEsc) {
    start();
    QMenuBar* bar = form->menuBar();
    QAction* game = bar->actions().front();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(game).center());
    QWidget* popup = QApplication::activePopupWidget();
    ASSERT_NE(popup, nullptr);
    QTest::keyClick(popup, Qt::Key_Escape);
    QTest::qWait(20);
    QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : form.get();
    QTest::keyClick(focus, Qt::Key_F12, Qt::ControlModifier);
    EXPECT_TRUE(form->action("M1")->isEnabled());
    const int man = form->model().manPos();
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : form.get(),
                    Qt::Key_Right);
    EXPECT_EQ(form->model().manPos(), man + 1);

    // With nothing focused at all, the window itself takes the keys.
    form->boardImage()->clearFocus();
    QTest::keyClick(form.get(), Qt::Key_F12, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(dialogs.takeTexts(), std::vector<std::string>{"哈哈！你可以玩所有的关了！"});
}

// A message at closing behaves as a real message box does: it runs its own
// event loop until the player presses OK.
class ModalDialogs : public WordedDialogs {
  public:
    qint64 shownFor = -1;
    using WordedDialogs::message;
    void message(MessageKind kind, const Message& m) override {
        WordedDialogs::message(kind, m);
        QElapsedTimer t;
        t.start();
        QEventLoop loop;
        QTimer::singleShot(300, &loop, &QEventLoop::quit); // the player reads, then OK
        loop.exec();
        shownFor = t.elapsed();
    }
};

TEST_F(LookTest, AnErrorWritingTheSettingsAtCloseWaitsForThePlayer) {
    ModalDialogs modal;
    start(&modal);
    form->quitWhenClosed();
    // A folder in the place of game.var: the settings cannot be written.
    std::filesystem::remove(dir.path / "game.var");
    std::filesystem::create_directories(dir.path / "game.var" / "inside");
    bool gaveUp = false;
    QTimer::singleShot(0, form.get(), [&] { form->close(); });
    QTimer::singleShot(5000, qApp, [&] {
        gaveUp = true;
        QCoreApplication::quit();
    });
    QApplication::exec();
    EXPECT_FALSE(gaveUp) << "the program did not end after the message";
    ASSERT_EQ(modal.shown.size(), 1u);
    EXPECT_EQ(modal.shown[0].kind, MessageKind::Error);
    EXPECT_GE(modal.shownFor, 290) << "the message was closed before the player pressed OK";
}

} // namespace
} // namespace sokoban::testing

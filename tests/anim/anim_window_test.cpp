// Animated moves as the player meets them: every step, push, undo, redo,
// mouse walk and box drag glides and then leaves the board exactly as the
// game draws it with the animation off; whole repaints end a glide at once.
// The glides are timed by the test's own clock, so nothing waits.
#include "../game/test_support.h"
#include "../worded_dialogs.h"
#include "storage/level_set.h"
#include "ui/main/main_form.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace sokoban::testing {
namespace {

const std::vector<std::string> kRows = {
    "##########", //
    "#        #", //
    "# @ $  . #", //
    "#    $.  #", //
    "#        #", //
    "##########",
};

class AnimatedMovesTest : public ::testing::Test {
  protected:
    TempDir dir;
    WordedDialogs dialogs;
    std::unique_ptr<TMainForm> form;
    std::int64_t now = 0;

    void TearDown() override { form.reset(); }

    // A fresh game on the level; animation on or off in assist.var, shortest walks on.
    void start(bool animate) {
        form.reset();
        writeLevelSet(dir.path / "game.box", {makeLevel(kRows)});
        std::ofstream(dir.path / "assist.var", std::ios::binary | std::ios::trunc)
            << std::string("\x00\x01\x0a\x00", 4) << char(animate ? 1 : 0);
        MainFormServices services;
        services.dialogs = &dialogs;
        form = std::make_unique<TMainForm>(dir.path, QStringList{"sokoban"}, services);
        form->animator().setClock([this] { return now; });
        form->FormCreate();
        form->resize(800, 600);
        form->show();
        QApplication::setActiveWindow(form.get());
        (void)QTest::qWaitForWindowExposed(form.get());
        // Blinks would change the worker between two pictures of the board.
        form->timer1().stop();
        QApplication::processEvents();
        form->boardImage()->setFocus();
        ASSERT_EQ(form->model().playOptions().animate, animate ? 1 : 0);
    }
    int cell(int row, int col) const { return row * form->model().cols() + col; }
    QRect cellRect(int i) const {
        const auto& l = form->model().layout();
        const int cols = form->model().cols();
        return QRect((i % cols + l.originCol) * l.cellSize, (i / cols + l.originRow) * l.cellSize,
                     l.cellSize, l.cellSize);
    }
    QPoint centre(int row, int col) const { return cellRect(cell(row, col)).center(); }
    // The board as the widget paints it, a glide on its way included.
    QImage shown() const { return form->boardImage()->grab().toImage(); }
    // The board picture under the widget, at the screen's pixels.
    QImage picture() const {
        const QImage& all = form->painter().image();
        return all.copy(QRect(QPoint(0, 0), form->boardImage()->size() * all.devicePixelRatio()));
    }
    void key(Qt::Key k) { QTest::keyClick(form->boardImage(), k); }
    // Walks the walking timer would make, one step per tick of the clock.
    void walkOn() {
        while (form->timer2().isActive()) {
            now += 70;
            const int before = form->model().manPos();
            form->model().Timer2Timer();
            const bool glides = form->model().playOptions().animate == 1;
            if (form->model().manPos() != before) {
                EXPECT_EQ(form->animator().running(), glides) << "a step of the walk";
            }
        }
    }
    void endGlide() {
        now += 1000;
        form->animator().advance();
    }
};

TEST_F(AnimatedMovesTest, EveryGlideEndsOnTheDrawingWithoutAnimation) {
    struct Action {
        const char* what;
        bool glides; // a glide is on its way once the action is done
        std::function<void()> run;
    };
    const Action actions[] = {
        {"step", true, [&] { key(Qt::Key_Right); }},
        {"push", true, [&] { key(Qt::Key_Right); }},
        {"undo one move", true, [&] { form->findChild<QAction*>("mUndoMove")->trigger(); }},
        {"redo", true, [&] { form->findChild<QAction*>("mRedo")->trigger(); }},
        {"mouse walk", true,
         [&] {
             QTest::mouseClick(form->boardImage(), Qt::LeftButton, {}, centre(4, 1));
             walkOn();
         }},
        {"box drag", true,
         [&] {
             QTest::mousePress(form->boardImage(), Qt::LeftButton, {}, centre(2, 5));
             QTest::mouseRelease(form->boardImage(), Qt::LeftButton, {}, centre(2, 7));
             walkOn();
         }},
        {"held keys", true,
         [&] {
             for (int i = 0; i < 3; ++i) {
                 now += 20;
                 key(Qt::Key_Left);
             }
         }},
        {"push undo", false, [&] { form->button("tbUndo")->click(); }},
        {"up to the wall and against it", false,
         [&] {
             for (std::size_t i = 0; i < kRows.size(); ++i) {
                 now += 1000;
                 form->animator().advance();
                 key(Qt::Key_Up);
             }
         }},
    };

    start(false);
    std::vector<QImage> still{shown()};
    std::vector<int> workerAt{form->model().manPos()};
    for (const Action& a : actions) {
        a.run();
        EXPECT_FALSE(form->animator().running()) << a.what;
        still.push_back(shown());
        workerAt.push_back(form->model().manPos());
    }

    start(true);
    ASSERT_EQ(shown(), still[0]);
    for (std::size_t k = 0; k < std::size(actions); ++k) {
        const Action& a = actions[k];
        SCOPED_TRACE(a.what);
        now += 1000; // each action on its own, not part of a walk
        a.run();
        EXPECT_EQ(form->model().manPos(), workerAt[k + 1]);
        EXPECT_EQ(form->animator().running(), a.glides);
        if (k == 0) {
            // The first frame still shows the cell he steps onto as it was.
            const QRect to = cellRect(workerAt[1]);
            EXPECT_EQ(shown().copy(to), still[0].copy(to));
            EXPECT_NE(shown(), still[1]);
        }
        if (const char* to = std::getenv("SOKOBAN_SCREENSHOT"); to && a.glides) {
            // Half-way, to look at.
            now += form->animator().duration() / 2;
            form->animator().advance();
            shown().save(QString("%1/glide_%2.png").arg(to).arg(k));
        }
        endGlide();
        EXPECT_FALSE(form->animator().running());
        EXPECT_EQ(shown(), still[k + 1]);
    }
}

TEST_F(AnimatedMovesTest, WholeRepaintsEndAGlideAtOnce) {
    start(true);
    const struct {
        const char* what;
        std::function<void()> run;
    } changes[] = {
        {"retry", [&] { key(Qt::Key_R); }},
        {"window size", [&] { form->resize(700, 520); }},
        {"face", [&] { form->ChangeFace(3); }},
        {"figure", [&] { form->ChangeBoy(2); }},
        {"background", [&] { form->SelectBack(2); }},
        {"dead squares", [&] { form->findChild<QAction*>("mMarkDead")->trigger(); }},
    };
    bool right = true;
    for (const auto& c : changes) {
        SCOPED_TRACE(c.what);
        now += 1000;
        key(right ? Qt::Key_Right : Qt::Key_Left);
        right = !right;
        ASSERT_TRUE(form->animator().running());
        c.run();
        QApplication::processEvents();
        EXPECT_FALSE(form->animator().running());
        EXPECT_EQ(shown(), picture());
    }
}

TEST_F(AnimatedMovesTest, TheBoardPictureHoldsTheScreensPixelsShownOneToOne) {
    start(true);
    const qreal ratio = form->boardImage()->devicePixelRatioF();
    const QImage& picture = form->painter().image();
    EXPECT_EQ(picture.devicePixelRatio(), ratio);
    EXPECT_EQ(form->painter().size(), form->boardImage()->size());
    EXPECT_EQ(picture.size(), form->boardImage()->size() * ratio);
    // The widget shows the picture pixel for pixel, also half-way through a push.
    const QImage whole = shown();
    EXPECT_EQ(whole.size(), picture.size());
    EXPECT_EQ(whole, picture.copy(QRect(QPoint(0, 0), picture.size())));
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    now += form->animator().duration() / 2;
    form->animator().advance();
    ASSERT_TRUE(form->animator().running());
    const QRect area = form->animator().area();
    const QImage frame = form->animator().frame();
    EXPECT_EQ(frame.size(), area.size() * ratio);
    EXPECT_EQ(shown().copy(QRect(area.topLeft() * ratio, frame.size())),
              frame.convertToFormat(QImage::Format_RGB32));
}

TEST_F(AnimatedMovesTest, OnTheRealTimersAWalkEndsSettledWhereTheModelStands) {
    start(true);
    form->animator().setClock([] {
        static QElapsedTimer t;
        if (!t.isValid()) t.start();
        return static_cast<std::int64_t>(t.elapsed());
    });
    QTest::mouseClick(form->boardImage(), Qt::LeftButton, {}, centre(1, 8));
    EXPECT_TRUE(form->timer2().isActive());
    QElapsedTimer waited;
    waited.start();
    while ((form->timer2().isActive() || form->animator().running()) && waited.elapsed() < 60000)
        QTest::qWait(10);
    EXPECT_EQ(form->model().manPos(), cell(1, 8));
    EXPECT_FALSE(form->animator().running());
    EXPECT_EQ(shown(), picture());
}

} // namespace
} // namespace sokoban::testing

// The animator on a painter with plain coloured tiles: where the worker and
// the box are drawn on their way, how long a step takes alone and in a walk,
// and which steps are no glide at all.
#include "storage/board.h"
#include "ui/view/board_painter.h"
#include "ui/view/move_animator.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace sokoban {
namespace {

constexpr int kSize = 10;
const QColor kFloorColour(90, 90, 90), kTargetColour(30, 30, 200), kBoxColour(150, 90, 20),
    kBoxOnTargetColour(20, 160, 20), kWorkerColour(220, 0, 0);

QImage solid(const QColor& c, int size = kSize) {
    QImage i(size, size, QImage::Format_RGB32);
    i.fill(c);
    return i;
}

class MoveAnimatorTest : public ::testing::Test {
  protected:
    // Floor with a target at column 3 on a grid 8 wide, 2 rows.
    std::vector<std::uint8_t> cells = std::vector<std::uint8_t>(16, kFloor);
    BoardPainter painter;
    std::int64_t now = 1000;
    MoveAnimator animator{painter};
    std::vector<QRect> changed;

    void SetUp() override {
        cells[3] = kTarget;
        painter.tiles[kFloor] = solid(kFloorColour);
        painter.tiles[kTarget] = solid(kTargetColour);
        painter.tiles[kBox] = solid(kBoxColour);
        painter.tiles[kBoxOnTarget] = solid(kBoxOnTargetColour);
        // The whole cell is the figure: black mask, red picture.
        for (int f = 0; f < 8; ++f) {
            painter.manMasks[static_cast<std::size_t>(f)] = solid(Qt::black);
            painter.manImages[static_cast<std::size_t>(f)] = solid(kWorkerColour);
        }
        painter.cells = &cells;
        painter.cols = 8;
        painter.layout = {kSize, 0, 0};
        painter.resize(80, 20);
        animator.setClock([this] { return now; });
        animator.onChanged = [this](const QRect& r) { changed.push_back(r); };
    }
    // The frame's colour at the middle of a board pixel column in row 0.
    QColor at(int x) const {
        const QPoint p(x - animator.area().left(), kSize / 2 - animator.area().top());
        return animator.frame().pixelColor(p);
    }
    void after(int ms) {
        now += ms;
        animator.advance();
    }
};

TEST_F(MoveAnimatorTest, AStepAloneStartsAtTheOldCellAndSettlesOnTheNew) {
    // Worker from column 0 to 1: nothing of him on the new cell at first.
    animator.start({0, 1, -1, -1, 6});
    ASSERT_TRUE(animator.running());
    EXPECT_EQ(animator.area(), QRect(0, 0, 20, 10));
    EXPECT_EQ(animator.duration(), MoveAnimator::kStepMs);
    EXPECT_EQ(at(5), kWorkerColour);
    EXPECT_EQ(at(15), kFloorColour);
    EXPECT_EQ(changed.size(), 1u);
    // Eased: more than half the way at half the time, never past the cell.
    after(MoveAnimator::kStepMs / 2);
    EXPECT_GT(animator.progress(), 0.5);
    EXPECT_LT(animator.progress(), 1.0);
    EXPECT_EQ(at(1), kFloorColour);
    EXPECT_EQ(at(18), kWorkerColour);
    after(MoveAnimator::kStepMs / 2);
    EXPECT_FALSE(animator.running());
    EXPECT_TRUE(animator.frame().isNull());
    // The last change asks for the area once more, now without the frame.
    EXPECT_EQ(changed.back(), QRect(0, 0, 20, 10));
}

TEST_F(MoveAnimatorTest, APushedBoxKeepsTheLookOfTheCellItIsMostlyOver) {
    // The model has moved: worker 1 -> 2, box 2 -> 3 (a target).
    cells[3] = kBoxOnTarget;
    animator.start({1, 2, 2, 3, 6});
    EXPECT_EQ(animator.area(), QRect(10, 0, 30, 10));
    const struct {
        int ms;
        int boxX;   // a pixel column inside the box
        QColor box; // its colour there
        int floorX; // a column the pieces have left
        QColor floor;
    } frames[] = {
        {0, 25, kBoxColour, 39, kTargetColour},
        {10, 31, kBoxColour, 11, kFloorColour},
        {60, 38, kBoxOnTargetColour, 11, kFloorColour},
    };
    for (const auto& f : frames) {
        now = 1000 + f.ms;
        animator.advance();
        ASSERT_TRUE(animator.running()) << f.ms;
        EXPECT_EQ(at(f.boxX), f.box) << f.ms;
        EXPECT_EQ(at(f.floorX), f.floor) << f.ms;
    }
}

TEST_F(MoveAnimatorTest, StepsThatFollowFastTakeTheTimeBetweenThemAndNoneIsDropped) {
    const struct {
        int gap;           // since the last step began
        int duration;      // of the new step
        bool stillRunning; // the last step at the moment the new one came
    } steps[] = {
        {0, MoveAnimator::kStepMs, false},
        {70, 70, true},  // a walk at the walking timer's pace
        {70, 70, false}, // exactly as the step before ends
        {20, 20, true},  // held keys
        {5, MoveAnimator::kShortestMs, true},
        {MoveAnimator::kWalkGapMs + 1, MoveAnimator::kStepMs, false},
    };
    int cell = 0;
    for (const auto& s : steps) {
        now += s.gap;
        animator.advance();
        EXPECT_EQ(animator.running(), s.stillRunning) << s.gap;
        const std::size_t before = changed.size();
        animator.start({cell, cell + 1, -1, -1, 6});
        ++cell;
        EXPECT_TRUE(animator.running()) << s.gap;
        EXPECT_EQ(animator.duration(), s.duration) << s.gap;
        // A step cut short is drawn away before the next is drawn.
        EXPECT_EQ(changed.size(), before + (s.stillRunning ? 2 : 1)) << s.gap;
        EXPECT_EQ(at(cell * kSize - 5), kWorkerColour) << s.gap;
    }
}

TEST_F(MoveAnimatorTest, TurnsJumpsAndUnfittedBoardsStartNothing) {
    const struct {
        MoveAnimator::Step step;
        const char* what;
    } cases[] = {
        {{1, 1, -1, -1, 0}, "a turn on the spot"},
        {{0, 2, -1, -1, 0}, "two cells at once"},
        {{7, 8, -1, -1, 0}, "from a row's end to the next row's start"},
        {{0, 8, 8, 16, 0}, "a box pushed off the board"},
        {{-1, 0, -1, -1, 0}, "from nowhere"},
        {{0, 1, 1, 3, 0}, "a box that jumps"},
    };
    for (const auto& c : cases) {
        animator.start(c.step);
        EXPECT_FALSE(animator.running()) << c.what;
    }
    painter.layout.cellSize = 0;
    animator.start({0, 1, -1, -1, 0});
    EXPECT_FALSE(animator.running()) << "no board fitted";
    EXPECT_TRUE(changed.empty());
}

TEST_F(MoveAnimatorTest, FinishEndsAtOnceAndTwiceIsHarmless) {
    animator.start({0, 1, -1, -1, 0});
    animator.finish();
    EXPECT_FALSE(animator.running());
    EXPECT_EQ(animator.progress(), 1.0);
    animator.finish();
    EXPECT_EQ(changed.size(), 2u);
    // A painter closing down draws nothing more.
    painter.releasePictures();
    animator.start({0, 1, -1, -1, 0});
    EXPECT_FALSE(animator.running());
}

} // namespace
} // namespace sokoban

#include "storage/board.h"
#include "ui/pictures/pictures.h"
#include "ui/view/board_painter.h"
#include "ui/view/face_random.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

namespace sokoban {
namespace {

TEST(FitBoard, WholeCellsCentredNeverBelowOneAndCappedWhenFixed) {
    struct Case {
        int ww, wh, bar, w, h;
        bool fixed;
        BoardLayout want;
    } cases[] = {
        // (1000-8)/10 = 99, (700-40-65)/5 = 119 -> 99; rows: |595-495|/99/2 = 0
        {1000, 700, 40, 10, 5, false, {99, 0, 0}},
        {1000, 700, 40, 10, 5, true, {30, 7, 11}},
        // an all-outside board is one cell as large as the window allows
        {800, 600, 40, 1, 1, false, {495, 0, 0}},
        {800, 600, 40, 1, 1, true, {30, 7, 12}},
        // too small a window: one pixel per cell, never 0
        {100, 80, 40, 34, 22, false, {1, 23, 29}},
        {50, 50, 40, 34, 22, true, {1, 38, 4}},
    };
    for (const auto& c : cases) {
        const BoardLayout l = fitBoard(c.ww, c.wh, c.bar, c.w, c.h, c.fixed);
        EXPECT_EQ(l.cellSize, c.want.cellSize) << c.ww << "x" << c.wh;
        EXPECT_EQ(l.originRow, c.want.originRow) << c.ww << "x" << c.wh;
        EXPECT_EQ(l.originCol, c.want.originCol) << c.ww << "x" << c.wh;
    }
}

TEST(Board, BoundingBoxAndNormalising) {
    Cells cells{};
    const BoundingBox empty = boundingBox(cells);
    EXPECT_EQ(empty.width(), 1);
    EXPECT_EQ(empty.height(), 1);
    // A level in the lower right corner moves to the top-left unchanged.
    cells[20 * kCols + 30] = kWall;
    cells[21 * kCols + 33] = kBox;
    const BoundingBox box = boundingBox(cells);
    EXPECT_EQ(box.width(), 4);
    EXPECT_EQ(box.height(), 2);
    EXPECT_EQ(normaliseBoard(cells, box), 20 * kCols + 30);
    EXPECT_EQ(cells[0], kWall);
    EXPECT_EQ(cells[kCols + 3], kBox);
    EXPECT_EQ(std::count(cells.begin(), cells.end(), 0), kCells - 2);
    EXPECT_EQ(normaliseBoard(cells, boundingBox(cells)), 0);
}

TEST(FaceRandom, EveryRunDrawsTheSameFacesStartingWithOne) {
    FaceRandom a, b;
    EXPECT_EQ(a.face(), 1);
    for (int i = 0; i < 50; ++i) {
        const int f = a.face();
        EXPECT_GE(f, 1);
        EXPECT_LE(f, 10);
        if (i == 0) {
            EXPECT_EQ(b.face(), 1);
        }
        EXPECT_EQ(f, b.face());
    }
}

TEST(Figures, FrameNamesPerFigure) {
    using A = std::array<QString, 8>;
    EXPECT_EQ(BoardPainter::figureFrames(1),
              (A{"1up1", "1up2", "1down1", "1down2", "1left1", "1left2", "1right1", "1right2"}));
    EXPECT_EQ(BoardPainter::figureFrames(4),
              (A{"4down1", "4down2", "4down1", "4down2", "4down1", "4down2", "4down1", "4down2"}));
    EXPECT_EQ(BoardPainter::figureFrames(5),
              (A{"5up1", "5up1", "5down1", "5down1", "5left1", "5left1", "5right1", "5right1"}));
    for (int n = 1; n <= 6; ++n)
        for (const auto& name : BoardPainter::figureFrames(n)) {
            EXPECT_FALSE(picture(name).isNull()) << name.toStdString();
            EXPECT_FALSE(picture(name + "mask").isNull()) << name.toStdString();
        }
}

class PainterTest : public ::testing::Test {
  protected:
    BoardPainter painter;
    std::vector<std::uint8_t> cells = std::vector<std::uint8_t>(kCells);
    void SetUp() override {
        painter.resize(340, 220);
        painter.LoadFace(10, 10, 10);
        painter.LoadFigure(1);
        painter.LoadBack(6);
        painter.cells = &cells;
        painter.layout = {10, 0, 0};
        cells[0] = kWall;
        cells[1] = kFloor;
    }
};

TEST_F(PainterTest, TheWorkerIsTheTileMaskedAndInverted) {
    painter.manPos = 1;
    painter.PaintAll();
    painter.layout = {30, 0, 0};
    painter.DrawMan(2);
    const QImage& tile = painter.tiles[2];
    const QImage& mask = painter.manMasks[2];
    const QImage& frame = painter.manImages[2];
    for (int y = 0; y < 30; y += 3)
        for (int x = 0; x < 30; x += 3) {
            const QRgb want =
                ((tile.pixel(x, y) & mask.pixel(x, y)) ^ frame.pixel(x, y)) | 0xff000000u;
            ASSERT_EQ(painter.image().pixel(30 + x, y) | 0xff000000u, want) << x << "," << y;
        }
}

TEST_F(PainterTest, BackgroundsCentreStretchAndWallTiling) {
    QImage pic(20, 10, QImage::Format_RGB32);
    pic.fill(qRgb(200, 0, 0));
    painter.FillBlack();
    painter.backStyle = 1;
    painter.DrawBackground(pic);
    EXPECT_EQ(painter.image().pixel(170, 110), qRgb(200, 0, 0));
    EXPECT_EQ(painter.image().pixel(5, 5), qRgb(0, 0, 0));
    painter.backStyle = 3;
    painter.DrawBackground(pic);
    EXPECT_EQ(painter.image().pixel(5, 5), qRgb(200, 0, 0));
    // The wall background lines up with the cells at any cell size.
    painter.backStyle = 2;
    painter.backNo = 7;
    painter.layout = {17, 0, 0};
    painter.DrawBoard();
    const QImage wall = painter.tiles[1].scaled(17, 17);
    EXPECT_EQ(painter.image().pixel(17 * 5 + 3, 17 * 4 + 9), wall.pixel(3, 9));
    EXPECT_EQ(painter.image().pixel(339, 219), wall.pixel(339 % 17, 219 % 17));
}

TEST_F(PainterTest, ACentredPictureIsCentredInTheVisibleArea) {
    QImage pic(20, 10, QImage::Format_RGB32);
    pic.fill(qRgb(200, 0, 0));
    painter.FillBlack();
    painter.backStyle = 1;
    painter.visibleArea = QRect(0, 0, 100, 60);
    painter.DrawBackground(pic);
    EXPECT_EQ(painter.image().pixel(40, 25), qRgb(200, 0, 0));
    EXPECT_EQ(painter.image().pixel(59, 34), qRgb(200, 0, 0));
    EXPECT_EQ(painter.image().pixel(170, 110), qRgb(0, 0, 0)); // not the image's middle
}

TEST_F(PainterTest, TheBoardIsPaintedWithItsWorkerOnceALevelIsShown) {
    painter.layout = {30, 0, 0};
    painter.manPos = 1;
    painter.manFrame = -1; // no level yet
    painter.PaintAll();
    EXPECT_EQ(painter.image().copy(30, 0, 30, 30), painter.tiles[2]);
    painter.manFrame = 2;
    painter.DrawBoard();
    const QRgb under = painter.tiles[2].pixel(15, 15) & painter.manMasks[2].pixel(15, 15);
    EXPECT_EQ(painter.image().pixel(45, 15) | 0xff000000u,
              (under ^ painter.manImages[2].pixel(15, 15)) | 0xff000000u);
}

TEST_F(PainterTest, OnScaledScreensTilesAreScaledOnceToTheScreensPixels) {
    // A skin's large tile with detail finer than a logical pixel.
    QImage fine(90, 90, QImage::Format_RGB32);
    for (int y = 0; y < 90; ++y)
        for (int x = 0; x < 90; ++x)
            fine.setPixel(x, y, (x + y) % 2 ? qRgb(250, 250, 250) : qRgb(10, 10, 10));
    for (const int ratio : {1, 2, 3}) {
        SCOPED_TRACE(ratio);
        painter.devicePixelRatio = ratio;
        painter.resize(340, 220);
        EXPECT_EQ(painter.size(), QSize(340, 220));
        EXPECT_EQ(painter.image().size(), QSize(340, 220) * ratio);
        painter.tiles[2] = fine;
        painter.layout = {30, 0, 0};
        painter.backNo = 6;
        painter.DrawBoard();
        const int s = 30 * ratio;
        EXPECT_EQ(painter.image().copy(s, 0, s, s).convertToFormat(QImage::Format_RGB32),
                  fine.scaled(s, s, Qt::IgnoreAspectRatio, Qt::FastTransformation));
        // The wall background still lines up with the cells, pixel for pixel.
        painter.backStyle = 2;
        painter.backNo = 7;
        painter.layout = {17, 0, 0};
        painter.DrawBoard();
        const int w = 17 * ratio;
        const QImage wall = painter.tiles[1].scaled(w, w);
        for (const QPoint at : {QPoint(w * 5 + 3, w * 4 + 9), QPoint(339 * ratio, 219 * ratio)})
            EXPECT_EQ(painter.image().pixel(at), wall.pixel(at.x() % w, at.y() % w)) << at.x();
    }
}

TEST_F(PainterTest, NothingIsPaintedOnceClosing) {
    painter.FillBlack();
    painter.releasePictures();
    painter.DrawBoard();
    painter.DrawMan(0);
    EXPECT_EQ(painter.image().pixel(5, 5), qRgb(0, 0, 0));
}

} // namespace
} // namespace sokoban

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

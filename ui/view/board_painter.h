// The board picture: one retained image the size of the window's board area
// (the window resizes it as the area changes) that every drawing operation
// paints into, with the tiles of the current face, the worker frames and
// masks of the current figure and the background.
#pragma once

#include "storage/board.h"
#include "storage/records.h"

#include <QImage>
#include <QRect>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

class QPainter;

namespace sokoban {

struct Skin;

class BoardPainter {
  public:
    // tiles[0] (outside) is never painted.
    std::array<QImage, 6> tiles;
    // A skin's wall pieces (as Skin keeps them), each wall cell put together
    // by its neighbours; null for the faces, whose walls are single stones.
    std::array<QImage, 5> wallPieces;
    std::array<QImage, 8> manImages; // up1 up2 down1 down2 left1 left2 right1 right2
    std::array<QImage, 8> manMasks;
    QImage backImage;
    QString backFileName;
    int backStyle = 2; // 1 centre, 2 tile, 3 stretch
    int backNo = 6;    // 7 = the current wall tile
    bool closing = false;

    // The board to draw: set before painting. Cells are numbered row * cols
    // + col on a grid cols wide.
    const std::vector<std::uint8_t>* cells = nullptr;
    int cols = kCols;
    int manPos = 0;
    BoardLayout layout;
    // The worker frame every full paint of the board draws; -1 while no level is shown.
    int manFrame = -1;
    // The part of the image the window shows; a centred background is centred in it.
    QRect visibleArea;
    // Floor cells marked as dead squares (nonzero), or null for no marks.
    const std::vector<std::uint8_t>* deadMarks = nullptr;

    // The screen's pixels per logical pixel: the picture is painted at
    // that many pixels, so that large tiles stay sharp on scaled screens.
    // Takes effect at the next resize().
    qreal devicePixelRatio = 1;

    // A new, black picture of this logical size.
    void resize(int width, int height);
    // The picture's logical size.
    QSize size() const;
    const QImage& image() const { return canvas_; }
    QImage& image() { return canvas_; }

    void DrawBackground(const QImage& picture);
    // Every cell, and the worker in frame manFrame.
    void DrawBoard();
    void DrawMan(int frame);
    void DrawCell(int i);
    void PaintBackground();
    void FillBlack();
    // Everything a full paint does: black, background, every cell and the worker.
    void PaintAll();

    // Pictures by name from the program's resources.
    void LoadFace(int wall, int floor, int box);
    void LoadFigure(int figureNo);
    bool LoadBack(int backNo); // 1..6 built in, 7 the wall tile
    // A skin read from a file: its tiles, and its worker unless withWorker is false.
    void LoadSkin(const Skin& skin, bool withWorker);
    void releasePictures();

    // The frame names of a worker figure, positions 0..7.
    static std::array<QString, 8> figureFrames(int figureNo);

    // Pieces for pictures drawn over the board (a move on its way), in board
    // picture coordinates on any painter.
    QRect cellRect(int i) const;
    int cellCount() const { return cells ? static_cast<int>(cells->size()) : 0; }
    // Cell i as it would be with no box on it, its dead-square mark included.
    void drawEmptyCell(QPainter& p, int i);
    // The box tile of a box on floor, or on a target when onTarget.
    void drawBox(QPainter& p, QPoint topLeft, bool onTarget);
    // The worker in frame 0..7 over whatever p already holds there.
    void drawWorker(QPainter& p, QPoint topLeft, int frame) const;

  private:
    void drawDeadMark(QPainter& p, int i, int code) const;
    // Tile code 1..5, or kPieceBase + a wall piece.
    const QImage& scaledTile(int code);
    static constexpr int kPieceBase = 6;
    bool wallAt(int i, int dRow, int dCol) const;
    // Cell i's tile; a skin's wall from its joined pieces.
    void drawTile(QPainter& p, int i, int code);
    QImage scaled(const QImage& src) const;

    QImage canvas_;
    std::array<QImage, 11> scaledTiles_;
    int scaledSize_ = -1;
    qreal scaledRatio_ = 1;
};

} // namespace sokoban

#include "board_painter.h"

#include "ui/pictures/pictures.h"
#include "ui/skins/skin.h"

#include <QFileInfo>
#include <QPainter>
#include <algorithm>

namespace sokoban {

namespace {
QImage rgb(const QImage& src) {
    return src.isNull() ? src : src.convertToFormat(QImage::Format_RGB32);
}
} // namespace

void BoardPainter::resize(int width, int height) {
    const qreal r = devicePixelRatio > 0 ? devicePixelRatio : 1;
    canvas_ = QImage(qRound(std::max(width, 1) * r), qRound(std::max(height, 1) * r),
                     QImage::Format_RGB32);
    canvas_.setDevicePixelRatio(r);
    canvas_.fill(Qt::black);
}

QSize BoardPainter::size() const {
    return canvas_.deviceIndependentSize().toSize();
}

QRect BoardPainter::cellRect(int i) const {
    const int s = layout.cellSize;
    const int c = std::max(cols, 1);
    return QRect((i % c + layout.originCol) * s, (i / c + layout.originRow) * s, s, s);
}

QImage BoardPainter::scaled(const QImage& src) const {
    // A cell of the picture's own pixels: on a scaled screen the tile is
    // scaled once to the screen's pixels, not first to the logical cell.
    const qreal r = canvas_.devicePixelRatio();
    const int s = qRound(std::max(layout.cellSize, 1) * r);
    if (src.isNull()) return src;
    QImage out = src.width() == s && src.height() == s
                     ? src
                     : src.scaled(s, s, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    out.setDevicePixelRatio(r);
    return out;
}

const QImage& BoardPainter::scaledTile(int code) {
    if (scaledSize_ != layout.cellSize || scaledRatio_ != canvas_.devicePixelRatio()) {
        for (auto& t : scaledTiles_)
            t = QImage();
        scaledSize_ = layout.cellSize;
        scaledRatio_ = canvas_.devicePixelRatio();
    }
    auto& t = scaledTiles_[static_cast<std::size_t>(code)];
    if (t.isNull())
        t = scaled(code >= kPieceBase ? wallPieces[static_cast<std::size_t>(code - kPieceBase)]
                                      : tiles[static_cast<std::size_t>(code)]);
    return t;
}

bool BoardPainter::wallAt(int i, int dRow, int dCol) const {
    const int row = i / cols + dRow, col = i % cols + dCol;
    if (row < 0 || col < 0 || col >= cols) return false;
    const int j = row * cols + col;
    return j < cellCount() && (*cells)[static_cast<std::size_t>(j)] == kWall;
}

void BoardPainter::drawTile(QPainter& p, int i, int code) {
    const QRect r = cellRect(i);
    if (code != kWall || wallPieces[kWallCross].isNull()) {
        p.drawImage(r.topLeft(), scaledTile(code));
        return;
    }
    // Each quarter of the cell is the same quarter of the piece joined the
    // way its two neighbours are; where the diagonal is wall too, the cap
    // (centred on the corner the four walls share) covers it.
    const QImage& cap = scaledTile(kPieceBase + kWallCap);
    const int px = scaledTile(kWall).width(); // the tile in the picture's own pixels
    const int half = px / 2;
    const qreal ratio = scaledTile(kWall).devicePixelRatio();
    for (int qy = 0; qy < 2; ++qy)
        for (int qx = 0; qx < 2; ++qx) {
            const int dc = qx == 0 ? -1 : 1, dr = qy == 0 ? -1 : 1;
            const bool across = wallAt(i, 0, dc), upDown = wallAt(i, dr, 0);
            const int piece = across && upDown ? kWallCross
                              : across         ? kWallAcross
                              : upDown         ? kWallUpDown
                                               : kWallAlone;
            const QRect source(qx * half, qy * half, qx == 0 ? half : px - half,
                               qy == 0 ? half : px - half);
            const QRectF target(r.left() + source.left() / ratio, r.top() + source.top() / ratio,
                                source.width() / ratio, source.height() / ratio);
            p.drawImage(target, scaledTile(kPieceBase + piece), source);
            if (across && upDown && wallAt(i, dr, dc) && !cap.isNull()) {
                // The cap's opposite quarter lies over this one.
                const QRect capPart((1 - qx) * half, (1 - qy) * half, source.width(),
                                    source.height());
                p.drawImage(target, cap, capPart);
            }
        }
}

void BoardPainter::FillBlack() {
    if (!closing) canvas_.fill(Qt::black);
}

void BoardPainter::DrawBackground(const QImage& picture) {
    if (closing || picture.height() == 0) return;
    QPainter p(&canvas_);
    const int W = size().width(), H = size().height();
    if (backStyle == 3) {
        p.drawImage(QRect(0, 0, W, H), picture);
    } else if (backStyle == 1) {
        // Centred where the player sees it.
        const QRect area = visibleArea.isEmpty() ? QRect(QPoint(0, 0), size()) : visibleArea;
        p.drawImage(QPoint(area.left() + (area.width() - picture.width()) / 2,
                           area.top() + (area.height() - picture.height()) / 2),
                    picture);
    } else if (backStyle == 2) {
        // The wall background is tiled in cell squares so that it lines up
        // with the walls of the board.
        const QImage tile = backNo == 7 && layout.cellSize > 0 ? scaled(picture) : picture;
        p.fillRect(QRect(0, 0, W, H), QBrush(tile));
    }
}

void BoardPainter::DrawBoard() {
    if (closing || !cells) return;
    if (backNo == 7 && backFileName.isEmpty()) {
        backImage = tiles[1];
        DrawBackground(backImage);
    }
    if (layout.cellSize <= 0) return;
    {
        QPainter p(&canvas_);
        for (int i = 0; i < cellCount(); ++i) {
            const int code = (*cells)[static_cast<std::size_t>(i)];
            if (code == kOutside || code > kBoxOnTarget) continue;
            drawTile(p, i, code);
            drawDeadMark(p, i, code);
        }
    }
    // The worker belongs to the board: without him the board would show an empty
    // cell until the next blink.
    if (manFrame >= 0) DrawMan(manFrame);
}

void BoardPainter::DrawCell(int i) {
    if (closing || !cells || i < 0 || i >= cellCount() || layout.cellSize <= 0) return;
    const int code = (*cells)[static_cast<std::size_t>(i)];
    if (code == kOutside || code > kBoxOnTarget) return;
    QPainter p(&canvas_);
    drawTile(p, i, code);
    drawDeadMark(p, i, code);
}

void BoardPainter::drawDeadMark(QPainter& p, int i, int code) const {
    // A small cross on floor no box may enter, quiet enough to play over.
    if (!deadMarks || static_cast<std::size_t>(i) >= deadMarks->size() ||
        !(*deadMarks)[static_cast<std::size_t>(i)] || code != kFloor || layout.cellSize < 4)
        return;
    const QRectF r = QRectF(cellRect(i))
                         .adjusted(layout.cellSize * 0.35, layout.cellSize * 0.35,
                                   -layout.cellSize * 0.35, -layout.cellSize * 0.35);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(200, 40, 40, 190), std::max(1.0, layout.cellSize / 12.0)));
    p.drawLine(r.topLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomLeft());
    p.restore();
}

void BoardPainter::DrawMan(int frame) {
    if (closing || !cells || manPos < 0 || manPos >= cellCount() || frame < 0 || frame > 7 ||
        layout.cellSize <= 0)
        return;
    const QRect r = cellRect(manPos);
    QPainter p(&canvas_);
    const int code = (*cells)[static_cast<std::size_t>(manPos)];
    if (code >= 1 && code <= kBoxOnTarget) p.drawImage(r.topLeft(), scaledTile(code));
    drawWorker(p, r.topLeft(), frame);
}

void BoardPainter::drawWorker(QPainter& p, QPoint topLeft, int frame) const {
    if (frame < 0 || frame > 7 || layout.cellSize <= 0) return;
    const QRect r(topLeft, QSize(layout.cellSize, layout.cellSize));
    const auto mode = p.compositionMode();
    p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    p.drawImage(r, manMasks[static_cast<std::size_t>(frame)]);
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.drawImage(r, manImages[static_cast<std::size_t>(frame)]);
    p.setCompositionMode(mode);
}

void BoardPainter::drawEmptyCell(QPainter& p, int i) {
    if (closing || !cells || i < 0 || i >= cellCount() || layout.cellSize <= 0) return;
    int code = (*cells)[static_cast<std::size_t>(i)];
    if (code == kBox) code = kFloor;
    if (code == kBoxOnTarget) code = kTarget;
    if (code == kOutside || code > kBoxOnTarget) return;
    p.drawImage(cellRect(i).topLeft(), scaledTile(code));
    drawDeadMark(p, i, code);
}

void BoardPainter::drawBox(QPainter& p, QPoint topLeft, bool onTarget) {
    if (closing || layout.cellSize <= 0) return;
    p.drawImage(topLeft, scaledTile(onTarget ? kBoxOnTarget : kBox));
}

void BoardPainter::PaintBackground() {
    if (!backFileName.isEmpty() && QFileInfo::exists(backFileName)) {
        QImage picture(backFileName);
        DrawBackground(picture);
    } else {
        DrawBackground(backImage);
    }
}

void BoardPainter::PaintAll() {
    FillBlack();
    PaintBackground();
    DrawBoard();
}

void BoardPainter::LoadFace(int wall, int floor, int box) {
    tiles[1] = rgb(picture(QString::number(wall) + "wall"));
    tiles[2] = rgb(picture(QString::number(floor) + "cell"));
    tiles[3] = rgb(picture(QString::number(floor) + "target"));
    tiles[4] = rgb(picture(QString::number(box) + "box"));
    tiles[5] = rgb(picture(QString::number(box) + "box1"));
    wallPieces = {};
    scaledSize_ = -1;
}

void BoardPainter::LoadSkin(const Skin& skin, bool withWorker) {
    for (std::size_t k = 1; k < tiles.size(); ++k)
        tiles[k] = skin.tiles[k];
    wallPieces = skin.wallPieces;
    if (withWorker) {
        manImages = skin.manImages;
        manMasks = skin.manMasks;
    }
    scaledSize_ = -1;
}

std::array<QString, 8> BoardPainter::figureFrames(int n) {
    const QString s = QString::number(n);
    switch (n) {
    case 3:
    case 4:
    case 6:
        return {s + "down1", s + "down2", s + "down1", s + "down2",
                s + "down1", s + "down2", s + "down1", s + "down2"};
    case 5:
        return {s + "up1",   s + "up1",   s + "down1",  s + "down1",
                s + "left1", s + "left1", s + "right1", s + "right1"};
    default:
        return {s + "up1",   s + "up2",   s + "down1",  s + "down2",
                s + "left1", s + "left2", s + "right1", s + "right2"};
    }
}

void BoardPainter::LoadFigure(int figureNo) {
    const auto names = figureFrames(figureNo);
    for (std::size_t k = 0; k < 8; ++k) {
        manImages[k] = rgb(picture(names[k]));
        manMasks[k] = rgb(picture(names[k] + "mask"));
    }
}

bool BoardPainter::LoadBack(int n) {
    if (n >= 1 && n <= 6) {
        backImage = rgb(picture("BACK" + QString::number(n)));
        return true;
    }
    if (n == 7) {
        backImage = tiles[1];
        return true;
    }
    return false;
}

void BoardPainter::releasePictures() {
    for (auto& t : tiles)
        t = QImage();
    wallPieces = {};
    for (auto& t : scaledTiles_)
        t = QImage();
    for (auto& m : manImages)
        m = QImage();
    for (auto& m : manMasks)
        m = QImage();
    backImage = QImage();
    closing = true;
}

} // namespace sokoban

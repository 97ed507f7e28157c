// The game's own skin in the shared skin layout (see ui/skins/skin.h): four
// tiles across, six rows. Drawn with smooth vector shapes at any tile size,
// unlike the pixel-drawn faces, so that it also shows how a skin of large
// tiles looks when the board scales it down.
#include "generators.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace pics {
namespace {

const QColor kFloor(0x5b, 0x6e, 0x7c);
const QColor kFloorEdge(0x4c, 0x5e, 0x6b);
const QColor kFloorLight(0x6a, 0x7e, 0x8d);
const QColor kWall(0x3b, 0x45, 0x52);
const QColor kWallTop(0x56, 0x63, 0x73);
const QColor kWallDark(0x26, 0x2d, 0x36);
const QColor kTarget(0xf0, 0xc0, 0x3c);
const QColor kBox(0xc9, 0x7b, 0x3a);
const QColor kBoxDark(0x8a, 0x4f, 0x22);
const QColor kBoxDone(0x4f, 0xa8, 0x5a);
const QColor kBoxDoneDark(0x2f, 0x6e, 0x3a);
const QColor kShirt(0xd8, 0x3c, 0x3c);
const QColor kSkin(0xf2, 0xc9, 0x9c);
const QColor kHair(0x3a, 0x26, 0x18);

// One flagstone per cell: a single bevelled slab, so the board's grid is the cells' grid.
void floorTile(QPainter& p, double s) {
    p.fillRect(QRectF(0, 0, s, s), kFloorEdge);
    const double m = s / 24;
    p.fillRect(QRectF(m, m, s - 2 * m, s - 2 * m), kFloor);
    p.fillRect(QRectF(m, m, s - 2 * m, m), kFloorLight);
    p.fillRect(QRectF(m, m, m, s - 2 * m), kFloorLight);
}

void targetMark(QPainter& p, double s) {
    p.setPen(QPen(kTarget, s / 12));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(s / 2, s / 2), s * 0.22, s * 0.22);
    p.setPen(Qt::NoPen);
    p.setBrush(kTarget);
    p.drawEllipse(QPointF(s / 2, s / 2), s * 0.07, s * 0.07);
}

// A dressed stone block with a lit top and a shadowed foot: one block per cell.
void wallTile(QPainter& p, double s) {
    p.fillRect(QRectF(0, 0, s, s), kWallDark);
    const double m = s / 16;
    p.fillRect(QRectF(m / 2, m / 2, s - m, s - m), kWall);
    p.fillRect(QRectF(m / 2, m / 2, s - m, s * 0.18), kWallTop);
    p.setPen(QPen(kWallDark, s / 40));
    p.drawLine(QPointF(s * 0.25, s * 0.6), QPointF(s * 0.4, s * 0.72));
}

void crate(QPainter& p, double s, const QColor& face, const QColor& dark) {
    const QRectF r(s * 0.1, s * 0.1, s * 0.8, s * 0.8);
    p.setPen(QPen(dark, s / 16));
    p.setBrush(face);
    p.drawRoundedRect(r, s * 0.06, s * 0.06);
    p.setPen(QPen(dark, s / 20));
    p.drawLine(r.topLeft() + QPointF(s * 0.1, s * 0.1),
               r.bottomRight() - QPointF(s * 0.1, s * 0.1));
    p.drawLine(r.topRight() + QPointF(-s * 0.1, s * 0.1),
               r.bottomLeft() + QPointF(s * 0.1, -s * 0.1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(s * 0.1, s * 0.1, -s * 0.1, -s * 0.1));
}

// The worker seen from above: shoulders, head, and a nose towards where he faces.
// direction: 0 up, 1 left, 2 down, 3 right; -1 facing the player (down, no turn).
void worker(QPainter& p, double s, int direction) {
    p.save();
    p.translate(s / 2, s / 2);
    const int turn = direction < 0 ? 2 : direction;
    p.rotate(turn == 0 ? 180 : turn == 1 ? 90 : turn == 3 ? -90 : 0);
    p.setPen(QPen(QColor(0x60, 0x18, 0x18), s / 32));
    p.setBrush(kShirt);
    p.drawEllipse(QPointF(0, 0), s * 0.34, s * 0.2);
    p.setBrush(kSkin);
    p.drawEllipse(QPointF(-s * 0.3, s * 0.08), s * 0.07, s * 0.07);
    p.drawEllipse(QPointF(s * 0.3, s * 0.08), s * 0.07, s * 0.07);
    p.setPen(Qt::NoPen);
    p.setBrush(kHair);
    p.drawEllipse(QPointF(0, -s * 0.04), s * 0.15, s * 0.15);
    p.setBrush(kSkin);
    p.drawEllipse(QPointF(0, s * 0.07), s * 0.11, s * 0.08);
    // The nose points where he looks.
    p.drawEllipse(QPointF(0, s * 0.17), s * 0.04, s * 0.04);
    p.restore();
}

} // namespace

QImage drawSkin(int tile) {
    constexpr int kRows = 6;
    QImage out(4 * tile, kRows * tile, QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    QPainter p(&out);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = tile;
    auto at = [&](int column, int row, const auto& draw) {
        p.save();
        p.translate(column * s, row * s);
        p.setClipRect(QRectF(0, 0, s, s));
        draw();
        p.restore();
    };
    // Rows 0 and 1: floor, worker, box; target, worker on target, box on target.
    at(0, 0, [&] { floorTile(p, s); });
    at(1, 0, [&] {
        floorTile(p, s);
        worker(p, s, -1);
    });
    at(2, 0, [&] {
        floorTile(p, s);
        crate(p, s, kBox, kBoxDark);
    });
    at(0, 1, [&] {
        floorTile(p, s);
        targetMark(p, s);
    });
    at(1, 1, [&] {
        floorTile(p, s);
        targetMark(p, s);
        worker(p, s, -1);
    });
    at(2, 1, [&] {
        floorTile(p, s);
        crate(p, s, kBoxDone, kBoxDoneDark);
    });
    // Rows 2 and 3: every wall piece is the same block, which joins any neighbour.
    for (int c = 0; c < 3; ++c)
        at(c, 2, [&] { wallTile(p, s); });
    at(3, 2, [&] { p.fillRect(QRectF(0, 0, s, s), Qt::black); }); // outside the walls
    for (int c = 0; c < 2; ++c)
        at(c, 3, [&] { wallTile(p, s); });
    // Rows 4 and 5: the worker facing up, left, down, right; on floor, then on a target.
    for (int d = 0; d < 4; ++d) {
        at(d, 4, [&] {
            floorTile(p, s);
            worker(p, s, d);
        });
        at(d, 5, [&] {
            floorTile(p, s);
            targetMark(p, s);
            worker(p, s, d);
        });
    }
    return out;
}

} // namespace pics

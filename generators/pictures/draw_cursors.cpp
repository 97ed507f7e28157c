// Mouse cursors, 32 x 32 with transparency, and at 64 and 96 pixels for scaled screens.
//
// Play: "go" (walk there), "dead" (refused), "ques" (the worker's own cell),
// "up"/"down"/"left"/"right" (the push a click would make).
// Level designer: an arrow with a swatch of what it paints.
#include "generators.h"

#include <QPainter>
#include <QPainterPath>
#include <QTransform>

#include <cmath>

namespace pics {
namespace {

constexpr int N = 32;

// Cursors are drawn in units of the 32-pixel cursor; at scale 2 or 3 the same
// drawing gets two or three times the pixels, for screens scaled that much.
int scale = 1;

QImage blank() {
    QImage img(N * scale, N * scale, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

void smooth(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(scale, scale);
}

// The pointer arrow with its tip at (1, 1).
QPainterPath arrowPath(double scale = 1.0) {
    QPainterPath path;
    const double pts[][2] = {{1, 1},     {1, 18.5},   {5.2, 14.6}, {8.2, 21.4},
                             {11, 20.2}, {8.1, 13.6}, {13.8, 13.6}};
    path.moveTo(1 + (pts[0][0] - 1) * scale, 1 + (pts[0][1] - 1) * scale);
    for (std::size_t i = 1; i < std::size(pts); ++i)
        path.lineTo(1 + (pts[i][0] - 1) * scale, 1 + (pts[i][1] - 1) * scale);
    path.closeSubpath();
    return path;
}

void drawArrow(QPainter& p, double scale = 1.0) {
    const QPainterPath a = arrowPath(scale);
    p.save();
    p.translate(1.2, 1.2);
    p.fillPath(a, QColor(0, 0, 0, 70)); // soft shadow
    p.restore();
    p.setPen(QPen(QColor(20, 20, 28), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(a);
}

// A round badge in the lower right corner.
void badge(QPainter& p, QColor colour) {
    p.setPen(QPen(QColor(20, 20, 28), 1.2));
    QRadialGradient g(QPointF(21.5, 20.5), 9);
    g.setColorAt(0, colour.lighter(140));
    g.setColorAt(1, colour);
    p.setBrush(g);
    p.drawEllipse(QPointF(23, 23), 7.5, 7.5);
}

QImage goCursor() {
    QImage img = blank();
    QPainter p(&img);
    smooth(p);
    drawArrow(p);
    badge(p, QColor(46, 160, 67));
    // a white "go" triangle
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({QPointF(20.6, 19.0), QPointF(27.4, 23.0), QPointF(20.6, 27.0)}));
    return img;
}

QImage quesCursor() {
    QImage img = blank();
    QPainter p(&img);
    smooth(p);
    drawArrow(p);
    badge(p, QColor(52, 112, 214));
    QPainterPath q;
    q.moveTo(20.2, 21.0);
    q.cubicTo(20.2, 17.2, 26.0, 17.2, 26.0, 20.6);
    q.cubicTo(26.0, 22.8, 23.0, 22.8, 23.0, 25.0);
    p.setPen(QPen(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(q);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(23.0, 27.8), 1.2, 1.2);
    return img;
}

QImage deadCursor() {
    QImage img = blank();
    QPainter p(&img);
    smooth(p);
    const QPointF c(16, 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 60));
    p.drawEllipse(c + QPointF(1, 1), 14, 14);
    p.setBrush(QColor(30, 10, 10));
    p.drawEllipse(c, 14, 14);
    p.setBrush(QColor(220, 40, 40));
    p.drawEllipse(c, 13, 13);
    p.setBrush(QColor(255, 255, 255, 235));
    p.drawEllipse(c, 9, 9);
    // the bar, from upper left to lower right
    p.save();
    p.translate(c);
    p.rotate(45);
    p.setBrush(QColor(220, 40, 40));
    p.drawRect(QRectF(-10, -2.4, 20, 4.8));
    p.restore();
    return img;
}

// A fat arrow pointing up, turned by `degrees`.
QImage directionCursor(double degrees) {
    QImage img = blank();
    QPainter p(&img);
    smooth(p);
    QPainterPath a;
    a.moveTo(16, 2.5);
    a.lineTo(28.5, 15);
    a.lineTo(21, 15);
    a.lineTo(21, 28.5);
    a.lineTo(11, 28.5);
    a.lineTo(11, 15);
    a.lineTo(3.5, 15);
    a.closeSubpath();
    p.translate(16, 16);
    p.rotate(degrees);
    p.translate(-16, -16);
    p.fillPath(a.translated(1, 1), QColor(0, 0, 0, 70));
    QLinearGradient g(QPointF(0, 2), QPointF(0, 28));
    g.setColorAt(0, QColor(120, 226, 110));
    g.setColorAt(1, QColor(34, 150, 54));
    p.setPen(QPen(QColor(16, 60, 20), 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(g);
    p.drawPath(a);
    p.setPen(QPen(QColor(255, 255, 255, 150), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(16, 5.0), QPointF(6.5, 14.0));
    return img;
}

// A small arrow with a swatch of what the designer paints.
QImage paintCursor(const QImage& swatch) {
    QImage img = blank();
    QPainter p(&img);
    smooth(p);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawRect(QRectF(15, 15, 17, 17));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(13, 13, 18, 18));
    p.setBrush(QColor(20, 20, 28));
    p.drawRect(QRectF(14, 14, 16, 16));
    p.drawImage(QRectF(15, 15, 14, 14), swatch);
    drawArrow(p, 0.72);
    return img;
}

// A worker frame cut out with its mask, for the designer's worker cursor.
QImage cutOut(const QImage& frame, const QImage& mask) {
    QImage out(frame.size(), QImage::Format_ARGB32);
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            out.setPixel(x, y, qGray(mask.pixel(x, y)) < 128 ? frame.pixel(x, y) : 0u);
    // the figure stands in a 30 x 30 cell; use the part it fills
    return out.copy(QRect(5, 3, 22, 26))
        .scaled(30, 30, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

// Every cursor at the current scale; the 1x ones under their plain names with
// their hot spots (in 1x pixels, which hold at every scale), the others as
// "<name>@2x" and "<name>@3x".
void drawCursorsAt(PictureSet& out, std::map<QString, QPoint>& hotSpots) {
    auto add = [&](const QString& name, const QImage& img, QPoint hot) {
        if (scale == 1) {
            out[name] = img.convertToFormat(QImage::Format_ARGB32);
            hotSpots[name] = hot;
        } else {
            out[name + QString("@%1x").arg(scale)] = img.convertToFormat(QImage::Format_ARGB32);
        }
    };
    add("go", goCursor(), {1, 1});
    add("ques", quesCursor(), {1, 1});
    add("dead", deadCursor(), {16, 16});
    add("up", directionCursor(0), {16, 16});
    add("right", directionCursor(90), {16, 16});
    add("down", directionCursor(180), {16, 16});
    add("left", directionCursor(270), {16, 16});

    QImage black(30, 30, QImage::Format_RGB32);
    black.fill(Qt::black);
    add("black", paintCursor(black), {1, 1});
    for (const char* kind : {"wall", "cell", "target", "box", "box1"})
        add(kind, paintCursor(out.at(QString("10") + kind)), {1, 1});
    QImage boy = out.at("10cell").convertToFormat(QImage::Format_ARGB32);
    {
        QPainter p(&boy);
        p.drawImage(0, 0, cutOut(out.at("1down1"), out.at("1down1mask")));
    }
    add("boy", paintCursor(boy), {1, 1});
}

} // namespace

void drawCursors(PictureSet& out, std::map<QString, QPoint>& hotSpots) {
    for (scale = 3; scale >= 1; --scale)
        drawCursorsAt(out, hotSpots);
    scale = 1;
}

} // namespace pics

// Tool-bar images (24 x 24, and at 48 and 72 pixels as "tb<n>@2x", "tb<n>@3x")
// and the program icon (64 x 64).
//
// Drawn four times larger with antialiasing and scaled down, in one style: plain
// shapes with a soft top light and a darker outline of the same hue.
#include "generators.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <functional>

namespace pics {
namespace {

constexpr int kOver = 4; // drawing is this many times larger than the result

// The drawing is in units of the 1x picture; `scale` 2 or 3 gives the same picture
// with two or three times the pixels, for screens scaled that much.
QImage render(int size, const std::function<void(QPainter&)>& draw, int scale = 1) {
    size *= scale;
    QImage big(size * kOver, size * kOver, QImage::Format_ARGB32_Premultiplied);
    big.fill(Qt::transparent);
    {
        QPainter p(&big);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.scale(kOver * scale, kOver * scale);
        draw(p);
    }
    return big.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_ARGB32);
}

// Fills a shape with a top-lit gradient of `base` and outlines it a shade darker.
void shape(QPainter& p, const QPainterPath& path, QColor base, double outline = 1.0) {
    const QRectF r = path.boundingRect();
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, base.lighter(135));
    g.setColorAt(1, base);
    p.setPen(QPen(base.darker(190), outline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(g);
    p.drawPath(path);
}

void stroke(QPainter& p, const QPainterPath& path, QColor c, double width) {
    p.setPen(QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

QPainterPath polygon(std::initializer_list<QPointF> pts) {
    QPainterPath path;
    bool first = true;
    for (QPointF pt : pts) {
        if (first)
            path.moveTo(pt);
        else
            path.lineTo(pt);
        first = false;
    }
    path.closeSubpath();
    return path;
}

QPainterPath roundRect(QRectF r, double radius) {
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

QPainterPath ellipse(QPointF c, double rx, double ry) {
    QPainterPath path;
    path.addEllipse(c, rx, ry);
    return path;
}

const QColor kBlue(58, 123, 213);
const QColor kGreen(52, 168, 83);
const QColor kRed(218, 54, 51);
const QColor kOrange(240, 140, 30);
const QColor kYellow(250, 200, 40);
const QColor kPurple(140, 82, 200);
const QColor kGrey(110, 118, 130);

// A curved arrow turning anticlockwise (undo) or round in a circle (retry).
QPainterPath arc(QPointF c, double r, double from, double span) {
    QPainterPath path;
    path.arcMoveTo(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), from);
    path.arcTo(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), from, span);
    return path;
}

// Arrow head at `tip` pointing along `angle` (degrees, screen coordinates, 0 = right).
QPainterPath head(QPointF tip, double angle, double size) {
    const double a = angle * M_PI / 180.0;
    const QPointF d(std::cos(a), std::sin(a)), n(-d.y(), d.x());
    return polygon({tip + d * size * 0.6, tip - d * size * 0.5 + n * size * 0.75,
                    tip - d * size * 0.5 - n * size * 0.75});
}

void previousLevel(QPainter& p) {
    shape(p, polygon({{3, 12}, {12, 4}, {12, 9}, {21, 9}, {21, 15}, {12, 15}, {12, 20}}), kBlue);
}

void nextLevel(QPainter& p) {
    shape(p, polygon({{21, 12}, {12, 4}, {12, 9}, {3, 9}, {3, 15}, {12, 15}, {12, 20}}), kBlue);
}

void chooseLevel(QPainter& p) {
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            const QColor col = (r == 1 && c == 1) ? kOrange : kBlue;
            shape(p, roundRect(QRectF(3 + c * 6.5, 3 + r * 6.5, 5, 5), 1.2), col, 0.9);
        }
}

void retry(QPainter& p) {
    // clockwise round arrow with the gap at the top
    const QPointF c(12, 12.5);
    stroke(p, arc(c, 7, 60, -300), kGreen.darker(190), 4.6);
    stroke(p, arc(c, 7, 60, -300), kGreen, 2.8);
    const double a = 120 * M_PI / 180;
    const QPointF end(c.x() + 7 * std::cos(a), c.y() - 7 * std::sin(a));
    shape(p, head(end + QPointF(0.8, -0.4), -30, 7.5), kGreen);
}

void answer(QPainter& p) {
    // a light bulb
    QPainterPath bulb;
    bulb.addEllipse(QPointF(12, 9.5), 6.5, 6.5);
    bulb.addRect(QRectF(9, 13, 6, 4));
    bulb = bulb.simplified();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 240, 150, 110));
    p.drawEllipse(QPointF(12, 9.5), 9.5, 9.5);
    shape(p, bulb, kYellow);
    shape(p, roundRect(QRectF(9, 16.5, 6, 4.5), 1), kGrey, 0.9);
    p.setPen(QPen(kGrey.darker(150), 0.8));
    p.drawLine(QPointF(9.3, 18.7), QPointF(14.7, 18.7));
    p.setPen(QPen(QColor(255, 255, 255, 200), 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(8, 5.5, 8, 8), 100 * 16, 70 * 16);
}

void undo(QPainter& p) {
    const QPointF c(13, 14);
    stroke(p, arc(c, 6.5, 180, -200), kOrange.darker(190), 4.6);
    stroke(p, arc(c, 6.5, 180, -200), kOrange, 2.8);
    shape(p, head(QPointF(6.5, 14.5) + QPointF(0, 2.2), 90, 7.5), kOrange);
}

void speaker(QPainter& p) {
    shape(p, polygon({{3, 9}, {7, 9}, {12, 4.5}, {12, 19.5}, {7, 15}, {3, 15}}), kGrey);
}

void sound(QPainter& p) {
    speaker(p);
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 2; ++i) {
        const double r = 4 + i * 3.6;
        p.setPen(QPen(kBlue.darker(150), 2.4, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(12 - r, 12 - r, 2 * r, 2 * r), -45 * 16, 90 * 16);
        p.setPen(QPen(kBlue.lighter(120), 1.2, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(12 - r, 12 - r, 2 * r, 2 * r), -45 * 16, 90 * 16);
    }
}

void music(QPainter& p) {
    // two beamed notes
    QPainterPath beam = polygon({{9, 4}, {20, 2}, {20, 5.5}, {9, 7.5}});
    QPainterPath stems;
    stems.addRect(QRectF(8.2, 5, 1.8, 12));
    stems.addRect(QRectF(18.4, 3, 1.8, 12));
    shape(p, (beam + stems).simplified(), kPurple, 0.9);
    shape(p, ellipse({6.6, 17.8}, 3.4, 2.6), kPurple);
    shape(p, ellipse({16.8, 15.8}, 3.4, 2.6), kPurple);
}

void workerHead(QPainter& p) {
    // shoulders in a safety vest, face, hard hat
    shape(p, roundRect(QRectF(4, 16, 16, 10), 4), kOrange);
    p.setPen(QPen(QColor(240, 240, 240), 1.2));
    p.drawLine(QPointF(8.5, 17), QPointF(8.5, 22));
    p.drawLine(QPointF(15.5, 17), QPointF(15.5, 22));
    shape(p, ellipse({12, 11.5}, 5.2, 5.2), QColor(246, 196, 156));
    QPainterPath hat;
    hat.moveTo(6.2, 10);
    hat.cubicTo(6.2, 2.8, 17.8, 2.8, 17.8, 10);
    hat.closeSubpath();
    shape(p, hat, kYellow);
    shape(p, roundRect(QRectF(4.5, 9.2, 15, 2.4), 1), kYellow.darker(115), 0.8);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(50, 40, 40));
    p.drawEllipse(QPointF(10, 13.5), 0.8, 0.9);
    p.drawEllipse(QPointF(14, 13.5), 0.8, 0.9);
}

void face(QPainter& p) {
    // four tiles: wall, floor, target, box
    const QRectF cells[] = {
        {2.5, 2.5, 9, 9}, {12.5, 2.5, 9, 9}, {2.5, 12.5, 9, 9}, {12.5, 12.5, 9, 9}};
    shape(p, roundRect(cells[0], 1), QColor(80, 120, 190), 0.9);
    p.setPen(QPen(QColor(30, 40, 70), 0.8));
    p.drawLine(QPointF(3, 7), QPointF(11, 7));
    p.drawLine(QPointF(7, 3), QPointF(7, 7));
    p.drawLine(QPointF(5, 7), QPointF(5, 11));
    p.drawLine(QPointF(9.5, 7), QPointF(9.5, 11));
    shape(p, roundRect(cells[1], 1), QColor(240, 224, 190), 0.9);
    shape(p, roundRect(cells[2], 1), QColor(240, 224, 190), 0.9);
    shape(p, ellipse(cells[2].center(), 3, 3), kRed, 0.8);
    shape(p, roundRect(cells[3], 1), QColor(222, 140, 56), 0.9);
    p.setPen(QPen(QColor(120, 70, 20), 0.9));
    p.drawLine(QPointF(14.5, 19.5), QPointF(19.5, 14.5));
}

void background(QPainter& p) {
    shape(p, roundRect(QRectF(2.5, 4.5, 19, 15), 1.5), QColor(120, 180, 235));
    QPainterPath hills = polygon({{3, 19}, {9, 11}, {13, 16}, {16, 13}, {21, 19}});
    shape(p, hills, kGreen, 0.8);
    shape(p, ellipse({16.5, 8.5}, 2, 2), kYellow, 0.8);
}

void designer(QPainter& p) {
    // a grid sheet with a pencil on it
    shape(p, roundRect(QRectF(2.5, 2.5, 15, 15), 1), QColor(245, 245, 240));
    p.setPen(QPen(QColor(160, 180, 210), 0.7));
    for (double v = 6.25; v < 17; v += 3.75) {
        p.drawLine(QPointF(v, 3), QPointF(v, 17));
        p.drawLine(QPointF(3, v), QPointF(17, v));
    }
    p.save();
    p.translate(15.5, 15.5);
    p.rotate(45);
    shape(p, roundRect(QRectF(-2.2, -10, 4.4, 14), 0.6), kYellow, 0.9);
    shape(p, polygon({{-2.2, 4}, {2.2, 4}, {0, 8.5}}), QColor(240, 210, 170), 0.9);
    shape(p, roundRect(QRectF(-2.2, -12, 4.4, 2.6), 0.6), QColor(240, 120, 140), 0.9);
    p.restore();
}

void exitIcon(QPainter& p) {
    shape(p, roundRect(QRectF(3.5, 2.5, 11, 19), 1), QColor(150, 100, 60));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 220, 120));
    p.drawEllipse(QPointF(12, 12.5), 1, 1);
    shape(p,
          polygon({{22, 12}, {16.5, 7}, {16.5, 10}, {9.5, 10}, {9.5, 14}, {16.5, 14}, {16.5, 17}}),
          kRed);
}

void stop(QPainter& p) {
    shape(p, roundRect(QRectF(5, 5, 14, 14), 2), kRed);
}

void pause(QPainter& p) {
    shape(p, roundRect(QRectF(5, 4.5, 5, 15), 1.2), kBlue);
    shape(p, roundRect(QRectF(14, 4.5, 5, 15), 1.2), kBlue);
}

void resume(QPainter& p) {
    shape(p, polygon({{6.5, 4}, {19.5, 12}, {6.5, 20}}), kGreen);
}

// The program icon: a worker pushing a crate onto a target.
void programIcon(QPainter& p) {
    // a round tile of floor
    QLinearGradient g(QPointF(0, 2), QPointF(0, 62));
    g.setColorAt(0, QColor(74, 118, 190));
    g.setColorAt(1, QColor(36, 62, 118));
    p.setPen(QPen(QColor(22, 34, 70), 1.5));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 40));
    p.drawRoundedRect(QRectF(4, 4, 56, 26), 10, 10);
    // target glowing under the crate
    p.setBrush(QColor(255, 230, 120, 90));
    p.drawEllipse(QPointF(40, 50), 19, 7);
    shape(p, ellipse({40, 50}, 16, 5.5), kRed, 1.2);
    shape(p, ellipse({40, 50}, 10, 3.4), QColor(255, 244, 220), 1.0);
    // the crate
    const QRectF box(26, 20, 28, 28);
    shape(p, roundRect(box, 2.5), QColor(226, 150, 60), 1.6);
    p.setPen(QPen(QColor(150, 86, 24), 1.4));
    p.setBrush(QColor(206, 130, 52));
    p.drawRect(box.adjusted(5, 5, -5, -5));
    p.setPen(QPen(QColor(120, 66, 18), 1.0));
    for (double y = 29; y < 43; y += 4.5)
        p.drawLine(QPointF(31, y), QPointF(49, y));
    p.setPen(QPen(QColor(246, 190, 110), 3.0));
    p.drawLine(QPointF(32.5, 41.5), QPointF(47.5, 26.5));
    p.setPen(QPen(QColor(120, 66, 18), 1.0));
    p.drawLine(QPointF(31.3, 40.3), QPointF(46.3, 25.3));
    // the worker, leaning into the crate
    shape(p, roundRect(QRectF(10, 48, 6, 9), 2), QColor(58, 70, 100), 1.2);  // back leg
    shape(p, roundRect(QRectF(17, 46, 6, 11), 2), QColor(58, 70, 100), 1.2); // front leg
    p.save();
    p.translate(17, 38);
    p.rotate(14);
    shape(p, roundRect(QRectF(-8, -10, 15, 18), 4), kOrange, 1.4);
    p.setPen(QPen(QColor(245, 245, 240), 1.6));
    p.drawLine(QPointF(-4, -8), QPointF(-4, 6));
    p.drawLine(QPointF(3, -8), QPointF(3, 6));
    p.restore();
    shape(p, roundRect(QRectF(18, 32, 10, 4.5), 2), QColor(72, 122, 210), 1.2); // arm
    shape(p, ellipse({27.5, 34.2}, 2.6, 2.6), QColor(246, 196, 156), 1.0);      // hand
    shape(p, ellipse({17, 22}, 7, 7), QColor(246, 196, 156), 1.2);              // head
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(50, 40, 40));
    p.drawEllipse(QPointF(20.5, 22.5), 1.1, 1.3);
    QPainterPath hat;
    hat.moveTo(9, 19.5);
    hat.cubicTo(9, 10, 25, 10, 25, 19.5);
    hat.closeSubpath();
    shape(p, hat, kYellow, 1.3);
    shape(p, roundRect(QRectF(8, 18.2, 20.5, 3.2), 1.4), kYellow.darker(115), 1.1);
}

} // namespace

QImage drawProgramIcon(int size) {
    return render(size, [size](QPainter& p) {
        p.scale(size / 64.0, size / 64.0);
        programIcon(p);
    });
}

void drawIcons(PictureSet& out) {
    const std::function<void(QPainter&)> toolbar[16] = {
        previousLevel, chooseLevel, retry,      nextLevel, answer,   undo, sound, music,
        workerHead,    face,        background, designer,  exitIcon, stop, pause, resume};
    for (int i = 0; i < 16; ++i) {
        out[QString("tb%1").arg(i)] = render(24, toolbar[i]);
        out[QString("tb%1@2x").arg(i)] = render(24, toolbar[i], 2);
        out[QString("tb%1@3x").arg(i)] = render(24, toolbar[i], 3);
    }
    out["icon"] = render(64, programIcon);
}

} // namespace pics

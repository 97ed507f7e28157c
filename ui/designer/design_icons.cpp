#include "ui/designer/design_icons.h"

#include <QPainter>
#include <QPainterPath>

namespace sokoban {

namespace {

constexpr int kSize = 24;
constexpr int kOver = 4; // drawn larger and scaled down for soft edges

// Fills a shape with a top-lit gradient of `base`, outlined a shade darker,
// in the manner of the game's other tool-bar images.
void shape(QPainter& p, const QPainterPath& path, QColor base) {
    const QRectF r = path.boundingRect();
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, base.lighter(135));
    g.setColorAt(1, base);
    p.setPen(QPen(base.darker(190), 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(g);
    p.drawPath(path);
}

QPainterPath rect(qreal x, qreal y, qreal w, qreal h, qreal radius = 1.5) {
    QPainterPath path;
    path.addRoundedRect(QRectF(x, y, w, h), radius, radius);
    return path;
}

QPainterPath polygon(std::initializer_list<QPointF> pts) {
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(pts)));
    path.closeSubpath();
    return path;
}

// A sheet of paper with a folded corner.
void page(QPainter& p) {
    shape(p, polygon({{5, 2.5}, {15, 2.5}, {19.5, 7}, {19.5, 21.5}, {5, 21.5}}),
          QColor(235, 238, 242));
    shape(p, polygon({{15, 2.5}, {15, 7}, {19.5, 7}}), QColor(200, 205, 212));
}

void plus(QPainter& p, QPointF c, QColor colour) {
    QPainterPath path;
    path.addEllipse(c, 5, 5);
    shape(p, path, colour);
    p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-2.6, 0), c + QPointF(2.6, 0));
    p.drawLine(c + QPointF(0, -2.6), c + QPointF(0, 2.6));
}

void newFile(QPainter& p) {
    page(p);
    p.setPen(QPen(QColor(150, 160, 175), 1.0));
    for (qreal y : {10.0, 13.0, 16.0})
        p.drawLine(QPointF(8, y), QPointF(16, y));
    plus(p, {17.5, 17.5}, QColor(60, 170, 80));
}

void openFile(QPainter& p) {
    shape(p, polygon({{2.5, 5}, {9, 5}, {11, 7.5}, {20, 7.5}, {20, 19.5}, {2.5, 19.5}}),
          QColor(214, 160, 50));
    shape(p, polygon({{5.5, 11}, {22.5, 11}, {19.5, 19.5}, {2.5, 19.5}}), QColor(246, 200, 80));
}

// An eraser sweeping over the grid.
void clearGrid(QPainter& p) {
    p.setPen(QPen(QColor(120, 130, 145), 1.0));
    for (int k = 0; k <= 3; ++k) {
        p.drawLine(QPointF(2.5 + k * 6, 2.5), QPointF(2.5 + k * 6, 20.5));
        p.drawLine(QPointF(2.5, 2.5 + k * 6), QPointF(20.5, 2.5 + k * 6));
    }
    p.save();
    p.translate(13, 13);
    p.rotate(-40);
    shape(p, rect(-8, -4, 10, 8, 1.5), QColor(230, 90, 110));
    shape(p, rect(2, -4, 6, 8, 1.5), QColor(90, 140, 220));
    p.restore();
}

// A small board with a plus.
void newLevel(QPainter& p) {
    shape(p, rect(2.5, 2.5, 16, 16, 1), QColor(70, 110, 200));
    p.setPen(QPen(QColor(240, 225, 190), 1.0));
    p.setBrush(QColor(240, 225, 190));
    p.drawRect(QRectF(6.5, 6.5, 8, 8));
    shape(p, rect(8.5, 8.5, 4, 4, 0.5), QColor(190, 130, 60));
    plus(p, {17.5, 17.5}, QColor(60, 170, 80));
}

void save(QPainter& p) {
    shape(p, polygon({{3, 3}, {18, 3}, {21, 6}, {21, 21}, {3, 21}}), QColor(60, 100, 190));
    shape(p, rect(6.5, 3, 10, 6.5, 0.5), QColor(220, 225, 232));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 100, 190));
    p.drawRect(QRectF(13, 4.2, 2.2, 4));
    shape(p, rect(6, 12.5, 12, 8.5, 0.8), QColor(245, 245, 245));
}

void deleteLevel(QPainter& p) {
    page(p);
    QPainterPath disc;
    disc.addEllipse(QPointF(16.5, 16.5), 6, 6);
    shape(p, disc, QColor(215, 50, 45));
    p.setPen(QPen(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(14, 14), QPointF(19, 19));
    p.drawLine(QPointF(19, 14), QPointF(14, 19));
}

} // namespace

QIcon designIcon(const QString& name) {
    void (*draw)(QPainter&) = nullptr;
    if (name == "new") draw = newFile;
    if (name == "open") draw = openFile;
    if (name == "clear") draw = clearGrid;
    if (name == "newLevel") draw = newLevel;
    if (name == "save") draw = save;
    if (name == "delete") draw = deleteLevel;
    if (!draw) return {};
    QImage big(kSize * kOver, kSize * kOver, QImage::Format_ARGB32_Premultiplied);
    big.fill(Qt::transparent);
    {
        QPainter p(&big);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.scale(kOver, kOver);
        draw(p);
    }
    return QIcon(QPixmap::fromImage(
        big.scaled(kSize, kSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

} // namespace sokoban

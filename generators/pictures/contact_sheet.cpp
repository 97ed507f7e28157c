// Pages for looking at the pictures: everything enlarged on one contact sheet, and
// a few boards put together the way the game draws them.
#include "generators.h"

#include "core/flood.h"

#include <QFont>
#include <QPainter>

#include <vector>

namespace pics {

QImage compositeWorker(const QImage& tile, const QImage& mask, const QImage& frame) {
    QImage out = tile.convertToFormat(QImage::Format_RGB32);
    QPainter p(&out);
    p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    p.drawImage(0, 0, mask.convertToFormat(QImage::Format_RGB32));
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.drawImage(0, 0, frame.convertToFormat(QImage::Format_RGB32));
    return out;
}

namespace {

// The frame names each figure has, in the order the game loads them.
QStringList frameNames(int set) {
    if (set == 1 || set == 2)
        return {"up1", "up2", "down1", "down2", "left1", "left2", "right1", "right2"};
    if (set == 5) return {"up1", "down1", "left1", "right1"};
    return {"down1", "down2"};
}

class Page {
  public:
    Page(int w, int h, QColor bg) : img_(w, h, QImage::Format_RGB32), p_(&img_) {
        img_.fill(bg);
        QFont f("WenQuanYi Micro Hei");
        f.setPixelSize(12);
        p_.setFont(f);
    }
    QPainter& painter() { return p_; }
    QImage finish() {
        p_.end();
        return img_;
    }
    void text(int x, int y, const QString& s, QColor c = QColor(40, 40, 48)) {
        p_.setPen(c);
        p_.drawText(x, y + 12, s);
    }
    void heading(int x, int y, const QString& s) {
        QFont f = p_.font();
        f.setPixelSize(16);
        f.setBold(true);
        p_.save();
        p_.setFont(f);
        p_.setPen(QColor(30, 40, 70));
        p_.drawText(x, y + 16, s);
        p_.restore();
    }
    void image(int x, int y, const QImage& img, int scale = 1) {
        p_.drawImage(QRect(x, y, img.width() * scale, img.height() * scale), img);
    }
    void tiled(const QRect& r, const QImage& img, int scale = 1) {
        p_.save();
        p_.setClipRect(r);
        const int w = img.width() * scale, h = img.height() * scale;
        for (int y = r.top(); y <= r.bottom(); y += h)
            for (int x = r.left(); x <= r.right(); x += w)
                image(x, y, img, scale);
        p_.restore();
        p_.setPen(QColor(150, 150, 160));
        p_.drawRect(r.adjusted(0, 0, -1, -1));
    }
    void checker(const QRect& r) {
        for (int y = r.top(); y <= r.bottom(); y += 8)
            for (int x = r.left(); x <= r.right(); x += 8)
                p_.fillRect(QRect(x, y, 8, 8) & r, ((x - r.left()) / 8 + (y - r.top()) / 8) % 2
                                                       ? QColor(190, 190, 196)
                                                       : QColor(225, 225, 230));
    }

  private:
    QImage img_;
    QPainter p_;
};

} // namespace

QImage contactSheet(const PictureSet& pics, const std::map<QString, QPoint>& hotSpots) {
    auto get = [&](const QString& n) {
        // a missing picture shows as a magenta square rather than stopping the sheet
        const auto it = pics.find(n);
        if (it != pics.end()) return it->second;
        QImage none(30, 30, QImage::Format_RGB32);
        none.fill(Qt::magenta);
        return none;
    };
    Page page(1120, 1900, QColor(246, 244, 238));
    page.heading(16, 10, "推箱子 — 全部图片 (放大两倍)");

    // faces
    int y0 = 40;
    page.heading(16, y0, "界面风格 1–10: 墙 地面 目标 箱子 箱子在目标上, 墙的平铺");
    y0 += 26;
    const QStringList kinds = {"wall", "cell", "target", "box", "box1"};
    for (int n = 1; n <= 10; ++n) {
        const int col = (n - 1) % 2, row = (n - 1) / 2;
        const int x = 16 + col * 550, y = y0 + row * 92;
        page.text(x, y, QString("界面风格%1").arg(n));
        for (int k = 0; k < 5; ++k)
            page.image(x + k * 66, y + 16, get(QString::number(n) + kinds[k]), 2);
        page.tiled(QRect(x + 5 * 66 + 10, y + 16, 180, 60), get(QString::number(n) + "wall"));
    }

    // figures
    y0 += 5 * 92 + 10;
    page.heading(16, y0, "人物 1–6: 用 AND 遮罩和 XOR 图像画在地面上; 下面一行是遮罩");
    y0 += 26;
    int figY[6] = {y0, y0, y0 + 232, y0 + 232, y0 + 464, y0 + 464};
    for (int set = 1; set <= 6; ++set) {
        const int x = 16 + ((set - 1) % 2) * 550, y = figY[set - 1];
        page.text(x, y, QString("人物%1").arg(set));
        const QStringList frames = frameNames(set);
        for (int i = 0; i < frames.size(); ++i) {
            const QString name = QString::number(set) + frames[i];
            const int fx = x + i * 66;
            page.text(fx, y + 14, frames[i], QColor(110, 110, 120));
            const QImage mask = get(name + "mask"), frame = get(name);
            page.image(fx, y + 30, compositeWorker(get("10cell"), mask, frame), 2);
            const int face = 1 + (i + set * 3) % 9;
            const QString under = (i % 2) ? "target" : "cell";
            page.image(fx, y + 96, compositeWorker(get(QString::number(face) + under), mask, frame),
                       2);
            page.image(fx, y + 162, mask, 2);
        }
    }

    // backgrounds
    y0 += 3 * 232;
    page.heading(16, y0, "背景 1–6 (平铺)");
    y0 += 26;
    for (int b = 1; b <= 6; ++b) {
        const int x = 16 + (b - 1) * 182;
        page.text(x, y0, QString("背景%1").arg(b));
        page.tiled(QRect(x, y0 + 16, 172, 172), get(QString("back%1").arg(b)));
    }

    // cursors
    y0 += 200;
    page.heading(16, y0, "光标 (红点为热点)");
    y0 += 26;
    int i = 0;
    for (const auto& [name, hot] : hotSpots) {
        const int x = 16 + i * 76;
        page.checker(QRect(x, y0 + 16, 64, 64));
        page.image(x, y0 + 16, get(name), 2);
        page.painter().fillRect(QRect(x + hot.x() * 2, y0 + 16 + hot.y() * 2, 2, 2), Qt::red);
        page.text(x, y0, name);
        ++i;
    }

    // tool bar and icon
    y0 += 96;
    page.heading(16, y0, "工具栏图像 0–15 (两倍和原大) 与程序图标");
    y0 += 26;
    const QStringList captions = {"前一关", "选关", "重玩", "后一关", "答案", "撤销",
                                  "声音",   "音乐", "人物", "界面",   "背景", "设计",
                                  "退出",   "停止", "暂停", "继续"};
    for (int t = 0; t < 16; ++t) {
        const int x = 16 + t * 60;
        page.text(x, y0, QString("%1 %2").arg(t).arg(captions[t]));
        page.image(x, y0 + 16, get(QString("tb%1").arg(t)), 2);
    }
    page.painter().fillRect(QRect(16, y0 + 72, 16 * 44 + 8, 44), QColor(236, 236, 236));
    for (int t = 0; t < 16; ++t) {
        const int x = 20 + t * 44;
        page.image(x + 10, y0 + 74, get(QString("tb%1").arg(t)));
        page.painter().setPen(Qt::black);
        page.painter().drawText(QRect(x, y0 + 98, 44, 16), Qt::AlignCenter, captions[t]);
    }
    page.image(16 * 44 + 40, y0 + 62, get("icon"));
    page.image(16 * 44 + 120, y0 + 62, get("icon"), 2);
    return page.finish();
}

namespace {

// A made-up little level, only for looking at the tiles together.
const char* const kBoard[] = {
    "  ######  ", //
    "  #    ###", //
    "###.##   #", //
    "# $ *  $ #", //
    "# .@  #  #", //
    "###$ . ###", //
    "  #    #  ", //
    "  ######  ", //
};

void drawBoard(QPainter& p, const PictureSet& pics, const QRect& area, const QImage& back, int face,
               int figure, int cell = 30) {
    p.save();
    p.setClipRect(area);
    for (int y = area.top(); y <= area.bottom(); y += back.height())
        for (int x = area.left(); x <= area.right(); x += back.width())
            p.drawImage(QRect(x, y, back.width(), back.height()), back);
    const int rows = 8, cols = 10;
    const int ox = area.left() + ((area.width() - cols * cell) / 2 / cell) * cell;
    const int oy = area.top() + ((area.height() - rows * cell) / 2 / cell) * cell;
    // floor is whatever the worker can reach without crossing a wall
    sokoban::core::Flood<> inside(rows * cols);
    inside.start(4 * cols + 3);
    inside.run([&](int i) {
        const int r = i / cols, c = i % cols;
        const auto visit = [&](int rr, int cc) {
            if (rr >= 0 && cc >= 0 && rr < rows && cc < cols && kBoard[rr][cc] != '#')
                inside.visit(rr * cols + cc);
        };
        visit(r, c + 1);
        visit(r, c - 1);
        visit(r + 1, c);
        visit(r - 1, c);
    });
    const QString f = QString::number(face);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const char ch = kBoard[r][c];
            QString tile;
            switch (ch) {
            case '#':
                tile = "wall";
                break;
            case '$':
                tile = "box";
                break;
            case '*':
                tile = "box1";
                break;
            case '.':
                tile = "target";
                break;
            default:
                tile = inside.seen(r * cols + c) ? "cell" : "";
                break;
            }
            if (tile.isEmpty()) continue;
            QImage img = pics.at(f + tile);
            if (ch == '@') {
                const QString fr = QString::number(figure) + (figure == 5 ? "right1" : "down1");
                img = compositeWorker(img, pics.at(fr + "mask"), pics.at(fr));
            }
            p.drawImage(QRect(ox + c * cell, oy + r * cell, cell, cell), img);
        }
    p.restore();
}

} // namespace

namespace {

// A full 22 x 34 board of the kind a large level fills: walls round the edge and in
// short runs inside, boxes, targets and boxes on targets scattered over the floor.
char fullBoardCell(int r, int c) {
    if (r == 0 || r == 21 || c == 0 || c == 33) return '#';
    if (r == 2 && c == 3) return '@'; // worker on the floor
    if (r == 2 && c == 6) return '+'; // worker on a target
    if ((r % 5 == 0 && c % 7 >= 2 && c % 7 <= 4) || (c % 9 == 0 && r % 6 >= 2 && r % 6 <= 3))
        return '#';
    const unsigned h = (unsigned(r) * 73856093u) ^ (unsigned(c) * 19349663u);
    switch (h % 11) {
    case 0:
        return '$';
    case 1:
        return '.';
    case 2:
        return '*';
    default:
        return ' ';
    }
}

} // namespace

QImage fullBoard(const PictureSet& pics, int face, int figure, int cell) {
    QImage out(34 * cell, 22 * cell, QImage::Format_RGB32);
    QPainter p(&out);
    const QImage back = pics.at("back6");
    for (int y = 0; y < out.height(); y += back.height())
        for (int x = 0; x < out.width(); x += back.width())
            p.drawImage(x, y, back);
    const QString f = QString::number(face);
    const QString fr = QString::number(figure) + (figure == 5 ? "right1" : "down1");
    for (int r = 0; r < 22; ++r)
        for (int c = 0; c < 34; ++c) {
            const char ch = fullBoardCell(r, c);
            const QString kind = ch == '#'                ? "wall"
                                 : ch == '$'              ? "box"
                                 : ch == '*'              ? "box1"
                                 : ch == '.' || ch == '+' ? "target"
                                                          : "cell";
            QImage img = pics.at(f + kind);
            if (ch == '@' || ch == '+')
                img = compositeWorker(img, pics.at(fr + "mask"), pics.at(fr));
            // the game stretches tiles to the cell by dropping or repeating pixels
            p.drawImage(QPoint(c * cell, r * cell),
                        img.scaled(cell, cell, Qt::IgnoreAspectRatio, Qt::FastTransformation));
        }
    p.end();
    return out;
}

QImage fullBoards(const PictureSet& pics, int cell) {
    const int w = 34 * cell, h = 22 * cell;
    Page page(16 + 2 * (w + 16), 10 + 5 * (h + 30), QColor(60, 60, 66));
    for (int face = 1; face <= 10; ++face) {
        const int x = 16 + ((face - 1) % 2) * (w + 16), y = 10 + ((face - 1) / 2) * (h + 30);
        page.text(x, y, QString("界面风格%1").arg(face), Qt::white);
        page.image(x, y + 18, fullBoard(pics, face, 1 + (face - 1) % 6, cell));
    }
    return page.finish();
}

QImage mockBoards(const PictureSet& pics) {
    Page page(1140, 1270, QColor(60, 60, 66));
    page.text(16, 8, "界面风格10, 背景6, 人物1 (默认)", Qt::white);
    drawBoard(page.painter(), pics, QRect(16, 26, 540, 330), pics.at("back6"), 10, 1);
    page.text(580, 8, "界面风格10, 背景7 (当前墙壁), 人物2", Qt::white);
    QImage wall = pics.at("10wall");
    drawBoard(page.painter(), pics, QRect(580, 26, 540, 330), wall, 10, 2);
    for (int face = 1; face <= 9; ++face) {
        const int col = (face - 1) % 3, row = (face - 1) / 3;
        const QRect r(16 + col * 372, 390 + row * 294, 360, 270);
        const int back = 1 + (face - 1) % 6, figure = 1 + (face + 1) % 6;
        page.text(r.left(), r.top() - 18,
                  QString("界面风格%1, 背景%2, 人物%3").arg(face).arg(back).arg(figure), Qt::white);
        drawBoard(page.painter(), pics, r, pics.at(QString("back%1").arg(back)), face, figure);
    }
    return page.finish();
}

} // namespace pics

// The six window backgrounds. Each repeats seamlessly, since the window is covered
// with copies of it; background 6, the one the game starts with, is kept quiet so
// that the board stands out.
#include "generators.h"
#include "pixel_canvas.h"

#include <cmath>
#include <iterator>

namespace pics {
namespace {

int wrap(int v, int n) {
    return ((v % n) + n) % n;
}

// 1: a soft blue harlequin of diamonds.
QImage diamonds() {
    Canvas c(32, 32, 0);
    c.each([](int x, int y, Hex) -> Hex {
        const int u = wrap(x + y, 32), v = wrap(x - y, 32);
        if (u % 16 == 0 && v % 16 == 0) return 0xb4c6de;
        if (u % 16 == 0 || v % 16 == 0) return 0x7f93b2;
        if (u % 16 == 1 || v % 16 == 1) return 0x6a7fa0;
        return ((u / 16 + v / 16) % 2) ? 0x566a8a : 0x5e7394;
    });
    return c.indexed();
}

// 2: green basket weave.
QImage basket() {
    Canvas c(32, 32, 0);
    c.each([](int x, int y, Hex) -> Hex {
        const bool across = ((x / 8) + (y / 8)) % 2;
        const int along = across ? x % 8 : y % 8; // position along the strip
        const int side = across ? y % 8 : x % 8;  // position across the strips
        const int strand = side / 4, in = side % 4;
        if (in == 3) return 0x23401f;
        if (along == 0 || along == 7) return 0x2f5429;
        if (in == 0) return 0x8ab866;
        return (strand == 0) == across ? 0x5c8c48 : 0x4f7e3e;
    });
    return c.indexed();
}

// 3: warm parquet, blocks of four boards turning a quarter each.
QImage parquet() {
    Canvas c(32, 32, 0);
    c.each([](int x, int y, Hex) -> Hex {
        const bool across = ((x / 16) + (y / 16)) % 2;
        const int along = across ? x % 16 : y % 16;
        const int side = across ? y % 16 : x % 16;
        const int board = side / 4, in = side % 4;
        if (in == 3) return 0x4a2a16;
        if (in == 0) return 0xc8905a;
        const double grain = std::sin(along * 0.8 + board * 2.3 + in * 1.7);
        if (grain > 0.8) return 0x8c5630;
        return (board % 2) ? 0xa86e40 : 0xb47a48;
    });
    return c.indexed();
}

// 4: night sky with a few stars.
QImage nightSky() {
    Canvas c(32, 32, 0);
    c.each([](int x, int y, Hex) -> Hex {
        const double n = periodicNoise(x, y, 32, 8, 401);
        if (n < 0.35) return 0x161c3a;
        if (n > 0.7) return 0x222c56;
        return 0x1b2246;
    });
    const struct {
        int x, y;
        Hex col;
    } stars[] = {{3, 5, 0xffffff},  {21, 2, 0xc8d4ff},  {12, 13, 0xfff2b0}, {28, 18, 0xffffff},
                 {7, 24, 0xc8d4ff}, {17, 28, 0xffffff}, {25, 9, 0x8a96c8},  {14, 21, 0x8a96c8}};
    for (const auto& s : stars)
        c.put(s.x, s.y, s.col);
    // one brighter star with rays
    c.put(12, 12, 0x8a96c8);
    c.put(12, 14, 0x8a96c8);
    c.put(11, 13, 0x8a96c8);
    c.put(13, 13, 0x8a96c8);
    c.put(28, 17, 0x5a66a0);
    c.put(28, 19, 0x5a66a0);
    c.put(27, 18, 0x5a66a0);
    c.put(29, 18, 0x5a66a0);
    return c.indexed();
}

// 5: overlapping wave scales in blues.
QImage waves() {
    Canvas c(64, 64, 0);
    const double r = 16.0;
    c.each([&](int x, int y, Hex) -> Hex {
        // the scale drawn last (lowest centre) that covers the pixel owns it
        for (int cy = (y / 16 + 2) * 16; cy >= y; cy -= 16) {
            const int row = wrap(cy / 16, 4);
            const int cx0 = (row % 2) ? 16 : 0;
            for (int cx = cx0 - 32; cx <= 64 + 32; cx += 32) {
                const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
                if (d > r) continue;
                const int ringNo = int(d / 2.7);
                if (ringNo == 5 && d > r - 1.2) return 0x1c3a5c;
                switch (ringNo % 3) {
                case 0:
                    return d < 2.7 ? 0x9cc8e8 : 0x5e98c8;
                case 1:
                    return 0x3c78ae;
                default:
                    return 0x2e6498;
                }
            }
        }
        return 0x2e6498;
    });
    return c.indexed();
}

// 6: the starting background: a quiet key-fret lattice on deep slate.
QImage keyFret() {
    Canvas c(64, 64, 0);
    c.each([](int x, int y, Hex) -> Hex {
        const double n = hashNoise(x, y, 601);
        return n < 0.12 ? 0x2c3a42 : 0x303f48;
    });
    // a square spiral in each 16 x 16 cell, turning a quarter from cell to cell
    const int path[][2] = {{1, 1},  {14, 1},  {14, 14}, {3, 14}, {3, 4},
                           {11, 4}, {11, 11}, {6, 11},  {6, 7},  {8, 7}};
    for (int cyc = 0; cyc < 4; ++cyc)
        for (int cxc = 0; cxc < 4; ++cxc) {
            const int turn = (cxc + cyc) % 4;
            auto map = [&](int px, int py, int& ox, int& oy) {
                int x = px, y = py;
                for (int t = 0; t < turn; ++t) {
                    const int nx = 15 - y, ny = x;
                    x = nx;
                    y = ny;
                }
                ox = cxc * 16 + x;
                oy = cyc * 16 + y;
            };
            for (std::size_t i = 0; i + 1 < std::size(path); ++i) {
                int x0, y0, x1, y1;
                map(path[i][0], path[i][1], x0, y0);
                map(path[i + 1][0], path[i + 1][1], x1, y1);
                // shadow one pixel down and right, then the line itself
                c.line(x0 + 1, y0 + 1, x1 + 1, y1 + 1, 0x28343b);
            }
            for (std::size_t i = 0; i + 1 < std::size(path); ++i) {
                int x0, y0, x1, y1;
                map(path[i][0], path[i][1], x0, y0);
                map(path[i + 1][0], path[i + 1][1], x1, y1);
                c.line(x0, y0, x1, y1, 0x3c4e58);
            }
        }
    return c.indexed();
}

} // namespace

void drawBackgrounds(PictureSet& out) {
    out["back1"] = diamonds();
    out["back2"] = basket();
    out["back3"] = parquet();
    out["back4"] = nightSky();
    out["back5"] = waves();
    out["back6"] = keyFret();
}

} // namespace pics

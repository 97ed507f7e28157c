// The ten faces of the board: wall, floor, target, box and box-on-target tiles.
//
// Each wall and floor tile is one block or one slab with its own edges, so the
// board's lines are the cells' lines and counting cells stays easy; the pattern
// inside (bricks, boards, grain) is the face's material, kept quiet.
#include "generators.h"
#include "pixel_canvas.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <vector>

namespace pics {
namespace {

constexpr int S = 30; // tile size

// Where a pixel falls in a wall of stones laid in courses.
struct Stone {
    bool mortar = false;
    int course = 0; // course number from the top
    int id = 0;     // stone number within the course
    int lx = 0;     // position inside the stone
    int ly = 0;
    int w = 0; // stone size without mortar
    int h = 0;
    bool top() const { return ly == 0; }
    bool left() const { return lx == 0; }
    bool bottom() const { return ly == h - 1; }
    bool right() const { return lx == w - 1; }
    bool corner() const { return (top() || bottom()) && (left() || right()); }
};

// Courses run top to bottom; the last row of each course is mortar. `joints` holds, per course,
// the columns of the vertical mortar lines (they wrap around the tile).
struct Masonry {
    std::vector<int> heights;
    std::vector<std::vector<int>> joints;

    Stone at(int x, int y) const {
        Stone s;
        int top = 0;
        while (s.course + 1 < int(heights.size()) && y >= top + heights[std::size_t(s.course)]) {
            top += heights[std::size_t(s.course)];
            ++s.course;
        }
        const int ch = heights[std::size_t(s.course)];
        s.ly = y - top;
        s.h = ch - 1;
        if (s.ly == ch - 1) s.mortar = true;
        const auto& js = joints[std::size_t(s.course)];
        int prev = js.back() - S, next = js.front() + S, prevId = int(js.size()) - 1;
        for (std::size_t i = 0; i < js.size(); ++i) {
            if (js[i] == x) s.mortar = true;
            if (js[i] < x) {
                prev = js[i];
                prevId = int(i);
            }
        }
        for (auto it = js.rbegin(); it != js.rend(); ++it)
            if (*it > x) next = *it;
        s.lx = x - prev - 1;
        s.w = next - prev - 1;
        s.id = prevId;
        return s;
    }
};

// Running bond of equal bricks: widths divide 30, odd courses shifted by `shift`.
Masonry bond(std::vector<int> heights, int width, int shift) {
    Masonry m;
    m.heights = heights;
    for (std::size_t c = 0; c < heights.size(); ++c) {
        std::vector<int> js;
        const int off = (c % 2) ? shift : 0;
        for (int x = width - 1 + off; x < width - 1 + off + S; x += width)
            js.push_back(x % S);
        std::sort(js.begin(), js.end());
        m.joints.push_back(js);
    }
    return m;
}

double noise(int x, int y, int seed) {
    return hashNoise(x, y, seed);
}

// A box casts a shadow on the floor; a box on its target glows instead (see halo).
bool castShadows = true;

void shadow(Canvas& c, int x, int y, int w, int h, Hex colour) {
    if (castShadows) c.rect(x, y, w, h, colour);
}

struct CrateColours {
    Hex outline, frame, frameLight, frameDark, board, boardLine, nail;
};

// A square crate in the middle of the tile with a shadow on the floor beneath it.
// The frame is `rim` pixels wide; `brace` draws the diagonal board.
void crate(Canvas& c, const CrateColours& k, Hex shadowColour, bool brace = true, int rim = 3) {
    const int x0 = 3, y0 = 3, n = 24;
    pics::shadow(c, x0 + 2, y0 + n, n - 1, 2, shadowColour);
    pics::shadow(c, x0 + n, y0 + 2, 2, n, shadowColour);
    c.rect(x0, y0, n, n, k.outline);
    c.rect(x0 + 1, y0 + 1, n - 2, n - 2, k.frame);
    c.hline(x0 + 1, x0 + n - 2, y0 + 1, k.frameLight);
    c.vline(x0 + 1, y0 + 1, y0 + n - 2, k.frameLight);
    c.hline(x0 + 2, x0 + n - 2, y0 + n - 2, k.frameDark);
    c.vline(x0 + n - 2, y0 + 2, y0 + n - 2, k.frameDark);
    // inner panel of boards
    const int ix = x0 + 1 + rim, iy = y0 + 1 + rim, in = n - 2 - 2 * rim;
    c.rect(ix - 1, iy - 1, in + 2, in + 2, k.frameDark);
    c.rect(ix, iy, in, in, k.board);
    for (int y = iy + 3; y < iy + in - 1; y += 4)
        c.hline(ix, ix + in - 1, y, k.boardLine);
    if (brace) {
        for (int t = 0; t < in; ++t) {
            const int x = ix + t, y = iy + in - 1 - t;
            c.put(x, y, k.frame);
            if (y - 1 >= iy) c.put(x, y - 1, k.frameLight);
            if (y + 1 < iy + in) c.put(x, y + 1, k.frame);
            if (y + 2 < iy + in) c.put(x, y + 2, k.frameDark);
        }
    }
    for (auto [nx, ny] : {std::pair{x0 + 2, y0 + 2},
                          {x0 + n - 3, y0 + 2},
                          {x0 + 2, y0 + n - 3},
                          {x0 + n - 3, y0 + n - 3}})
        c.put(nx, ny, k.nail);
}

// Light round a box standing on its target: the floor next to the box takes the glow
// colour, a softer shade one pixel further out.
void halo(Canvas& c, const Canvas& under, Hex glowColour) {
    auto inBox = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < S && y < S && c.at(x, y) != under.at(x, y);
    };
    // the floor colour seen most often, for the soft outer glow
    std::map<Hex, int> seen;
    for (int y = 0; y < S; ++y)
        for (int x = 0; x < S; ++x)
            ++seen[under.at(x, y)];
    Hex floor = seen.begin()->first;
    for (auto [col, n] : seen)
        if (n > seen[floor]) floor = col;
    const Hex soft = mix(glowColour, floor, 0.55);
    std::vector<int> dist(S * S, 99);
    for (int y = 0; y < S; ++y)
        for (int x = 0; x < S; ++x) {
            if (inBox(x, y)) continue;
            for (int dy = -2; dy <= 2; ++dy)
                for (int dx = -2; dx <= 2; ++dx)
                    if (inBox(x + dx, y + dy))
                        dist[y * S + x] =
                            std::min(dist[y * S + x], std::max(std::abs(dx), std::abs(dy)));
        }
    for (int y = 0; y < S; ++y)
        for (int x = 0; x < S; ++x) {
            if (dist[y * S + x] == 1)
                c.put(x, y, glowColour);
            else if (dist[y * S + x] == 2)
                c.put(x, y, soft);
        }
}

// Brackets in the four corners of a target: the worker standing on it covers the middle
// of the cell, the corners stay in sight. `edge` lines the inside of each bracket so it
// reads on a patterned floor too.
void cornerMarks(Canvas& c, Hex ink, Hex edge) {
    for (int corner = 0; corner < 4; ++corner) {
        const bool right = corner & 1, bottom = corner & 2;
        const auto at = [&](int x, int y, Hex k) {
            c.put(right ? S - 1 - x : x, bottom ? S - 1 - y : y, k);
        };
        for (int t = 1; t <= 7; ++t) {
            at(t, 1, ink);
            at(t, 2, ink);
            at(1, t, ink);
            at(2, t, ink);
        }
        for (int t = 3; t <= 7; ++t) {
            at(t, 3, edge);
            at(3, t, edge);
        }
    }
}

// The sign a box wears on its target, so that it differs from a plain box in shape and
// in light and dark, not in colour alone.
enum class Sign { Star, Diamond, Check, Flower };

void sign(Canvas& c, Sign kind, Hex fill, Hex outline, double cx = 15, double cy = 15) {
    constexpr double pi = 3.14159265;
    switch (kind) {
    case Sign::Star: {
        std::vector<std::pair<double, double>> outer, inner;
        for (int k = 0; k < 10; ++k) {
            const double a = -pi / 2 + k * pi / 5;
            const double r = (k % 2) ? 4.0 : 8.6;
            outer.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
            inner.push_back({cx + (r - 1.4) * std::cos(a), cy + (r - 1.4) * std::sin(a)});
        }
        c.polygon(outer, outline);
        c.polygon(inner, fill);
        break;
    }
    case Sign::Diamond:
        c.polygon({{cx, cy - 8.5}, {cx + 8.5, cy}, {cx, cy + 8.5}, {cx - 8.5, cy}}, outline);
        c.polygon({{cx, cy - 6.5}, {cx + 6.5, cy}, {cx, cy + 6.5}, {cx - 6.5, cy}}, fill);
        c.polygon({{cx, cy - 3}, {cx + 3, cy}, {cx, cy + 3}, {cx - 3, cy}}, outline);
        break;
    case Sign::Check: {
        c.disc(cx, cy, 9, outline);
        c.disc(cx, cy, 7.6, fill);
        // a thick tick, drawn as a chain of dots
        const auto stroke = [&](double x0, double y0, double x1, double y1) {
            for (int t = 0; t <= 12; ++t) {
                const double x = x0 + (x1 - x0) * t / 12, y = y0 + (y1 - y0) * t / 12;
                c.disc(x, y, 1.5, outline);
            }
        };
        stroke(cx - 4, cy, cx - 1, cy + 3.5);
        stroke(cx - 1, cy + 3.5, cx + 4.5, cy - 3.5);
        break;
    }
    case Sign::Flower:
        for (int k = 0; k < 5; ++k) {
            const double a = -pi / 2 + k * 2 * pi / 5;
            c.disc(cx + 4.2 * std::cos(a), cy + 4.2 * std::sin(a), 3.6, outline);
        }
        for (int k = 0; k < 5; ++k) {
            const double a = -pi / 2 + k * 2 * pi / 5;
            c.disc(cx + 4.2 * std::cos(a), cy + 4.2 * std::sin(a), 2.6, fill);
        }
        c.disc(cx, cy, 2.6, outline);
        c.disc(cx, cy, 1.6, 0xffe35a);
        break;
    }
}

double luminance(Hex c) {
    return 0.299 * ((c >> 16) & 0xff) + 0.587 * ((c >> 8) & 0xff) + 0.114 * (c & 0xff);
}

// A cell reads as one cell: the pattern inside a wall or floor tile (courses, joints,
// grain) is toned down towards the tile's main colour, and the tile's own edges carry
// its strongest lines, lit at the top and left and shaded at the bottom and right, as
// one block or one slab. The colours stay the face's own.
void oneCell(Canvas& c, double soften) {
    std::map<Hex, int> seen;
    for (int y = 0; y < S; ++y)
        for (int x = 0; x < S; ++x)
            ++seen[c.at(x, y)];
    Hex base = seen.begin()->first, light = base, dark = base;
    for (const auto& [colour, n] : seen) {
        if (n > seen[base]) base = colour;
        if (luminance(colour) > luminance(light)) light = colour;
        if (luminance(colour) < luminance(dark)) dark = colour;
    }
    c.each([&](int x, int y, Hex current) -> Hex {
        if (x == S - 1 || y == S - 1) return dark;
        if (x == 0 || y == 0) return light;
        return mix(current, base, soften);
    });
}

struct Face {
    std::function<void(Canvas&)> wall, floor, mark, box, box1;
    Hex glow = 0xffffff; // light round a box on its target
};

// ---------------------------------------------------------------- face 1: red brick
Face redBrick() {
    Face f;
    f.wall = [](Canvas& c) {
        const Masonry m = bond({8, 7, 8, 7}, 15, 7);
        c.each([&](int x, int y, Hex) -> Hex {
            const Stone s = m.at(x, y);
            if (s.mortar) return noise(x, y, 11) < 0.3 ? 0xb8ad99 : 0xcfc5b1;
            const bool alt = noise(s.course, s.id, 12) < 0.4;
            const Hex base = alt ? 0xa63d2b : 0xb5472f;
            if (s.top() && !s.right()) return 0xd06447;
            if (s.bottom() || s.right()) return 0x7e2a1d;
            const double n = noise(x, y, 13);
            if (n < 0.12) return 0x8f3324;
            if (n > 0.93) return 0xc9583d;
            return base;
        });
    };
    f.floor = [](Canvas& c) {
        c.each([&](int x, int y, Hex) -> Hex {
            const int lx = x % S, ly = y % S;
            if (lx == S - 1 || ly == S - 1) return 0xa99b82;
            if (lx == 0 || ly == 0) return 0xeee5d0;
            if (lx == S - 2 || ly == S - 2) return 0xc9bb9e;
            const double n = noise(x, y, 21);
            if (n < 0.15) return 0xd2c4a8;
            return 0xdfd3b8;
        });
    };
    f.mark = [](Canvas& c) {
        c.disc(15, 15, 9, 0x8a2a1f);
        c.disc(15, 15, 8, 0xd13c2c);
        c.disc(15, 15, 6, 0xf4eadb);
        c.disc(15, 15, 4, 0xd13c2c);
        c.disc(15, 15, 2, 0xf4eadb);
        cornerMarks(c, 0xd13c2c, 0x8a2a1f);
    };
    const CrateColours wood{0x4a2a12, 0xc68a4c, 0xe6b071, 0x8d5a2b, 0xb07840, 0x8d5a2b, 0x4a2a12};
    const CrateColours lit{0x5a3a0a, 0xf0b838, 0xffe08a, 0xb07818, 0xe0a030, 0xb07818, 0x5a3a0a};
    f.box = [wood](Canvas& c) { crate(c, wood, 0xa99b82); };
    f.box1 = [lit](Canvas& c) {
        crate(c, lit, 0xa99b82);
        sign(c, Sign::Diamond, 0xd13c2c, 0x5a3a0a);
    };
    f.glow = 0xffd95a;
    return f;
}

// ---------------------------------------------------------------- face 2: grey stone
Face greyStone() {
    Face f;
    f.wall = [](Canvas& c) {
        Masonry m;
        m.heights = {11, 9, 10};
        m.joints = {{4, 18}, {10, 25}, {0, 13, 22}};
        c.each([&](int x, int y, Hex) -> Hex {
            const Stone s = m.at(x, y);
            if (s.mortar || s.corner()) return 0x4a4a52;
            const int v = int(noise(s.course, s.id, 31) * 3);
            const Hex base = v == 0 ? 0xb4b6bd : (v == 1 ? 0xc2c3c9 : 0xa8aab2);
            if (s.top() || s.left()) return 0xe2e4e8;
            if (s.bottom() || s.right()) return 0x7c7e86;
            const double n = noise(x, y, 32);
            if (n < 0.14) return 0x989aa2;
            if (n > 0.94) return 0xe2e4e8;
            return base;
        });
    };
    f.floor = [](Canvas& c) {
        c.each([&](int x, int y, Hex) -> Hex {
            const int lx = x % S, ly = y % S;
            if (lx == S - 1 || ly == S - 1) return 0x1e2026;
            if (lx == 0 || ly == 0) return 0x4a4e57;
            const double n = noise(x, y, 33);
            if (n < 0.2) return 0x33363d;
            return 0x3a3d45;
        });
    };
    f.mark = [](Canvas& c) {
        c.ring(15, 15, 7, 9.5, 0x3d8fe0);
        c.ring(15, 15, 7.8, 8.8, 0x9fd4ff);
        c.polygon({{15, 9}, {21, 15}, {15, 21}, {9, 15}}, 0x3d8fe0);
        c.polygon({{15, 11}, {19, 15}, {15, 19}, {11, 15}}, 0x9fd4ff);
        c.disc(15, 15, 1.5, 0xffffff);
        cornerMarks(c, 0x9fd4ff, 0x3d8fe0);
    };
    auto chest = [](Canvas& c, Hex band, Hex bandLight, Hex wood, Hex woodDark, Hex rivet) {
        shadow(c, 5, 27, 23, 2, 0x1e2026);
        shadow(c, 27, 5, 2, 23, 0x1e2026);
        c.rect(3, 3, 24, 24, 0x1e1a18);
        c.rect(4, 4, 22, 22, wood);
        for (int y = 9; y < 26; y += 5)
            c.hline(4, 25, y, woodDark);
        for (int x = 4; x < 26; ++x)
            for (int y = 4; y < 26; ++y)
                if (noise(x, y, 34) < 0.12) c.put(x, y, woodDark);
        // iron bands round the edges and across the middle
        for (int t = 0; t < 22; ++t) {
            c.put(4 + t, 4, bandLight);
            c.put(4, 4 + t, bandLight);
            c.put(4 + t, 5, band);
            c.put(5, 4 + t, band);
            c.put(4 + t, 24, band);
            c.put(24, 4 + t, band);
            c.put(4 + t, 25, 0x1e1a18);
            c.put(25, 4 + t, 0x1e1a18);
        }
        c.rect(4, 14, 22, 3, band);
        c.hline(4, 25, 14, bandLight);
        c.rect(13, 4, 4, 22, band);
        c.vline(13, 4, 25, bandLight);
        c.rect(12, 12, 6, 7, 0x1e1a18);
        c.rect(13, 13, 4, 5, bandLight);
        c.rect(14, 15, 2, 2, 0x1e1a18);
        for (auto [x, y] : {std::pair{6, 6}, {22, 6}, {6, 22}, {22, 22}}) {
            c.rect(x, y, 2, 2, rivet);
            c.put(x, y, 0xffffff);
        }
    };
    f.box = [chest](Canvas& c) { chest(c, 0xa0a6ae, 0xdde1e6, 0xb07a48, 0x82552e, 0x6e747c); };
    f.box1 = [chest](Canvas& c) {
        chest(c, 0x3d8fe0, 0x9fd4ff, 0xc08a54, 0x82552e, 0xffffff);
        sign(c, Sign::Diamond, 0xffffff, 0x1e1a18);
    };
    f.glow = 0x6ec6ff;
    return f;
}

// ---------------------------------------------------------------- face 3: wood planks
Face woodPlanks() {
    Face f;
    f.wall = [](Canvas& c) {
        // stacked timber: horizontal planks, ends staggered, nails at the ends
        Masonry m;
        m.heights = {6, 6, 6, 6, 6};
        m.joints = {{9}, {24}, {16}, {3}, {20}};
        c.each([&](int x, int y, Hex) -> Hex {
            const Stone s = m.at(x, y);
            if (s.mortar) return 0x2a170b;
            if (s.right() || (s.lx == 0 && s.ly > 0)) return 0x3d2312;
            if (s.top()) return 0x8a5a34;
            if (s.bottom()) return 0x4e2e17;
            if ((s.lx == 2 || s.lx == s.w - 3) && s.ly == 2) return 0x2a170b;
            const double g = std::sin((x + s.course * 7) * 0.9 + s.ly * 2.1 +
                                      std::sin(x * 0.35 + s.course) * 1.5);
            if (g > 0.75) return 0x5e381c;
            return (s.course % 2) ? 0x704425 : 0x6a3f21;
        });
    };
    f.floor = [](Canvas& c) {
        // light floor boards running up and down, ends staggered
        c.each([&](int x, int y, Hex) -> Hex {
            const int board = x / 6, lx = x % 6;
            const int end = (board * 11 + 3) % S;
            // soft seams, so that the boxes stand out from the boards
            if (lx == 5) return 0xb48a52;
            if (y == end) return 0xb48a52;
            if (lx == 0) return 0xe4c28a;
            if ((y + S - end) % S == 1) return 0xe2bb80;
            const double g = std::sin(y * 0.7 + board * 1.7 + std::sin(y * 0.21 + board) * 2.0);
            if (g > 0.82 && lx > 1 && lx < 4) return 0xbf9358;
            return (board % 2) ? 0xd7ad72 : 0xd2a86c;
        });
    };
    f.mark = [](Canvas& c) {
        // painted marking: a green ring and dot
        c.ring(15, 15, 6.5, 9.5, 0x1c5e32);
        c.ring(15, 15, 7.5, 8.5, 0x4cc27a);
        c.disc(15, 15, 3, 0x1c5e32);
        c.disc(14.5, 14.5, 1.5, 0x4cc27a);
        cornerMarks(c, 0x1c5e32, 0x4cc27a);
    };
    auto carton = [](Canvas& c, Hex face, Hex dark, Hex light, Hex tape, Hex tapeDark) {
        shadow(c, 5, 27, 23, 2, 0xb48a52);
        shadow(c, 27, 5, 2, 23, 0xb48a52);
        c.rect(3, 3, 24, 24, 0x4a2e14);
        c.rect(4, 4, 22, 22, face);
        c.hline(4, 25, 4, light);
        c.vline(4, 4, 25, light);
        c.hline(5, 25, 25, dark);
        c.vline(25, 5, 25, dark);
        // flaps meeting under the tape
        c.hline(4, 25, 9, dark);
        c.hline(4, 25, 10, light);
        c.rect(12, 4, 6, 22, tape);
        c.vline(12, 4, 25, tapeDark);
        c.vline(17, 4, 25, tapeDark);
    };
    f.box = [carton](Canvas& c) {
        carton(c, 0x94622e, 0x6a4218, 0xb07c44, 0xd8c08c, 0xa88c58);
        // "this way up" arrows
        for (int x : {6, 20}) {
            c.vline(x + 2, 15, 21, 0x3a2410);
            c.hline(x + 1, x + 3, 16, 0x3a2410);
            c.put(x, 17, 0x3a2410);
            c.put(x + 4, 17, 0x3a2410);
        }
    };
    f.box1 = [carton](Canvas& c) {
        carton(c, 0x2f7a48, 0x1c5e32, 0x4c9a62, 0x9ac8a0, 0x1c5e32);
        // a tick on each side of the tape
        for (int x : {5, 19}) {
            c.line(x, 17, x + 2, 19, 0xe8f4d8);
            c.line(x + 2, 19, x + 5, 14, 0xe8f4d8);
            c.line(x, 18, x + 2, 20, 0xe8f4d8);
            c.line(x + 2, 20, x + 5, 15, 0xe8f4d8);
        }
    };
    f.glow = 0x4cc27a;
    return f;
}

// ---------------------------------------------------------------- face 4: ice
Face ice() {
    Face f;
    f.wall = [](Canvas& c) {
        Masonry ice;
        ice.heights = {10, 10, 10};
        ice.joints = {{14, 29}, {6, 21}, {11, 26}};
        c.each([&](int x, int y, Hex) -> Hex {
            const Stone s = ice.at(x, y);
            if (s.mortar) return 0x2a5f8c;
            if (s.top() || s.left()) return 0xc4e8fa;
            if (s.bottom() || s.right()) return 0x3d78a8;
            // a bright streak across each block
            const int d = s.lx - s.ly;
            if (d == 3 || d == 4) return 0x9ed2f0;
            if (s.lx + s.ly == s.w - 2 && noise(s.course, s.id, 41) < 0.5) return 0x3d78a8;
            return 0x62a2d2;
        });
    };
    f.floor = [](Canvas& c) {
        c.each([&](int x, int y, Hex) -> Hex {
            const double n = periodicNoise(x, y, S, 10, 42);
            const double s = noise(x, y, 43);
            if (s > 0.975) return 0xffffff;
            if (n < 0.35) return 0xdce9f3;
            if (n > 0.7) return 0xf6fbfe;
            return 0xebf3f9;
        });
    };
    f.mark = [](Canvas& c) {
        c.ring(15, 15, 7.5, 9.5, 0x3f86c6);
        // snowflake
        for (int t = -5; t <= 5; ++t) {
            c.put(15 + t, 15, 0x3f86c6);
            c.put(15, 15 + t, 0x3f86c6);
            if (std::abs(t) <= 3) {
                c.put(15 + t, 15 + t, 0x3f86c6);
                c.put(15 + t, 15 - t, 0x3f86c6);
            }
        }
        c.put(15, 15, 0xffffff);
        cornerMarks(c, 0x3f86c6, 0x9ed2f0);
    };
    auto gift = [](Canvas& c, Hex body, Hex bodyDark, Hex bodyLight, Hex ribbon, Hex ribbonDark) {
        shadow(c, 6, 27, 22, 2, 0xc2d6e6);
        shadow(c, 26, 8, 2, 20, 0xc2d6e6);
        c.rect(4, 6, 22, 21, 0x3a1a28);
        c.rect(5, 7, 20, 19, body);
        c.vline(5, 7, 25, bodyLight);
        c.hline(6, 24, 25, bodyDark);
        c.vline(24, 8, 25, bodyDark);
        // lid
        c.rect(3, 5, 24, 6, 0x3a1a28);
        c.rect(4, 6, 22, 4, body);
        c.hline(4, 25, 6, bodyLight);
        c.hline(4, 25, 9, bodyDark);
        // ribbon and bow
        c.rect(13, 6, 4, 20, ribbon);
        c.vline(16, 6, 25, ribbonDark);
        c.ellipse(11, 3.5, 3.5, 2.5, 0x3a1a28);
        c.ellipse(19, 3.5, 3.5, 2.5, 0x3a1a28);
        c.ellipse(11, 3.5, 2.5, 1.5, ribbon);
        c.ellipse(19, 3.5, 2.5, 1.5, ribbon);
        c.rect(14, 3, 2, 3, ribbonDark);
    };
    f.box = [gift](Canvas& c) { gift(c, 0xd8394a, 0x9c2232, 0xf07080, 0xffffff, 0xc8d8e8); };
    f.box1 = [gift](Canvas& c) {
        gift(c, 0xf2c230, 0xc08a10, 0xffe88a, 0xd8394a, 0x9c2232);
        c.put(6, 13, 0xffffff);
        c.put(22, 19, 0xffffff);
    };
    f.glow = 0x7fd0ff;
    return f;
}

// ---------------------------------------------------------------- face 5: garden
Face garden() {
    Face f;
    f.wall = [](Canvas& c) {
        // clipped hedge: clumps of leaves from periodic noise
        c.each([&](int x, int y, Hex) -> Hex {
            const double n =
                periodicNoise(x, y, S, 6, 51) * 0.65 + periodicNoise(x, y, S, 3, 52) * 0.35;
            const double lightSide = periodicNoise(x - 1, y - 1, S, 6, 51) * 0.65 +
                                     periodicNoise(x - 1, y - 1, S, 3, 52) * 0.35;
            if (n < 0.3) return 0x1c4a1e;
            if (n < 0.42) return 0x2c6a2a;
            if (lightSide > n + 0.05) return 0x6cae48;
            if (n < 0.6) return 0x3e8a36;
            return 0x52a03e;
        });
        for (int i = 0; i < 6; ++i) {
            const int x = int(noise(i, 0, 53) * S), y = int(noise(i, 1, 53) * S);
            c.put(x, y, 0x9ad468);
        }
    };
    f.floor = [](Canvas& c) {
        // gravel path
        c.each([&](int x, int y, Hex) -> Hex {
            const double n = noise(x, y, 54);
            const double p = periodicNoise(x, y, S, 5, 55);
            if (p > 0.72 && n < 0.5) return 0xb8a27c;
            if (n < 0.1) return 0xbfae8a;
            if (n > 0.92) return 0xf3ead2;
            return 0xe0d2b0;
        });
        for (int i = 0; i < 9; ++i) {
            const int x = int(noise(i, 3, 56) * S), y = int(noise(i, 4, 56) * S);
            c.put(x, y, 0x8e7c5c);
            c.put(x + 1, y, 0xf3ead2);
        }
    };
    f.mark = [](Canvas& c) {
        // a bed of dug soil with a sprout
        c.ellipse(15, 16, 10, 8.5, 0x5a3820);
        c.ellipse(15, 16, 9, 7.5, 0x7a5230);
        for (int i = 0; i < 12; ++i) {
            const int x = 8 + int(noise(i, 5, 57) * 14), y = 11 + int(noise(i, 6, 57) * 10);
            c.put(x, y, 0x5a3820);
        }
        c.vline(15, 14, 18, 0x3e8a36);
        c.ellipse(13, 13.5, 2, 1.2, 0x52a03e);
        c.ellipse(17, 13.5, 2, 1.2, 0x52a03e);
        cornerMarks(c, 0x5a3820, 0x7a5230);
    };
    auto planter = [](Canvas& c, bool flowers) {
        shadow(c, 5, 27, 23, 2, 0xb8a27c);
        shadow(c, 27, 9, 2, 19, 0xb8a27c);
        c.rect(3, 7, 24, 20, 0x3a2412);
        c.rect(4, 8, 22, 18, 0xa06a38);
        for (int y = 13; y < 26; y += 5)
            c.hline(4, 25, y, 0x74471f);
        c.hline(4, 25, 8, 0xc88a4c);
        c.vline(4, 8, 25, 0xc88a4c);
        c.vline(25, 8, 25, 0x74471f);
        c.vline(8, 8, 25, 0x74471f);
        c.vline(21, 8, 25, 0x74471f);
        // soil on top
        c.rect(3, 4, 24, 4, 0x3a2412);
        c.rect(4, 5, 22, 2, 0x5a3820);
        if (!flowers) {
            c.vline(10, 2, 4, 0x3e8a36);
            c.vline(19, 2, 4, 0x3e8a36);
            c.put(9, 2, 0x52a03e);
            c.put(20, 2, 0x52a03e);
            return;
        }
        c.rect(5, 3, 20, 2, 0x3e8a36);
        auto bloom = [&](int x, int y, Hex petal) {
            c.disc(x, y, 3, 0x3a2412);
            c.disc(x, y, 2.3, petal);
            c.put(int(x) - 1, int(y) - 1, 0xffe35a);
            c.put(int(x), int(y) - 1, 0xffe35a);
            c.put(int(x) - 1, int(y), 0xffe35a);
            c.put(int(x), int(y), 0xffe35a);
        };
        bloom(8, 3, 0xe8465a);
        bloom(15, 2, 0xffffff);
        bloom(22, 3, 0xe8465a);
    };
    f.box = [planter](Canvas& c) { planter(c, false); };
    f.box1 = [planter](Canvas& c) {
        planter(c, true);
        sign(c, Sign::Flower, 0xffffff, 0x3a2412, 15, 17);
    };
    f.glow = 0xffe35a;
    return f;
}

// ---------------------------------------------------------------- face 6: industrial
Face industrial() {
    Face f;
    f.wall = [](Canvas& c) {
        // steel plates, rows offset by half a plate, rivets along the seams
        Masonry m;
        m.heights = {15, 15};
        m.joints = {{29}, {14}};
        c.each([&](int x, int y, Hex) -> Hex {
            const Stone s = m.at(x, y);
            if (s.mortar) return 0x2b3138;
            const bool rivet = (s.ly == 2 || s.ly == s.h - 3) && (s.lx % 7 == 3);
            if (rivet) return 0xd7dde3;
            const bool rivetShadow = (s.ly == 3 || s.ly == s.h - 2) && (s.lx % 7 == 3);
            if (rivetShadow) return 0x3e464e;
            if (s.top() || s.left()) return 0x939ca6;
            if (s.bottom() || s.right()) return 0x3c444c;
            return (y % 3 == 0) ? 0x5d6670 : 0x646e78;
        });
    };
    f.floor = [](Canvas& c) {
        // tread plate: raised diagonal bars on a 5-pixel grid
        c.each([&](int x, int y, Hex) -> Hex {
            const int gx = x % 10, gy = y % 10;
            const bool flip = ((x / 5) + (y / 5)) % 2;
            const int lx = gx % 5, ly = gy % 5;
            const bool bar =
                flip ? (lx == ly && lx > 0 && lx < 4) : (lx + ly == 4 && ly > 0 && ly < 4);
            const bool barShadow =
                flip ? (lx == ly + 1 && lx > 1 && lx < 5) : (lx + ly == 5 && ly > 0 && ly < 4);
            if (bar) return 0xeef1f4;
            if (barShadow) return 0x9aa2aa;
            return 0xc2c8ce;
        });
    };
    f.mark = [](Canvas& c) {
        // hazard ring
        for (int y = 4; y < 27; ++y)
            for (int x = 4; x < 27; ++x) {
                const double dx = x + 0.5 - 15, dy = y + 0.5 - 15;
                const double d = std::hypot(dx, dy);
                if (d < 7.5 || d > 10.5) continue;
                const double a = std::atan2(dy, dx) + d * 0.15;
                const bool stripe = int(std::floor(a / (3.14159265 / 6) + 12)) % 2;
                c.put(x, y, stripe ? 0x1e1e1e : 0xf6c21a);
            }
        c.ring(15, 15, 10.5, 11.3, 0x1e1e1e);
        c.ring(15, 15, 6.8, 7.5, 0x1e1e1e);
        c.disc(15, 15, 3, 0xf6c21a);
        cornerMarks(c, 0x1e1e1e, 0xf6c21a);
    };
    auto container = [](Canvas& c, Hex body, Hex light, Hex dark, Hex deep) {
        shadow(c, 5, 27, 23, 2, 0x9aa2aa);
        shadow(c, 27, 5, 2, 23, 0x9aa2aa);
        c.rect(3, 3, 24, 24, 0x1e2226);
        c.rect(4, 4, 22, 22, body);
        // corrugation
        for (int x = 6; x < 25; x += 3) {
            c.vline(x, 7, 22, light);
            c.vline(x + 1, 7, 22, dark);
        }
        c.rect(4, 4, 22, 3, deep);
        c.rect(4, 23, 22, 3, deep);
        c.hline(4, 25, 4, light);
        // corner castings
        for (auto [x, y] : {std::pair{4, 4}, {23, 4}, {4, 23}, {23, 23}}) {
            c.rect(x, y, 3, 3, 0x2e3338);
            c.put(x + 1, y + 1, 0x8a9299);
        }
    };
    f.box = [container](Canvas& c) { container(c, 0xd0701a, 0xf09a40, 0x98500c, 0xb06010); };
    f.box1 = [container](Canvas& c) {
        container(c, 0x2e8c3c, 0x6cc86c, 0x1c6426, 0x23762e);
        sign(c, Sign::Check, 0xffffff, 0x1e2226);
    };
    f.glow = 0x7cf07c;
    return f;
}

// ---------------------------------------------------------------- face 7: desert
Face desert() {
    Face f;
    f.wall = [](Canvas& c) {
        Masonry m;
        m.heights = {10, 10, 10};
        m.joints = {{7, 22}, {14, 29}, {3, 18}};
        c.each([&](int x, int y, Hex) -> Hex {
            const Stone s = m.at(x, y);
            if (s.mortar) return 0x5a3418;
            if (s.corner() && noise(x, y, 71) < 0.7) return 0x5a3418;
            const double n = periodicNoise(x, y, S, 5, 72);
            if (s.top() || s.left()) return 0xd89458;
            if (s.bottom() || s.right()) return 0x7a4420;
            if (n < 0.25) return 0x965426;
            if (s.ly == 4 && noise(x, s.course, 73) < 0.6) return 0x965426; // layered rock
            return 0xac6634;
        });
    };
    f.floor = [](Canvas& c) {
        c.each([&](int x, int y, Hex) -> Hex {
            const double wave =
                std::sin((x + 3.0 * std::sin(y * 2 * 3.14159265 / S)) * 2 * 3.14159265 / 10.0 +
                         y * 2 * 3.14159265 / S);
            const double n = noise(x, y, 74);
            if (wave > 0.86) return 0xd9b170;
            if (wave < -0.9) return 0xfbe6b4;
            if (n < 0.06) return 0xc9a060;
            return 0xf0d49a;
        });
    };
    f.mark = [](Canvas& c) {
        // a sun mark
        for (int k = 0; k < 8; ++k) {
            const double a = k * 3.14159265 / 4;
            c.line(15, 15, int(std::lround(15 + 11 * std::cos(a))),
                   int(std::lround(15 + 11 * std::sin(a))), 0xc8502a);
        }
        c.disc(15, 15, 7, 0x8e3418);
        c.disc(15, 15, 6, 0xe0702e);
        c.disc(15, 15, 3.5, 0xf6b040);
        cornerMarks(c, 0x8e3418, 0xe0702e);
    };
    auto chest = [](Canvas& c, Hex wood, Hex woodLight, Hex woodDark, Hex band, Hex bandLight) {
        shadow(c, 5, 27, 23, 2, 0xc9a060);
        shadow(c, 27, 6, 2, 22, 0xc9a060);
        c.rect(3, 4, 24, 23, 0x2e1a0c);
        // rounded lid
        c.rect(4, 5, 22, 8, wood);
        c.hline(4, 25, 5, woodLight);
        c.hline(4, 25, 9, woodDark);
        c.hline(3, 26, 13, 0x2e1a0c);
        c.rect(4, 14, 22, 12, wood);
        c.hline(4, 25, 14, woodLight);
        c.hline(4, 25, 19, woodDark);
        c.hline(4, 25, 25, woodDark);
        for (int x : {7, 21}) {
            c.rect(x, 5, 3, 21, band);
            c.vline(x, 5, 25, bandLight);
        }
        c.rect(13, 11, 5, 6, 0x2e1a0c);
        c.rect(14, 12, 3, 4, bandLight);
        c.put(15, 14, 0x2e1a0c);
    };
    f.box = [chest](Canvas& c) { chest(c, 0x8a5430, 0xaa7048, 0x643a1e, 0x5a5048, 0x8a8078); };
    f.box1 = [chest](Canvas& c) {
        chest(c, 0xb86a30, 0xe0904a, 0x7a4018, 0xe8b020, 0xfff07a);
        sign(c, Sign::Star, 0xfff07a, 0x2e1a0c, 15, 16);
        c.put(5, 7, 0xffffff);
        c.put(23, 16, 0xffffff);
    };
    f.glow = 0xfff07a;
    return f;
}

// ---------------------------------------------------------------- face 8: marble
Face marble() {
    Face f;
    f.wall = [](Canvas& c) {
        Masonry m;
        m.heights = {15, 15};
        m.joints = {{29}, {14}};
        c.each([&](int x, int y, Hex) -> Hex {
            const Stone s = m.at(x, y);
            if (s.mortar) return 0x101c18;
            if (s.top() || s.left()) return 0x5e8a7c;
            if (s.bottom() || s.right()) return 0x16281f;
            // veins: wavy diagonal lines
            const double v =
                std::sin((x + y) * 2 * 3.14159265 / S + 3.0 * periodicNoise(x, y, S, 10, 81));
            if (std::abs(v) < 0.09) return 0x9cc4b4;
            if (std::abs(v) < 0.22) return 0x3f6a5c;
            return (noise(s.course, s.id, 83) < 0.5) ? 0x2a4a40 : 0x2f5247;
        });
    };
    f.floor = [](Canvas& c) {
        c.each([&](int x, int y, Hex) -> Hex {
            const double v =
                std::sin((x - y) * 2 * 3.14159265 / S + 2.5 * periodicNoise(x, y, S, 10, 84));
            const bool vein = std::abs(v) < 0.12;
            if (x % S == S - 1 || y % S == S - 1) return 0xb4aa9a;
            if (x % S == 0 || y % S == 0) return 0xfffaf0;
            return vein ? 0xe0d6c2 : 0xf1eadb;
        });
    };
    f.mark = [](Canvas& c) {
        // gold star inlay
        std::vector<std::pair<double, double>> star, inner;
        for (int k = 0; k < 16; ++k) {
            const double a = -3.14159265 / 2 + k * 3.14159265 / 8;
            const double r = (k % 2) ? 4.0 : 11.0;
            star.push_back({15 + r * std::cos(a), 15 + r * std::sin(a)});
            inner.push_back({15 + (r - 1.7) * std::cos(a), 15 + (r - 1.7) * std::sin(a)});
        }
        c.polygon(star, 0x7a5a14);
        c.polygon(inner, 0xe0b040);
        c.disc(15, 15, 2.5, 0xfff0a0);
        cornerMarks(c, 0x7a5a14, 0xe0b040);
    };
    auto block = [](Canvas& c, Hex body, Hex light, Hex dark, Hex trim, Hex trimLight, Hex vein) {
        shadow(c, 5, 27, 23, 2, 0xb4aa9a);
        shadow(c, 27, 5, 2, 23, 0xb4aa9a);
        c.rect(3, 3, 24, 24, 0x1e1a28);
        c.rect(4, 4, 22, 22, trim);
        c.hline(4, 25, 4, trimLight);
        c.vline(4, 4, 25, trimLight);
        c.rect(6, 6, 18, 18, 0x1e1a28);
        c.rect(7, 7, 16, 16, body);
        c.each([&](int x, int y, Hex cur) -> Hex {
            if (cur != body) return cur;
            if (x + y < 18) return light;
            if (x + y > 38) return dark;
            if (std::abs((x - y) + 3 * std::sin(y * 0.6)) < 0.8) return vein;
            return cur;
        });
        c.put(9, 9, 0xffffff);
        c.put(10, 9, 0xffffff);
        c.put(9, 10, 0xffffff);
    };
    f.box = [block](Canvas& c) {
        block(c, 0x2a4a9a, 0x4a70c8, 0x1c3070, 0xc8a040, 0xf0d070, 0x5a80d8);
    };
    f.box1 = [block](Canvas& c) {
        block(c, 0xd8a020, 0xffe070, 0xa07010, 0x7a5a14, 0xa07010, 0xf0c040);
        sign(c, Sign::Star, 0xfff0a0, 0x3a2a08);
    };
    f.glow = 0xfff0a0;
    return f;
}

// ---------------------------------------------------------------- face 9: dark dungeon
Face dungeon() {
    Face f;
    f.wall = [](Canvas& c) {
        Masonry m;
        m.heights = {8, 7, 8, 7};
        m.joints = {{11, 24}, {4, 18}, {9, 27}, {14, 22}};
        c.each([&](int x, int y, Hex) -> Hex {
            const Stone s = m.at(x, y);
            if (s.mortar || s.corner()) return 0x201a26;
            const double moss = periodicNoise(x, y, S, 5, 91);
            if (s.ly <= 1 && moss > 0.55) return (s.ly == 0) ? 0x8ab05a : 0x5a8a3a;
            if (s.top() || s.left()) return 0xb0a6c0;
            if (s.bottom() || s.right()) return 0x4a4258;
            const double n = noise(x, y, 92);
            if (n < 0.15) return 0x625a74;
            return (noise(s.course, s.id, 93) < 0.5) ? 0x7a7290 : 0x857c9a;
        });
    };
    f.floor = [](Canvas& c) {
        Masonry m;
        m.heights = {15, 15};
        m.joints = {{14, 29}, {6, 21}};
        c.each([&](int x, int y, Hex) -> Hex {
            const Stone s = m.at(x, y);
            if (s.mortar) return 0x0c0a0e;
            if (s.top() || s.left()) return 0x2e2a34;
            const double n = noise(x, y, 94);
            if (n < 0.15) return 0x18161c;
            return 0x1e1b23;
        });
        c.line(3, 20, 7, 24, 0x0c0a0e);
        c.line(19, 3, 22, 8, 0x0c0a0e);
    };
    f.mark = [](Canvas& c) {
        // a glowing rune circle
        c.ring(15, 15, 8.5, 10.5, 0xa0202a);
        c.ring(15, 15, 9, 10, 0xff5a3a);
        for (int k = 0; k < 6; ++k) {
            const double a = k * 3.14159265 / 3;
            c.put(int(15 + 6 * std::cos(a)), int(15 + 6 * std::sin(a)), 0xffb070);
        }
        c.polygon({{15, 10}, {19, 17}, {11, 17}}, 0xa0202a);
        c.polygon({{15, 12}, {17.5, 16.2}, {12.5, 16.2}}, 0xff5a3a);
        cornerMarks(c, 0xff5a3a, 0xa0202a);
    };
    const CrateColours old{0x120c08, 0xb08458, 0xd8b080, 0x7a5430, 0x9a7248, 0x6a4a2a, 0xc8ccd2};
    const CrateColours burning{0x2a0806, 0xe05a28, 0xffa860, 0x9a2a14,
                               0xb84020, 0x7a1c0e, 0xffe0a0};
    f.box = [old](Canvas& c) { crate(c, old, 0x0c0a0e); };
    f.box1 = [burning](Canvas& c) {
        crate(c, burning, 0x0c0a0e);
        sign(c, Sign::Diamond, 0xffe0a0, 0x2a0806);
    };
    f.glow = 0xff5a3a;
    return f;
}

// ---------------------------------------------------------------- face 10: the default
Face classic() {
    Face f;
    f.wall = [](Canvas& c) {
        // glossy blue bricks with rounded corners
        const Masonry m = bond({8, 7, 8, 7}, 15, 7);
        c.each([&](int x, int y, Hex) -> Hex {
            const Stone s = m.at(x, y);
            if (s.mortar || s.corner()) return 0x1d2740;
            if (s.top()) return 0x9cc0f0;
            if (s.ly == 1 && s.lx >= 1 && s.lx <= 3) return 0xd8e8ff; // shine
            if (s.bottom() || s.right()) return 0x2e4a86;
            if (s.left()) return 0x6f96d6;
            return (noise(s.course, s.id, 101) < 0.5) ? 0x4f76bc : 0x5a82c8;
        });
    };
    f.floor = [](Canvas& c) {
        // warm tiles with a soft bevel
        c.each([&](int x, int y, Hex) -> Hex {
            const int lx = x % S, ly = y % S;
            if (lx == S - 1 || ly == S - 1) return 0xc8ae84;
            if (lx == 0 || ly == 0) return 0xfff4dc;
            if (lx == S - 2 || ly == S - 2) return 0xe2cca4;
            if (noise(x, y, 102) < 0.05) return 0xe6d2ae;
            return 0xf4e6c8;
        });
    };
    f.mark = [](Canvas& c) {
        c.disc(15, 15, 9.5, 0xc8ae84);
        c.disc(15, 15, 8.5, 0xe2402e);
        c.disc(15, 15, 6.5, 0xfff4dc);
        c.disc(15, 15, 4.5, 0xe2402e);
        c.disc(14, 14, 1.5, 0xff9a80);
        cornerMarks(c, 0xe2402e, 0xc8ae84);
    };
    auto box = [](Canvas& c, Hex outline, Hex frame, Hex light, Hex dark, Hex board, Hex line) {
        crate(c, {outline, frame, light, dark, board, line, outline}, 0xc8ae84);
    };
    f.box = [box](Canvas& c) {
        box(c, 0x3a2008, 0xe89a3c, 0xffcc7a, 0xa85e18, 0xd6863a, 0xa85e18);
    };
    f.box1 = [box](Canvas& c) {
        box(c, 0x0e3a14, 0x4cc84c, 0xaef0a0, 0x23862e, 0x3cb048, 0x23862e);
        // a gold star, so the box on its target differs in shape as well as colour
        sign(c, Sign::Star, 0xffd84a, 0x0e3a14, 15, 15.5);
        c.put(14, 12, 0xfff4b0);
        c.put(14, 13, 0xfff4b0);
    };
    f.glow = 0x8af07a;
    return f;
}

} // namespace

void drawTiles(PictureSet& out) {
    const std::vector<Face> faces = {redBrick(),   greyStone(), woodPlanks(), ice(),     garden(),
                                     industrial(), desert(),    marble(),     dungeon(), classic()};
    for (std::size_t i = 0; i < faces.size(); ++i) {
        const Face& f = faces[i];
        const QString n = QString::number(i + 1);
        Canvas wall(S, S, 0), floor(S, S, 0);
        f.wall(wall);
        oneCell(wall, 0.55);
        f.floor(floor);
        oneCell(floor, 0.5);
        Canvas target = floor;
        f.mark(target);
        Canvas box = floor, box1 = target;
        f.box(box);
        castShadows = false;
        f.box1(box1);
        castShadows = true;
        halo(box1, target, f.glow);
        out[n + "wall"] = wall.indexed();
        out[n + "cell"] = floor.indexed();
        out[n + "target"] = target.indexed();
        out[n + "box"] = box.indexed();
        out[n + "box1"] = box1.indexed();
    }
}

} // namespace pics

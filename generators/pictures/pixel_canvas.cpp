#include "pixel_canvas.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace pics {

Hex mix(Hex a, Hex b, double t) {
    auto ch = [&](int shift) {
        double va = double((a >> shift) & 0xff), vb = double((b >> shift) & 0xff);
        return Hex(std::clamp(int(std::lround(va + (vb - va) * t)), 0, 255)) << shift;
    };
    return ch(16) | ch(8) | ch(0);
}

double hashNoise(int x, int y, int seed) {
    std::uint32_t h = std::uint32_t(x) * 374761393u + std::uint32_t(y) * 668265263u +
                      std::uint32_t(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return double(h & 0xffffff) / double(0x1000000);
}

double periodicNoise(double x, double y, int period, int cell, int seed) {
    const int n = period / cell;
    const double gx = x / cell, gy = y / cell;
    const int x0 = int(std::floor(gx)), y0 = int(std::floor(gy));
    const double fx = gx - x0, fy = gy - y0;
    auto lattice = [&](int ix, int iy) {
        return hashNoise(((ix % n) + n) % n, ((iy % n) + n) % n, seed);
    };
    auto smooth = [](double t) { return t * t * (3.0 - 2.0 * t); };
    const double sx = smooth(fx), sy = smooth(fy);
    const double top = lattice(x0, y0) + (lattice(x0 + 1, y0) - lattice(x0, y0)) * sx;
    const double bottom =
        lattice(x0, y0 + 1) + (lattice(x0 + 1, y0 + 1) - lattice(x0, y0 + 1)) * sx;
    return top + (bottom - top) * sy;
}

Canvas::Canvas(int width, int height, Hex background)
    : w_(width), h_(height), pixels_(std::size_t(width) * std::size_t(height), 0) {
    palette_.push_back(0xff000000u | background);
}

int Canvas::ink(Hex c) {
    const QRgb rgb = 0xff000000u | (c & 0xffffff);
    auto it = std::find(palette_.begin(), palette_.end(), rgb);
    if (it != palette_.end()) return int(it - palette_.begin());
    if (palette_.size() >= 256) throw std::runtime_error("palette overflow");
    palette_.push_back(rgb);
    return int(palette_.size()) - 1;
}

void Canvas::put(int x, int y, Hex c) {
    putIndex(x, y, ink(c));
}

void Canvas::putIndex(int x, int y, int index) {
    pixels_[std::size_t(wrapY(y)) * std::size_t(w_) + std::size_t(wrapX(x))] = std::uint8_t(index);
}

Hex Canvas::at(int x, int y) const {
    return palette_[pixels_[std::size_t(wrapY(y)) * std::size_t(w_) + std::size_t(wrapX(x))]] &
           0xffffff;
}

void Canvas::rect(int x, int y, int w, int h, Hex c) {
    const int i = ink(c);
    for (int yy = y; yy < y + h; ++yy)
        for (int xx = x; xx < x + w; ++xx)
            putIndex(xx, yy, i);
}

void Canvas::hline(int x0, int x1, int y, Hex c) {
    if (x1 < x0) std::swap(x0, x1);
    rect(x0, y, x1 - x0 + 1, 1, c);
}

void Canvas::vline(int x, int y0, int y1, Hex c) {
    if (y1 < y0) std::swap(y0, y1);
    rect(x, y0, 1, y1 - y0 + 1, c);
}

void Canvas::line(int x0, int y0, int x1, int y1, Hex c) {
    const int i = ink(c);
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        putIndex(x0, y0, i);
        if (x0 == x1 && y0 == y1) break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void Canvas::disc(double cx, double cy, double r, Hex c) {
    ellipse(cx, cy, r, r, c);
}

void Canvas::ellipse(double cx, double cy, double rx, double ry, Hex c) {
    const int i = ink(c);
    for (int y = int(std::floor(cy - ry)); y <= int(std::ceil(cy + ry)); ++y)
        for (int x = int(std::floor(cx - rx)); x <= int(std::ceil(cx + rx)); ++x) {
            const double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
            if (dx * dx + dy * dy <= 1.0) putIndex(x, y, i);
        }
}

void Canvas::ring(double cx, double cy, double r0, double r1, Hex c) {
    const int i = ink(c);
    for (int y = int(std::floor(cy - r1)); y <= int(std::ceil(cy + r1)); ++y)
        for (int x = int(std::floor(cx - r1)); x <= int(std::ceil(cx + r1)); ++x) {
            const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            if (d >= r0 && d <= r1) putIndex(x, y, i);
        }
}

void Canvas::polygon(const std::vector<std::pair<double, double>>& pts, Hex c) {
    const int i = ink(c);
    double minY = 1e9, maxY = -1e9, minX = 1e9, maxX = -1e9;
    for (auto [px, py] : pts) {
        minX = std::min(minX, px);
        maxX = std::max(maxX, px);
        minY = std::min(minY, py);
        maxY = std::max(maxY, py);
    }
    for (int y = int(std::floor(minY)); y <= int(std::ceil(maxY)); ++y)
        for (int x = int(std::floor(minX)); x <= int(std::ceil(maxX)); ++x) {
            const double tx = x + 0.5, ty = y + 0.5;
            bool inside = false;
            for (std::size_t a = 0, b = pts.size() - 1; a < pts.size(); b = a++) {
                const auto [ax, ay] = pts[a];
                const auto [bx, by] = pts[b];
                if ((ay > ty) != (by > ty) && tx < (bx - ax) * (ty - ay) / (by - ay) + ax)
                    inside = !inside;
            }
            if (inside) putIndex(x, y, i);
        }
}

void Canvas::each(const std::function<Hex(int, int, Hex)>& f) {
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x)
            put(x, y, f(x, y, at(x, y)));
}

QImage Canvas::indexed(int maxColours) const {
    // Only the colours still in use go into the colour table.
    std::vector<int> remap(palette_.size(), -1);
    QList<QRgb> table;
    for (std::uint8_t p : pixels_)
        if (remap[p] < 0) {
            remap[p] = int(table.size());
            table.push_back(palette_[p]);
        }
    if (table.size() > maxColours)
        throw std::runtime_error("picture uses " + std::to_string(table.size()) +
                                 " colours, at most " + std::to_string(maxColours) + " allowed");
    QImage img(w_, h_, QImage::Format_Indexed8);
    img.setColorTable(table);
    for (int y = 0; y < h_; ++y) {
        uchar* line = img.scanLine(y);
        for (int x = 0; x < w_; ++x)
            line[x] = uchar(remap[pixels_[std::size_t(y) * std::size_t(w_) + std::size_t(x)]]);
    }
    return img;
}

} // namespace pics

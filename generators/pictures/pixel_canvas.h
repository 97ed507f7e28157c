// A small palette-based drawing surface for the game's 16-colour pictures.
//
// Tiles, worker frames and backgrounds are drawn pixel by pixel so that every
// colour is chosen on purpose; the surface keeps a palette and refuses to save
// a picture with more colours than the game's 16-colour pictures allow.
// Coordinates wrap around the edges, which makes seamless patterns easy: a
// shape that leaves the right edge comes back in on the left.
#pragma once

#include <QImage>
#include <QRgb>

#include <cstdint>
#include <functional>
#include <vector>

namespace pics {

// Colours are written as 0xRRGGBB.
using Hex = std::uint32_t;

// Mix of a and b: t = 0 gives a, t = 1 gives b.
Hex mix(Hex a, Hex b, double t);

// Deterministic noise in [0, 1) for an integer lattice point.
double hashNoise(int x, int y, int seed);
// Smooth value noise in [0, 1) that repeats every `period` units in x and y;
// `cell` is the lattice spacing in pixels (period must be a multiple of it).
double periodicNoise(double x, double y, int period, int cell, int seed);

class Canvas {
  public:
    Canvas(int width, int height, Hex background);

    int width() const { return w_; }
    int height() const { return h_; }

    // Palette index of a colour, added on first use.
    int ink(Hex c);

    // Pixel access; coordinates wrap around.
    void put(int x, int y, Hex c);
    void putIndex(int x, int y, int index);
    Hex at(int x, int y) const;

    void rect(int x, int y, int w, int h, Hex c);
    void hline(int x0, int x1, int y, Hex c);
    void vline(int x, int y0, int y1, Hex c);
    void line(int x0, int y0, int x1, int y1, Hex c);
    // Filled shapes, testing pixel centres.
    void disc(double cx, double cy, double r, Hex c);
    void ellipse(double cx, double cy, double rx, double ry, Hex c);
    void ring(double cx, double cy, double r0, double r1, Hex c);
    void polygon(const std::vector<std::pair<double, double>>& pts, Hex c);

    // Calls f(x, y, current colour) for each pixel and stores the colour it returns.
    void each(const std::function<Hex(int x, int y, Hex current)>& f);

    // The picture as an 8-bit indexed image whose colour table is the palette.
    // Throws std::runtime_error when the palette has more than maxColours entries.
    QImage indexed(int maxColours = 16) const;

  private:
    int wrapX(int x) const { return ((x % w_) + w_) % w_; }
    int wrapY(int y) const { return ((y % h_) + h_) % h_; }

    int w_;
    int h_;
    std::vector<QRgb> palette_;
    std::vector<std::uint8_t> pixels_;
};

} // namespace pics

// The drawing routines of the picture generator, one group per file.
#pragma once

#include <QImage>
#include <QPoint>
#include <QString>

#include <map>

namespace pics {

// Every picture by its file name without ".png", in lower case.
using PictureSet = std::map<QString, QImage>;

// The 50 board tiles: "<n>wall", "<n>cell", "<n>target", "<n>box", "<n>box1" for faces 1..10.
void drawTiles(PictureSet& out);
// Worker frames of the six figures and their masks ("1up1", "1up1mask", ...).
void drawFigures(PictureSet& out);
// "back1".."back6".
void drawBackgrounds(PictureSet& out);
// Mouse cursors (32 x 32 with transparency, and "<name>@2x", "<name>@3x" of 64 and 96
// pixels) with their hot spots; needs the tiles and figures.
void drawCursors(PictureSet& out, std::map<QString, QPoint>& hotSpots);
// Tool-bar images "tb0".."tb15" (24 x 24, and "tb<n>@2x", "tb<n>@3x" of 48 and 72 pixels)
// and the program icon "icon" (64 x 64).
void drawIcons(PictureSet& out);
// The program icon drawn at size x size, for the desktop's icon theme.
QImage drawProgramIcon(int size);

// The game's own skin in the shared skin layout: 4 tiles across, 6 rows, of tile x tile pixels.
QImage drawSkin(int tile);

// Everything enlarged on one sheet, and a few boards put together from the tiles.
QImage contactSheet(const PictureSet& pictures, const std::map<QString, QPoint>& hotSpots);
QImage mockBoards(const PictureSet& pictures);
// A full 22 x 34 board in one face with cells of `cell` pixels, and all ten faces on one page.
QImage fullBoard(const PictureSet& pictures, int face, int figure, int cell);
QImage fullBoards(const PictureSet& pictures, int cell);

// The tile copy, AND mask, XOR frame sequence the game uses to draw a worker on a cell.
QImage compositeWorker(const QImage& tile, const QImage& mask, const QImage& frame);

} // namespace pics

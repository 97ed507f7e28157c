// The game's pictures, compiled into the program as resources under :/pics/.
//
// Names are the ones the game uses ("3wall", "1down1", "1down1mask", "back6",
// "go", ...); lookup ignores case.
#pragma once

#include <QCursor>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QString>

namespace sokoban {

// Makes the pictures available; the lookups below call it themselves. Safe to call again.
void initPictures();

// A 30 x 30 tile, worker frame or mask, or a background, by name; a null image when
// there is no picture of that name.
QImage picture(const QString& name);

// Mouse cursors by name: "go", "dead", "ques", "up", "down", "left", "right" for play,
// "black", "wall", "cell", "target", "box", "box1", "boy" for the level designer.
QPixmap cursorPixmap(const QString& name);
// The same drawn at 2 or 3 times the pixels, with that device pixel ratio, for
// scaled screens; scale 1 is the plain one.
QPixmap cursorPixmap(const QString& name, int scale);
// The cursor's hot spot, in the 1x picture's pixels; (0, 0) for an unknown name.
QPoint cursorHotSpot(const QString& name);
// The cursor ready to install (needs a running QGuiApplication), drawn for the
// screen's scale; the arrow when unknown.
QCursor gameCursor(const QString& name);

// Tool-bar image 0..15 (24 x 24, with 48 and 72 pixel pictures for scaled screens);
// a null icon outside that range.
QIcon toolbarIcon(int index);
// The program's icon (64 x 64).
QIcon programIcon();

} // namespace sokoban

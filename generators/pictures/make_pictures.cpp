// Draws every picture of the game and writes them as PNG files.
//
//   make_pictures <output folder> [--sheet]
//
// Writes the tiles, worker frames and masks, backgrounds, cursors (with
// cursors.txt giving each cursor's hot spot), tool-bar images and the program
// icon. With --sheet it also writes contact_sheet.png, mock_boards.png and
// full boards of every face (full_board_<n>.png, full_boards.png), the pages
// to look at when changing a drawing.
#include "generators.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>
#include <cstdlib>
#include <exception>

int main(int argc, char** argv) {
    // Only the contact sheet's captions need a font; no window is ever shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: make_pictures <output folder> [--sheet]\n");
        return 2;
    }
    const QDir dir(args[1]);
    const bool sheet = args.contains("--sheet");
    if (!QDir().mkpath(dir.path())) {
        std::fprintf(stderr, "make_pictures: cannot create %s\n", qPrintable(dir.path()));
        return 1;
    }
    try {
        pics::PictureSet pictures;
        std::map<QString, QPoint> hotSpots;
        pics::drawTiles(pictures);
        pics::drawFigures(pictures);
        pics::drawBackgrounds(pictures);
        pics::drawCursors(pictures, hotSpots);
        pics::drawIcons(pictures);

        auto save = [&](const QImage& img, const QString& name) {
            const QString path = dir.filePath(name);
            if (!img.save(path, "PNG")) {
                std::fprintf(stderr, "make_pictures: cannot write %s\n", qPrintable(path));
                std::exit(1);
            }
        };
        for (const auto& [name, img] : pictures)
            save(img, name + ".png");

        QFile list(dir.filePath("cursors.txt"));
        if (!list.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
            std::fprintf(stderr, "make_pictures: cannot write cursors.txt\n");
            return 1;
        }
        QTextStream text(&list);
        for (const auto& [name, hot] : hotSpots)
            text << name << ' ' << hot.x() << ' ' << hot.y() << '\n';

        if (sheet) {
            save(pics::contactSheet(pictures, hotSpots), "contact_sheet.png");
            save(pics::mockBoards(pictures), "mock_boards.png");
            // the whole grid as a 800 x 600 window shows it, one page per face and all at once
            for (int face = 1; face <= 10; ++face)
                save(pics::fullBoard(pictures, face, 1 + (face - 1) % 6, 22),
                     QString("full_board_%1.png").arg(face));
            save(pics::fullBoards(pictures, 14), "full_boards.png");
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_pictures: %s\n", e.what());
        return 1;
    }
    return 0;
}

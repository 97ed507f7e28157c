// level_sheets: one picture per built-in set with every level drawn as the
// game draws it with its default face and figure, numbered, in a grid, to
// look the levels over at a glance.
//
//   level_sheets <dir with the .box sets> <output dir> [set ...]
//
// Writes <output dir>/<set>.png for the five sets or the ones named. All
// levels of a sheet share one cell size, so that board sizes compare.

#include "level_checks.h"
#include "storage/board.h"
#include "storage/level_set.h"
#include "storage/record_file.h"
#include "storage/records.h"
#include "ui/view/board_painter.h"

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using sokoban::TMazeData;

constexpr int kColumns = 6;
constexpr int kMaxBoardWidth = 408; // pixels a board may take in its cell
constexpr int kMaxBoardHeight = 264;
constexpr int kLabel = 22; // the number above each board
constexpr int kGap = 14;
constexpr int kTitle = 40;
constexpr int kDownFrame = 2; // the worker facing down, as at the start of a level

// The level as the game shows it, one `cell`-pixel square per board square,
// cut to the board's bounding box.
QImage drawLevel(sokoban::BoardPainter& painter, const TMazeData& level, int cell) {
    sokoban::Cells cells = level.cells;
    const auto box = sokoban::boundingBox(cells);
    const int shift = sokoban::normaliseBoard(cells, box);
    painter.resize(box.width() * cell, box.height() * cell);
    const std::vector<std::uint8_t> grid(cells.begin(), cells.end());
    painter.cells = &grid;
    painter.manPos = level.man - shift;
    painter.layout = {cell, 0, 0};
    painter.manFrame = kDownFrame;
    painter.FillBlack();
    painter.DrawBoard();
    painter.cells = nullptr;
    return painter.image().copy();
}

bool drawSheet(const std::string& set, const fs::path& boxFile, const fs::path& png) {
    const sokoban::RecordFile file(boxFile, TMazeData::kSize);
    if (!file.exists()) {
        std::fprintf(stderr, "level_sheets: %s is missing\n", boxFile.string().c_str());
        return false;
    }
    std::vector<TMazeData> levels;
    for (std::int64_t i = 0; i < file.count(); ++i)
        levels.push_back(file.get<TMazeData>(i));
    if (levels.empty()) return false;

    int maxW = 1, maxH = 1;
    for (const auto& l : levels) {
        const auto b = sokoban::boundingBox(l.cells);
        maxW = std::max(maxW, b.width());
        maxH = std::max(maxH, b.height());
    }
    const int cell = std::clamp(std::min(kMaxBoardWidth / maxW, kMaxBoardHeight / maxH), 4, 24);
    const int cellW = maxW * cell + kGap, cellH = maxH * cell + kLabel + kGap;
    const int columns = std::min<int>(kColumns, static_cast<int>(levels.size()));
    const int rows = (static_cast<int>(levels.size()) + columns - 1) / columns;

    const auto defaults = sokoban::defaultSettings(1024, 768);
    sokoban::BoardPainter painter;
    painter.LoadFace(defaults.faceStyle, defaults.faceStyle, defaults.faceStyle);
    painter.LoadFigure(defaults.figureNo);

    QImage sheet(columns * cellW + kGap, kTitle + rows * cellH, QImage::Format_RGB32);
    sheet.fill(QColor(40, 40, 48));
    QPainter p(&sheet);
    QFont font = p.font();
    font.setPixelSize(22);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(kGap, 0, sheet.width(), kTitle), Qt::AlignVCenter | Qt::AlignLeft,
               QString::fromStdString(set) + "  (" + QString::number(levels.size()) + ")");
    font.setPixelSize(15);
    p.setFont(font);
    for (std::size_t n = 0; n < levels.size(); ++n) {
        const int x = kGap + static_cast<int>(n) % columns * cellW;
        const int y = kTitle + static_cast<int>(n) / columns * cellH;
        p.setPen(QColor(230, 230, 140));
        p.drawText(QRect(x, y, cellW, kLabel), Qt::AlignVCenter | Qt::AlignLeft,
                   QString::number(n + 1));
        p.drawImage(x, y + kLabel, drawLevel(painter, levels[n], cell));
    }
    p.end();
    if (!sheet.save(QString::fromStdString(png.string()))) {
        std::fprintf(stderr, "level_sheets: cannot write %s\n", png.string().c_str());
        return false;
    }
    std::printf("%s: %zu levels, %d px squares, %lld bytes\n", png.string().c_str(), levels.size(),
                cell, static_cast<long long>(fs::file_size(png)));
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: level_sheets <dir with the .box sets> <output dir> [set ...]\n");
        return 2;
    }
    std::vector<std::string> sets(argv + 3, argv + argc);
    if (sets.empty())
        sets.assign(std::begin(sokoban::levelcheck::kSetNames),
                    std::end(sokoban::levelcheck::kSetNames));
    const fs::path in = argv[1], out = argv[2];
    fs::create_directories(out);
    bool ok = true;
    for (const auto& set : sets)
        ok = drawSheet(set, in / (set + ".box"), out / (set + ".png")) && ok;
    return ok ? 0 : 1;
}

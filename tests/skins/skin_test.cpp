// The skin loader: the game's own skin, a skin without a description, and
// every kind of bad file, each refused with its own problem and no skin.
#include "../game/test_support.h"
#include "storage/board.h"
#include "ui/skins/skin.h"
#include "ui/view/board_painter.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <fstream>

namespace sokoban::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kShipped = fs::path(SHIPPED_SKIN_DIR) / "qingshi.png";

void writeText(const fs::path& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary);
    out << text;
}

// A grid of columns x rows tiles of t pixels, each tile a flat colour of its
// own, with a worker (a dark square) in the worker tiles.
QImage grid(int t, int rows, int columns = 4) {
    QImage img(columns * t, rows * t, QImage::Format_ARGB32);
    QPainter p(&img);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            p.fillRect(c * t, r * t, t, t, QColor(20 + 50 * c, 20 + 40 * r, 200));
    // The worker stands on a copy of the floor.
    p.fillRect(t, 0, t, t, QColor(20, 20, 200));
    p.fillRect(t + t / 4, t / 4, t / 2, t / 2, QColor(10, 10, 10));
    return img;
}

void save(const QImage& img, const fs::path& file) {
    ASSERT_TRUE(img.save(QString::fromStdString(file.string()), "PNG"));
}

TEST(SkinLoad, TheGamesOwnSkinGivesTilesAndAWorkerFacingFourWays) {
    const SkinLoad load = loadSkin(kShipped);
    ASSERT_TRUE(load.skin) << skinProblemText(load).toStdString();
    const Skin& s = *load.skin;
    EXPECT_EQ(s.name, "青石");
    EXPECT_EQ(s.tileSize, 48);
    for (std::size_t k = 1; k <= 5; ++k) {
        EXPECT_EQ(s.tiles[k].size(), QSize(48, 48)) << k;
        EXPECT_EQ(s.tiles[k].format(), QImage::Format_RGB32) << k;
    }
    EXPECT_TRUE(s.tiles[0].isNull());
    // Five different tiles.
    for (std::size_t a = 1; a <= 5; ++a)
        for (std::size_t b = a + 1; b <= 5; ++b)
            EXPECT_NE(s.tiles[a], s.tiles[b]) << a << " " << b;
    // The worker covers part of the cell and lets the rest show through, and
    // faces where he walks: up, down, left and right frames all differ.
    const QImage& mask = s.manMasks[2];
    int his = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 48; ++x)
            his += (mask.pixel(x, y) & 0xffffff) == 0;
    EXPECT_GT(his, 48 * 48 / 10);
    EXPECT_LT(his, 48 * 48 / 2);
    for (std::size_t a = 0; a < 8; a += 2)
        for (std::size_t b = a + 2; b < 8; b += 2)
            EXPECT_NE(s.manImages[a], s.manImages[b]) << a << " " << b;
}

TEST(SkinLoad, WithoutDescriptionTheFileNameNamesItAndOneWorkerServesEveryFrame) {
    TempDir dir;
    save(grid(16, 4), dir.path / "plain skin.png");
    const SkinLoad load = loadSkin(dir.path / "plain skin.png");
    ASSERT_TRUE(load.skin) << skinProblemText(load).toStdString();
    EXPECT_EQ(load.skin->name, "plain skin");
    EXPECT_EQ(load.skin->tileSize, 16);
    // Wall from row 2, column 0; box on target from row 1, column 2.
    EXPECT_EQ(load.skin->tiles[1].pixel(3, 3), qRgb(20, 100, 200));
    EXPECT_EQ(load.skin->tiles[5].pixel(3, 3), qRgb(120, 60, 200));
    for (std::size_t k = 1; k < 8; ++k) {
        EXPECT_EQ(load.skin->manImages[k], load.skin->manImages[0]);
        EXPECT_EQ(load.skin->manMasks[k], load.skin->manMasks[0]);
    }
    // Floor around him shows through; he is solid in the middle.
    EXPECT_EQ(load.skin->manMasks[0].pixel(1, 1), qRgb(255, 255, 255));
    EXPECT_EQ(load.skin->manMasks[0].pixel(8, 8), qRgb(0, 0, 0));
    EXPECT_EQ(load.skin->manImages[0].pixel(8, 8), qRgb(10, 10, 10));
}

TEST(SkinLoad, TransparentPartsOfTilesShowTheFloor) {
    TempDir dir;
    QImage img = grid(16, 4);
    // A box with clear corners.
    QPainter p(&img);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(32, 0, 4, 4, Qt::transparent);
    p.end();
    save(img, dir.path / "clear.png");
    const SkinLoad load = loadSkin(dir.path / "clear.png");
    ASSERT_TRUE(load.skin);
    EXPECT_EQ(load.skin->tiles[4].pixel(1, 1), qRgb(20, 20, 200));
}

// Each quarter of a wall cell is the quarter of the piece its two
// neighbours call for, and the cap covers the corners where four walls meet.
TEST(SkinWalls, EachQuarterOfAWallIsJoinedTheWayItsNeighboursAre) {
    TempDir dir;
    save(grid(16, 4), dir.path / "joined.png");
    const SkinLoad load = loadSkin(dir.path / "joined.png");
    ASSERT_TRUE(load.skin);
    // The colours grid() gives the pieces of rows 2 and 3.
    const QColor cross(20, 100, 200), across(70, 100, 200), cap(120, 100, 200),
        upDown(20, 140, 200), alone(70, 140, 200);
    const char* rows[] = {"##..#", "##...", "...#.", "...##"};
    std::vector<std::uint8_t> cells;
    for (const char* row : rows)
        for (const char* c = row; *c; ++c)
            cells.push_back(*c == '#' ? kWall : kFloor);
    BoardPainter painter;
    painter.LoadSkin(*load.skin, true);
    painter.cells = &cells;
    painter.cols = 5;
    painter.layout = {16, 0, 0};
    painter.resize(80, 64);
    painter.DrawBoard();

    struct Quarter {
        int row, col;
        const char* which; // "tl", "tr", "bl", "br"
        QColor colour;
    };
    const Quarter cases[] = {
        {0, 0, "tl", alone}, {0, 0, "tr", across}, {0, 0, "bl", upDown}, {0, 0, "br", cap},
        {1, 1, "tl", cap},   {1, 1, "br", alone},  {0, 4, "tl", alone},  {0, 4, "br", alone},
        {2, 3, "tl", alone}, {2, 3, "bl", upDown}, {2, 3, "br", upDown}, {3, 3, "tl", upDown},
        {3, 3, "tr", cross}, {3, 3, "br", across}, {3, 3, "bl", alone},  {3, 4, "tl", across},
        {3, 4, "tr", alone},
    };
    for (const Quarter& q : cases) {
        const int x = q.col * 16 + (q.which[1] == 'l' ? 4 : 12);
        const int y = q.row * 16 + (q.which[0] == 't' ? 4 : 12);
        EXPECT_EQ(painter.image().pixelColor(x, y), q.colour)
            << "cell " << q.row << "," << q.col << " " << q.which;
    }
}

struct BadCase {
    const char* name;
    std::function<void(const fs::path& dir)> make; // makes dir/skin.png and maybe dir/skin.ini
    SkinProblem problem;
    bool inDescription;
};

TEST(SkinLoad, EveryBadFileIsRefusedWithItsOwnProblem) {
    const std::vector<BadCase> cases = {
        {"missing", [](const fs::path&) {}, SkinProblem::Missing, false},
        {"a folder", [](const fs::path& d) { fs::create_directory(d / "skin.png"); },
         SkinProblem::NotAFile, false},
        {"a loop of links",
         [](const fs::path& d) {
             fs::create_symlink(d / "other.png", d / "skin.png");
             fs::create_symlink(d / "skin.png", d / "other.png");
         },
         SkinProblem::LinkLoop, false},
        {"a link to nothing",
         [](const fs::path& d) { fs::create_symlink(d / "gone.png", d / "skin.png"); },
         SkinProblem::Missing, false},
        {"zero bytes", [](const fs::path& d) { writeText(d / "skin.png", ""); }, SkinProblem::Empty,
         false},
        {"not a picture", [](const fs::path& d) { writeText(d / "skin.png", "#####\n#@$.#\n"); },
         SkinProblem::Unreadable, false},
        {"a cut-off picture",
         [](const fs::path& d) {
             save(grid(16, 4), d / "whole.png");
             const Bytes b = readFile(d / "whole.png");
             writeText(d / "skin.png", std::string(b.begin(), b.begin() + 60));
         },
         SkinProblem::Unreadable, false},
        {"width not four tiles",
         [](const fs::path& d) { save(QImage(30, 40, QImage::Format_RGB32), d / "skin.png"); },
         SkinProblem::NotAGrid, false},
        {"height not whole tiles",
         [](const fs::path& d) { save(QImage(64, 70, QImage::Format_RGB32), d / "skin.png"); },
         SkinProblem::NotAGrid, false},
        {"three rows", [](const fs::path& d) { save(grid(16, 3), d / "skin.png"); },
         SkinProblem::NotAGrid, false},
        {"seventeen rows", [](const fs::path& d) { save(grid(16, 17), d / "skin.png"); },
         SkinProblem::NotAGrid, false},
        {"tiles of 4 pixels", [](const fs::path& d) { save(grid(4, 4), d / "skin.png"); },
         SkinProblem::TilesTooSmall, false},
        {"tiles of 7 pixels", [](const fs::path& d) { save(grid(7, 4), d / "skin.png"); },
         SkinProblem::TilesTooSmall, false},
        {"tiles of 257 pixels", [](const fs::path& d) { save(grid(257, 4), d / "skin.png"); },
         SkinProblem::TilesTooLarge, false},
        {"description without [Skin]",
         [](const fs::path& d) {
             save(grid(16, 4), d / "skin.png");
             writeText(d / "skin.ini", "[Theme]\nFormat=common\n");
         },
         SkinProblem::UnknownDescription, true},
        {"description of another layout",
         [](const fs::path& d) {
             save(grid(16, 4), d / "skin.png");
             writeText(d / "skin.ini", "[Skin]\nFormat=hexagons\n");
         },
         SkinProblem::UnknownDescription, true},
        {"description without a format",
         [](const fs::path& d) {
             save(grid(16, 4), d / "skin.png");
             writeText(d / "skin.ini", "[Skin]\nName=x\n");
         },
         SkinProblem::UnknownDescription, true},
        {"description with a stray line",
         [](const fs::path& d) {
             save(grid(16, 4), d / "skin.png");
             writeText(d / "skin.ini", "[Skin]\nFormat=common\nthis is not a setting\n");
         },
         SkinProblem::DamagedDescription, true},
        {"description not UTF-8",
         [](const fs::path& d) {
             save(grid(16, 4), d / "skin.png");
             writeText(d / "skin.ini", "[Skin]\nFormat=common\nName=\xff\xfe\xc3\n");
         },
         SkinProblem::DamagedDescription, true},
        {"tile size not a number",
         [](const fs::path& d) {
             save(grid(16, 4), d / "skin.png");
             writeText(d / "skin.ini", "[Skin]\nFormat=common\nTileSize=big\n");
         },
         SkinProblem::DamagedDescription, true},
        {"tile size not the picture's",
         [](const fs::path& d) {
             save(grid(16, 4), d / "skin.png");
             writeText(d / "skin.ini", "[Skin]\nFormat=common\nTileSize=32\n");
         },
         SkinProblem::DamagedDescription, true},
        {"description a folder",
         [](const fs::path& d) {
             save(grid(16, 4), d / "skin.png");
             fs::create_directory(d / "skin.ini");
         },
         SkinProblem::DamagedDescription, true},
        {"description a loop of links",
         [](const fs::path& d) {
             save(grid(16, 4), d / "skin.png");
             fs::create_symlink(d / "b.ini", d / "skin.ini");
             fs::create_symlink(d / "skin.ini", d / "b.ini");
         },
         SkinProblem::DamagedDescription, true},
        {"description huge",
         [](const fs::path& d) {
             save(grid(16, 4), d / "skin.png");
             writeText(d / "skin.ini", "[Skin]\nFormat=common\n" + std::string(70000, ';') + "\n");
         },
         SkinProblem::DamagedDescription, true},
    };
    for (const auto& c : cases) {
        TempDir dir;
        c.make(dir.path);
        const SkinLoad load = loadSkin(dir.path / "skin.png");
        EXPECT_FALSE(load.skin) << c.name;
        EXPECT_EQ(load.problem, c.problem) << c.name;
        const auto expectedFile = dir.path / (c.inDescription ? "skin.ini" : "skin.png");
        EXPECT_EQ(load.file.toStdString(), expectedFile.string()) << c.name;
        // The message names the file and says the face stays as it was.
        const QString text = skinProblemText(load);
        EXPECT_TRUE(text.contains(load.file)) << c.name;
        EXPECT_TRUE(text.endsWith("界面保持不变。")) << c.name;
    }
}

TEST(SkinLoad, AGoodDescriptionNamesTheSkin) {
    TempDir dir;
    save(grid(16, 4), dir.path / "s.png");
    writeText(dir.path / "s.ini",
              "\xef\xbb\xbf; made by hand\n[Other]\nName=not this\n[skin]\nformat = Common\n"
              "Name = 砖墙\nAuthor=某人\nTileSize=16\nColours=many\n");
    const SkinLoad load = loadSkin(dir.path / "s.png");
    ASSERT_TRUE(load.skin) << skinProblemText(load).toStdString();
    EXPECT_EQ(load.skin->name, "砖墙");
    EXPECT_EQ(load.skin->author, "某人");
    EXPECT_EQ(skinMenuName({"s.png", dir.path / "s.png"}), "砖墙");
}

TEST(SkinFolders, TheUsersSkinsComeFirstAndHideTheProgramsOfTheSameName) {
    TempDir user, program;
    fs::create_directories(user.path);
    save(grid(16, 4), user.path / "b.png");
    save(grid(16, 4), program.path / "b.png");
    save(grid(16, 4), program.path / "a.PNG");
    save(grid(16, 4), program.path / "c.bmp");
    writeText(program.path / "c.ini", "[Skin]\nFormat=common\n");
    writeText(program.path / "notes.txt", "x");
    const auto found = findSkins({user.path, program.path, user.path / "missing"});
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].fileName, "a.PNG");
    EXPECT_EQ(found[1].fileName, "b.png");
    EXPECT_EQ(found[1].picture, user.path / "b.png");
    EXPECT_EQ(found[2].fileName, "c.bmp");
    EXPECT_EQ(skinMenuName(found[0]), "a");
}

TEST(SkinChoice, IsKeptBesideTheOtherChoicesAndADamagedFileMeansNoSkin) {
    TempDir dir;
    EXPECT_EQ(loadSkinChoice(dir.path), SkinChoice{});
    saveSkinChoice(dir.path, {"青石.png", 3});
    EXPECT_EQ(skinChoiceFile(dir.path), dir.path / "skin.var");
    EXPECT_EQ(loadSkinChoice(dir.path), (SkinChoice{"青石.png", 3}));
    for (const char* damaged : {"", "x.png", "x.png\n7\n", "x.png\nabc\n", "../x.png\n0\n"}) {
        writeText(dir.path / "skin.var", damaged);
        EXPECT_EQ(loadSkinChoice(dir.path), SkinChoice{}) << damaged;
    }
}

} // namespace
} // namespace sokoban::testing

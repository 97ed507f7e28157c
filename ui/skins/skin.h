// Skins from files: one picture holding a grid of equal square tiles, four
// to a row, in the layout players share between box-pushing games:
//
//   row 0  floor   worker            box             (unused)
//   row 1  target  worker on target  box on target   (unused)
//   row 2  wall joined all four ways, wall joined left and right,
//          the cap of a block of four walls, (background)
//   row 3  wall joined up and down, wall standing alone, (unused) ...
//   row 4  worker facing up, left, down, right       (optional)
//   row 5  the same on a target                      (optional)
//
// The tile size is the picture's width over four. A description file of the
// same name with ".ini" may stand beside the picture:
//
//   [Skin]
//   Format=common        (the only layout known; required)
//   Name=...             (the name in the menus; the file name otherwise)
//   Author=...
//   TileSize=32          (when given, must be the picture's width over four)
//
// The board puts each wall cell together from the quarters of the four
// joined pieces, each quarter by the two neighbours it touches, and lays the
// cap over the corners where four walls meet. A skin whose pieces are all
// the same stone draws every wall as that stone.
#pragma once

#include <QImage>
#include <QString>

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace sokoban {

enum WallPiece { kWallCross, kWallAcross, kWallCap, kWallUpDown, kWallAlone };

struct Skin {
    QString name;
    QString author;
    std::filesystem::path picture;
    int tileSize = 0;
    // In the board painter's order: 1 wall, 2 floor, 3 target, 4 box, 5 box on target;
    // [0] (outside) stays null.
    std::array<QImage, 6> tiles;
    // The wall pieces, by WallPiece; tiles[1] is the piece joined all ways.
    std::array<QImage, 5> wallPieces;
    // The worker as the board draws him: the mask (white where the cell shows
    // through) combined by AND, then the frame by XOR. Frames up1 up2 down1
    // down2 left1 left2 right1 right2; a skin without facing workers has the
    // same worker in all eight.
    std::array<QImage, 8> manImages;
    std::array<QImage, 8> manMasks;
};

enum class SkinProblem {
    None,
    Missing,       // no file of that name
    NotAFile,      // a folder, a device ...
    LinkLoop,      // symbolic links leading round in a circle
    Unreadable,    // cannot be opened or is not a picture
    Empty,         // a picture of no pixels
    NotAGrid,      // the size is not four tiles across and whole tiles down
    TilesTooSmall, // under kMinTile pixels
    TilesTooLarge, // over kMaxTile pixels
    UnknownDescription,
    DamagedDescription,
};

constexpr int kMinSkinTile = 8;
constexpr int kMaxSkinTile = 256;
constexpr int kSkinColumns = 4;
constexpr int kMinSkinRows = 4;
constexpr int kMaxSkinRows = 16;

struct SkinLoad {
    std::optional<Skin> skin;
    SkinProblem problem = SkinProblem::None;
    QString file;   // the file the problem is in
    QString detail; // what was found, for the message
};

// Reads a skin; nothing of it is kept when any part is wrong.
SkinLoad loadSkin(const std::filesystem::path& picture);

// The message for the player, in the current language.
QString skinProblemText(const SkinLoad& load);

// The folders skins are read from, in order: the per-user data folder's
// skins/ first, then the program directory's.
std::vector<std::filesystem::path> skinFolders(const std::filesystem::path& appDir);

// Picture files (.png, .bmp) in those folders, by file name; a name found in
// an earlier folder hides the same name in a later one. Sorted by name.
struct SkinFile {
    QString fileName; // the name the choice is stored by
    std::filesystem::path picture;
};
std::vector<SkinFile> findSkins(const std::vector<std::filesystem::path>& folders);
// The name to show before the skin is read: the file name less its extension.
QString skinMenuName(const SkinFile& file);

// The player's choice, kept in skin.var beside language.var: the skin's file
// name, and whether he put one of the figures on it instead of its own worker.
struct SkinChoice {
    QString fileName; // empty: no skin, the faces as game.var has them
    int figure = 0;   // 0: the skin's worker, 1..6 a figure
    bool operator==(const SkinChoice&) const = default;
};
std::filesystem::path skinChoiceFile(const std::filesystem::path& appDir);
// No skin when the file is missing or damaged.
SkinChoice loadSkinChoice(const std::filesystem::path& appDir);
// Throws FileError.
void saveSkinChoice(const std::filesystem::path& appDir, const SkinChoice& choice);

} // namespace sokoban

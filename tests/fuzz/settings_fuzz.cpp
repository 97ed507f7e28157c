// game.var and game.lst of any contents: the settings are loaded and
// repaired, written back and loaded again; the list is read and the level set
// the settings name is looked up in it.
#include "fuzz_support.h"

#include "storage/level_set.h"

using namespace sokoban;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::Scratch scratch("settings");
    const auto& dir = scratch.fresh();
    const auto parts = fuzz::splitParts({data, size});
    const auto var = dir / "game.var", lst = dir / "game.lst";
    fuzz::writeFile(var, parts[0]);
    if (parts.size() > 1) fuzz::writeFile(lst, parts[1]);

    const TGameVar v = loadSettings(var, 1280, 800);
    // Every face the settings can name has pictures.
    FUZZ_CHECK(v.faceStyle >= 1 && v.faceStyle <= 11);
    FUZZ_CHECK(v.customWall >= 1 && v.customWall <= 10);
    FUZZ_CHECK(v.customFloor >= 1 && v.customFloor <= 10);
    FUZZ_CHECK(v.customBox >= 1 && v.customBox <= 10);
    FUZZ_CHECK(v.levelSet != 0 && v.backStyle != 0 && v.moveSpeed != 0 && v.demoSpeed != 0);
    FUZZ_CHECK(v.musicNo != 0 && v.backNo != 0 && v.figureNo != 0);
    FUZZ_CHECK(v.windowWidth != 0 && v.windowHeight != 0);
    saveSettings(var, v);
    FUZZ_CHECK(loadSettings(var, 1280, 800).encode() == v.encode());

    const auto lines = readGameList(lst);
    const std::string entry = gameListEntry(lst, v.levelSet);
    if (v.levelSet > 5 && static_cast<std::size_t>(v.levelSet - 5) <= lines.size())
        FUZZ_CHECK(entry == lines[static_cast<std::size_t>(v.levelSet - 6)]);
    else
        FUZZ_CHECK(entry.empty());
    return 0;
}

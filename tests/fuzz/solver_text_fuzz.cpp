// The solver's readers: levels in a text file of any contents, each read
// into the solver's grid and written back, and the input's first bytes as a
// level record of the game.
#include "fuzz_support.h"

#include "solver/level.h"

#include <algorithm>
#include <sstream>

using namespace sokoban;
using namespace sokoban::solver;

namespace {

void checkLevel(const Level& l) {
    FUZZ_CHECK(l.rows >= 1 && l.cols >= 1 && l.rows <= kMaxSide && l.cols <= kMaxSide);
    FUZZ_CHECK(l.cells.size() == static_cast<std::size_t>(l.rows * l.cols));
    FUZZ_CHECK(l.man >= 0 && l.man < l.rows * l.cols);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    for (const TextLevel& t : splitTextLevels(in)) {
        // Over-long lines and levels are kept one past the limit, to be refused.
        FUZZ_CHECK(t.rows.size() <= static_cast<std::size_t>(kMaxSide) + 1);
        for (const auto& r : t.rows)
            FUZZ_CHECK(r.size() <= static_cast<std::size_t>(kMaxSide) + (t.tooWide ? 1 : 0));
        if (t.tooWide || t.tooTall) continue;
        const LevelOrError read = levelFromXsb(t.rows);
        if (!read.ok()) continue;
        checkLevel(read.level);
        const LevelOrError again = levelFromXsb(levelToXsb(read.level));
        FUZZ_CHECK(again.ok());
        checkLevel(again.level);
    }

    Bytes record(data, data + std::min(size, TMazeData::kSize));
    record.resize(TMazeData::kSize);
    const LevelOrError maze = levelFromMaze(TMazeData::decode(record));
    if (maze.ok()) checkLevel(maze.level);
    return 0;
}

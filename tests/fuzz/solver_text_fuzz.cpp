// What the solver is handed: the levels of a text of any contents as the
// core reader gives them in both of its modes, and the input's first bytes as
// a level record of the game.
#include "fuzz_support.h"

#include "core/level_text.h"
#include "solver/board.h"
#include "solver/solver.h"
#include "storage/maze_board.h"

#include <algorithm>
#include <string_view>

using namespace sokoban;
using namespace sokoban::solver;

namespace {

void checkBoard(const core::Board& b) {
    FUZZ_CHECK(b.rows >= 0 && b.cols >= 0 && b.rows <= kMaxSide && b.cols <= kMaxSide);
    FUZZ_CHECK(b.cells.size() == static_cast<std::size_t>(b.rows * b.cols));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const auto mode : {core::ReadMode::Collection, core::ReadMode::SingleLevel}) {
        for (const core::TextLevel& t : core::readLevelText(text, mode)) {
            FUZZ_CHECK(t.rows.size() <= static_cast<std::size_t>(kMaxSide));
            for (const auto& r : t.rows)
                FUZZ_CHECK(r.size() <= static_cast<std::size_t>(kMaxSide));
            if (!t.fits()) continue;
            const core::Board b = t.board();
            checkBoard(b);
            FUZZ_CHECK(b.contains(b.worker) || b.size() == 0);
            // A collection's level with a worker is one the solver takes. A
            // single file's outside rule may take the worker's own cell (a
            // worker outside the walls); the solver must then say why.
            if (t.hasWorker() && mode == core::ReadMode::Collection)
                FUZZ_CHECK(invalidReason(b).empty());
            if (t.hasWorker() && mode == core::ReadMode::SingleLevel &&
                !core::isFree(b.at(b.worker)))
                FUZZ_CHECK(!invalidReason(b).empty());
            if (invalidReason(b).empty()) {
                const Board board(b);
                FUZZ_CHECK(board.size() >= 1);
            }
        }
    }

    Bytes record(data, data + std::min(size, TMazeData::kSize));
    record.resize(TMazeData::kSize);
    const core::Board maze = boardOf(TMazeData::decode(record));
    checkBoard(maze);
    if (invalidReason(maze).empty()) {
        const Board board(maze);
        FUZZ_CHECK(board.size() >= 1);
    }
    return 0;
}

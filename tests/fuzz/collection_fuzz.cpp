// A collection of levels in text, opened, and found again the next time with
// its index, long answers and statistics in any state: the text, then those
// three files, one after the other in the input. The text is imported, the
// three files put in its set's place, the text opened again, and that set
// played: a few levels entered, each one's stored answer shown and stepped
// through, a move made and taken back.
#include "fuzz_support.h"

#include "fuzz_model.h"
#include "storage/file_error.h"
#include "storage/level_collection.h"
#include "storage/level_stats.h"
#include "storage/long_answers.h"

#include <algorithm>

using namespace sokoban;

namespace {

void checkIndex(const CollectionIndex& index, int levels) {
    FUZZ_CHECK(index.textLevels >= 0);
    for (const auto& [level, board] : index.largeBoards) {
        FUZZ_CHECK(level >= 1 && level <= levels);
        FUZZ_CHECK(board.rows >= 1 && board.rows <= core::kMaxSide);
        FUZZ_CHECK(board.cols >= 1 && board.cols <= core::kMaxSide);
        FUZZ_CHECK(board.contains(board.worker));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::Scratch scratch("collection");
    const auto& dir = scratch.fresh();
    const auto parts = fuzz::splitParts({data, size});
    const auto levelsDir = dir / "levels", appDir = dir / "app", text = dir / "c.txt";
    std::filesystem::create_directories(levelsDir);
    std::filesystem::create_directories(appDir);
    fuzz::writeFile(text, parts[0]);

    std::string box;
    try {
        const OpenedLevelText first = openLevelTextFile(text, levelsDir, appDir);
        if (!first.collection || first.set.boxFile.empty()) return 0;
        box = first.set.boxFile;
        FUZZ_CHECK(first.set.imported >= 1 && first.set.imported <= first.set.levels);
    } catch (const FileError&) {
        return 0;
    }
    if (parts.size() > 1) fuzz::writeFile(levelIndexFile(box), parts[1]);
    if (parts.size() > 2) fuzz::writeFile(longAnswersFile(box, appDir), parts[2]);
    if (parts.size() > 3) fuzz::writeFile(levelStatsFile(box, appDir), parts[3]);

    // The same text again: whatever the three files hold, it opens as a
    // set, whole (another one when the index found names another text).
    try {
        const OpenedLevelText again = openLevelTextFile(text, levelsDir, appDir);
        FUZZ_CHECK(again.collection && !again.set.boxFile.empty());
        box = again.set.boxFile;
    } catch (const FileError&) {
        return 0;
    }
    const auto levels = static_cast<int>(std::filesystem::file_size(box) / TMazeData::kSize);
    if (const auto index = readCollectionIndex(box)) checkIndex(*index, levels);
    for (const auto& [level, moves] : readLongAnswers(longAnswersFile(box, appDir)))
        FUZZ_CHECK(level >= 1);
    for (const LevelStats& s : readLevelStats(levelStatsFile(box, appDir)))
        FUZZ_CHECK(s.attempts >= 0 && s.seconds >= 0);

    fuzz::SetModel opened(appDir);
    auto& model = opened.model;
    model.setGameFile(box);
    model.setClock([] { return std::int64_t{0}; });
    model.guarded([&] {
        if (!model.OpenGame()) return;
        FUZZ_CHECK(model.levelCount() == levels);
        for (int n = 1; n <= std::min(levels, 3); ++n) {
            model.playLevel(n);
            FUZZ_CHECK(model.position().contains(model.manPos()));
            model.tbLoadAnswerClick();
            for (int step = 0; step < 64 && model.demoMode(); ++step)
                model.Timer4Timer();
            model.stopDemo();
            model.KeyMove("right");
            model.tbUndoClick();
        }
    });
    return 0;
}

// Opening a level set whose files may be anything: the .box and its .sav,
// .bst and .sol, one after the other in the input. The set is opened and
// repaired as the game does, its level loaded, and every save slot tried.
#include "fuzz_support.h"

#include "fuzz_model.h"

using namespace sokoban;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::Scratch scratch("level-set");
    const auto& dir = scratch.fresh();
    const auto parts = fuzz::splitParts({data, size});
    const char* names[] = {"set.box", "set.sav", "set.bst", "set.sol"};
    for (std::size_t i = 0; i < parts.size() && i < 4; ++i)
        fuzz::writeFile(dir / names[i], parts[i]);

    fuzz::SetModel opened(dir);
    auto& model = opened.model;
    auto& dialogs = opened.dialogs;
    model.guarded([&] {
        if (!model.OpenGame()) return;
        const std::uint64_t levels = parts[0].size() / TMazeData::kSize;
        FUZZ_CHECK(model.levelCount() == static_cast<int>(levels));
        // The companion files are whole after the repair.
        FUZZ_CHECK(std::filesystem::file_size(dir / "set.sav") >= 6 * TSaveData::kSize);
        FUZZ_CHECK(std::filesystem::file_size(dir / "set.bst") >= levels * TBestData::kSize);
        FUZZ_CHECK(std::filesystem::file_size(dir / "set.sol") == levels * TAnswerData::kSize);
        model.ReadRecord(model.curLevel());
    });
    for (int slot = 1; slot <= 5; ++slot) {
        dialogs.confirmAnswers = {true};
        model.guarded([&] { model.GameLoad(slot); });
        model.guarded([&] { model.tbUndoClick(); });
    }
    return 0;
}

// Importing an .ans file of any contents into a small level set: stored when
// its level number fits the set, then demonstrated for a while when it is an
// answer of the level in play.
#include "fuzz_support.h"

#include "fuzz_model.h"
#include "storage/xsb.h"

using namespace sokoban;

namespace {

// Three small levels of the game's own making, read as the XSB reader reads them.
Bytes levelSet() {
    const char* levels[] = {
        "#####\n#@$.#\n#####\n",
        "######\n#    #\n# $$ #\n#.@ .#\n######\n",
        "  ####\n###  #\n#.$@ #\n# *  #\n######\n",
    };
    Bytes out;
    for (const char* l : levels) {
        const Bytes b = parseXsb(l).maze.encode();
        out.insert(out.end(), b.begin(), b.end());
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::Scratch scratch("answer");
    static const Bytes set = levelSet();
    const auto& dir = scratch.fresh();
    fuzz::writeFile(dir / "set.box", {set.data(), set.size()});
    const auto ans = dir / "set0001.ans";
    fuzz::writeFile(ans, {data, size});

    fuzz::SetModel opened(dir);
    auto& model = opened.model;
    auto& dialogs = opened.dialogs;
    model.guarded([&] {
        if (model.OpenGame()) model.ReadRecord(model.curLevel());
    });
    dialogs.fileAnswers = {ans.string()};
    dialogs.confirmAnswers = {true, true}; // store it, and show it
    model.guarded([&] { model.mAnswerInClick(); });
    // A few hundred steps of the demonstration: enough to reach the end of
    // short answers and any level change they cause.
    for (int step = 0; step < 300 && model.demoMode(); ++step)
        model.guarded([&] { model.Timer4Timer(); });
    FUZZ_CHECK(std::filesystem::file_size(dir / "set.sol") == 3 * TAnswerData::kSize);
    return 0;
}

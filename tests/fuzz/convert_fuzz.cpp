// Converting a file of any contents with the menu command, the question
// answered Yes: a file of whole old records becomes exactly its converted
// levels, anything else is refused untouched, and no other file stays behind.
#include "fuzz_support.h"

#include "session/convert_command.h"
#include "storage/convert.h"

using namespace sokoban;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::Scratch scratch("convert");
    const auto& dir = scratch.fresh();
    const auto file = dir / "old.box";
    fuzz::writeFile(file, {data, size});

    ScriptedDialogs dialogs;
    dialogs.fileAnswers = {file.string()};
    dialogs.confirmAnswers = {true};
    N1251Click(dialogs);

    const auto after = fuzz::readFile(file);
    if (isOldLayoutSize(size)) {
        FUZZ_CHECK(after == convertOldLevelSet({data, size}));
        FUZZ_CHECK(dialogs.said.back().message.id == MessageId::ConvertDone);
    } else {
        FUZZ_CHECK(after == Bytes(data, data + size));
        FUZZ_CHECK(dialogs.said.back().message.id == MessageId::BadLevelSetFile);
    }
    int files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir))
        ++files;
    FUZZ_CHECK(files == 1);
    return 0;
}

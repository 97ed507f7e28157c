// The XSB reader on any text: whole, in pieces of any size and from a file,
// always to the same level; a level it accepts is written and read back.
#include "fuzz_support.h"

#include "storage/xsb.h"

#include <algorithm>

using namespace sokoban;

namespace {

bool same(const XsbResult& a, const XsbResult& b) {
    return a.status == b.status && (a.status != XsbStatus::Ok ||
                                    (a.maze.man == b.maze.man && a.maze.cells == b.maze.cells));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::Scratch scratch("xsb");
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const XsbResult whole = parseXsb(text);

    // Pieces of 1 to 16 bytes, as a stream hands them over.
    XsbScanner scanner;
    for (std::size_t at = 0, n = 1; at < size && !scanner.tooBig(); at += n, n = n % 16 + 1)
        scanner.feed(text.substr(at, n));
    FUZZ_CHECK(same(scanner.finish(), whole));

    const auto file = scratch.fresh() / "level.xsb";
    fuzz::writeFile(file, {data, size});
    FUZZ_CHECK(same(readXsb(file), whole));

    if (whole.status == XsbStatus::Ok) {
        FUZZ_CHECK(whole.maze.man >= 0 && whole.maze.man < kCells);
        FUZZ_CHECK(std::all_of(whole.maze.cells.begin(), whole.maze.cells.end(),
                               [](std::uint8_t c) { return c <= kBoxOnTarget; }));
        FUZZ_CHECK(parseXsb(writeXsb(whole.maze)).status == XsbStatus::Ok);
    }
    return 0;
}

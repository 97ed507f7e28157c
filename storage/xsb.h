// Single levels in XSB text: "#" wall, " " floor, "." target, "$" box,
// "*" box on target, "@" worker, "+" worker on target, one line per row.
#pragma once

#include "core/level_text.h"
#include "storage/records.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace sokoban {

enum class XsbStatus {
    Ok,
    Missing,   // no file at the path
    ReadError, // the file cannot be opened or read, or is not a plain file
    TooBig,    // more than 22 rows, or a row longer than 34 characters
    NoLevel,   // read, but not one level row in it (readFirstLevel only)
};

struct XsbResult {
    XsbStatus status = XsbStatus::Ok;
    TMazeData maze; // meaningful only when the status is Ok
};

// Reads XSB text handed over in pieces of any size by the rules of a single
// level file (the core reader's single-level mode): a line is a level row
// when it is not empty and holds nothing but the seven XSB characters; LF,
// CR LF and a lone CR all end a line, and every other line is skipped. The
// level is centred in the grid, floor with a straight run of floor to the
// edge of the text turned outside; more than 22 rows or a row longer than
// 34 characters is too big. Any input is read in a fixed amount of memory.
class XsbScanner {
  public:
    void feed(std::string_view bytes) { reader_.feed(bytes); }
    // The input was refused already; the rest need not be read.
    bool tooBig() const { return reader_.settled(kRows, kCols); }
    // Ends the last line and builds the level.
    XsbResult finish();

  private:
    core::FirstLevelReader reader_{core::ReadMode::SingleLevel};
};

XsbResult parseXsb(std::string_view text);
// Streams the file; binary data and lines of any length are fine.
XsbResult readXsb(const std::filesystem::path& path);

// A level as XSB text: the rows of its bounding rectangle, each ending in
// CR LF, blanks for outside cells, the worker as "@" or "+" on its cell.
std::string writeXsb(const TMazeData& level);
std::string writeXsb(const core::Board& level);
// Writes writeXsb(level) to a file, replacing it; throws FileError.
void saveXsb(const std::filesystem::path& path, const TMazeData& level);
void saveXsb(const std::filesystem::path& path, const core::Board& level);

// The proposed file name of a level: the level-set path without its
// extension and the level number padded with zeros to four digits
// (".../game" and 7 give ".../game0007.xsb").
std::string xsbFileName(const std::string& gameName, int level);

} // namespace sokoban

// Single levels in XSB text: "#" wall, " " floor, "." target, "$" box,
// "*" box on target, "@" worker, "+" worker on target, one line per row.
#pragma once

#include "storage/records.h"

#include <array>
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

// The accepted rows of one level: at most 22 rows of at most 34 of the seven
// XSB characters each.
struct XsbRows {
    std::array<std::array<char, kCols>, kRows> text{};
    std::array<int, kRows> length{};
    int count = 0;
};

// Which floor cells of the text become outside cells.
enum class OutsideRule {
    // Floor with a straight run of floor to the edge of the text in any of
    // the four directions (single files of the scanner below).
    StraightRuns,
    // Floor the edge of the text reaches without crossing anything but
    // floor, so a bent notch in the outline never shows as a hole.
    FloodFromEdge,
};

// Translates the rows into a level centred in the grid, the worker on the
// last worker character (top-left of the text when there is none).
TMazeData buildXsbLevel(const XsbRows& rows, OutsideRule rule);

// Collects the level rows of XSB text handed over in pieces of any size.
// A line is a level row when it is not empty and holds nothing but the seven
// XSB characters; LF, CR LF and a lone CR all end a line, and every other
// line is skipped. Only the first 22 rows of at most 34 characters are kept,
// so any input is read in a fixed amount of memory.
class XsbScanner {
  public:
    void feed(std::string_view bytes);
    // The input was refused already; the rest need not be read.
    bool tooBig() const { return tooBig_; }
    // Ends the last line and builds the level: centred in the grid, floor
    // with a straight run of floor to the edge of the text turned outside.
    XsbResult finish();

  private:
    void endLine();

    XsbRows rows_;
    int lineLength_ = 0; // stops counting just past kCols
    bool lineValid_ = true;
    bool tooBig_ = false;
};

XsbResult parseXsb(std::string_view text);
// Streams the file; binary data and lines of any length are fine.
XsbResult readXsb(const std::filesystem::path& path);

// A level as XSB text: the rows of its bounding rectangle, each ending in
// CR LF, blanks for outside cells, the worker as "@" or "+" on its cell.
std::string writeXsb(const TMazeData& level);
// Writes writeXsb(level) to a file, replacing it; throws FileError.
void saveXsb(const std::filesystem::path& path, const TMazeData& level);

// The proposed file name of a level: the level-set path without its
// extension and the level number padded with zeros to four digits
// (".../game" and 7 give ".../game0007.xsb").
std::string xsbFileName(const std::string& gameName, int level);

} // namespace sokoban

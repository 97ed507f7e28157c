// The text form of the built-in level sets, read through the core's level
// reader: every level is a block of rows in XSB notation right below a
// heading line that starts with ";" (normally "; <number>"); blank lines
// may stand between levels. The tools are stricter than the game about
// anything else, so that a slip in a set's text stops the build instead of
// turning into an odd level.
#pragma once

#include "core/board.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace sokoban::settext {

struct SetLevel {
    std::string heading; // the words after the ";" of the heading line
    int line = 0;        // the line of the heading, for messages
    // The rows as written, trailing blanks dropped.
    std::vector<std::string> rows;
    // The level as the game reads it: floor the edge of the text reaches is
    // outside; the worker on the top-left cell when there is none.
    core::Board board;
    int workers = 0; // worker characters in the rows
};

// All levels of a set's text; throws std::runtime_error naming the line of
// a row no heading introduces, a heading with no level, or any line that is
// neither a row, a heading nor blank.
std::vector<SetLevel> parseSet(std::string_view text);

// The same for a file; the message names the file too.
std::vector<SetLevel> readSetFile(const std::filesystem::path& path);

// One level from its rows, read as a set level is.
core::Board boardOfRows(const std::vector<std::string>& rows);

// A board's rows as a set writes them: outside as blanks, trailing blanks
// dropped, the blank rows and columns round the level cut away. Floor shut
// in by walls stays floor; a generated level is finished first.
std::vector<std::string> rowsOf(const core::Board& board);

} // namespace sokoban::settext

// Moves as letters: "u", "d", "l", "r" for steps, capitals for pushes, a
// count in front repeating the letter after it ("3l2R" is "lllRR").
#pragma once

#include "core/board.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace sokoban::core {

struct LurdMove {
    Dir dir = kUp;
    bool push = false; // written as a capital
    bool operator==(const LurdMove&) const = default;
};

enum class LurdError {
    None,
    BadCharacter, // not a move letter, a digit or a blank; or a count with no letter after it
    TooLong,      // more moves than the caller allows
};

struct LurdParse {
    LurdError error = LurdError::None;
    std::vector<LurdMove> moves; // what was read before an error
};

// Reads letters in either case with run lengths; blanks, tabs and line ends
// may stand anywhere, inside a count too. A count of 0 repeats nothing.
LurdParse parseLurd(std::string_view text, std::size_t maxMoves = 1u << 20);

// The letters of the moves, with run lengths for repeats when asked
// ("lllRR" or "3l2R").
std::string writeLurd(const std::vector<LurdMove>& moves, bool runLengths = false);

// The moves played from the board's start, each written as what it does
// there: a capital for a push, a small letter for a step. A move the rules
// refuse is written as a step and changes nothing.
std::string lurdOf(const Board& start, const Moves& moves);

} // namespace sokoban::core

#include "core/lurd.h"

#include <gtest/gtest.h>

namespace sokoban::core {
namespace {

std::string letters(const std::vector<LurdMove>& moves) {
    return writeLurd(moves);
}

TEST(CoreLurd, ReadsLettersCountsAndBlanks) {
    struct Case {
        const char* text;
        LurdError error;
        std::string moves; // as written back without run lengths
    } cases[] = {
        {"lurd", LurdError::None, "lurd"},
        {"LURD", LurdError::None, "LURD"},
        {"3l2R", LurdError::None, "lllRR"},
        {"1 2r", LurdError::None, "rrrrrrrrrrrr"}, // a count may be broken by blanks
        {"u\r\nd\tl r", LurdError::None, "udlr"},
        {"0lr", LurdError::None, "r"},
        {"", LurdError::None, ""},
        {"ux", LurdError::BadCharacter, "u"},
        {"3", LurdError::BadCharacter, ""},
        {"l3", LurdError::BadCharacter, "l"},
        {"2|r", LurdError::BadCharacter, ""},
        {"5r", LurdError::TooLong, ""}, // only more than four are too long
        {"rrrr", LurdError::None, "rrrr"},
        {"rrrrr", LurdError::TooLong, "rrrr"},
    };
    for (const auto& c : cases) {
        const LurdParse p = parseLurd(c.text, 4); // at most four moves
        const LurdParse wide = parseLurd(c.text);
        if (c.error == LurdError::TooLong) {
            EXPECT_EQ(p.error, LurdError::TooLong) << c.text;
            EXPECT_EQ(wide.error, LurdError::None) << c.text;
        } else {
            EXPECT_EQ(wide.error, c.error) << c.text;
        }
        EXPECT_EQ(letters(c.error == LurdError::TooLong ? p.moves : wide.moves), c.moves) << c.text;
    }
    // Huge counts stop growing rather than wrap round.
    EXPECT_EQ(parseLurd("99999999999r", 1u << 20).moves.size(), 100000u);
}

TEST(CoreLurd, WritesRunLengthsThatReadBack) {
    for (const char* text : {"lllRR", "u", "uuuuuuuuuuuuDDlr", "rRrR", ""}) {
        const auto moves = parseLurd(text).moves;
        const std::string packed = writeLurd(moves, true);
        EXPECT_EQ(parseLurd(packed).moves, moves) << text;
        EXPECT_EQ(writeLurd(moves), text);
    }
    EXPECT_EQ(writeLurd(parseLurd("lllRRu").moves, true), "3l2Ru");
}

TEST(CoreLurd, LettersOfMovesPlayedOnTheBoard) {
    const Board b = fromXsbRows({"#######", "#@ $ .#", "#######"});
    EXPECT_EQ(lurdOf(b, {kRight, kRight, kRight}), "rRR");
    // A refused move is written as a step and leaves the board alone.
    EXPECT_EQ(lurdOf(b, {kUp, kLeft, kRight, kRight}), "ulrR");
}

} // namespace
} // namespace sokoban::core

#include "core/lurd.h"

#include "core/rules.h"

#include <algorithm>

namespace sokoban::core {

namespace {

// A count larger than this repeats no more.
constexpr int kMaxRun = 100000;

int dirOfLetter(char c) {
    switch (c) {
    case 'u':
    case 'U':
        return kUp;
    case 'd':
    case 'D':
        return kDown;
    case 'l':
    case 'L':
        return kLeft;
    case 'r':
    case 'R':
        return kRight;
    default:
        return -1;
    }
}

} // namespace

LurdParse parseLurd(std::string_view text, std::size_t maxMoves) {
    LurdParse out;
    int run = -1; // -1: no count given
    for (const char c : text) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
        if (c >= '0' && c <= '9') {
            run = std::min(kMaxRun, std::max(run, 0) * 10 + (c - '0'));
            continue;
        }
        const int d = dirOfLetter(c);
        if (d < 0) {
            out.error = LurdError::BadCharacter;
            return out;
        }
        const auto n = static_cast<std::size_t>(run < 0 ? 1 : run);
        run = -1;
        if (out.moves.size() + n > maxMoves) {
            out.error = LurdError::TooLong;
            return out;
        }
        out.moves.insert(out.moves.end(), n, LurdMove{static_cast<Dir>(d), c < 'a'});
    }
    if (run >= 0) out.error = LurdError::BadCharacter;
    return out;
}

std::string writeLurd(const std::vector<LurdMove>& moves, bool runLengths) {
    std::string out;
    for (std::size_t i = 0; i < moves.size();) {
        std::size_t n = 1;
        if (runLengths)
            while (i + n < moves.size() && moves[i + n] == moves[i])
                ++n;
        if (n > 1) out += std::to_string(n);
        out += (moves[i].push ? "UDLR" : "udlr")[moves[i].dir];
        i += n;
    }
    return out;
}

std::string lurdOf(const Board& start, const Moves& moves) {
    Board board = start;
    std::string out;
    out.reserve(moves.size());
    for (const std::uint8_t m : moves) {
        const Dir d = static_cast<Dir>(m & 3);
        const bool push = apply(board, d).kind == MoveKind::Push;
        out += (push ? "UDLR" : "udlr")[d];
    }
    return out;
}

} // namespace sokoban::core

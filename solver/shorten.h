// Shortening an answer after the fact: the bolder searches and the whole
// box moves find answers with detours. From each position along the answer
// a small search by pushes looks for a later position of the same answer
// that it reaches with fewer pushes than the answer takes, and the way
// between them is put in its place.
#pragma once

#include "board.h"
#include "search.h"

#include <functional>
#include <vector>

namespace sokoban::solver {

struct ShortenLimits {
    // Positions each small search may look at.
    int positions = 600;
    // Called now and then; true stops the shortening with what it has.
    std::function<bool()> stop;
};

// The pushes of an answer (runs that solve the board) with no more pushes
// than before, one push per run. Positions are the boxes and the worker's
// area, so the walks in between are found afresh by whoever plays them.
std::vector<PushRun> shortenPushes(const Board& board, const std::vector<PushRun>& pushes,
                                   const ShortenLimits& limits);

} // namespace sokoban::solver

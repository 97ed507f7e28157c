// What the game keeps for its help with play: the single-move history, the
// solver's plan for the position on the board, the place a solve-from-here
// demonstration returns to, the dead squares and the player's choices.
#pragma once

#include "session/assistant.h"
#include "session/dead_squares.h"
#include "session/move_history.h"
#include "storage/play_options.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace sokoban {

// Where a solve-from-here demonstration leaves the game when it ends: just
// as it was asked, as if nothing had been shown.
struct SolveDemoReturn {
    Position at;
    int undoCount = 0;
    MoveHistory history;
    std::array<std::uint8_t, 4096> moveLog{};
    bool answerEnabled = false;
};

struct PlayAids {
    MoveHistory history;
    TPlayOptions options;
    // Solves the player's positions; set by the window. Without it the
    // commands that need the solver do nothing.
    SolverAssistant* assistant = nullptr;

    // The rest of a solution for the board `planFrom`, so that hint after
    // hint follows one line without solving again.
    std::optional<Position> planFrom;
    std::vector<std::uint8_t> plan;

    std::optional<SolveDemoReturn> demoReturn;
    DeadSquares dead;
    bool warningShown = false;
    int levelEntries = 0; // counts every level put on the board
    int dragFrom = -1;    // the box a press on the board picked up
};

} // namespace sokoban

// What the game keeps for its help with play: the solver's plan for the
// position on the board, the dead squares and the player's choices.
#pragma once

#include "session/assistant.h"
#include "session/dead_squares.h"
#include "session/history.h"
#include "storage/play_options.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace sokoban {

struct PlayAids {
    TPlayOptions options;
    // Solves the player's positions; set by the window. Without it the
    // commands that need the solver do nothing.
    SolverAssistant* assistant = nullptr;

    // The rest of a solution for the board `planFrom`, so that hint after
    // hint follows one line without solving again.
    std::optional<Position> planFrom;
    std::vector<std::uint8_t> plan;

    DeadSquares dead;
    bool warningShown = false;
    int levelEntries = 0; // counts every level put on the board
    int dragFrom = -1;    // the box a press on the board picked up
};

} // namespace sokoban

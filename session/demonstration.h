// An answer shown move by move on the board: the level's stored answer, an
// imported one, or a solution from the position the player asked it for.
#pragma once

#include "core/board.h"
#include "session/events.h"
#include "storage/records.h"

#include <algorithm>
#include <cstddef>

namespace sokoban {

struct Demonstration {
    bool running = false; // demoMode: the timer and the N key make its moves
    bool paused = false;  // demoPaused: paused or resumed since it began
    DemoButtons buttons = DemoButtons::Idle;
    int interval = 300; // Timer4
    TAnswerData answer; // answerRec: move k is made as move k of the level
    // A collection's answer longer than a record: used in place of `answer`
    // when not empty.
    core::Moves longMoves;
    // Move k of the answer shown (a direction code).
    int moveAt(int k) const {
        if (longMoves.empty()) return answer.moveAt(std::clamp(k, 0, TAnswerData::kCapacity - 1));
        return longMoves[static_cast<std::size_t>(
                   std::clamp<std::ptrdiff_t>(k, 0, std::ssize(longMoves) - 1))] &
               3;
    }
    // A solution shown from here goes back to where it was asked (the
    // history's mark), the answer button as it was then.
    bool answerWasEnabled = false;
};

} // namespace sokoban

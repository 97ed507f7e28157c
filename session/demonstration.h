// An answer shown move by move on the board: the level's stored answer, an
// imported one, or a solution from the position the player asked it for.
#pragma once

#include "session/events.h"
#include "storage/records.h"

namespace sokoban {

struct Demonstration {
    bool running = false; // demoMode: the timer and the N key make its moves
    bool paused = false;  // demoPaused: paused or resumed since it began
    DemoButtons buttons = DemoButtons::Idle;
    int interval = 300; // Timer4
    TAnswerData answer; // answerRec: move k is made as move k of the level
    // A solution shown from here goes back to where it was asked (the
    // history's mark), the answer button as it was then.
    bool answerWasEnabled = false;
};

} // namespace sokoban

// What the game model tells the window that shows it: what changed on the
// board, what to play and show, which controls and timers to set. The model
// sends them as its operations go, so that a message box opened half-way
// shows the board as the rules have left it.
#pragma once

#include "session/messages.h"

#include <string>
#include <variant>
#include <vector>

namespace sokoban {

// Captions and images of the answer and retry buttons.
enum class DemoButtons { Idle, Running, Paused };

// The sound effects of play.
enum class Effect { Move, Push, Pong, Undo };
// The name the sound is found by: "MOVE", "PUSH", "PONG", "undo".
constexpr const char* effectName(Effect e) {
    switch (e) {
    case Effect::Move:
        return "MOVE";
    case Effect::Push:
        return "PUSH";
    case Effect::Pong:
        return "PONG";
    case Effect::Undo:
        return "undo";
    }
    return "";
}

// Controls the model switches on and off.
enum class Control {
    Next,    // tbNextRecord and mNextRecord
    Undo,    // tbUndo only
    Answer,  // tbLoadAnswer and mLoadAnswer
    Manager, // M1
};

namespace event {

// A board new to the window (a level entered, a position restored whole):
// fitted to the board area and painted from black up.
struct NewBoard {
    bool operator==(const NewBoard&) const = default;
};
// Everything painted again where it stands (the dead-square marks changed).
struct Repaint {
    bool operator==(const Repaint&) const = default;
};
// The worker went from one cell to another (or only turned), perhaps
// pushing a box; `cells` are further cells that changed. Facing is the
// worker's frame, 0..7.
struct Moved {
    int workerFrom = -1;
    int workerTo = -1;
    int boxFrom = -1;
    int boxTo = -1;
    int facing = 0;
    std::vector<int> cells;
    bool operator==(const Moved&) const = default;
};
struct Sound {
    Effect effect = Effect::Move;
    bool operator==(const Sound&) const = default;
};
struct Caption {
    Message text;
    bool operator==(const Caption&) const = default;
};
// Status bar panel 0..3; MessageId::None: what the panel shows otherwise.
struct Status {
    int panel = 0;
    Message text;
    bool operator==(const Status&) const = default;
};
struct Enable {
    Control control = Control::Next;
    bool on = false;
    bool operator==(const Enable&) const = default;
};
struct Demo {
    DemoButtons state = DemoButtons::Idle;
    bool operator==(const Demo&) const = default;
};
// The checked item of the built-in sets, 1..5; 0 none.
struct GameItem {
    int item = 0;
    bool operator==(const GameItem&) const = default;
};
// The walking timer (Timer2): on with an interval (0 keeps it), or off.
struct Walking {
    bool on = false;
    int interval = 0;
    bool operator==(const Walking&) const = default;
};
// The demonstration timer (Timer4) on or off.
struct DemoTimer {
    bool on = false;
    bool operator==(const DemoTimer&) const = default;
};
struct DemoInterval {
    int interval = 0;
    bool operator==(const DemoInterval&) const = default;
};
// The board's mouse cursor by name: "go", "dead", "ques", "up", ...
struct Cursor {
    std::string name;
    bool operator==(const Cursor&) const = default;
};
// A face of the built-in ones chosen at random, when the player asked for it.
struct RandomFace {
    bool operator==(const RandomFace&) const = default;
};
struct Minimise {
    bool operator==(const Minimise&) const = default;
};

} // namespace event

using Event = std::variant<event::NewBoard, event::Repaint, event::Moved, event::Sound,
                           event::Caption, event::Status, event::Enable, event::Demo,
                           event::GameItem, event::Walking, event::DemoTimer, event::DemoInterval,
                           event::Cursor, event::RandomFace, event::Minimise>;
using Events = std::vector<Event>;

} // namespace sokoban

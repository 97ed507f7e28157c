#pragma once

// What the game does once its first frame is on screen, and the switches that let scripts
// (benchmarks, end-to-end runs) time it, play it and close it.

#include <QString>

#include <functional>

class QWidget;

namespace sokoban {

class TMainForm;

// Runs `then` once, from the event loop, after `board` has first been painted.
void afterFirstFrame(QWidget* board, std::function<void()> then);

// The scripted player, from the environment:
//   SOKOBAN_KEYS=RRUL...  arrow keys (Left, Right, Up, Down) pressed in the main window after
//                         the first frame; messages that come up are answered with Enter
//   SOKOBAN_QUIT_AFTER_START=1  close the window once the keys are played and the sound is
//                         ready; "stamp" also writes "first frame <ns since the epoch>" to
//                         stderr at the first frame
struct StartScript {
    QString keys;
    bool quit = false;
    bool stamp = false;
    static StartScript fromEnvironment();
};

// Plays `script` in `mainForm`; `soundReady` tells whether the sound has been set up.
void playStartScript(TMainForm& mainForm, const StartScript& script,
                     std::function<bool()> soundReady);

} // namespace sokoban

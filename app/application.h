#pragma once

namespace sokoban {
// Creates the windows and runs the message loop until the main window closes.
int runGame(int argc, char** argv);
} // namespace sokoban

// The worker's walk to a clicked cell: the path the core's paths found, and
// how far along it the walking timer has gone. The steps themselves are the
// game model's moves.
#pragma once

#include <cstdint>
#include <vector>

namespace sokoban {

class MouseWalk {
  public:
    struct PathStep {
        int index = 0;
        int cell = 0;
        const char* dir = "up";
    };
    using Path = std::vector<PathStep>;

    // The path of the walk.
    Path walkPath;
    int walkCount = 0;
    int walkIndex = 0;
    // The last search reached its goal.
    bool connected = false;
    int walkInterval = 70; // Timer2
    bool walking = false;  // Timer2 is on

    // A path of move codes from `start` on a grid `cols` wide as the walk;
    // false when it is longer than `capacity`, what a walk on that board holds
    // (a step for each of its cells).
    bool setPath(int start, const std::vector<std::uint8_t>& codes, int cols, int capacity);
    // The walk starts at its first step.
    void begin(int interval);
};

} // namespace sokoban

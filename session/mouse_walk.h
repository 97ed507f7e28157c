// The worker's walk to a clicked cell: the path found by the greedy search
// both ways and shortened, or a shortest one, and how far along it the
// walking timer has gone. Only the board is read; the steps themselves are
// the game model's moves.
#pragma once

#include "storage/records.h"

#include <array>
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
    using Path = std::array<PathStep, kCells>;

    // The path of the walk and the scratch path of the shortening search.
    Path walkPath{};
    int walkCount = 0;
    int walkIndex = 0;
    Path findPath{};
    int findCount = 0;
    // The last search reached its goal.
    bool connected = false;
    int walkInterval = 70; // Timer2
    bool walking = false;  // Timer2 is on

    // The greedy search from start to goal into walkPath; connected tells
    // whether it got there (a search that ran out of steps leaves it).
    void ifconnected(const Cells& cells, int start, int goal);
    // The same search into findPath, for shortening.
    void PathFind(const Cells& cells, int start, int goal);
    // Cuts detours out of walkPath with searches between its cells.
    void shortenWalk(const Cells& cells);
    // walkPath walked the other way: from its goal back to its start.
    void reverseWalk();
    // A path of move codes from `start` as the walk; false when it is longer
    // than a walk holds.
    bool setPath(int start, const std::vector<std::uint8_t>& codes);
    // The walk starts at its first step.
    void begin(int interval);
};

} // namespace sokoban

// Solving a level: the public face of the solver library.
//
//   Limits limits;
//   limits.timeSeconds = 10;
//   Result r = solve(maze, limits);
//   if (r.status == Status::Solved) ... r.moves holds move codes 0..3
#pragma once

#include "level.h"
#include "levels/records.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace sokoban::solver {

enum class Status {
    Solved,
    Unsolvable, // proved: no sequence of moves solves the level
    Timeout,
    Memory,
    Cancelled,
    Invalid, // the level could not be read (no worker, bad cell code...)
};
const char* statusName(Status status); // "solved", "unsolvable", ...

struct Limits {
    double timeSeconds = 60;
    std::size_t memoryBytes = std::size_t{2048} << 20;
    // Set from any thread to stop the solver soon after.
    const std::atomic<bool>* cancel = nullptr;
    // Searches run side by side; 0 picks by the machine (at most 2).
    int threads = 0;
};

struct Result {
    Status status = Status::Invalid;
    std::vector<std::uint8_t> moves; // 0 up, 1 down, 2 left, 3 right
    int moveCount = 0;
    int pushCount = 0;
    std::uint64_t nodes = 0; // positions expanded, all searches together
    double seconds = 0;
    std::string reason; // why the level is invalid or plainly unsolvable
};

Result solve(const Level& level, const Limits& limits = {});
Result solve(const TMazeData& maze, const Limits& limits = {});

// The moves in the usual letters: u d l r for steps, U D L R for pushes.
// Stops at the first move the level does not allow.
std::string toLurd(const Level& level, const std::vector<std::uint8_t>& moves);

// The solver's lower bound on the pushes the level needs, or -1 when it sees
// at once that no box assignment exists.
int lowerBound(const Level& level);

} // namespace sokoban::solver

// Solving a level: the public face of the solver library.
//
//   Limits limits;
//   limits.timeSeconds = 10;
//   Result r = solve(board, limits); // a core::Board
//   if (r.status == Status::Solved) ... r.moves holds move codes 0..3
#pragma once

#include "core/board.h"

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

// Where the solver reads the time. The limit is wall time, what the player
// waits for; the first search's share of a single thread is the processor
// time of that thread, which a busy machine does not shorten. Tests supply
// a clock of their own.
class SolveClock {
  public:
    virtual ~SolveClock() = default;
    virtual double wallSeconds() const = 0;   // from any fixed start
    virtual double threadSeconds() const = 0; // processor time of the calling thread
};
const SolveClock& systemClock();

struct Limits {
    // Wall time; 1e7 or more (or infinity) is no limit.
    double timeSeconds = 60;
    std::size_t memoryBytes = std::size_t{2048} << 20;
    // Set from any thread to stop the solver soon after.
    const std::atomic<bool>* cancel = nullptr;
    // Searches run side by side; 0 picks by the machine (at most 2).
    int threads = 0;
    const SolveClock* clock = nullptr; // systemClock() when null
};

struct Result {
    Status status = Status::Invalid;
    std::vector<std::uint8_t> moves; // 0 up, 1 down, 2 left, 3 right
    int moveCount = 0;
    int pushCount = 0;
    std::uint64_t nodes = 0; // positions expanded, all searches together
    double seconds = 0;
    // When the first solution was at hand; the time after it went into
    // looking for fewer pushes.
    double firstSolutionSeconds = 0;
    // Found by the search for the fewest pushes (up to its corridor rule),
    // not by the bolder one.
    bool fewestPushes = false;
    std::string reason; // why the level is invalid or plainly unsolvable
};

// Why the solver cannot take a board: a cell code no level holds, or no
// worker on a free cell (floor or target). Empty when it can.
std::string invalidReason(const core::Board& level);

// Status Invalid, with invalidReason, for a board it cannot take.
Result solve(const core::Board& level, const Limits& limits = {});

// The solver's lower bound on the pushes the level needs, or -1 when it sees
// at once that no box assignment exists.
int lowerBound(const core::Board& level);

} // namespace sokoban::solver

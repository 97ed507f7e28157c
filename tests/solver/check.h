// Helpers of the solver tests that do not trust the solver: the game's move
// rules applied to a level, and a plain breadth-first search over pushes.
#pragma once

#include "solver/board.h"
#include "solver/search.h"
#include "solver/solver.h"

#include <string>
#include <vector>

namespace sokoban::solver::test {

core::Board xsb(const std::vector<std::string>& rows); // fails the test if unreadable

struct Replay {
    bool legal = true; // every move was allowed
    bool solved = false;
    int moves = 0;
    int pushes = 0;
};
// Plays move codes by the game's rules: a step onto floor or target walks,
// onto a box pushes it when the square beyond is floor or target. The level
// is solved when no box stands off a target.
Replay replay(const core::Board& level, const std::vector<std::uint8_t>& moves);

// Plays a search's push runs on the board: each push needs its box, a free
// square beyond and the worker able to walk behind the box. The pushes made
// when they all can be made and the boxes end on the targets, else -1.
int playPushes(const Board& board, const std::vector<PushRun>& runs);

// Fewest pushes that solve the level, -1 when none do; `path` gets the
// positions (as levels) along one such solution, start first.
int fewestPushes(const core::Board& level, std::vector<core::Board>* path = nullptr);

// Time passes only as the search reads the clock, one tick per reading, so
// that a deadline counts positions rather than seconds.
class CountingClock final : public SolveClock {
  public:
    double wallSeconds() const override { return static_cast<double>(++ticks_); }
    double threadSeconds() const override { return static_cast<double>(ticks_); }

  private:
    mutable long ticks_ = 0;
};

} // namespace sokoban::solver::test

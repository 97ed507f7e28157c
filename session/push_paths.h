// Shortest ways for the mouse: a walk to a free cell, and the pushes that
// bring one box to a chosen cell. Moves are move codes (0 up, 1 down,
// 2 left, 3 right); the board's other boxes stay where they are.
#pragma once

#include "storage/records.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace sokoban {

// The fewest steps from start to goal over floor and targets; nullopt when
// the goal cannot be reached (an empty list when start is the goal).
std::optional<std::vector<std::uint8_t>> shortestWalkPath(const Cells& cells, int start, int goal);

// The fewest pushes, and for them the fewest moves, that bring the box on
// `box` to the free cell `goal` with the worker starting on `man`; nullopt
// when it cannot be done.
std::optional<std::vector<std::uint8_t>> boxPushPath(const Cells& cells, int man, int box,
                                                     int goal);

} // namespace sokoban

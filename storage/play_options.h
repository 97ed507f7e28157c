// The player's choices for the game's help and drawing: marking dead
// squares, walking along shortest paths, the time the solver may take and
// animated moves. They live in a small file of their own, assist.var,
// beside game.var, whose layout stays as it is: 5 bytes, little-endian.
//
//   byte 0    markDead      1: dead squares are marked
//   byte 1    shortestWalk  1: a click walks along a shortest path
//   bytes 2-3 solveSeconds  the solver's time limit, 1..600 seconds, or
//                           0xFFFF (-1) for none
//   byte 4    animate       1: the worker and the boxes glide between cells
//
// Files written before byte 4 existed are 4 bytes long and read as before,
// with the animation off.
#pragma once

#include "records.h"

#include <cstdint>
#include <filesystem>
#include <span>

namespace sokoban {

struct TPlayOptions {
    static constexpr std::size_t kSize = 5;
    static constexpr int kDefaultSeconds = 10;
    static constexpr int kNoLimit = -1;
    std::uint8_t markDead = 0;
    std::uint8_t shortestWalk = 0;
    std::int16_t solveSeconds = kDefaultSeconds;
    std::uint8_t animate = 0;

    Bytes encode() const;
    // Fewer than kSize bytes read as zero; out-of-range values are repaired.
    static TPlayOptions decode(std::span<const std::uint8_t> bytes);
    bool operator==(const TPlayOptions&) const = default;
};

// The defaults when the file is missing or cannot be read: a damaged file
// costs the player these choices, never the game.
TPlayOptions loadPlayOptions(const std::filesystem::path& file);
// Throws FileError.
void savePlayOptions(const std::filesystem::path& file, const TPlayOptions& options);

} // namespace sokoban

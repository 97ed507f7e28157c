// How a player has gone at the levels of an imported collection: attempts
// and time played per level, kept beside the collection's other records in
// a small text file of its own ("<set>.stats"). The .box sets' companion
// files are not touched.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace sokoban {

struct LevelStats {
    int attempts = 0;
    std::int64_t seconds = 0; // time played on the level
    bool operator==(const LevelStats&) const = default;
};

// Where the statistics of a set are kept (beside its .bst and .sol).
std::filesystem::path levelStatsFile(const std::string& boxFile,
                                     const std::filesystem::path& appDir);

// By level (element 0 is level 1); lines that cannot be read count as none,
// a missing or foreign file as no statistics at all.
std::vector<LevelStats> readLevelStats(const std::filesystem::path& file);

// Adds to one level's figures what the file holds at that moment (another
// copy of the game may have added its own), and writes the file whole and
// safely. Throws FileError.
void addLevelStats(const std::filesystem::path& file, int level, const LevelStats& more);

} // namespace sokoban

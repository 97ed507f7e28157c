// Rewriting a level-set file for the level manager and the designer:
// exchanging, replacing, removing and appending levels. Each change reads the
// whole file, makes the change in memory and puts the result in place by
// writing a temporary file beside the target and renaming it over the old
// one, so a failure at any point leaves the old file as it was; a set opened
// through a symbolic link is changed where the link leads. Reading one level
// reads only that level. Failures throw FileError.
#pragma once

#include "storage/records.h"
#include "storage/safe_write.h"

#include <filesystem>

namespace sokoban {

// Number of whole 750-byte levels in the file.
int levelCountOf(const std::filesystem::path& file);
// Level `index` (from 0); throws when the file does not hold it whole.
TMazeData readLevelOf(const std::filesystem::path& file, int index);
// Exchanges levels i and j (from 0); every other byte stays where it was.
void exchangeLevels(const std::filesystem::path& file, int i, int j);
// Removes level n (from 1): the levels behind it move up by one and the file
// ends after the last whole level. A missing file or an empty name is left
// alone; a level number beyond the file's end throws rather than cutting off
// the last level.
void DeleteRecord(const std::filesystem::path& file, int n);
// Appends a level after the last whole level of the file.
void appendLevel(const std::filesystem::path& file, const TMazeData& level);
// Stores a level as level `index` (from 0); an index equal to the number of
// whole levels appends it. Every other byte stays where it was.
void putLevel(const std::filesystem::path& file, int index, const TMazeData& level);
// Makes `to` a copy of `from`, creating it when missing; a failure leaves
// `to` as it was.
void copyLevelSet(const std::filesystem::path& from, const std::filesystem::path& to);

} // namespace sokoban

// Level-set files of versions before 1.25: 322-byte records of a 16 x 20 grid.
// Each old level is placed in the middle of the current 22 x 34 grid.
#pragma once

#include "file_error.h"
#include "records.h"

#include <cstdint>
#include <filesystem>
#include <span>

namespace sokoban {

constexpr int kOldRows = 16;
constexpr int kOldCols = 20;
constexpr std::size_t kOldLevelSize = 2 + kOldRows * kOldCols; // 322
// Old cell (r, k) lands on new cell (r + 3, k + 7).
constexpr int kOldRowShift = 3;
constexpr int kOldColShift = 7;

// The worker's old cell index w as a new one: w div 20 * 34 + w mod 20 + 109,
// truncating toward zero and wrapping in 16 bits like the field it lands in.
std::int16_t convertOldManIndex(std::int16_t w);

// One old record (at least kOldLevelSize bytes) as a current level record.
TMazeData convertOldLevel(std::span<const std::uint8_t> oldRecord);

// A whole old file as the bytes of the current file; a trailing partial record is ignored.
Bytes convertOldLevelSet(std::span<const std::uint8_t> oldFile);

// A file whose size is a whole number of current records may already be converted.
inline bool mayBeCurrentLayout(std::uint64_t byteSize) {
    return byteSize % TMazeData::kSize == 0;
}

// Only a file of one or more whole old records can be converted: anything
// else would lose its tail or become an empty level set.
inline bool isOldLayoutSize(std::uint64_t byteSize) {
    return byteSize > 0 && byteSize % kOldLevelSize == 0;
}

// Converts the level-set file in place, record by record. The levels are
// written to a new file of a name of its own beside the original (never an
// existing file), which then replaces the original in one rename and keeps its
// permissions. Returns the number of levels converted. Throws FileError when a
// file operation fails; the original is then left as it was and the new file
// is removed again.
int convertLevelSetFile(const std::filesystem::path& file);

} // namespace sokoban

// Fixed-size records of the level files. Every record is read and written
// field by field, little-endian; the byte sizes below are part of the file
// formats and must never change.
#pragma once

#include "core/board.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace sokoban {

constexpr int kRows = 22;
constexpr int kCols = 34;
constexpr int kCells = kRows * kCols; // 748

// Cell codes: the core's, so that a record's cells are a board's cells. A
// box is the code of the square under it plus 2.
using core::CellCode;
using core::kBox;
using core::kBoxOnTarget;
using core::kFloor;
using core::kOutside;
using core::kTarget;
using core::kWall;

using Cells = std::array<std::uint8_t, kCells>;
using Bytes = std::vector<std::uint8_t>;

// One level: 750 bytes.
struct TMazeData {
    static constexpr std::size_t kSize = 750;
    std::int16_t man = 0;
    Cells cells{};

    Bytes encode() const;
    static TMazeData decode(std::span<const std::uint8_t> bytes); // needs kSize bytes
    bool operator==(const TMazeData&) const = default;
};

// Progress / save slot / undo record: 756 bytes.
struct TSaveData {
    static constexpr std::size_t kSize = 756;
    std::int16_t level = 0;
    std::int16_t moves = 0;
    std::int16_t pushes = 0;
    std::int16_t man = 0;
    Cells cells{};

    Bytes encode() const;
    static TSaveData decode(std::span<const std::uint8_t> bytes);
    bool operator==(const TSaveData&) const = default;
};

// Best counts of one level: 4 bytes. 0 means not solved yet.
struct TBestData {
    static constexpr std::size_t kSize = 4;
    std::int16_t moves = 0;
    std::int16_t pushes = 0;

    Bytes encode() const;
    static TBestData decode(std::span<const std::uint8_t> bytes);
    bool operator==(const TBestData&) const = default;
};

// Stored answer of one level: 1029 bytes, moves packed two bits each.
struct TAnswerData {
    static constexpr std::size_t kSize = 1029;
    static constexpr int kCapacity = 4096;
    std::int16_t level = 0;
    std::int16_t moves = 0;
    std::uint8_t spare = 0;
    std::array<std::uint8_t, 1024> packed{};

    // Move code (0 up, 1 down, 2 left, 3 right) of move i, 0 <= i < 4096.
    int moveAt(int i) const;
    void setMove(int i, int code);

    Bytes encode() const;
    static TAnswerData decode(std::span<const std::uint8_t> bytes);
    bool operator==(const TAnswerData&) const = default;
};

// The settings record of game.var: 36 bytes.
struct TGameVar {
    static constexpr std::size_t kSize = 36;
    std::uint8_t levelSet = 0;  // 1..5 built-in sets, n > 5 = line n - 5 of game.lst
    std::uint8_t faceStyle = 0; // 1..10, 11 = custom
    std::uint8_t backStyle = 0; // 1 centre, 2 tile, 3 stretch
    std::uint8_t moveSpeed = 0; // 1 fast, 2 medium, 3 slow
    std::uint8_t demoSpeed = 0; // 1 fast, 2 medium, 3 slow
    std::uint8_t soundFlag = 0;
    std::uint8_t musicFlag = 0;
    std::uint8_t musicNo = 0;    // 1..5
    std::uint8_t backNo = 0;     // 1..6, 7 = current wall tile
    std::uint8_t figureNo = 0;   // 1..6
    std::uint8_t reserved10 = 0; // kept as read
    std::uint8_t reserved11 = 0;
    std::uint8_t customWall = 0;
    std::uint8_t customFloor = 0;
    std::uint8_t customBox = 0;
    std::uint8_t stepDemo = 0;
    std::uint8_t fixedSize = 0;
    std::uint8_t hideToolbar = 0;
    std::uint8_t hideCaptions = 0;
    std::uint8_t hideStatusbar = 0;
    std::uint8_t randomFace = 0;
    std::uint8_t randomCombo = 0;
    std::uint8_t noPassInfo = 0;
    std::array<std::uint8_t, 9> reserved23{};
    std::int16_t windowWidth = 0;
    std::int16_t windowHeight = 0;

    Bytes encode() const;
    // Takes as many bytes as are given (up to 36); missing bytes read as 0.
    static TGameVar decode(std::span<const std::uint8_t> bytes);
    bool operator==(const TGameVar&) const = default;
};

// Little-endian helpers shared by the record codecs.
inline std::int16_t readI16(const std::uint8_t* p) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
}
inline void writeI16(std::uint8_t* p, std::int16_t v) {
    auto u = static_cast<std::uint16_t>(v);
    p[0] = static_cast<std::uint8_t>(u & 0xff);
    p[1] = static_cast<std::uint8_t>(u >> 8);
}

} // namespace sokoban

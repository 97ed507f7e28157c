#include "records.h"

#include <algorithm>
#include <cassert>

namespace sokoban {

Bytes TMazeData::encode() const {
    Bytes b(kSize);
    writeI16(b.data(), man);
    std::copy(cells.begin(), cells.end(), b.begin() + 2);
    return b;
}

TMazeData TMazeData::decode(std::span<const std::uint8_t> bytes) {
    assert(bytes.size() >= kSize);
    TMazeData m;
    m.man = readI16(bytes.data());
    std::copy_n(bytes.begin() + 2, kCells, m.cells.begin());
    return m;
}

Bytes TSaveData::encode() const {
    Bytes b(kSize);
    writeI16(b.data(), level);
    writeI16(b.data() + 2, moves);
    writeI16(b.data() + 4, pushes);
    writeI16(b.data() + 6, man);
    std::copy(cells.begin(), cells.end(), b.begin() + 8);
    return b;
}

TSaveData TSaveData::decode(std::span<const std::uint8_t> bytes) {
    assert(bytes.size() >= kSize);
    TSaveData s;
    s.level = readI16(bytes.data());
    s.moves = readI16(bytes.data() + 2);
    s.pushes = readI16(bytes.data() + 4);
    s.man = readI16(bytes.data() + 6);
    std::copy_n(bytes.begin() + 8, kCells, s.cells.begin());
    return s;
}

Bytes TBestData::encode() const {
    Bytes b(kSize);
    writeI16(b.data(), moves);
    writeI16(b.data() + 2, pushes);
    return b;
}

TBestData TBestData::decode(std::span<const std::uint8_t> bytes) {
    assert(bytes.size() >= kSize);
    return TBestData{readI16(bytes.data()), readI16(bytes.data() + 2)};
}

namespace {
// The first move of each byte sits in bits 4-5, then 6-7, 0-1, 2-3.
constexpr int kShift[4] = {4, 6, 0, 2};
} // namespace

int TAnswerData::moveAt(int i) const {
    return (packed[static_cast<std::size_t>(i / 4)] >> kShift[i % 4]) & 3;
}

void TAnswerData::setMove(int i, int code) {
    auto& byte = packed[static_cast<std::size_t>(i / 4)];
    const int shift = kShift[i % 4];
    byte = static_cast<std::uint8_t>((byte & ~(3 << shift)) | ((code & 3) << shift));
}

Bytes TAnswerData::encode() const {
    Bytes b(kSize);
    writeI16(b.data(), level);
    writeI16(b.data() + 2, moves);
    b[4] = spare;
    std::copy(packed.begin(), packed.end(), b.begin() + 5);
    return b;
}

TAnswerData TAnswerData::decode(std::span<const std::uint8_t> bytes) {
    assert(bytes.size() >= kSize);
    TAnswerData a;
    a.level = readI16(bytes.data());
    a.moves = readI16(bytes.data() + 2);
    a.spare = bytes[4];
    std::copy_n(bytes.begin() + 5, a.packed.size(), a.packed.begin());
    return a;
}

Bytes TGameVar::encode() const {
    Bytes b(kSize, 0);
    const std::uint8_t head[23] = {
        levelSet,     faceStyle,     backStyle,  moveSpeed,   demoSpeed,  soundFlag,
        musicFlag,    musicNo,       backNo,     figureNo,    reserved10, reserved11,
        customWall,   customFloor,   customBox,  stepDemo,    fixedSize,  hideToolbar,
        hideCaptions, hideStatusbar, randomFace, randomCombo, noPassInfo};
    std::copy(std::begin(head), std::end(head), b.begin());
    std::copy(reserved23.begin(), reserved23.end(), b.begin() + 23);
    writeI16(b.data() + 32, windowWidth);
    writeI16(b.data() + 34, windowHeight);
    return b;
}

TGameVar TGameVar::decode(std::span<const std::uint8_t> bytes) {
    std::uint8_t b[kSize] = {};
    std::copy_n(bytes.begin(), std::min(bytes.size(), kSize), b);
    TGameVar v;
    std::uint8_t* head[23] = {&v.levelSet,   &v.faceStyle,   &v.backStyle,    &v.moveSpeed,
                              &v.demoSpeed,  &v.soundFlag,   &v.musicFlag,    &v.musicNo,
                              &v.backNo,     &v.figureNo,    &v.reserved10,   &v.reserved11,
                              &v.customWall, &v.customFloor, &v.customBox,    &v.stepDemo,
                              &v.fixedSize,  &v.hideToolbar, &v.hideCaptions, &v.hideStatusbar,
                              &v.randomFace, &v.randomCombo, &v.noPassInfo};
    for (int i = 0; i < 23; ++i)
        *head[i] = b[i];
    std::copy_n(b + 23, 9, v.reserved23.begin());
    v.windowWidth = readI16(b + 32);
    v.windowHeight = readI16(b + 34);
    return v;
}

} // namespace sokoban

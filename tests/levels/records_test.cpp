// Byte layouts of the level records. The sizes and offsets are the file
// formats: any change here breaks every level set and companion file.
#include "storage/records.h"

#include <gtest/gtest.h>

using namespace sokoban;

TEST(Records, SizesArePinned) {
    EXPECT_EQ(TMazeData{}.encode().size(), 750u);
    EXPECT_EQ(TSaveData{}.encode().size(), 756u);
    EXPECT_EQ(TBestData{}.encode().size(), 4u);
    EXPECT_EQ(TAnswerData{}.encode().size(), 1029u);
    EXPECT_EQ(TGameVar{}.encode().size(), 36u);
}

TEST(Records, FieldOffsets) {
    // 16-bit fields are signed and little-endian.
    const Bytes best = {0x34, 0x12, 0x00, 0x80};
    EXPECT_EQ((TBestData{0x1234, -32768}).encode(), best);
    EXPECT_EQ(TBestData::decode(best), (TBestData{0x1234, -32768}));

    TMazeData maze;
    maze.man = 0x0102;
    maze.cells[1 * kCols + 0] = kWall;          // row 1, column 0
    maze.cells[21 * kCols + 33] = kBoxOnTarget; // last cell
    Bytes mazeBytes(750, 0);
    mazeBytes[0] = 0x02, mazeBytes[1] = 0x01, mazeBytes[2 + 34] = 1, mazeBytes[749] = 5;
    EXPECT_EQ(maze.encode(), mazeBytes);
    EXPECT_EQ(TMazeData::decode(mazeBytes), maze);

    TSaveData save{0x0102, 0x0304, 0x0506, -300, {}};
    save.cells[0] = kTarget;
    save.cells[747] = kBox;
    Bytes saveBytes(756, 0);
    const std::uint8_t saveHead[] = {0x02, 0x01, 0x04, 0x03, 0x06, 0x05, 0xd4, 0xfe, 3};
    std::copy(std::begin(saveHead), std::end(saveHead), saveBytes.begin());
    saveBytes[755] = 4;
    EXPECT_EQ(save.encode(), saveBytes);
    EXPECT_EQ(TSaveData::decode(saveBytes), save);

    TAnswerData answer{0x0102, 0x0304, 0x99, {}};
    answer.packed[0] = 0xaa;
    answer.packed[1023] = 0x55;
    Bytes answerBytes(1029, 0);
    const std::uint8_t answerHead[] = {0x02, 0x01, 0x04, 0x03, 0x99, 0xaa};
    std::copy(std::begin(answerHead), std::end(answerHead), answerBytes.begin());
    answerBytes[1028] = 0x55;
    EXPECT_EQ(answer.encode(), answerBytes);
    EXPECT_EQ(TAnswerData::decode(answerBytes), answer);
}

TEST(Records, GameVarFieldOffsets) {
    TGameVar v;
    std::uint8_t TGameVar::*const bytes[] = {
        &TGameVar::levelSet,     &TGameVar::faceStyle,     &TGameVar::backStyle,
        &TGameVar::moveSpeed,    &TGameVar::demoSpeed,     &TGameVar::soundFlag,
        &TGameVar::musicFlag,    &TGameVar::musicNo,       &TGameVar::backNo,
        &TGameVar::figureNo,     &TGameVar::reserved10,    &TGameVar::reserved11,
        &TGameVar::customWall,   &TGameVar::customFloor,   &TGameVar::customBox,
        &TGameVar::stepDemo,     &TGameVar::fixedSize,     &TGameVar::hideToolbar,
        &TGameVar::hideCaptions, &TGameVar::hideStatusbar, &TGameVar::randomFace,
        &TGameVar::randomCombo,  &TGameVar::noPassInfo}; // offsets 0..22 in this order
    Bytes expected(36);
    for (std::size_t i = 0; i < std::size(bytes); ++i)
        v.*bytes[i] = expected[i] = 0x40 + i;
    for (std::size_t i = 0; i < 9; ++i)
        v.reserved23[i] = expected[23 + i] = 0x80 + i;
    v.windowWidth = 1920; // 0x0780
    v.windowHeight = -2;
    expected[32] = 0x80, expected[33] = 0x07, expected[34] = 0xfe, expected[35] = 0xff;
    EXPECT_EQ(v.encode(), expected);
    EXPECT_EQ(TGameVar::decode(expected), v);
}

TEST(Records, AnswerPacking) {
    // right, down, left, up: the first move in bits 4-5, then 6-7, 0-1, 2-3.
    TAnswerData a;
    const int moves[] = {3, 1, 2, 0};
    for (int i = 0; i < 4; ++i)
        a.setMove(i, moves[i]);
    EXPECT_EQ(a.packed[0], 0x72);
    EXPECT_EQ(a.encode()[5], 0x72);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(TAnswerData::decode(a.encode()).moveAt(i), moves[i]);
    // The last of 4096 moves sits in bits 2-3 of the record's last byte.
    a.setMove(4095, 2);
    EXPECT_EQ(a.encode()[1028], 0x08);

    // Setting one position changes only its two bits, whatever surrounds it.
    for (std::uint8_t background : {0x00, 0xff, 0x72})
        for (int pos = 0; pos < 4; ++pos)
            for (int code = 0; code < 4; ++code) {
                TAnswerData b;
                b.packed.fill(background);
                const TAnswerData before = b;
                b.setMove(4 + pos, code);
                for (int i = 0; i < 12; ++i)
                    EXPECT_EQ(b.moveAt(i), i == 4 + pos ? code : before.moveAt(i)) << i;
            }
}

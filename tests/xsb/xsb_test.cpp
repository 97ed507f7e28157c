#include "../game/test_support.h"
#include "../test_files.h"
#include "storage/xsb.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace sokoban::testing {
namespace {

// Cell codes of n cells of a row, as digits.
std::string codes(const TMazeData& m, int row, int col, int n) {
    std::string s;
    for (int k = 0; k < n; ++k)
        s += char('0' + m.cells[row * kCols + col + k]);
    return s;
}

const std::vector<std::string> kSmall = {"#####", "#@$.#", "#####"};

TEST(XsbReader, CentresTranslatesAndPlacesTheWorker) {
    const XsbResult r = parseXsb(join(kSmall));
    ASSERT_EQ(r.status, XsbStatus::Ok);
    EXPECT_EQ(codes(r.maze, 9, 14, 5), "11111");
    EXPECT_EQ(codes(r.maze, 10, 14, 5), "12431");
    EXPECT_EQ(codes(r.maze, 11, 14, 5), "11111");
    EXPECT_EQ(codes(r.maze, 10, 13, 1) + codes(r.maze, 10, 19, 1), "00");
    EXPECT_EQ(r.maze.man, 355);
}

TEST(XsbReader, EveryLineEndAndChunkingGivesTheSameLevel) {
    const TMazeData expected = parseXsb(join(kSmall)).maze;
    for (const std::string end : {"\r\n", "\r", "\n\n", "\r\n\r\n"}) {
        EXPECT_EQ(parseXsb(join(kSmall, end)).maze, expected) << end.size();
        std::string text = join(kSmall, end);
        text.resize(text.size() - end.size()); // no line end after the last row
        EXPECT_EQ(parseXsb(text).maze, expected);
    }
    XsbScanner byByte; // a row split across any number of pieces
    for (char c : join(kSmall, "\r\n"))
        byByte.feed(std::string_view(&c, 1));
    EXPECT_EQ(byByte.finish().maze, expected);
}

TEST(XsbReader, OtherLinesAreSkippedAndTheBlocksJoined) {
    const std::string text = "Title: a small one\n#####\n\n; comment\n\t#@$.#\n#-#\n##_##\n"
                             "#@$.#\n\xe5\x85\xb3#\n#####\n\x01\x02\xff\n";
    const XsbResult r = parseXsb(text);
    ASSERT_EQ(r.status, XsbStatus::Ok);
    EXPECT_EQ(r.maze, parseXsb(join(kSmall)).maze);
}

TEST(XsbReader, FloorWithAStraightRunToTheEdgeIsOutside) {
    // Leading blanks, a gap open to the top and the corners of the last row
    // are outside; floor closed in on all four straight lines stays floor.
    const XsbResult r =
        parseXsb(join({"  #### #", "  #  ###", "#### @.#", "#  $   #", " ###### "}));
    ASSERT_EQ(r.status, XsbStatus::Ok);
    const int top = 8, left = 13;
    EXPECT_EQ(codes(r.maze, top + 0, left, 8), "00111101");
    EXPECT_EQ(codes(r.maze, top + 1, left, 8), "00122111");
    EXPECT_EQ(codes(r.maze, top + 2, left, 8), "11112231");
    EXPECT_EQ(codes(r.maze, top + 3, left, 8), "12242221");
    EXPECT_EQ(codes(r.maze, top + 4, left, 8), "01111110");
}

TEST(XsbReader, SizeLimits) {
    const std::string row34(34, '#'), row35(35, '#');
    struct Case {
        std::string text;
        XsbStatus status;
    } cases[] = {
        {join(std::vector<std::string>(22, row34)), XsbStatus::Ok},
        {join(std::vector<std::string>(23, "#")), XsbStatus::TooBig},
        {join({"#", row35}), XsbStatus::TooBig},
        {join({"#", row35 + "\t"}), XsbStatus::Ok}, // not a row at all
        {join({"#", std::string(3'000'000, ' ') + "x"}), XsbStatus::Ok},
        {join(std::vector<std::string>(12, join(kSmall))), XsbStatus::TooBig}, // 36 rows
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseXsb(c.text).status, c.status);
    const TMazeData full = parseXsb(join(std::vector<std::string>(22, row34))).maze;
    EXPECT_TRUE(std::all_of(full.cells.begin(), full.cells.end(), [](auto v) { return v == 1; }));
}

TEST(XsbReader, Workers) {
    struct Case {
        std::vector<std::string> rows;
        int manRow, manCol; // in the text
    } cases[] = {
        {{"#####", "#@ @#", "#####"}, 1, 3}, // the later one stands
        {{"#####", "# $.#", "#####"}, 0, 0}, // none: top-left of the text
        {{"#####", "#+$ #", "#####"}, 1, 1},
        {{}, 0, 0}, // no rows: the middle of the grid
    };
    for (const auto& c : cases) {
        const XsbResult r = parseXsb(join(c.rows) + "no rows here\n");
        const int rowOffset = (22 - int(c.rows.size())) / 2;
        const int colOffset = c.rows.empty() ? 17 : 14;
        EXPECT_EQ(r.maze.man, (c.manRow + rowOffset) * kCols + c.manCol + colOffset);
    }
    EXPECT_EQ(codes(parseXsb(join({"#####", "#@ @#", "#####"})).maze, 10, 14, 5), "12221");
}

TEST(XsbReader, Files) {
    TempDir dir;
    std::ofstream(dir.path / "small.xsb", std::ios::binary) << join(kSmall, "\r\n");
    std::ofstream bin(dir.path / "binary.xsb", std::ios::binary);
    for (int i = 0; i < 1 << 20; ++i)
        bin.put(char(unsigned(i) * 7919u % 251u));
    bin.close();
    EXPECT_EQ(readXsb(dir.path / "small.xsb").maze, parseXsb(join(kSmall)).maze);
    EXPECT_EQ(readXsb(dir.path / "none.xsb").status, XsbStatus::Missing);
    EXPECT_EQ(readXsb(dir.path).status, XsbStatus::ReadError);
    EXPECT_NE(readXsb(dir.path / "binary.xsb").status, XsbStatus::ReadError);
}

TEST(XsbWriter, WritesTheBoundingRectangleWithCrLf) {
    for (auto [row, col] : {std::pair{0, 0}, std::pair{5, 9}, std::pair{19, 29}})
        EXPECT_EQ(writeXsb(makeLevel(kSmall, row, col)), "#####\r\n#@$.#\r\n#####\r\n");
    EXPECT_EQ(writeXsb(makeLevel({"####", "#+*#", "####"}, 2, 2)), "####\r\n#+*#\r\n####\r\n");
    EXPECT_EQ(writeXsb(TMazeData{}), " \r\n");
    TMazeData odd = makeLevel(kSmall);
    odd.cells[kCols + 3] = 9; // not a cell code: left out
    EXPECT_EQ(writeXsb(odd), "#####\r\n#@$#\r\n#####\r\n");
}

TEST(XsbWriter, RoundTripKeepsTheLevelButFillsNotches) {
    EXPECT_EQ(parseXsb(writeXsb(makeLevel(kSmall, 17, 3))).maze, parseXsb(join(kSmall)).maze);
    // An outside notch shut in on all four straight lines comes back as floor.
    TMazeData notch = makeLevel({"#######", "#@ $ .#", "## # ##", "#  #  #", "#######"}, 4, 4);
    notch.cells[(4 + 3) * kCols + 4 + 1] = kOutside;
    const std::string text = writeXsb(notch);
    EXPECT_EQ(text, "#######\r\n#@ $ .#\r\n## # ##\r\n#  #  #\r\n#######\r\n");
    const TMazeData back = parseXsb(text).maze;
    EXPECT_EQ(codes(back, 11, 13, 7), "1221221");
}

TEST(XsbWriter, ProposedNames) {
    EXPECT_EQ(xsbFileName("/d/game", 7), "/d/game0007.xsb");
    EXPECT_EQ(xsbFileName("/d/game", 42), "/d/game0042.xsb");
    EXPECT_EQ(xsbFileName("/d/game", 999), "/d/game0999.xsb");
    EXPECT_EQ(xsbFileName("/d/game", 1000), "/d/game1000.xsb");
    EXPECT_EQ(xsbFileName("/d/game", 12345), "/d/game12345.xsb");
}

} // namespace
} // namespace sokoban::testing

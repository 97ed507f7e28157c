// Reading levels: XSB text, level records, and what is refused and why.
#include "solver/level.h"

#include <gtest/gtest.h>

#include <sstream>

namespace sokoban::solver {
namespace {

TEST(SolverLevel, ReadsXsbSquaresAndWorker) {
    LevelOrError lv = levelFromXsb({"#######", "#@$.*+#", "#-_   #", "#######"});
    // Two workers: refused. With one worker the codes come out as the game's.
    EXPECT_FALSE(lv.ok());
    lv = levelFromXsb({"######", "#@$.*#", "#-_  #", "######"});
    ASSERT_TRUE(lv.ok()) << lv.error;
    EXPECT_EQ(lv.level.rows, 4);
    EXPECT_EQ(lv.level.cols, 6);
    EXPECT_EQ(lv.level.man, 1 * 6 + 1);
    const std::uint8_t row1[] = {kWall, kFloor, kBox, kTarget, kBoxOnTarget, kWall};
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(lv.level.cells[6 + c], row1[c]) << c;
    EXPECT_EQ(lv.level.cells[2 * 6 + 1], kFloor);
    EXPECT_EQ(lv.level.cells[2 * 6 + 2], kFloor);
    EXPECT_EQ(levelToXsb(lv.level),
              (std::vector<std::string>{"######", "#@$.*#", "#    #", "######"}));
}

TEST(SolverLevel, RefusesBrokenXsbWithAReason) {
    struct Case {
        std::vector<std::string> rows;
        std::string reason;
    } cases[] = {
        {{"#####", "# $.#", "#####"}, "no worker"},
        {{"#####", "#@$.#", "#@$.#", "#####"}, "2 workers"},
        {{"#####", "#@$. ", "#####"}, "open edge"},
        {{"#####", "#@$.#", "## ##"}, "open edge"},
        {{"  ###", "  #@#", "###.###", "#  $  #", "#######"}, ""},
        {{"  ###", "  #@ ", "###.###", "#  $  #", "#######"}, "open edge"},
        {{std::string(65, '#'), "#@$.#"}, "larger than 64 x 64"},
        {std::vector<std::string>(65, "#@$.#"), "larger than 64 x 64"},
    };
    for (const auto& c : cases) {
        LevelOrError lv = levelFromXsb(c.rows);
        if (c.reason.empty()) {
            EXPECT_TRUE(lv.ok()) << lv.error;
        } else {
            EXPECT_NE(lv.error.find(c.reason), std::string::npos)
                << c.rows[1] << " gave \"" << lv.error << "\"";
        }
    }
}

TEST(SolverLevel, ReadsLevelRecords) {
    TMazeData maze;
    maze.cells.fill(kOutside);
    for (int c = 0; c < 5; ++c)
        maze.cells[c] = maze.cells[2 * kCols + c] = kWall;
    maze.cells[kCols] = maze.cells[kCols + 4] = kWall;
    maze.cells[kCols + 1] = kFloor;
    maze.cells[kCols + 2] = kBox;
    maze.cells[kCols + 3] = kTarget;
    maze.man = kCols + 1;
    LevelOrError lv = levelFromMaze(maze);
    ASSERT_TRUE(lv.ok()) << lv.error;
    EXPECT_EQ(lv.level.rows, kRows);
    EXPECT_EQ(lv.level.cols, kCols);
    EXPECT_EQ(lv.level.man, kCols + 1);

    struct Bad {
        std::int16_t man;
        int cell;
        std::uint8_t code;
        std::string reason;
    } bad[] = {
        {-1, 0, kWall, "no worker"},
        {kCells, 0, kWall, "no worker"},
        {0, 0, kWall, "no worker"},         // worker on a wall
        {kCols + 2, 0, kWall, "no worker"}, // worker on a box
        {kCols + 1, kCols + 3, 9, "unknown cell code"},
    };
    for (const auto& b : bad) {
        TMazeData m = maze;
        m.man = b.man;
        m.cells[b.cell] = b.code;
        LevelOrError r = levelFromMaze(m);
        EXPECT_NE(r.error.find(b.reason), std::string::npos) << b.man << ": " << r.error;
    }
}

TEST(SolverLevel, SplitsTextIntoLevels) {
    std::string text = "Title\n"
                       "#####\r\n"
                       "#@$.#\n"
                       "#####\n"
                       "; comment\n"
                       "  ###\n"
                       "###\n"
                       "\n"
                       "a line with # but letters\n" +
                       std::string(1'000'000, '#') + "\n" +
                       "\x01\x02#\xff\n"
                       "#\n";
    std::istringstream in(text);
    auto levels = splitTextLevels(in);
    ASSERT_EQ(levels.size(), 4u);
    EXPECT_EQ(levels[0].rows, (std::vector<std::string>{"#####", "#@$.#", "#####"}));
    EXPECT_EQ(levels[0].firstLine, 2);
    EXPECT_EQ(levels[1].rows, (std::vector<std::string>{"  ###", "###"}));
    EXPECT_EQ(levels[1].firstLine, 6);
    EXPECT_TRUE(levels[2].tooWide);
    EXPECT_LE(levels[2].rows[0].size(), 66u); // the long line is not kept whole
    EXPECT_EQ(levels[3].rows, (std::vector<std::string>{"#"}));
    EXPECT_FALSE(levelFromXsb(levels[3].rows).ok());

    std::istringstream tall(std::string(100'000, '#').insert(0, "") + "\n" + [] {
        std::string s;
        for (int i = 0; i < 100; ++i)
            s += "#@#\n";
        return s;
    }());
    auto many = splitTextLevels(tall);
    ASSERT_EQ(many.size(), 1u);
    EXPECT_TRUE(many[0].tooWide);
    EXPECT_TRUE(many[0].tooTall);
    EXPECT_LE(many[0].rows.size(), 65u);
}

} // namespace
} // namespace sokoban::solver

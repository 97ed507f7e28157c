// The command-line tool as a user runs it: output lines, messages, exit codes.
#include "storage/records.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;

struct ToolRun {
    int exitCode = -1;
    std::string out, err;
};

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class SolveTool : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("solver_cli_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path write(const std::string& name, const std::string& bytes) {
        fs::path p = dir_ / name;
        std::ofstream(p, std::ios::binary) << bytes;
        return p;
    }
    ToolRun run(const std::string& args) {
        ToolRun r;
        std::string cmd = std::string(SOKOBAN_SOLVE) + " " + args + " >" + (dir_ / "out").string() +
                          " 2>" + (dir_ / "err").string();
        int status = std::system(cmd.c_str());
        r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        r.out = slurp(dir_ / "out");
        r.err = slurp(dir_ / "err");
        return r;
    }
    fs::path dir_;
};

TEST_F(SolveTool, PrintsOneLinePerLevelInFileOrder) {
    fs::path f = write("levels.txt", "Title line\n"
                                     "#####\n#@$.#\n#####\n"
                                     "\n"
                                     "######\n#$  .#\n#  @ #\n######\n"
                                     "; next\n"
                                     "#####\n#@  #\n# $ #\n# . #\n#####\n");
    ToolRun r = run("--time-limit 5 " + f.string());
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::regex line(
        "(\\d+)\\t(solved|unsolvable)\\t(\\d+)\\t(\\d+)\\t\\d+\\.\\d{3}\\t([udlrUDLR]*)");
    std::istringstream in(r.out);
    std::string text;
    std::vector<std::string> got;
    while (std::getline(in, text))
        got.push_back(text);
    ASSERT_EQ(got.size(), 3u) << r.out;
    const char* expect[][5] = {
        {"1", "solved", "1", "1", "R"},
        {"2", "unsolvable", "0", "0", ""},
        {"3", "solved", "2", "1", "rD"},
    };
    for (int i = 0; i < 3; ++i) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(got[i], m, line)) << got[i];
        EXPECT_EQ(m[1], expect[i][0]);
        EXPECT_EQ(m[2], expect[i][1]);
        EXPECT_EQ(m[3], expect[i][2]);
        EXPECT_EQ(m[4], expect[i][3]);
        EXPECT_EQ(m[5], expect[i][4]);
    }
}

// Level text is read as the game reads it: run lengths, rows split by "|",
// "-" and "_" for floor, titles, floor open to the edge lying outside, the
// later of two workers.
TEST_F(SolveTool, ReadsCollectionsAsTheGamePlaysThem) {
    fs::path f = write("collection.txt", "Title: run lengths\r\n"
                                         "5#\r\n#@$.#\r\n5#\r\n"
                                         "\r\n"
                                         "Title: bars and dashes\r\n"
                                         "6#|#@-$.#|6#\r\n"
                                         "\r\n"
                                         "Title: an open edge\r\n"
                                         "#####\r\n#@$. \r\n#####\r\n"
                                         "\r\n"
                                         "Title: two workers\r\n"
                                         "######\r\n#@ @$.#\r\n#######\r\n");
    ToolRun r = run("--time-limit 5 " + f.string());
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    std::regex line("(\\d+)\\tsolved\\t(\\d+)\\t1\\t\\d+\\.\\d{3}\\t([udlrUDLR]*)");
    std::istringstream in(r.out);
    const char* expect[][2] = {{"1", "R"}, {"2", "rR"}, {"3", "R"}, {"4", "R"}};
    std::string text;
    for (const auto& e : expect) {
        ASSERT_TRUE(std::getline(in, text)) << r.out;
        std::smatch m;
        ASSERT_TRUE(std::regex_match(text, m, line)) << text;
        EXPECT_EQ(m[1], e[0]);
        EXPECT_EQ(m[3], e[1]) << text;
    }
}

TEST_F(SolveTool, ReadsLevelSetRecords) {
    sokoban::TMazeData maze;
    maze.cells.fill(sokoban::kOutside);
    for (int c = 0; c < 5; ++c)
        maze.cells[c] = maze.cells[2 * sokoban::kCols + c] = sokoban::kWall;
    maze.cells[sokoban::kCols] = maze.cells[sokoban::kCols + 4] = sokoban::kWall;
    maze.cells[sokoban::kCols + 1] = sokoban::kFloor;
    maze.cells[sokoban::kCols + 2] = sokoban::kBox;
    maze.cells[sokoban::kCols + 3] = sokoban::kTarget;
    maze.man = sokoban::kCols + 1;
    sokoban::Bytes good = maze.encode();
    maze.man = -5;
    sokoban::Bytes bad = maze.encode();
    std::string bytes(good.begin(), good.end());
    bytes.append(bad.begin(), bad.end());
    bytes.append(good.begin(), good.end());
    ToolRun r = run(write("set.BOX", bytes).string());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.starts_with("1\tsolved\t1\t1\t")) << r.out;
    EXPECT_NE(r.out.find("\n3\tsolved\t1\t1\t"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("\n2\t"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("level 2"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("no worker"), std::string::npos) << r.err;
}

TEST_F(SolveTool, BadInputGetsAMessageNotACrash) {
    std::string binary;
    for (int i = 0; i < 200000; ++i)
        binary += static_cast<char>((i * 7919 + i / 13) & 0xff);
    struct Case {
        std::string name, bytes, args;
        int exitCode;
        std::string err;
    } cases[] = {
        {"none.txt", "", "", 2, "holds no levels"},
        {"short.box", std::string(749, '\0'), "", 2, "not a level set"},
        {"empty.box", "", "", 2, "not a level set"},
        {"binary.dat", binary, "", -2, ""},
        {"long.txt", std::string(1'000'000, '#') + "\n#@$.#\n", "", 1, "larger than 64 x 64"},
        {"noworker.txt", "#####\n# $.#\n#####\n", "", 1,
         "level 1 could not be read: no worker (line 1)"},
        {"ok.txt", "#####\n#@$.#\n#####\n", "--time-limit", 2, "usage"},
        {"ok2.txt", "#####\n#@$.#\n#####\n", "--memory-limit -3", 2, "usage"},
    };
    for (const auto& c : cases) {
        fs::path f = write(c.name, c.bytes);
        ToolRun r = run(c.args + " " + f.string());
        if (c.exitCode == -2) {
            EXPECT_TRUE(r.exitCode == 1 || r.exitCode == 2) << c.name << " " << r.exitCode;
        } else {
            EXPECT_EQ(r.exitCode, c.exitCode) << c.name << ": " << r.err;
        }
        EXPECT_NE(r.err.find(c.err), std::string::npos) << c.name << ": " << r.err;
    }
    ToolRun missing = run((dir_ / "missing.txt").string());
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.err.find("cannot open"), std::string::npos);
}

} // namespace

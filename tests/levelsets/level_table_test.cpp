// level_table --sort on a small set of its own: levels in score order behind
// the lessons kept in place, headings renumbered, solutions moved along.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string readAll(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeAll(const fs::path& path, const std::string& text) {
    std::ofstream(path) << text;
}

// A corridor level needing `pushes` pushes, and its solution.
std::string corridor(int pushes) {
    const std::string wall(static_cast<std::size_t>(pushes) + 4, '#');
    return wall + "\n#@$" + std::string(static_cast<std::size_t>(pushes) - 1, ' ') + ".#\n" + wall +
           "\n";
}

TEST(LevelTable, SortPutsLevelsInScoreOrderBehindTheKeptLessons) {
    const fs::path dir =
        fs::temp_directory_path() / ("level_table_test_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    writeAll(dir / "normal.txt", "; 1\n" + corridor(9) + "; 2 long\n" + corridor(7) + "; 3\n" +
                                     corridor(3) + ";4\n" + corridor(5));
    fs::create_directories(dir / "solutions");
    writeAll(dir / "solutions" / "normal.txt", "RRRRRRRRR\nRRRRRRR\nRRR\nRRRRR\n");

    const std::string command = std::string(LEVEL_TABLE) + " --sort normal --keep 1 --texts " +
                                dir.string() + " --solutions " + (dir / "solutions").string() +
                                " > " + (dir / "out.txt").string();
    ASSERT_EQ(std::system(command.c_str()), 0) << readAll(dir / "out.txt");

    EXPECT_EQ(readAll(dir / "normal.txt"), "; 1\n" + corridor(9) + "; 2\n" + corridor(3) + "; 3\n" +
                                               corridor(5) + "; 4 long\n" + corridor(7));
    EXPECT_EQ(readAll(dir / "solutions" / "normal.txt"), "RRRRRRRRR\nRRR\nRRRRR\nRRRRRRR\n");
    fs::remove_all(dir);
}

// The levels the player with no look-ahead solves come first, whatever
// their score: a long corridor before a short level where a box must be
// parked first.
TEST(LevelTable, SortPutsWhatTheNoLookAheadPlayerSolvesFirst) {
    const fs::path dir =
        fs::temp_directory_path() / ("level_table_test_nla_" + std::to_string(::getpid()));
    fs::create_directories(dir / "solutions");
    const std::string parking = "#######\n###.###\n###.###\n#  $  #\n#  $ @#\n#     #\n#######\n";
    writeAll(dir / "normal.txt", "; 1\n" + parking + "; 2\n" + corridor(30));
    writeAll(dir / "solutions" / "normal.txt", "dllluRUUdrrdLdlUU\n" + std::string(30, 'R') + "\n");

    const std::string command = std::string(LEVEL_TABLE) + " --sort normal --texts " +
                                dir.string() + " --solutions " + (dir / "solutions").string() +
                                " > " + (dir / "out.txt").string();
    ASSERT_EQ(std::system(command.c_str()), 0) << readAll(dir / "out.txt");
    EXPECT_EQ(readAll(dir / "normal.txt"), "; 1\n" + corridor(30) + "; 2\n" + parking);
    fs::remove_all(dir);
}

// The share of the floor a stored solution never enters, per level and as
// the set's spread: none of a corridor, half of a room whose top row the
// worker never walks.
TEST(LevelTable, UnusedFloorPerLevelAndPerSet) {
    const fs::path dir =
        fs::temp_directory_path() / ("level_table_test_unused_" + std::to_string(::getpid()));
    fs::create_directories(dir / "solutions");
    for (const char* set : {"easy", "game", "veryhard", "impossible"}) {
        writeAll(dir / (std::string(set) + ".txt"), "");
        writeAll(dir / "solutions" / (std::string(set) + ".txt"), "");
    }
    writeAll(dir / "normal.txt",
             "; 1\n" + corridor(3) + "; 2\n#######\n#     #\n#@$  .#\n#######\n");
    writeAll(dir / "solutions" / "normal.txt", "RRR\nRRR\n");

    const std::string command = std::string(LEVEL_TABLE) + " --quick --set normal --texts " +
                                dir.string() + " --solutions " + (dir / "solutions").string() +
                                " > " + (dir / "out.txt").string();
    ASSERT_EQ(std::system(command.c_str()), 0) << readAll(dir / "out.txt");
    std::istringstream out(readAll(dir / "out.txt"));
    std::vector<std::string> unused;
    std::string line, summary;
    while (std::getline(out, line)) {
        if (line.rfind("normal ", 0) == 0) unused.push_back(line.substr(line.rfind(' ') + 1));
        if (line.find("unused floor") != std::string::npos) summary = line;
    }
    EXPECT_EQ(unused, (std::vector<std::string>{"0%", "50%"}));
    EXPECT_NE(summary.find("unused floor % 0..50 median 25.0"), std::string::npos) << summary;
    fs::remove_all(dir);
}

// One rebuilt set measured alone takes its own lines' places in the table;
// the other sets' lines stay as they were.
TEST(LevelTable, UpdateReplacesOneSetOnly) {
    const fs::path dir =
        fs::temp_directory_path() / ("level_table_test_update_" + std::to_string(::getpid()));
    fs::create_directories(dir / "solutions");
    for (const char* set : {"game", "veryhard", "impossible"}) {
        writeAll(dir / (std::string(set) + ".txt"), "");
        writeAll(dir / "solutions" / (std::string(set) + ".txt"), "");
    }
    writeAll(dir / "easy.txt", "; 1\n" + corridor(2));
    writeAll(dir / "solutions" / "easy.txt", "RR\n");
    writeAll(dir / "normal.txt", "; 1\n" + corridor(3) + "; 2\n" + corridor(5));
    writeAll(dir / "solutions" / "normal.txt", "RRR\nRRRRR\n");
    const std::string tool = std::string(LEVEL_TABLE) + " --time-limit 5 --probe-limit 1 --texts " +
                             dir.string() + " --solutions " + (dir / "solutions").string() +
                             " -o " + (dir / "table.txt").string();
    ASSERT_EQ(std::system((tool + " > " + (dir / "out.txt").string()).c_str()), 0);
    // The lines without the solver's seconds (three decimals), which vary
    // from run to run.
    const auto lines = [&dir] {
        std::istringstream in(readAll(dir / "table.txt"));
        std::vector<std::string> all;
        static const std::regex seconds("[0-9]+\\.[0-9]{3}");
        for (std::string line; std::getline(in, line);)
            all.push_back(std::regex_replace(line, seconds, "s"));
        return all;
    };
    const std::vector<std::string> before = lines();

    writeAll(dir / "normal.txt", "; 1\n" + corridor(3) + "; 2\n" + corridor(6));
    writeAll(dir / "solutions" / "normal.txt", "RRR\nRRRRRR\n");
    ASSERT_EQ(
        std::system((tool + " --set normal --update > " + (dir / "out.txt").string()).c_str()), 0);
    const std::vector<std::string> after = lines();
    ASSERT_EQ(after.size(), before.size());
    // normal's second level and its closing note change; easy's lines and
    // note stay.
    std::vector<std::string> changed;
    bool inEasyNote = false;
    for (std::size_t i = 0; i < after.size(); ++i) {
        inEasyNote =
            after[i].rfind("easy: ", 0) == 0 || (inEasyNote && after[i].rfind("  ", 0) == 0);
        if (after[i].rfind("easy ", 0) == 0 || inEasyNote) {
            EXPECT_EQ(after[i], before[i]);
        }
        if (after[i] != before[i]) changed.push_back(after[i].substr(0, 14));
    }
    EXPECT_EQ(changed,
              (std::vector<std::string>{"normal       2", "normal: 2 leve", "  floor per bo"}));
    // Without a set, or quick, there is nothing to update.
    EXPECT_NE(std::system((tool + " --update > " + (dir / "out.txt").string() + " 2>&1").c_str()),
              0);
    fs::remove_all(dir);
}

// The human score per level, from what a person meets: a corridor's only
// push is safe and its pushes are the bound, so only its length, its one box
// and floor beyond seven squares count.
TEST(LevelTable, HumanScorePerLevel) {
    const fs::path dir =
        fs::temp_directory_path() / ("level_table_test_human_" + std::to_string(::getpid()));
    fs::create_directories(dir / "solutions");
    for (const char* set : {"easy", "game", "veryhard", "impossible"}) {
        writeAll(dir / (std::string(set) + ".txt"), "");
        writeAll(dir / "solutions" / (std::string(set) + ".txt"), "");
    }
    writeAll(dir / "normal.txt", "; 1\n" + corridor(3) + "; 2\n" + corridor(9));
    writeAll(dir / "solutions" / "normal.txt", "RRR\nRRRRRRRRR\n");
    const std::string command =
        std::string(LEVEL_TABLE) + " --set normal --probe-limit 1 --texts " + dir.string() +
        " --solutions " + (dir / "solutions").string() + " -o " + (dir / "table.txt").string() +
        " > " + (dir / "out.txt").string() + " 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << readAll(dir / "out.txt");
    std::istringstream out(readAll(dir / "table.txt"));
    std::vector<std::string> human;
    std::string line, header, summary;
    while (std::getline(out, line)) {
        std::istringstream fields(line);
        std::vector<std::string> f;
        for (std::string x; fields >> x;)
            f.push_back(x);
        if (!f.empty() && f[0] == "set") header = line;
        if (f.size() > 12 && f[0] == "normal") human.push_back(f[12]);
        if (line.rfind("normal:", 0) == 0) summary = line;
    }
    EXPECT_NE(header.find(" score  human "), std::string::npos) << header;
    // 12 log10(4) + 2 = 9.2; 12 log10(10) + 2 - (11 - 7) / 2 = 12.0.
    EXPECT_EQ(human, (std::vector<std::string>{"9.2", "12.0"}));
    EXPECT_NE(summary.find("human 9.2..12.0 median 10.6"), std::string::npos) << summary;
    fs::remove_all(dir);
}

} // namespace

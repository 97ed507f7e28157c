// solve_levels on small sets of its own: the game's solver writes a line
// that replays for every level it solves, a level it does not solve in time
// keeps a stored line that still solves it, and nothing else is kept.

#include "level_checks.h"
#include "set_text.h"
#include "tool_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
namespace lc = sokoban::levelcheck;
namespace st = sokoban::settext;
using sokoban::testing::linesOf;
using sokoban::testing::readAll;

class SolveLevels : public sokoban::testing::ToolFolder {
  protected:
    using ToolFolder::run;
    int run(const std::string& arguments) { return run(SOLVE_LEVELS, arguments); }
};

// Corridors any solver finishes at once.
const char* const kEasySet = "; 1\n"
                             "#######\n"
                             "#@$  .#\n"
                             "#######\n"
                             "; 2\n"
                             "########\n"
                             "#. $ @ #\n"
                             "#  $  .#\n"
                             "########\n";

TEST_F(SolveLevels, EveryLineTheSolverWritesReplays) {
    std::ofstream(dir_ / "set.txt") << kEasySet;
    // A stored line that no longer solves its level is no reason to keep it.
    std::ofstream(dir_ / "sol.txt") << "LL\nRRRR\n";
    ASSERT_EQ(run("set.txt -o sol.txt"), 0) << err();
    const auto levels = st::readSetFile(dir_ / "set.txt");
    const auto lines = linesOf(readAll(dir_ / "sol.txt"));
    ASSERT_EQ(lines.size(), levels.size());
    for (std::size_t i = 0; i < levels.size(); ++i)
        EXPECT_TRUE(lc::replay(levels[i].board, lines[i]).solved) << i + 1 << ": " << lines[i];
    EXPECT_NE(err().find("2 level(s)"), std::string::npos) << err();

    // Without -o the lines go to standard output; with -l only that level is
    // solved and the other line stays as stored, whatever it holds.
    std::ofstream(dir_ / "old.txt") << "xyz\nLL\n";
    ASSERT_EQ(run("set.txt -l 2 --keep old.txt"), 0) << err();
    const auto printed = linesOf(readAll(dir_ / "out.txt"));
    ASSERT_EQ(printed.size(), 2u);
    EXPECT_EQ(printed[0], "xyz");
    EXPECT_TRUE(lc::replay(levels[1].board, printed[1]).solved) << printed[1];
}

TEST_F(SolveLevels, ALevelNotSolvedInTimeKeepsAStoredLineOnlyIfItSolves) {
    // The longest stored solution of the built-in sets (hundreds of pushes
    // of many boxes): a hundredth of a second is never enough to find one.
    lc::SetText set;
    std::size_t longest = 0, pushes = 0;
    for (const char* name : lc::kSetNames) {
        const auto s = lc::readSet(LEVELSETS_TEXT_DIR, LEVELSETS_SOLUTIONS_DIR, name);
        for (std::size_t i = 0; i < s.solutions.size(); ++i) {
            const auto n = static_cast<std::size_t>(
                std::count_if(s.solutions[i].begin(), s.solutions[i].end(),
                              [](char c) { return std::isupper(static_cast<unsigned char>(c)); }));
            if (n > pushes) {
                pushes = n;
                set = s;
                longest = i;
            }
        }
    }
    ASSERT_GT(pushes, 100u);
    const auto& level = set.levels[longest];
    const std::string stored = set.solutions[longest];
    std::string text = "; 1\n";
    for (const auto& r : level.rows)
        text += r + "\n";
    std::ofstream(dir_ / "set.txt") << text;

    const struct {
        const char* name;
        std::string old;
        int status;
        std::string line;
    } cases[] = {
        {"a stored line that solves it stays", stored, 0, stored},
        {"a stored line that fails goes", stored.substr(0, stored.size() / 2), 1, ""},
        {"no stored line", "", 1, ""},
    };
    for (const auto& c : cases) {
        std::ofstream(dir_ / "sol.txt") << c.old << "\n";
        EXPECT_EQ(run("set.txt -o sol.txt -t 0.01 --threads 1"), c.status) << c.name << err();
        EXPECT_EQ(readAll(dir_ / "sol.txt"), c.line + "\n") << c.name;
    }
}

TEST_F(SolveLevels, RefusesWhatItCannotRead) {
    std::ofstream(dir_ / "set.txt") << kEasySet;
    std::ofstream(dir_ / "bad.txt") << "#####\n#@$.#\n#####\n";
    const struct {
        const char* arguments;
        const char* message;
    } cases[] = {
        {"", "no level text given"},
        {"set.txt -w 3", "unknown option -w"},
        {"set.txt -t none", "bad value for -t"},
        {"missing.txt", "missing.txt: cannot be read"},
        {"bad.txt", "line 1: board rows without a ';' heading"},
        {"set.txt --keep missing.txt", "missing.txt: cannot be read"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(run(c.arguments), 2) << c.arguments;
        EXPECT_NE(err().find(c.message), std::string::npos) << c.arguments << ": " << err();
    }
}

} // namespace

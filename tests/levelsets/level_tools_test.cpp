// The generators as commands on small runs of their own: make_levels writes
// a set whose every level passes the checks the built-in sets pass, and
// make_hard_levels' pick keeps repeats out by the same rule as the checks.

#include "human_measures.h"
#include "level_checks.h"
#include "set_text.h"
#include "tool_folder.h"

#include "core/lurd.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
namespace lc = sokoban::levelcheck;
namespace st = sokoban::settext;
using LevelTools = sokoban::testing::ToolFolder;
using sokoban::testing::readAll;

TEST_F(LevelTools, MakeLevelsWritesASetThatPassesTheChecks) {
    const std::string game = std::string(LEVELSETS_TEXT_DIR) + "/game.txt";
    ASSERT_EQ(run(MAKE_LEVELS, "easy 11 6 -n 1500 -o easy.txt -x " + game), 0) << err();
    ASSERT_EQ(run(SOLVE_LEVELS, "easy.txt -o solution.txt"), 0) << err();

    lc::SetText made{"easy", st::readSetFile(dir_ / "easy.txt"),
                     lc::readSolutions(dir_ / "solution.txt")};
    // The twelve lessons, then the generated levels.
    EXPECT_EQ(made.levels.size(), 18u);
    const lc::SetText known = lc::readSet(LEVELSETS_TEXT_DIR, LEVELSETS_SOLUTIONS_DIR, "game");
    for (const auto& p : lc::check({known, made}))
        ADD_FAILURE() << p.set << " " << p.number << ": " << p.what;
    for (std::size_t i = 12; i < made.levels.size(); ++i) {
        const auto shape = lc::shapeOf(made.levels[i].board);
        EXPECT_LE(shape.width, 34) << i + 1;
        EXPECT_LE(shape.height, 22) << i + 1;
        EXPECT_GE(shape.boxes, 1) << i + 1;
        EXPECT_LE(shape.boxes, 3) << i + 1;
    }
}

TEST_F(LevelTools, LessonsFoundTeachTheirIdeaAndBeatThePlayerWithoutLookAhead) {
    for (const std::string idea : {"corral", "wall"}) {
        SCOPED_TRACE(idea);
        ASSERT_EQ(run(MAKE_LEVELS, "lesson " + idea + " 7 3 -n 600"), 0) << err();
        // "; heading", the rows, "= solution".
        std::vector<std::string> rows;
        int found = 0;
        std::stringstream lines(readAll(dir_ / "out.txt"));
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind("; ", 0) == 0) {
                rows.clear();
            } else if (line.rfind("= ", 0) == 0) {
                ++found;
                const auto level = st::boardOfRows(rows);
                const auto played = lc::replay(level, line.substr(2));
                EXPECT_TRUE(played.solved) << line;
                EXPECT_FALSE(lc::fallsToNoLookAhead(level));
                if (idea == "corral") {
                    EXPECT_TRUE(lc::fencesOffATarget(level));
                } else {
                    const auto parsed = sokoban::core::parseLurd(line.substr(2));
                    sokoban::core::Moves moves;
                    for (const auto& m : parsed.moves)
                        moves.push_back(m.dir);
                    EXPECT_TRUE(lc::holdsABoxWithABox(level, moves));
                }
            } else if (!line.empty()) {
                rows.push_back(line);
            }
        }
        EXPECT_EQ(found, 3);
    }
}

TEST_F(LevelTools, PickKeepsRepeatsAndNearTwinsOut) {
    // One level with a dead end its solution never enters, and the same
    // level turned a quarter.
    std::ofstream(dir_ / "pool.txt") << "; seed 1 seconds 1.5 nodes 9500 pushes 4 moves 6 boxes 5\n"
                                        "#########\n"
                                        "#. $@$ .#\n"
                                        "#### ####\n"
                                        "   ###\n"
                                        "= LLrrRR\n"
                                        "; seed 2 seconds 1.6 nodes 9000 pushes 4 moves 6 boxes 5\n"
                                        "###\n#.#\n# #\n#$#\n#@#\n#$#\n# #\n#.#\n###\n"
                                        "= UUddDD\n";
    const struct {
        const char* name;
        const char* other;
        int kept;
    } cases[] = {
        {"another level", "; 1\n######\n#@$ .#\n#  $.#\n######\n", 1},
        // The same boxes, targets and walls, the worker shut out on the far
        // side of a box: another puzzle, but a twin to look at.
        {"the worker elsewhere", "; 1\n#########\n#+ $ $ .#\n#########\n", 0},
        {"a box moved", "; 1\n#########\n#.$ @$ .#\n#########\n", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::ofstream(dir_ / "other.txt") << c.other;
        // Two asked for, fewer kept: the pick says so by its exit status.
        ASSERT_EQ(run(MAKE_HARD_LEVELS, "pick impossible 2 out.txt sol.txt pool.txt -x other.txt"),
                  1)
            << err();
        EXPECT_NE(err().find(std::to_string(c.kept) + " levels of 2 candidates"), std::string::npos)
            << err();
        if (c.kept == 1) {
            EXPECT_EQ(readAll(dir_ / "out.txt"), "; 1\n#########\n#. $@$ .#\n#########\n\n");
            EXPECT_EQ(readAll(dir_ / "sol.txt"), "LLrrRR\n");
        }
    }
}

// resolve stores the solver's solution where it has fewer pushes; floor
// the new solution leaves unused stays when walling it in would let the
// player with no look-ahead win (he wins this one-box room anyway).
TEST_F(LevelTools, ResolveStoresTheSolversShorterSolutions) {
    const std::string room = "#######\n#@$  .#\n#     #\n#######\n";
    std::ofstream(dir_ / "set.txt") << "; 1\n"
                                    << room << "\n; 2\n"
                                    << room << "\n; 3\n########\n#@$  .*#\n########\n";
    // The first with a detour of two pushes, the second already shortest,
    // the third with a box it never moves, which becomes wall.
    std::ofstream(dir_ / "sol.txt") << "RRdrruLdlluRR\nRRR\nRRR\n";
    ASSERT_EQ(run(MAKE_HARD_LEVELS, "resolve veryhard set.txt sol.txt 5"), 0) << err();
    EXPECT_EQ(readAll(dir_ / "sol.txt"), "RRR\nRRR\nRRR\n");
    EXPECT_EQ(readAll(dir_ / "set.txt"),
              "; 1\n" + room + "\n; 2\n" + room + "\n; 3\n#######\n#@$  .#\n#######\n\n");
}

TEST_F(LevelTools, BoundsTellsTheStoredFigureFromTheFewestPushesKnown) {
    // Three pushes at least; the stored solution of the first takes five,
    // of the second three. The files stay as they are.
    const std::string room = "#######\n#@$  .#\n#     #\n#######\n";
    const std::string set = "; 1\n" + room + "\n; 2\n" + room;
    std::ofstream(dir_ / "set.txt") << set;
    std::ofstream(dir_ / "sol.txt") << "RRdrruLdlluRR\nRRR\n";
    ASSERT_EQ(run(MAKE_HARD_LEVELS, "bounds veryhard set.txt sol.txt 5"), 0) << err();
    const std::string out = readAll(dir_ / "out.txt");
    EXPECT_NE(out.find(" 1: bound 3 stored 5 (1.67) solver solved 3 fewest"), std::string::npos)
        << out;
    EXPECT_NE(out.find(" 2: bound 3 stored 3 (1.00) solver solved 3 fewest"), std::string::npos)
        << out;
    EXPECT_NE(out.find("medians: stored 1.33, fewest known 1.00 (of 2); proved fewest 1.00 (of 2)"),
              std::string::npos)
        << out;
    EXPECT_EQ(readAll(dir_ / "set.txt"), set);
    EXPECT_EQ(readAll(dir_ / "sol.txt"), "RRdrruLdlluRR\nRRR\n");
}

} // namespace

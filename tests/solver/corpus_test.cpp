// The benchmark corpora hold only solvable levels: each level's construction
// moves (X.proof) and each answer the solver gave in the kept measurement
// (results/X.tsv, the tool's own lines) solve it when played by the rules.
#include "core/level_text.h"
#include "core/lurd.h"
#include "core/rules.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace sokoban::solver {
namespace {

const std::string kDir = SOLVER_BENCH_DIR;

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Level number to LURD, from lines "N<TAB>...<TAB>LURD" whose status field
// (when there is one) says solved.
std::map<int, std::string> answers(const std::string& text) {
    std::map<int, std::string> out;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::istringstream row(line);
        for (std::string f; std::getline(row, f, '\t');)
            fields.push_back(f);
        if (fields.size() == 2) out[std::stoi(fields[0])] = fields[1];
        if (fields.size() == 6 && fields[1] == "solved") out[std::stoi(fields[0])] = fields[5];
    }
    return out;
}

// Empty when the moves solve the board, else why not. Capitals must be
// pushes and small letters steps, as the game writes them.
std::string replay(core::Board board, const std::string& lurd) {
    const core::LurdParse parsed = core::parseLurd(lurd);
    if (parsed.error != core::LurdError::None) return "unreadable moves";
    for (std::size_t i = 0; i < parsed.moves.size(); ++i) {
        const core::MoveOutcome o = core::apply(board, parsed.moves[i].dir);
        if (o.kind == core::MoveKind::Blocked) return "move " + std::to_string(i + 1) + " blocked";
        if ((o.kind == core::MoveKind::Push) != parsed.moves[i].push)
            return "move " + std::to_string(i + 1) + " written wrongly";
    }
    return core::solved(board) ? "" : "not solved at the end";
}

TEST(SolverCorpus, EveryLevelIsSolvedByItsConstructionAndByTheKeptAnswers) {
    struct Case {
        const char* name;
        int levels;
    } cases[] = {{"packing", 24},        {"doors", 16},        {"scattered", 23},
                 {"compact", 18},        {"compact_hard", 15}, {"tight_packing", 22},
                 {"ordered_packing", 24}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto levels = core::readLevelText(readAll(kDir + "/" + c.name + ".txt"));
        ASSERT_EQ(static_cast<int>(levels.size()), c.levels);
        const auto proofs = answers(readAll(kDir + "/" + c.name + ".proof"));
        ASSERT_EQ(static_cast<int>(proofs.size()), c.levels);
        const auto kept = answers(readAll(kDir + "/results/" + c.name + ".tsv"));
        for (const auto& [number, lurd] : proofs) {
            ASSERT_TRUE(levels[static_cast<std::size_t>(number - 1)].fits());
            const core::Board board = levels[static_cast<std::size_t>(number - 1)].board();
            EXPECT_FALSE(core::solved(board)) << number;
            EXPECT_EQ(replay(board, lurd), "") << "construction of " << number;
        }
        for (const auto& [number, lurd] : kept) {
            ASSERT_LE(number, c.levels);
            const core::Board board = levels[static_cast<std::size_t>(number - 1)].board();
            EXPECT_EQ(replay(board, lurd), "") << "answer to " << number;
        }
    }
}

TEST(SolverCorpus, ReplayCatchesAnswersThatDoNotSolve) {
    const core::Board board = core::fromXsbRows({"#####", "#@$.#", "#####"});
    EXPECT_EQ(replay(board, "R"), "");
    EXPECT_EQ(replay(board, "r"), "move 1 written wrongly");
    EXPECT_EQ(replay(board, "RR"), "move 2 blocked");
    EXPECT_EQ(replay(board, "U"), "move 1 blocked");
    EXPECT_EQ(replay(board, ""), "not solved at the end");
}

} // namespace
} // namespace sokoban::solver

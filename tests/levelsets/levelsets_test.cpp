// The built-in level sets as the game receives them: whole records, closed
// and playable levels, and a stored solution for every level that the plain
// move rules accept push by push.

#include "storage/record_file.h"
#include "storage/records.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

namespace {

using sokoban::TMazeData;

struct SetInfo {
    const char* name;
    int minBoxes;
    int maxBoxes;
};

constexpr std::uint64_t kMinLevels = 60;

// Names the set in test output instead of dumping its bytes.
void PrintTo(const SetInfo& set, std::ostream* os) {
    *os << set.name;
}

// What each set is for: a first course of one to four boxes, a main course
// of three to eight, thinking puzzles with few boxes, stamina with many, and
// the hardest levels, whatever they need.
const SetInfo kSets[] = {
    {"game", 3, 8}, {"easy", 1, 4}, {"normal", 2, 6}, {"veryhard", 10, 30}, {"impossible", 3, 30},
};

std::filesystem::path boxFile(const SetInfo& set) {
    return std::filesystem::path(LEVELSETS_BIN_DIR) / (std::string(set.name) + ".box");
}

std::vector<TMazeData> readSet(const SetInfo& set) {
    const sokoban::RecordFile file(boxFile(set), TMazeData::kSize);
    std::vector<TMazeData> levels;
    for (std::int64_t i = 0; i < file.count(); ++i)
        levels.push_back(file.get<TMazeData>(i));
    return levels;
}

std::vector<std::string> readSolutions(const SetInfo& set) {
    std::ifstream in(std::filesystem::path(LEVELSETS_SOLUTIONS_DIR) /
                     (std::string(set.name) + ".txt"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

int count(const TMazeData& m, std::initializer_list<int> codes) {
    int n = 0;
    for (auto c : m.cells)
        for (int code : codes)
            n += c == code;
    return n;
}

// Cells reachable from the edge of the grid without crossing a wall.
std::vector<int> reachableFromBorder(const TMazeData& m) {
    std::vector<bool> seen(sokoban::kCells, false);
    std::vector<int> todo, found;
    auto visit = [&](int row, int col) {
        if (row < 0 || row >= sokoban::kRows || col < 0 || col >= sokoban::kCols) return;
        const int i = row * sokoban::kCols + col;
        if (seen[i] || m.cells[i] == sokoban::kWall) return;
        seen[i] = true;
        todo.push_back(i);
        found.push_back(i);
    };
    for (int r = 0; r < sokoban::kRows; ++r) {
        visit(r, 0);
        visit(r, sokoban::kCols - 1);
    }
    for (int c = 0; c < sokoban::kCols; ++c) {
        visit(0, c);
        visit(sokoban::kRows - 1, c);
    }
    while (!todo.empty()) {
        const int i = todo.back();
        todo.pop_back();
        const int r = i / sokoban::kCols, c = i % sokoban::kCols;
        visit(r - 1, c);
        visit(r + 1, c);
        visit(r, c - 1);
        visit(r, c + 1);
    }
    return found;
}

// Plays a move string on the level with the game's rules. Returns an empty
// string when every move is legal, every capital letter is a real push, every
// small letter a plain step, and no box is left off a target at the end.
std::string replay(TMazeData m, const std::string& moves) {
    int man = m.man;
    for (std::size_t k = 0; k < moves.size(); ++k) {
        const char letter = moves[k];
        int dr = 0, dc = 0;
        switch (std::tolower(static_cast<unsigned char>(letter))) {
        case 'u':
            dr = -1;
            break;
        case 'd':
            dr = 1;
            break;
        case 'l':
            dc = -1;
            break;
        case 'r':
            dc = 1;
            break;
        default:
            return "move " + std::to_string(k + 1) + ": unknown letter";
        }
        const int row = man / sokoban::kCols + dr, col = man % sokoban::kCols + dc;
        if (row < 0 || row >= sokoban::kRows || col < 0 || col >= sokoban::kCols)
            return "move " + std::to_string(k + 1) + ": leaves the board";
        const int next = row * sokoban::kCols + col;
        const bool push = std::isupper(static_cast<unsigned char>(letter));
        const auto ahead = m.cells[next];
        if (ahead == sokoban::kFloor || ahead == sokoban::kTarget) {
            if (push) return "move " + std::to_string(k + 1) + ": push letter for a plain step";
        } else if (ahead == sokoban::kBox || ahead == sokoban::kBoxOnTarget) {
            const int row2 = row + dr, col2 = col + dc;
            if (row2 < 0 || row2 >= sokoban::kRows || col2 < 0 || col2 >= sokoban::kCols)
                return "move " + std::to_string(k + 1) + ": box pushed off the board";
            const int beyond = row2 * sokoban::kCols + col2;
            if (m.cells[beyond] != sokoban::kFloor && m.cells[beyond] != sokoban::kTarget)
                return "move " + std::to_string(k + 1) + ": box is blocked";
            if (!push) return "move " + std::to_string(k + 1) + ": step letter for a push";
            m.cells[next] -= 2;
            m.cells[beyond] += 2;
        } else {
            return "move " + std::to_string(k + 1) + ": walks into a wall or outside";
        }
        man = next;
    }
    if (count(m, {sokoban::kBox}) != 0) return "boxes left off their targets";
    return {};
}

class LevelSetTest : public ::testing::TestWithParam<SetInfo> {};

TEST_P(LevelSetTest, FileHoldsSixtyOrMoreWholeRecords) {
    const auto path = boxFile(GetParam());
    ASSERT_TRUE(std::filesystem::exists(path)) << path;
    const auto size = std::filesystem::file_size(path);
    EXPECT_EQ(size % TMazeData::kSize, 0u);
    EXPECT_GE(size / TMazeData::kSize, kMinLevels);
}

TEST_P(LevelSetTest, EveryLevelIsClosedAndPlayable) {
    const auto set = GetParam();
    const auto levels = readSet(set);
    for (std::size_t n = 0; n < levels.size(); ++n) {
        SCOPED_TRACE("level " + std::to_string(n + 1));
        const auto& m = levels[n];
        ASSERT_GE(m.man, 0);
        ASSERT_LT(m.man, sokoban::kCells);
        const auto under = m.cells[m.man];
        EXPECT_TRUE(under == sokoban::kFloor || under == sokoban::kTarget);
        for (auto c : m.cells)
            EXPECT_LE(c, sokoban::kBoxOnTarget);

        const int boxes = count(m, {sokoban::kBox, sokoban::kBoxOnTarget});
        EXPECT_EQ(boxes, count(m, {sokoban::kTarget, sokoban::kBoxOnTarget}));
        EXPECT_GE(boxes, set.minBoxes);
        EXPECT_LE(boxes, set.maxBoxes);
        EXPECT_GT(count(m, {sokoban::kBox}), 0) << "already solved";

        for (int i : reachableFromBorder(m)) {
            EXPECT_EQ(m.cells[i], sokoban::kOutside) << "cell " << i << " is open to the border";
            EXPECT_NE(i, m.man);
        }
    }
}

TEST_P(LevelSetTest, StoredSolutionsSolveEveryLevel) {
    const auto set = GetParam();
    const auto levels = readSet(set);
    const auto solutions = readSolutions(set);
    ASSERT_EQ(solutions.size(), levels.size());
    for (std::size_t n = 0; n < levels.size(); ++n) {
        SCOPED_TRACE("level " + std::to_string(n + 1));
        EXPECT_EQ(replay(levels[n], solutions[n]), "");
        // The game keeps a solution in an answer record of at most 4096 moves.
        EXPECT_LE(solutions[n].size(), static_cast<std::size_t>(sokoban::TAnswerData::kCapacity));
    }
}

INSTANTIATE_TEST_SUITE_P(BuiltInSets, LevelSetTest, ::testing::ValuesIn(kSets),
                         [](const auto& info) { return std::string(info.param.name); });

// The replay must refuse what the game refuses; otherwise the solution test
// above proves nothing.
TEST(SolutionReplay, RefusesIllegalMoveStrings) {
    // ######
    // #@$ .#
    // ######
    TMazeData m;
    for (int c = 0; c < 6; ++c) {
        m.cells[c] = sokoban::kWall;
        m.cells[2 * sokoban::kCols + c] = sokoban::kWall;
    }
    const int row = sokoban::kCols;
    m.cells[row] = m.cells[row + 5] = sokoban::kWall;
    m.cells[row + 1] = m.cells[row + 3] = sokoban::kFloor;
    m.cells[row + 2] = sokoban::kBox;
    m.cells[row + 4] = sokoban::kTarget;
    m.man = static_cast<std::int16_t>(row + 1);

    const struct {
        const char* moves;
        bool solves;
    } cases[] = {
        {"RR", true}, {"Rr", false}, {"rR", false},  {"R", false},   {"RRR", false},  {"u", false},
        {"l", false}, {"RRl", true}, {"RRx", false}, {"RlR", false}, {"RRlL", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(replay(m, c.moves).empty(), c.solves) << c.moves;
}

} // namespace

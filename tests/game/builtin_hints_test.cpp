// Hint after hint solves every built-in level. Levels the solver does not
// finish quickly from the start are begun part of the way along their
// stored solution, so the test stays short whatever the solver can do.
#include "assist_support.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <iostream>

namespace sokoban::testing {
namespace {

std::vector<std::string> storedSolutions(const std::string& set) {
    std::ifstream in(std::filesystem::path(LEVELSETS_SOLUTIONS_DIR) / (set + ".txt"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// One move in the usual letters (u d l r, capitals for pushes).
void play(GameModel& game, char letter) {
    static const std::string letters = "udlr";
    const auto code =
        letters.find(static_cast<char>(std::tolower(static_cast<unsigned char>(letter))));
    ASSERT_NE(code, std::string::npos);
    game.KeyMove(kDirections[code].word);
}

class BuiltinHints : public ::testing::TestWithParam<const char*> {};

TEST_P(BuiltinHints, HintsSolveEveryLevel) {
    const std::string set = GetParam();
    const auto solutions = storedSolutions(set);
    TempDir dir;
    std::filesystem::copy_file(std::filesystem::path(LEVELSETS_BIN_DIR) / (set + ".box"),
                               dir.path / "game.box");
    RecordingView view;
    HookedDialogs dialogs;
    GameModel game{view, dialogs};
    QueuedAssistant solver;
    view.model = &game;
    game.appDir = dir.path;
    game.settings = defaultSettings(1024, 768);
    game.settings.noPassInfo = 1;
    game.aids.assistant = &solver.assistant;
    solver.assistant.timeSeconds = 1;
    game.SelectGames(1);
    game.UnlockAllLevels();
    dialogs.takeTexts();
    ASSERT_EQ(solutions.size(), static_cast<std::size_t>(game.levelCount));

    for (int level = 1; level <= game.levelCount; ++level) {
        SCOPED_TRACE("level " + std::to_string(level));
        const std::string& lurd = solutions[static_cast<std::size_t>(level - 1)];
        bool solved = false;
        std::size_t start = 0;
        for (const std::size_t part : {0, 2, 4, 8, 16, 32}) {
            game.curLevel = level;
            game.ReadRecord(level);
            start = part == 0 ? 0 : lurd.size() - lurd.size() / part;
            for (std::size_t i = 0; i < start; ++i)
                play(game, lurd[i]);
            // Hints until the level is passed; each makes exactly one push.
            for (int hints = 0; hints < 1000 && game.curLevel == level && !game.solved(); ++hints) {
                const int pushes = game.pushCount;
                game.mHintClick();
                if (solver.assistant.busy()) solver.finish();
                if (game.curLevel == level && !game.solved()) {
                    if (game.pushCount == pushes) break; // not solved in time
                    ASSERT_EQ(game.pushCount, pushes + 1);
                }
            }
            const auto texts = dialogs.takeTexts();
            solved =
                !texts.empty() && texts.front() == "恭喜你通过第" + std::to_string(level) + "关！";
            if (solved) break;
        }
        EXPECT_TRUE(solved);
        if (start > 0)
            std::cout << set << " level " << level << ": hints from move " << start << " of "
                      << lurd.size() << "\n";
    }
    EXPECT_EQ(unsolvedAnswers(game), std::vector<int>{});
}

INSTANTIATE_TEST_SUITE_P(Sets, BuiltinHints,
                         ::testing::Values("easy", "game", "normal", "veryhard", "impossible"));

} // namespace
} // namespace sokoban::testing

// Hint after hint solves every built-in level. The first course and the
// main course are played from the start of each level, as a new player
// meets them. On the other three sets, whose boards take the solver long
// from the start, each level is begun where its stored solution has a few
// pushes left, so that hundreds of levels stay a short test. A level the
// solver still does not finish within its second is begun further along.
#include "assist_support.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
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

struct SetPlan {
    const char* name;
    int pushesLeft; // where the hints take over; 0 for the start of the level
};

void PrintTo(const SetPlan& plan, std::ostream* os) {
    *os << plan.name;
}

const SetPlan kPlans[] = {
    {"easy", 0}, {"game", 0}, {"normal", 12}, {"veryhard", 8}, {"impossible", 8},
};

// The number of moves of the stored solution after which `pushesLeft`
// pushes remain; 0 when it has no more than that.
std::size_t movesBefore(const std::string& lurd, int pushesLeft) {
    if (pushesLeft <= 0) return 0;
    const auto pushes = std::count_if(lurd.begin(), lurd.end(), [](char c) {
        return std::isupper(static_cast<unsigned char>(c));
    });
    std::ptrdiff_t toPlay = pushes - pushesLeft;
    if (toPlay <= 0) return 0;
    std::size_t i = 0;
    while (toPlay > 0)
        if (std::isupper(static_cast<unsigned char>(lurd[i++]))) --toPlay;
    return i;
}

class BuiltinHints : public ::testing::TestWithParam<SetPlan> {};

TEST_P(BuiltinHints, HintsSolveEveryLevel) {
    const std::string set = GetParam().name;
    const auto solutions = storedSolutions(set);
    TempDir dir;
    std::filesystem::copy_file(std::filesystem::path(LEVELSETS_BIN_DIR) / (set + ".box"),
                               dir.path / "game.box");
    RecordingView view;
    HookedDialogs dialogs;
    GameModel game{view, dialogs};
    QueuedAssistant solver;
    view.model = &game;
    game.setAppDir(dir.path);
    game.settings() = defaultSettings(1024, 768);
    game.settings().noPassInfo = 1;
    game.setAssistant(&solver.assistant);
    solver.assistant.timeSeconds = 1;
    game.SelectGames(1);
    game.UnlockAllLevels();
    dialogs.takeTexts();
    ASSERT_EQ(solutions.size(), static_cast<std::size_t>(game.levelCount()));

    for (int level = 1; level <= game.levelCount(); ++level) {
        SCOPED_TRACE("level " + std::to_string(level));
        const std::string& lurd = solutions[static_cast<std::size_t>(level - 1)];
        bool solved = false;
        const std::size_t planned = movesBefore(lurd, GetParam().pushesLeft);
        std::size_t start = planned;
        for (const std::size_t part : {1, 2, 4, 8, 16, 32}) {
            game.playLevel(level);
            const std::size_t rest = lurd.size() - planned;
            start = planned + rest - rest / part;
            for (std::size_t i = 0; i < start; ++i)
                play(game, lurd[i]);
            // Hints until the level is passed; each makes exactly one push.
            for (int hints = 0; hints < 1000 && game.curLevel() == level && !game.solved();
                 ++hints) {
                const int pushes = game.pushCount();
                game.mHintClick();
                if (solver.assistant.busy()) solver.finish();
                if (game.curLevel() == level && !game.solved()) {
                    if (game.pushCount() == pushes) break; // not solved in time
                    ASSERT_EQ(game.pushCount(), pushes + 1);
                }
            }
            const auto said = dialogs.takeMessages();
            solved = !said.empty() && said.front() == Message(MessageId::Congratulations, level);
            if (solved) break;
        }
        EXPECT_TRUE(solved);
        if (start > planned)
            std::cout << set << " level " << level << ": hints from move " << start << " of "
                      << lurd.size() << "\n";
    }
    EXPECT_EQ(unsolvedAnswers(game), std::vector<int>{});
}

INSTANTIATE_TEST_SUITE_P(Sets, BuiltinHints, ::testing::ValuesIn(kPlans),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace sokoban::testing

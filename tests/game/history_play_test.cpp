// The one line of play as the game keeps it: the undo file's records, the
// stored answer's bytes, the events of a move and the return from a
// demonstration, driven through the model's own commands.
#include "assist_support.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <tuple>

namespace sokoban::testing {
namespace {

// Two boxes, two targets, room to walk round.
const std::vector<std::string> kTwoBoxes = {
    "########", //
    "#      #", //
    "# $ $  #", //
    "#@  .. #", //
    "#      #", //
    "########",
};
// One push right solves it; room above and below to wander.
const std::vector<std::string> kOnePush = {
    "#######", //
    "#     #", //
    "#@$.  #", //
    "#     #", //
    "#######",
};

constexpr int at(int row, int col) {
    return row * kCols + col;
}

// A game on a set of one level in a program directory of its own.
struct Play : GameInDir {
    QueuedAssistant solver;

    explicit Play(const std::vector<std::string>& rows) {
        writeLevelSet(dir.path / "game.box", {makeLevel(rows)});
        game.setAssistant(&solver.assistant);
        game.openOtherSet((dir.path / "game.box").string());
        game.undoFile().create();
        game.tbRetryGameClick(); // record 0 in the fresh file
    }
    // Moves by letter; "-" 撤销一步, "+" 重做, "P" 撤销 (the push undo), "S" 重玩.
    void play(const std::string& script) {
        static const std::pair<char, const char*> words[] = {
            {'u', "up"}, {'d', "down"}, {'l', "left"}, {'r', "right"}};
        for (char c : script) {
            switch (c) {
            case '-':
                game.mUndoMoveClick();
                break;
            case '+':
                game.mRedoClick();
                break;
            case 'P':
                game.tbUndoClick();
                break;
            case 'S':
                game.tbRetryGameClick();
                break;
            default:
                for (const auto& [k, w] : words)
                    if (std::tolower(static_cast<unsigned char>(c)) == k) game.KeyMove(w);
            }
        }
    }
    // The undo file as (moves, pushes, worker) records.
    std::vector<std::tuple<int, int, int>> undoRecords() const {
        const RecordFile file = game.undoFile();
        std::vector<std::tuple<int, int, int>> out;
        for (std::int64_t i = 0; i < file.count(); ++i) {
            const auto r = file.get<TSaveData>(i);
            out.emplace_back(r.moves, r.pushes, r.man);
        }
        return out;
    }
};

TEST(HistoryPlay, TheUndoFileHoldsThePositionBeforeEachPushOfTheLine) {
    using Records = std::vector<std::tuple<int, int, int>>;
    const Records twoPushes = {{0, 0, at(3, 1)}, {1, 0, at(2, 1)}, {5, 1, at(3, 4)}};
    struct Case {
        const char* what;
        std::string script;
        Records records;
        int undoCount;
        bool undoEnabled;
    } cases[] = {
        {"steps write nothing", "uu", {{0, 0, at(3, 1)}}, 0, false},
        {"a push writes the position before it",
         "ur",
         {{0, 0, at(3, 1)}, {1, 0, at(2, 1)}},
         1,
         true},
        {"two pushes", "urdrru", twoPushes, 2, true},
        {"single undo keeps the records", "urdrru--", twoPushes, 1, true},
        {"the push undo keeps them too", "urdrruPP", twoPushes, 0, true},
        {"a push after the push undo writes its record again", "urdrruPPr", twoPushes, 1, true},
        {"and the one above it stays", "urdrruPr", twoPushes, 1, true},
        {"redo writes the record again", "urdrru-+", twoPushes, 2, true},
        {"the push undo at the start", "urP P", {{0, 0, at(3, 1)}, {1, 0, at(2, 1)}}, 0, false},
        {"retry writes record 0 anew", "urrS", {{0, 0, at(3, 1)}, {1, 0, at(2, 1)}}, 0, false},
    };
    Play p(kTwoBoxes);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.what) + ": " + c.script);
        p.game.undoFile().create();
        p.game.tbRetryGameClick();
        p.play(c.script);
        EXPECT_EQ(p.undoRecords(), c.records);
        EXPECT_EQ(p.game.undoCount(), c.undoCount);
        EXPECT_EQ(p.view.undoEnabled, c.undoEnabled);
    }
}

TEST(HistoryPlay, TheStoredAnswerCarriesTheMoveLogAsItStands) {
    struct Case {
        const char* what;
        std::string script;   // ends with the solving push
        std::vector<int> log; // the first codes of the stored answer
        int moves;
    } cases[] = {
        {"straight away", "R", {3, 0, 0}, 1},
        {"after a wander and retry", "ududSR", {3, 1, 0, 1}, 1},
        {"after single undos", "udud--R", {0, 1, 3, 1}, 3},
        {"after the push undo back to the start", "udPR", {3, 1}, 1},
        {"after undo and redo", "ud--++R", {0, 1, 3}, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.what) + ": " + c.script);
        // A game of its own: the move log lives as long as the game does.
        Play p(kOnePush);
        p.play(c.script);
        ASSERT_TRUE(p.game.solved());
        const auto stored =
            RecordFile(p.dir.path / "game.sol", TAnswerData::kSize).get<TAnswerData>(0);
        EXPECT_EQ(stored.moves, c.moves);
        TAnswerData expected = emptyAnswerRecord();
        for (std::size_t i = 0; i < c.log.size(); ++i)
            expected.setMove(static_cast<int>(i), c.log[i]);
        EXPECT_EQ(stored.packed, expected.packed);
    }
}

TEST(HistoryPlay, MovesTellTheWindowWhatChanged) {
    using event::Moved;
    using event::Sound;
    using event::Status;
    const auto moves = [](int n) { return Status{1, Message(Id::MovesPanelNoBest, n)}; };
    const auto pushes = [](int n) { return Status{2, Message(Id::PushesPanelNoBest, n)}; };
    struct Case {
        const char* what;
        std::string before;
        std::function<void(GameModel&)> action;
        Events events;
    } cases[] = {
        {"a step up",
         "",
         [](GameModel& g) { g.KeyMove("up"); },
         {Sound{Effect::Move}, Moved{at(3, 1), at(2, 1), -1, -1, 0, {}}, moves(1)}},
        {"a push right",
         "u",
         [](GameModel& g) { g.KeyMove("right"); },
         {Sound{Effect::Push}, event::Enable{Control::Undo, true},
          Moved{at(2, 1), at(2, 2), at(2, 2), at(2, 3), 6, {}}, moves(2), pushes(1)}},
        {"into the wall", "", [](GameModel& g) { g.KeyMove("left"); }, {Sound{Effect::Pong}}},
        {"a box against a box",
         "ur",
         [](GameModel& g) { g.KeyMove("right"); },
         {Sound{Effect::Pong}, event::Cursor{"dead"}}},
        {"the push taken back",
         "ur",
         [](GameModel& g) { g.mUndoMoveClick(); },
         {event::Walking{}, Sound{Effect::Undo},
          Moved{at(2, 2), at(2, 1), at(2, 3), at(2, 2), 6, {}}, moves(1), pushes(0)}},
        {"the last step taken back",
         "u",
         [](GameModel& g) { g.mUndoMoveClick(); },
         {event::Walking{}, Sound{Effect::Undo}, Moved{at(2, 1), at(3, 1), -1, -1, 0, {}}, moves(0),
          pushes(0), event::Enable{Control::Undo, false}}},
        {"the push made again",
         "ur-",
         [](GameModel& g) { g.mRedoClick(); },
         {event::Walking{}, Sound{Effect::Push}, event::Enable{Control::Undo, true},
          Moved{at(2, 1), at(2, 2), at(2, 2), at(2, 3), 6, {}}, moves(2), pushes(1)}},
    };
    Play p(kTwoBoxes);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        p.game.tbRetryGameClick();
        p.play(c.before);
        p.view.takeEvents();
        c.action(p.game);
        EXPECT_EQ(p.view.takeEvents(), c.events);
    }
}

TEST(HistoryPlay, ASolutionShownFromHerePutsTheWholeLineBack) {
    Play p(kTwoBoxes);
    p.play("uurrdd--"); // two moves that could be made again
    const History::MoveLog log = p.game.moveLog();
    const Position asked = p.game.position();
    p.game.mSolveClick();
    p.solver.finish();
    ASSERT_TRUE(p.game.demoMode());
    for (int i = 0; i < 3; ++i) // not near the end of the solution
        p.game.Timer4Timer();
    EXPECT_EQ(p.game.moveCount(), asked.moves + 3);
    p.game.tbRetryGameClick(); // stops it
    EXPECT_FALSE(p.game.demoMode());
    EXPECT_EQ(p.game.position(), asked);
    EXPECT_EQ(p.game.moveLog(), log);
    EXPECT_TRUE(p.view.undoEnabled);
    // What could be redone before can be redone still.
    p.game.mRedoClick();
    p.game.mRedoClick();
    EXPECT_EQ(p.game.moveCount(), 6);
    EXPECT_EQ(p.game.manPos(), at(3, 3));
}

} // namespace
} // namespace sokoban::testing

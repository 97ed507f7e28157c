// Shared helpers of the game tests: levels from text, a temporary program
// directory and a view that records what the model asks of it.
#pragma once

#include "core/rules.h"
#include "session/game_model.h"
#include "storage/maze_board.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <unistd.h>
#include <utility>
#include <variant>
#include <vector>

namespace sokoban::testing {

using Id = MessageId;
using Messages = std::vector<Message>;

// A level from XSB-like rows placed at (row, col) of the grid; cells outside
// the first and last wall of each row stay outside.
inline TMazeData makeLevel(const std::vector<std::string>& rows, int row0 = 0, int col0 = 0) {
    const core::Board b = core::fromXsbRows(rows);
    TMazeData m;
    for (int r = 0; r < b.rows; ++r) {
        const std::string& line = rows[static_cast<std::size_t>(r)];
        const auto first = line.find('#'), last = line.rfind('#');
        for (int c = 0; c < static_cast<int>(line.size()); ++c) {
            const auto at = static_cast<std::size_t>(c);
            const bool walledIn = first != std::string::npos && at > first && at < last;
            m.cells[static_cast<std::size_t>((r + row0) * kCols + c + col0)] =
                line[at] == ' ' && !walledIn ? std::uint8_t{kOutside} : b.at(r, c);
        }
    }
    if (b.worker >= 0)
        m.man = static_cast<std::int16_t>((b.rowOf(b.worker) + row0) * kCols + b.colOf(b.worker) +
                                          col0);
    return m;
}

inline void writeLevelSet(const std::filesystem::path& file, const std::vector<TMazeData>& levels) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    for (const auto& l : levels) {
        const Bytes b = l.encode();
        out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    }
}

inline Bytes readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

struct TempDir {
    std::filesystem::path path;
    TempDir() {
        path = std::filesystem::temp_directory_path() /
               ("sokoban-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter()++));
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    static int& counter() {
        static int n = 0;
        return n;
    }
};

// Levels of a set whose stored answer does not replay to a solve from the
// level's start: each move must be a step or a push under the game's rules,
// and after the last one no box may stand off a target.
inline std::vector<int> unsolvedAnswers(const GameModel& game) {
    const CompanionFiles f = game.files();
    std::vector<int> bad;
    if (!f.sol.exists() || !f.levels.exists()) return bad;
    const auto levels = std::min(f.levels.count(), f.sol.count());
    for (std::int64_t k = 0; k < levels; ++k) {
        const auto answer = f.sol.get<TAnswerData>(k);
        if (answer.moves == 0) continue;
        core::Board board = boardOf(f.levels.get<TMazeData>(k));
        bool legal = answer.moves > 0 && board.contains(board.worker);
        for (int i = 0; legal && i < answer.moves; ++i)
            legal = core::apply(board, static_cast<core::Dir>(answer.moveAt(i))).kind !=
                    core::MoveKind::Blocked;
        if (!legal || !core::solved(board)) bad.push_back(static_cast<int>(k + 1));
    }
    return bad;
}

// Scripted dialogs that also run a hook while a message is open, as timer
// ticks and other events arrive behind a modal box.
class HookedDialogs : public ScriptedDialogs {
  public:
    std::function<void()> onMessage;
    using ScriptedDialogs::message;
    void message(MessageKind kind, const Message& m) override {
        ScriptedDialogs::message(kind, m);
        if (onMessage) onMessage();
    }
};

// Keeps what the model's events leave on screen, and every event in order.
class RecordingView : public GameView {
  public:
    Events events;
    std::vector<std::string> effects;
    std::vector<int> drawnCells;
    std::vector<int> drawnMen;
    Message caption;
    Message status[4];
    bool nextEnabled = false, undoEnabled = false, answerEnabled = false, managerEnabled = false;
    DemoButtons demo = DemoButtons::Idle;
    int gameItem = 0;
    int fullPaints = 0, randomFaces = 0, walkStops = 0, minimised = 0;
    bool demoTimer = false;
    bool walking = false;
    int walkInterval = 0;
    int demoInterval = 0;
    std::string cursor;
    GameModel* model = nullptr;

    // The events since the last call, and forget them.
    Events takeEvents() { return std::exchange(events, {}); }

    void apply(const Events& list) override {
        for (const Event& e : list) {
            events.push_back(e);
            std::visit([this](const auto& ev) { show(ev); }, e);
        }
    }

  private:
    void show(const event::NewBoard&) {
        if (model)
            model->setLayout(
                fitBoard(1024, 768, 40, model->mazeWidth(), model->mazeHeight(), false));
        ++fullPaints;
    }
    void show(const event::Repaint&) { ++fullPaints; }
    void show(const event::Moved& m) {
        for (int c : m.cells)
            drawnCells.push_back(c);
        for (int c : {m.boxTo, m.boxFrom, m.workerFrom})
            if (c >= 0) drawnCells.push_back(c);
        drawnMen.push_back(m.facing);
    }
    void show(const event::Sound& s) { effects.push_back(effectName(s.effect)); }
    void show(const event::Caption& c) { caption = c.text; }
    void show(const event::Status& s) { status[s.panel] = s.text; }
    void show(const event::Enable& e) {
        switch (e.control) {
        case Control::Next:
            nextEnabled = e.on;
            break;
        case Control::Undo:
            undoEnabled = e.on;
            break;
        case Control::Answer:
            answerEnabled = e.on;
            break;
        case Control::Manager:
            managerEnabled = e.on;
            break;
        }
    }
    void show(const event::Demo& d) { demo = d.state; }
    void show(const event::GameItem& g) { gameItem = g.item; }
    void show(const event::Walking& w) {
        walking = w.on;
        if (w.on)
            walkInterval = w.interval;
        else
            ++walkStops;
    }
    void show(const event::DemoTimer& t) { demoTimer = t.on; }
    void show(const event::DemoInterval& i) { demoInterval = i.interval; }
    void show(const event::Cursor& c) { cursor = c.name; }
    void show(const event::RandomFace&) { ++randomFaces; }
    void show(const event::Minimise&) { ++minimised; }
};

// A game in a temporary program directory, its events recorded and its
// dialogs scripted, with the settings first made for a 1024 x 768 screen.
struct GameInDir {
    TempDir dir;
    RecordingView view;
    HookedDialogs dialogs;
    GameModel game{view, dialogs};

    GameInDir() {
        view.model = &game;
        game.setAppDir(dir.path);
        game.settings() = defaultSettings(1024, 768);
    }
    // The levels as the program directory's game.box, its first level in play.
    void playSet(const std::vector<TMazeData>& levels) {
        writeLevelSet(dir.path / "game.box", levels);
        game.SelectGames(1);
    }
};

class GameFixture : public ::testing::Test, protected GameInDir {};

} // namespace sokoban::testing

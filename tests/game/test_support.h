// Shared helpers of the game tests: levels from text, a temporary program
// directory and a view that records what the model asks of it.
#pragma once

#include "session/game_model.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

namespace sokoban::testing {

using Id = MessageId;
using Messages = std::vector<Message>;

// A level from XSB-like rows placed at (row, col) of the grid; cells outside
// the first and last wall of each row stay outside.
inline TMazeData makeLevel(const std::vector<std::string>& rows, int row0 = 0, int col0 = 0) {
    TMazeData m;
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const std::string& line = rows[static_cast<std::size_t>(r)];
        const auto first = line.find('#'), last = line.rfind('#');
        for (int c = 0; c < static_cast<int>(line.size()); ++c) {
            const int i = (r + row0) * kCols + c + col0;
            std::uint8_t code = kOutside;
            switch (line[static_cast<std::size_t>(c)]) {
            case '#': code = kWall; break;
            case '.': code = kTarget; break;
            case '$': code = kBox; break;
            case '*': code = kBoxOnTarget; break;
            case '+': code = kTarget; m.man = static_cast<std::int16_t>(i); break;
            case '@': code = kFloor; m.man = static_cast<std::int16_t>(i); break;
            case ' ':
                code = (first != std::string::npos && static_cast<std::size_t>(c) > first &&
                        static_cast<std::size_t>(c) < last) ? kFloor : kOutside;
                break;
            default: break;
            }
            m.cells[static_cast<std::size_t>(i)] = code;
        }
    }
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
    const auto cellAt = [](int row, int col) {
        return row >= 0 && row < kRows && col >= 0 && col < kCols ? row * kCols + col : -1;
    };
    const auto levels = std::min(f.levels.count(), f.sol.count());
    for (std::int64_t k = 0; k < levels; ++k) {
        const auto answer = f.sol.get<TAnswerData>(k);
        if (answer.moves == 0) continue;
        const auto level = f.levels.get<TMazeData>(k);
        Cells cells = level.cells;
        int man = level.man;
        bool legal = answer.moves > 0 && man >= 0 && man < kCells;
        for (int i = 0; legal && i < answer.moves; ++i) {
            static const int dr[] = {-1, 1, 0, 0}, dc[] = {0, 0, -1, 1};
            const int code = answer.moveAt(i);
            const int row = man / kCols, col = man % kCols;
            const int next = cellAt(row + dr[code], col + dc[code]);
            const int beyond = cellAt(row + 2 * dr[code], col + 2 * dc[code]);
            const auto free = [&](int c) {
                return c >= 0 && (cells[static_cast<std::size_t>(c)] == kFloor ||
                                  cells[static_cast<std::size_t>(c)] == kTarget);
            };
            const auto box = [&](int c) {
                return c >= 0 && (cells[static_cast<std::size_t>(c)] == kBox ||
                                  cells[static_cast<std::size_t>(c)] == kBoxOnTarget);
            };
            if (free(next)) {
                man = next;
            } else if (box(next) && free(beyond)) {
                cells[static_cast<std::size_t>(next)] -= 2;
                cells[static_cast<std::size_t>(beyond)] += 2;
                man = next;
            } else {
                legal = false;
            }
        }
        if (!legal || std::find(cells.begin(), cells.end(), kBox) != cells.end())
            bad.push_back(static_cast<int>(k + 1));
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

class RecordingView : public GameView {
public:
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

    void FitBoard() override {
        if (model)
            model->layout = fitBoard(1024, 768, 40, model->mazeWidth, model->mazeHeight, false);
    }
    void PaintBoard() override { ++fullPaints; }
    void DrawCell(int i) override { drawnCells.push_back(i); }
    void DrawMan(int frame) override { drawnMen.push_back(frame); }
    void RandomFace() override { ++randomFaces; }
    void SetCaption(const Message& t) override { caption = t; }
    void SetStatusText(int p, const Message& t) override { status[p] = t; }
    void SetNextEnabled(bool on) override { nextEnabled = on; }
    void SetUndoEnabled(bool on) override { undoEnabled = on; }
    void SetAnswerEnabled(bool on) override { answerEnabled = on; }
    void SetDemoButtons(DemoButtons s) override { demo = s; }
    void SetGameItemChecked(int item) override { gameItem = item; }
    void SetManagerEnabled(bool on) override { managerEnabled = on; }
    void StopWalking() override {
        ++walkStops;
        walking = false;
    }
    void StartWalking(int interval) override {
        walking = true;
        walkInterval = interval;
    }
    void SetDemoTimer(bool on) override { demoTimer = on; }
    void SetDemoInterval(int i) override { demoInterval = i; }
    void PlayEffect(const std::string& n) override { effects.push_back(n); }
    void SetBoardCursor(const std::string& n) override { cursor = n; }
    void Minimise() override { ++minimised; }
};

} // namespace sokoban::testing

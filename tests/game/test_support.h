// Shared helpers of the game tests: levels from text, a temporary program
// directory and a view that records what the model asks of it.
#pragma once

#include "game/game_model.h"

#include <filesystem>
#include <unistd.h>
#include <fstream>
#include <string>
#include <vector>

namespace sokoban::testing {

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

class RecordingView : public GameView {
public:
    std::vector<std::string> effects;
    std::vector<int> drawnCells;
    std::vector<int> drawnMen;
    std::string caption;
    std::string status[4];
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
    void SetCaption(const std::string& t) override { caption = t; }
    void SetStatusText(int p, const std::string& t) override { status[p] = t; }
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

// Speed of play on a full-screen board: a push with its repaint, an undo,
// and a full paint of the largest board.
#include "../../tests/game/test_support.h"
#include "ui/main/main_form.h"
#include "ui/pictures/pictures.h"

#include <QApplication>
#include <benchmark/benchmark.h>

using namespace sokoban;
using namespace sokoban::testing;

namespace {

// A 22 x 34 room full of floor with a row of boxes to push back and forth.
TMazeData bigLevel() {
    std::vector<std::string> rows(22, "#" + std::string(32, ' ') + "#");
    rows.front() = rows.back() = std::string(34, '#');
    for (int c = 3; c < 30; c += 2)
        rows[10][static_cast<std::size_t>(c)] = '$';
    rows[12][5] = '.';
    rows[11][16] = '@';
    rows[11][17] = '$';
    return makeLevel(rows);
}

struct Fixture {
    TempDir dir;
    ScriptedDialogs dialogs;
    std::unique_ptr<TMainForm> form;
    Fixture() {
        writeLevelSet(dir.path / "game.box", {bigLevel()});
        MainFormServices services;
        services.dialogs = &dialogs;
        form = std::make_unique<TMainForm>(dir.path, QStringList{"sokoban"}, services);
        form->FormCreate();
        form->painter().resize(1920, 1080);
        form->resize(1920, 1080);
        form->model().ReadRecord(1);
    }
};

void BM_PushWithRepaint(benchmark::State& state) {
    Fixture f;
    auto& m = f.form->model();
    for (auto _ : state) {
        m.KeyMove("right"); // one push, the cells and the worker repainted
        state.PauseTiming();
        m.tbUndoClick();
        state.ResumeTiming();
    }
    state.counters["cellSize"] = m.layout().cellSize;
}
BENCHMARK(BM_PushWithRepaint)->Unit(benchmark::kMicrosecond);

void BM_Undo(benchmark::State& state) {
    Fixture f;
    auto& m = f.form->model();
    for (auto _ : state) {
        state.PauseTiming();
        m.KeyMove("right"); // a push: one undo record
        state.ResumeTiming();
        m.tbUndoClick();
    }
}
BENCHMARK(BM_Undo)->Unit(benchmark::kMillisecond);

void BM_FullPaint(benchmark::State& state) {
    Fixture f;
    auto& m = f.form->model();
    // The push undo with no push to take back paints the whole board again.
    for (auto _ : state)
        m.tbUndoClick();
    state.counters["cellSize"] = m.layout().cellSize;
}
BENCHMARK(BM_FullPaint)->Unit(benchmark::kMillisecond);

// The worst click: across an open 22 x 34 board, searched both ways and
// shortened with the full sixteen passes.
void BM_WorstClick(benchmark::State& state) {
    TempDir dir;
    RecordingView view;
    ScriptedDialogs dialogs;
    GameModel m(view, dialogs);
    view.model = &m;
    std::vector<std::string> rows(22, "#" + std::string(32, ' ') + "#");
    rows.front() = rows.back() = std::string(34, '#');
    rows[1][1] = '@';
    writeLevelSet(dir.path / "game.box", {makeLevel(rows)});
    m.setAppDir(dir.path);
    m.settings() = defaultSettings(1024, 768);
    m.SelectGames(1);
    int steps = 0;
    for (auto _ : state) {
        m.BlockClick(20 * kCols + 32); // the walk is planned, not made
        steps = m.walk().walkCount;
    }
    state.counters["steps"] = steps;
}
BENCHMARK(BM_WorstClick)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    initPictures();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}

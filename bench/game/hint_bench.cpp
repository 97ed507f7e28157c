// Latency of the hint (提示) on the built-in level sets: from the key to the
// push made, with the solver on its worker thread, for the first hint of
// each level (a fresh solve) and for the next one (the kept solution).
//
//   hint_bench [--time-limit SECONDS] [--set NAME] [--busy THREADS] [PROGRAM_DIR]
//
// PROGRAM_DIR holds the built sets (the build's bin/ by default); --set
// measures one set (easy, game, normal, veryhard, impossible); --busy keeps
// that many threads spinning beside the solver, as a loaded machine would.
#include "storage/maze_board.h"

#include "../../tests/game/assist_support.h"
#include "../../tests/game/test_support.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

using namespace sokoban;
using namespace sokoban::testing;
using Clock = std::chrono::steady_clock;

namespace {

double since(Clock::time_point t) {
    return std::chrono::duration<double>(Clock::now() - t).count();
}

} // namespace

int main(int argc, char** argv) {
    double limit = 10;
    std::string only;
    int busy = 0;
    std::filesystem::path bin = HINT_BENCH_BIN_DIR;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--time-limit" && i + 1 < argc)
            limit = std::atof(argv[++i]);
        else if (a == "--set" && i + 1 < argc)
            only = argv[++i];
        else if (a == "--busy" && i + 1 < argc)
            busy = std::atoi(argv[++i]);
        else
            bin = a;
    }
    std::atomic<bool> done{false};
    std::vector<std::thread> load;
    for (int i = 0; i < busy; ++i)
        load.emplace_back([&done] {
            volatile std::uint64_t spin = 0;
            while (!done.load(std::memory_order_relaxed))
                spin = spin + 1;
        });
    std::printf("%-11s %6s %6s %10s %10s %10s %10s %12s\n", "set", "levels", "hinted", "median s",
                "max s", "fast max s", "next max s", "solver<=0.2s");
    for (const char* set : {"easy", "game", "normal", "veryhard", "impossible"}) {
        if (!only.empty() && only != set) continue;
        TempDir dir;
        std::filesystem::copy_file(bin / (std::string(set) + ".box"), dir.path / "game.box");
        RecordingView view;
        HookedDialogs dialogs;
        GameModel game{view, dialogs};
        QueuedAssistant solver;
        view.model = &game;
        game.setAppDir(dir.path);
        game.settings() = defaultSettings(1024, 768);
        game.setAssistant(&solver.assistant);
        solver.assistant.timeSeconds = limit;
        game.SelectGames(1);
        game.UnlockAllLevels();

        std::vector<double> first, next, fast;
        int hinted = 0;
        for (int level = 1; level <= game.levelCount(); ++level) {
            game.playLevel(level);
            // The solver alone, to know the levels it finishes quickly.
            solver::Limits l;
            l.timeSeconds = limit;
            const auto alone = solver::solve(game.position().board(), l);

            const int pushes = game.pushCount();
            auto t = Clock::now();
            game.mHintClick();
            if (solver.assistant.busy()) solver.finish();
            const double latency = since(t);
            if (game.pushCount() != pushes + 1) continue;
            ++hinted;
            first.push_back(latency);
            if (alone.status == solver::Status::Solved && alone.seconds <= 0.2)
                fast.push_back(latency);
            t = Clock::now();
            game.mHintClick();
            if (solver.assistant.busy()) solver.finish();
            next.push_back(since(t));
        }
        const auto median = [](std::vector<double> v) {
            if (v.empty()) return 0.0;
            std::sort(v.begin(), v.end());
            return v[v.size() / 2];
        };
        const auto max = [](const std::vector<double>& v) {
            return v.empty() ? 0.0 : *std::max_element(v.begin(), v.end());
        };
        std::printf("%-11s %6d %6d %10.4f %10.4f %10.4f %10.6f %12zu\n", set, game.levelCount(),
                    hinted, median(first), max(first), max(fast), max(next), fast.size());
    }
    done = true;
    for (auto& t : load)
        t.join();
    return 0;
}

// Opening a level set and reading a level: what the player waits for when
// switching sets. Aim: under 5 ms for a 1000-level set opened the first time.
#include "storage/level_set.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>

using namespace sokoban;
namespace fs = std::filesystem;

namespace {

constexpr int kLevels = 1000;

// A scratch program directory holding a level set of kLevels levels.
struct Scratch {
    fs::path dir;
    std::string game;
    explicit Scratch(const char* name) {
        char pattern[] = "/tmp/levels_bench_XXXXXX";
        if (!::mkdtemp(pattern)) std::abort();
        dir = pattern;
        game = (dir / name).string();
        std::ofstream out(game, std::ios::binary);
        for (int i = 0; i < kLevels; ++i) {
            TMazeData m;
            m.man = static_cast<std::int16_t>(35 + i % 600);
            m.cells.fill(kFloor);
            const Bytes r = m.encode();
            out.write(reinterpret_cast<const char*>(r.data()),
                      static_cast<std::streamsize>(r.size()));
        }
    }
    ~Scratch() { fs::remove_all(dir); }
    void removeCompanions() const {
        for (const char* ext : {".sav", ".bst", ".sol"})
            fs::remove(companionBase(game) + ext);
    }
};

// The first opening of a set: all three companion files are created.
void BM_OpenFreshSetAndReadLevel(benchmark::State& state, const char* name) {
    const Scratch s(name);
    for (auto _ : state) {
        state.PauseTiming();
        s.removeCompanions();
        state.ResumeTiming();
        const OpenedSet set = openLevelSet(s.game, s.dir);
        benchmark::DoNotOptimize(
            RecordFile(s.game, TMazeData::kSize).get<TMazeData>(set.maxLevel - 1));
    }
}
BENCHMARK_CAPTURE(BM_OpenFreshSetAndReadLevel, ordinary, "mine.box")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenFreshSetAndReadLevel, open_set, "easy.box")->Unit(benchmark::kMillisecond);

// Opening a set played before: the companion files are only checked.
void BM_ReopenSetAndReadLevel(benchmark::State& state) {
    const Scratch s("mine.box");
    openLevelSet(s.game, s.dir);
    for (auto _ : state) {
        const OpenedSet set = openLevelSet(s.game, s.dir);
        benchmark::DoNotOptimize(
            RecordFile(s.game, TMazeData::kSize).get<TMazeData>(set.maxLevel - 1));
    }
}
BENCHMARK(BM_ReopenSetAndReadLevel)->Unit(benchmark::kMillisecond);

void BM_ReadLevel(benchmark::State& state) {
    const Scratch s("mine.box");
    const RecordFile levels(s.game, TMazeData::kSize);
    std::int64_t n = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(levels.get<TMazeData>(n));
        n = (n + 397) % kLevels;
    }
}
BENCHMARK(BM_ReadLevel)->Unit(benchmark::kMicrosecond);

} // namespace

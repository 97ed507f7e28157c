// The level manager's preview: a click on an entry reads the level shown.
// Aim: a click on a level of a very large set costs what a click on a level
// of a small one costs (well under a millisecond), and no memory in
// proportion to the file.
#include "ui/designer/level_set_rewrite.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/resource.h>
#include <unistd.h>

using namespace sokoban;
namespace fs = std::filesystem;

namespace {

// A scratch folder holding a level set of the given number of levels.
struct Scratch {
    fs::path dir, file;
    explicit Scratch(std::int64_t levels) {
        char pattern[] = "/tmp/tools_bench_XXXXXX";
        if (!::mkdtemp(pattern)) std::abort();
        dir = pattern;
        file = dir / "large.box";
        TMazeData m;
        m.man = 35;
        m.cells.fill(kFloor);
        const Bytes one = m.encode();
        Bytes block;
        for (int k = 0; k < 1000; ++k)
            block.insert(block.end(), one.begin(), one.end());
        const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0) std::abort();
        for (std::int64_t done = 0; done < levels; done += 1000) {
            const auto n = static_cast<std::size_t>(std::min<std::int64_t>(1000, levels - done));
            if (::write(fd, block.data(), n * one.size()) != static_cast<ssize_t>(n * one.size()))
                std::abort();
        }
        ::close(fd);
    }
    ~Scratch() { fs::remove_all(dir); }
};

long maxRssKb() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

// One preview click: the level at a spread of places in the file.
void BM_PreviewLevel(benchmark::State& state) {
    const Scratch s(state.range(0));
    const int count = levelCountOf(s.file);
    const long before = maxRssKb();
    int k = 0;
    for (auto _ : state) {
        const int index = static_cast<int>((static_cast<std::int64_t>(k++) * 7919) % count);
        benchmark::DoNotOptimize(readLevelOf(s.file, index));
    }
    state.counters["fileMB"] = static_cast<double>(fs::file_size(s.file)) / 1e6;
    state.counters["extraRssMB"] = static_cast<double>(maxRssKb() - before) / 1e3;
}
BENCHMARK(BM_PreviewLevel)->Arg(100)->Arg(700'000)->Unit(benchmark::kMillisecond);

} // namespace

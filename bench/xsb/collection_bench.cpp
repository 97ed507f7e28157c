// Reading a large collection must take bounded memory and well under two
// seconds for 100 MB: the reader streams, and only the level being read is
// held.
#include "storage/level_collection.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

using namespace sokoban;
namespace fs = std::filesystem;

const fs::path kBenchDir =
    fs::temp_directory_path() / ("sokoban-collection-bench-" + std::to_string(getpid()));
struct Cleanup {
    ~Cleanup() {
        std::error_code ec;
        fs::remove_all(kBenchDir, ec);
    }
} cleanup;

long peakRssKb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

// Levels of every common form, each with its metadata, CR LF line ends.
fs::path collectionFile(int megabytes) {
    fs::create_directories(kBenchDir);
    const fs::path path = kBenchDir / ("collection" + std::to_string(megabytes) + ".sok");
    if (fs::exists(path)) return path;
    std::ofstream out(path, std::ios::binary);
    const std::string levels[] = {
        "    #####\r\n    #   #\r\n    #$  #\r\n  ###  $##\r\n  #  $ $ #\r\n### # ## #   ######\r\n"
        "#   # ## #####  ..#\r\n# $  $          ..#\r\n##### ### #@##  ..#\r\n    #     "
        "#########\r\n"
        "    #######\r\nTitle: A long one\r\nAuthor: The team\r\n\r\n",
        "; 2\r\n--#####\r\n--#@-$.#\r\n--#####\r\n\r\n",
        "Title: Run lengths\r\n5#|#.$@#|5#\r\n\r\n",
        "\xef\xbb\xbf\t####\r\n\t#@*#\r\n\t####\r\nComment:\r\nnotes\r\nComment-End:\r\n\r\n",
        std::string(40, '#') + "\r\n#@$." + std::string(35, ' ') + "#\r\n\r\n",
    };
    const std::uintmax_t limit = std::uintmax_t(megabytes) << 20;
    std::uintmax_t size = 0;
    for (std::size_t i = 0; size < limit; ++i) {
        const std::string& l = levels[i % std::size(levels)];
        out << l;
        size += l.size();
    }
    return path;
}

void BM_ReadCollection(benchmark::State& state) {
    const fs::path path = collectionFile(int(state.range(0)));
    for (auto _ : state) {
        long playable = 0;
        LevelTextReader reader([&](TextLevel& l) {
            if (!tooLarge(l)) {
                benchmark::DoNotOptimize(levelMaze(l));
                ++playable;
            }
        });
        if (readLevelTextFile(path, reader) != XsbStatus::Ok) state.SkipWithError("unreadable");
        state.counters["levels"] = double(reader.levelCount());
        state.counters["playable"] = double(playable);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(fs::file_size(path)));
    state.counters["peak_rss_kb"] = double(peakRssKb());
}
BENCHMARK(BM_ReadCollection)->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond);

// A first import writes the set and its index; the levels folder is emptied
// every time so that nothing is found again.
void BM_ImportCollection(benchmark::State& state) {
    const fs::path path = collectionFile(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(kBenchDir / "levels");
        state.ResumeTiming();
        const OpenedLevelText opened = openLevelTextFile(path, kBenchDir / "levels");
        if (!opened.collection) state.SkipWithError("not a collection");
        state.counters["imported"] = double(opened.set.imported);
    }
    state.counters["peak_rss_kb"] = double(peakRssKb());
}
BENCHMARK(BM_ImportCollection)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

} // namespace

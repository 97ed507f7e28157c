// Reading an XSB file must take bounded memory and little time whatever the
// file holds: one level among megabytes of other text, or one huge line.
#include "storage/xsb.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using namespace sokoban;
namespace fs = std::filesystem;

// The files live for the run only.
const fs::path kBenchDir =
    fs::temp_directory_path() / ("sokoban-xsb-bench-" + std::to_string(getpid()));
struct Cleanup {
    ~Cleanup() {
        std::error_code ec;
        fs::remove_all(kBenchDir, ec);
    }
} cleanup;

fs::path benchDir() {
    fs::create_directories(kBenchDir);
    return kBenchDir;
}

long peakRssKb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

// One level followed by titles, comments, Chinese notes, rows spoilt by a
// tab or a dash, and long lines, with LF and CR LF line ends; written piece
// by piece so that making the file costs no memory either.
fs::path mixedFile(int megabytes) {
    const fs::path path = benchDir() / ("mixed" + std::to_string(megabytes) + ".xsb");
    if (fs::exists(path)) return path;
    std::ofstream out(path, std::ios::binary);
    out << "Title: a warehouse\r\n  #####\r\n###   #\r\n#.@$  #\r\n### $.#\r\n#.##$ #\r\n"
           "# # . ##\r\n#$ *$$.#\r\n#   .  #\r\n########\r\n";
    const std::string pieces[] = {
        "Title: level of the collection\n",
        "; comment: pushed around for a long while, then solved\r\n",
        "\xe8\xbf\x99\xe6\x98\xaf\xe4\xb8\x80\xe4\xb8\xaa\xe5\x85\xb3\xe5\x8d\xa1\n",
        "#  $  .  #\t#\n",
        "########################################-\r\n",
        "\n",
        "Author: the team, " + std::string(200, 'x') + "\n",
        "#@ $ . # $ . # $ . # $ . # $ . # $ . # $ . # $ . # $ . # $ . # $ . # $ . #_\n",
    };
    const std::uintmax_t limit = std::uintmax_t(megabytes) << 20;
    std::uintmax_t size = 0;
    for (std::size_t i = 0; size < limit; ++i) {
        const std::string& p = pieces[i % std::size(pieces)];
        out << p;
        size += p.size();
    }
    return path;
}

// A single line of level characters, spoilt by its last byte.
fs::path oneLineFile(int megabytes) {
    const fs::path path = benchDir() / ("line" + std::to_string(megabytes) + ".xsb");
    if (fs::exists(path)) return path;
    std::ofstream out(path, std::ios::binary);
    const std::string chunk(1 << 16, '#');
    for (int i = 0; i < megabytes * 16; ++i)
        out << chunk;
    out << "x";
    return path;
}

void run(benchmark::State& state, const fs::path& path) {
    for (auto _ : state) {
        const XsbResult r = readXsb(path);
        if (r.status != XsbStatus::Ok) state.SkipWithError("file refused");
        benchmark::DoNotOptimize(r);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(fs::file_size(path)));
    state.counters["peak_rss_kb"] = double(peakRssKb());
}

void BM_ReadMixedText(benchmark::State& state) {
    run(state, mixedFile(int(state.range(0))));
}
BENCHMARK(BM_ReadMixedText)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_ReadOneHugeLine(benchmark::State& state) {
    run(state, oneLineFile(int(state.range(0))));
}
BENCHMARK(BM_ReadOneHugeLine)->Arg(10)->Unit(benchmark::kMillisecond);

} // namespace

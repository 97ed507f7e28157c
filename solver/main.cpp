// sokoban-solve: solves every level of a level set (.box) or of a text file
// in XSB notation (read as the game reads level text: collections, titles,
// run lengths and the other tolerant forms) and prints one line per level:
//   N <TAB> STATUS <TAB> MOVES <TAB> PUSHES <TAB> SECONDS <TAB> LURD
// A level that cannot be read is named on standard error instead. Exit
// status: 0 every level read, 1 some level not, 2 no file or bad arguments.
#include "core/level_text.h"
#include "core/lurd.h"
#include "solver/solver.h"
#include "storage/maze_board.h"
#include "storage/records.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

using namespace sokoban;
using namespace sokoban::solver;

namespace {

int usage(const char* why) {
    std::fprintf(stderr,
                 "sokoban-solve: %s\n"
                 "usage: sokoban-solve [--time-limit SECONDS] [--memory-limit MB] [--threads N] "
                 "FILE\n",
                 why);
    return 2;
}

bool parseNumber(const char* text, double& value) {
    char* end = nullptr;
    value = std::strtod(text, &end);
    return end != text && *end == '\0' && value > 0 && value < 1e12;
}

bool endsWithBox(const std::string& path) {
    if (path.size() < 4) return false;
    std::string tail = path.substr(path.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return tail == ".box";
}

void report(int number, const core::Board& level, const Limits& limits) {
    Result r = solve(level, limits);
    std::string lurd = r.status == Status::Solved ? core::lurdOf(level, r.moves) : std::string();
    std::printf("%d\t%s\t%d\t%d\t%.3f\t%s\n", number, statusName(r.status), r.moveCount,
                r.pushCount, r.seconds, lurd.c_str());
    std::fflush(stdout);
}

void unreadable(int number, const std::string& why) {
    std::fprintf(stderr, "sokoban-solve: level %d could not be read: %s\n", number, why.c_str());
}

} // namespace

int main(int argc, char** argv) {
    Limits limits;
    limits.timeSeconds = 60;
    std::string file;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        double value = 0;
        if (arg == "--time-limit" || arg == "--memory-limit" || arg == "--threads") {
            if (i + 1 >= argc) return usage(("missing value after " + arg).c_str());
            if (!parseNumber(argv[++i], value))
                return usage(("bad value for " + arg + ": " + argv[i]).c_str());
            if (arg == "--time-limit")
                limits.timeSeconds = value;
            else if (arg == "--memory-limit")
                limits.memoryBytes = static_cast<std::size_t>(value * 1024 * 1024);
            else
                limits.threads = static_cast<int>(value);
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
            return usage(("unknown option " + arg).c_str());
        } else if (file.empty()) {
            file = arg;
        } else {
            return usage("more than one file given");
        }
    }
    if (file.empty()) return usage("no file given");

    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "sokoban-solve: cannot open %s\n", file.c_str());
        return 2;
    }
    bool allRead = true;
    if (endsWithBox(file)) {
        in.seekg(0, std::ios::end);
        const std::streamoff size = in.tellg();
        in.seekg(0);
        if (size <= 0 || size % static_cast<std::streamoff>(TMazeData::kSize) != 0) {
            std::fprintf(stderr, "sokoban-solve: %s is not a level set (size %lld)\n", file.c_str(),
                         static_cast<long long>(size));
            return 2;
        }
        const long long count = size / static_cast<std::streamoff>(TMazeData::kSize);
        Bytes record(TMazeData::kSize);
        for (long long n = 1; n <= count; ++n) {
            if (!in.read(reinterpret_cast<char*>(record.data()),
                         static_cast<std::streamsize>(record.size()))) {
                std::fprintf(stderr, "sokoban-solve: %s: read error at level %lld\n", file.c_str(),
                             n);
                return 2;
            }
            const core::Board level = boardOf(TMazeData::decode(record));
            const std::string why = invalidReason(level);
            if (!why.empty()) {
                unreadable(static_cast<int>(n), why);
                allRead = false;
                continue;
            }
            report(static_cast<int>(n), level, limits);
        }
    } else {
        // Each level is solved as soon as the text after it is read.
        core::LevelTextReader reader([&](core::TextLevel& text) {
            const std::string line = " (line " + std::to_string(text.firstLine) + ")";
            std::string why;
            if (!text.fits())
                why = "larger than " + std::to_string(core::kMaxSide) + " x " +
                      std::to_string(core::kMaxSide);
            else if (!text.hasWorker())
                why = "no worker";
            if (!why.empty()) {
                unreadable(text.number, why + line);
                allRead = false;
                return;
            }
            report(text.number, text.board(), limits);
        });
        std::vector<char> buffer(64 * 1024);
        while (in) {
            in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
            reader.feed({buffer.data(), static_cast<std::size_t>(in.gcount())});
        }
        if (in.bad()) {
            std::fprintf(stderr, "sokoban-solve: %s: read error\n", file.c_str());
            return 2;
        }
        reader.finish();
        if (reader.levelCount() == 0) {
            std::fprintf(stderr, "sokoban-solve: %s holds no levels\n", file.c_str());
            return 2;
        }
    }
    return allRead ? 0 : 1;
}

// solve_levels: writes the stored solutions of a level set with the game's
// own solver, one line a level: u d l r for steps, U D L R for pushes.
//
//   solve_levels <set>.txt [-o solutions.txt] [-l level] [-t seconds]
//                [--threads N] [--keep old.txt]
//
// Every solution is replayed by the game's rules before it is written and
// must fit an answer record. A level the solver does not solve within -t
// seconds (60 by default) keeps its line of the old solutions when that
// line still solves it: the file named by --keep, else the -o file as it
// was. With -l only that level is solved and every other line is kept.
// Without -o the lines go to standard output.
//
// One line a level on standard error: the figures of the solution and the
// solver's time; at the end the time for the whole set. The exit status is 1
// when some level is left without a solution, 2 when the files cannot be
// read or written.
#include "level_checks.h"
#include "set_text.h"

#include "core/lurd.h"
#include "solver/solver.h"
#include "storage/records.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace sokoban;

struct Options {
    fs::path input;
    fs::path output;
    fs::path keep;
    int only = 0;
    double seconds = 60;
    int threads = 0;
};

int usage(const std::string& why) {
    std::fprintf(stderr,
                 "solve_levels: %s\n"
                 "usage: solve_levels <set>.txt [-o solutions.txt] [-l level] [-t seconds]\n"
                 "                    [--threads N] [--keep old.txt]\n",
                 why.c_str());
    return 2;
}

bool number(const char* text, double& value) {
    char* end = nullptr;
    value = std::strtod(text, &end);
    return end != text && *end == '\0' && value > 0;
}

// What became of one level.
struct Outcome {
    std::string line;
    bool solved = false; // a line that solves the level, new or kept
};

Outcome solveLevel(int number, const settext::SetLevel& level, const std::string& old,
                   const solver::Limits& limits) {
    Outcome out;
    const solver::Result r = solver::solve(level.board, limits);
    std::fprintf(stderr, "level %2d: boxes %2d  ", number, level.board.boxCount());
    std::string why;
    if (r.status == solver::Status::Solved) {
        const std::string lurd = core::lurdOf(level.board, r.moves);
        const levelcheck::Replay replayed = levelcheck::replay(level.board, lurd);
        if (!replayed.solved)
            why = "its solution fails the replay: " + replayed.error;
        else if (lurd.size() > static_cast<std::size_t>(TAnswerData::kCapacity))
            why = "its solution is longer than an answer record holds";
        if (why.empty()) {
            std::fprintf(stderr, "pushes %4d  moves %5d  nodes %10llu  %7.2fs%s\n", r.pushCount,
                         r.moveCount, static_cast<unsigned long long>(r.nodes), r.seconds,
                         r.fewestPushes ? "  fewest pushes" : "");
            out.line = lurd;
            out.solved = true;
            return out;
        }
    } else {
        why = std::string(solver::statusName(r.status)) +
              (r.reason.empty() ? std::string() : " (" + r.reason + ")");
    }
    if (!old.empty() && levelcheck::replay(level.board, old).solved) {
        std::fprintf(stderr, "solver %s after %.2fs; the stored solution stays\n", why.c_str(),
                     r.seconds);
        out.line = old;
        out.solved = true;
        return out;
    }
    std::fprintf(stderr, "NOT SOLVED: solver %s after %.2fs\n", why.c_str(), r.seconds);
    return out;
}

} // namespace

int main(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        double value = 0;
        if ((arg == "-o" || arg == "--keep") && hasValue) {
            (arg == "-o" ? o.output : o.keep) = argv[++i];
        } else if ((arg == "-l" || arg == "-t" || arg == "--threads") && hasValue) {
            if (!number(argv[++i], value)) return usage("bad value for " + arg);
            if (arg == "-l")
                o.only = static_cast<int>(value);
            else if (arg == "-t")
                o.seconds = value;
            else
                o.threads = static_cast<int>(value);
        } else if (arg.size() > 1 && arg[0] == '-') {
            return usage("unknown option " + arg);
        } else if (o.input.empty()) {
            o.input = arg;
        } else {
            return usage("more than one level text given");
        }
    }
    if (o.input.empty()) return usage("no level text given");
    if (o.keep.empty() && !o.output.empty() && fs::exists(o.output)) o.keep = o.output;

    std::vector<settext::SetLevel> levels;
    std::vector<std::string> old;
    try {
        levels = settext::readSetFile(o.input);
        if (!o.keep.empty()) old = levelcheck::readSolutions(o.keep);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "solve_levels: %s\n", e.what());
        return 2;
    }
    old.resize(levels.size());

    solver::Limits limits;
    limits.timeSeconds = o.seconds;
    limits.threads = o.threads;
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::string> lines;
    int unsolved = 0, solvedHere = 0;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const int n = static_cast<int>(i) + 1;
        if (o.only != 0 && n != o.only) {
            lines.push_back(old[i]);
            continue;
        }
        const Outcome out = solveLevel(n, levels[i], old[i], limits);
        lines.push_back(out.line);
        unsolved += !out.solved;
        ++solvedHere;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::fprintf(stderr, "%s: %d level(s) in %.2fs, %d without a solution\n",
                 o.input.filename().string().c_str(), solvedHere, seconds, unsolved);

    std::string text;
    for (const auto& l : lines)
        text += l + "\n";
    if (o.output.empty()) {
        std::fwrite(text.data(), 1, text.size(), stdout);
    } else {
        const fs::path temp = o.output.string() + ".new";
        {
            std::ofstream out(temp, std::ios::binary);
            out << text;
            if (!out) {
                std::fprintf(stderr, "solve_levels: %s cannot be written\n", temp.string().c_str());
                return 2;
            }
        }
        fs::rename(temp, o.output);
    }
    return unsolved ? 1 : 0;
}

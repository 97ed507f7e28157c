// Solves every level of a corpus file and prints, per tier (the title line
// before each level, up to '#'), how many were solved, the time taken and
// the positions expanded per second.
//
//   solver_bench [--time-limit S] [--threads N] [--cpu] [--answers FILE] [--verbose] [CORPUS]
// CORPUS defaults to the corpus.txt beside this source file. --cpu counts
// the limit and the times in processor time of the whole process shared
// out over the threads, so that a machine busy with other work gives the
// same figures as a quiet one. --answers writes a line per level as
// sokoban-solve does.
#include "core/level_text.h"
#include "core/lurd.h"
#include "solver/solver.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

using namespace sokoban::solver;

namespace {

struct TierStats {
    int levels = 0, solved = 0, unsolvable = 0, failed = 0;
    double seconds = 0, worst = 0;
    std::vector<double> times;
    std::uint64_t nodes = 0;
    long long pushes = 0;
};

// Processor time of the whole process over the searching threads.
class CpuClock final : public SolveClock {
  public:
    explicit CpuClock(int threads) : threads_(threads) {}
    double wallSeconds() const override { return read(CLOCK_PROCESS_CPUTIME_ID) / threads_; }
    double threadSeconds() const override { return read(CLOCK_THREAD_CPUTIME_ID); }

  private:
    static double read(clockid_t id) {
        timespec t{};
        clock_gettime(id, &t);
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
    }
    int threads_;
};

} // namespace

int main(int argc, char** argv) {
    Limits limits;
    limits.timeSeconds = 10;
    bool verbose = false, cpu = false;
    std::string path = SOLVER_CORPUS, answersPath;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--time-limit" && i + 1 < argc)
            limits.timeSeconds = std::atof(argv[++i]);
        else if (a == "--threads" && i + 1 < argc)
            limits.threads = std::atoi(argv[++i]);
        else if (a == "--verbose")
            verbose = true;
        else if (a == "--cpu")
            cpu = true;
        else if (a == "--answers" && i + 1 < argc)
            answersPath = argv[++i];
        else
            path = a;
    }
    const int threads = limits.threads > 0 ? std::min(limits.threads, 2) : 2;
    const CpuClock cpuClock(threads);
    if (cpu) limits.clock = &cpuClock;
    std::ofstream answers;
    if (!answersPath.empty()) answers.open(answersPath, std::ios::binary);
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot open %s\n", path.c_str());
        return 2;
    }
    // Titles: the last non-level line before each level.
    std::vector<std::string> titles;
    {
        std::string line, last;
        bool inLevel = false;
        while (std::getline(in, line)) {
            bool isLevel = !line.empty() && line.find('#') != std::string::npos &&
                           line.find_first_not_of("#@+$*. -_") == std::string::npos;
            if (isLevel && !inLevel) titles.push_back(last);
            if (!isLevel) last = line;
            inLevel = isLevel;
        }
        in.clear();
        in.seekg(0);
    }
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::vector<sokoban::core::TextLevel> texts = sokoban::core::readLevelText(text);
    std::map<std::string, TierStats> tiers;
    std::vector<std::string> order;
    TierStats all;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (!texts[i].fits() || !texts[i].hasWorker()) continue;
        const sokoban::core::Board lv = texts[i].board();
        std::string tier = i < titles.size() ? titles[i].substr(0, titles[i].find('#')) : "";
        if (!tiers.count(tier)) order.push_back(tier);
        Result r = solve(lv, limits);
        if (answers.is_open()) {
            char seconds[32];
            std::snprintf(seconds, sizeof seconds, "%.3f", r.seconds);
            answers << i + 1 << '\t' << statusName(r.status) << '\t' << r.moveCount << '\t'
                    << r.pushCount << '\t' << seconds << '\t' << sokoban::core::lurdOf(lv, r.moves)
                    << '\n'
                    << std::flush;
        }
        for (TierStats* s : {&tiers[tier], &all}) {
            ++s->levels;
            s->solved += r.status == Status::Solved;
            s->unsolvable += r.status == Status::Unsolvable;
            s->failed += r.status != Status::Solved && r.status != Status::Unsolvable;
            s->seconds += r.seconds;
            s->worst = std::max(s->worst, r.seconds);
            s->times.push_back(r.seconds);
            s->nodes += r.nodes;
            s->pushes += r.pushCount;
        }
        if (verbose)
            std::printf("%zu\t%s\t%s\t%d\t%d\t%.3f\t%llu\n", i + 1, tier.c_str(),
                        statusName(r.status), r.moveCount, r.pushCount, r.seconds,
                        static_cast<unsigned long long>(r.nodes));
        std::fflush(stdout);
    }
    auto row = [](const std::string& name, TierStats& s) {
        std::sort(s.times.begin(), s.times.end());
        double median = s.times.empty() ? 0 : s.times[s.times.size() / 2];
        std::printf("%-20s %6d %6d %6d %6d %9.3f %9.3f %9.3f %12llu %10.0f %8.1f\n", name.c_str(),
                    s.levels, s.solved, s.unsolvable, s.failed, s.seconds, median, s.worst,
                    static_cast<unsigned long long>(s.nodes),
                    s.seconds > 0 ? s.nodes / s.seconds : 0.0,
                    s.solved ? static_cast<double>(s.pushes) / s.solved : 0.0);
    };
    std::printf("%-20s %6s %6s %6s %6s %9s %9s %9s %12s %10s %8s\n", "tier", "levels", "solved",
                "unsolv", "failed", "total s", "median s", "worst s", "nodes", "nodes/s", "pushes");
    for (const auto& name : order)
        row(name, tiers[name]);
    row("all", all);
    return 0;
}

// level_table: the figures of the built-in level sets, one line a level, and
// the quality checks and difficulty order built on them.
//
//   level_table [--quick] [--set NAME] [--time-limit S] [--probe-limit S]
//               [-o FILE]
//       prints the table; without --quick the solver library solves every
//       level (one thread, at most S seconds, 30 by default), and every
//       position one push from the start (at most the probe limit, 2 s by
//       default), and the table is also written to levels_table.txt beside
//       the level texts (or FILE). --quick leaves the solver out and writes
//       no file unless -o is given.
//   level_table --set NAME --update [limits as above] [-o FILE]
//       measures one set and puts its lines and closing note in place of
//       that set's in levels_table.txt (or FILE), the other sets' kept: one
//       rebuilt set need not wait for the solver on all five.
//   level_table --check
//       the quality checks over all five sets (no solver): exit status 1
//       and one line a level for every fault found.
//   level_table --sort SET [--keep K] [--time-limit S]
//       rewrites SET.txt and its stored solutions in order: the levels the
//       player with no look-ahead solves first, then by the human score;
//       headings renumbered; the first K levels keep their places.
//   --texts DIR and --solutions DIR read and write other copies of the files.
//
// The difficulty score of a level:
//
//   score = 20 log10(1 + pushes) + 10 log10(1 + changes) + 10 log10(1 + nodes)
//
// pushes and changes from the stored solution (changes: pushes that move
// another box than the push before), nodes the positions the solver searched.
// Length, juggling of boxes and how hard the level is to search each count;
// logarithms because each runs over several orders of magnitude between the
// first lesson and the hardest level. A level the solver did not finish
// counts with the nodes it searched until it stopped.
//
// The human score (humanScore in human_measures.h) leaves the solver's
// search out: how long and how juggled the stored solution is, its pushes
// over the lower bound, how few first pushes keep the level open, the boxes
// and the floor per box. A person does not feel positions searched, so the
// sets are ordered by this one.

#include "human_measures.h"
#include "level_checks.h"
#include "solver/solver.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
namespace lc = sokoban::levelcheck;
namespace sv = sokoban::solver;

const char* const kFormula =
    "score = 20 log10(1 + pushes) + 10 log10(1 + chg) + 10 log10(1 + nodes)";

struct SolverFigures {
    sv::Status status = sv::Status::Invalid;
    int pushes = 0;
    std::uint64_t nodes = 0;
    double seconds = 0;
};

// What a person meets: the player with no look-ahead, and with the solver
// the lower bound and the first pushes that keep the level open.
struct HumanFigures {
    bool nearest = false;  // the no-look-ahead player solves it, nearest target
    bool enclosed = false; // ... most enclosed target
    int lowerBound = -1;
    lc::Narrowness firstPushes;
    bool greedy() const { return nearest || enclosed; }
};

struct Row {
    std::string set;
    int number = 0;
    lc::Shape shape;
    lc::Replay replay;
    HumanFigures human;
    std::optional<SolverFigures> solver;
    int unused = 0; // squares of floor the stored solution never enters
    double floorPerBox() const {
        return shape.boxes ? static_cast<double>(shape.floorArea) / shape.boxes : 0;
    }
    // The share of the floor the stored solution leaves unused, in percent.
    std::optional<double> unusedShare() const {
        if (!replay.solved || shape.floorArea == 0) return std::nullopt;
        return 100.0 * unused / shape.floorArea;
    }
    // Pushes of the stored solution over the solver's lower bound.
    std::optional<double> overBound() const {
        if (!solver || human.lowerBound <= 0 || !replay.solved) return std::nullopt;
        return static_cast<double>(replay.pushes) / human.lowerBound;
    }
    // Without the solver's figures there is no lower bound nor first pushes.
    std::optional<double> humanScore() const {
        if (!solver || !replay.solved) return std::nullopt;
        lc::PersonFigures f;
        f.pushes = replay.pushes;
        f.boxChanges = replay.boxChanges;
        f.boxes = shape.boxes;
        f.floorPerBox = floorPerBox();
        if (const auto o = overBound()) f.overBound = *o;
        if (human.firstPushes.pushes > 0)
            f.openShare = static_cast<double>(human.firstPushes.open) / human.firstPushes.pushes;
        return lc::humanScore(f);
    }
    double score() const {
        const double nodes = solver ? static_cast<double>(solver->nodes) : 0;
        return 20 * std::log10(1.0 + replay.pushes) + 10 * std::log10(1.0 + replay.boxChanges) +
               10 * std::log10(1.0 + nodes);
    }
};

struct Options {
    fs::path texts = LEVELS_TEXT_DIR;
    fs::path solutions = LEVELS_SOLUTION_DIR;
    bool quick = false;
    bool check = false;
    bool update = false;
    std::string only;
    std::string sort;
    int keep = 0;
    double timeLimit = 30;
    double probeLimit = 2;
    fs::path out;
};

Row figuresOf(const lc::SetText& set, std::size_t i, bool solve, double timeLimit,
              double probeLimit) {
    Row row;
    row.set = set.name;
    row.number = static_cast<int>(i) + 1;
    const auto& level = set.levels[i].board;
    row.shape = lc::shapeOf(level);
    row.replay = lc::replay(level, i < set.solutions.size() ? set.solutions[i] : std::string());
    row.unused = lc::unusedFloor(level, row.replay);
    row.human.nearest = lc::playWithoutLookAhead(level, lc::Greedy::NearestTarget).solved;
    row.human.enclosed = lc::playWithoutLookAhead(level, lc::Greedy::MostEnclosedTarget).solved;
    if (solve) {
        row.human.lowerBound = sv::lowerBound(level);
        row.human.firstPushes = lc::narrowness(level, [probeLimit](const sokoban::core::Board& b) {
            if (sv::lowerBound(b) < 0) return false;
            sv::Limits limits;
            limits.threads = 1;
            limits.timeSeconds = probeLimit;
            return sv::solve(b, limits).status != sv::Status::Unsolvable;
        });
        SolverFigures f;
        sv::Limits limits;
        limits.threads = 1;
        limits.timeSeconds = timeLimit;
        const sv::Result r = sv::solve(level, limits);
        f.status = r.status;
        f.pushes = r.pushCount;
        f.nodes = r.nodes;
        f.seconds = r.seconds;
        row.solver = f;
    }
    return row;
}

std::string header() {
    char line[200];
    std::snprintf(line, sizeof line,
                  "%-10s %3s %5s %6s %5s %6s %6s %10s %10s %7s %5s %6s %6s %5s %5s %7s %3s %6s",
                  "set", "no", "boxes", "size", "area", "pushes", "moves", "s.push", "nodes",
                  "secs", "chg", "score", "human", "fpb", "over", "first", "nla", "unused");
    return line;
}

std::string format(const Row& r) {
    char size[16], pushes[16], moves[16], spush[16], nodes[24], secs[16];
    std::snprintf(size, sizeof size, "%dx%d", r.shape.width, r.shape.height);
    if (r.replay.solved) {
        std::snprintf(pushes, sizeof pushes, "%d", r.replay.pushes);
        std::snprintf(moves, sizeof moves, "%d", r.replay.moves);
    } else {
        std::snprintf(pushes, sizeof pushes, "bad");
        std::snprintf(moves, sizeof moves, "-");
    }
    if (!r.solver) {
        std::snprintf(spush, sizeof spush, "-");
        std::snprintf(nodes, sizeof nodes, "-");
        std::snprintf(secs, sizeof secs, "-");
    } else {
        if (r.solver->status == sv::Status::Solved)
            std::snprintf(spush, sizeof spush, "%d", r.solver->pushes);
        else
            std::snprintf(spush, sizeof spush, "%s", sv::statusName(r.solver->status));
        std::snprintf(nodes, sizeof nodes, "%llu",
                      static_cast<unsigned long long>(r.solver->nodes));
        std::snprintf(secs, sizeof secs, "%.3f", r.solver->seconds);
    }
    char score[16];
    if (r.solver)
        std::snprintf(score, sizeof score, "%.1f", r.score());
    else
        std::snprintf(score, sizeof score, "-");
    char human[16];
    if (const auto h = r.humanScore())
        std::snprintf(human, sizeof human, "%.1f", *h);
    else
        std::snprintf(human, sizeof human, "-");
    char over[16], first[16];
    if (const auto o = r.overBound())
        std::snprintf(over, sizeof over, "%.2f", *o);
    else
        std::snprintf(over, sizeof over, "-");
    if (r.solver)
        std::snprintf(first, sizeof first, "%d/%d", r.human.firstPushes.open,
                      r.human.firstPushes.pushes);
    else
        std::snprintf(first, sizeof first, "-");
    const char* nla = r.human.nearest && r.human.enclosed ? "NE"
                      : r.human.nearest                   ? "N"
                      : r.human.enclosed                  ? "E"
                                                          : "-";
    char unused[16];
    if (const auto u = r.unusedShare())
        std::snprintf(unused, sizeof unused, "%.0f%%", *u);
    else
        std::snprintf(unused, sizeof unused, "-");
    char line[260];
    std::snprintf(line, sizeof line,
                  "%-10s %3d %5d %6s %5d %6s %6s %10s %10s %7s %5d %6s %6s %5.1f %5s %7s %3s %6s",
                  r.set.c_str(), r.number, r.shape.boxes, size, r.shape.floorArea, pushes, moves,
                  spush, nodes, secs, r.replay.boxChanges, score, human, r.floorPerBox(), over,
                  first, nla, unused);
    return line;
}

std::string number(double v, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, v);
    return text;
}

// A time limit as given: "30", "0.5".
std::string seconds(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

// "lo..hi median m" of a list of figures.
std::string spread(std::vector<double> v, int decimals) {
    if (v.empty()) return "-";
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    const double median = n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
    return number(v.front(), decimals) + ".." + number(v.back(), decimals) + " median " +
           number(median, n % 2 ? decimals : std::max(decimals, 1));
}

std::string summary(const std::string& set, const std::vector<Row>& rows, const Options& o) {
    std::vector<double> pushes, boxes, secs, scores, humans, perBox, changes, over, open, unused;
    int greedy = 0;
    for (const auto& r : rows) {
        if (r.set != set) continue;
        pushes.push_back(r.replay.pushes);
        boxes.push_back(r.shape.boxes);
        perBox.push_back(r.floorPerBox());
        changes.push_back(r.replay.boxChanges);
        if (const auto u = r.unusedShare()) unused.push_back(*u);
        greedy += r.human.greedy();
        if (r.solver) {
            secs.push_back(r.solver->seconds);
            scores.push_back(r.score());
            if (const auto h = r.humanScore()) humans.push_back(*h);
            if (const auto o = r.overBound()) over.push_back(*o);
            if (r.human.firstPushes.pushes > 0)
                open.push_back(static_cast<double>(r.human.firstPushes.open) /
                               r.human.firstPushes.pushes);
        }
    }
    std::string s = set + ": " + std::to_string(pushes.size()) + " levels; pushes " +
                    spread(pushes, 0) + "; boxes " + spread(boxes, 0);
    if (!secs.empty())
        s += "; solver seconds " + spread(secs, 3) + " (at most " + seconds(o.timeLimit) +
             ", first pushes " + seconds(o.probeLimit) + " each); score " + spread(scores, 1) +
             "; human " + spread(humans, 1);
    s += "\n  floor per box " + spread(perBox, 1) + "; box changes " + spread(changes, 0);
    if (!over.empty()) s += "; pushes over bound " + spread(over, 2);
    if (!open.empty()) s += "; open first pushes " + spread(open, 2);
    if (!unused.empty()) s += "; unused floor % " + spread(unused, 0);
    s += "\n  the no-look-ahead player solves " + std::to_string(greedy) + " of " +
         std::to_string(pushes.size());
    return s;
}

std::vector<lc::SetText> readSets(const Options& o) {
    std::vector<lc::SetText> sets;
    for (const char* name : lc::kSetNames)
        sets.push_back(lc::readSet(o.texts, o.solutions, name));
    return sets;
}

int runCheck(const Options& o) {
    const auto problems = lc::check(readSets(o));
    for (const auto& p : problems)
        std::printf("%s %d: %s\n", p.set.c_str(), p.number, p.what.c_str());
    if (problems.empty()) std::printf("all levels pass the checks\n");
    return problems.empty() ? 0 : 1;
}

// The table in `path` with the explanations, the lines and the closing note
// of `set` taken from `fresh` (a table of that set alone), every other line
// kept.
std::vector<std::string> updated(const fs::path& path, const std::string& set,
                                 const std::vector<std::string>& fresh) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error(path.string() + ": no table to update");
    std::vector<std::string> old;
    for (std::string line; std::getline(in, line);)
        old.push_back(line);
    const auto isRow = [&set](const std::string& line) {
        return line.size() > set.size() && line.compare(0, set.size(), set) == 0 &&
               line[set.size()] == ' ';
    };
    const auto isNote = [&set](const std::string& line) { return line.rfind(set + ": ", 0) == 0; };
    std::vector<std::string> rows, note;
    for (std::size_t i = 0; i < fresh.size(); ++i) {
        if (isRow(fresh[i])) rows.push_back(fresh[i]);
        if (isNote(fresh[i]))
            for (std::size_t j = i; j < fresh.size() && (j == i || fresh[j].rfind("  ", 0) == 0);
                 ++j)
                note.push_back(fresh[j]);
    }
    // The explanations end with the column heads.
    const auto heads = [](const std::vector<std::string>& t) {
        std::size_t i = 0;
        while (i < t.size() && t[i].rfind("set ", 0) != 0)
            ++i;
        return i;
    };
    const std::size_t oldHeads = heads(old), freshHeads = heads(fresh);
    if (oldHeads == old.size() || freshHeads == fresh.size())
        throw std::runtime_error(path.string() + ": no column heads");
    std::vector<std::string> out(fresh.begin(), fresh.begin() + std::ptrdiff_t(freshHeads) + 1);
    bool rowsDone = false, noteDone = false;
    for (std::size_t i = oldHeads + 1; i < old.size(); ++i) {
        if (isRow(old[i])) {
            if (!rowsDone) out.insert(out.end(), rows.begin(), rows.end());
            rowsDone = true;
        } else if (isNote(old[i])) {
            if (!noteDone) out.insert(out.end(), note.begin(), note.end());
            noteDone = true;
            while (i + 1 < old.size() && old[i + 1].rfind("  ", 0) == 0)
                ++i;
        } else {
            out.push_back(old[i]);
        }
    }
    if (!rowsDone || !noteDone)
        throw std::runtime_error(path.string() + ": the table holds no " + set + " lines");
    return out;
}

int runTable(const Options& o) {
    const auto sets = readSets(o);
    std::vector<Row> rows;
    std::vector<std::string> lines;
    const auto emit = [&lines](const std::string& line) {
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
        lines.push_back(line);
    };
    emit("Figures of the built-in level sets, one line a level (made by level_table).");
    emit("  boxes   boxes on the board; size: width x height of the drawn rows");
    emit("  area    squares the worker can walk on, boxes ignored");
    emit("  pushes, moves   of the stored solution (bad: it does not solve the level)");
    emit("  s.push, nodes, secs   the solver's pushes, positions searched and seconds");
    emit("          (solver library, one thread; its time limits in each set's closing note)");
    emit("  chg     box changes of the stored solution: pushes that move another box");
    emit("          than the push before");
    emit("  fpb     floor per box: area / boxes");
    emit("  over    pushes of the stored solution / the solver's lower bound");
    emit("  first   first pushes after which the level may still be solved / all first");
    emit("          pushes (the solver, a few seconds each; one it gives up on counts as open)");
    emit("  nla     the player with no look-ahead solves it: N pushing each box to the");
    emit("          nearest free target, E to the most enclosed one; - neither");
    emit("  unused  share of the area that neither the worker nor a box enters while");
    emit("          the stored solution is played");
    emit("  " + std::string(kFormula));
    emit("  human = 12 log10(1 + pushes) + 10 log10(1 + chg) + 25 min(over - 1, 1)");
    emit("          + 10 (1 - first) + 2 boxes - max(0, fpb - 7) / 2");
    emit("          what a person meets, no search in it; the sets are ordered by it");
    emit("");
    emit(header());
    int unsolved = 0;
    for (const auto& set : sets) {
        if (!o.only.empty() && set.name != o.only) continue;
        for (std::size_t i = 0; i < set.levels.size(); ++i) {
            rows.push_back(figuresOf(set, i, !o.quick, o.timeLimit, o.probeLimit));
            emit(format(rows.back()));
            if (rows.back().solver && rows.back().solver->status != sv::Status::Solved) ++unsolved;
        }
    }
    emit("");
    for (const auto& set : sets)
        if (o.only.empty() || set.name == o.only) emit(summary(set.name, rows, o));

    fs::path out = o.out;
    if (out.empty() && !o.quick && (o.only.empty() || o.update)) out = o.texts / "levels_table.txt";
    if (o.update) lines = updated(out, o.only, lines);
    if (!out.empty()) {
        std::ofstream file(out);
        for (const auto& l : lines)
            file << l << "\n";
        if (!file) throw std::runtime_error(out.string() + ": cannot be written");
        std::fprintf(stderr, "wrote %s\n", out.string().c_str());
    }
    if (unsolved) std::fprintf(stderr, "%d level(s) the solver did not solve\n", unsolved);
    return unsolved ? 1 : 0;
}

// The heading of a level moved to place n: its number replaced, any words
// after the number kept.
std::string renumbered(const std::string& title, int n) {
    std::size_t digits = 0;
    while (digits < title.size() && std::isdigit(static_cast<unsigned char>(title[digits])))
        ++digits;
    std::string rest = digits ? title.substr(digits) : (title.empty() ? "" : " " + title);
    return "; " + std::to_string(n) + rest;
}

void writeAll(const fs::path& path, const std::string& text) {
    const fs::path temp = path.string() + ".new";
    {
        std::ofstream out(temp, std::ios::binary);
        out << text;
        if (!out) throw std::runtime_error(temp.string() + ": cannot be written");
    }
    fs::rename(temp, path);
}

int runSort(const Options& o) {
    const auto set = lc::readSet(o.texts, o.solutions, o.sort);
    if (set.solutions.size() != set.levels.size())
        throw std::runtime_error(o.sort + ": " + std::to_string(set.levels.size()) +
                                 " levels but " + std::to_string(set.solutions.size()) +
                                 " stored solutions");
    std::vector<double> score;
    std::vector<bool> greedy;
    for (std::size_t i = 0; i < set.levels.size(); ++i) {
        const Row r = figuresOf(set, i, true, o.timeLimit, o.probeLimit);
        std::printf("%s\n", format(r).c_str());
        std::fflush(stdout);
        if (!r.replay.solved)
            throw std::runtime_error(o.sort + " " + std::to_string(r.number) +
                                     ": the stored solution fails: " + r.replay.error);
        score.push_back(r.humanScore().value_or(0));
        greedy.push_back(r.human.greedy());
    }
    std::vector<std::size_t> order(set.levels.size());
    std::iota(order.begin(), order.end(), 0);
    const auto keep =
        std::min<std::size_t>(static_cast<std::size_t>(std::max(o.keep, 0)), order.size());
    std::stable_sort(order.begin() + static_cast<std::ptrdiff_t>(keep), order.end(),
                     [&](std::size_t a, std::size_t b) {
                         if (greedy[a] != greedy[b]) return bool(greedy[a]);
                         return score[a] < score[b];
                     });

    std::string text, solutions;
    for (std::size_t k = 0; k < order.size(); ++k) {
        const auto& level = set.levels[order[k]];
        text += renumbered(level.heading, static_cast<int>(k) + 1) + "\n";
        for (const auto& row : level.rows)
            text += row + "\n";
        solutions += set.solutions[order[k]] + "\n";
    }
    writeAll(o.texts / (o.sort + ".txt"), text);
    writeAll(o.solutions / (o.sort + ".txt"), solutions);
    std::printf("%s: %zu levels in human score order, the first %zu kept in place\n",
                o.sort.c_str(), order.size(), keep);
    return 0;
}

int usage() {
    std::fprintf(stderr, "usage: level_table [--quick] [--set NAME] [--time-limit S]\n"
                         "                   [--probe-limit S] [-o FILE]\n"
                         "       level_table --set NAME --update [--time-limit S]\n"
                         "                   [--probe-limit S] [-o FILE]\n"
                         "       level_table --check\n"
                         "       level_table --sort SET [--keep K] [--time-limit S]\n"
                         "       (any of them with --texts DIR --solutions DIR)\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--quick") {
            o.quick = true;
        } else if (arg == "--update") {
            o.update = true;
        } else if (arg == "--check") {
            o.check = true;
        } else if (arg == "--set" && hasValue) {
            o.only = argv[++i];
        } else if (arg == "--sort" && hasValue) {
            o.sort = argv[++i];
        } else if (arg == "--keep" && hasValue) {
            o.keep = std::atoi(argv[++i]);
        } else if (arg == "--time-limit" && hasValue) {
            o.timeLimit = std::atof(argv[++i]);
        } else if (arg == "--probe-limit" && hasValue) {
            o.probeLimit = std::atof(argv[++i]);
        } else if (arg == "-o" && hasValue) {
            o.out = argv[++i];
        } else if (arg == "--texts" && hasValue) {
            o.texts = argv[++i];
        } else if (arg == "--solutions" && hasValue) {
            o.solutions = argv[++i];
        } else {
            return usage();
        }
    }
    if (o.timeLimit <= 0 || o.probeLimit <= 0) return usage();
    if (o.update && (o.only.empty() || o.quick)) return usage();
    const auto known = [](const std::string& name) {
        return std::any_of(std::begin(lc::kSetNames), std::end(lc::kSetNames),
                           [&name](const char* n) { return name == n; });
    };
    if ((!o.only.empty() && !known(o.only)) || (!o.sort.empty() && !known(o.sort))) {
        std::fprintf(stderr, "level_table: unknown set\n");
        return usage();
    }
    try {
        if (o.check) return runCheck(o);
        if (!o.sort.empty()) return runSort(o);
        return runTable(o);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "level_table: %s\n", e.what());
        return 1;
    }
}

// Generator for the small and medium built-in sets. Each try tiles a room
// from 3 x 3 wall patterns, puts targets with boxes on them, searches
// backwards over pulls (breadth first, so depths are exact push counts) and
// takes the farthest position, preferring solutions that switch boxes often.
// Unused dead ends and pockets the worker never enters become wall. Every
// kept level is solved again by the solver library for its figures; then a
// share per box count is chosen and the set is ordered by a score of those
// figures. The same command line always gives the same text.
//
//   make_levels <easy|game|normal> <seed> <count> [-o out.txt] [-n tries]
//               [-t seconds] [-x other.txt]...
//
// -x names level texts whose puzzles must not come again (any orientation);
// -n is the number of rooms to try, -t a bound on the time for trial runs
// (the tries then depend on the machine). The figures of every chosen level
// go to stderr. The sets were made, in this order, in data/levels:
//
//   make_levels normal 23 66 -n 25745 -x easy.txt -x game.txt -x veryhard.txt
//       -x impossible.txt -o normal.txt
//   make_levels easy 11 56 -n 200000 -x normal.txt -x game.txt -x veryhard.txt
//       -x impossible.txt -o easy.txt
//   make_levels game 37 66 -n 230 -x easy.txt -x normal.txt -x veryhard.txt
//       -x impossible.txt -o game.txt
//
// each -x text as it stood at the time (they only keep exact copies out),
// then solve_levels wrote the solutions and `level_table --sort` (easy with
// --keep 8 for its lessons) put each set in score order. Easy gets its eight
// lessons, below, in front of the generated levels. In the main set, the
// last level (which solve_levels could not finish) was dropped, and the six
// boxes that its stored solutions never move were made wall.

#include "level_gen.h"
#include "level_text.h"
#include "solver/solver.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace sokoban::levelgen;

struct SetParams {
    int minW, maxW, minH, maxH; // inner size
    int minFloor, maxFloor;
    int minBoxes, maxBoxes;
    int minPushes, maxPushes;
    int openW, openH;
    std::size_t cap; // positions of the backward search
};

SetParams paramsFor(const std::string& set) {
    if (set == "easy") return {4, 7, 4, 6, 12, 40, 1, 3, 5, 40, 3, 4, 2'000'000};
    if (set == "normal") return {5, 8, 5, 8, 15, 45, 3, 5, 12, 400, 3, 4, 6'000'000};
    return {7, 14, 6, 10, 30, 100, 3, 8, 15, 150, 4, 4, 700'000};
}

// The first lessons of the easy set, one idea each.
const std::vector<std::vector<std::string>> kLessons = {
    // One push.
    {"#####", "#@$.#", "#####"},
    // Walk round the box to push it the other way.
    {" ######", " #    #", " #@$  #", " ### .#", "   ####"},
    // A box against a wall only slides along it.
    {"########", "# $   .#", "#      #", "#  @   #", "########"},
    // Pushed into the corner it is lost: up first, then along.
    {"######", "#   .#", "# $  #", "#@   #", "######"},
    // Two boxes in a row cannot be pushed together.
    {"#######", "#     #", "#@$$ .#", "#    .#", "#######"},
    // The order of pushes: the far target first.
    {"#######", "#..$  #", "### $ #", "  #  @#", "  #####"},
    // A box already on a target may have to make room.
    {" #####", " #   #", " # # #", "##*$ #", "#.  @#", "######"},
    // Park one box aside to let the other by.
    {" #######", " #  #  #", " # $ $ #", "##  #  #", "#..    #", "#  @####", "####"},
};

struct Candidate {
    std::vector<std::string> rows;
    std::string key;
    int pushes = 0, moves = 0, boxes = 0, floor = 0, changes = 0, lines = 0;
    std::uint64_t nodes = 0;
    double seconds = 0;
    double score = 0;
    double quality = 0;
    bool exact = true; // pushes proved fewest by the complete backward search
};

// Difficulty for ordering: the solver's effort counts most, then the length
// and how often the worker must turn to another box.
double difficulty(const Candidate& c) {
    return std::log2(1.0 + static_cast<double>(c.nodes)) + 0.12 * c.pushes + 0.35 * c.changes +
           0.6 * c.boxes;
}

// Replays pushes on a board: true when the worker can walk to every push.
bool pushesWork(const Board& b, std::vector<int> boxes, int worker,
                const std::vector<std::pair<int, int>>& pushes) {
    std::vector<char> occ(b.wall.size(), 0);
    for (int c : boxes)
        occ[c] = 1;
    for (auto [from, to] : pushes) {
        const int stand = from - (to - from);
        if (b.wall[stand] || b.wall[to] || occ[to] || !occ[from]) return false;
        const auto reach = region(b, occ, worker);
        if (std::find(reach.begin(), reach.end(), stand) == reach.end()) return false;
        occ[from] = 0;
        occ[to] = 1;
        worker = from;
    }
    for (std::size_t c = 0; c < occ.size(); ++c)
        if (occ[c] && !b.target[c]) return false;
    return true;
}

struct Grade {
    bool solved = false;
    int pushes = 0, moves = 0;
    std::uint64_t nodes = 0;
    double seconds = 0;
};

Grade grade(const std::vector<std::string>& rows) {
    Grade g;
    const auto parsed = sokoban::core::fromXsbRows(rows);
    if (!sokoban::solver::invalidReason(parsed).empty()) return g;
    sokoban::solver::Limits limits;
    limits.timeSeconds = 30;
    limits.threads = 1;
    const auto r = sokoban::solver::solve(parsed, limits);
    g.solved = r.status == sokoban::solver::Status::Solved;
    g.pushes = r.pushCount;
    g.moves = r.moveCount;
    g.nodes = r.nodes;
    g.seconds = r.seconds;
    return g;
}

struct Farthest {
    std::uint32_t index = UINT32_MAX;
    std::vector<int> boxes;
    int man = -1;
    std::vector<std::pair<int, int>> pushes; // to the solve
    PushStats stats;
};

// Among the farthest positions of a search, the one whose solution (its
// pushes, then `after`) turns most often to another box and moves every box.
Farthest farthest(const BackSearch& search, const std::vector<std::pair<int, int>>& after) {
    const auto& pos = search.positions();
    const int depth = pos.back().depth;
    Farthest best;
    int looked = 0;
    for (std::size_t i = pos.size(); i-- > 0 && pos[i].depth == depth && looked < 400; ++looked) {
        auto pushes = search.pushesFrom(static_cast<std::uint32_t>(i));
        pushes.insert(pushes.end(), after.begin(), after.end());
        const auto boxes = search.boxCells(pos[i]);
        const auto stats = pushStats(boxes, pushes);
        if (!stats.everyBoxMoves) continue;
        if (best.index == UINT32_MAX || stats.changes > best.stats.changes ||
            (stats.changes == best.stats.changes && stats.lines > best.stats.lines)) {
            best.index = static_cast<std::uint32_t>(i);
            best.boxes = boxes;
            best.man = search.cellOf(pos[i].man);
            best.pushes = std::move(pushes);
            best.stats = stats;
        }
    }
    return best;
}

// One try: a room, its targets and the farthest start. False when the try
// gave nothing worth keeping.
bool tryLevel(const SetParams& sp, std::mt19937_64& rng, Candidate& out) {
    RoomOptions ro;
    ro.innerW = sp.minW + static_cast<int>(rng() % (sp.maxW - sp.minW + 1));
    ro.innerH = sp.minH + static_cast<int>(rng() % (sp.maxH - sp.minH + 1));
    ro.minFloor = sp.minFloor + 4; // trimming takes some away
    ro.maxFloor = sp.maxFloor;
    ro.openW = sp.openW;
    ro.openH = sp.openH;
    Board room = makeRoom(ro, rng);
    if (room.w == 0) return false;
    const int k = sp.minBoxes + static_cast<int>(rng() % (sp.maxBoxes - sp.minBoxes + 1));
    std::vector<int> floor;
    for (int c = 0; c < room.w * room.h; ++c)
        if (!room.wall[c]) floor.push_back(c);
    if (static_cast<int>(floor.size()) < 3 * k + 6) return false;
    std::shuffle(floor.begin(), floor.end(), rng);
    for (int i = 0; i < k; ++i)
        room.target[floor[i]] = 1;

    BackSearch search(room);
    if (!search.usable()) return false;
    bool exact = search.run(sp.cap);
    if (search.positions().back().depth < (exact ? sp.minPushes : 4)) return false;
    Farthest far = farthest(search, {});
    if (far.index == UINT32_MAX) return false;
    // A search cut short finds only the near positions: search on from the
    // farthest one, twice; the joined pushes still solve the level, and the
    // solver later says how many it truly needs.
    for (int round = 0; !exact && round < 2; ++round) {
        BackSearch more(room);
        more.runFrom(far.boxes, far.man, sp.cap);
        Farthest next = farthest(more, far.pushes);
        if (next.index == UINT32_MAX) break;
        far = std::move(next);
    }
    const int depth = static_cast<int>(far.pushes.size());
    if (depth < sp.minPushes || (exact && depth > sp.maxPushes)) return false;
    const PushStats bestStats = far.stats;
    // A lone box pushed in one or two straight runs is no puzzle.
    if (bestStats.lines < 2 * k + 1) return false;

    Board level = room;
    level.boxes = far.boxes;
    std::vector<char> occ(level.wall.size(), 0);
    for (int c : level.boxes)
        occ[c] = 1;
    const auto startRegion = region(level, occ, far.man);
    level.worker = startRegion[rng() % startRegion.size()];
    const auto& pushes = far.pushes;

    // Floor no box and no push needs: dead ends and pockets the worker
    // cannot enter at the start become wall, if the solution still works.
    std::vector<char> used(level.wall.size(), 0), reached(level.wall.size(), 0);
    used[level.worker] = 1;
    for (int c : level.boxes)
        used[c] = 1;
    for (auto [from, to] : pushes) {
        used[from] = used[to] = 1;
        used[from - (to - from)] = 1;
    }
    for (int c : startRegion)
        reached[c] = 1;
    Board trimmed = level;
    for (int c = 0; c < trimmed.w * trimmed.h; ++c)
        if (!trimmed.wall[c] && !used[c] && !reached[c] && !occ[c]) trimmed.wall[c] = 1;
    fillDeadEnds(trimmed, used);
    if (pushesWork(trimmed, level.boxes, level.worker, pushes)) level = trimmed;
    // Then wear unused pockets away from their corners while the solution
    // still works: floor a player would walk round for nothing.
    for (bool changed = true; changed;) {
        changed = false;
        for (int c = 0; c < level.w * level.h; ++c) {
            if (level.wall[c] || used[c]) continue;
            const int up = level.wall[c - level.w], down = level.wall[c + level.w];
            const int left = level.wall[c - 1], right = level.wall[c + 1];
            if (up + down + left + right < 2 || (up && down && !left && !right) ||
                (left && right && !up && !down))
                continue;
            level.wall[c] = 1;
            if (pushesWork(level, level.boxes, level.worker, pushes))
                changed = true;
            else
                level.wall[c] = 0;
        }
    }

    out.rows = toRows(level);
    if (out.rows.size() > 22 || out.rows.front().size() > 34) return false;
    out.key = canonical(fromRows(out.rows));
    out.pushes = depth;
    out.boxes = k;
    out.floor = floorCount(level);
    if (out.floor < sp.minFloor) return false;
    out.exact = exact;
    out.changes = bestStats.changes;
    out.lines = bestStats.lines;
    return true;
}

std::vector<std::vector<std::string>> readRows(const std::string& path) {
    std::ifstream in(path);
    if (!in) {
        std::cerr << "cannot open " << path << "\n";
        std::exit(2);
    }
    std::vector<std::vector<std::string>> out;
    for (const auto& l : sokoban::leveltext::readLevels(in))
        out.push_back(l.rows);
    return out;
}

// How much a level is worth keeping in its set.
double qualityFor(const std::string& set, const Candidate& c) {
    const double perFloor = static_cast<double>(c.pushes) / c.floor;
    if (set == "normal") return perFloor + 0.04 * c.changes + 0.1 * std::log2(1.0 + c.nodes);
    if (set == "easy")
        return 0.05 * c.changes + 0.03 * c.lines / c.boxes + 0.3 * perFloor - 0.01 * c.floor;
    return 0.5 * perFloor + 0.02 * c.changes + 0.1 * std::log2(1.0 + c.nodes);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::cerr << "usage: make_levels <easy|game|normal> <seed> <count> [-o out.txt] "
                     "[-t seconds] [-x other.txt]...\n";
        return 2;
    }
    const std::string set = argv[1];
    const std::uint64_t seed = std::strtoull(argv[2], nullptr, 10);
    const int count = std::atoi(argv[3]);
    std::string output;
    double budget = 1e9;
    int maxTries = 2'000'000;
    std::set<std::string> known;
    for (int i = 4; i + 1 < argc; i += 2) {
        const std::string opt = argv[i];
        if (opt == "-o") {
            output = argv[i + 1];
        } else if (opt == "-t") {
            budget = std::atof(argv[i + 1]);
        } else if (opt == "-n") {
            maxTries = std::atoi(argv[i + 1]);
        } else if (opt == "-x") {
            for (const auto& rows : readRows(argv[i + 1]))
                known.insert(canonical(fromRows(rows)));
        }
    }
    if (set != "easy" && set != "game" && set != "normal") {
        std::cerr << "unknown set " << set << "\n";
        return 2;
    }
    const SetParams sp = paramsFor(set);
    std::vector<std::vector<std::string>> lessons;
    if (set == "easy") lessons = kLessons;
    for (const auto& rows : lessons)
        known.insert(canonical(fromRows(rows)));

    // Try rooms -n times (or until -t runs out: for trials only, as the number
    // of tries then depends on the machine); a seed and a number of tries
    // always give the same list.
    std::mt19937_64 rng(seed);
    std::map<int, std::vector<Candidate>> byBoxes;
    const auto start = std::chrono::steady_clock::now();
    int tries = 0, kept = 0;
    while (tries < maxTries &&
           std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() <
               budget) {
        ++tries;
        Candidate c;
        if (!tryLevel(sp, rng, c)) continue;
        if (!known.insert(c.key).second) continue;
        byBoxes[c.boxes].push_back(std::move(c));
        ++kept;
    }
    std::fprintf(stderr, "%d tries, %d distinct candidates\n", tries, kept);

    // A share of the set for every box count, the best of each by quality.
    const int generated = count;
    const int kinds = sp.maxBoxes - sp.minBoxes + 1;
    std::vector<Candidate> chosen, spare;
    // Grades a candidate with the solver; false when it does not belong.
    auto accept = [&](Candidate& c) {
        const Grade g = grade(c.rows);
        if (!g.solved || g.seconds > 30) return false;
        c.moves = g.moves;
        c.nodes = g.nodes;
        c.seconds = g.seconds;
        if (!c.exact) {
            c.pushes = g.pushes;
            if (c.pushes < sp.minPushes || c.pushes > sp.maxPushes) return false;
        } else if (g.pushes < c.pushes) {
            std::fprintf(stderr, "solver beat the backward search: %d < %d\n", g.pushes, c.pushes);
            std::exit(1);
        }
        c.score = difficulty(c);
        return true;
    };
    for (int k = sp.minBoxes; k <= sp.maxBoxes; ++k) {
        auto& list = byBoxes[k];
        for (auto& c : list)
            c.quality = qualityFor(set, c);
        std::sort(list.begin(), list.end(),
                  [](const Candidate& a, const Candidate& b) { return a.quality > b.quality; });
        int share = generated / kinds + (k - sp.minBoxes < generated % kinds ? 1 : 0);
        // A first course wants few lone boxes and most levels with two.
        if (set == "easy")
            share = k == 1 ? generated * 10 / 56 : k == 2 ? generated * 24 / 56 : share;
        for (auto& c : list) {
            if (share == 0) {
                spare.push_back(std::move(c));
                continue;
            }
            if (!accept(c)) continue;
            chosen.push_back(c);
            --share;
        }
    }
    // Box counts short of their share leave room for the best of the rest.
    std::sort(spare.begin(), spare.end(),
              [](const Candidate& a, const Candidate& b) { return a.quality > b.quality; });
    for (auto& c : spare) {
        if (static_cast<int>(chosen.size()) >= generated) break;
        if (accept(c)) chosen.push_back(std::move(c));
    }
    std::sort(chosen.begin(), chosen.end(),
              [](const Candidate& a, const Candidate& b) { return a.score < b.score; });

    std::ofstream file;
    if (!output.empty()) file.open(output);
    std::ostream& out = output.empty() ? std::cout : file;
    int number = 0;
    for (const auto& rows : lessons) {
        out << "; " << ++number << "\n";
        for (const auto& r : rows)
            out << r << "\n";
    }
    std::fprintf(stderr, "  N pushes moves boxes floor changes lines     nodes    secs  score\n");
    for (const auto& c : chosen) {
        out << "; " << ++number << "\n";
        for (const auto& r : c.rows)
            out << r << "\n";
        std::fprintf(stderr, "%3d %6d %5d %5d %5d %7d %5d %9llu %7.3f %6.2f\n", number, c.pushes,
                     c.moves, c.boxes, c.floor, c.changes, c.lines,
                     static_cast<unsigned long long>(c.nodes), c.seconds, c.score);
    }
    return 0;
}

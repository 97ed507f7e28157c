#include "core/paths.h"

#include "core/flood.h"

#include <algorithm>
#include <limits>
#include <queue>
#include <tuple>
#include <utility>

namespace sokoban::core {

std::vector<bool> reach(const Board& board, int from, Walk walk) {
    std::vector<bool> seen(static_cast<std::size_t>(board.size()), false);
    if (!board.contains(from)) return seen;
    const auto open = [&](int cell) {
        const std::uint8_t code = board.at(cell);
        return isFree(code) || (walk == Walk::ThroughBoxes && isBox(code));
    };
    Flood flood(board.size());
    flood.start(from);
    flood.run([&](int p) {
        for (int d = 0; d < 4; ++d) {
            const int n = board.neighbour(p, d);
            if (n >= 0 && open(n)) flood.visit(n);
        }
    });
    for (const int cell : flood.order())
        seen[static_cast<std::size_t>(cell)] = true;
    return seen;
}

namespace {

using WalkFlood = Flood<kFloodDistances | kFloodParents>;

// Floods from start over free cells, `blocked` counting as a wall: the
// distance to every cell and the cell it was entered from.
void walkFrom(WalkFlood& flood, const Board& board, int start, int blocked) {
    flood.clear();
    flood.start(start);
    flood.run([&](int p) {
        for (int d = 0; d < 4; ++d) {
            const int n = board.neighbour(p, d);
            if (n >= 0 && n != blocked && isFree(board.at(n))) flood.visit(n);
        }
    });
}

// The moves from the flood's start to goal, appended to out.
void appendWalk(const WalkFlood& flood, const Board& board, int goal, Moves& out) {
    const std::size_t first = out.size();
    for (int p = goal, q; (q = flood.parent(p)) >= 0; p = q) {
        std::uint8_t d = 0;
        while (board.neighbour(q, d) != p)
            ++d;
        out.push_back(d);
    }
    std::reverse(out.begin() + static_cast<std::ptrdiff_t>(first), out.end());
}

} // namespace

std::optional<Moves> shortestWalk(const Board& board, int from, int to) {
    if (!board.contains(from) || !board.contains(to)) return std::nullopt;
    if (from == to) return Moves{};
    WalkFlood flood(board.size());
    walkFrom(flood, board, from, -1);
    if (!flood.seen(to)) return std::nullopt;
    Moves path;
    appendWalk(flood, board, to, path);
    return path;
}

std::optional<Moves> boxPath(const Board& board, int box, int goal) {
    const int man = board.worker;
    if (!board.contains(man) || !board.contains(box) || !board.contains(goal)) return std::nullopt;
    if (!isBox(board.at(box)) || !isFree(board.at(goal))) return std::nullopt;
    // The board without the box that moves.
    Board base = board;
    base.set(box, static_cast<std::uint8_t>(board.at(box) - 2));

    // A state: the box on a cell with the worker behind it, ready to push in
    // direction d (state index cell * 4 + d). Costs are (pushes, moves).
    using Cost = std::pair<int, int>;
    const auto states = static_cast<std::size_t>(board.size()) * 4;
    constexpr Cost kInf{std::numeric_limits<int>::max(), 0};
    std::vector<Cost> cost(states, kInf);
    std::vector<int> from(states, -1); // the state the last push was made from
    std::vector<bool> done(states, false);
    using Entry = std::tuple<int, int, int>; // pushes, moves, state
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open;

    const auto offer = [&](int state, Cost c, int previous) {
        if (c < cost[static_cast<std::size_t>(state)]) {
            cost[static_cast<std::size_t>(state)] = c;
            from[static_cast<std::size_t>(state)] = previous;
            open.emplace(c.first, c.second, state);
        }
    };
    // From the worker on `worker` with the box on `at`: every side of the
    // box the worker can walk to.
    WalkFlood walk(base.size());
    const auto offerSides = [&](int worker, int at, Cost c, int previous) {
        walkFrom(walk, base, worker, at);
        for (int d = 0; d < 4; ++d) {
            const int behind = base.neighbour(at, d ^ 1);
            if (behind < 0 || !walk.seen(behind)) continue;
            offer(at * 4 + d, {c.first, c.second + walk.distance(behind)}, previous);
        }
    };
    offerSides(man, box, {0, 0}, -1);

    int arrived = -1; // the state whose push brings the box to the goal
    Cost best = kInf;
    while (!open.empty()) {
        const auto [pushes, moves, state] = open.top();
        open.pop();
        if (done[static_cast<std::size_t>(state)]) continue;
        done[static_cast<std::size_t>(state)] = true;
        if (Cost{pushes, moves} >= best) break;
        const int at = state / 4, d = state % 4;
        const int to = base.neighbour(at, d);
        if (to < 0 || !isFree(base.at(to))) continue;
        const Cost after{pushes + 1, moves + 1};
        if (to == goal) {
            if (after < best) {
                best = after;
                arrived = state;
            }
            continue;
        }
        offerSides(at, to, after, state);
    }
    if (arrived < 0) return std::nullopt;

    // The chain of pushes back to the first, then the walks between them.
    std::vector<int> chain;
    for (int s = arrived; s >= 0; s = from[static_cast<std::size_t>(s)])
        chain.push_back(s);
    std::reverse(chain.begin(), chain.end());
    Moves path;
    int worker = man;
    for (const int s : chain) {
        const int at = s / 4, d = s % 4;
        walkFrom(walk, base, worker, at);
        appendWalk(walk, base, base.neighbour(at, d ^ 1), path);
        path.push_back(static_cast<std::uint8_t>(d));
        worker = at;
    }
    return path;
}

namespace {

constexpr int kGreedyLimit = 700;

// One entry of a greedy path: the cell a move is made from and its
// direction.
struct GreedyStep {
    int cell = 0;
    std::uint8_t dir = kUp;
};

struct GreedyPath {
    // 1 reached, 0 cannot be reached, -1 the path grew to the limit first.
    int result = 0;
    // Entries in use; the limit when the search gave up.
    int count = 0;
    std::vector<GreedyStep> steps;
};

// Depth first, at every cell the free neighbour nearest to the goal (left,
// right, up, down first on ties), backing out of dead ends; every cell is
// tried once.
GreedyPath greedySearch(const Board& board, int start, int goal) {
    GreedyPath path;
    path.steps.resize(kGreedyLimit);
    std::vector<bool> used(static_cast<std::size_t>(board.size()));
    for (int i = 0; i < board.size(); ++i)
        used[static_cast<std::size_t>(i)] = !isFree(board.at(i));
    used[static_cast<std::size_t>(start)] = true;
    if (start == goal) {
        path.result = 1;
        return path;
    }
    const int goalRow = board.rowOf(goal), goalCol = board.colOf(goal);
    static constexpr std::uint8_t kOrder[4] = {kLeft, kRight, kUp, kDown};
    int& count = path.count;
    int p = start;
    while (count < kGreedyLimit) {
        int best = std::numeric_limits<int>::max();
        int chosen = -1, chosenDir = 0;
        for (const std::uint8_t d : kOrder) {
            const int n = board.neighbour(p, d);
            if (n < 0 || used[static_cast<std::size_t>(n)]) continue;
            const int dr = board.rowOf(n) - goalRow, dc = board.colOf(n) - goalCol;
            if (dr * dr + dc * dc < best) {
                best = dr * dr + dc * dc;
                chosen = n;
                chosenDir = d;
            }
        }
        GreedyStep& entry = path.steps[static_cast<std::size_t>(count)];
        entry.cell = p;
        if (chosen >= 0) {
            entry.dir = static_cast<std::uint8_t>(chosenDir);
            used[static_cast<std::size_t>(p)] = true;
            ++count;
            p = chosen;
            if (p == goal) {
                path.result = 1;
                return path;
            }
        } else {
            if (p == start) {
                count = 0;
                return path;
            }
            used[static_cast<std::size_t>(p)] = true;
            count = std::max(count - 1, 0);
            p = path.steps[static_cast<std::size_t>(count)].cell;
        }
    }
    path.result = -1;
    return path;
}

// Replaces a stretch of the walk by a greedy path between its ends where
// that is shorter, a few passes over the whole walk.
void straighten(const Board& board, std::vector<GreedyStep>& walk, int& count) {
    if (count <= 3) return;
    const int passes = count <= 10 ? 4 : count <= 30 ? 10 : 16;
    for (int pass = 0; pass < passes; ++pass) {
        int e = 0;
        bool rescan = true;
        while (rescan) {
            rescan = false;
            for (int j = e; j <= count - 3; ++j) {
                const GreedyPath shortcut =
                    greedySearch(board, walk[static_cast<std::size_t>(e)].cell,
                                 walk[static_cast<std::size_t>(j)].cell);
                const int f = shortcut.count;
                if (f == 0 || f >= j - e) continue;
                std::copy_n(shortcut.steps.begin(), f, walk.begin() + e);
                std::copy(walk.begin() + j, walk.begin() + count, walk.begin() + e + f);
                count -= j - e - f;
                e += f;
                rescan = true;
                break;
            }
        }
    }
}

} // namespace

std::optional<Moves> greedyWalk(const Board& board, int from, int to) {
    if (!board.contains(from) || !board.contains(to)) return std::nullopt;
    GreedyPath forward = greedySearch(board, from, to);
    if (forward.result != 1) return std::nullopt;
    // The way back is tried too and taken, turned round, when it is shorter.
    GreedyPath backward = greedySearch(board, to, from);
    const bool back = backward.count < forward.count;
    GreedyPath& chosen = back ? backward : forward;
    straighten(board, chosen.steps, chosen.count);
    Moves moves;
    for (int i = 0; i < chosen.count; ++i)
        moves.push_back(chosen.steps[static_cast<std::size_t>(i)].dir);
    if (back) {
        std::reverse(moves.begin(), moves.end());
        for (auto& m : moves)
            m = opposite(static_cast<Dir>(m));
    }
    return moves;
}

} // namespace sokoban::core

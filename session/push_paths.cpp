#include "session/push_paths.h"

#include <algorithm>
#include <array>
#include <limits>
#include <queue>
#include <tuple>

namespace sokoban {

namespace {

constexpr int kStep[4] = {-kCols, kCols, -1, 1};

// The cell one step in direction d, or -1 across the grid's edge.
int neighbour(int cell, int d) {
    const int row = cell / kCols, col = cell % kCols;
    if ((d == 0 && row == 0) || (d == 1 && row == kRows - 1) || (d == 2 && col == 0) ||
        (d == 3 && col == kCols - 1))
        return -1;
    return cell + kStep[d];
}

bool isFree(const Cells& cells, int cell) {
    if (cell < 0 || cell >= kCells) return false;
    const auto code = cells[static_cast<std::size_t>(cell)];
    return code == kFloor || code == kTarget;
}

// Breadth-first walk from start: distance and the move that reached each
// cell, with an extra obstacle on `blocked`.
struct Walks {
    std::array<int, kCells> dist;
    std::array<std::int8_t, kCells> via;

    Walks(const Cells& cells, int start, int blocked) {
        dist.fill(-1);
        via.fill(-1);
        std::array<int, kCells> queue{};
        int head = 0, tail = 0;
        dist[static_cast<std::size_t>(start)] = 0;
        queue[tail++] = start;
        while (head < tail) {
            const int p = queue[head++];
            for (int d = 0; d < 4; ++d) {
                const int n = neighbour(p, d);
                if (n < 0 || n == blocked || !isFree(cells, n) ||
                    dist[static_cast<std::size_t>(n)] >= 0)
                    continue;
                dist[static_cast<std::size_t>(n)] = dist[static_cast<std::size_t>(p)] + 1;
                via[static_cast<std::size_t>(n)] = static_cast<std::int8_t>(d);
                queue[tail++] = n;
            }
        }
    }

    // The moves from the start to goal, appended to out.
    void appendPath(int goal, std::vector<std::uint8_t>& out) const {
        std::vector<std::uint8_t> back;
        for (int p = goal; via[static_cast<std::size_t>(p)] >= 0;) {
            const int d = via[static_cast<std::size_t>(p)];
            back.push_back(static_cast<std::uint8_t>(d));
            p -= kStep[d];
        }
        out.insert(out.end(), back.rbegin(), back.rend());
    }
};

} // namespace

std::optional<std::vector<std::uint8_t>> shortestWalkPath(const Cells& cells, int start, int goal) {
    if (start < 0 || start >= kCells || goal < 0 || goal >= kCells) return std::nullopt;
    if (start == goal) return std::vector<std::uint8_t>{};
    const Walks w(cells, start, -1);
    if (w.dist[static_cast<std::size_t>(goal)] < 0) return std::nullopt;
    std::vector<std::uint8_t> path;
    w.appendPath(goal, path);
    return path;
}

std::optional<std::vector<std::uint8_t>> boxPushPath(const Cells& cells, int man, int box,
                                                     int goal) {
    if (man < 0 || man >= kCells || box < 0 || box >= kCells || goal < 0 || goal >= kCells)
        return std::nullopt;
    const auto boxCode = cells[static_cast<std::size_t>(box)];
    if ((boxCode != kBox && boxCode != kBoxOnTarget) || !isFree(cells, goal)) return std::nullopt;
    // The board without the box that moves.
    Cells base = cells;
    base[static_cast<std::size_t>(box)] = static_cast<std::uint8_t>(boxCode - 2);

    // A state: the box on a cell with the worker behind it, ready to push in
    // direction d (state index cell * 4 + d). Costs are (pushes, moves).
    using Cost = std::pair<int, int>;
    constexpr int kStates = kCells * 4;
    constexpr Cost kInf{std::numeric_limits<int>::max(), 0};
    std::vector<Cost> cost(kStates, kInf);
    std::vector<int> from(kStates, -1); // the state the last push was made from
    std::vector<bool> done(kStates, false);
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
    const auto offerSides = [&](int worker, int at, Cost c, int previous) {
        const Walks w(base, worker, at);
        for (int d = 0; d < 4; ++d) {
            const int behind = neighbour(at, d ^ 1);
            if (behind < 0 || w.dist[static_cast<std::size_t>(behind)] < 0) continue;
            offer(at * 4 + d, {c.first, c.second + w.dist[static_cast<std::size_t>(behind)]},
                  previous);
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
        const int to = neighbour(at, d);
        if (to < 0 || !isFree(base, to)) continue;
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
    std::vector<std::uint8_t> path;
    int worker = man;
    for (const int s : chain) {
        const int at = s / 4, d = s % 4;
        const Walks w(base, worker, at);
        w.appendPath(neighbour(at, d ^ 1), path);
        path.push_back(static_cast<std::uint8_t>(d));
        worker = at;
    }
    return path;
}

} // namespace sokoban

#include "check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <queue>

namespace sokoban::solver::test {

core::Board xsb(const std::vector<std::string>& rows) {
    const core::Board lv = core::fromXsbRows(rows);
    EXPECT_EQ(invalidReason(lv), "");
    return lv;
}

Replay replay(const core::Board& level, const std::vector<std::uint8_t>& moves) {
    Replay out;
    std::vector<std::uint8_t> cells = level.cells;
    int r = level.worker / level.cols, c = level.worker % level.cols;
    auto code = [&](int rr, int cc) -> int {
        if (rr < 0 || cc < 0 || rr >= level.rows || cc >= level.cols) return kOutside;
        return cells[rr * level.cols + cc];
    };
    const int dr[] = {-1, 1, 0, 0}, dc[] = {0, 0, -1, 1};
    for (std::uint8_t m : moves) {
        if (m > 3) return out.legal = false, out;
        int nr = r + dr[m], nc = c + dc[m];
        int here = code(nr, nc);
        if (here == kFloor || here == kTarget) {
            ++out.moves;
        } else if (here == kBox || here == kBoxOnTarget) {
            int br = nr + dr[m], bc = nc + dc[m];
            int beyond = code(br, bc);
            if (beyond != kFloor && beyond != kTarget) return out.legal = false, out;
            cells[nr * level.cols + nc] = static_cast<std::uint8_t>(here - 2);
            cells[br * level.cols + bc] = static_cast<std::uint8_t>(beyond + 2);
            ++out.moves;
            ++out.pushes;
        } else {
            return out.legal = false, out;
        }
        r = nr;
        c = nc;
    }
    out.solved = std::count(cells.begin(), cells.end(), kBox) == 0;
    return out;
}

namespace {

struct Position {
    std::vector<int> boxes; // sorted cells
    int man;                // least cell of the worker's area
    bool operator<(const Position& o) const {
        return std::tie(boxes, man) < std::tie(o.boxes, o.man);
    }
};

} // namespace

int fewestPushes(const core::Board& level, std::vector<core::Board>* path) {
    const int cols = level.cols, n = level.rows * level.cols;
    auto walkable = [&](int p) {
        return level.cells[p] >= kFloor && level.cells[p] <= kBoxOnTarget;
    };
    auto area = [&](const std::vector<int>& boxes, int from) {
        std::vector<char> seen(n, 0);
        for (int b : boxes)
            seen[b] = 2;
        std::vector<int> stack{from};
        seen[from] = 1;
        std::vector<int> out;
        while (!stack.empty()) {
            int p = stack.back();
            stack.pop_back();
            out.push_back(p);
            for (int step : {-cols, cols, -1, 1}) {
                int q = p + step;
                if (q >= 0 && q < n && !seen[q] && walkable(q) && (step != 1 || q % cols != 0) &&
                    (step != -1 || p % cols != 0)) {
                    seen[q] = 1;
                    stack.push_back(q);
                }
            }
        }
        return out;
    };
    auto isTarget = [&](int p) {
        return level.cells[p] == kTarget || level.cells[p] == kBoxOnTarget;
    };
    Position start;
    for (int p = 0; p < n; ++p)
        if (level.cells[p] == kBox || level.cells[p] == kBoxOnTarget) start.boxes.push_back(p);
    auto a = area(start.boxes, level.worker);
    start.man = *std::min_element(a.begin(), a.end());
    std::map<Position, Position> parent;
    std::map<Position, int> depth;
    std::queue<Position> queue;
    depth[start] = 0;
    queue.push(start);
    while (!queue.empty()) {
        Position pos = queue.front();
        queue.pop();
        if (std::all_of(pos.boxes.begin(), pos.boxes.end(), isTarget)) {
            if (path) {
                std::vector<Position> chain{pos};
                while (parent.count(chain.back()))
                    chain.push_back(parent[chain.back()]);
                std::reverse(chain.begin(), chain.end());
                path->clear();
                for (const Position& p : chain) {
                    core::Board lv = level;
                    for (auto& cell : lv.cells)
                        if (cell == kBox || cell == kBoxOnTarget) cell -= 2;
                    for (int b : p.boxes)
                        lv.cells[b] += 2;
                    lv.worker = p.man;
                    path->push_back(lv);
                }
            }
            return depth[pos];
        }
        for (int man : area(pos.boxes, pos.man)) {
            for (int step : {-cols, cols, -1, 1}) {
                int b = man + step, to = b + step;
                if (step == 1 && (b % cols == 0 || to % cols == 0)) continue;
                if (step == -1 && (man % cols == 0 || b % cols == 0)) continue;
                if (b < 0 || to < 0 || b >= n || to >= n) continue;
                auto it = std::find(pos.boxes.begin(), pos.boxes.end(), b);
                if (it == pos.boxes.end() || !walkable(to) ||
                    std::count(pos.boxes.begin(), pos.boxes.end(), to))
                    continue;
                Position next = pos;
                next.boxes[it - pos.boxes.begin()] = to;
                std::sort(next.boxes.begin(), next.boxes.end());
                auto na = area(next.boxes, b);
                next.man = *std::min_element(na.begin(), na.end());
                if (depth.count(next)) continue;
                depth[next] = depth[pos] + 1;
                parent[next] = pos;
                queue.push(next);
            }
        }
    }
    return -1;
}

int playPushes(const Board& board, const std::vector<PushRun>& runs) {
    std::vector<std::uint8_t> box(board.size(), 0);
    for (Square b : board.boxes())
        box[b] = 1;
    Square worker = board.man();
    int pushes = 0;
    for (const PushRun& run : runs) {
        Square at = run.from;
        for (int i = 0; i < run.count; ++i, ++pushes) {
            const Square behind = board.next(at, opposite(run.dir)), to = board.next(at, run.dir);
            if (!box[at] || behind == kNone || to == kNone || box[to] || box[behind]) return -1;
            std::vector<std::uint8_t> seen(board.size(), 0);
            std::vector<Square> todo{worker};
            seen[worker] = 1;
            while (!todo.empty()) {
                const Square s = todo.back();
                todo.pop_back();
                for (int d = 0; d < 4; ++d) {
                    const Square q = board.next(s, d);
                    if (q != kNone && !box[q] && !seen[q]) {
                        seen[q] = 1;
                        todo.push_back(q);
                    }
                }
            }
            if (!seen[behind]) return -1;
            box[at] = 0;
            box[to] = 1;
            worker = at;
            at = to;
        }
    }
    for (Square t : board.targets())
        if (!box[t]) return -1;
    return pushes;
}

} // namespace sokoban::solver::test

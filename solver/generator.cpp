#include "generator.h"

#include <algorithm>
#include <vector>

namespace sokoban::solver {

namespace {

class Random {
  public:
    explicit Random(std::uint64_t seed) : state_(seed * 0x9e3779b97f4a7c15ull + 1) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ull);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
        return z ^ (z >> 31);
    }
    int below(int n) {
        return n <= 0 ? 0 : static_cast<int>(next() % static_cast<std::uint64_t>(n));
    }

  private:
    std::uint64_t state_;
};

struct Grid {
    int rows, cols;
    std::vector<std::uint8_t> wall;
    bool isWall(int p) const { return wall[p]; }
    int step(int p, int d) const { return p + kDRow[d] * cols + kDCol[d]; }
};

// Floor squares reachable from `from` without crossing walls or `blocked`.
std::vector<int> flood(const Grid& g, int from, const std::vector<std::uint8_t>& blocked) {
    std::vector<int> order{from};
    std::vector<std::uint8_t> seen(g.wall.size(), 0);
    seen[from] = 1;
    for (std::size_t i = 0; i < order.size(); ++i) {
        for (int d = 0; d < 4; ++d) {
            int q = g.step(order[i], d);
            if (!g.wall[q] && !blocked[q] && !seen[q]) {
                seen[q] = 1;
                order.push_back(q);
            }
        }
    }
    return order;
}

} // namespace

Level generateLevel(const GeneratorOptions& options) {
    Random rnd(options.seed);
    Grid g{std::clamp(options.rows, 5, kMaxSide), std::clamp(options.cols, 5, kMaxSide), {}};
    const int cells = g.rows * g.cols;
    g.wall.assign(cells, 1);
    for (int r = 1; r < g.rows - 1; ++r)
        for (int c = 1; c < g.cols - 1; ++c)
            g.wall[r * g.cols + c] = 0;

    // Wall pieces of one to three squares, each kept only if the floor stays
    // in one piece.
    const int inner = (g.rows - 2) * (g.cols - 2);
    const int wanted = static_cast<int>(inner * std::clamp(options.wallShare, 0.0, 0.6));
    std::vector<std::uint8_t> none(cells, 0);
    int walls = 0;
    for (int attempt = 0; attempt < inner * 4 && walls < wanted; ++attempt) {
        int r = 1 + rnd.below(g.rows - 2), c = 1 + rnd.below(g.cols - 2);
        int len = 1 + rnd.below(3);
        int dir = rnd.below(4);
        std::vector<int> piece;
        for (int i = 0; i < len; ++i) {
            int rr = r + kDRow[dir] * i, cc = c + kDCol[dir] * i;
            if (rr < 1 || cc < 1 || rr >= g.rows - 1 || cc >= g.cols - 1) break;
            if (!g.wall[rr * g.cols + cc]) piece.push_back(rr * g.cols + cc);
        }
        if (piece.empty()) continue;
        for (int p : piece)
            g.wall[p] = 1;
        int floor = 0, start = -1;
        for (int p = 0; p < cells; ++p)
            if (!g.wall[p]) {
                ++floor;
                start = p;
            }
        if (start >= 0 && static_cast<int>(flood(g, start, none).size()) == floor) {
            walls += static_cast<int>(piece.size());
        } else {
            for (int p : piece)
                g.wall[p] = 0;
        }
    }
    std::vector<int> floor;
    for (int p = 0; p < cells; ++p)
        if (!g.wall[p]) floor.push_back(p);

    // Targets away from the outer wall where possible, so they can be left.
    const int boxCount =
        std::clamp(options.boxes, 0, std::max(0, static_cast<int>(floor.size()) - 2));
    std::vector<std::uint8_t> box(cells, 0), target(cells, 0);
    std::vector<int> order = floor;
    for (std::size_t i = order.size(); i > 1; --i)
        std::swap(order[i - 1], order[rnd.below(static_cast<int>(i))]);
    auto openSides = [&](int p) {
        int n = 0;
        for (int d = 0; d < 4; ++d)
            n += !g.wall[g.step(p, d)];
        return n;
    };
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return (openSides(a) >= 3) > (openSides(b) >= 3); });
    for (int i = 0; i < boxCount; ++i) {
        target[order[i]] = 1;
        box[order[i]] = 1;
    }
    int man = order[boxCount];

    // Play backwards: walk to a box, pull it one or more squares. Keep the
    // position whose boxes are farthest from where they started.
    const int pulls = options.pulls > 0 ? options.pulls : 40 * boxCount + 4 * (g.rows + g.cols);
    std::vector<std::uint8_t> bestBox = box;
    int bestMan = man, bestScore = -1;
    std::vector<int> origin;
    for (int p = 0; p < cells; ++p)
        if (target[p]) origin.push_back(p);
    auto score = [&]() {
        // Boxes off target, weighted by their distance from the nearest target.
        int s = 0;
        for (int p = 0; p < cells; ++p) {
            if (!box[p]) continue;
            int best = 1 << 20;
            for (int t : origin)
                best = std::min(best, std::abs(t / g.cols - p / g.cols) +
                                          std::abs(t % g.cols - p % g.cols));
            s += best > 0 ? 4 + best : 0;
        }
        return s;
    };
    std::vector<std::pair<std::vector<std::uint8_t>, int>> snapshots{{box, man}};
    for (int i = 0; i < pulls; ++i) {
        std::vector<int> area = flood(g, man, box);
        struct Pull {
            int boxAt, dir;
        };
        std::vector<Pull> options_;
        for (int p : area) {
            for (int d = 0; d < 4; ++d) {
                // The worker on p pulls the box on p - d towards p + d.
                int b = g.step(p, d ^ 1);
                int to = g.step(p, d);
                if (box[b] && !g.wall[to] && !box[to]) options_.push_back({b, d});
            }
        }
        if (options_.empty()) {
            // The worker has shut itself in: go back to an earlier position
            // of this same backward game and play on from there.
            const auto& back = snapshots[rnd.below(static_cast<int>(snapshots.size()))];
            box = back.first;
            man = back.second;
            continue;
        }
        if (i % 16 == 0) snapshots.emplace_back(box, man);
        // Half the time take a box still on a target, so that all get moved.
        std::vector<Pull> fresh;
        for (const Pull& o : options_)
            if (target[o.boxAt]) fresh.push_back(o);
        const std::vector<Pull>& from = !fresh.empty() && rnd.below(2) ? fresh : options_;
        Pull pick = from[rnd.below(static_cast<int>(from.size()))];
        int b = pick.boxAt, d = pick.dir;
        int steps = 1 + rnd.below(3);
        for (int s = 0; s < steps; ++s) {
            int p = g.step(b, d), to = g.step(p, d);
            if (g.wall[to] || box[to]) break;
            box[b] = 0;
            box[p] = 1;
            b = p;
            man = to;
        }
        int sc = score();
        if (sc > bestScore) {
            bestScore = sc;
            bestBox = box;
            bestMan = man;
        }
    }
    box = bestBox;
    // The worker may stand anywhere in the area it reached the last pull from.
    std::vector<int> area = flood(g, bestMan, box);
    man = area[rnd.below(static_cast<int>(area.size()))];

    // Squares the worker can never reach become wall, then the border is
    // trimmed to the level's bounding box.
    std::vector<int> all = flood(g, man, none);
    std::vector<std::uint8_t> inside(cells, 0);
    for (int p : all)
        inside[p] = 1;
    Level lv;
    lv.rows = g.rows;
    lv.cols = g.cols;
    lv.cells.assign(cells, kWall);
    for (int p = 0; p < cells; ++p) {
        if (!inside[p]) {
            // Wall only where it touches the worker's area.
            bool touches = false;
            for (int dr = -1; dr <= 1; ++dr)
                for (int dc = -1; dc <= 1; ++dc) {
                    int r = p / g.cols + dr, c = p % g.cols + dc;
                    if (r >= 0 && c >= 0 && r < g.rows && c < g.cols && inside[r * g.cols + c])
                        touches = true;
                }
            if (!touches) lv.cells[p] = kOutside;
            continue;
        }
        lv.cells[p] = static_cast<std::uint8_t>((target[p] ? kTarget : kFloor) + (box[p] ? 2 : 0));
    }
    lv.man = man;
    return lv;
}

} // namespace sokoban::solver

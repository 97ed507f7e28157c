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

// The level the backward game ended in: squares the worker can never reach
// become wall where they touch its area and lie outside the level elsewhere.
core::Board finishLevel(const Grid& g, const std::vector<std::uint8_t>& target,
                        const std::vector<std::uint8_t>& box, int man) {
    const int cells = g.rows * g.cols;
    std::vector<std::uint8_t> none(cells, 0);
    std::vector<int> all = flood(g, man, none);
    std::vector<std::uint8_t> inside(cells, 0);
    for (int p : all)
        inside[p] = 1;
    core::Board lv;
    lv.rows = g.rows;
    lv.cols = g.cols;
    lv.cells.assign(cells, kWall);
    for (int p = 0; p < cells; ++p) {
        if (!inside[p]) {
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
    lv.worker = man;
    return lv;
}

} // namespace

core::Board generateLevel(const GeneratorOptions& options) {
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

    return finishLevel(g, target, box, man);
}

core::Board generateGoalRoomLevel(const GoalRoomOptions& options) {
    Random rnd(options.seed);
    Grid g{std::clamp(options.rows, 9, kMaxSide), std::clamp(options.cols, 9, kMaxSide), {}};
    const int cells = g.rows * g.cols;
    g.wall.assign(cells, 1);
    for (int r = 1; r < g.rows - 1; ++r)
        for (int c = 1; c < g.cols - 1; ++c)
            g.wall[r * g.cols + c] = 0;

    // The block of targets in the top left corner, as square as the count
    // allows, a little wider than high.
    const int limit = (g.rows - 4) * (g.cols - 4) / 3;
    const int boxCount = std::clamp(options.boxes, 1, std::max(1, limit));
    int w = 1;
    while (w * w < boxCount)
        ++w;
    w = std::min(w + 1, g.cols - 6);
    const int h = (boxCount + w - 1) / w;
    // Two spare columns (or rows) of floor between the block and the doors
    // let every row (or column) of the block be filled from its far end.
    const bool rowsSpare = options.spareRow;
    const int roomRows = h + (rowsSpare ? 2 : 0), roomCols = w + (rowsSpare ? 0 : 2);
    const int doors = std::clamp(options.doors, 0, 2);
    std::vector<std::uint8_t> box(cells, 0), target(cells, 0), keepFree(cells, 0);
    auto at = [&](int r, int c) { return r * g.cols + c; };
    int doorRow = 1 + rnd.below(roomRows), doorCol = 1 + rnd.below(roomCols);
    int man = at(1, w + 1);
    if (doors > 0) {
        for (int r = 1; r <= roomRows + 1; ++r)
            g.wall[at(r, roomCols + 1)] = 1;
        for (int c = 1; c <= roomCols + 1; ++c)
            g.wall[at(roomRows + 1, c)] = 1;
        if (rowsSpare || doors > 1) {
            g.wall[at(roomRows + 1, doorCol)] = 0;
            man = at(roomRows + 2, doorCol);
        }
        if (!rowsSpare || doors > 1) {
            g.wall[at(doorRow, roomCols + 1)] = 0;
            man = at(doorRow, roomCols + 2);
        }
    }
    // Targets fill the block from the far corner, so spare squares of the
    // block lie near the way in.
    std::vector<int> block;
    for (int r = 1; r <= h; ++r)
        for (int c = 1; c <= w; ++c)
            block.push_back(at(r, c));
    std::stable_sort(block.begin(), block.end(), [&](int a, int b) {
        auto far = [&](int p) { return p / g.cols + p % g.cols; };
        return far(a) < far(b);
    });
    for (int i = 0; i < boxCount; ++i) {
        target[block[i]] = 1;
        box[block[i]] = 1;
    }
    // No walls of the open floor next to the room or its doors.
    for (int r = 0; r <= roomRows + 3 && r < g.rows; ++r)
        for (int c = 0; c <= roomCols + 3 && c < g.cols; ++c)
            keepFree[at(r, c)] = 1;

    const int outside = (g.rows - 2) * (g.cols - 2) - (roomRows + 2) * (roomCols + 2);
    const int wanted = static_cast<int>(outside * std::clamp(options.wallShare, 0.0, 0.4));
    std::vector<std::uint8_t> none(cells, 0);
    // Walls the rest of the floor is still reached past; false (and undone)
    // when they would close some of it off.
    auto addWalls = [&](const std::vector<int>& piece) {
        std::vector<int> added;
        for (int p : piece)
            if (!g.wall[p] && !keepFree[p]) {
                g.wall[p] = 1;
                added.push_back(p);
            }
        int floor = 0;
        for (int p = 0; p < cells; ++p)
            floor += !g.wall[p];
        if (static_cast<int>(flood(g, man, none).size()) == floor) return true;
        for (int p : added)
            g.wall[p] = 0;
        return false;
    };
    if (options.layout == 1) {
        // One or two long walls across the floor, each stretch between
        // crossings and ends left with a gap or two, one or two wide.
        const int colLo = roomCols + 5, colHi = g.cols - 6;
        const int rowLo = roomRows + 5, rowHi = g.rows - 6;
        const int across = colHi >= colLo ? colLo + rnd.below(colHi - colLo + 1) : -1;
        const int down =
            rowHi >= rowLo && rnd.below(3) != 0 ? rowLo + rnd.below(rowHi - rowLo + 1) : -1;
        auto stretch = [&](int from, int to, auto square) {
            std::vector<int> piece;
            for (int i = from; i <= to; ++i)
                piece.push_back(square(i));
            const int gaps = 1 + rnd.below(2);
            for (int k = 0; k < gaps && to - from >= 3; ++k) {
                const int at0 = from + rnd.below(to - from), width = 1 + rnd.below(2);
                for (int i = at0; i < at0 + width && i <= to; ++i)
                    piece.erase(std::remove(piece.begin(), piece.end(), square(i)), piece.end());
            }
            addWalls(piece);
        };
        // A wall from one side to the other, in two stretches where the other
        // wall crosses it.
        auto wallAcross = [&](int crossing, int last, auto square) {
            if (crossing > 0) {
                stretch(1, crossing - 1, square);
                stretch(crossing + 1, last, square);
            } else {
                stretch(1, last, square);
            }
        };
        if (across > 0) wallAcross(down, g.rows - 2, [&](int r) { return at(r, across); });
        if (down > 0) wallAcross(across, g.cols - 2, [&](int c) { return at(down, c); });
    } else if (options.layout == 2) {
        // Rows of shelves three squares apart, broken every few squares, with
        // a walkway along both side walls.
        const bool upright = rnd.below(2) != 0;
        const int lines = upright ? g.cols : g.rows, length = upright ? g.rows : g.cols;
        const int first = 3 + rnd.below(2);
        for (int line = first; line < lines - 3; line += 3) {
            std::vector<int> piece;
            int run = 0;
            const int runLength = 3 + rnd.below(4);
            for (int i = 3; i < length - 3; ++i) {
                if (run == runLength) {
                    run = 0;
                    i += rnd.below(2); // a gap of one or two
                    continue;
                }
                piece.push_back(upright ? at(i, line) : at(line, i));
                ++run;
            }
            addWalls(piece);
        }
    }
    int walls = 0;
    for (int attempt = 0; attempt < outside * 4 && walls < wanted; ++attempt) {
        int r = 1 + rnd.below(g.rows - 2), c = 1 + rnd.below(g.cols - 2);
        int len = 1 + rnd.below(3), dir = rnd.below(4);
        std::vector<int> piece;
        for (int i = 0; i < len; ++i) {
            int rr = r + kDRow[dir] * i, cc = c + kDCol[dir] * i;
            if (rr < 1 || cc < 1 || rr >= g.rows - 1 || cc >= g.cols - 1) break;
            int p = at(rr, cc);
            if (!g.wall[p] && !keepFree[p]) piece.push_back(p);
        }
        if (piece.empty()) continue;
        for (int p : piece)
            g.wall[p] = 1;
        int floor = 0;
        for (int p = 0; p < cells; ++p)
            floor += !g.wall[p];
        if (static_cast<int>(flood(g, man, none).size()) == floor) {
            walls += static_cast<int>(piece.size());
        } else {
            for (int p : piece)
                g.wall[p] = 0;
        }
    }

    // Distance of each square from the block over the floor, to pull boxes
    // away from it.
    std::vector<int> far(cells, -1);
    std::vector<int> queue;
    for (int p = 0; p < cells; ++p)
        if (target[p]) {
            far[p] = 0;
            queue.push_back(p);
        }
    for (std::size_t i = 0; i < queue.size(); ++i)
        for (int d = 0; d < 4; ++d) {
            int q = g.step(queue[i], d);
            if (!g.wall[q] && far[q] < 0) {
                far[q] = far[queue[i]] + 1;
                queue.push_back(q);
            }
        }
    const int farthest = far[queue.back()];

    // Play backwards: take a box from the block and pull it a long way out,
    // mostly away from the block, until every box has left it.
    struct Pull {
        int boxAt, dir;
    };
    auto pullsOf = [&](const std::vector<int>& area, int only) {
        std::vector<std::uint8_t> in(cells, 0);
        for (int p : area)
            in[p] = 1;
        std::vector<Pull> out;
        for (int p : area)
            for (int d = 0; d < 4; ++d) {
                // The worker on p pulls the box on p - d towards p + d.
                int b = g.step(p, d ^ 1), to = g.step(p, d);
                if (box[b] && (only < 0 || b == only) && !g.wall[to] && !box[to])
                    out.push_back({b, d});
            }
        return out;
    };
    auto leftInBlock = [&]() {
        int left = 0;
        for (int p = 0; p < cells; ++p)
            left += box[p] && target[p];
        return left;
    };
    // Some orders shut boxes in for good: play the backward game a few times
    // and keep the one that got the most boxes out.
    const auto startBox = box;
    const int startMan = man;
    auto bestBox = box;
    int bestMan = man, bestLeft = boxCount + 1;
    for (int attempt = 0; attempt < 24 && bestLeft > 0; ++attempt) {
        box = startBox;
        man = startMan;
        std::vector<std::pair<std::vector<std::uint8_t>, int>> snapshots{{box, man}};
        for (int run = 0; run < boxCount * 20 && leftInBlock() > 0; ++run) {
            std::vector<Pull> options_ = pullsOf(flood(g, man, box), -1);
            if (options_.empty()) {
                // Shut in: go back to an earlier position of this game.
                const auto& back = snapshots[rnd.below(static_cast<int>(snapshots.size()))];
                box = back.first;
                man = back.second;
                continue;
            }
            snapshots.emplace_back(box, man);
            std::vector<Pull> fresh;
            for (const Pull& o : options_)
                if (target[o.boxAt]) fresh.push_back(o);
            const bool fromBlock = !fresh.empty() && rnd.below(4) != 0;
            const std::vector<Pull>& from = fromBlock ? fresh : options_;
            Pull pick = from[rnd.below(static_cast<int>(from.size()))];
            int b = pick.boxAt, d = pick.dir;
            // Parted floor: the boxes go out to the far halls and aisles too.
            const int nearest = options.layout == 0 ? 3 : std::max(3, farthest / 3);
            const int goal = fromBlock ? nearest + rnd.below(std::max(1, farthest - nearest + 1))
                                       : 1 + rnd.below(3);
            for (int step = 0; step < 4 * farthest; ++step) {
                int p = g.step(b, d);
                box[b] = 0;
                box[p] = 1;
                b = p;
                man = g.step(p, d);
                if (far[b] >= goal && !target[b]) break;
                std::vector<Pull> next = pullsOf(flood(g, man, box), b);
                if (next.empty()) break;
                // Mostly the pull that gets farthest from the block.
                Pull choice = next[rnd.below(static_cast<int>(next.size()))];
                if (rnd.below(4) != 0) {
                    for (const Pull& o : next)
                        if (far[g.step(b, o.dir)] > far[g.step(b, choice.dir)]) choice = o;
                }
                d = choice.dir;
            }
        }
        const int left = leftInBlock();
        if (left < bestLeft) {
            bestLeft = left;
            bestBox = box;
            bestMan = man;
        }
    }
    box = bestBox;
    man = bestMan;
    std::vector<int> area = flood(g, man, box);
    man = area[rnd.below(static_cast<int>(area.size()))];
    return finishLevel(g, target, box, man);
}

namespace {

// Wall patterns of three by three squares ('#' wall), turned and mirrored at
// random when laid; the first one is all floor.
constexpr const char* kPatterns[] = {
    "         ", "#        ", "##       ", "###      ", " #       ", "    #    ", "#  #     ",
    "## #     ", "    ## # ", "####  #  ", " #  #    ", "# #      ", "   ##    ", "#       #",
};

// The floor of a room laid from patterns: only the biggest connected piece
// stays floor.
Grid patternRoom(Random& rnd, int rows, int cols, double openShare) {
    Grid g{rows, cols, {}};
    const int cells = rows * cols;
    g.wall.assign(cells, 1);
    const int npat = static_cast<int>(sizeof kPatterns / sizeof kPatterns[0]);
    for (int br = 1; br < rows - 1; br += 3)
        for (int bc = 1; bc < cols - 1; bc += 3) {
            const bool open = rnd.below(1000) < static_cast<int>(openShare * 1000);
            const char* pat = kPatterns[open ? 0 : 1 + rnd.below(npat - 1)];
            const int turn = rnd.below(8);
            for (int r = 0; r < 3; ++r)
                for (int c = 0; c < 3; ++c) {
                    int rr = r, cc = c;
                    if (turn & 1) std::swap(rr, cc);
                    if (turn & 2) rr = 2 - rr;
                    if (turn & 4) cc = 2 - cc;
                    const int R = br + r, C = bc + c;
                    if (R < rows - 1 && C < cols - 1)
                        g.wall[R * cols + C] = pat[rr * 3 + cc] == '#';
                }
        }
    std::vector<std::uint8_t> none(cells, 0), seen(cells, 0);
    std::vector<int> biggest;
    for (int p = 0; p < cells; ++p) {
        if (g.wall[p] || seen[p]) continue;
        std::vector<int> piece = flood(g, p, none);
        for (int q : piece)
            seen[q] = 1;
        if (piece.size() > biggest.size()) biggest = std::move(piece);
    }
    std::vector<std::uint8_t> keep(cells, 0);
    for (int p : biggest)
        keep[p] = 1;
    for (int p = 0; p < cells; ++p)
        if (!keep[p]) g.wall[p] = 1;
    return g;
}

} // namespace

core::Board generateDeepLevel(const DeepOptions& options) {
    Random rnd(options.seed);
    const int rows = std::clamp(options.rows, 5, kMaxSide),
              cols = std::clamp(options.cols, 5, kMaxSide);
    Grid g = patternRoom(rnd, rows, cols, std::clamp(options.openShare, 0.0, 1.0));
    const int cells = rows * cols;
    std::vector<int> floor;
    for (int p = 0; p < cells; ++p)
        if (!g.wall[p]) floor.push_back(p);
    auto openSides = [&](int p) {
        int n = 0;
        for (int d = 0; d < 4; ++d)
            n += !g.wall[g.step(p, d)];
        return n;
    };
    const int boxCount =
        std::clamp(options.boxes, 0, std::max(0, static_cast<int>(floor.size()) / 3));
    std::vector<std::uint8_t> box(cells, 0), target(cells, 0);
    if (boxCount == 0 || floor.empty())
        return finishLevel(g, target, box, floor.empty() ? 0 : floor[0]);

    // Targets where a box can be pulled off them: squares with three or four
    // open sides first.
    std::vector<int> order = floor;
    for (std::size_t i = order.size(); i > 1; --i)
        std::swap(order[i - 1], order[rnd.below(static_cast<int>(i))]);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return (openSides(a) >= 3) > (openSides(b) >= 3); });
    // The worker must be able to pull some box: a patch of targets may wall
    // off every side a box could leave by, then the targets go elsewhere.
    auto canPull = [&](int from) {
        for (int p : flood(g, from, box))
            for (int d = 0; d < 4; ++d) {
                const int b = g.step(p, d ^ 1), to = g.step(p, d);
                if (box[b] && !g.wall[to] && !box[to]) return true;
            }
        return false;
    };
    int man = -1;
    for (int attempt = 0; attempt < 16 && man < 0; ++attempt) {
        std::fill(target.begin(), target.end(), 0);
        if (options.packedTargets) {
            // Grow one patch from a roomy square, each time next to a random
            // square of the patch.
            const int seedSquare =
                order[rnd.below(std::max(1, static_cast<int>(order.size()) / 3))];
            std::vector<int> patch{seedSquare};
            target[seedSquare] = 1;
            for (int guard = 0; static_cast<int>(patch.size()) < boxCount && guard < cells * 8;
                 ++guard) {
                const int from = patch[rnd.below(static_cast<int>(patch.size()))];
                const int q = g.step(from, rnd.below(4));
                if (g.wall[q] || target[q]) continue;
                target[q] = 1;
                patch.push_back(q);
            }
            for (int p : order)
                if (static_cast<int>(patch.size()) < boxCount && !target[p]) {
                    target[p] = 1;
                    patch.push_back(p);
                }
        } else {
            for (int i = 0; i < boxCount; ++i)
                target[order[(i + attempt * boxCount) % order.size()]] = 1;
        }
        for (int p = 0; p < cells; ++p)
            box[p] = target[p];
        for (int p : order)
            if (!target[p] && canPull(p)) {
                man = p;
                break;
            }
    }
    if (man < 0) return finishLevel(g, target, box, floor[0]);

    // Walking distance of each square from the nearest target.
    std::vector<int> far(cells, -1), queue;
    for (int p = 0; p < cells; ++p)
        if (target[p]) {
            far[p] = 0;
            queue.push_back(p);
        }
    for (std::size_t i = 0; i < queue.size(); ++i)
        for (int d = 0; d < 4; ++d) {
            const int q = g.step(queue[i], d);
            if (!g.wall[q] && far[q] < 0) {
                far[q] = far[queue[i]] + 1;
                queue.push_back(q);
            }
        }
    auto score = [&](int changes) {
        int s = 0;
        for (int p = 0; p < cells; ++p)
            if (box[p] && !target[p]) s += 3 + std::max(0, far[p]);
        return 2 * s + changes;
    };

    struct Pull {
        int boxAt, dir;
    };
    const int pulls = options.pulls > 0 ? options.pulls : 30 * boxCount + 6 * (rows + cols);
    const auto startBox = box;
    const int startMan = man;
    auto bestBox = box;
    int bestMan = man, bestScore = -1;
    for (int game = 0; game < std::max(1, options.games); ++game) {
        box = startBox;
        man = startMan;
        int last = -1, changes = 0;
        std::vector<std::pair<std::vector<std::uint8_t>, int>> snapshots{{box, man}};
        for (int i = 0; i < pulls; ++i) {
            std::vector<Pull> all, other, away;
            for (int p : flood(g, man, box))
                for (int d = 0; d < 4; ++d) {
                    // The worker on p pulls the box on p - d towards p + d.
                    const int b = g.step(p, d ^ 1), to = g.step(p, d);
                    if (!box[b] || g.wall[to] || box[to]) continue;
                    all.push_back({b, d});
                    if (b != last) {
                        other.push_back({b, d});
                        if (far[p] > far[b]) away.push_back({b, d});
                    }
                }
            if (all.empty()) {
                const auto& back = snapshots[rnd.below(static_cast<int>(snapshots.size()))];
                box = back.first;
                man = back.second;
                last = -1;
                continue;
            }
            if (i % 8 == 0) snapshots.emplace_back(box, man);
            // Mostly another box than the last, often one going away.
            const std::vector<Pull>* from = &all;
            if (!other.empty() && rnd.below(4) != 0) from = &other;
            if (from == &other && !away.empty() && rnd.below(2) != 0) from = &away;
            const Pull pick = (*from)[rnd.below(static_cast<int>(from->size()))];
            int b = pick.boxAt;
            const int d = pick.dir;
            const int steps = 1 + rnd.below(3);
            for (int s = 0; s < steps; ++s) {
                const int p = g.step(b, d), to = g.step(p, d);
                if (s > 0 && (g.wall[to] || box[to])) break;
                box[b] = 0;
                box[p] = 1;
                b = p;
                man = to;
                if (g.wall[g.step(man, d)] || box[g.step(man, d)]) break;
            }
            if (pick.boxAt != last) ++changes;
            last = b;
            const int sc = score(changes);
            if (sc > bestScore) {
                bestScore = sc;
                bestBox = box;
                bestMan = man;
            }
        }
    }
    box = bestBox;
    std::vector<int> area = flood(g, bestMan, box);
    man = area[rnd.below(static_cast<int>(area.size()))];
    return finishLevel(g, target, box, man);
}

} // namespace sokoban::solver

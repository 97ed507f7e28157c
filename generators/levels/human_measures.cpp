#include "human_measures.h"

#include "core/paths.h"
#include "core/rules.h"
#include "core/symmetry.h"
#include "level_checks.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>

namespace sokoban::levelcheck {

namespace {

using core::Board;

bool blocked(std::uint8_t code) {
    return code == core::kWall || code == core::kOutside;
}

// Walls and placed boxes among the eight squares round a target: a player
// fills the corners of a goal area first when he looks at the target alone.
int enclosure(const Board& b, int cell) {
    int n = 0;
    for (int dr = -1; dr <= 1; ++dr)
        for (int dc = -1; dc <= 1; ++dc) {
            if (dr == 0 && dc == 0) continue;
            const std::uint8_t c = b.at(b.rowOf(cell) + dr, b.colOf(cell) + dc);
            n += blocked(c) || c == core::kBoxOnTarget;
        }
    return n;
}

struct Option {
    int box = -1, target = -1, pushes = 0, enclosure = 0;
};

// The fewest pushes that bring the box on `box` to each cell, the other
// boxes staying put and the worker starting where he stands; -1 where it
// never gets. Breadth first over the box's cell and the side the worker
// stands on, so one search serves every target.
std::vector<int> pushDistances(const Board& board, int box) {
    Board b = board;
    b.set(box, static_cast<std::uint8_t>(b.at(box) - 2));
    std::vector<int> best(static_cast<std::size_t>(b.size()), -1);
    std::vector<int> seen(static_cast<std::size_t>(b.size()) * 4, -1); // by cell and side
    struct State {
        int cell, side, pushes;
    };
    std::vector<State> queue;
    // The sides of the box on `cell` the worker walks to from `from`.
    const auto sidesFrom = [&](int cell, int from, int pushes) {
        b.set(cell, static_cast<std::uint8_t>(b.at(cell) + 2));
        const std::vector<bool> area = core::reach(b, from);
        b.set(cell, static_cast<std::uint8_t>(b.at(cell) - 2));
        for (int side = 0; side < 4; ++side) {
            const int w = b.neighbour(cell, side);
            const auto k = static_cast<std::size_t>(cell) * 4 + static_cast<std::size_t>(side);
            if (w < 0 || !area[static_cast<std::size_t>(w)] || seen[k] >= 0) continue;
            seen[k] = pushes;
            queue.push_back({cell, side, pushes});
        }
    };
    best[static_cast<std::size_t>(box)] = 0;
    sidesFrom(box, b.worker, 0);
    for (std::size_t i = 0; i < queue.size(); ++i) {
        const State s = queue[i];
        // The worker on side s pushes the box to the other side.
        const int to = b.neighbour(s.cell, s.side ^ 1);
        if (to < 0 || !core::isFree(b.at(to))) continue;
        auto& d = best[static_cast<std::size_t>(to)];
        if (d < 0) d = s.pushes + 1;
        sidesFrom(to, s.cell, s.pushes + 1);
    }
    return best;
}

} // namespace

double floorPerBox(const Board& board) {
    const Shape s = shapeOf(board);
    return s.boxes > 0 ? static_cast<double>(s.floorArea) / s.boxes : 0.0;
}

GreedyPlay playWithoutLookAhead(const Board& board, Greedy variant) {
    GreedyPlay g;
    Board b = board;
    if (!b.contains(b.worker)) return g;
    // Each round puts one more box on a target, so the rounds end.
    for (;;) {
        if (core::solved(b)) {
            g.solved = true;
            return g;
        }
        std::vector<int> boxes, targets;
        for (int p = 0; p < b.size(); ++p) {
            if (b.at(p) == core::kBox) boxes.push_back(p);
            if (b.at(p) == core::kTarget) targets.push_back(p);
        }
        std::vector<Option> options;
        const Option* nearest = nullptr;
        for (int box : boxes) {
            const std::vector<int> far = pushDistances(b, box);
            for (int t : targets)
                if (far[static_cast<std::size_t>(t)] > 0)
                    options.push_back({box, t, far[static_cast<std::size_t>(t)], enclosure(b, t)});
        }
        for (const auto& o : options)
            if (!nearest || o.pushes < nearest->pushes) nearest = &o;
        if (!nearest) return g;
        const Option* pick = nearest;
        if (variant == Greedy::MostEnclosedTarget)
            for (const auto& o : options)
                if (o.box == nearest->box &&
                    (o.enclosure > pick->enclosure ||
                     (o.enclosure == pick->enclosure && o.pushes < pick->pushes)))
                    pick = &o;
        const auto path = core::boxPath(b, pick->box, pick->target);
        if (!path) return g; // the two searches disagree: count it as stuck
        for (const auto d : *path)
            g.pushes += core::apply(b, static_cast<core::Dir>(d)).kind == core::MoveKind::Push;
        g.moves.insert(g.moves.end(), path->begin(), path->end());
        ++g.placed;
    }
}

bool fallsToNoLookAhead(const Board& board) {
    return playWithoutLookAhead(board, Greedy::NearestTarget).solved ||
           playWithoutLookAhead(board, Greedy::MostEnclosedTarget).solved;
}

std::vector<Board> firstPushes(const Board& board) {
    std::vector<Board> out;
    if (!board.contains(board.worker)) return out;
    const std::vector<bool> area = core::reach(board, board.worker);
    for (int p = 0; p < board.size(); ++p) {
        if (!core::isBox(board.at(p))) continue;
        for (int d = 0; d < 4; ++d) {
            const int from = board.neighbour(p, d ^ 1), to = board.neighbour(p, d);
            if (from < 0 || to < 0 || !area[static_cast<std::size_t>(from)] ||
                !core::isFree(board.at(to)))
                continue;
            Board next = board;
            next.set(p, static_cast<std::uint8_t>(next.at(p) - 2));
            next.set(to, static_cast<std::uint8_t>(next.at(to) + 2));
            next.worker = p;
            out.push_back(std::move(next));
        }
    }
    return out;
}

Narrowness narrowness(const Board& board, const std::function<bool(const Board&)>& mayBeSolved) {
    Narrowness n;
    for (const Board& next : firstPushes(board)) {
        ++n.pushes;
        n.open += mayBeSolved(next);
    }
    return n;
}

// --- Near twins ---------------------------------------------------------------

namespace {

using Layout = NearLevels::Layout;

// The floor the worker could walk on with its boxes and targets, cut to the
// floor's bounding rectangle.
Layout layoutOf(const Board& b) {
    Layout l;
    if (!b.contains(b.worker)) return l;
    const std::vector<bool> in = core::reach(b, b.worker, core::Walk::ThroughBoxes);
    int top = b.rows, left = b.cols, bottom = -1, right = -1;
    for (int p = 0; p < b.size(); ++p)
        if (in[static_cast<std::size_t>(p)]) {
            top = std::min(top, b.rowOf(p));
            bottom = std::max(bottom, b.rowOf(p));
            left = std::min(left, b.colOf(p));
            right = std::max(right, b.colOf(p));
        }
    if (bottom < 0) return l;
    l.rows = bottom - top + 1;
    l.cols = right - left + 1;
    l.floor.assign(static_cast<std::size_t>(l.rows), 0);
    l.boxes = l.targets = l.floor;
    for (int p = 0; p < b.size(); ++p) {
        if (!in[static_cast<std::size_t>(p)]) continue;
        const auto r = static_cast<std::size_t>(b.rowOf(p) - top);
        const std::uint64_t bit = std::uint64_t{1} << (b.colOf(p) - left);
        l.floor[r] |= bit;
        ++l.floorCount;
        if (core::isBox(b.at(p))) {
            l.boxes[r] |= bit;
            ++l.boxCount;
        }
        if (core::isTarget(b.at(p))) l.targets[r] |= bit;
    }
    return l;
}

constexpr int kShift = 2;
constexpr int kLayoutDiff = 2; // boxes and targets together

int floorTolerance(const Layout& a, const Layout& b) {
    return std::max(2, std::min(a.floorCount, b.floorCount) / 10);
}

// Row r moved `shift` columns to the right; nothing off the rows.
std::uint64_t rowOf(const std::vector<std::uint64_t>& rows, int r, int shift) {
    if (r < 0 || r >= static_cast<int>(rows.size())) return 0;
    return rows[static_cast<std::size_t>(r)] << shift;
}

// `b` laid on `a` with its top-left corner at (dr, dc); a negative dc moves
// `a` right instead, so no column falls off a row.
bool nearAt(const Layout& a, const Layout& b, int dr, int dc, int floorLimit) {
    int floorDiff = 0, layoutDiff = 0;
    const int first = std::min(0, dr), last = std::max(a.rows, b.rows + dr);
    for (int r = first; r < last; ++r) {
        const auto pick = [&](const std::vector<std::uint64_t>& av,
                              const std::vector<std::uint64_t>& bv) {
            return std::popcount(rowOf(av, r, std::max(0, -dc)) ^
                                 rowOf(bv, r - dr, std::max(0, dc)));
        };
        floorDiff += pick(a.floor, b.floor);
        layoutDiff += pick(a.boxes, b.boxes) + pick(a.targets, b.targets);
        if (floorDiff > floorLimit || layoutDiff > kLayoutDiff) return false;
    }
    return true;
}

bool near(const Layout& a, const Layout& b) {
    if (a.rows == 0 || b.rows == 0 || a.cols > 60 || b.cols > 60) return false;
    const int limit = floorTolerance(a, b);
    if (std::abs(a.floorCount - b.floorCount) > limit ||
        std::abs(a.boxCount - b.boxCount) > kLayoutDiff)
        return false;
    for (int dr = -kShift; dr <= kShift; ++dr)
        for (int dc = -kShift; dc <= kShift; ++dc)
            if (nearAt(a, b, dr, dc, limit)) return true;
    return false;
}

std::vector<Layout> allLayouts(const Board& board) {
    std::vector<Layout> out;
    for (int t = 0; t < core::kSymmetries; ++t)
        out.push_back(layoutOf(core::transformed(board, t)));
    return out;
}

} // namespace

std::optional<std::string> NearLevels::nearTo(const Board& board) const {
    const std::vector<Layout> turns = allLayouts(board);
    for (const auto& e : levels_)
        for (const auto& l : turns)
            if (near(e.layout, l)) return e.name;
    return std::nullopt;
}

bool fencesOffATarget(const Board& level) {
    const auto walk = core::reach(level, level.worker);
    const auto ever = core::reach(level, level.worker, core::Walk::ThroughBoxes);
    // The floor the boxes shut off, piece by piece: a piece of four squares
    // or more holding an empty target is a fenced room, not a box that
    // stands in a passage.
    std::vector<bool> seen(static_cast<std::size_t>(level.size()), false);
    for (int start = 0; start < level.size(); ++start) {
        const auto s = static_cast<std::size_t>(start);
        if (seen[s] || !ever[s] || walk[s] || core::isBox(level.at(start))) continue;
        int squares = 0;
        bool target = false;
        std::vector<int> todo{start};
        seen[s] = true;
        while (!todo.empty()) {
            const int c = todo.back();
            todo.pop_back();
            ++squares;
            target = target || level.at(c) == core::kTarget;
            for (int d = 0; d < 4; ++d) {
                const int n = level.neighbour(c, d);
                const auto k = static_cast<std::size_t>(n);
                if (n < 0 || seen[k] || !ever[k] || walk[k] || core::isBox(level.at(n))) continue;
                seen[k] = true;
                todo.push_back(n);
            }
        }
        if (target && squares >= 4) return true;
    }
    return false;
}

bool holdsABoxWithABox(const Board& level, const core::Moves& solution) {
    Board b = level;
    const auto stops = [&b](int c, int d) {
        const std::uint8_t code = b.at(b.neighbour(c, d));
        return blocked(code) || core::isBox(code);
    };
    const auto byBox = [&b](int c, int d) { return core::isBox(b.at(b.neighbour(c, d))); };
    std::vector<int> held; // cells where a box stood held by another box
    for (const auto m : solution) {
        const int from = b.neighbour(b.worker, m);
        if (core::apply(b, static_cast<core::Dir>(m)).kind != core::MoveKind::Push) continue;
        // The box standing there since it was held moves on.
        if (std::find(held.begin(), held.end(), from) != held.end()) return true;
        for (int c = 0; c < b.size(); ++c) {
            if (b.at(c) != core::kBox) continue;
            const bool upDown = stops(c, core::kUp) || stops(c, core::kDown);
            const bool leftRight = stops(c, core::kLeft) || stops(c, core::kRight);
            const bool byABox = byBox(c, core::kUp) || byBox(c, core::kDown) ||
                                byBox(c, core::kLeft) || byBox(c, core::kRight);
            if (upDown && leftRight && byABox &&
                std::find(held.begin(), held.end(), c) == held.end())
                held.push_back(c);
        }
    }
    return false;
}

std::optional<std::string> NearLevels::add(const Board& board, const std::string& name) {
    if (auto earlier = nearTo(board)) return earlier;
    levels_.push_back({name, layoutOf(board)});
    return std::nullopt;
}

bool nearLevels(const Board& a, const Board& b) {
    NearLevels seen;
    seen.add(a);
    return seen.nearTo(b).has_value();
}

double humanScore(const PersonFigures& f) {
    const double over = std::clamp(f.overBound - 1, 0.0, 1.0);
    const double open = std::clamp(f.openShare, 0.0, 1.0);
    return 12 * std::log10(1.0 + std::max(0, f.pushes)) +
           10 * std::log10(1.0 + std::max(0, f.boxChanges)) + 25 * over + 10 * (1 - open) +
           2 * std::max(0, f.boxes) - std::max(0.0, f.floorPerBox - 7) / 2;
}

} // namespace sokoban::levelcheck

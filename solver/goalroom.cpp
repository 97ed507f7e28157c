#include "goalroom.h"

#include "core/flood.h"

#include <algorithm>
#include <span>

namespace sokoban::solver {

GoalRoom::GoalRoom(const Board& board) : board_(board), room_(board.size(), 0) {
    const int n = board.size();
    if (board.boxes().size() != board.targets().size()) return;
    // The largest group of targets joined side by side.
    core::Flood<> groups(n);
    std::span<const int> best;
    for (Square t : board.targets()) {
        if (groups.seen(t)) continue;
        const std::size_t first = groups.order().size();
        groups.start(t);
        groups.run([&](int s) {
            for (int d = 0; d < 4; ++d) {
                const Square q = board.next(static_cast<Square>(s), d);
                if (q != kNone && board.isTarget(q)) groups.visit(q);
            }
        });
        if (groups.order().size() - first > best.size()) best = groups.order().subspan(first);
    }
    if (static_cast<int>(best.size()) < kMinTargets) return;
    for (const int t : best)
        room_[t] = 1;

    // How far each target lies from the way in, to take the nearest first.
    core::Flood<core::kFloodDistances> depth(n);
    for (int s = 0; s < n; ++s)
        if (!room_[s]) depth.start(s);
    depth.run([&](int s) {
        for (int d = 0; d < 4; ++d) {
            const Square q = board.next(static_cast<Square>(s), d);
            if (q != kNone) depth.visit(q);
        }
    });
    std::vector<std::uint8_t> hasBox(n, 0);
    for (Square b : board.boxes())
        hasBox[b] = 1;
    // Targets that start empty go out first, so that those holding a box
    // from the start come first in the order and need not move.
    std::vector<Square> cluster(best.begin(), best.end());
    std::sort(cluster.begin(), cluster.end(), [&](Square a, Square b) {
        if (hasBox[a] != hasBox[b]) return hasBox[a] < hasBox[b];
        if (depth.distance(a) != depth.distance(b)) return depth.distance(a) < depth.distance(b);
        return a < b;
    });

    // Taking a box out only makes room for the others, so taking out the
    // first one that can go never spoils the order.
    std::vector<std::uint8_t> full(n, 0);
    for (Square t : cluster)
        full[t] = 1;
    std::vector<Square> out;
    std::vector<Square> left = cluster;
    for (bool progress = true; progress && !left.empty();) {
        progress = false;
        for (std::size_t i = 0; i < left.size(); ++i) {
            if (!canTakeOut(left[i], full)) continue;
            full[left[i]] = 0;
            out.push_back(left[i]);
            left.erase(left.begin() + static_cast<std::ptrdiff_t>(i));
            progress = true;
            break;
        }
    }
    // Targets that cannot be emptied must hold a box from the start; they
    // come first. Otherwise the cluster cannot be filled this way at all.
    for (Square t : left)
        if (!hasBox[t]) {
            std::fill(room_.begin(), room_.end(), 0);
            return;
        }
    order_ = left;
    order_.insert(order_.end(), out.rbegin(), out.rend());

    // Distances to each target of the order, pulling the box away from it
    // as Board does, with the targets filled before it as wall.
    distance_.assign(order_.size() * n, kFar);
    std::vector<std::uint8_t> wall(n, 0);
    core::Flood<core::kFloodDistances> pulls(n);
    // One pull away from square s, the worker behind the box, around wall.
    const auto pull = [&](int s) {
        for (int d = 0; d < 4; ++d) {
            const Square from = board.next(static_cast<Square>(s), d);
            if (from == kNone || wall[from]) continue;
            const Square worker = board.next(from, d);
            if (worker != kNone && !wall[worker]) pulls.visit(from);
        }
    };
    for (std::size_t k = 0; k < order_.size(); ++k) {
        pulls.clear();
        pulls.start(order_[k]);
        pulls.run(pull);
        std::uint16_t* dist = &distance_[k * n];
        for (const int s : pulls.order())
            dist[s] = static_cast<std::uint16_t>(pulls.distance(s));
        wall[order_[k]] = 1;
    }
    // The same pulls from every target of the order from k on at once.
    rest_.assign(order_.size() * n, 0);
    std::fill(wall.begin(), wall.end(), 0);
    for (std::size_t k = 0; k < order_.size(); ++k) {
        pulls.clear();
        for (std::size_t j = k; j < order_.size(); ++j)
            pulls.start(order_[j]);
        pulls.run(pull);
        for (const int s : pulls.order())
            rest_[k * n + s] = 1;
        wall[order_[k]] = 1;
    }
}

bool GoalRoom::canTakeOut(Square t, const std::vector<std::uint8_t>& full) const {
    const int n = board_.size();
    std::vector<std::uint8_t> blocked = full;
    // Where the worker walks from the starts given, around the blocked squares.
    core::Flood<> walk(n);
    const auto spread = [&] {
        walk.run([&](int s) {
            for (int d = 0; d < 4; ++d) {
                const Square q = board_.next(static_cast<Square>(s), d);
                if (q != kNone && !blocked[q]) walk.visit(q);
            }
        });
    };
    // The worker comes from anywhere outside the cluster.
    for (int s = 0; s < n; ++s)
        if (!room_[s] && !blocked[s]) walk.start(s);
    spread();
    // States: the box on s with the worker on side d of it, after a pull.
    core::Flood<> pulls(n * 4);
    const auto pullsFrom = [&](Square box, bool first) {
        for (int d = 0; d < 4; ++d) {
            const Square w = board_.next(box, d);
            if (w == kNone || !walk.seen(w)) continue;
            const Square beyond = board_.next(w, d);
            if (beyond == kNone || blocked[beyond]) continue;
            if (first)
                pulls.start(w * 4 + d);
            else
                pulls.visit(w * 4 + d);
        }
    };
    pullsFrom(t, true);
    blocked[t] = 0;
    bool out = false;
    pulls.run([&](int st) {
        const Square box = static_cast<Square>(st / 4);
        if (!room_[box]) {
            out = true;
            return false;
        }
        blocked[box] = 1;
        walk.clear();
        const Square worker = board_.next(box, st % 4);
        if (!blocked[worker]) walk.start(worker);
        spread();
        pullsFrom(box, false);
        blocked[box] = 0;
        return true;
    });
    return out;
}

} // namespace sokoban::solver

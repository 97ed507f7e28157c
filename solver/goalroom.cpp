#include "goalroom.h"

#include <algorithm>

namespace sokoban::solver {

GoalRoom::GoalRoom(const Board& board) : board_(board), room_(board.size(), 0) {
    const int n = board.size();
    if (board.boxes().size() != board.targets().size()) return;
    // The largest group of targets joined side by side.
    std::vector<int> group(n, -1);
    std::vector<Square> best, members;
    for (Square t : board.targets()) {
        if (group[t] >= 0) continue;
        members.assign(1, t);
        group[t] = t;
        for (std::size_t i = 0; i < members.size(); ++i)
            for (int d = 0; d < 4; ++d) {
                Square q = board.next(members[i], d);
                if (q != kNone && board.isTarget(q) && group[q] < 0) {
                    group[q] = t;
                    members.push_back(q);
                }
            }
        if (members.size() > best.size()) best = members;
    }
    if (static_cast<int>(best.size()) < kMinTargets) return;
    for (Square t : best)
        room_[t] = 1;

    // How far each target lies from the way in, to take the nearest first.
    std::vector<int> depth(n, -1);
    std::vector<Square> queue;
    for (int s = 0; s < n; ++s)
        if (!room_[s]) {
            depth[s] = 0;
            queue.push_back(static_cast<Square>(s));
        }
    for (std::size_t i = 0; i < queue.size(); ++i)
        for (int d = 0; d < 4; ++d) {
            Square q = board.next(queue[i], d);
            if (q != kNone && depth[q] < 0) {
                depth[q] = depth[queue[i]] + 1;
                queue.push_back(q);
            }
        }
    std::vector<std::uint8_t> hasBox(n, 0);
    for (Square b : board.boxes())
        hasBox[b] = 1;
    // Targets that start empty go out first, so that those holding a box
    // from the start come first in the order and need not move.
    std::sort(best.begin(), best.end(), [&](Square a, Square b) {
        if (hasBox[a] != hasBox[b]) return hasBox[a] < hasBox[b];
        if (depth[a] != depth[b]) return depth[a] < depth[b];
        return a < b;
    });

    // Taking a box out only makes room for the others, so taking out the
    // first one that can go never spoils the order.
    std::vector<std::uint8_t> full(n, 0);
    for (Square t : best)
        full[t] = 1;
    std::vector<Square> out;
    std::vector<Square> left = best;
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
    for (std::size_t k = 0; k < order_.size(); ++k) {
        std::uint16_t* dist = &distance_[k * n];
        queue.assign(1, order_[k]);
        dist[order_[k]] = 0;
        for (std::size_t i = 0; i < queue.size(); ++i)
            for (int d = 0; d < 4; ++d) {
                Square from = board.next(queue[i], d);
                if (from == kNone || wall[from] || dist[from] != kFar) continue;
                Square worker = board.next(from, d);
                if (worker == kNone || wall[worker]) continue;
                dist[from] = static_cast<std::uint16_t>(dist[queue[i]] + 1);
                queue.push_back(from);
            }
        wall[order_[k]] = 1;
    }
}

bool GoalRoom::canTakeOut(Square t, const std::vector<std::uint8_t>& full) const {
    const int n = board_.size();
    // The worker comes from anywhere outside the cluster.
    std::vector<std::uint8_t> blocked = full, reach(n, 0), seen(static_cast<std::size_t>(n) * 4, 0);
    std::vector<Square> queue;
    auto flood = [&](const std::vector<Square>& from) {
        std::fill(reach.begin(), reach.end(), 0);
        queue.clear();
        for (Square s : from)
            if (!blocked[s] && !reach[s]) {
                reach[s] = 1;
                queue.push_back(s);
            }
        for (std::size_t i = 0; i < queue.size(); ++i)
            for (int d = 0; d < 4; ++d) {
                Square q = board_.next(queue[i], d);
                if (q != kNone && !blocked[q] && !reach[q]) {
                    reach[q] = 1;
                    queue.push_back(q);
                }
            }
    };
    std::vector<Square> outside;
    for (int s = 0; s < n; ++s)
        if (!room_[s]) outside.push_back(static_cast<Square>(s));
    flood(outside);
    // States: the box on s with the worker on side d of it, after a pull.
    std::vector<std::uint32_t> states;
    auto pullsFrom = [&](Square box) {
        for (int d = 0; d < 4; ++d) {
            Square w = board_.next(box, d);
            if (w == kNone || !reach[w]) continue;
            Square beyond = board_.next(w, d);
            if (beyond == kNone || blocked[beyond]) continue;
            std::uint32_t st = w * 4u + d;
            if (!seen[st]) {
                seen[st] = 1;
                states.push_back(st);
            }
        }
    };
    pullsFrom(t);
    blocked[t] = 0;
    for (std::size_t i = 0; i < states.size(); ++i) {
        const Square box = static_cast<Square>(states[i] / 4);
        if (!room_[box]) return true;
        blocked[box] = 1;
        flood({board_.next(box, static_cast<int>(states[i] % 4))});
        pullsFrom(box);
        blocked[box] = 0;
    }
    return false;
}

} // namespace sokoban::solver

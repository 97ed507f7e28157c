#include "goalroom.h"

#include "packing.h"

#include "core/flood.h"

#include <algorithm>
#include <span>

namespace sokoban::solver {

GoalRoom::GoalRoom(const Board& board) : board_(board), room_(board.size(), 0) {
    plan(board.boxes(), kNone);
}

GoalRoom::GoalRoom(const Board& board, const std::vector<Square>& boxes, Square man)
    : board_(board), room_(board.size(), 0) {
    plan(boxes, man);
}

void GoalRoom::plan(const std::vector<Square>& boxes, Square man) {
    const Board& board = board_;
    const int n = board.size();
    if (boxes.size() != board.targets().size()) return;
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
    depth_.assign(n, 0);
    for (int s = 0; s < n; ++s)
        depth_[s] = depth.distance(s);
    std::vector<std::uint8_t> hasBox(n, 0);
    for (Square b : boxes)
        hasBox[b] = 1;
    if (man != kNone) {
        core::Flood<> walk(n);
        walk.start(man);
        walk.run([&](int s) {
            for (int d = 0; d < 4; ++d) {
                const Square q = board.next(static_cast<Square>(s), d);
                if (q != kNone && !hasBox[q]) walk.visit(q);
            }
        });
        std::vector<Square> pushable;
        for (Square b : boxes)
            for (int d = 0; d < 4; ++d) {
                const Square w = board.next(b, opposite(d)), to = board.next(b, d);
                if (room_[b] && w != kNone && to != kNone && walk.seen(w) && !hasBox[to] &&
                    !board.isDead(to))
                    pushable.push_back(b);
            }
        for (Square b : pushable)
            hasBox[b] = 0;
    }
    adopt(planPacking(board, room_, hasBox, depth_));
}

GoalRoom::GoalRoom(const GoalRoom& old, const std::vector<Square>& boxes,
                   const std::vector<Square>& avoid)
    : board_(old.board_), room_(old.room_) {
    const int n = board_.size();
    std::vector<std::uint16_t> boxAt(n, 0);
    for (Square b : boxes)
        boxAt[b] = 1;
    const PackingPlan packing =
        replanPacking(board_, old.order_, old.filled(boxAt), boxes, old.depth_, avoid);
    depth_ = old.depth_;
    adopt(packing);
}

void GoalRoom::adopt(const PackingPlan& packing) {
    if (packing.order.empty()) {
        std::fill(room_.begin(), room_.end(), 0);
        return;
    }
    order_ = packing.order;
    if (!packing.parking.empty()) {
        parking_.assign(board_.size(), 0);
        for (Square p : packing.parking)
            parking_[p] = 1;
    }
    measure();
}

void GoalRoom::measure() {
    const Board& board = board_;
    const int n = board.size();
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

} // namespace sokoban::solver

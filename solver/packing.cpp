#include "packing.h"

#include "core/flood.h"

#include <algorithm>

namespace sokoban::solver {

namespace {

// Pulls of the box on `from` through the group, the worker walking around
// the blocked squares: calls `within` with each square of the group the box
// gets to and the worker's square then; true as soon as it can leave the
// group (when `leave`).
template <class Within>
bool pullFlood(const Board& board, const std::vector<std::uint8_t>& group,
               std::vector<std::uint8_t> blocked, Square from, bool leave, Within within) {
    const int n = board.size();
    core::Flood<> walk(n);
    const auto spread = [&] {
        walk.run([&](int s) {
            for (int d = 0; d < 4; ++d) {
                const Square q = board.next(static_cast<Square>(s), d);
                if (q != kNone && !blocked[q]) walk.visit(q);
            }
        });
    };
    // The worker comes from anywhere outside the group.
    for (int s = 0; s < n; ++s)
        if (!group[s] && !blocked[s]) walk.start(s);
    spread();
    // States: the box on s with the worker on side d of it, after a pull.
    core::Flood<> pulls(n * 4);
    const auto pullsFrom = [&](Square box, bool first) {
        for (int d = 0; d < 4; ++d) {
            const Square w = board.next(box, d);
            if (w == kNone || !walk.seen(w)) continue;
            const Square beyond = board.next(w, d);
            if (beyond == kNone || blocked[beyond]) continue;
            if (first)
                pulls.start(w * 4 + d);
            else
                pulls.visit(w * 4 + d);
        }
    };
    pullsFrom(from, true);
    blocked[from] = 0;
    bool out = false;
    pulls.run([&](int st) {
        const Square box = static_cast<Square>(st / 4);
        if (!group[box]) {
            if (leave) {
                out = true;
                return false;
            }
            return true; // outside the group: not followed further
        }
        const Square worker = board.next(box, st % 4);
        within(box, worker);
        blocked[box] = 1;
        walk.clear();
        if (!blocked[worker]) walk.start(worker);
        spread();
        pullsFrom(box, false);
        blocked[box] = 0;
        return true;
    });
    return out;
}

} // namespace

bool canPullOut(const Board& board, const std::vector<std::uint8_t>& group,
                const std::vector<std::uint8_t>& blocked, Square from) {
    return pullFlood(board, group, blocked, from, true, [](Square, Square) {});
}

std::vector<PullEnd> pullsWithin(const Board& board, const std::vector<std::uint8_t>& group,
                                 const std::vector<std::uint8_t>& blocked, Square from) {
    std::vector<PullEnd> ends;
    pullFlood(board, group, blocked, from, false, [&](Square box, Square worker) {
        ends.push_back({box, worker});
    });
    return ends;
}

PackingPlan planPacking(const Board& board, const std::vector<std::uint8_t>& group,
                        const std::vector<std::uint8_t>& filled, const std::vector<int>& depth,
                        const std::vector<std::uint8_t>& fixed) {
    const int n = board.size();
    struct Box {
        Square origin, at;
        bool departed;
    };
    std::vector<Box> boxes;
    for (int s = 0; s < n; ++s)
        if (group[s]) boxes.push_back({static_cast<Square>(s), static_cast<Square>(s), false});
    // Targets empty now go out first, so that those filled now come first in
    // the order and need not move; then the nearest the way out.
    std::sort(boxes.begin(), boxes.end(), [&](const Box& a, const Box& b) {
        if (filled[a.origin] != filled[b.origin]) return filled[a.origin] < filled[b.origin];
        if (depth[a.origin] != depth[b.origin]) return depth[a.origin] < depth[b.origin];
        return a.origin < b.origin;
    });
    std::vector<std::uint8_t> blocked(group.begin(), group.end());
    if (!fixed.empty())
        for (int s = 0; s < n; ++s)
            blocked[s] |= fixed[s];
    std::vector<Square> departures;
    PackingPlan plan;
    const auto depart = [&](Box& b) {
        if (!b.departed) departures.push_back(b.origin);
        b.departed = true;
    };
    // Taking a box out only makes room for the others, so taking out the
    // first one that can go never spoils the plan.
    const auto takeOne = [&] {
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            if (!canPullOut(board, group, blocked, boxes[i].at)) continue;
            depart(boxes[i]);
            blocked[boxes[i].at] = 0;
            boxes.erase(boxes.begin() + static_cast<std::ptrdiff_t>(i));
            return true;
        }
        return false;
    };
    // Whether the worker's square w joins the worker's start around the
    // boxes left in the group (boxes outside it are not in the way).
    core::Flood<> walk(n);
    const auto fromStart = [&](Square w) {
        const Square start = board.man();
        if (blocked[start] || blocked[w]) return false;
        walk.clear();
        walk.start(start);
        walk.run([&](int s) {
            for (int d = 0; d < 4; ++d) {
                const Square q = board.next(static_cast<Square>(s), d);
                if (q != kNone && !blocked[q]) walk.visit(q);
            }
        });
        return walk.seen(w);
    };
    // A box pulled aside within the group, when that lets another one out.
    const auto parkOne = [&] {
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            const Square was = boxes[i].at;
            for (const PullEnd end : pullsWithin(board, group, blocked, was)) {
                const Square p = end.box;
                if (p == was) continue;
                blocked[was] = 0;
                blocked[p] = 1;
                // On the way in the worker pushes the box back from there:
                // he must be able to get there from the start with the box
                // waiting, not be shut in a pocket behind it.
                bool frees = fromStart(end.worker);
                bool freed = false;
                for (std::size_t j = 0; j < boxes.size() && frees && !freed; ++j)
                    freed = j != i && canPullOut(board, group, blocked, boxes[j].at);
                frees = frees && freed;
                if (frees) {
                    depart(boxes[i]);
                    boxes[i].at = p;
                    plan.parking.push_back(p);
                    return true;
                }
                blocked[p] = 0;
                blocked[was] = 1;
            }
        }
        return false;
    };
    while (!boxes.empty() && (takeOne() || parkOne())) {
    }
    // Boxes that can never leave must be on their targets now and stay.
    std::vector<Square> stuck;
    for (const Box& b : boxes) {
        if (b.departed || !filled[b.origin]) return {};
        stuck.push_back(b.origin);
    }
    plan.order = stuck;
    plan.order.insert(plan.order.end(), departures.rbegin(), departures.rend());
    return plan;
}

PackingPlan replanPacking(const Board& board, const std::vector<Square>& order, int placed,
                          const std::vector<Square>& boxes, const std::vector<int>& depth,
                          const std::vector<Square>& avoid) {
    const int n = board.size();
    if (placed >= static_cast<int>(order.size())) return {};
    std::vector<std::uint8_t> fixed(n, 0), rest(n, 0), none(n, 0);
    for (int i = 0; i < placed; ++i)
        fixed[order[static_cast<std::size_t>(i)]] = 1;
    for (std::size_t i = static_cast<std::size_t>(placed); i < order.size(); ++i)
        rest[order[i]] = 1;
    std::vector<int> targetIndex(n, -1);
    for (std::size_t i = 0; i < board.targets().size(); ++i)
        targetIndex[board.targets()[i]] = static_cast<int>(i);
    // Candidates for the next target, the nearest a box not placed first.
    struct Candidate {
        int distance;
        Square target;
    };
    std::vector<Candidate> candidates;
    for (std::size_t i = static_cast<std::size_t>(placed) + 1; i < order.size(); ++i) {
        const Square t = order[i];
        if (std::find(avoid.begin(), avoid.end(), t) != avoid.end()) continue;
        int nearest = kFar;
        for (Square b : boxes)
            if (!fixed[b] && targetIndex[t] >= 0)
                nearest = std::min<int>(nearest, board.pushDistance(targetIndex[t], b));
        candidates.push_back({nearest, t});
    }
    std::stable_sort(
        candidates.begin(), candidates.end(),
        [](const Candidate& a, const Candidate& b) { return a.distance < b.distance; });
    for (const Candidate& c : candidates) {
        // The target must take its box with the placed ones in the way, and
        // the rest must be plannable with both in place.
        std::vector<std::uint8_t> blocked = fixed;
        blocked[c.target] = 1;
        if (!canPullOut(board, rest, blocked, c.target)) continue;
        rest[c.target] = 0;
        fixed[c.target] = 1;
        const PackingPlan after = planPacking(board, rest, none, depth, fixed);
        rest[c.target] = 1;
        fixed[c.target] = 0;
        const bool restEmpty =
            std::count(rest.begin(), rest.end(), std::uint8_t{1}) == 1; // only c.target
        if (after.order.empty() && !restEmpty) continue;
        PackingPlan plan;
        plan.order.assign(order.begin(), order.begin() + placed);
        plan.order.push_back(c.target);
        plan.order.insert(plan.order.end(), after.order.begin(), after.order.end());
        plan.parking = after.parking;
        return plan;
    }
    return {};
}

} // namespace sokoban::solver

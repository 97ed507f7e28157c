#include "learned.h"

#include <algorithm>
#include <set>

namespace sokoban::solver {

namespace {

bool bitOf(const std::vector<std::uint64_t>& bits, Square s) {
    return bits[s / 64] >> (s % 64) & 1;
}

} // namespace

DeadlockTable::DeadlockTable(const Board& board) : bySquare_(board.size()) {}

void DeadlockTable::add(const std::vector<Square>& boxes, const std::vector<std::uint64_t>& area) {
    const auto index = static_cast<std::uint32_t>(patterns_.size());
    patterns_.push_back({boxes, area});
    for (Square b : boxes)
        bySquare_[b].push_back(index);
}

bool DeadlockTable::matches(const std::vector<std::uint16_t>& boxAt, Square moved,
                            Square man) const {
    for (std::uint32_t i : bySquare_[moved]) {
        const Pattern& p = patterns_[i];
        if (!bitOf(p.area, man)) continue;
        if (std::all_of(p.boxes.begin(), p.boxes.end(), [&](Square b) { return boxAt[b] != 0; }))
            return true;
    }
    return false;
}

CorralProver::CorralProver(const Board& board, DeadlockTable& table, int cap)
    : board_(board), table_(&table), cap_(cap), detector_(board), boxAt_(board.size(), 0),
      mark_(board.size(), 0) {
    std::uint64_t state = 0xc0441ull;
    zobrist_.resize(board.size() * 2);
    for (auto& z : zobrist_) {
        std::uint64_t x = (state += 0x9e3779b97f4a7c15ull);
        x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ull;
        x = (x ^ (x >> 27)) * 0x94d049bb133111ebull;
        z = x ^ (x >> 31);
    }
}

std::uint64_t CorralProver::keyOf(const std::vector<Square>& boxes, Square man) const {
    std::uint64_t key = zobrist_[board_.size() + man];
    for (Square b : boxes)
        key ^= zobrist_[b];
    return key;
}

bool CorralProver::dead(const std::vector<std::uint16_t>& boxAt, const Detector& reach,
                        Square man) {
    const int n = board_.size();
    if (++stamp_ == 0) {
        std::fill(mark_.begin(), mark_.end(), 0);
        stamp_ = 1;
    }
    const std::uint32_t seen = stamp_;
    for (int start = 0; start < n; ++start) {
        if (boxAt[start] || reach.reached(static_cast<Square>(start)) || mark_[start] == seen)
            continue;
        // One area shut off from the worker, and the boxes round it.
        fence_.clear();
        inside_.clear();
        queue_.assign(1, static_cast<Square>(start));
        mark_[start] = seen;
        bool offTarget = false;
        for (std::size_t i = 0; i < queue_.size(); ++i) {
            const Square s = queue_[i];
            inside_.push_back(s);
            for (int d = 0; d < 4; ++d) {
                const Square q = board_.next(s, d);
                if (q == kNone || mark_[q] == seen) continue;
                mark_[q] = seen;
                if (boxAt[q]) {
                    fence_.push_back(q);
                    offTarget = offTarget || !board_.isTarget(q);
                } else {
                    queue_.push_back(q);
                }
            }
        }
        // Fence squares were stamped as seen only for this area: let a
        // neighbouring area find them again.
        for (Square f : fence_)
            mark_[f] = 0;
        if (!offTarget || static_cast<int>(fence_.size()) > kMaxBoxes) continue;
        std::sort(fence_.begin(), fence_.end());
        const std::uint64_t key = keyOf(fence_, man);
        if (tried_.count(key)) continue;
        if (proveDead(fence_, inside_, man)) return true;
        // Forgetting costs only a second try: keep the memory bounded.
        if (tried_.size() >= kMaxTried) tried_.clear();
        tried_.insert(key);
    }
    return false;
}

bool CorralProver::proveDead(const std::vector<Square>& fence, const std::vector<Square>& inside,
                             Square man) {
    const int n = board_.size();
    const std::size_t k = fence.size();
    // A state is the boxes, sorted, then the least square of the worker's area.
    std::set<std::vector<Square>> visited;
    std::vector<std::vector<Square>> open;
    auto load = [&](const std::vector<Square>& state) {
        for (std::size_t i = 0; i < k; ++i)
            boxAt_[state[i]] = 1;
    };
    auto unload = [&](const std::vector<Square>& state) {
        for (std::size_t i = 0; i < k; ++i)
            boxAt_[state[i]] = 0;
    };
    std::vector<Square> first(fence);
    load(first);
    first.push_back(detector_.reach(boxAt_, man));
    std::vector<std::uint64_t> area((n + 63) / 64, 0);
    for (int s = 0; s < n; ++s)
        if (detector_.reached(static_cast<Square>(s))) area[s / 64] |= std::uint64_t{1} << (s % 64);
    unload(first);
    visited.insert(first);
    open.push_back(std::move(first));
    std::vector<PushMove> pushes;
    bool openEnded = false;
    for (std::size_t next = 0; next < open.size(); ++next) {
        const std::vector<Square> state = open[next];
        load(state);
        detector_.reach(boxAt_, state[k]);
        bool done = std::any_of(inside.begin(), inside.end(),
                                [&](Square s) { return detector_.reached(s); });
        done = done || std::all_of(state.begin(), state.begin() + static_cast<std::ptrdiff_t>(k),
                                   [&](Square b) { return board_.isTarget(b); });
        if (done) {
            unload(state);
            openEnded = true;
            break;
        }
        pushes.clear();
        for (std::size_t i = 0; i < k; ++i) {
            const Square b = state[i];
            for (int d = 0; d < 4; ++d) {
                const Square w = board_.next(b, opposite(d)), to = board_.next(b, d);
                if (w == kNone || to == kNone || boxAt_[to] || board_.isDead(to) ||
                    !detector_.reached(w))
                    continue;
                pushes.push_back({b, static_cast<std::uint8_t>(d)});
            }
        }
        for (const PushMove& p : pushes) {
            const Square to = board_.next(p.box, p.dir);
            boxAt_[p.box] = 0;
            boxAt_[to] = 1;
            if (!detector_.frozenOffTarget(boxAt_, to)) {
                std::vector<Square> child(state.begin(),
                                          state.begin() + static_cast<std::ptrdiff_t>(k));
                *std::find(child.begin(), child.end(), p.box) = to;
                std::sort(child.begin(), child.end());
                child.push_back(detector_.reach(boxAt_, p.box));
                ++work_;
                if (visited.insert(child).second) open.push_back(std::move(child));
            }
            boxAt_[to] = 0;
            boxAt_[p.box] = 1;
        }
        unload(state);
        if (static_cast<int>(visited.size()) > cap_) {
            openEnded = true;
            break;
        }
    }
    if (openEnded) return false;
    table_->add(fence, area);
    return true;
}

} // namespace sokoban::solver

// The one breadth-first search: every reach, walk and push-distance table
// of the game and the solver walks through it. Nodes are numbers 0 .. n-1
// (cells, solver squares, square-and-side states); the caller says which
// nodes follow a node, the flood visits each node once, nearest first, and
// keeps the order and, when asked, each node's distance and parent.
//
// The buffers live as long as the flood: a search starts by moving a stamp
// on, not by clearing memory, so the solver can flood once per position.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <type_traits>
#include <vector>

namespace sokoban::core {

// What a flood keeps besides the order, as bits of its template argument.
inline constexpr unsigned kFloodDistances = 1;
inline constexpr unsigned kFloodParents = 2;

template <unsigned Keeps = 0> class Flood {
    static constexpr bool kDistances = (Keeps & kFloodDistances) != 0;
    static constexpr bool kParents = (Keeps & kFloodParents) != 0;

  public:
    explicit Flood(int nodes = 0) { resize(nodes); }

    // Room for nodes 0 .. nodes-1, nothing seen. Memory is only taken when
    // the flood grows.
    void resize(int nodes) {
        const auto n = static_cast<std::size_t>(std::max(nodes, 0));
        nodes_ = static_cast<int>(n);
        mark_.assign(n, 0);
        queue_.resize(n);
        if constexpr (kDistances) distance_.resize(n);
        if constexpr (kParents) parent_.resize(n);
        stamp_ = 1;
        head_ = tail_ = 0;
        current_ = -1;
    }
    int nodes() const { return nodes_; }

    // Forgets every node seen: a new search.
    void clear() {
        if (++stamp_ == 0) { // the stamps went round: old marks could match
            std::fill(mark_.begin(), mark_.end(), 0);
            stamp_ = 1;
        }
        head_ = tail_ = 0;
        current_ = -1;
    }

    // Adds a start node, at distance 0 with no parent; false when it was
    // seen already. Starts added after a run begin a further search that
    // keeps what the earlier ones saw.
    bool start(int node) {
        if (seen(node)) return false;
        enter(node);
        if constexpr (kDistances) distance_[static_cast<std::size_t>(node)] = 0;
        if constexpr (kParents) parent_[static_cast<std::size_t>(node)] = -1;
        return true;
    }

    // Reaches `node` from the node being expanded; false when it was seen
    // already.
    bool visit(int node) {
        if (seen(node)) return false;
        enter(node);
        if constexpr (kDistances)
            distance_[static_cast<std::size_t>(node)] =
                distance_[static_cast<std::size_t>(current_)] + 1;
        if constexpr (kParents) parent_[static_cast<std::size_t>(node)] = current_;
        return true;
    }

    // The next node to expand, in the order seen; -1 when there is none.
    int next() {
        current_ = head_ < tail_ ? queue_[head_++] : -1;
        return current_;
    }

    // Expands node after node until none is left: expand(node) visits the
    // node's neighbours. When expand returns a bool, false stops the flood
    // at once; next() carries on from there.
    template <class Expand> void run(Expand&& expand) {
        for (int node; (node = next()) >= 0;) {
            if constexpr (std::is_same_v<std::invoke_result_t<Expand&, int>, bool>) {
                if (!expand(node)) return;
            } else {
                expand(node);
            }
        }
    }

    bool seen(int node) const { return mark_[static_cast<std::size_t>(node)] == stamp_; }
    // The nodes seen, in the order seen (starts first).
    std::span<const int> order() const { return {queue_.data(), static_cast<std::size_t>(tail_)}; }
    int count() const { return tail_; }

    // Steps from the nearest start; -1 when not seen.
    int distance(int node) const requires kDistances {
        return seen(node) ? distance_[static_cast<std::size_t>(node)] : -1;
    }
    // The node it was reached from; -1 for a start and a node not seen.
    int parent(int node) const requires kParents {
        return seen(node) ? parent_[static_cast<std::size_t>(node)] : -1;
    }

  private:
    void enter(int node) {
        mark_[static_cast<std::size_t>(node)] = stamp_;
        queue_[static_cast<std::size_t>(tail_++)] = node;
    }

    int nodes_ = 0;
    std::vector<std::uint32_t> mark_; // stamp_ where seen in this search
    std::uint32_t stamp_ = 1;
    std::vector<int> queue_; // every node seen, in order; head_ the next to expand
    int head_ = 0, tail_ = 0;
    int current_ = -1;
    std::vector<int> distance_, parent_;
};

} // namespace sokoban::core

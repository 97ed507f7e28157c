// Targets packed together in one room or corner: the largest cluster of
// targets and the order to fill it in, found by taking the boxes out of the
// filled cluster one by one (each pulled out with the rest still in place),
// the last one out being the first one in.
#pragma once

#include "board.h"

#include <vector>

namespace sokoban::solver {

class GoalRoom {
  public:
    explicit GoalRoom(const Board& board);

    // A cluster big enough to be worth filling in order, and an order.
    bool active() const { return !order_.empty(); }
    // A target of the cluster (whether or not it is in the order).
    bool inRoom(Square s) const { return room_[s]; }
    // Targets of the cluster in the order they are filled.
    const std::vector<Square>& order() const { return order_; }
    // How many targets at the front of the order hold a box.
    int filled(const std::vector<std::uint16_t>& boxAt) const {
        int k = 0;
        while (k < static_cast<int>(order_.size()) && boxAt[order_[k]])
            ++k;
        return k;
    }

    // Fewest pushes that bring a box from s to order()[k], the targets
    // before it in the order holding boxes that count as wall, no other box
    // in the way; kFar when it cannot get there.
    std::uint16_t distance(int k, Square s) const {
        return distance_[static_cast<std::size_t>(k) * board_.size() + s];
    }

    // Whether a box on s can get to some target from order()[k] on, the
    // targets before it as wall and no other box in the way. When it cannot,
    // a search that keeps those targets filled never places that box. With
    // the room full (k == order().size()) there is no rest: false.
    bool canReachRest(int k, Square s) const {
        return k < static_cast<int>(order_.size()) &&
               rest_[static_cast<std::size_t>(k) * board_.size() + s];
    }

    // Smallest clusters handled this way.
    static constexpr int kMinTargets = 8;

  private:
    bool canTakeOut(Square t, const std::vector<std::uint8_t>& full) const;

    const Board& board_;
    std::vector<std::uint8_t> room_;
    std::vector<Square> order_;
    std::vector<std::uint16_t> distance_;
    std::vector<std::uint8_t> rest_;
};

} // namespace sokoban::solver

// Targets packed together in one room or corner: the largest cluster of
// targets and the order to fill it in, planned backwards from the filled
// cluster (packing.h): the boxes taken out one by one, each pulled out with
// the rest still in place, some pulled aside to wait while others pass; the
// last one out is the first one in.
#pragma once

#include "board.h"

#include <vector>

namespace sokoban::solver {

struct PackingPlan;

class GoalRoom {
  public:
    explicit GoalRoom(const Board& board);
    // The same cluster planned again from another position (`boxes`, sorted
    // or not): targets holding a box there come first when they can stay.
    // With the worker's square given, a box on a target that he can push
    // from where he stands counts as not placed (he may be shut in among
    // such boxes and have to move one to get out).
    GoalRoom(const Board& board, const std::vector<Square>& boxes, Square man = kNone);
    // The order made again from a position (`boxes`) where the old one
    // stopped fitting: the boxes at its front stay, another target than
    // the old next one (and than those in `avoid`) comes next and the rest
    // is planned after it (replanPacking). Not active when no other target
    // can come next.
    GoalRoom(const GoalRoom& old, const std::vector<Square>& boxes,
             const std::vector<Square>& avoid = {});

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

    // Where the plan has a box wait on its way in (a target later in the
    // order, or one of the cluster's squares).
    bool isParking(Square s) const { return !parking_.empty() && parking_[s]; }
    bool hasParking() const { return !parking_.empty(); }
    // A cluster of kLargeTargets or more: the searches that do not follow the
    // order seldom fill it, so they get less time.
    bool large() const { return static_cast<int>(order_.size()) >= kLargeTargets; }

    // Smallest clusters handled this way.
    static constexpr int kMinTargets = 5;
    static constexpr int kLargeTargets = 8;

  private:
    void plan(const std::vector<Square>& boxes, Square man);
    // The plan's order and parking squares; no room at all when it has no order.
    void adopt(const PackingPlan& packing);
    void measure(); // distance_ and rest_ for order_

    const Board& board_;
    std::vector<std::uint8_t> room_;
    std::vector<std::uint8_t> parking_;
    std::vector<int> depth_; // steps from the nearest square outside the cluster
    std::vector<Square> order_;
    std::vector<std::uint16_t> distance_;
    std::vector<std::uint8_t> rest_;
};

} // namespace sokoban::solver

// The plan for filling a group of targets, made backwards from the filled
// group: boxes are pulled out of it one at a time, each with the rest still
// in place, by whatever way out there is; when none can leave, one is pulled
// aside onto a square of the group already emptied, to wait there while
// another gets out. Undone, the first box out is the last one in, and a box
// pulled aside waits (parks) on that square on its way in while the others
// pass.
#pragma once

#include "board.h"

#include <cstdint>
#include <vector>

namespace sokoban::solver {

struct PackingPlan {
    // Targets of the group in the order they are filled. Empty when the
    // group cannot be emptied this way, not even with waiting boxes.
    std::vector<Square> order;
    // Squares of the group where a box waits on its way in.
    std::vector<Square> parking;
};

// `group` flags the targets to plan for; `filled` the squares holding a box
// in the position planned from. Targets filled now are emptied last (so
// they head the order and need not move); those that cannot be emptied at
// all must be filled now. `depth` gives, per square, how far it lies from
// the way out: the nearest go first.
// `fixed` (empty: none) flags squares outside the group whose boxes stay
// where they are throughout.
PackingPlan planPacking(const Board& board, const std::vector<std::uint8_t>& group,
                        const std::vector<std::uint8_t>& filled, const std::vector<int>& depth,
                        const std::vector<std::uint8_t>& fixed = {});

// A plan made again when the old one stopped fitting: `order`'s first
// `placed` targets hold boxes that stay, and its next one (order[placed])
// could not be filled, nor those in `avoid`. The new order keeps the placed
// ones, then the target nearest a box on `boxes` (by push distance) among
// those that can come next, none of those, with a plan for the rest after
// it. Empty when no other target can come next.
PackingPlan replanPacking(const Board& board, const std::vector<Square>& order, int placed,
                          const std::vector<Square>& boxes, const std::vector<int>& depth,
                          const std::vector<Square>& avoid = {});

// Whether the box on `from` can be pulled out of the group (onto a square
// not flagged in `group`), the squares flagged in `blocked` in the way and
// the worker coming from anywhere outside the group.
bool canPullOut(const Board& board, const std::vector<std::uint8_t>& group,
                const std::vector<std::uint8_t>& blocked, Square from);

// Where the box on `from` can be pulled to without leaving the group, as
// canPullOut pulls: the box's square and the worker's beside it.
struct PullEnd {
    Square box, worker;
};
std::vector<PullEnd> pullsWithin(const Board& board, const std::vector<std::uint8_t>& group,
                                 const std::vector<std::uint8_t>& blocked, Square from);

} // namespace sokoban::solver

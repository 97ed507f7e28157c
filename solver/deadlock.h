// Deadlock tests on one position: boxes that can never move again (freeze),
// and areas the worker cannot enter whose boxes must be dealt with first
// (corrals). Dead squares are part of the Board.
#pragma once

#include "board.h"
#include "core/flood.h"

#include <cstdint>
#include <vector>

namespace sokoban::solver {

struct PushMove {
    Square box; // square of the box before the push
    std::uint8_t dir;
};

class Detector {
  public:
    explicit Detector(const Board& board);

    // boxAt[s] is nonzero where a box stands. True when the box on s can no
    // longer move and it, or a box that holds it, is off target.
    bool frozenOffTarget(const std::vector<std::uint16_t>& boxAt, Square s);

    // Marks the squares the worker reaches from `man`; reached() is valid
    // until the next call. Returns the smallest reached square.
    Square reach(const std::vector<std::uint16_t>& boxAt, Square man);
    bool reached(Square s) const { return reach_.seen(s); }

    // The smallest square the worker reaches from `man`, with boxes on the
    // squares set in `boxRows` (one bit per column, a word per row). The same
    // as reach() but with whole rows at a time, for positions that are only
    // looked up.
    Square leastReachable(const std::vector<std::uint64_t>& boxRows, Square man);
    // Whether the last leastReachable() walk got to s.
    bool inArea(Square s) const { return areaRows_[rowOf_[s]] >> colOf_[s] & 1; }
    // Sets or clears the bit of square s in rows of that shape.
    void flip(std::vector<std::uint64_t>& rows, Square s) const {
        rows[rowOf_[s]] ^= std::uint64_t{1} << colOf_[s];
    }

    enum class Corral { None, Restrict, Deadlock };
    // Looks for an area the worker cannot enter (after reach()) that must be
    // opened by pushing one of its border boxes inward, where every such
    // first push is possible right now. Restrict: only `pushes` need to be
    // tried. Deadlock: the area needs work and can never be opened.
    Corral corral(const std::vector<std::uint16_t>& boxAt, const std::vector<Square>& boxes,
                  std::vector<PushMove>& pushes);

  private:
    bool isFrozen(Square s);
    bool blockedOnAxis(Square s, int firstDir);

    const Board& board_;
    const std::vector<std::uint16_t>* boxAt_ = nullptr;
    std::vector<std::uint8_t> asWall_;
    std::vector<Square> frozen_;
    core::Flood<> reach_;
    // Areas of one corral() call carry stamps from one base up.
    std::vector<std::uint32_t> corralMark_, fenceMark_;
    std::uint32_t corralStamp_ = 0, fenceStamp_ = 0;
    core::Flood<> area_;
    std::vector<Square> fence_;
    std::vector<PushMove> candidates_;
    std::vector<std::uint8_t> rowOf_, colOf_;
    std::vector<std::uint64_t> floorRows_, areaRows_;
};

} // namespace sokoban::solver

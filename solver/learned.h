// Deadlocks the search learns as it goes. When the worker is shut out of an
// area, the boxes round it are tried on their own, every other box taken off
// the board, in a small search over their pushes: if those few boxes can
// never open the area or all stand on targets, no position that holds them
// on the same squares, with the worker on the same side of them, can be
// solved either (more boxes only get in the way). Such a set of boxes, with
// the squares the worker could be on, goes into a table that every new
// position is checked against.
#pragma once

#include "board.h"
#include "deadlock.h"

#include <cstdint>
#include <unordered_set>
#include <vector>

namespace sokoban::solver {

class DeadlockTable {
  public:
    explicit DeadlockTable(const Board& board);

    // A box set that cannot be solved with the worker anywhere in `area`
    // (one bit per square).
    void add(const std::vector<Square>& boxes, const std::vector<std::uint64_t>& area);

    // Whether a pattern holding the box on `moved` is in the position: all
    // its boxes stand where boxAt says, and the worker's square `man` lies in
    // its area.
    bool matches(const std::vector<std::uint16_t>& boxAt, Square moved, Square man) const;

    std::size_t size() const { return patterns_.size(); }

  private:
    struct Pattern {
        std::vector<Square> boxes;
        std::vector<std::uint64_t> area;
    };
    std::vector<Pattern> patterns_;
    std::vector<std::vector<std::uint32_t>> bySquare_;
};

class CorralProver {
  public:
    // Sub-positions the small search may look at per try.
    static constexpr int kDefaultCap = 400;
    // Boxes round an area above this many are not tried.
    static constexpr int kMaxBoxes = 10;

    CorralProver(const Board& board, DeadlockTable& table, int cap = kDefaultCap);

    // For a position whose worker's reach is the last reach() of `reach`,
    // `man` a square of it: true when the boxes round some area the worker
    // cannot enter are found dead on their own (the pattern then goes into
    // the table).
    bool dead(const std::vector<std::uint16_t>& boxAt, const Detector& reach, Square man);

    // Where the patterns found from now on go.
    void useTable(DeadlockTable& table) { table_ = &table; }

    // Sub-positions looked at in all tries so far.
    std::uint64_t work() const { return work_; }

  private:
    // The small search over `fence`'s pushes alone; `inside` the squares of
    // the area shut off.
    bool proveDead(const std::vector<Square>& fence, const std::vector<Square>& inside, Square man);
    std::uint64_t keyOf(const std::vector<Square>& boxes, Square man) const;

    const Board& board_;
    DeadlockTable* table_;
    const int cap_;
    Detector detector_;
    std::vector<std::uint16_t> boxAt_;
    std::vector<std::uint32_t> mark_;
    std::uint32_t stamp_ = 0;
    std::vector<Square> fence_, inside_, queue_;
    std::vector<std::uint64_t> zobrist_;
    // Fence sets (with the worker's side) found not dead, or not within the
    // cap; the dead ones are in the table.
    static constexpr std::size_t kMaxTried = std::size_t{1} << 18;
    std::unordered_set<std::uint64_t> tried_;
    std::uint64_t work_ = 0;
};

} // namespace sokoban::solver

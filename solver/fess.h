// A search in a space of features. Each position is projected onto a few
// numbers that say how far along it is (boxes packed, the floor cut into
// pieces by boxes, pieces the worker is shut out of, boxes that can no
// longer get to a target). The search goes round the occupied cells of that
// space, expanding from each in turn the unexpanded position reached at the
// least cost, so that it makes progress on every feature at once instead of
// flooding the plateau of one guide. A step is a whole box move: one box
// taken to any square it can get to with the others standing still; moves
// that improve a feature (those an advisor proposes) cost nothing, the
// others one. The pushes are found again only for the answer.
#pragma once

#include "board.h"
#include "core/flood.h"
#include "deadlock.h"
#include "goalroom.h"
#include "learned.h"
#include "matching.h"
#include "search.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace sokoban::solver {

struct Features {
    int packed = 0;    // boxes packed: the filled front of the goal room's order and
                       // boxes on targets outside it; without a room, boxes on targets
    int regions = 0;   // pieces the free floor is cut into by boxes
    int closed = 0;    // pieces the worker cannot enter that hold an empty target
    int outOfPlan = 0; // boxes off target that cannot get to an empty target, the
                       // other boxes standing still
    bool operator==(const Features&) const = default;
};

// Measures the features of positions of one board.
class FeatureMeter {
  public:
    FeatureMeter(const Board& board, const GoalRoom* room);
    // boxAt nonzero where a box stands, `man` a square of the worker's area.
    Features measure(const std::vector<std::uint16_t>& boxAt, Square man);

  private:
    const Board& board_;
    const GoalRoom* room_;
    core::Flood<> flood_;
    std::vector<std::uint8_t> pulled_;
};

// A whole box move: the box on `from` taken to `to` by `pushes` pushes,
// the worker's area after it named by its least square `man`.
struct BoxMove {
    Square from;
    Square to;
    Square man;
    int pushes;
};

// Whole box moves of one board's positions.
class BoxMover {
  public:
    explicit BoxMover(const Board& board);

    // Every whole move of every box from the position (boxes sorted, `man`
    // a square of the worker's area): each square a box can get to, once per
    // area of the worker there, by the fewest pushes, never onto a dead
    // square. The position itself is not among them.
    // With `first`, only moves that begin with one of those pushes.
    void moves(const std::vector<Square>& boxes, Square man, std::vector<BoxMove>& out,
               const std::vector<PushMove>* first = nullptr);
    // The pushes of one such move, as moves() found it; false when it is
    // not a move of the position.
    bool pushesOf(const std::vector<Square>& boxes, Square man, const BoxMove& move,
                  std::vector<PushRun>& out);

  private:
    void place(const std::vector<Square>& boxes, bool on);
    // The flood over the box's square and the worker's side, from the box on
    // `box` (taken off boxAt_ and boxRows_) with the worker's current area
    // reached by detector_; calls found(state, man) for each new position,
    // stopping when it returns false. The first push goes in one of the
    // directions of `firstDirs` (a bit per move code).
    template <class Found>
    void flood(Square box, Square parentMan, unsigned firstDirs, Found&& found);

    const Board& board_;
    Detector detector_;
    std::vector<std::uint16_t> boxAt_;
    std::vector<std::uint64_t> boxRows_;
    core::Flood<core::kFloodParents> flood_;
    std::vector<std::uint32_t> done_;
    std::uint32_t stamp_ = 0;
};

class FeatureSearch {
  public:
    FeatureSearch(const Board& board, SearchControl& control, const GoalRoom* room = nullptr);
    ~FeatureSearch();
    FeatureSearch(const FeatureSearch&) = delete;
    FeatureSearch& operator=(const FeatureSearch&) = delete;

    // Processor time of its thread the search may take (0: no share).
    void setShare(double seconds) { share_ = seconds; }
    // Deadlocks learned go to, and are looked up in, this table.
    void shareLearned(DeadlockTable& table) {
        learned_ = &table;
        prover_.useTable(table);
    }

    SearchOutcome run();

    // Cells of the feature space occupied so far.
    std::size_t cells() const { return cells_.size(); }

  private:
    struct Node {
        std::uint64_t hash;
        std::uint32_t parent;
        std::uint32_t weight; // advisor moves 0, others 1, summed from the start
        std::uint32_t g;      // pushes from the start
        std::uint32_t cell;
        Features features;
        Square man;
        Square from, to; // the move that made it
        std::uint8_t expanded;
    };
    struct Cell {
        std::vector<std::uint64_t> open; // heap of (weight, pushes, node), least first
    };
    struct OutOfMemory {};

    std::uint32_t find(std::uint64_t hash, const Square* boxes) const;
    void insert(std::uint32_t index);
    void take(std::int64_t bytes);
    std::uint32_t cellOf(const Features& f);
    void open(std::uint32_t index);
    bool timeToStop(SearchOutcome& out);
    // Expands a node; the index of a solved child, or kNone32.
    std::uint32_t expand(std::uint32_t index, SearchOutcome& out);
    // Whether the node is dead; else `restricted` tells whether only the
    // pushes in corralPushes_ need to be tried first.
    bool deadAtExpansion(std::uint32_t index, bool& restricted);

    const Board& board_;
    SearchControl& control_;
    const GoalRoom* room_;
    const int nBoxes_;
    double share_ = 0, shareStart_ = 0;
    FeatureMeter meter_;
    BoxMover mover_;
    Detector detector_;
    DeadlockTable ownLearned_;
    DeadlockTable* learned_;
    CorralProver prover_;
    Matcher matcher_;
    std::vector<int> cost_;
    std::vector<std::uint64_t> boxKey_, manKey_;

    std::vector<Node> nodes_;
    std::vector<Square> boxes_; // nBoxes_ per node, sorted
    std::vector<std::uint32_t> table_;
    std::int64_t taken_ = 0, reserved_ = 0;
    std::vector<Cell> cells_;
    std::unordered_map<std::uint32_t, std::uint32_t> cellIndex_;

    // Scratch for one expansion.
    std::vector<std::uint16_t> boxAt_;
    std::vector<Square> position_, child_;
    std::vector<BoxMove> moves_;
    std::vector<PushMove> corralPushes_;
};

} // namespace sokoban::solver

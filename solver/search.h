// One best-first search over pushes. Several may run at once on the same
// board, sharing the limits and the best solution found so far.
#pragma once

#include "board.h"
#include "core/flood.h"
#include "deadlock.h"
#include "goalroom.h"
#include "learned.h"
#include "matching.h"

#include <atomic>
#include <climits>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

namespace sokoban::solver {

class SolveClock;

// What all searches of one solve share. Times are seconds of the clock:
// wall time for the deadline and the grace, processor time of the search's
// own thread for the share.
struct SearchControl {
    explicit SearchControl(const SolveClock& c) : clock(c) {}
    const SolveClock& clock;
    double deadline = std::numeric_limits<double>::infinity();
    const std::atomic<bool>* cancel = nullptr;
    std::atomic<bool> stop{false};
    // Bytes the searches may still take.
    std::atomic<std::int64_t> memoryLeft{0};
    // Pushes of the best solution found so far by any search.
    std::atomic<int> bestPushes{INT_MAX};
    // A search proving optimality gives up at this time once another has a
    // solution (0: no such time yet).
    std::atomic<double> graceEnd{0};

    bool take(std::int64_t bytes) {
        if (memoryLeft.fetch_sub(bytes) - bytes < 0) {
            memoryLeft.fetch_add(bytes);
            return false;
        }
        return true;
    }
    void give(std::int64_t bytes) { memoryLeft.fetch_add(bytes); }
};

// A box pushed `count` times in one direction.
struct PushRun {
    Square from;
    std::uint8_t dir;
    std::uint8_t count;
};

// GaveUp: a search held to filling a goal room in order ran out of
// positions, which proves nothing about the level. OutOfShare: the search
// had the processor time given to it (setShare).
enum class SearchEnd { Solved, Exhausted, Timeout, Memory, Cancelled, Stopped, GaveUp, OutOfShare };

struct SearchOutcome {
    SearchEnd end = SearchEnd::Exhausted;
    std::vector<PushRun> pushes;
    int pushCount = 0;
    std::uint64_t expanded = 0;
    std::uint64_t generated = 0;
    std::uint64_t learned = 0; // deadlock patterns learned (set when it solved or ran out)
    double foundAt = 0;        // seconds into the solve, when Solved
    bool fewest = false;       // from a search for the fewest pushes
};

// Random keys for hashing positions, one per square for a box and one for
// the worker's area, the same for the same seed.
void positionKeys(int squares, std::uint64_t seed, std::vector<std::uint64_t>& boxKey,
                  std::vector<std::uint64_t>& manKey);

// Whether a search must stop now, and why (in out.end): cancelled, stopped,
// past the deadline or the grace after another's answer, or through its
// share of processor time (share > 0) since shareStart.
bool searchMustStop(const SearchControl& control, double share, double shareStart,
                    SearchOutcome& out);

class Search {
  public:
    // weight 1 finds solutions with fewest pushes (up to the tunnel rule);
    // larger weights trust the lower bound more and find longer ones faster.
    // With a goal room the search is guided by its order, and a box pushed
    // into it may also go straight on to the order's next target in one
    // step. Strict: that is the only way in, and boxes filling the front of
    // the order stay (running out of positions then proves nothing).
    Search(const Board& board, SearchControl& control, int weight, const GoalRoom* room = nullptr,
           bool strictRoom = true);
    ~Search();
    Search(const Search&) = delete;
    Search& operator=(const Search&) = delete;

    // Processor time of its thread the search may take before it ends with
    // OutOfShare; 0 (the default) for no such share.
    void setShare(double seconds) { share_ = seconds; }
    // Whether the goal room's guide adds half the bound to the distance of
    // the nearest box (the default): without it the guide stays flat while
    // that box cannot move and others come nearer, but it keeps to one box
    // at a time. Searches side by side take one each.
    void setGuideBound(bool on) { guideBound_ = on; }
    // Greedy best first: positions in the order of the guide alone, the
    // pushes so far left out. Cheap on small levels, far from the fewest
    // pushes.
    void setGreedy(bool on) { greedy_ = on; }
    // Whether a goal room's search also takes the boxes nearest the next
    // target of the order there in one step each (the default).
    void setWholeMoves(bool on) { wholeMoves_ = on; }

    // Whether the search learns deadlocks of the boxes round areas the
    // worker is shut out of (the default).
    void setLearning(bool on) { learn_ = on; }
    // Where the deadlocks learned go and are looked up: a table that
    // outlives the search, so that the next search on the same thread (and
    // board) starts with them; the search's own by default.
    void shareLearned(DeadlockTable& table) {
        learned_ = &table;
        prover_.useTable(table);
    }

    // A search held to a goal room's order gives up (GaveUp) once it has
    // expanded this many positions since it last filled more of the order
    // than before: the order has stopped fitting (0, the default: never).
    void setStallLimit(std::uint64_t positions) { stallLimit_ = positions; }
    // Starts from this position instead of the level's (boxes sorted, the
    // worker anywhere in his area).
    void setStart(const std::vector<Square>& boxes, Square man) {
        startBoxes_ = boxes;
        startMan_ = man;
    }

    SearchOutcome run();

    // After a search held to a goal room's order: the position it got
    // furthest in, the most targets at the front of the order filled (then
    // the least guide), and the pushes from the start that reach it.
    struct Furthest {
        std::vector<Square> boxes;
        Square man = kNone;
        std::vector<PushRun> pushes;
        int pushCount = 0;
        int filled = 0;
    };
    Furthest furthest();
    // The last position on the way to furthest() with at most `filled` of
    // the order's front filled: where to make another choice.
    Furthest furthestAt(int filled);

    // Lower bound for the boxes on `boxes` with the worker on `man`, or
    // Matcher::kNoPair when some box can reach no target of its own.
    int lowerBound(const std::vector<Square>& boxes, Square man);

  private:
    struct Node {
        std::uint64_t hash;
        std::uint32_t parent;
        std::uint16_t g;
        std::uint16_t h;
        Square man; // least square of the worker's area
        Square from;
        std::uint8_t dir;
        std::uint8_t count;
        std::uint8_t closed;
        // 0 one push run; kThroughRoom: then on through the goal room;
        // kWholeMove: the box went from `from` to the order's next target.
        std::uint8_t macro;
    };
    static constexpr std::uint8_t kThroughRoom = 1, kWholeMove = 2;
    struct OutOfMemory {};
    struct Interrupted {}; // out says why

    static constexpr std::uint32_t kChunk = 1u << 15;

    Node& node(std::uint32_t i) { return nodeChunks_[i / kChunk][i % kChunk]; }
    Square* boxesOf(std::uint32_t i) { return &boxChunks_[i / kChunk][(i % kChunk) * nBoxes_]; }
    std::uint32_t addNode(const Node& n, const Square* boxes);
    std::uint32_t find(std::uint64_t hash, const Square* boxes) const;
    void insert(std::uint32_t index);
    void growTable();
    void pushOpen(std::uint32_t index);
    std::uint64_t key(const Node& n) const; // f and h, index left 0
    // The bound for sorted boxes; the worker's area is that of the last
    // reach() (fromRows false) or leastReachable() (true).
    int bound(const Square* boxes, bool fromRows);
    bool timeToStop(SearchOutcome& out);
    double share_ = 0;
    bool guideBound_ = true;
    bool wholeMoves_ = true;
    bool greedy_ = false;
    double shareStart_ = 0; // processor time of the thread when run() began
    // With a goal room the search is guided, not bounded: while the room is
    // not full, a fixed step for each target of the order still empty plus
    // the push distance of the nearest free box to the next one (boxAt_
    // holding the position; 0 once the room is full), with half the bound
    // when guideBound_; after that the bound.
    static constexpr int kRoomStep = 100;
    int roomPenalty() const;
    int roomGuide(int bound) const;
    void expand(std::uint32_t index, SearchOutcome& out, std::uint32_t& goal);
    // The push runs from the start to node `to`, whole moves and ways through
    // the room found again as the search found them.
    void pathTo(std::uint32_t to, std::vector<PushRun>& pushes);
    void noteFurthest(std::uint32_t index);
    // Fewest pushes that take the box on `box`, with the worker on `worker`
    // beside it, through free squares of the goal room to `goal`, the other
    // boxes standing still (boxAt_ and boxRows_ without this box); -1 when there is no
    // way. `path` gets the pushes, `last` the worker's square at the end.
    int roomPath(Square box, Square worker, Square goal, std::vector<PushRun>* path, Square* last);
    // Whole box moves: the boxes nearest the order's next empty target (the
    // k-th), each taken there in one step when it can go with the others
    // standing still. Children as expand() makes them.
    // After the box on `from` went to `to` (boxAt_ holding the child): a
    // search held to the goal room's order keeps the filled front where it
    // is, so a box that can no longer get to any target after it is lost.
    bool shutOut(Square from, Square to) const;
    void wholeMoves(std::uint32_t index, const Node& parent, int k, SearchOutcome& out,
                    std::uint32_t& goal);
    // Fewest pushes that take the box on `box` to the order's k-th target
    // anywhere on the board, the other boxes standing still (boxAt_ without
    // this box), the worker starting on a side of the box it reaches now
    // (`sides`, a bit per move code); -1 when there is none or it takes more
    // than the search allows. `path` gets the pushes. boxRows_ holds the
    // same boxes as boxAt_.
    int wholePath(Square box, unsigned sides, int k, std::vector<PushRun>* path);
    // Makes the child of a push run (ending with the box on `to`, the worker
    // on `behind`) unless it is dead, a known position with fewer pushes,
    // or out of the bound; a goal found ends up in `goal`.
    void addChild(std::uint32_t index, std::uint64_t parentBoxHash, Square from, int dir, int count,
                  Square to, Square behind, int g, std::uint8_t macro, std::uint32_t& goal);

    const Board& board_;
    const GoalRoom* room_;
    const bool strictRoom_;
    std::vector<Square> startBoxes_;
    Square startMan_;
    std::uint32_t furthest_ = 0xffffffffu;
    int furthestFilled_ = -1;
    std::uint64_t stallLimit_ = 0, expandedNow_ = 0, lastProgress_ = 0;
    std::vector<int> rank_; // place of each square in the room's order, -1
    SearchControl& control_;
    const int weight_;
    const int nBoxes_;
    Detector detector_;
    bool learn_ = true;
    DeadlockTable ownLearned_;
    DeadlockTable* learned_;
    CorralProver prover_;
    Matcher matcher_;
    std::vector<int> cost_;
    std::vector<std::uint64_t> boxKey_, manKey_;

    std::vector<std::unique_ptr<Node[]>> nodeChunks_;
    std::vector<std::unique_ptr<Square[]>> boxChunks_;
    std::uint32_t nodeCount_ = 0;
    std::vector<std::uint32_t> table_; // node index + 1, 0 free
    std::vector<std::uint64_t> open_;  // heap of keys, least first
    std::int64_t taken_ = 0;           // bytes taken from control_

    // Scratch for expanding one node.
    std::vector<std::uint16_t> boxAt_;
    std::vector<std::uint64_t> boxRows_;
    std::vector<Square> boxes_, child_;
    std::vector<PushMove> pushes_;
    core::Flood<core::kFloodParents> roomFlood_;
    // Scratch for wholePath: pushes so far per square-and-side state (stamped),
    // the state each came from, a heap of (estimate, state).
    std::vector<std::uint32_t> wholeSeen_;
    std::uint32_t wholeStamp_ = 0;
    std::vector<std::uint16_t> wholeG_;
    std::vector<std::int32_t> wholeFrom_;
    std::vector<std::uint64_t> wholeOpen_;
    std::vector<PushRun> wholeRuns_;
    static constexpr std::size_t kWholeCandidates = 3, kWholeTries = 6;
};

// The bolder search held to a goal room's order; each time it runs out of
// positions the order is made again from the position it got furthest in
// (GoalRoom's re-plan: the boxes placed stay, another target comes next)
// and the search goes on from there, up to `replans` times, all within the
// processor time `share` (0: no share). GaveUp when the last order ran dry
// too; a solution holds the pushes from the level's start.
SearchOutcome searchInOrder(const Board& board, SearchControl& control, int weight,
                            const GoalRoom& room, DeadlockTable& learned, double share,
                            bool guideBound, int replans = 16);

// The cheap search for small levels: greedy best first on the bound (or,
// with a goal room, loosely guided by its order), within the processor
// time `share` (0: no share).
SearchOutcome cheapSearch(const Board& board, SearchControl& control, const GoalRoom* room,
                          DeadlockTable& learned, double share);

} // namespace sokoban::solver

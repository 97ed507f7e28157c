#include "search.h"

#include "solver.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <new>

namespace sokoban::solver {

namespace {

std::uint64_t splitMix(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9e3779b97f4a7c15ull);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
}

constexpr std::uint32_t kNoNode = 0xffffffffu;
constexpr int kMaxG = 60000;
// Above this many boxes the bound is a sum of nearest targets.
constexpr int kMatchLimit = 120;
// Positions a search held to a goal room's order may expand without filling
// more of it before the order is made again.
constexpr std::uint64_t kStallPositions = 10000;
// How many targets back along the way to the furthest position a new order
// may start from.
constexpr int kBackOff = 6;
// The greedy search's weight: only above one, so that a position whose
// guide is zero ends it at once; the pushes so far do not count.
constexpr int kGreedyWeight = 2;

} // namespace

Search::Search(const Board& board, SearchControl& control, int weight, const GoalRoom* room,
               bool strictRoom)
    : board_(board), room_(room && room->active() ? room : nullptr), strictRoom_(strictRoom),
      startBoxes_(board.boxes()), startMan_(board.man()), control_(control),
      weight_(std::max(1, weight)), nBoxes_(static_cast<int>(board.boxes().size())),
      detector_(board), ownLearned_(board), learned_(&ownLearned_), prover_(board, ownLearned_),
      boxAt_(board.size(), 0), boxRows_(board.level().rows, 0), boxes_(nBoxes_), child_(nBoxes_) {
    positionKeys(board.size(), 0x5eed5eedull, boxKey_, manKey_);
    if (nBoxes_ <= kMatchLimit)
        cost_.resize(static_cast<std::size_t>(nBoxes_) * board.targets().size());
    if (room_) {
        rank_.assign(board.size(), -1);
        for (std::size_t i = 0; i < room_->order().size(); ++i)
            rank_[room_->order()[i]] = static_cast<int>(i);
        roomFlood_.resize(board.size() * 4);
    }
}

int Search::roomGuide(int bound) const {
    const int penalty = roomPenalty();
    return penalty > 0 ? penalty + (guideBound_ ? bound / 2 : 0) : bound;
}

int Search::roomPenalty() const {
    const int m = static_cast<int>(room_->order().size());
    const int k = room_->filled(boxAt_);
    if (k == m) return 0;
    int nearest = kFar;
    for (int s = 0; s < board_.size(); ++s)
        if (boxAt_[s] && !(rank_[s] >= 0 && rank_[s] < k))
            nearest = std::min<int>(nearest, room_->distance(k, static_cast<Square>(s)));
    return kRoomStep * (m - k) + (nearest == kFar ? 0 : nearest);
}

int Search::roomPath(Square box, Square worker, Square goal, std::vector<PushRun>* path,
                     Square* last) {
    // Breadth first over the box's square and the side the worker is on.
    roomFlood_.clear();
    for (int side = 0; side < 4; ++side)
        if (board_.next(box, side) == worker) roomFlood_.start(box * 4 + side);
    int arrived = -1;
    roomFlood_.run([&](int st) {
        const Square b = static_cast<Square>(st / 4);
        if (b == goal) {
            arrived = st;
            return false;
        }
        detector_.flip(boxRows_, b);
        detector_.leastReachable(boxRows_, board_.next(b, st % 4));
        detector_.flip(boxRows_, b);
        for (int d = 0; d < 4; ++d) {
            const Square w = board_.next(b, opposite(d)), to = board_.next(b, d);
            if (w == kNone || to == kNone || !detector_.inArea(w) || boxAt_[to] ||
                !room_->inRoom(to))
                continue;
            roomFlood_.visit(to * 4 + opposite(d));
        }
        return true;
    });
    if (arrived < 0) return -1;
    int pushes = 0;
    for (int at = arrived; roomFlood_.parent(at) >= 0; at = roomFlood_.parent(at))
        ++pushes;
    if (path) {
        const std::size_t first = path->size();
        for (int at = arrived; roomFlood_.parent(at) >= 0; at = roomFlood_.parent(at))
            path->push_back({static_cast<Square>(roomFlood_.parent(at) / 4),
                             static_cast<std::uint8_t>(opposite(at % 4)), 1});
        std::reverse(path->begin() + static_cast<std::ptrdiff_t>(first), path->end());
    }
    *last = board_.next(goal, arrived % 4);
    return pushes;
}

Search::~Search() {
    control_.give(taken_);
}

int Search::lowerBound(const std::vector<Square>& boxes, Square man) {
    for (Square b : boxes)
        boxAt_[b] = 1;
    detector_.reach(boxAt_, man);
    for (Square b : boxes)
        boxAt_[b] = 0;
    std::vector<Square> sorted = boxes;
    std::sort(sorted.begin(), sorted.end());
    return bound(sorted.data(), false);
}

int Search::bound(const Square* boxes, bool fromRows) {
    const int targets = static_cast<int>(board_.targets().size());
    const int n = nBoxes_;
    if (n > kMatchLimit) {
        // Too many boxes for a matching per position: each box's own
        // nearest target, still a lower bound.
        int sum = 0;
        for (int i = 0; i < n; ++i) {
            int best = Matcher::kNoPair;
            for (int t = 0; t < targets; ++t) {
                std::uint16_t d = board_.pushDistance(t, boxes[i]);
                if (d != kFar && d < best) best = d;
            }
            if (best == Matcher::kNoPair) return best;
            sum += best;
        }
        return std::min(sum, Matcher::kNoPair);
    }
    int* c = cost_.data();
    const bool sides = board_.hasSideDistances();
    for (int i = 0; i < n; ++i) {
        const Square b = boxes[i];
        // The sides of the box the worker can get to: those joined to a side
        // it reaches now, or all of them when it reaches none yet.
        unsigned groups = 0;
        if (sides) {
            for (int k = 0; k < 4; ++k) {
                Square q = board_.next(b, k);
                if (q == kNone) continue;
                bool at = fromRows ? detector_.inArea(q) : detector_.reached(q);
                if (at) groups |= 1u << board_.sideGroup(b, k);
            }
        }
        for (int t = 0; t < targets; ++t) {
            std::uint16_t d = board_.pushDistance(t, b);
            if (sides && d != kFar && groups) {
                d = kFar;
                for (int k = 0; k < 4; ++k) {
                    std::uint8_t g = board_.sideGroup(b, k);
                    if (g != Board::kNoGroup && (groups >> g & 1))
                        d = std::min(d, board_.sideDistance(t, b, k));
                }
            }
            *c++ = d == kFar ? Matcher::kNoPair : d;
        }
    }
    return matcher_.solve(n, targets, cost_);
}

std::uint32_t Search::addNode(const Node& n, const Square* boxes) {
    if (nodeCount_ == kNoNode - 1) throw OutOfMemory{};
    if (nodeCount_ % kChunk == 0) {
        std::int64_t bytes = static_cast<std::int64_t>(kChunk) *
                             (sizeof(Node) + sizeof(Square) * std::max(nBoxes_, 1));
        if (!control_.take(bytes)) throw OutOfMemory{};
        taken_ += bytes;
        nodeChunks_.emplace_back(new Node[kChunk]);
        boxChunks_.emplace_back(
            new Square[static_cast<std::size_t>(kChunk) * std::max(nBoxes_, 1)]);
    }
    std::uint32_t i = nodeCount_++;
    node(i) = n;
    std::copy(boxes, boxes + nBoxes_, boxesOf(i));
    return i;
}

std::uint32_t Search::find(std::uint64_t hash, const Square* boxes) const {
    if (table_.empty()) return kNoNode;
    const std::size_t mask = table_.size() - 1;
    for (std::size_t pos = hash & mask;; pos = (pos + 1) & mask) {
        std::uint32_t slot = table_[pos];
        if (slot == 0) return kNoNode;
        std::uint32_t i = slot - 1;
        const Node& n = nodeChunks_[i / kChunk][i % kChunk];
        if (n.hash == hash && std::memcmp(&boxChunks_[i / kChunk][(i % kChunk) * nBoxes_], boxes,
                                          sizeof(Square) * nBoxes_) == 0)
            return i;
    }
}

void Search::growTable() {
    std::size_t size = table_.empty() ? (1u << 16) : table_.size() * 2;
    std::int64_t bytes = static_cast<std::int64_t>(size * sizeof(std::uint32_t));
    if (!control_.take(bytes)) throw OutOfMemory{};
    taken_ += bytes;
    std::vector<std::uint32_t> old(size, 0);
    old.swap(table_);
    const std::size_t mask = size - 1;
    for (std::uint32_t slot : old) {
        if (slot == 0) continue;
        std::size_t pos = node(slot - 1).hash & mask;
        while (table_[pos] != 0)
            pos = (pos + 1) & mask;
        table_[pos] = slot;
    }
    std::int64_t freed = static_cast<std::int64_t>(old.size() * sizeof(std::uint32_t));
    control_.give(freed);
    taken_ -= freed;
}

void Search::insert(std::uint32_t index) {
    if ((static_cast<std::size_t>(nodeCount_) + 1) * 2 > table_.size()) growTable();
    const std::size_t mask = table_.size() - 1;
    std::size_t pos = node(index).hash & mask;
    while (table_[pos] != 0)
        pos = (pos + 1) & mask;
    table_[pos] = index + 1;
}

std::uint64_t Search::key(const Node& n) const {
    std::uint64_t f =
        greedy_ ? n.h
                : std::min<std::uint64_t>(n.g + static_cast<std::uint64_t>(weight_) * n.h, 0xffff);
    return (f << 48) | (static_cast<std::uint64_t>(n.h) << 32);
}

void Search::pushOpen(std::uint32_t index) {
    if (open_.size() == open_.capacity()) {
        std::size_t cap = std::max<std::size_t>(1024, open_.capacity() * 2);
        std::int64_t bytes = static_cast<std::int64_t>(cap * sizeof(std::uint64_t));
        if (!control_.take(bytes)) throw OutOfMemory{};
        taken_ += bytes;
        std::int64_t freed = static_cast<std::int64_t>(open_.capacity() * sizeof(std::uint64_t));
        open_.reserve(cap);
        control_.give(freed);
        taken_ -= freed;
    }
    // Least f first; among equals the one nearer the goal, then the newest.
    open_.push_back(key(node(index)) | (kNoNode - index));
    std::push_heap(open_.begin(), open_.end(), std::greater<>());
}

void positionKeys(int squares, std::uint64_t seed, std::vector<std::uint64_t>& boxKey,
                  std::vector<std::uint64_t>& manKey) {
    boxKey.resize(squares);
    manKey.resize(squares);
    for (auto& k : boxKey)
        k = splitMix(seed);
    for (auto& k : manKey)
        k = splitMix(seed);
}

bool searchMustStop(const SearchControl& control, double share, double shareStart,
                    SearchOutcome& out) {
    if (control.cancel && control.cancel->load(std::memory_order_relaxed)) {
        out.end = SearchEnd::Cancelled;
        return true;
    }
    if (control.stop.load(std::memory_order_relaxed)) {
        out.end = SearchEnd::Stopped;
        return true;
    }
    const double now = control.clock.wallSeconds();
    if (now >= control.deadline) {
        out.end = SearchEnd::Timeout;
        return true;
    }
    const double grace = control.graceEnd.load(std::memory_order_relaxed);
    if (grace != 0 && now >= grace) {
        out.end = SearchEnd::Stopped;
        return true;
    }
    if (share > 0 && control.clock.threadSeconds() - shareStart >= share) {
        out.end = SearchEnd::OutOfShare;
        return true;
    }
    return false;
}

bool Search::timeToStop(SearchOutcome& out) {
    return searchMustStop(control_, share_, shareStart_, out);
}

void Search::expand(std::uint32_t index, SearchOutcome& out, std::uint32_t& goal) {
    const Node parent = node(index);
    std::copy(boxesOf(index), boxesOf(index) + nBoxes_, boxes_.begin());
    for (int i = 0; i < nBoxes_; ++i) {
        boxAt_[boxes_[i]] = static_cast<std::uint16_t>(i + 1);
        detector_.flip(boxRows_, boxes_[i]);
    }

    // Boxes filling the front of the goal room's order stay where they are.
    const int filled = room_ ? room_->filled(boxAt_) : 0;
    auto stays = [&](Square b) {
        return room_ && strictRoom_ && rank_[b] >= 0 && rank_[b] < filled;
    };
    detector_.reach(boxAt_, parent.man);
    auto corral = detector_.corral(boxAt_, boxes_, pushes_);
    if (learn_ && corral != Detector::Corral::Deadlock &&
        prover_.dead(boxAt_, detector_, parent.man)) {
        corral = Detector::Corral::Deadlock;
        pushes_.clear();
    }
    if (corral == Detector::Corral::Restrict && room_) {
        pushes_.erase(std::remove_if(pushes_.begin(), pushes_.end(),
                                     [&](const PushMove& p) { return stays(p.box); }),
                      pushes_.end());
    }
    if (corral == Detector::Corral::None) {
        pushes_.clear();
        for (Square b : boxes_) {
            if (stays(b)) continue;
            for (int d = 0; d < 4; ++d) {
                Square worker = board_.next(b, opposite(d));
                Square to = board_.next(b, d);
                if (worker == kNone || to == kNone || boxAt_[to] || board_.isDead(to) ||
                    !detector_.reached(worker))
                    continue;
                pushes_.push_back({b, static_cast<std::uint8_t>(d)});
            }
        }
    }

    const std::uint64_t parentBoxHash = parent.hash ^ manKey_[parent.man];
    for (const PushMove& push : pushes_) {
        // Positions of many boxes are slow to score: look at the clock
        // between children too.
        if (nBoxes_ > 40 && timeToStop(out)) throw Interrupted{};
        const int d = push.dir;
        const Square from = push.box;
        Square prev = from, to = board_.next(from, d);
        int count = 1;
        // Inside a corridor the box goes on to the corridor's last square:
        // stopping halfway only blocks the same corridor.
        while (!board_.isTarget(to) && board_.isTunnel(to, d) && board_.isTunnel(prev, d) &&
               count < 255) {
            Square next = board_.next(to, d);
            if (next == kNone || boxAt_[next] || board_.isDead(next) || !board_.isTunnel(next, d))
                break;
            prev = to;
            to = next;
            ++count;
        }
        const Square pushedTo = to, behind = prev;
        const int pushed = parent.g + count;
        const std::uint16_t mark = boxAt_[from];
        const bool intoRoom = room_ && room_->inRoom(pushedTo);
        // The push itself, then (into the goal room) the box going straight
        // on to the room's next target. A strict room search has only the
        // second; a loose one both, so boxes may wait inside the room too.
        for (int variant = 0; variant < 2 && goal == kNoNode; ++variant) {
            // A strict search lets a box stop in the room only where the
            // plan has it wait.
            if (variant == 0 && intoRoom && strictRoom_ && !room_->isParking(pushedTo)) continue;
            if (variant == 1 && !intoRoom) break;
            to = pushedTo;
            prev = behind;
            int g = pushed;
            bool macro = false;
            if (variant == 1) {
                const auto& order = room_->order();
                if (filled == static_cast<int>(order.size())) continue;
                const Square next = order[filled];
                if (boxAt_[next] || from == next || (!strictRoom_ && pushedTo == next)) continue;
                boxAt_[from] = 0;
                detector_.flip(boxRows_, from);
                Square last = kNone;
                const int more = roomPath(to, prev, next, nullptr, &last);
                detector_.flip(boxRows_, from);
                boxAt_[from] = mark;
                if (more < 0) continue;
                g += more;
                to = next;
                prev = last;
                macro = true;
            }
            if (g > kMaxG) continue;
            ++out.generated;
            addChild(index, parentBoxHash, from, d, count, to, prev, g, macro ? kThroughRoom : 0,
                     goal);
        }
        if (goal != kNoNode) break;
    }
    if (room_ && wholeMoves_ && goal == kNoNode && corral != Detector::Corral::Deadlock &&
        filled < static_cast<int>(room_->order().size()))
        wholeMoves(index, parent, filled, out, goal);
    for (Square b : boxes_) {
        boxAt_[b] = 0;
        detector_.flip(boxRows_, b);
    }
}

void Search::addChild(std::uint32_t index, std::uint64_t parentBoxHash, Square from, int dir,
                      int count, Square to, Square behind, int g, std::uint8_t macro,
                      std::uint32_t& goal) {
    const std::uint16_t mark = boxAt_[from];
    boxAt_[from] = 0;
    boxAt_[to] = mark;
    if (!detector_.frozenOffTarget(boxAt_, to) && !shutOut(from, to)) {
        // The child's boxes, kept sorted.
        int k = 0;
        bool placed = false;
        for (int i = 0; i < nBoxes_; ++i) {
            Square s = boxes_[i];
            if (s == from) continue;
            if (!placed && to < s) {
                child_[k++] = to;
                placed = true;
            }
            child_[k++] = s;
        }
        if (!placed) child_[k++] = to;
        detector_.flip(boxRows_, from);
        detector_.flip(boxRows_, to);
        const Square man = detector_.leastReachable(boxRows_, behind);
        detector_.flip(boxRows_, from);
        detector_.flip(boxRows_, to);
        const std::uint64_t hash = parentBoxHash ^ boxKey_[from] ^ boxKey_[to] ^ manKey_[man];
        std::uint32_t found = kNoNode;
        if (learned_->size() && learned_->matches(boxAt_, to, man)) {
            // A deadlock learned before: not even kept as seen.
        } else if ((found = find(hash, child_.data())) != kNoNode) {
            Node& c = node(found);
            if (g < c.g) {
                c.g = static_cast<std::uint16_t>(g);
                c.parent = index;
                c.from = from;
                c.dir = static_cast<std::uint8_t>(dir);
                c.count = static_cast<std::uint8_t>(count);
                c.closed = 0;
                c.macro = macro;
                pushOpen(found);
            }
        } else {
            int h = bound(child_.data(), true);
            if (room_ && h < Matcher::kNoPair) h = roomGuide(h);
            if (h < Matcher::kNoPair) {
                Node c{hash,
                       index,
                       static_cast<std::uint16_t>(g),
                       static_cast<std::uint16_t>(std::min(h, 0xfffe)),
                       man,
                       from,
                       static_cast<std::uint8_t>(dir),
                       static_cast<std::uint8_t>(count),
                       0,
                       macro};
                std::uint32_t ci = addNode(c, child_.data());
                insert(ci);
                if (room_ && strictRoom_) noteFurthest(ci);
                if (h == 0 && weight_ > 1) {
                    goal = ci;
                } else {
                    pushOpen(ci);
                }
            }
        }
    }
    boxAt_[to] = 0;
    boxAt_[from] = mark;
}

bool Search::shutOut(Square from, Square to) const {
    if (!room_ || !strictRoom_) return false;
    const int k = room_->filled(boxAt_);
    // A full room leaves no rest of the order to hold a box to.
    if (k >= static_cast<int>(room_->order().size())) return false;
    for (Square b : boxes_) {
        const Square s = b == from ? to : b;
        if (!(rank_[s] >= 0 && rank_[s] < k) && !room_->canReachRest(k, s)) return true;
    }
    return false;
}

void Search::wholeMoves(std::uint32_t index, const Node& parent, int k, SearchOutcome& out,
                        std::uint32_t& goal) {
    const Square next = room_->order()[k];
    if (boxAt_[next]) return;
    // The reach of expand() still holds: the pushes since then flooded by
    // whole rows.
    struct Candidate {
        int distance;
        Square box;
        unsigned sides;
    };
    std::vector<Candidate> candidates;
    for (Square b : boxes_) {
        if (rank_[b] >= 0 && rank_[b] < k) continue;
        const int distance = room_->distance(k, b);
        if (distance == kFar) continue;
        unsigned sides = 0;
        for (int side = 0; side < 4; ++side) {
            const Square w = board_.next(b, side);
            if (w != kNone && !boxAt_[w] && detector_.reached(w)) sides |= 1u << side;
        }
        if (sides) candidates.push_back({distance, b, sides});
    }
    // The nearest few that can get there: a box further off rarely goes in
    // before them, and each path costs a walk per square on the way. Those
    // held up by others let the next ones try, up to a few more.
    const std::size_t tries = std::min<std::size_t>(candidates.size(), kWholeTries);
    std::partial_sort(candidates.begin(), candidates.begin() + static_cast<std::ptrdiff_t>(tries),
                      candidates.end(), [](const Candidate& a, const Candidate& b) {
                          return a.distance != b.distance ? a.distance < b.distance : a.box < b.box;
                      });
    const std::uint64_t parentBoxHash = parent.hash ^ manKey_[parent.man];
    std::size_t made = 0;
    for (std::size_t i = 0; i < tries && made < kWholeCandidates && goal == kNoNode; ++i) {
        const Square b = candidates[i].box;
        const std::uint16_t mark = boxAt_[b];
        boxAt_[b] = 0;
        detector_.flip(boxRows_, b);
        wholeRuns_.clear();
        const int pushes = wholePath(b, candidates[i].sides, k, &wholeRuns_);
        detector_.flip(boxRows_, b);
        boxAt_[b] = mark;
        // A path of one push is a child expand() has made already.
        if (pushes < 0 || parent.g + pushes > kMaxG) continue;
        ++made;
        if (pushes == 1) continue;
        ++out.generated;
        const PushRun& last = wholeRuns_.back();
        addChild(index, parentBoxHash, b, wholeRuns_.front().dir, 0, next, last.from,
                 parent.g + pushes, kWholeMove, goal);
    }
}

int Search::wholePath(Square box, unsigned sides, int k, std::vector<PushRun>* path) {
    const int states = board_.size() * 4;
    if (wholeSeen_.size() != static_cast<std::size_t>(states)) {
        wholeSeen_.assign(states, 0);
        wholeG_.assign(states, 0);
        wholeFrom_.assign(states, -1);
        wholeStamp_ = 0;
    }
    if (++wholeStamp_ == 0) {
        std::fill(wholeSeen_.begin(), wholeSeen_.end(), 0);
        wholeStamp_ = 1;
    }
    const Square goalSquare = room_->order()[k];
    // Best first on pushes so far plus the pull distance to the target,
    // which never overestimates; among equals the one with more pushes.
    auto keyOf = [&](int st, int g) {
        const int f = g + room_->distance(k, static_cast<Square>(st / 4));
        return static_cast<std::uint64_t>(f) << 48 | static_cast<std::uint64_t>(0xffff - g) << 32 |
               static_cast<std::uint32_t>(st);
    };
    wholeOpen_.clear();
    auto open = [&](int st, int g, int from) {
        if (wholeSeen_[st] == wholeStamp_ && wholeG_[st] <= g) return;
        wholeSeen_[st] = wholeStamp_;
        wholeG_[st] = static_cast<std::uint16_t>(g);
        wholeFrom_[st] = from;
        wholeOpen_.push_back(keyOf(st, g));
        std::push_heap(wholeOpen_.begin(), wholeOpen_.end(), std::greater<>());
    };
    for (int side = 0; side < 4; ++side)
        if (sides >> side & 1) open(box * 4 + side, 0, -1);
    // A box that cannot get there would have the search look at every
    // square it can reach, on every side: the way may be some times longer
    // than the distance with no other box in the way, not more.
    int expanded = 0;
    const int cap = std::min(2 * board_.size(), 4 * room_->distance(k, box) + 64);
    while (!wholeOpen_.empty() && expanded < cap) {
        std::pop_heap(wholeOpen_.begin(), wholeOpen_.end(), std::greater<>());
        const std::uint64_t top = wholeOpen_.back();
        wholeOpen_.pop_back();
        const int st = static_cast<int>(top & 0xffffffffu);
        const int g = 0xffff - static_cast<int>(top >> 32 & 0xffff);
        if (g != wholeG_[st]) continue; // a shorter way was found since
        const Square b = static_cast<Square>(st / 4);
        if (b == goalSquare) {
            if (path) {
                const std::size_t first = path->size();
                for (int at = st; wholeFrom_[at] >= 0; at = wholeFrom_[at]) {
                    const Square was = static_cast<Square>(wholeFrom_[at] / 4);
                    // The worker ends behind the box: on the side the push came from.
                    path->push_back({was, static_cast<std::uint8_t>(opposite(at % 4)), 1});
                }
                std::reverse(path->begin() + static_cast<std::ptrdiff_t>(first), path->end());
            }
            return g;
        }
        ++expanded;
        // The worker's area by whole rows: boxRows_ holds the other boxes.
        detector_.flip(boxRows_, b);
        detector_.leastReachable(boxRows_, board_.next(b, st % 4));
        detector_.flip(boxRows_, b);
        for (int d = 0; d < 4; ++d) {
            const Square w = board_.next(b, opposite(d)), to = board_.next(b, d);
            if (w == kNone || to == kNone || !detector_.inArea(w) || boxAt_[to] ||
                room_->distance(k, to) == kFar)
                continue;
            open(to * 4 + opposite(d), g + 1, st);
        }
    }
    return -1;
}

SearchOutcome Search::run() {
    SearchOutcome out;
    std::uint32_t goal = kNoNode;
    if (share_ > 0) shareStart_ = control_.clock.threadSeconds();
    try {
        std::copy(startBoxes_.begin(), startBoxes_.end(), boxes_.begin());
        for (int i = 0; i < nBoxes_; ++i)
            boxAt_[boxes_[i]] = static_cast<std::uint16_t>(i + 1);
        const Square man = detector_.reach(boxAt_, startMan_);
        const int penalty = room_ ? roomPenalty() : -1;
        for (Square b : boxes_)
            boxAt_[b] = 0;
        int h = bound(boxes_.data(), false);
        if (h < Matcher::kNoPair && penalty > 0) h = penalty + (guideBound_ ? h / 2 : 0);
        if (h >= Matcher::kNoPair) {
            out.end = SearchEnd::Exhausted;
            return out;
        }
        std::uint64_t hash = manKey_[man];
        for (Square b : boxes_)
            hash ^= boxKey_[b];
        Node root{hash, kNoNode, 0, static_cast<std::uint16_t>(std::min(h, 0xfffe)), man, kNone, 0,
                  0,    0,       0};
        std::uint32_t ri = addNode(root, boxes_.data());
        insert(ri);
        if (room_ && strictRoom_) {
            for (Square b : boxes_)
                boxAt_[b] = 1;
            noteFurthest(ri);
            for (Square b : boxes_)
                boxAt_[b] = 0;
        }
        if (h == 0)
            goal = ri;
        else
            pushOpen(ri);
        const std::uint64_t checkMask = nBoxes_ > 40 ? 0 : 63;
        while (goal == kNoNode && !open_.empty()) {
            if ((out.expanded & checkMask) == 0 && timeToStop(out)) return out;
            std::pop_heap(open_.begin(), open_.end(), std::greater<>());
            const std::uint64_t top = open_.back();
            open_.pop_back();
            const std::uint32_t index = kNoNode - static_cast<std::uint32_t>(top);
            Node& n = node(index);
            if (n.closed || (key(n) >> 48) != (top >> 48)) continue; // stale entry
            if (weight_ == 1) {
                if (n.h == 0) {
                    goal = index;
                    break;
                }
                // Nothing shorter than what another search found is left.
                if (static_cast<int>(top >> 48) >= control_.bestPushes.load()) {
                    out.end = SearchEnd::Stopped;
                    return out;
                }
            }
            n.closed = 1;
            expandedNow_ = ++out.expanded;
            if (stallLimit_ && room_ && strictRoom_ && expandedNow_ - lastProgress_ > stallLimit_)
                break;
            expand(index, out, goal);
        }
    } catch (const Interrupted&) {
        return out;
    } catch (const OutOfMemory&) {
        out.end = SearchEnd::Memory;
        return out;
    } catch (const std::bad_alloc&) {
        out.end = SearchEnd::Memory;
        return out;
    }
    out.learned = learned_->size();
    if (goal == kNoNode) {
        out.end = room_ && strictRoom_ ? SearchEnd::GaveUp : SearchEnd::Exhausted;
        return out;
    }
    out.end = SearchEnd::Solved;
    out.pushCount = node(goal).g;
    pathTo(goal, out.pushes);
    return out;
}

void Search::noteFurthest(std::uint32_t index) {
    // boxAt_ holds the position of node `index`.
    const int filled = room_->filled(boxAt_);
    if (filled > furthestFilled_) lastProgress_ = expandedNow_;
    if (filled > furthestFilled_ ||
        (filled == furthestFilled_ && node(index).h < node(furthest_).h)) {
        furthest_ = index;
        furthestFilled_ = filled;
    }
}

Search::Furthest Search::furthest() {
    return furthestAt(furthestFilled_);
}

Search::Furthest Search::furthestAt(int filled) {
    Furthest f;
    if (furthest_ == kNoNode) return f;
    std::uint32_t at = furthest_;
    int k = furthestFilled_;
    while (k > filled && node(at).parent != kNoNode) {
        at = node(at).parent;
        for (int i = 0; i < nBoxes_; ++i)
            boxAt_[boxesOf(at)[i]] = 1;
        k = room_->filled(boxAt_);
        for (int i = 0; i < nBoxes_; ++i)
            boxAt_[boxesOf(at)[i]] = 0;
    }
    const Node& n = node(at);
    f.boxes.assign(boxesOf(at), boxesOf(at) + nBoxes_);
    f.man = n.man;
    f.pushCount = n.g;
    f.filled = k;
    pathTo(at, f.pushes);
    return f;
}

void Search::pathTo(std::uint32_t goal, std::vector<PushRun>& pushes) {
    std::vector<std::uint32_t> chain;
    for (std::uint32_t i = goal; node(i).parent != kNoNode; i = node(i).parent)
        chain.push_back(i);
    std::reverse(chain.begin(), chain.end());
    for (std::uint32_t i : chain) {
        const Node& n = node(i);
        if (n.macro == kWholeMove) {
            // The whole move found again as wholeMoves() found it: the same
            // boxes, the same sides in reach.
            const Square* before = boxesOf(n.parent);
            for (int k = 0; k < nBoxes_; ++k)
                boxAt_[before[k]] = 1;
            detector_.reach(boxAt_, node(n.parent).man);
            unsigned sides = 0;
            for (int side = 0; side < 4; ++side) {
                const Square w = board_.next(n.from, side);
                if (w != kNone && !boxAt_[w] && detector_.reached(w)) sides |= 1u << side;
            }
            Square target = kNone;
            const Square* after = boxesOf(i);
            for (int k = 0; k < nBoxes_; ++k)
                if (!std::binary_search(before, before + nBoxes_, after[k])) target = after[k];
            for (int k = 0; k < nBoxes_; ++k)
                if (before[k] != n.from) detector_.flip(boxRows_, before[k]);
            boxAt_[n.from] = 0;
            wholePath(n.from, sides, rank_[target], &pushes);
            for (int k = 0; k < nBoxes_; ++k) {
                boxAt_[before[k]] = 0;
                if (before[k] != n.from) detector_.flip(boxRows_, before[k]);
            }
            continue;
        }
        pushes.push_back({n.from, n.dir, n.count});
        if (!n.macro) continue;
        // The way on through the room, found again as the search found it.
        const Square* before = boxesOf(n.parent);
        const Square* after = boxesOf(i);
        Square goalSquare = kNone;
        for (int k = 0; k < nBoxes_; ++k)
            if (!std::binary_search(before, before + nBoxes_, after[k])) goalSquare = after[k];
        for (int k = 0; k < nBoxes_; ++k) {
            boxAt_[before[k]] = 1;
            if (before[k] != n.from) detector_.flip(boxRows_, before[k]);
        }
        boxAt_[n.from] = 0;
        Square at = n.from, worker = kNone;
        for (int k = 0; k < n.count; ++k) {
            worker = at;
            at = board_.next(at, n.dir);
        }
        Square last = kNone;
        roomPath(at, worker, goalSquare, &pushes, &last);
        for (int k = 0; k < nBoxes_; ++k) {
            boxAt_[before[k]] = 0;
            if (before[k] != n.from) detector_.flip(boxRows_, before[k]);
        }
    }
}

SearchOutcome cheapSearch(const Board& board, SearchControl& control, const GoalRoom* room,
                          DeadlockTable& learned, double share) {
    Search search(board, control, kGreedyWeight, room, false);
    search.setGreedy(true);
    search.shareLearned(learned);
    search.setShare(share);
    return search.run();
}

SearchOutcome searchInOrder(const Board& board, SearchControl& control, int weight,
                            const GoalRoom& room, DeadlockTable& learned, double share,
                            bool guideBound, int replans) {
    const double began = control.clock.threadSeconds();
    std::vector<std::unique_ptr<GoalRoom>> plans; // each search's plan outlives it
    const GoalRoom* plan = &room;
    std::vector<Square> boxes = board.boxes();
    Square man = board.man();
    std::vector<PushRun> prefix;
    int prefixCount = 0;
    std::uint64_t expanded = 0, generated = 0;
    // Per depth (targets of the order filled): the targets that came next
    // in plans that stopped fitting, and the last position of that depth on
    // the way to the furthest, with the pushes from the start.
    std::vector<std::vector<Square>> tried;
    struct Spot {
        std::vector<Square> boxes;
        Square man = kNone;
        std::vector<PushRun> pushes;
        int pushCount = 0;
        bool set = false;
    };
    std::vector<Spot> spots;
    for (int round = 0;; ++round) {
        Search search(board, control, weight, plan, true);
        search.shareLearned(learned);
        search.setGuideBound(guideBound);
        search.setStart(boxes, man);
        search.setStallLimit(kStallPositions);
        if (share > 0) {
            const double left = share - (control.clock.threadSeconds() - began);
            if (left <= 0) {
                SearchOutcome out;
                out.end = SearchEnd::OutOfShare;
                out.expanded = expanded;
                out.generated = generated;
                return out;
            }
            search.setShare(left);
        }
        SearchOutcome out = search.run();
        expanded += out.expanded;
        generated += out.generated;
        out.expanded = expanded;
        out.generated = generated;
        if (out.end == SearchEnd::Solved) {
            out.pushes.insert(out.pushes.begin(), prefix.begin(), prefix.end());
            out.pushCount += prefixCount;
            return out;
        }
        if (out.end != SearchEnd::GaveUp || round >= replans) return out;
        Search::Furthest at = search.furthest();
        std::unique_ptr<GoalRoom> next;
        if (at.pushCount == 0 && round == 0) {
            // Not one box could follow the first plan: the worker may be
            // shut in among boxes it has placed for good; plan with those
            // he can push not placed.
            next = std::make_unique<GoalRoom>(board, at.boxes, at.man);
            if (!next->active()) return out;
            boxes = std::move(at.boxes);
            man = at.man;
        } else {
            // Another target next where it got furthest, else one or a few
            // targets back along the way there; never the same one twice
            // at the same depth of the same way.
            const int deepest = at.filled, least = std::max(0, deepest - kBackOff);
            if (spots.size() <= static_cast<std::size_t>(deepest)) spots.resize(deepest + 1);
            if (tried.size() <= static_cast<std::size_t>(deepest)) tried.resize(deepest + 1);
            for (int k = deepest; k >= least; --k) {
                Search::Furthest f = k == deepest ? std::move(at) : search.furthestAt(k);
                if (f.filled != k) continue;
                Spot& spot = spots[k];
                spot.boxes = std::move(f.boxes);
                spot.man = f.man;
                spot.pushes = prefix;
                spot.pushes.insert(spot.pushes.end(), f.pushes.begin(), f.pushes.end());
                spot.pushCount = prefixCount + f.pushCount;
                spot.set = true;
            }
            for (int k = deepest; k >= least && !next; --k) {
                if (!spots[k].set || k >= static_cast<int>(plan->order().size())) continue;
                tried[k].push_back(plan->order()[k]);
                next = std::make_unique<GoalRoom>(*plan, spots[k].boxes, tried[k]);
                if (!next->active()) {
                    next.reset();
                    continue;
                }
                // The way on from here is a new one: what was learned
                // deeper on the old way no longer holds.
                spots.resize(k + 1);
                tried.resize(k + 1);
                boxes = spots[k].boxes;
                man = spots[k].man;
                prefix = spots[k].pushes;
                prefixCount = spots[k].pushCount;
            }
            if (!next) return out;
        }
        plan = next.get();
        plans.push_back(std::move(next));
    }
}

} // namespace sokoban::solver

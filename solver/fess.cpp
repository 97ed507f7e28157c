#include "fess.h"

#include "solver.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <new>

namespace sokoban::solver {

namespace {

constexpr std::uint32_t kNoNode = 0xffffffffu;
// Nodes whose memory is asked for at once.
constexpr std::uint32_t kNodeBlock = 1u << 12;

std::uint64_t openKey(std::uint32_t weight, std::uint32_t g, std::uint32_t index) {
    return static_cast<std::uint64_t>(std::min<std::uint32_t>(weight, 0xffff)) << 48 |
           static_cast<std::uint64_t>(std::min<std::uint32_t>(g, 0xffff)) << 32 | index;
}

} // namespace

FeatureMeter::FeatureMeter(const Board& board, const GoalRoom* room)
    : board_(board), room_(room && room->active() ? room : nullptr), flood_(board.size()),
      pulled_(board.size(), 0) {}

Features FeatureMeter::measure(const std::vector<std::uint16_t>& boxAt, Square man) {
    Features f;
    const int n = board_.size();
    if (room_) {
        f.packed = room_->filled(boxAt);
        for (Square t : board_.targets())
            if (boxAt[t] && !room_->inRoom(t)) ++f.packed;
    } else {
        for (Square t : board_.targets())
            if (boxAt[t]) ++f.packed;
    }

    // The free floor piece by piece: each later start keeps what the
    // earlier pieces saw.
    flood_.clear();
    for (int s = 0; s < n; ++s) {
        if (boxAt[s] || flood_.seen(s)) continue;
        const int first = flood_.count();
        flood_.start(s);
        flood_.run([&](int q) {
            for (int d = 0; d < 4; ++d) {
                const Square m = board_.next(static_cast<Square>(q), d);
                if (m != kNone && !boxAt[m]) flood_.visit(m);
            }
        });
        ++f.regions;
        bool worker = false, emptyTarget = false;
        for (int i = first; i < flood_.count(); ++i) {
            const int q = flood_.order()[static_cast<std::size_t>(i)];
            worker = worker || q == man;
            emptyTarget = emptyTarget || board_.isTarget(static_cast<Square>(q));
        }
        if (!worker && emptyTarget) ++f.closed;
    }

    // Pulled back from the empty targets through free squares: a box the
    // pull meets can get to one of them (the worker's walks left out), the
    // others stand in its way.
    std::fill(pulled_.begin(), pulled_.end(), 0);
    flood_.clear();
    for (Square t : board_.targets())
        if (!boxAt[t]) flood_.start(t);
    flood_.run([&](int q) {
        for (int d = 0; d < 4; ++d) {
            // A box on s pushed in direction d lands on q.
            const Square s = board_.next(static_cast<Square>(q), opposite(d));
            if (s == kNone || board_.next(s, opposite(d)) == kNone) continue;
            if (boxAt[s])
                pulled_[s] = 1;
            else
                flood_.visit(s);
        }
    });
    for (int s = 0; s < n; ++s)
        if (boxAt[s] && !board_.isTarget(static_cast<Square>(s)) && !pulled_[s]) ++f.outOfPlan;
    return f;
}

BoxMover::BoxMover(const Board& board)
    : board_(board), detector_(board), boxAt_(board.size(), 0), boxRows_(board.level().rows, 0),
      flood_(board.size() * 4), done_(static_cast<std::size_t>(board.size()) * 4, 0) {}

void BoxMover::place(const std::vector<Square>& boxes, bool on) {
    for (Square b : boxes) {
        boxAt_[b] = on ? 1 : 0;
        detector_.flip(boxRows_, b);
    }
}

template <class Found>
void BoxMover::flood(Square box, Square parentMan, unsigned firstDirs, Found&& found) {
    if (++stamp_ == 0) {
        std::fill(done_.begin(), done_.end(), 0);
        stamp_ = 1;
    }
    flood_.clear();
    for (int side = 0; side < 4; ++side) {
        const Square w = board_.next(box, side);
        if (w != kNone && !boxAt_[w] && detector_.reached(w)) flood_.start(box * 4 + side);
    }
    boxAt_[box] = 0;
    detector_.flip(boxRows_, box);
    flood_.run([&](int st) {
        if (done_[static_cast<std::size_t>(st)] == stamp_) return true;
        const Square b = static_cast<Square>(st / 4);
        detector_.flip(boxRows_, b);
        const Square man = detector_.leastReachable(boxRows_, board_.next(b, st % 4));
        detector_.flip(boxRows_, b);
        // Every side of the box in the same area gives the same position.
        for (int side = 0; side < 4; ++side) {
            const Square w = board_.next(b, side);
            if (w != kNone && detector_.inArea(w))
                done_[static_cast<std::size_t>(b) * 4 + side] = stamp_;
        }
        bool more = true;
        const unsigned dirs = flood_.parent(st) < 0 ? firstDirs : 0xfu;
        for (int d = 0; d < 4; ++d) {
            if (!(dirs >> d & 1)) continue;
            const Square w = board_.next(b, opposite(d)), to = board_.next(b, d);
            if (w == kNone || to == kNone || !detector_.inArea(w) || boxAt_[to] ||
                board_.isDead(to))
                continue;
            flood_.visit(to * 4 + opposite(d));
        }
        if (!(b == box && man == parentMan)) more = found(st, man);
        return more;
    });
    boxAt_[box] = 1;
    detector_.flip(boxRows_, box);
}

void BoxMover::moves(const std::vector<Square>& boxes, Square man, std::vector<BoxMove>& out,
                     const std::vector<PushMove>* first) {
    out.clear();
    place(boxes, true);
    const Square parentMan = detector_.reach(boxAt_, man);
    for (Square box : boxes) {
        unsigned dirs = 0xfu;
        if (first) {
            dirs = 0;
            for (const PushMove& p : *first)
                if (p.box == box) dirs |= 1u << p.dir;
            if (!dirs) continue;
        }
        flood(box, parentMan, dirs, [&](int st, Square m) {
            int pushes = 0;
            for (int at = st; flood_.parent(at) >= 0; at = flood_.parent(at))
                ++pushes;
            out.push_back({box, static_cast<Square>(st / 4), m, pushes});
            return true;
        });
    }
    place(boxes, false);
}

bool BoxMover::pushesOf(const std::vector<Square>& boxes, Square man, const BoxMove& move,
                        std::vector<PushRun>& out) {
    if (!std::binary_search(boxes.begin(), boxes.end(), move.from)) return false;
    place(boxes, true);
    const Square parentMan = detector_.reach(boxAt_, man);
    int arrived = -1;
    flood(move.from, parentMan, 0xfu, [&](int st, Square m) {
        if (st / 4 != move.to || m != move.man) return true;
        arrived = st;
        return false;
    });
    if (arrived >= 0) {
        const std::size_t first = out.size();
        for (int at = arrived; flood_.parent(at) >= 0; at = flood_.parent(at))
            out.push_back({static_cast<Square>(flood_.parent(at) / 4),
                           static_cast<std::uint8_t>(opposite(at % 4)), 1});
        std::reverse(out.begin() + static_cast<std::ptrdiff_t>(first), out.end());
    }
    place(boxes, false);
    return arrived >= 0;
}

FeatureSearch::FeatureSearch(const Board& board, SearchControl& control, const GoalRoom* room)
    : board_(board), control_(control), room_(room && room->active() ? room : nullptr),
      nBoxes_(static_cast<int>(board.boxes().size())), meter_(board, room_), mover_(board),
      detector_(board), ownLearned_(board), learned_(&ownLearned_), prover_(board, ownLearned_),
      boxAt_(board.size(), 0), position_(nBoxes_), child_(nBoxes_) {
    positionKeys(board.size(), 0xfe55feedull, boxKey_, manKey_);
    cost_.resize(static_cast<std::size_t>(nBoxes_) * board.targets().size());
}

FeatureSearch::~FeatureSearch() {
    control_.give(taken_);
}

void FeatureSearch::take(std::int64_t bytes) {
    if (!control_.take(bytes)) throw OutOfMemory{};
    taken_ += bytes;
}

std::uint32_t FeatureSearch::find(std::uint64_t hash, const Square* boxes) const {
    if (table_.empty()) return kNoNode;
    const std::size_t mask = table_.size() - 1;
    for (std::size_t pos = hash & mask;; pos = (pos + 1) & mask) {
        const std::uint32_t slot = table_[pos];
        if (slot == 0) return kNoNode;
        const std::uint32_t i = slot - 1;
        if (nodes_[i].hash == hash && std::memcmp(&boxes_[static_cast<std::size_t>(i) * nBoxes_],
                                                  boxes, sizeof(Square) * nBoxes_) == 0)
            return i;
    }
}

void FeatureSearch::insert(std::uint32_t index) {
    if ((nodes_.size() + 1) * 2 > table_.size()) {
        const std::size_t size = table_.empty() ? (1u << 14) : table_.size() * 2;
        take(static_cast<std::int64_t>(size * sizeof(std::uint32_t)));
        std::vector<std::uint32_t> old(size, 0);
        old.swap(table_);
        const std::size_t mask = size - 1;
        for (std::uint32_t slot : old) {
            if (slot == 0) continue;
            std::size_t pos = nodes_[slot - 1].hash & mask;
            while (table_[pos] != 0)
                pos = (pos + 1) & mask;
            table_[pos] = slot;
        }
        const auto freed = static_cast<std::int64_t>(old.size() * sizeof(std::uint32_t));
        control_.give(freed);
        taken_ -= freed;
    }
    const std::size_t mask = table_.size() - 1;
    std::size_t pos = nodes_[index].hash & mask;
    while (table_[pos] != 0)
        pos = (pos + 1) & mask;
    table_[pos] = index + 1;
}

std::uint32_t FeatureSearch::cellOf(const Features& f) {
    // The cells are the packed counts, each split in two by whether the
    // worker is shut out of a piece holding an empty target: with the
    // features in them whole the space splits so finely that a round over
    // it visits thousands of cells with one position each and goes nowhere.
    // The features steer the search through their advisors instead.
    const auto key = static_cast<std::uint32_t>(f.packed) * 2 + (f.closed > 0 ? 1 : 0);
    const auto [it, added] = cellIndex_.try_emplace(key, static_cast<std::uint32_t>(cells_.size()));
    if (added) {
        take(256);
        cells_.push_back({});
    }
    return it->second;
}

void FeatureSearch::open(std::uint32_t index) {
    const Node& n = nodes_[index];
    auto& heap = cells_[n.cell].open;
    if (heap.size() == heap.capacity())
        take(static_cast<std::int64_t>(std::max<std::size_t>(heap.size(), 8) *
                                       sizeof(std::uint64_t)));
    heap.push_back(openKey(n.weight, n.g, index));
    std::push_heap(heap.begin(), heap.end(), std::greater<>());
}

bool FeatureSearch::timeToStop(SearchOutcome& out) {
    return searchMustStop(control_, share_, shareStart_, out);
}

bool FeatureSearch::deadAtExpansion(std::uint32_t index, bool& restricted) {
    // boxAt_ and position_ hold the node's position.
    const Square man = nodes_[index].man;
    detector_.reach(boxAt_, man);
    const Detector::Corral corral = detector_.corral(boxAt_, position_, corralPushes_);
    if (corral == Detector::Corral::Deadlock) return true;
    restricted = corral == Detector::Corral::Restrict;
    if (prover_.dead(boxAt_, detector_, man)) return true;
    // No matching of boxes to targets: some boxes compete for too few.
    const int targets = static_cast<int>(board_.targets().size());
    int* c = cost_.data();
    for (Square b : position_)
        for (int t = 0; t < targets; ++t) {
            const std::uint16_t d = board_.pushDistance(t, b);
            *c++ = d == kFar ? Matcher::kNoPair : d;
        }
    return matcher_.solve(nBoxes_, targets, cost_) >= Matcher::kNoPair;
}

std::uint32_t FeatureSearch::expand(std::uint32_t index, SearchOutcome& out) {
    std::copy(&boxes_[static_cast<std::size_t>(index) * nBoxes_],
              &boxes_[static_cast<std::size_t>(index) * nBoxes_] + nBoxes_, position_.begin());
    for (Square b : position_)
        boxAt_[b] = 1;
    // An area the worker is shut out of that must be opened, by pushes all
    // possible now: those first, the other moves only after.
    bool restricted = false;
    const bool dead = deadAtExpansion(index, restricted);
    if (!dead)
        mover_.moves(position_, nodes_[index].man, moves_, restricted ? &corralPushes_ : nullptr);
    if (dead) moves_.clear();

    struct Child {
        std::size_t move;
        std::uint64_t hash;
        Features features;
        bool solved;
        bool advised;
    };
    std::vector<Child> children;
    std::vector<Square> childBoxes;
    const Node parent = nodes_[index];
    const Features was = parent.features;
    std::uint64_t boxHash = parent.hash ^ manKey_[parent.man];
    for (std::size_t i = 0; i < moves_.size(); ++i) {
        const BoxMove& m = moves_[i];
        boxAt_[m.from] = 0;
        boxAt_[m.to] = 1;
        bool keep = !detector_.frozenOffTarget(boxAt_, m.to) &&
                    !(learned_->size() && learned_->matches(boxAt_, m.to, m.man));
        if (keep) {
            ++out.generated;
            int k = 0;
            bool placed = false;
            for (Square s : position_) {
                if (s == m.from) continue;
                if (!placed && m.to < s) {
                    child_[k++] = m.to;
                    placed = true;
                }
                child_[k++] = s;
            }
            if (!placed) child_[k++] = m.to;
            const std::uint64_t hash = boxHash ^ boxKey_[m.from] ^ boxKey_[m.to] ^ manKey_[m.man];
            bool solved = true;
            for (Square s : child_)
                solved = solved && board_.isTarget(s);
            // A position seen before keeps the features it was measured with.
            const std::uint32_t known = find(hash, child_.data());
            children.push_back(
                {i, hash, known != kNoNode ? nodes_[known].features : meter_.measure(boxAt_, m.man),
                 solved, false});
            childBoxes.insert(childBoxes.end(), child_.begin(), child_.end());
        }
        boxAt_[m.to] = 0;
        boxAt_[m.from] = 1;
    }
    for (Square b : position_)
        boxAt_[b] = 0;

    // The advisors: for each feature the move that improves it most, by the
    // fewest pushes among equals.
    auto advise = [&](auto gain) {
        std::size_t best = children.size();
        for (std::size_t c = 0; c < children.size(); ++c) {
            const int g = gain(children[c].features);
            if (g <= 0) continue;
            if (best == children.size()) {
                best = c;
                continue;
            }
            const int bestGain = gain(children[best].features);
            if (g > bestGain || (g == bestGain && moves_[children[c].move].pushes <
                                                      moves_[children[best].move].pushes))
                best = c;
        }
        if (best < children.size()) children[best].advised = true;
    };
    advise([&](const Features& f) { return f.packed - was.packed; });
    advise([&](const Features& f) { return was.regions - f.regions; });
    advise([&](const Features& f) { return was.closed - f.closed; });
    advise([&](const Features& f) { return was.outOfPlan - f.outOfPlan; });

    for (std::size_t c = 0; c < children.size(); ++c) {
        const Child& ch = children[c];
        const BoxMove& m = moves_[ch.move];
        const Square* boxes = &childBoxes[c * static_cast<std::size_t>(nBoxes_)];
        const std::uint32_t weight = parent.weight + (ch.advised ? 0 : 1);
        const std::uint32_t g = parent.g + static_cast<std::uint32_t>(m.pushes);
        const std::uint32_t found = find(ch.hash, boxes);
        if (found != kNoNode) {
            Node& n = nodes_[found];
            if (!n.expanded && (weight < n.weight || (weight == n.weight && g < n.g))) {
                n.parent = index;
                n.weight = weight;
                n.g = g;
                n.from = m.from;
                n.to = m.to;
                open(found);
            }
            continue;
        }
        if (nodes_.size() >= kNoNode - 1) throw OutOfMemory{};
        if (nodes_.size() == nodes_.capacity()) {
            const std::size_t more = std::max<std::size_t>(kNodeBlock, nodes_.size());
            take(static_cast<std::int64_t>(more * (sizeof(Node) + sizeof(Square) * nBoxes_)));
            nodes_.reserve(nodes_.size() + more);
            boxes_.reserve((nodes_.size() + more) * nBoxes_);
        }
        const auto ci = static_cast<std::uint32_t>(nodes_.size());
        nodes_.push_back(
            {ch.hash, index, weight, g, cellOf(ch.features), ch.features, m.man, m.from, m.to, 0});
        boxes_.insert(boxes_.end(), boxes, boxes + nBoxes_);
        insert(ci);
        if (ch.solved) return ci;
        open(ci);
    }
    return kNoNode;
}

SearchOutcome FeatureSearch::run() {
    SearchOutcome out;
    if (share_ > 0) shareStart_ = control_.clock.threadSeconds();
    std::uint32_t goal = kNoNode;
    try {
        const std::vector<Square>& start = board_.boxes();
        for (Square b : start)
            boxAt_[b] = 1;
        const Square man = detector_.reach(boxAt_, board_.man());
        const Features f = meter_.measure(boxAt_, man);
        bool solved = true;
        for (Square b : start) {
            solved = solved && board_.isTarget(b);
            boxAt_[b] = 0;
        }
        std::uint64_t hash = manKey_[man];
        for (Square b : start)
            hash ^= boxKey_[b];
        take(static_cast<std::int64_t>(kNodeBlock * (sizeof(Node) + sizeof(Square) * nBoxes_)));
        nodes_.reserve(kNodeBlock);
        boxes_.reserve(static_cast<std::size_t>(kNodeBlock) * nBoxes_);
        nodes_.push_back({hash, kNoNode, 0, 0, cellOf(f), f, man, kNone, kNone, 0});
        boxes_.insert(boxes_.end(), start.begin(), start.end());
        insert(0);
        if (solved)
            goal = 0;
        else
            open(0);
        // Round after round over the occupied cells, one node from each.
        while (goal == kNoNode) {
            bool any = false;
            for (std::size_t c = 0; c < cells_.size() && goal == kNoNode; ++c) {
                auto& heap = cells_[c].open;
                while (!heap.empty()) {
                    std::pop_heap(heap.begin(), heap.end(), std::greater<>());
                    const std::uint64_t top = heap.back();
                    heap.pop_back();
                    const auto index = static_cast<std::uint32_t>(top & 0xffffffffu);
                    const Node& n = nodes_[index];
                    if (n.expanded || openKey(n.weight, n.g, index) != top) continue; // stale
                    if (timeToStop(out)) return out;
                    nodes_[index].expanded = 1;
                    ++out.expanded;
                    any = true;
                    goal = expand(index, out);
                    break;
                }
            }
            if (!any) break;
        }
    } catch (const OutOfMemory&) {
        out.end = SearchEnd::Memory;
        return out;
    } catch (const std::bad_alloc&) {
        out.end = SearchEnd::Memory;
        return out;
    }
    out.learned = learned_->size();
    if (goal == kNoNode) {
        // Corral restrictions and the room's order are not used here, but a
        // run dry proves nothing the other searches rely on.
        out.end = SearchEnd::GaveUp;
        return out;
    }
    std::vector<std::uint32_t> chain;
    for (std::uint32_t i = goal; nodes_[i].parent != kNoNode; i = nodes_[i].parent)
        chain.push_back(i);
    std::reverse(chain.begin(), chain.end());
    std::vector<Square> before(nBoxes_);
    for (std::uint32_t i : chain) {
        const Node& n = nodes_[i];
        const Node& p = nodes_[n.parent];
        std::copy(&boxes_[static_cast<std::size_t>(n.parent) * nBoxes_],
                  &boxes_[static_cast<std::size_t>(n.parent) * nBoxes_] + nBoxes_, before.begin());
        if (!mover_.pushesOf(before, p.man, {n.from, n.to, n.man, 0}, out.pushes)) {
            out.pushes.clear();
            out.end = SearchEnd::GaveUp;
            return out;
        }
    }
    out.end = SearchEnd::Solved;
    out.pushCount = static_cast<int>(out.pushes.size());
    return out;
}

} // namespace sokoban::solver

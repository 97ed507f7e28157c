#include "shorten.h"

#include "core/flood.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

namespace sokoban::solver {

namespace {

std::uint64_t mix(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9e3779b97f4a7c15ull);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
}

class Shortener {
  public:
    Shortener(const Board& board, const ShortenLimits& limits)
        : board_(board), limits_(limits), n_(static_cast<int>(board.boxes().size())),
          boxAt_(board.size(), 0), walk_(board.size()), boxKey_(board.size()),
          manKey_(board.size()) {
        std::uint64_t seed = 0x5107e75eedull;
        for (auto& k : boxKey_)
            k = mix(seed);
        for (auto& k : manKey_)
            k = mix(seed);
    }

    std::vector<PushRun> run(const std::vector<PushRun>& runs) {
        for (const PushRun& r : runs) {
            Square at = r.from;
            for (int i = 0; i < r.count; ++i) {
                pushes_.push_back({at, r.dir, 1});
                at = board_.next(at, r.dir);
            }
        }
        replay();
        for (std::size_t i = 0; i + 1 < boxes_.size(); ++i) {
            if (limits_.stop && limits_.stop()) break;
            // Shorten from here until nothing more is found, then go on.
            while (shortcut(i)) {
            }
        }
        return pushes_;
    }

  private:
    // The boxes (sorted) and the worker's square before each push and at
    // the end; the solution's positions by the hash of their boxes.
    void replay() {
        boxes_.assign(1, board_.boxes());
        worker_.assign(1, board_.man());
        for (const PushRun& p : pushes_) {
            std::vector<Square> next = boxes_.back();
            const Square to = board_.next(p.from, p.dir);
            *std::find(next.begin(), next.end(), p.from) = to;
            std::sort(next.begin(), next.end());
            boxes_.push_back(std::move(next));
            worker_.push_back(p.from);
        }
        along_.clear();
        for (std::size_t j = 0; j < boxes_.size(); ++j)
            along_.emplace(hashOf(boxes_[j]), static_cast<int>(j));
    }

    std::uint64_t hashOf(const std::vector<Square>& boxes) const {
        std::uint64_t h = 0;
        for (Square b : boxes)
            h ^= boxKey_[b];
        return h;
    }

    // Whether the worker walks from a to b among the boxes on `boxes`.
    bool sameArea(const Square* boxes, Square a, Square b) {
        for (int k = 0; k < n_; ++k)
            boxAt_[boxes[k]] = 1;
        walk_.clear();
        walk_.start(a);
        walk_.run([&](int s) {
            if (s == b) return false;
            for (int d = 0; d < 4; ++d) {
                const Square q = board_.next(static_cast<Square>(s), d);
                if (q != kNone && !boxAt_[q]) walk_.visit(q);
            }
            return true;
        });
        for (int k = 0; k < n_; ++k)
            boxAt_[boxes[k]] = 0;
        return walk_.seen(b);
    }

    struct Node {
        std::uint64_t key; // boxes and the worker's square
        std::int32_t parent;
        std::uint16_t g;
        Square worker;
        Square from;
        std::uint8_t dir;
    };

    // A small breadth-first search by pushes from position i; when it
    // reaches a later position j of the solution in fewer pushes than the
    // solution takes, the best such way replaces pushes i..j-1.
    bool shortcut(std::size_t i) {
        nodes_.clear();
        flat_.clear();
        seen_.clear();
        flat_.insert(flat_.end(), boxes_[i].begin(), boxes_[i].end());
        const std::uint64_t rootHash = hashOf(boxes_[i]);
        nodes_.push_back({rootHash ^ manKey_[worker_[i]], -1, 0, worker_[i], kNone, 0});
        seen_.emplace(nodes_[0].key, 0);
        int bestSaving = 0, bestNode = -1, bestTo = -1;
        std::vector<Square> child(n_);
        std::vector<std::uint64_t> hashes{rootHash};
        for (std::size_t at = 0; at < nodes_.size(); ++at) {
            if (static_cast<int>(at) >= limits_.positions) break;
            if ((at & 63) == 63 && limits_.stop && limits_.stop()) break;
            const Node cur = nodes_[at];
            // No way on from here can save more than the best found.
            if (static_cast<int>(boxes_.size()) - 1 - static_cast<int>(i) - cur.g <= bestSaving)
                break;
            const Square* boxes = &flat_[at * n_];
            for (int k = 0; k < n_; ++k)
                boxAt_[boxes[k]] = 1;
            walk_.clear();
            walk_.start(cur.worker);
            walk_.run([&](int s) {
                for (int d = 0; d < 4; ++d) {
                    const Square q = board_.next(static_cast<Square>(s), d);
                    if (q != kNone && !boxAt_[q]) walk_.visit(q);
                }
            });
            moves_.clear();
            for (int k = 0; k < n_; ++k) {
                const Square b = boxes[k];
                for (int d = 0; d < 4; ++d) {
                    const Square w = board_.next(b, opposite(d)), to = board_.next(b, d);
                    if (w == kNone || to == kNone || boxAt_[to] || board_.isDead(to) ||
                        !walk_.seen(w))
                        continue;
                    moves_.push_back({b, static_cast<std::uint8_t>(d), 1});
                }
            }
            for (int k = 0; k < n_; ++k)
                boxAt_[boxes[k]] = 0;
            for (const PushRun& m : moves_) {
                const Square to = board_.next(m.from, m.dir);
                int c = 0;
                bool placed = false;
                for (int k = 0; k < n_; ++k) {
                    const Square s = flat_[at * n_ + k];
                    if (s == m.from) continue;
                    if (!placed && to < s) {
                        child[c++] = to;
                        placed = true;
                    }
                    child[c++] = s;
                }
                if (!placed) child[c++] = to;
                const std::uint64_t boxHash = hashes[at] ^ boxKey_[m.from] ^ boxKey_[to];
                const std::uint64_t key = boxHash ^ manKey_[m.from];
                if (seen_.count(key)) continue;
                const int g = cur.g + 1;
                const int index = static_cast<int>(nodes_.size());
                seen_.emplace(key, index);
                nodes_.push_back({key, static_cast<std::int32_t>(at), static_cast<std::uint16_t>(g),
                                  m.from, m.from, m.dir});
                flat_.insert(flat_.end(), child.begin(), child.end());
                hashes.push_back(boxHash);
                // A later position of the solution, reached with fewer pushes?
                const auto [first, last] = along_.equal_range(boxHash);
                for (auto it = first; it != last; ++it) {
                    const int j = it->second;
                    const int saving = j - static_cast<int>(i) - g;
                    if (saving <= bestSaving ||
                        !std::equal(child.begin(), child.end(), boxes_[j].begin()) ||
                        !sameArea(child.data(), m.from, worker_[j]))
                        continue;
                    bestSaving = saving;
                    bestNode = index;
                    bestTo = j;
                }
            }
        }
        if (bestNode < 0) return false;
        std::vector<PushRun> way;
        for (int at = bestNode; nodes_[at].parent >= 0; at = nodes_[at].parent)
            way.push_back({nodes_[at].from, nodes_[at].dir, 1});
        std::reverse(way.begin(), way.end());
        std::vector<PushRun> spliced(pushes_.begin(),
                                     pushes_.begin() + static_cast<std::ptrdiff_t>(i));
        spliced.insert(spliced.end(), way.begin(), way.end());
        spliced.insert(spliced.end(), pushes_.begin() + bestTo, pushes_.end());
        pushes_ = std::move(spliced);
        replay();
        return true;
    }

    const Board& board_;
    const ShortenLimits& limits_;
    const int n_;
    std::vector<PushRun> pushes_;
    std::vector<std::vector<Square>> boxes_;
    std::vector<Square> worker_;
    std::unordered_multimap<std::uint64_t, int> along_;
    std::vector<std::uint8_t> boxAt_;
    core::Flood<> walk_;
    std::vector<std::uint64_t> boxKey_, manKey_;
    std::vector<Node> nodes_;
    std::vector<Square> flat_;
    std::unordered_map<std::uint64_t, int> seen_;
    std::vector<PushRun> moves_;
};

} // namespace

std::vector<PushRun> shortenPushes(const Board& board, const std::vector<PushRun>& pushes,
                                   const ShortenLimits& limits) {
    Shortener s(board, limits);
    return s.run(pushes);
}

} // namespace sokoban::solver

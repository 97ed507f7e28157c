// Checking solver for the built-in level sets. It reads a level text, searches
// every level over box pushes (A* on pushes with a matching lower bound; a
// weight above 1 trades optimality for speed) and writes one line of moves
// per level: u d l r for steps, U D L R for pushes.
//
//   solve_levels <levels.txt> [-o solutions.txt] [-l level] [-w weight] [-n max nodes]
//                [-j 0|1|2]
//
// With "-j 1" a search step takes one box all the way to a target, which
// suits the big boards whose boxes never need to be parked on the way;
// "-j 2" offers both kinds of step. Without -w, -j or -n each level tries a
// ladder of such searches, most exact first.
// Statistics go to stderr, one line per level. The exit status is 1 when a
// level is malformed or has no solution within the node limit.

#include "level_text.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <queue>
#include <random>
#include <stdexcept>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

namespace {

constexpr int kInf = 1 << 20;
constexpr char kStepLetters[4] = {'u', 'd', 'l', 'r'};
constexpr char kPushLetters[4] = {'U', 'D', 'L', 'R'};

struct Puzzle {
    int width = 0;
    int height = 0;
    int step[4] = {};
    std::vector<char> wall; // every cell the worker can never stand on
    std::vector<char> target;
    std::vector<char> live; // a box here can still be pushed to some target
    std::vector<int> boxes;
    std::vector<int> targets;
    int worker = -1;
    std::vector<std::vector<int>> pushDist; // [target][cell]: pushes needed, boxes ignored
};

// Builds the search board: the text framed by one ring of wall, and every cell
// the worker cannot reach (boxes ignored) turned into wall.
Puzzle makePuzzle(const std::vector<std::string>& rows) {
    Puzzle p;
    std::size_t longest = 0;
    for (const auto& r : rows)
        longest = std::max(longest, r.size());
    p.width = static_cast<int>(longest) + 2;
    p.height = static_cast<int>(rows.size()) + 2;
    p.step[0] = -p.width;
    p.step[1] = p.width;
    p.step[2] = -1;
    p.step[3] = 1;
    const int n = p.width * p.height;
    p.wall.assign(n, 1);
    p.target.assign(n, 0);
    std::vector<char> box(n, 0);
    int workers = 0;
    for (std::size_t y = 0; y < rows.size(); ++y)
        for (std::size_t x = 0; x < rows[y].size(); ++x) {
            const int c = static_cast<int>(y + 1) * p.width + static_cast<int>(x) + 1;
            const char ch = rows[y][x];
            if (ch == '#') continue;
            p.wall[c] = 0;
            if (ch == '.' || ch == '*' || ch == '+') p.target[c] = 1;
            if (ch == '$' || ch == '*') box[c] = 1;
            if (ch == '@' || ch == '+') {
                p.worker = c;
                ++workers;
            }
        }
    if (workers != 1) throw std::runtime_error("the level needs exactly one worker");

    std::vector<char> reach(n, 0);
    std::vector<int> todo{p.worker};
    reach[p.worker] = 1;
    while (!todo.empty()) {
        const int c = todo.back();
        todo.pop_back();
        for (int d : p.step) {
            const int t = c + d;
            if (t < 0 || t >= n || p.wall[t] || reach[t]) continue;
            // A cell on the frame would mean the worker can walk off the board.
            const int x = t % p.width, y = t / p.width;
            if (x == 0 || y == 0 || x == p.width - 1 || y == p.height - 1)
                throw std::runtime_error("the level is not closed by walls");
            reach[t] = 1;
            todo.push_back(t);
        }
    }
    for (int c = 0; c < n; ++c) {
        if (!reach[c] && (box[c] || p.target[c]))
            throw std::runtime_error("a box or target lies where the worker cannot go");
        if (!reach[c]) p.wall[c] = 1;
        if (box[c]) p.boxes.push_back(c);
        if (p.target[c]) p.targets.push_back(c);
    }
    if (p.boxes.empty()) throw std::runtime_error("the level has no box");
    if (p.boxes.size() != p.targets.size())
        throw std::runtime_error("boxes and targets differ in number");

    // Pulls backwards from each target give the push distance of every cell.
    p.live.assign(n, 0);
    for (int t : p.targets) {
        std::vector<int> dist(n, kInf);
        std::vector<int> queue{t};
        dist[t] = 0;
        for (std::size_t head = 0; head < queue.size(); ++head) {
            const int c = queue[head];
            for (int d : p.step) {
                const int from = c - d;
                const int pusher = from - d;
                if (p.wall[from] || p.wall[pusher] || dist[from] != kInf) continue;
                dist[from] = dist[c] + 1;
                queue.push_back(from);
            }
        }
        for (int c = 0; c < n; ++c)
            if (dist[c] != kInf) p.live[c] = 1;
        p.pushDist.push_back(std::move(dist));
    }
    return p;
}

// Minimum-cost perfect matching of boxes to targets (Hungarian method).
class Matcher {
  public:
    explicit Matcher(int n)
        : n_(n), cost_((n + 1) * (n + 1)), u_(n + 1), v_(n + 1), p_(n + 1), way_(n + 1),
          minv_(n + 1), used_(n + 1) {}

    int& cost(int box, int target) { return cost_[(box + 1) * (n_ + 1) + target + 1]; }

    long solve() {
        std::fill(u_.begin(), u_.end(), 0);
        std::fill(v_.begin(), v_.end(), 0);
        std::fill(p_.begin(), p_.end(), 0);
        for (int i = 1; i <= n_; ++i) {
            p_[0] = i;
            int j0 = 0;
            std::fill(minv_.begin(), minv_.end(), kBig);
            std::fill(used_.begin(), used_.end(), 0);
            do {
                used_[j0] = 1;
                const int i0 = p_[j0];
                long delta = kBig;
                int j1 = 0;
                for (int j = 1; j <= n_; ++j) {
                    if (used_[j]) continue;
                    const long cur = cost_[i0 * (n_ + 1) + j] - u_[i0] - v_[j];
                    if (cur < minv_[j]) {
                        minv_[j] = cur;
                        way_[j] = j0;
                    }
                    if (minv_[j] < delta) {
                        delta = minv_[j];
                        j1 = j;
                    }
                }
                for (int j = 0; j <= n_; ++j) {
                    if (used_[j]) {
                        u_[p_[j]] += delta;
                        v_[j] -= delta;
                    } else {
                        minv_[j] -= delta;
                    }
                }
                j0 = j1;
            } while (p_[j0] != 0);
            do {
                const int j1 = way_[j0];
                p_[j0] = p_[j1];
                j0 = j1;
            } while (j0);
        }
        return -v_[0];
    }

  private:
    static constexpr long kBig = 1L << 40;
    int n_;
    std::vector<int> cost_;
    std::vector<long> u_, v_;
    std::vector<int> p_, way_;
    std::vector<long> minv_;
    std::vector<char> used_;
};

struct Node {
    std::uint32_t parent;
    std::uint16_t from; // cell of the pushed box before the push
    std::uint8_t dir;
    std::uint16_t g; // pushes so far
    std::uint16_t h;
    std::uint16_t worker;
    std::int32_t macro = -1; // index of a whole box journey, or -1 for one push
};

struct Result {
    bool solved = false;
    bool gaveUp = false; // stopped at the node limit
    std::string moves;
    int pushes = 0;
    int bound = 0; // lower bound on pushes at the start
    std::size_t expanded = 0;
};

class Search {
  public:
    Search(const Puzzle& p, double weight, std::size_t maxNodes, int journeys)
        : p_(p), weight_(weight), maxNodes_(maxNodes), journeys_(journeys),
          nb_(static_cast<int>(p.boxes.size())), matcher_(nb_) {
        const int n = p.width * p.height;
        std::mt19937_64 rng(12345);
        boxKey_.resize(n);
        manKey_.resize(n);
        exactKey_.resize(n);
        for (int c = 0; c < n; ++c) {
            boxKey_[c] = rng();
            manKey_[c] = rng();
            exactKey_[c] = rng();
        }
        occ_.assign(n, 0);
        fence_.assign(n, 0);
        pen_.assign(n, -1);
        onStack_.assign(n, 0);
        seen_.assign(n, 0);
    }

    Result run() {
        Result result;
        std::vector<int> boxes = p_.boxes;
        std::sort(boxes.begin(), boxes.end());
        const int h0 = lowerBound(boxes);
        result.bound = h0;
        if (h0 >= kInf) return result;
        addNode(
            Node{0, 0, 0, 0, static_cast<std::uint16_t>(h0), static_cast<std::uint16_t>(p_.worker)},
            boxes);
        nodes_[0].parent = UINT32_MAX;

        std::vector<int> reach;
        while (!open_.empty()) {
            const std::uint32_t idx = std::get<2>(open_.top());
            open_.pop();
            const Node node = nodes_[idx];
            boxes.assign(pool_.begin() + static_cast<long>(idx) * nb_,
                         pool_.begin() + static_cast<long>(idx + 1) * nb_);
            for (int b : boxes)
                occ_[b] = 1;
            const int least = reachable(node.worker, reach);
            std::uint64_t key = manKey_[least];
            for (int b : boxes)
                key ^= boxKey_[b];
            auto [it, fresh] = closed_.try_emplace(key, node.g);
            if (!fresh && it->second <= node.g) {
                for (int b : boxes)
                    occ_[b] = 0;
                continue;
            }
            it->second = node.g;
            ++result.expanded;
            if (node.h == 0) {
                for (int b : boxes)
                    occ_[b] = 0;
                result.solved = true;
                result.pushes = node.g;
                result.moves = spell(idx);
                return result;
            }
            if (nodes_.size() > maxNodes_) {
                for (int b : boxes)
                    occ_[b] = 0;
                result.gaveUp = true;
                return result;
            }
            if (journeys_ != 1) expand(idx, node, boxes);
            if (journeys_ != 0) expandJourneys(idx, node, boxes);
            for (int b : boxes)
                occ_[b] = 0;
        }
        // Journeys alone never park a box on the way: running out of them
        // proves nothing, only a search that also offers single pushes does.
        if (journeys_ == 1) result.gaveUp = true;
        return result;
    }

  private:
    using Entry = std::tuple<double, int, std::uint32_t>;

    // Cells the worker reaches around the boxes in occ_; returns the least one.
    int reachable(int from, std::vector<int>& cells) {
        cells.clear();
        cells.push_back(from);
        seen_[from] = 1;
        int least = from;
        for (std::size_t head = 0; head < cells.size(); ++head) {
            const int c = cells[head];
            for (int d : p_.step) {
                const int t = c + d;
                if (p_.wall[t] || occ_[t] || seen_[t]) continue;
                seen_[t] = 1;
                least = std::min(least, t);
                cells.push_back(t);
            }
        }
        for (int c : cells)
            seen_[c] = 0;
        return least;
    }

    void expand(std::uint32_t idx, const Node& node, const std::vector<int>& boxes) {
        std::vector<int> reach;
        reachable(node.worker, reach);
        for (int c : reach)
            seen_[c] = 1;
        const bool fenced = fenceOnly();
        std::vector<int> child(boxes.size());
        for (int i = 0; i < nb_; ++i) {
            const int b = boxes[i];
            if (fenced && !fence_[b]) continue;
            for (int d = 0; d < 4; ++d) {
                const int to = b + p_.step[d];
                if (!seen_[b - p_.step[d]] || p_.wall[to] || occ_[to] || !p_.live[to]) continue;
                occ_[b] = 0;
                occ_[to] = 1;
                const bool deadlock = frozenOffTarget(to);
                child = boxes;
                child[i] = to;
                std::sort(child.begin(), child.end());
                int h = deadlock ? kInf : lowerBound(child);
                occ_[to] = 0;
                occ_[b] = 1;
                if (h >= kInf) continue;
                std::uint64_t exact = exactKey_[b];
                for (int c : child)
                    exact ^= boxKey_[c];
                const int g = node.g + 1;
                auto [it, fresh] = generated_.try_emplace(exact, g);
                if (!fresh && it->second <= g) continue;
                it->second = g;
                addNode(Node{idx, static_cast<std::uint16_t>(b), static_cast<std::uint8_t>(d),
                             static_cast<std::uint16_t>(g), static_cast<std::uint16_t>(h),
                             static_cast<std::uint16_t>(b)},
                        child);
            }
        }
        for (int c : reach)
            seen_[c] = 0;
        for (int b : boxes)
            fence_[b] = 0;
    }

    // A pen is a part of the floor the worker cannot enter. When every push
    // of its fence boxes would go into the pen, the worker can make all of
    // them, and the pen still holds unfinished work, the pen has to be opened
    // before anything else matters: only its fence is pushed then. Marks the
    // fence in fence_ and returns true in that case. Needs the worker's reach
    // in seen_ and the boxes in occ_.
    bool fenceOnly() {
        std::fill(pen_.begin(), pen_.end(), -1);
        int best = -1, bestPushes = kInf;
        std::vector<int> cells, fence, bestFence;
        for (int start = 0; start < static_cast<int>(pen_.size()); ++start) {
            if (p_.wall[start] || seen_[start] || occ_[start] || pen_[start] >= 0) continue;
            cells.assign(1, start);
            pen_[start] = start;
            for (std::size_t head = 0; head < cells.size(); ++head)
                for (int d : p_.step) {
                    const int t = cells[head] + d;
                    if (p_.wall[t] || seen_[t] || pen_[t] >= 0) continue;
                    pen_[t] = start;
                    cells.push_back(t);
                }
            bool unfinished = false;
            fence.clear();
            for (int c : cells) {
                if (occ_[c] != p_.target[c]) unfinished = true;
                if (!occ_[c]) continue;
                for (int d : p_.step)
                    if (seen_[c + d]) {
                        fence.push_back(c);
                        break;
                    }
            }
            if (!unfinished || fence.empty()) continue;
            bool pen = true;
            int pushes = 0;
            for (int b : fence)
                for (int d : p_.step) {
                    const int to = b + d;
                    if (p_.wall[to] || occ_[to] || !p_.live[to]) continue;
                    if (seen_[to] || !seen_[b - d])
                        pen = false; // leads out, or cannot be made
                    else
                        ++pushes;
                }
            if (pen && pushes > 0 && pushes < bestPushes) {
                best = start;
                bestPushes = pushes;
                bestFence = fence;
            }
        }
        if (best < 0) return false;
        for (int b : bestFence)
            fence_[b] = 1;
        return true;
    }

    // Big boards with many boxes: instead of single pushes, every child takes
    // one box all the way to a free target (fewest pushes, the other boxes
    // standing still). Enough for boards where boxes need no parking.
    void expandJourneys(std::uint32_t idx, const Node& node, const std::vector<int>& boxes) {
        const int n = p_.width * p_.height;
        std::vector<int> reach, prevState(n * 4), region;
        std::vector<char> visited(n * 4);
        for (int i = 0; i < nb_; ++i) {
            const int start = boxes[i];
            if (p_.target[start]) continue;
            std::fill(visited.begin(), visited.end(), 0);
            // States are (box cell, direction of the last push); the worker
            // stands right behind the box.
            std::vector<int> queue;
            reachable(node.worker, reach);
            for (int c : reach)
                seen_[c] = 1;
            for (int d = 0; d < 4; ++d) {
                const int to = start + p_.step[d];
                if (!seen_[start - p_.step[d]] || p_.wall[to] || occ_[to] || !p_.live[to]) continue;
                visited[to * 4 + d] = 1;
                prevState[to * 4 + d] = -1;
                queue.push_back(to * 4 + d);
            }
            for (int c : reach)
                seen_[c] = 0;
            occ_[start] = 0;
            for (std::size_t head = 0; head < queue.size(); ++head) {
                const int state = queue[head];
                const int cell = state / 4, dir = state % 4;
                if (p_.target[cell]) addJourney(idx, node, boxes, i, state, prevState);
                occ_[cell] = 1;
                reachable(cell - p_.step[dir], region);
                for (int c : region)
                    seen_[c] = 1;
                for (int d = 0; d < 4; ++d) {
                    const int to = cell + p_.step[d];
                    if (!seen_[cell - p_.step[d]] || p_.wall[to] || occ_[to] || !p_.live[to] ||
                        visited[to * 4 + d])
                        continue;
                    visited[to * 4 + d] = 1;
                    prevState[to * 4 + d] = state;
                    queue.push_back(to * 4 + d);
                }
                for (int c : region)
                    seen_[c] = 0;
                occ_[cell] = 0;
            }
            occ_[start] = 1;
        }
    }

    void addJourney(std::uint32_t idx, const Node& node, const std::vector<int>& boxes, int i,
                    int state, const std::vector<int>& prevState) {
        std::vector<std::pair<int, int>> pushes; // last push first
        for (int s = state; s >= 0; s = prevState[s])
            pushes.emplace_back(s / 4 - p_.step[s % 4], s % 4);
        const int cell = state / 4;
        std::vector<int> child = boxes;
        child[i] = cell;
        occ_[cell] = 1;
        const bool deadlock = frozenOffTarget(cell);
        occ_[cell] = 0;
        if (deadlock) return;
        std::sort(child.begin(), child.end());
        const int h = lowerBound(child);
        if (h >= kInf) return;
        const int g = node.g + static_cast<int>(pushes.size());
        const int worker = cell - p_.step[state % 4];
        std::uint64_t exact = exactKey_[worker];
        for (int c : child)
            exact ^= boxKey_[c];
        auto [it, fresh] = generated_.try_emplace(exact, g);
        if (!fresh && it->second <= g) return;
        it->second = g;
        journeys_list_.push_back(std::move(pushes));
        addNode(Node{idx, 0, 0, static_cast<std::uint16_t>(g), static_cast<std::uint16_t>(h),
                     static_cast<std::uint16_t>(worker),
                     static_cast<std::int32_t>(journeys_list_.size() - 1)},
                child);
    }

    void addNode(const Node& node, const std::vector<int>& boxes) {
        const auto idx = static_cast<std::uint32_t>(nodes_.size());
        nodes_.push_back(node);
        for (int b : boxes)
            pool_.push_back(static_cast<std::uint16_t>(b));
        open_.emplace(node.g + weight_ * node.h, -node.g, idx);
    }

    int lowerBound(const std::vector<int>& boxes) {
        for (int i = 0; i < nb_; ++i)
            for (int t = 0; t < nb_; ++t)
                matcher_.cost(i, t) = p_.pushDist[t][boxes[i]];
        const long total = matcher_.solve();
        return total >= kInf ? kInf : static_cast<int>(total);
    }

    // A box that can never move again is a deadlock unless it and every box
    // holding it in place stand on targets.
    bool frozenOffTarget(int cell) {
        frozen_.clear();
        const bool stuck = frozen(cell);
        if (!stuck) return false;
        for (int c : frozen_)
            if (!p_.target[c]) return true;
        return false;
    }

    bool frozen(int c) {
        onStack_[c] = 1;
        const std::size_t mark = frozen_.size();
        const bool stuck = blocked(c, 1) && blocked(c, p_.width);
        onStack_[c] = 0;
        if (stuck)
            frozen_.push_back(c);
        else
            frozen_.resize(mark);
        return stuck;
    }

    bool blocked(int c, int along) {
        const int a = c - along, b = c + along;
        if (p_.wall[a] || p_.wall[b] || onStack_[a] || onStack_[b]) return true;
        if (!p_.live[a] && !p_.live[b]) return true;
        if (occ_[a] && frozen(a)) return true;
        if (occ_[b] && frozen(b)) return true;
        return false;
    }

    // Turns the chain of pushes ending at node idx into steps and pushes.
    std::string spell(std::uint32_t idx) const {
        std::vector<std::pair<int, int>> pushes;
        for (std::uint32_t i = idx; nodes_[i].parent != UINT32_MAX; i = nodes_[i].parent) {
            if (nodes_[i].macro < 0) {
                pushes.emplace_back(nodes_[i].from, nodes_[i].dir);
                continue;
            }
            const auto& journey = journeys_list_[nodes_[i].macro];
            pushes.insert(pushes.end(), journey.begin(), journey.end());
        }
        std::reverse(pushes.begin(), pushes.end());
        std::vector<char> occ(occ_.size(), 0);
        for (int b : p_.boxes)
            occ[b] = 1;
        int man = p_.worker;
        std::string out;
        for (auto [from, dir] : pushes) {
            const int stand = from - p_.step[dir];
            out += walk(occ, man, stand);
            out += kPushLetters[dir];
            occ[from] = 0;
            occ[from + p_.step[dir]] = 1;
            man = from;
        }
        return out;
    }

    // Shortest walk around the boxes; empty when already there.
    std::string walk(const std::vector<char>& occ, int from, int to) const {
        std::vector<int> prev(occ.size(), -1);
        std::vector<int> queue{from};
        prev[from] = from;
        for (std::size_t head = 0; head < queue.size() && prev[to] < 0; ++head) {
            const int c = queue[head];
            for (int d : p_.step) {
                const int t = c + d;
                if (p_.wall[t] || occ[t] || prev[t] >= 0) continue;
                prev[t] = c;
                queue.push_back(t);
            }
        }
        if (prev[to] < 0) throw std::logic_error("worker cannot reach the pushing cell");
        std::string path;
        for (int c = to; c != from; c = prev[c]) {
            const int d = c - prev[c];
            for (int k = 0; k < 4; ++k)
                if (p_.step[k] == d) path += kStepLetters[k];
        }
        std::reverse(path.begin(), path.end());
        return path;
    }

    const Puzzle& p_;
    double weight_;
    std::size_t maxNodes_;
    int journeys_; // 0 single pushes, 1 whole journeys, 2 both
    int nb_;
    Matcher matcher_;
    std::vector<std::uint64_t> boxKey_, manKey_, exactKey_;
    std::vector<char> occ_, onStack_, seen_, fence_;
    std::vector<int> pen_;
    std::vector<int> frozen_;
    std::vector<Node> nodes_;
    std::vector<std::uint16_t> pool_;
    std::vector<std::vector<std::pair<int, int>>> journeys_list_;
    std::unordered_map<std::uint64_t, std::uint16_t> closed_, generated_;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open_;
};

// Plays the moves on the text board with nothing but the rules; true when
// every push letter is a real push and every box ends on a target.
bool replay(const Puzzle& p, const std::string& moves) {
    std::vector<char> occ(p.wall.size(), 0);
    for (int b : p.boxes)
        occ[b] = 1;
    int man = p.worker;
    for (char m : moves) {
        int d = 0;
        while (d < 4 && kStepLetters[d] != m && kPushLetters[d] != m)
            ++d;
        if (d == 4) return false;
        const int next = man + p.step[d];
        if (p.wall[next]) return false;
        const bool push = occ[next];
        if (push != (m == kPushLetters[d])) return false;
        if (push) {
            const int beyond = next + p.step[d];
            if (p.wall[beyond] || occ[beyond]) return false;
            occ[next] = 0;
            occ[beyond] = 1;
        }
        man = next;
    }
    for (int b = 0; b < static_cast<int>(occ.size()); ++b)
        if (occ[b] && !p.target[b]) return false;
    return true;
}

} // namespace

namespace {

struct Strategy {
    double weight;
    int journeys;
    std::size_t maxNodes;
};

// Without options every level tries these in turn: fewest pushes first, then
// ever greedier searches for the big and crowded boards.
const Strategy kLadder[] = {
    {1.0, 0, 2'000'000},
    {1.0, 2, 2'000'000},
    {3.0, 2, 5'000'000},
    {3.0, 1, 5'000'000},
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: solve_levels <levels.txt> [-o solutions.txt] [-l level] "
                     "[-w weight] [-n max nodes] [-j 0|1|2]\n";
        return 2;
    }
    std::string input = argv[1], output;
    int only = 0;
    Strategy chosen{1.0, 0, 20'000'000};
    bool fixed = false;
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::string opt = argv[i];
        if (opt == "-o") {
            output = argv[i + 1];
        } else if (opt == "-l") {
            only = std::atoi(argv[i + 1]);
        } else if (opt == "-w") {
            chosen.weight = std::atof(argv[i + 1]);
            fixed = true;
        } else if (opt == "-j") {
            chosen.journeys = std::atoi(argv[i + 1]);
            fixed = true;
        } else if (opt == "-n") {
            chosen.maxNodes = static_cast<std::size_t>(std::atof(argv[i + 1]));
            fixed = true;
        }
    }
    std::vector<Strategy> strategies;
    if (fixed)
        strategies.push_back(chosen);
    else
        strategies.assign(std::begin(kLadder), std::end(kLadder));

    std::ifstream in(input);
    if (!in) {
        std::cerr << "cannot open " << input << "\n";
        return 2;
    }
    std::vector<sokoban::leveltext::TextLevel> levels;
    try {
        levels = sokoban::leveltext::readLevels(in);
    } catch (const std::exception& e) {
        std::cerr << input << ": " << e.what() << "\n";
        return 1;
    }

    int failures = 0;
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        if (only && number != only) continue;
        const auto start = std::chrono::steady_clock::now();
        try {
            const Puzzle puzzle = makePuzzle(levels[i].rows);
            Result r;
            const Strategy* used = nullptr;
            for (const auto& s : strategies) {
                Search search(puzzle, s.weight, s.maxNodes, s.journeys);
                r = search.run();
                used = &s;
                if (r.solved || !r.gaveUp) break;
            }
            const double secs =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            std::fprintf(stderr, "level %2d: boxes %2zu  ", number, puzzle.boxes.size());
            if (!r.solved) {
                std::fprintf(stderr, "%s  expanded %zu  %.1fs\n",
                             r.gaveUp ? "GAVE UP" : "NO SOLUTION", r.expanded, secs);
                ++failures;
                lines.emplace_back();
                continue;
            }
            if (!replay(puzzle, r.moves)) throw std::logic_error("solution fails its replay");
            std::fprintf(
                stderr, "pushes %4d (bound %3d)  moves %5zu  expanded %9zu  %.1fs  [w %.0f j %d]\n",
                r.pushes, r.bound, r.moves.size(), r.expanded, secs, used->weight, used->journeys);
            lines.push_back(r.moves);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "level %2d (line %d): %s\n", number, levels[i].line, e.what());
            ++failures;
            lines.emplace_back();
        }
    }

    if (output.empty()) {
        for (const auto& l : lines)
            std::cout << l << "\n";
    } else {
        std::ofstream out(output);
        for (const auto& l : lines)
            out << l << "\n";
    }
    return failures ? 1 : 0;
}

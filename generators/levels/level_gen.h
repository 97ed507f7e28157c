// The pieces of the level generator: rooms tiled from small wall patterns,
// the backward search over pulls that finds the start farthest (in pushes)
// from a solve, and a canonical form that names a puzzle whatever its
// position, rotation or reflection. Header only, so the generator tool and
// its tests share the very same code.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace sokoban::levelgen {

// A board framed by at least one ring of wall. Cells are row-major.
struct Board {
    int w = 0;
    int h = 0;
    std::vector<char> wall;   // 1: wall (or outside)
    std::vector<char> target; // 1: target
    std::vector<int> boxes;   // cells, any order
    int worker = -1;

    Board() = default;
    Board(int width, int height)
        : w(width), h(height), wall(width * height, 1), target(width * height, 0) {}
    int cell(int x, int y) const { return y * w + x; }
    std::array<int, 4> steps() const { return {-w, w, -1, 1}; }
};

// Reads XSB rows; every square the worker cannot reach (boxes ignored) is
// wall. Rows are framed by one ring of wall so edges need no care.
inline Board fromRows(const std::vector<std::string>& rows) {
    std::size_t longest = 0;
    for (const auto& r : rows)
        longest = std::max(longest, r.size());
    Board b(static_cast<int>(longest) + 2, static_cast<int>(rows.size()) + 2);
    std::vector<char> box(b.wall.size(), 0);
    for (std::size_t y = 0; y < rows.size(); ++y)
        for (std::size_t x = 0; x < rows[y].size(); ++x) {
            const int c = b.cell(static_cast<int>(x) + 1, static_cast<int>(y) + 1);
            const char ch = rows[y][x];
            if (ch == '#') continue;
            b.wall[c] = 0;
            if (ch == '.' || ch == '*' || ch == '+') b.target[c] = 1;
            if (ch == '$' || ch == '*') box[c] = 1;
            if (ch == '@' || ch == '+') b.worker = c;
        }
    std::vector<char> reach(b.wall.size(), 0);
    if (b.worker >= 0) {
        std::vector<int> todo{b.worker};
        reach[b.worker] = 1;
        while (!todo.empty()) {
            const int c = todo.back();
            todo.pop_back();
            for (int d : b.steps()) {
                const int t = c + d;
                if (t < 0 || t >= static_cast<int>(b.wall.size()) || b.wall[t] || reach[t])
                    continue;
                reach[t] = 1;
                todo.push_back(t);
            }
        }
    }
    for (std::size_t c = 0; c < b.wall.size(); ++c) {
        if (!reach[c]) {
            b.wall[c] = 1;
            b.target[c] = 0;
            continue;
        }
        if (box[c]) b.boxes.push_back(static_cast<int>(c));
    }
    return b;
}

// The smallest rectangle holding every floor square; x1 < 0 when there is none.
inline void floorBounds(const Board& b, int& x0, int& y0, int& x1, int& y1) {
    x0 = b.w, y0 = b.h, x1 = -1, y1 = -1;
    for (int y = 0; y < b.h; ++y)
        for (int x = 0; x < b.w; ++x)
            if (!b.wall[b.cell(x, y)]) {
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
                y0 = std::min(y0, y);
                y1 = std::max(y1, y);
            }
}

// XSB rows cropped to the floor and one ring of wall; wall that touches no
// floor (diagonals included) is left blank.
inline std::vector<std::string> toRows(const Board& b) {
    int x0, y0, x1, y1;
    floorBounds(b, x0, y0, x1, y1);
    std::vector<char> box(b.wall.size(), 0);
    for (int c : b.boxes)
        box[c] = 1;
    std::vector<std::string> rows;
    for (int y = y0 - 1; y <= y1 + 1; ++y) {
        std::string row;
        for (int x = x0 - 1; x <= x1 + 1; ++x) {
            const int c = b.cell(x, y);
            if (b.wall[c]) {
                bool touches = false;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = x + dx, ny = y + dy;
                        if (nx >= 0 && ny >= 0 && nx < b.w && ny < b.h && !b.wall[b.cell(nx, ny)])
                            touches = true;
                    }
                row += touches ? '#' : ' ';
            } else if (c == b.worker) {
                row += b.target[c] ? '+' : '@';
            } else if (box[c]) {
                row += b.target[c] ? '*' : '$';
            } else {
                row += b.target[c] ? '.' : ' ';
            }
        }
        while (!row.empty() && row.back() == ' ')
            row.pop_back();
        rows.push_back(row);
    }
    return rows;
}

// Cells reachable from `from` without crossing walls or the marked cells.
inline std::vector<int> region(const Board& b, const std::vector<char>& blocked, int from) {
    std::vector<int> cells{from};
    std::vector<char> seen(b.wall.size(), 0);
    seen[from] = 1;
    for (std::size_t i = 0; i < cells.size(); ++i)
        for (int d : b.steps()) {
            const int t = cells[i] + d;
            if (b.wall[t] || blocked[t] || seen[t]) continue;
            seen[t] = 1;
            cells.push_back(t);
        }
    return cells;
}

inline int floorCount(const Board& b) {
    return static_cast<int>(std::count(b.wall.begin(), b.wall.end(), 0));
}

// ---------------------------------------------------------------------------
// Rooms

// Wall patterns for the 3 x 3 tiles of a room, each used in any of its eight
// orientations. The open tile is listed more than once to keep rooms airy.
inline const std::vector<std::array<const char*, 3>>& tiles() {
    static const std::vector<std::array<const char*, 3>> kTiles = {
        {"   ", "   ", "   "}, {"   ", "   ", "   "}, {"#  ", "   ", "   "}, {"## ", "   ", "   "},
        {"###", "   ", "   "}, {"   ", " # ", "   "}, {"#  ", "   ", "  #"}, {"# #", "   ", "   "},
        {"#  ", "#  ", "   "}, {"## ", "#  ", "   "}, {" # ", " # ", "   "}, {"## ", "## ", "   "},
        {"#  ", "## ", "   "}, {"   ", " ##", "   "}, {"###", "#  ", "#  "}, {"#  ", " # ", "   "},
        {"   ", "## ", "   "},
    };
    return kTiles;
}

struct RoomOptions {
    int innerW = 6; // floor columns the tiles may cover
    int innerH = 6;
    int minFloor = 12;
    int maxFloor = 40;
    int openW = 3; // no all-floor block this wide and openH high (either way round)
    int openH = 4;
};

inline bool hasOpenBlock(const Board& b, int bw, int bh) {
    for (int y = 0; y + bh <= b.h; ++y)
        for (int x = 0; x + bw <= b.w; ++x) {
            bool open = true;
            for (int dy = 0; dy < bh && open; ++dy)
                for (int dx = 0; dx < bw && open; ++dx)
                    open = !b.wall[b.cell(x + dx, y + dy)];
            if (open) return true;
        }
    return false;
}

// Fills floor squares with three walls round them, repeatedly, except those
// marked to keep.
inline void fillDeadEnds(Board& b, const std::vector<char>& keep) {
    bool changed = true;
    while (changed) {
        changed = false;
        for (int c = 0; c < b.w * b.h; ++c) {
            if (b.wall[c] || keep[c]) continue;
            int walls = 0;
            for (int d : b.steps())
                walls += b.wall[c + d];
            if (walls >= 3) {
                b.wall[c] = 1;
                changed = true;
            }
        }
    }
}

// A room of connected floor (its largest piece), or an empty board when the
// tiles gave one that is too small, too big or too open.
inline Board makeRoom(const RoomOptions& o, std::mt19937_64& rng) {
    const int tw = (o.innerW + 2) / 3, th = (o.innerH + 2) / 3;
    Board b(o.innerW + 2, o.innerH + 2);
    const auto& ts = tiles();
    for (int ty = 0; ty < th; ++ty)
        for (int tx = 0; tx < tw; ++tx) {
            const auto& t = ts[rng() % ts.size()];
            const int turn = static_cast<int>(rng() % 8);
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < 3; ++x) {
                    int sx = x, sy = y;
                    if (turn & 1) std::swap(sx, sy);
                    if (turn & 2) sx = 2 - sx;
                    if (turn & 4) sy = 2 - sy;
                    const int bx = 1 + tx * 3 + x, by = 1 + ty * 3 + y;
                    if (bx > o.innerW || by > o.innerH) continue;
                    b.wall[b.cell(bx, by)] = t[sy][sx] == '#';
                }
        }
    fillDeadEnds(b, std::vector<char>(b.wall.size(), 0));
    // Keep the largest piece of floor.
    std::vector<char> none(b.wall.size(), 0), done(b.wall.size(), 0);
    std::vector<int> best;
    for (int c = 0; c < b.w * b.h; ++c) {
        if (b.wall[c] || done[c]) continue;
        auto cells = region(b, none, c);
        for (int r : cells)
            done[r] = 1;
        if (cells.size() > best.size()) best = std::move(cells);
    }
    std::vector<char> inBest(b.wall.size(), 0);
    for (int c : best)
        inBest[c] = 1;
    for (int c = 0; c < b.w * b.h; ++c)
        if (!inBest[c]) b.wall[c] = 1;
    const int f = floorCount(b);
    if (f < o.minFloor || f > o.maxFloor || hasOpenBlock(b, o.openW, o.openH) ||
        hasOpenBlock(b, o.openH, o.openW))
        return Board();
    return b;
}

// ---------------------------------------------------------------------------
// Backward search: breadth first over pulls from every solved position, so a
// position's depth is the fewest pushes that solve it.

struct Position {
    std::uint64_t lo = 0, hi = 0; // boxes as a set of floor indices
    std::uint32_t parent = 0;     // the position one push nearer the solve
    std::uint16_t depth = 0;
    std::uint8_t man = 0; // floor index of the least square the worker reaches
};

class BackSearch {
  public:
    explicit BackSearch(const Board& b) : b_(b) {
        index_.assign(b.wall.size(), -1);
        for (int c = 0; c < b.w * b.h; ++c)
            if (!b.wall[c]) {
                index_[c] = static_cast<int>(cellOf_.size());
                cellOf_.push_back(c);
            }
        occ_.assign(b.wall.size(), 0);
        seen_.assign(b.wall.size(), 0);
    }

    // False when the board has more than 128 floor squares.
    bool usable() const { return cellOf_.size() <= 128 && !cellOf_.empty(); }

    // Runs until every position is found or `cap` positions are stored.
    // Returns true when the search was complete.
    bool run(std::size_t cap) {
        Position solved;
        for (int c = 0; c < b_.w * b_.h; ++c)
            if (b_.target[c]) setBit(solved, index_[c]);
        return search(solved, -1, cap);
    }

    // The same search from one given position instead of the solved ones:
    // depths are then pushes to that position.
    bool runFrom(const std::vector<int>& boxes, int worker, std::size_t cap) {
        Position start;
        for (int c : boxes)
            setBit(start, index_[c]);
        return search(start, worker, cap);
    }

    const std::vector<Position>& positions() const { return positions_; }
    int cellOf(int floorIndex) const { return cellOf_[floorIndex]; }

    std::vector<int> boxCells(const Position& p) const {
        std::vector<int> cells;
        for (std::size_t i = 0; i < cellOf_.size(); ++i)
            if (bit(p, static_cast<int>(i))) cells.push_back(cellOf_[i]);
        return cells;
    }

    // The pushes from position i to a solve, as (box square before the push,
    // square after it).
    std::vector<std::pair<int, int>> pushesFrom(std::uint32_t i) const {
        std::vector<std::pair<int, int>> out;
        while (positions_[i].parent != UINT32_MAX) {
            const Position& p = positions_[i];
            const Position& q = positions_[p.parent];
            int from = -1, to = -1;
            for (std::size_t k = 0; k < cellOf_.size(); ++k) {
                const bool a = bit(p, static_cast<int>(k)), c = bit(q, static_cast<int>(k));
                if (a && !c) from = cellOf_[k];
                if (c && !a) to = cellOf_[k];
            }
            out.emplace_back(from, to);
            i = p.parent;
        }
        return out;
    }

  private:
    static constexpr std::uint32_t kEmpty = UINT32_MAX;

    // Breadth first from the boxes of `start`, the worker in `worker`'s
    // area, or in every area beside a box when worker is -1.
    bool search(Position solved, int worker, std::size_t cap) {
        positions_.clear();
        table_.assign(tableSizeFor(cap), kEmpty);
        load(solved);
        std::vector<char> tried(b_.wall.size(), 0);
        std::vector<int> reach;
        for (int c : cellOf_) {
            if (occ_[c] || tried[c] || (worker >= 0 && c != worker)) continue;
            reachFrom(c, reach);
            bool besideBox = false;
            for (int r : reach) {
                tried[r] = 1;
                for (int d : b_.steps())
                    besideBox = besideBox || occ_[r + d];
            }
            if (!besideBox && worker < 0) continue;
            Position p = solved;
            p.man = static_cast<std::uint8_t>(index_[least(reach)]);
            p.parent = UINT32_MAX;
            insert(p);
        }
        unload(solved);
        std::vector<int> region2;
        for (std::size_t i = 0; i < positions_.size(); ++i) {
            const Position p = positions_[i];
            load(p);
            reachFrom(cellOf_[p.man], reach);
            for (int x : reach)
                for (int d : b_.steps()) {
                    // Pull: the box beside the worker follows it one square.
                    const int box = x + d, back = x - d;
                    if (!occ_[box] || b_.wall[back] || occ_[back]) continue;
                    occ_[box] = 0;
                    occ_[x] = 1;
                    Position q = p;
                    clearBit(q, index_[box]);
                    setBit(q, index_[x]);
                    reachFrom(back, region2);
                    q.man = static_cast<std::uint8_t>(index_[least(region2)]);
                    q.depth = static_cast<std::uint16_t>(p.depth + 1);
                    q.parent = static_cast<std::uint32_t>(i);
                    occ_[x] = 0;
                    occ_[box] = 1;
                    if (!insert(q)) continue;
                    if (positions_.size() >= cap) {
                        unload(p);
                        return false;
                    }
                }
            unload(p);
        }
        return true;
    }

    static std::size_t tableSizeFor(std::size_t cap) {
        std::size_t n = 1024;
        while (n < cap * 2 + 16)
            n *= 2;
        return n;
    }
    static bool bit(const Position& p, int i) {
        return i < 64 ? (p.lo >> i) & 1 : (p.hi >> (i - 64)) & 1;
    }
    static void setBit(Position& p, int i) {
        if (i < 64)
            p.lo |= std::uint64_t{1} << i;
        else
            p.hi |= std::uint64_t{1} << (i - 64);
    }
    static void clearBit(Position& p, int i) {
        if (i < 64)
            p.lo &= ~(std::uint64_t{1} << i);
        else
            p.hi &= ~(std::uint64_t{1} << (i - 64));
    }
    static std::uint64_t hash(const Position& p) {
        std::uint64_t h = p.lo * 0x9E3779B97F4A7C15ull ^ (p.hi + 0x632BE59BD9B4E019ull) ^
                          (std::uint64_t{p.man} << 57);
        h ^= h >> 31;
        h *= 0xBF58476D1CE4E5B9ull;
        h ^= h >> 29;
        return h;
    }
    // Stores p unless already known; true when it was new.
    bool insert(const Position& p) {
        const std::size_t mask = table_.size() - 1;
        for (std::size_t s = hash(p) & mask;; s = (s + 1) & mask) {
            if (table_[s] == kEmpty) {
                table_[s] = static_cast<std::uint32_t>(positions_.size());
                positions_.push_back(p);
                return true;
            }
            const Position& q = positions_[table_[s]];
            if (q.lo == p.lo && q.hi == p.hi && q.man == p.man) return false;
        }
    }
    void load(const Position& p) {
        for (std::size_t i = 0; i < cellOf_.size(); ++i)
            occ_[cellOf_[i]] = bit(p, static_cast<int>(i));
    }
    void unload(const Position& p) {
        (void)p;
        for (int c : cellOf_)
            occ_[c] = 0;
    }
    void reachFrom(int from, std::vector<int>& cells) {
        cells.clear();
        cells.push_back(from);
        seen_[from] = 1;
        for (std::size_t i = 0; i < cells.size(); ++i)
            for (int d : b_.steps()) {
                const int t = cells[i] + d;
                if (b_.wall[t] || occ_[t] || seen_[t]) continue;
                seen_[t] = 1;
                cells.push_back(t);
            }
        for (int c : cells)
            seen_[c] = 0;
    }
    static int least(const std::vector<int>& cells) {
        return *std::min_element(cells.begin(), cells.end());
    }

    const Board& b_;
    std::vector<int> index_, cellOf_;
    std::vector<char> occ_, seen_;
    std::vector<Position> positions_;
    std::vector<std::uint32_t> table_;
};

// ---------------------------------------------------------------------------
// How a push sequence moves the boxes: how often the worker turns to another
// box, how many straight runs of one box it makes, and whether every box of
// the start moves at all.

struct PushStats {
    int changes = 0;
    int lines = 0;
    bool everyBoxMoves = true;
};

inline PushStats pushStats(const std::vector<int>& startBoxes,
                           const std::vector<std::pair<int, int>>& pushes) {
    PushStats s;
    std::vector<int> pos = startBoxes;
    std::vector<char> moved(pos.size(), 0);
    int last = -1, lastDir = 0;
    for (auto [from, to] : pushes) {
        const int k = static_cast<int>(std::find(pos.begin(), pos.end(), from) - pos.begin());
        if (k == static_cast<int>(pos.size())) return PushStats{0, 0, false};
        const int dir = to - from;
        if (k != last) ++s.changes;
        if (k != last || dir != lastDir) ++s.lines;
        last = k;
        lastDir = dir;
        pos[k] = to;
        moved[k] = 1;
    }
    s.changes = std::max(0, s.changes - 1); // the first box is no change
    for (char m : moved)
        s.everyBoxMoves = s.everyBoxMoves && m;
    return s;
}

// ---------------------------------------------------------------------------
// Canonical form: the board cropped to its floor, the worker replaced by the
// squares it can reach, and the least of the eight orientations.

inline std::string canonical(const Board& b) {
    std::vector<char> box(b.wall.size(), 0);
    for (int c : b.boxes)
        box[c] = 1;
    std::vector<char> inRegion(b.wall.size(), 0);
    if (b.worker >= 0)
        for (int c : region(b, box, b.worker))
            inRegion[c] = 1;
    int x0, y0, x1, y1;
    floorBounds(b, x0, y0, x1, y1);
    if (x1 < 0) return std::string();
    const int cw = x1 - x0 + 1, ch = y1 - y0 + 1;
    auto code = [&](int x, int y) {
        const int c = b.cell(x0 + x, y0 + y);
        if (b.wall[c]) return '#';
        return static_cast<char>('a' + box[c] + 2 * b.target[c] + 4 * inRegion[c]);
    };
    std::string best;
    for (int turn = 0; turn < 8; ++turn) {
        const bool swap = turn & 1;
        const int ow = swap ? ch : cw, oh = swap ? cw : ch;
        std::string s = std::to_string(ow) + "x" + std::to_string(oh) + ":";
        for (int y = 0; y < oh; ++y)
            for (int x = 0; x < ow; ++x) {
                int sx = swap ? y : x, sy = swap ? x : y;
                if (turn & 2) sx = cw - 1 - sx;
                if (turn & 4) sy = ch - 1 - sy;
                s += code(sx, sy);
            }
        if (best.empty() || s < best) best = std::move(s);
    }
    return best;
}

} // namespace sokoban::levelgen

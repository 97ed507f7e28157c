#include "motifs.h"

#include "core/paths.h"

#include <algorithm>

namespace sokoban::solver {

namespace {

using core::Board;
using core::kFloor;
using core::kTarget;
using core::kWall;

Board allWall(int rows, int cols) {
    Board b(rows, cols);
    std::fill(b.cells.begin(), b.cells.end(), kWall);
    return b;
}

void carve(Board& b, int row, int col, int height, int width, std::vector<int>* cells = nullptr) {
    for (int r = row; r < row + height; ++r)
        for (int c = col; c < col + width; ++c) {
            b.set(b.cellAt(r, c), kFloor);
            if (cells) cells->push_back(b.cellAt(r, c));
        }
}

// Rows of boxes a goal room `width` wide holds, and two spare rows by its
// door: a box that came in needs the worker to get round it.
int goalRows(int boxes, int width) {
    return (boxes + width - 1) / width + 2;
}

// Targets in the goal room (columns col .. col + width - 1), its rows far
// from the door first; in a row not filled, in mirrored pairs and the
// middle column where they can be. True when the targets mirror.
bool placeTargets(Board& b, const std::vector<int>& farRows, int col, int width, int boxes,
                  bool mirror, Random& rnd) {
    bool mirrored = mirror;
    int left = boxes;
    for (int r : farRows) {
        if (left <= 0) break;
        std::vector<int> cols;
        if (left >= width) {
            for (int c = 0; c < width; ++c)
                cols.push_back(c);
        } else if (mirror) {
            std::vector<int> pairs;
            for (int c = 0; c < width / 2; ++c)
                pairs.push_back(c);
            rnd.shuffle(pairs);
            for (int i = 0; i < left / 2; ++i) {
                cols.push_back(pairs[static_cast<std::size_t>(i)]);
                cols.push_back(width - 1 - pairs[static_cast<std::size_t>(i)]);
            }
            if (left % 2) {
                if (width % 2) {
                    cols.push_back(width / 2);
                } else {
                    cols.push_back(pairs[static_cast<std::size_t>(left / 2)]);
                    mirrored = false;
                }
            }
        } else {
            for (int c = 0; c < width; ++c)
                cols.push_back(c);
            rnd.shuffle(cols);
            cols.resize(static_cast<std::size_t>(left));
        }
        for (int c : cols)
            b.set(b.cellAt(r, col + c), kTarget);
        left -= static_cast<int>(cols.size());
    }
    return mirrored && left == 0;
}

// Pillars in the room (rows row.., columns col..), never on `keep`; with
// axisSum >= 0 each one mirrored onto column axisSum - c, where that square
// is in the room too.
void placePillars(Board& b, int row, int col, int height, int width, double share, int axisSum,
                  const std::vector<int>& keep, Random& rnd) {
    const auto kept = [&](int cell) {
        return std::find(keep.begin(), keep.end(), cell) != keep.end();
    };
    const int threshold = static_cast<int>(share * 1000);
    for (int r = row; r < row + height; ++r)
        for (int c = col; c < col + width; ++c) {
            const int mirror = axisSum >= 0 ? axisSum - c : c;
            if (axisSum >= 0 && mirror < c) continue; // laid with its left twin
            const int cell = b.cellAt(r, c);
            const int twin = b.cellAt(r, mirror);
            if (kept(cell) || kept(twin) || rnd.below(1000) >= threshold) continue;
            b.set(cell, kWall);
            b.set(twin, kWall);
        }
}

// Dead ends filled (the motif's own squares kept) and every floor square
// joined to the goal room's door; false when the floor came apart.
bool tidy(MotifBoard& m, std::vector<int> keep) {
    Board& b = m.board;
    std::vector<bool> keepMask(static_cast<std::size_t>(b.size()), false);
    keep.insert(keep.end(), m.corridor.begin(), m.corridor.end());
    keep.insert(keep.end(), m.doors.begin(), m.doors.end());
    keep.insert(keep.end(), m.goalRoom.begin(), m.goalRoom.end());
    for (int c : keep)
        keepMask[static_cast<std::size_t>(c)] = true;
    fillDeadEnds(b, keepMask);
    const std::vector<bool> joined = core::reach(b, m.doors.front(), core::Walk::ThroughBoxes);
    for (int p = 0; p < b.size(); ++p)
        if (b.at(p) != kWall && !joined[static_cast<std::size_t>(p)]) return false;
    b.worker = m.doors.front();
    return true;
}

MotifBoard mirrorHall(const MotifOptions& o, Random& rnd) {
    MotifBoard m;
    const int hallCols = o.hallCols, hallRows = o.hallRows;
    // The goal room centred under the hall: its width of the hall's parity.
    int gw = std::min(o.goalCols, hallCols);
    if ((gw - hallCols) % 2) ++gw;
    if (gw > hallCols || gw < 1) return {};
    const int gh = goalRows(o.boxes, gw);
    const int cols = hallCols + 2, rows = hallRows + gh + 3;
    m.board = allWall(rows, cols);
    Board& b = m.board;
    m.axisSum = cols - 1;
    carve(b, 1, 1, hallRows, hallCols);
    const int c0 = 1 + (hallCols - gw) / 2, divider = hallRows + 1;
    carve(b, divider + 1, c0, gh, gw, &m.goalRoom);
    // One door on the middle column, or two mirrored at the room's sides.
    if (hallCols % 2) {
        m.doors.push_back(b.cellAt(divider, cols / 2));
    } else {
        m.doors.push_back(b.cellAt(divider, c0));
        if (gw > 1) m.doors.push_back(b.cellAt(divider, c0 + gw - 1));
    }
    std::vector<int> keep;
    for (int d : m.doors) {
        b.set(d, kFloor);
        keep.push_back(b.neighbour(d, core::kUp));
    }
    // The hall's top corners cut away now and then: a room, not a box.
    if (rnd.below(2)) {
        b.set(b.cellAt(1, 1), kWall);
        b.set(b.cellAt(1, hallCols), kWall);
    }
    placePillars(b, 1, 1, hallRows, hallCols, o.pillarShare, m.axisSum, keep, rnd);
    std::vector<int> far;
    for (int r = divider + gh; r > divider; --r)
        far.push_back(r);
    m.targetsMirror = placeTargets(b, far, c0, gw, o.boxes, true, rnd);
    if (!tidy(m, keep)) return {};
    return m;
}

MotifBoard twinRooms(const MotifOptions& o, Random& rnd) {
    MotifBoard m;
    const int rc = o.hallCols, rr = o.hallRows, len = o.corridor;
    int gw = std::max(1, o.goalCols);
    if (gw % 2 == 0) --gw;
    if (len % 2 == 0 || len < gw + 2 || rr < 2) return {};
    const int gh = goalRows(o.boxes, gw);
    // Two lanes: a box goes along the lower one while the worker passes it
    // on the upper, and pushes it down through the door from there.
    const int corridorRow = 2 + rnd.below(rr - 1);
    const int cols = 2 * rc + len + 2;
    const int rows = std::max(rr, corridorRow + 1 + gh) + 2;
    if (rows > core::kMaxSide || cols > core::kMaxSide) return {};
    m.board = allWall(rows, cols);
    Board& b = m.board;
    m.axisSum = cols - 1;
    const int axis = (cols - 1) / 2;
    carve(b, 1, 1, rr, rc);
    carve(b, 1, rc + len + 1, rr, rc);
    m.lanes = 2;
    for (int c = rc + 1; c <= rc + len; ++c) {
        b.set(b.cellAt(corridorRow, c), kFloor);
        b.set(b.cellAt(corridorRow - 1, c), kFloor);
        m.corridor.push_back(b.cellAt(corridorRow, c));
    }
    const int door = b.cellAt(corridorRow + 1, axis);
    m.doors.push_back(door);
    b.set(door, kFloor);
    carve(b, corridorRow + 2, axis - gw / 2, gh, gw, &m.goalRoom);
    std::vector<int> keep{b.cellAt(corridorRow, rc), b.cellAt(corridorRow, rc + len + 1),
                          b.cellAt(corridorRow - 1, rc), b.cellAt(corridorRow - 1, rc + len + 1)};
    placePillars(b, 1, 1, rr, rc, o.pillarShare, m.axisSum, keep, rnd);
    std::vector<int> far;
    for (int r = corridorRow + 1 + gh; r > corridorRow + 1; --r)
        far.push_back(r);
    m.targetsMirror = placeTargets(b, far, axis - gw / 2, gw, o.boxes, true, rnd);
    if (!tidy(m, keep)) return {};
    return m;
}

MotifBoard corridorRooms(const MotifOptions& o, Random& rnd) {
    MotifBoard m;
    const int hc = o.hallCols, hr = o.hallRows, len = o.corridor;
    const int gw = std::clamp(o.goalCols, 1, hc);
    if (len < 1) return {};
    const int gh = goalRows(o.boxes, gw);
    const int cc = 1 + rnd.below(hc);
    const int c0 = std::clamp(cc - rnd.below(gw), 1, hc - gw + 1);
    const int cols = hc + 2, rows = hr + len + gh + 2;
    if (rows > core::kMaxSide) return {};
    m.board = allWall(rows, cols);
    Board& b = m.board;
    carve(b, 1, 1, hr, hc);
    for (int r = hr + 1; r <= hr + len; ++r) {
        b.set(b.cellAt(r, cc), kFloor);
        m.corridor.push_back(b.cellAt(r, cc));
    }
    m.doors.push_back(m.corridor.back());
    carve(b, hr + len + 1, c0, gh, gw, &m.goalRoom);
    std::vector<int> keep{b.cellAt(hr, cc)};
    placePillars(b, 1, 1, hr, hc, o.pillarShare, -1, keep, rnd);
    std::vector<int> far;
    for (int r = hr + len + gh; r > hr + len; --r)
        far.push_back(r);
    placeTargets(b, far, c0, gw, o.boxes, false, rnd);
    if (!tidy(m, keep)) return {};
    return m;
}

} // namespace

MotifBoard motifBoard(const MotifOptions& options) {
    MotifOptions o = options;
    o.boxes = std::clamp(o.boxes, 1, 30);
    o.hallRows = std::clamp(o.hallRows, 1, 30);
    o.hallCols = std::clamp(o.hallCols, 1, 30);
    o.goalCols = std::max(1, o.goalCols);
    Random rnd(o.seed);
    switch (o.kind) {
    case Motif::MirrorHall:
        return mirrorHall(o, rnd);
    case Motif::TwinRooms:
        return twinRooms(o, rnd);
    case Motif::Corridor:
        return corridorRooms(o, rnd);
    }
    return {};
}

MotifOptions motifOptionsFor(Motif kind, int boxes, int minFloor, int maxFloor, Random& rnd) {
    MotifOptions o;
    o.kind = kind;
    o.boxes = boxes;
    o.seed = rnd.next();
    o.goalCols = boxes <= 4 ? 2 + rnd.below(2) : 3 + rnd.below(2);
    o.pillarShare = 0.08 + 0.04 * rnd.below(4);
    // The goal room's floor, then the rest of the floor the size asks for.
    const int goal = o.goalCols * goalRows(boxes, o.goalCols);
    const int want = minFloor + rnd.below(std::max(1, maxFloor - minFloor + 1));
    const int rest = std::max(6, want - goal);
    switch (kind) {
    case Motif::MirrorHall:
        o.hallRows = 3 + rnd.below(3);
        o.hallCols = std::max(o.goalCols, rest / o.hallRows);
        break;
    case Motif::TwinRooms:
        o.goalCols = 3;
        o.corridor = 5 + 2 * rnd.below(2);
        o.hallRows = 3 + rnd.below(2);
        o.hallCols = std::max(2, (rest - o.corridor) / (2 * o.hallRows));
        break;
    case Motif::Corridor:
        o.corridor = 2 + rnd.below(4);
        o.hallRows = 3 + rnd.below(3);
        o.hallCols = std::max(o.goalCols, (rest - o.corridor) / o.hallRows);
        break;
    }
    return o;
}

} // namespace sokoban::solver

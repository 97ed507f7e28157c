#include "generator.h"

#include "core/flood.h"
#include "core/paths.h"
#include "core/rules.h"
#include "core/symmetry.h"

#include <algorithm>
#include <cstdlib>

namespace sokoban::solver {

namespace {

using core::Board;
using core::kBox;
using core::kBoxOnTarget;
using core::kDCol;
using core::kDRow;
using core::kFloor;
using core::kMaxSide;
using core::kOutside;
using core::kTarget;
using core::kWall;

bool isWall(const Board& b, int p) {
    const std::uint8_t c = b.at(p);
    return c == kWall || c == kOutside;
}
bool hasBox(const Board& b, int p) {
    return core::isBox(b.at(p));
}
bool hasTarget(const Board& b, int p) {
    return core::isTarget(b.at(p));
}
// Floor or target with no box: a box or the worker may go there.
bool isOpen(const Board& b, int p) {
    return core::isFree(b.at(p));
}
void moveBox(Board& b, int from, int to) {
    b.set(from, static_cast<std::uint8_t>(b.at(from) - 2));
    b.set(to, static_cast<std::uint8_t>(b.at(to) + 2));
}

// The cells the worker walks to from `from` without pushing, in the order
// a breadth-first walk trying up, down, left, right meets them. The random
// choices among them follow this order, so the level a seed gives does too.
std::vector<int> walkOrder(const Board& b, int from) {
    const std::vector<bool> area = core::reach(b, from);
    std::vector<bool> met(area.size(), false);
    std::vector<int> order{from};
    met[static_cast<std::size_t>(from)] = true;
    for (std::size_t i = 0; i < order.size(); ++i)
        for (int d = 0; d < 4; ++d) {
            const int q = b.neighbour(order[i], d);
            if (q < 0 || !area[static_cast<std::size_t>(q)] || met[static_cast<std::size_t>(q)])
                continue;
            met[static_cast<std::size_t>(q)] = true;
            order.push_back(q);
        }
    return order;
}

// The cells reached from `from`, boxes aside.
int areaSize(const Board& b, int from) {
    const std::vector<bool> area = core::reach(b, from, core::Walk::ThroughBoxes);
    return static_cast<int>(std::count(area.begin(), area.end(), true));
}

// Every cell that is no wall is reached from `from`, boxes aside.
bool floorConnected(const Board& b, int from) {
    return areaSize(b, from) == floorCount(b);
}

// A room of the given size: wall all round, floor inside.
Board walledRoom(int rows, int cols) {
    Board b(rows, cols);
    for (int p = 0; p < b.size(); ++p) {
        const int r = b.rowOf(p), c = b.colOf(p);
        b.set(p, r == 0 || c == 0 || r == rows - 1 || c == cols - 1 ? kWall : kFloor);
    }
    return b;
}

// Steps over the floor (boxes aside) from the nearest of `sources`, -1
// where it cannot be reached.
std::vector<int> distancesFrom(const Board& b, const std::vector<int>& sources) {
    core::Flood<core::kFloodDistances> flood(b.size());
    for (int p : sources)
        flood.start(p);
    flood.run([&](int p) {
        for (int d = 0; d < 4; ++d) {
            const int q = b.neighbour(p, d);
            if (q >= 0 && !isWall(b, q)) flood.visit(q);
        }
    });
    std::vector<int> far(static_cast<std::size_t>(b.size()));
    for (int p = 0; p < b.size(); ++p)
        far[static_cast<std::size_t>(p)] = flood.distance(p);
    return far;
}

int openSides(const Board& b, int p) {
    int n = 0;
    for (int d = 0; d < 4; ++d)
        n += !isWall(b, b.neighbour(p, d));
    return n;
}

// The cells of the floor in a random order, those with three or four open
// sides first: a box on a target there can be pulled off it.
std::vector<int> roomyFirst(const Board& b, Random& rnd) {
    std::vector<int> order;
    for (int p = 0; p < b.size(); ++p)
        if (!isWall(b, p)) order.push_back(p);
    rnd.shuffle(order);
    std::stable_sort(order.begin(), order.end(),
                     [&](int x, int y) { return (openSides(b, x) >= 3) > (openSides(b, y) >= 3); });
    return order;
}

// A pull: the worker beside the box steps away from it and the box follows.
struct Pull {
    int boxAt, dir; // the box's cell; the direction it moves
};

// The pulls the worker can start from his area; of one box only when
// `only` is a cell.
std::vector<Pull> pullsFrom(const Board& b, int worker, int only = -1) {
    std::vector<Pull> out;
    for (int p : walkOrder(b, worker))
        for (int d = 0; d < 4; ++d) {
            // The worker on p pulls the box on p - d towards p + d.
            const int from = b.neighbour(p, d ^ 1), to = b.neighbour(p, d);
            if (hasBox(b, from) && (only < 0 || from == only) && isOpen(b, to))
                out.push_back({from, d});
        }
    return out;
}

// A worker's cell picked at random in his area, and the level finished.
Board placeWorker(Board b, int area, Random& rnd) {
    const std::vector<int> cells = walkOrder(b, area);
    b.worker = cells[static_cast<std::size_t>(rnd.below(static_cast<int>(cells.size())))];
    return finished(b);
}

// Wall patterns of three by three squares ('#' wall), turned and mirrored
// at random when laid; the first one is all floor.
constexpr const char* kPatterns[] = {
    "         ", "#        ", "##       ", "###      ", " #       ", "    #    ", "#  #     ",
    "## #     ", "    ## # ", "####  #  ", " #  #    ", "# #      ", "   ##    ", "#       #",
};
constexpr int kPatternCount = static_cast<int>(sizeof kPatterns / sizeof kPatterns[0]);

} // namespace

int floorCount(const Board& board) {
    int n = 0;
    for (int p = 0; p < board.size(); ++p)
        n += !isWall(board, p);
    return n;
}

Board finished(const Board& board) {
    const std::vector<bool> inside = core::reach(board, board.worker, core::Walk::ThroughBoxes);
    const auto in = [&](int p) { return inside[static_cast<std::size_t>(p)]; };
    Board out = board;
    for (int p = 0; p < out.size(); ++p) {
        if (in(p)) continue;
        bool touches = false;
        for (int dr = -1; dr <= 1; ++dr)
            for (int dc = -1; dc <= 1; ++dc) {
                const int r = out.rowOf(p) + dr, c = out.colOf(p) + dc;
                if (r >= 0 && c >= 0 && r < out.rows && c < out.cols && in(out.cellAt(r, c)))
                    touches = true;
            }
        out.set(p, touches ? kWall : kOutside);
    }
    // Outside the edge of the board cannot reach lies shut in by walls: as
    // text it would read as floor nobody reaches.
    core::Flood<> open(out.size());
    for (int p = 0; p < out.size(); ++p) {
        const int r = out.rowOf(p), c = out.colOf(p);
        const bool edge = r == 0 || c == 0 || r == out.rows - 1 || c == out.cols - 1;
        if (edge && out.at(p) == kOutside) open.start(p);
    }
    open.run([&](int p) {
        for (int d = 0; d < 4; ++d) {
            const int q = out.neighbour(p, d);
            if (q >= 0 && out.at(q) == kOutside) open.visit(q);
        }
    });
    for (int p = 0; p < out.size(); ++p)
        if (out.at(p) == kOutside && !open.seen(p)) out.set(p, kWall);
    return out;
}

Board generateLevel(const GeneratorOptions& options) {
    Random rnd(options.seed);
    const int rows = std::clamp(options.rows, 5, kMaxSide);
    const int cols = std::clamp(options.cols, 5, kMaxSide);
    Board b = walledRoom(rows, cols);

    // Wall pieces of one to three squares, each kept only if the floor stays
    // in one piece.
    const int inner = (rows - 2) * (cols - 2);
    const int wanted = static_cast<int>(inner * std::clamp(options.wallShare, 0.0, 0.6));
    int walls = 0;
    for (int attempt = 0; attempt < inner * 4 && walls < wanted; ++attempt) {
        const int r = 1 + rnd.below(rows - 2), c = 1 + rnd.below(cols - 2);
        const int len = 1 + rnd.below(3);
        const int dir = rnd.below(4);
        std::vector<int> piece;
        for (int i = 0; i < len; ++i) {
            const int rr = r + kDRow[dir] * i, cc = c + kDCol[dir] * i;
            if (rr < 1 || cc < 1 || rr >= rows - 1 || cc >= cols - 1) break;
            if (!isWall(b, b.cellAt(rr, cc))) piece.push_back(b.cellAt(rr, cc));
        }
        if (piece.empty()) continue;
        for (int p : piece)
            b.set(p, kWall);
        int start = -1;
        for (int p = 0; p < b.size(); ++p)
            if (!isWall(b, p)) start = p;
        if (start >= 0 && floorConnected(b, start)) {
            walls += static_cast<int>(piece.size());
        } else {
            for (int p : piece)
                b.set(p, kFloor);
        }
    }

    // Targets away from the outer wall where possible, so they can be left.
    const std::vector<int> order = roomyFirst(b, rnd);
    const int boxCount =
        std::clamp(options.boxes, 0, std::max(0, static_cast<int>(order.size()) - 2));
    std::vector<int> origin(order.begin(), order.begin() + boxCount);
    for (int p : origin)
        b.set(p, kBoxOnTarget);
    int man = order[static_cast<std::size_t>(boxCount)];

    // Play backwards: walk to a box, pull it one or more squares. Keep the
    // position whose boxes are farthest from where they started.
    const int pulls = options.pulls > 0 ? options.pulls : 40 * boxCount + 4 * (rows + cols);
    const auto score = [&]() {
        // Boxes off target, weighted by their distance from the nearest target.
        int s = 0;
        for (int p = 0; p < b.size(); ++p) {
            if (!hasBox(b, p)) continue;
            int best = 1 << 20;
            for (int t : origin)
                best = std::min(best, std::abs(b.rowOf(t) - b.rowOf(p)) +
                                          std::abs(b.colOf(t) - b.colOf(p)));
            s += best > 0 ? 4 + best : 0;
        }
        return s;
    };
    Board best = b;
    best.worker = man;
    int bestScore = -1;
    std::vector<Board> snapshots{best};
    for (int i = 0; i < pulls; ++i) {
        const std::vector<Pull> all = pullsFrom(b, man);
        if (all.empty()) {
            // The worker has shut itself in: go back to an earlier position
            // of this same backward game and play on from there.
            b = snapshots[static_cast<std::size_t>(rnd.below(static_cast<int>(snapshots.size())))];
            man = b.worker;
            continue;
        }
        if (i % 16 == 0) {
            snapshots.push_back(b);
            snapshots.back().worker = man;
        }
        // Half the time take a box still on a target, so that all get moved.
        std::vector<Pull> fresh;
        for (const Pull& o : all)
            if (hasTarget(b, o.boxAt)) fresh.push_back(o);
        const std::vector<Pull>& from = !fresh.empty() && rnd.below(2) ? fresh : all;
        const Pull pick = from[static_cast<std::size_t>(rnd.below(static_cast<int>(from.size())))];
        int at = pick.boxAt;
        const int steps = 1 + rnd.below(3);
        for (int s = 0; s < steps; ++s) {
            const int p = b.neighbour(at, pick.dir), to = b.neighbour(p, pick.dir);
            if (!isOpen(b, to)) break;
            moveBox(b, at, p);
            at = p;
            man = to;
        }
        const int sc = score();
        if (sc > bestScore) {
            bestScore = sc;
            best = b;
            best.worker = man;
        }
    }
    // The worker may stand anywhere in the area it reached the last pull from.
    return placeWorker(best, best.worker, rnd);
}

Board generateGoalRoomLevel(const GoalRoomOptions& options) {
    Random rnd(options.seed);
    const int rows = std::clamp(options.rows, 9, kMaxSide);
    const int cols = std::clamp(options.cols, 9, kMaxSide);
    Board b = walledRoom(rows, cols);
    const auto at = [&](int r, int c) { return b.cellAt(r, c); };

    // The block of targets in the top left corner, as square as the count
    // allows, a little wider than high.
    const int limit = (rows - 4) * (cols - 4) / 3;
    const int boxCount = std::clamp(options.boxes, 1, std::max(1, limit));
    int w = 1;
    while (w * w < boxCount)
        ++w;
    w = std::min(w + 1, cols - 6);
    const int h = (boxCount + w - 1) / w;
    // Two spare columns (or rows) of floor between the block and the doors
    // let every row (or column) of the block be filled from its far end.
    const bool rowsSpare = options.spareRow;
    const int roomRows = h + (rowsSpare ? 2 : 0), roomCols = w + (rowsSpare ? 0 : 2);
    const int doors = std::clamp(options.doors, 0, 2);
    const int doorRow = 1 + rnd.below(roomRows), doorCol = 1 + rnd.below(roomCols);
    int man = at(1, w + 1);
    if (doors > 0) {
        for (int r = 1; r <= roomRows + 1; ++r)
            b.set(at(r, roomCols + 1), kWall);
        for (int c = 1; c <= roomCols + 1; ++c)
            b.set(at(roomRows + 1, c), kWall);
        if (rowsSpare || doors > 1) {
            b.set(at(roomRows + 1, doorCol), kFloor);
            man = at(roomRows + 2, doorCol);
        }
        if (!rowsSpare || doors > 1) {
            b.set(at(doorRow, roomCols + 1), kFloor);
            man = at(doorRow, roomCols + 2);
        }
    }
    // Targets fill the block from the far corner, so spare squares of the
    // block lie near the way in.
    std::vector<int> block;
    for (int r = 1; r <= h; ++r)
        for (int c = 1; c <= w; ++c)
            block.push_back(at(r, c));
    std::stable_sort(block.begin(), block.end(), [&](int x, int y) {
        return b.rowOf(x) + b.colOf(x) < b.rowOf(y) + b.colOf(y);
    });
    for (int i = 0; i < boxCount; ++i)
        b.set(block[static_cast<std::size_t>(i)], kBoxOnTarget);
    // No walls of the open floor next to the room or its doors.
    std::vector<bool> keepFree(static_cast<std::size_t>(b.size()), false);
    for (int r = 0; r <= roomRows + 3 && r < rows; ++r)
        for (int c = 0; c <= roomCols + 3 && c < cols; ++c)
            keepFree[static_cast<std::size_t>(at(r, c))] = true;

    const int outside = (rows - 2) * (cols - 2) - (roomRows + 2) * (roomCols + 2);
    const int wanted = static_cast<int>(outside * std::clamp(options.wallShare, 0.0, 0.4));
    // Walls the rest of the floor is still reached past; false (and undone)
    // when they would close some of it off.
    const auto addWalls = [&](const std::vector<int>& piece) {
        std::vector<int> added;
        for (int p : piece)
            if (!isWall(b, p) && !keepFree[static_cast<std::size_t>(p)]) {
                b.set(p, kWall);
                added.push_back(p);
            }
        if (floorConnected(b, man)) return true;
        for (int p : added)
            b.set(p, kFloor);
        return false;
    };
    if (options.layout == 1) {
        // One or two long walls across the floor, each stretch between
        // crossings and ends left with a gap or two, one or two wide.
        const int colLo = roomCols + 5, colHi = cols - 6;
        const int rowLo = roomRows + 5, rowHi = rows - 6;
        const int across = colHi >= colLo ? colLo + rnd.below(colHi - colLo + 1) : -1;
        const int down =
            rowHi >= rowLo && rnd.below(3) != 0 ? rowLo + rnd.below(rowHi - rowLo + 1) : -1;
        const auto stretch = [&](int from, int to, auto square) {
            std::vector<int> piece;
            for (int i = from; i <= to; ++i)
                piece.push_back(square(i));
            const int gaps = 1 + rnd.below(2);
            for (int k = 0; k < gaps && to - from >= 3; ++k) {
                const int at0 = from + rnd.below(to - from), width = 1 + rnd.below(2);
                for (int i = at0; i < at0 + width && i <= to; ++i)
                    piece.erase(std::remove(piece.begin(), piece.end(), square(i)), piece.end());
            }
            addWalls(piece);
        };
        // A wall from one side to the other, in two stretches where the other
        // wall crosses it.
        const auto wallAcross = [&](int crossing, int last, auto square) {
            if (crossing > 0) {
                stretch(1, crossing - 1, square);
                stretch(crossing + 1, last, square);
            } else {
                stretch(1, last, square);
            }
        };
        if (across > 0) wallAcross(down, rows - 2, [&](int r) { return at(r, across); });
        if (down > 0) wallAcross(across, cols - 2, [&](int c) { return at(down, c); });
    } else if (options.layout == 2) {
        // Rows of shelves three squares apart, broken every few squares, with
        // a walkway along both side walls.
        const bool upright = rnd.below(2) != 0;
        const int lines = upright ? cols : rows, length = upright ? rows : cols;
        const int first = 3 + rnd.below(2);
        for (int line = first; line < lines - 3; line += 3) {
            std::vector<int> piece;
            int run = 0;
            const int runLength = 3 + rnd.below(4);
            for (int i = 3; i < length - 3; ++i) {
                if (run == runLength) {
                    run = 0;
                    i += rnd.below(2); // a gap of one or two
                    continue;
                }
                piece.push_back(upright ? at(i, line) : at(line, i));
                ++run;
            }
            addWalls(piece);
        }
    }
    int walls = 0;
    for (int attempt = 0; attempt < outside * 4 && walls < wanted; ++attempt) {
        const int r = 1 + rnd.below(rows - 2), c = 1 + rnd.below(cols - 2);
        const int len = 1 + rnd.below(3), dir = rnd.below(4);
        std::vector<int> piece;
        for (int i = 0; i < len; ++i) {
            const int rr = r + kDRow[dir] * i, cc = c + kDCol[dir] * i;
            if (rr < 1 || cc < 1 || rr >= rows - 1 || cc >= cols - 1) break;
            const int p = at(rr, cc);
            if (!isWall(b, p) && !keepFree[static_cast<std::size_t>(p)]) piece.push_back(p);
        }
        if (piece.empty()) continue;
        if (addWalls(piece)) walls += static_cast<int>(piece.size());
    }

    // Distance of each square from the block over the floor, to pull boxes
    // away from it.
    std::vector<int> targets;
    for (int p = 0; p < b.size(); ++p)
        if (hasTarget(b, p)) targets.push_back(p);
    const std::vector<int> far = distancesFrom(b, targets);
    const int farthest = *std::max_element(far.begin(), far.end());
    const auto farOf = [&](int p) { return far[static_cast<std::size_t>(p)]; };

    // Play backwards: take a box from the block and pull it a long way out,
    // mostly away from the block, until every box has left it.
    const auto leftInBlock = [&]() {
        int left = 0;
        for (int p = 0; p < b.size(); ++p)
            left += b.at(p) == kBoxOnTarget;
        return left;
    };
    // Some orders shut boxes in for good: play the backward game a few times
    // and keep the one that got the most boxes out.
    Board start = b;
    start.worker = man;
    Board best = start;
    int bestLeft = boxCount + 1;
    for (int attempt = 0; attempt < 24 && bestLeft > 0; ++attempt) {
        b = start;
        man = start.worker;
        std::vector<Board> snapshots{start};
        for (int run = 0; run < boxCount * 20 && leftInBlock() > 0; ++run) {
            const std::vector<Pull> all = pullsFrom(b, man);
            if (all.empty()) {
                // Shut in: go back to an earlier position of this game.
                b = snapshots[static_cast<std::size_t>(
                    rnd.below(static_cast<int>(snapshots.size())))];
                man = b.worker;
                continue;
            }
            snapshots.push_back(b);
            snapshots.back().worker = man;
            std::vector<Pull> fresh;
            for (const Pull& o : all)
                if (hasTarget(b, o.boxAt)) fresh.push_back(o);
            const bool fromBlock = !fresh.empty() && rnd.below(4) != 0;
            const std::vector<Pull>& from = fromBlock ? fresh : all;
            const Pull pick =
                from[static_cast<std::size_t>(rnd.below(static_cast<int>(from.size())))];
            int box = pick.boxAt, d = pick.dir;
            // Parted floor: the boxes go out to the far halls and aisles too.
            const int nearest = options.layout == 0 ? 3 : std::max(3, farthest / 3);
            const int goal = fromBlock ? nearest + rnd.below(std::max(1, farthest - nearest + 1))
                                       : 1 + rnd.below(3);
            for (int step = 0; step < 4 * farthest; ++step) {
                const int p = b.neighbour(box, d);
                moveBox(b, box, p);
                box = p;
                man = b.neighbour(p, d);
                if (farOf(box) >= goal && !hasTarget(b, box)) break;
                const std::vector<Pull> next = pullsFrom(b, man, box);
                if (next.empty()) break;
                // Mostly the pull that gets farthest from the block.
                Pull choice =
                    next[static_cast<std::size_t>(rnd.below(static_cast<int>(next.size())))];
                if (rnd.below(4) != 0) {
                    for (const Pull& o : next)
                        if (farOf(b.neighbour(box, o.dir)) > farOf(b.neighbour(box, choice.dir)))
                            choice = o;
                }
                d = choice.dir;
            }
        }
        const int left = leftInBlock();
        if (left < bestLeft) {
            bestLeft = left;
            best = b;
            best.worker = man;
        }
    }
    return placeWorker(best, best.worker, rnd);
}

CompactLevel generateCompactLevel(const CompactOptions& options) {
    Random rnd(options.seed);
    const int rows = std::clamp(options.rows, 7, kMaxSide);
    const int cols = std::clamp(options.cols, 7, kMaxSide);
    const int boxCount = std::clamp(options.boxes, 1, 30);
    const int w = std::clamp(options.roomWidth, 1, cols - 5);
    // The block of targets and, below it, two spare rows: a box leaves its
    // row only when the worker has a square behind him to step back to.
    const int h = (boxCount + w - 1) / w + 2;
    if (h + 4 > rows) return {};
    Board b = patternRoom(rnd, rows, cols, std::clamp(options.openShare, 0.0, 1.0));
    const auto at = [&](int r, int c) { return b.cellAt(r, c); };

    // The goal room in the top-left corner (the board is turned at the end):
    // rows 1..h, columns 1..w, walled on its right and below, with one door
    // beside or below the spare rows.
    for (int r = 1; r <= h + 1; ++r)
        b.set(at(r, w + 1), kWall);
    for (int c = 1; c <= w + 1; ++c)
        b.set(at(h + 1, c), kWall);
    for (int r = 1; r <= h; ++r)
        for (int c = 1; c <= w; ++c)
            b.set(at(r, c), kFloor);
    const bool sideDoor = rnd.below(2) == 0;
    const int door = sideDoor ? at(h - 1 + rnd.below(2), w + 1) : at(h + 1, 1 + rnd.below(w));
    const int doorDir = sideDoor ? core::kRight : core::kDown;
    b.set(door, kFloor);
    // The floor in front of the door stays open, so boxes can turn in.
    const int front = b.neighbour(door, doorDir);
    if (b.rowOf(front) >= rows - 1 || b.colOf(front) >= cols - 1) return {};
    b.set(front, kFloor);
    for (int d = 0; d < 4; ++d) {
        const int q = b.neighbour(front, d);
        const int r = b.rowOf(q), c = b.colOf(q);
        if (r > h + 1 || c > w + 1)
            if (r > 0 && c > 0 && r < rows - 1 && c < cols - 1) b.set(q, kFloor);
    }
    // Only the floor joined to the room stays.
    const std::vector<bool> joined = core::reach(b, door, core::Walk::ThroughBoxes);
    for (int p = 0; p < b.size(); ++p)
        if (!joined[static_cast<std::size_t>(p)]) b.set(p, kWall);
    fillDeadEnds(b, std::vector<bool>(static_cast<std::size_t>(b.size()), false));
    const int floor = floorCount(b);
    if (floor < options.minFloorPerBox * boxCount || floor > options.maxFloorPerBox * boxCount)
        return {};

    // Targets from the far corner of the room; spare squares by the door.
    const std::vector<int> nearDoor = distancesFrom(b, {door});
    std::vector<int> block;
    for (int r = 1; r <= h - 2; ++r)
        for (int c = 1; c <= w; ++c)
            block.push_back(at(r, c));
    std::stable_sort(block.begin(), block.end(), [&](int x, int y) {
        return nearDoor[static_cast<std::size_t>(x)] > nearDoor[static_cast<std::size_t>(y)];
    });
    for (int i = 0; i < boxCount; ++i)
        b.set(block[static_cast<std::size_t>(i)], kBoxOnTarget);

    std::vector<int> targets;
    for (int p = 0; p < b.size(); ++p)
        if (hasTarget(b, p)) targets.push_back(p);
    const std::vector<int> far = distancesFrom(b, targets);
    const auto farOf = [&](int p) { return std::max(0, far[static_cast<std::size_t>(p)]); };
    const auto inRoom = [&](int p) { return b.rowOf(p) <= h && b.colOf(p) <= w; };
    const int farthest = *std::max_element(far.begin(), far.end());
    // Boxes out of the room and away from it, and the changes of box.
    const auto score = [&](int changes) {
        int s = 0;
        for (int p = 0; p < b.size(); ++p)
            if (hasBox(b, p)) s += inRoom(p) ? -20 : 6 + farOf(p);
        return 2 * s + changes;
    };

    const int pulls = options.pulls > 0 ? options.pulls : 40 * boxCount + 4 * (rows + cols);
    Board start = b;
    start.worker = door;
    if (pullsFrom(start, door).empty()) return {};
    Board best = start;
    int bestScore = score(0) - 1;
    // Every pull as the box's cell before and after it, so the pushes that
    // undo them in reverse order solve the level.
    std::vector<Push> pulled, bestPulled;
    for (int game = 0; game < std::max(1, options.games); ++game) {
        b = start;
        int man = start.worker, last = -1, changes = 0;
        pulled.clear();
        // Earlier positions of this game with the pulls that led there.
        std::vector<std::pair<Board, std::vector<Push>>> snapshots{{start, {}}};
        for (int i = 0; i < pulls; ++i) {
            std::vector<Pull> all, other, away;
            for (const Pull& pull : pullsFrom(b, man)) {
                all.push_back(pull);
                if (pull.boxAt == last) continue;
                other.push_back(pull);
                if (farOf(b.neighbour(pull.boxAt, pull.dir)) > farOf(pull.boxAt))
                    away.push_back(pull);
            }
            if (all.empty()) {
                const auto& back = snapshots[static_cast<std::size_t>(
                    rnd.below(static_cast<int>(snapshots.size())))];
                b = back.first;
                pulled = back.second;
                man = b.worker;
                last = -1;
                continue;
            }
            if (i % 6 == 0) {
                snapshots.emplace_back(b, pulled);
                snapshots.back().first.worker = man;
            }
            std::vector<Pull> home;
            for (const Pull& pull : all)
                if (inRoom(pull.boxAt)) home.push_back(pull);
            // Mostly a box out of the room, pulled a long way; else another
            // box than the last, often one going away, a square or three.
            const bool fromHome = !home.empty() && rnd.below(3) != 0;
            const std::vector<Pull>* from = fromHome ? &home : &all;
            if (!fromHome && !other.empty() && rnd.below(4) != 0) from = &other;
            if (from == &other && !away.empty() && rnd.below(3) != 0) from = &away;
            const Pull pick =
                (*from)[static_cast<std::size_t>(rnd.below(static_cast<int>(from->size())))];
            int box = pick.boxAt, d = pick.dir;
            const int least = std::max(4, static_cast<int>(options.parkFar * farthest));
            const int goal = fromHome ? least + rnd.below(std::max(1, farthest - least + 1)) : 0;
            const int steps = fromHome ? 4 * farthest : 1 + rnd.below(3);
            for (int s = 0; s < steps; ++s) {
                const int p = b.neighbour(box, d), to = b.neighbour(p, d);
                if (s > 0 && !isOpen(b, to)) break;
                moveBox(b, box, p);
                pulled.emplace_back(box, p);
                box = p;
                man = to;
                if (!fromHome) {
                    if (!isOpen(b, b.neighbour(man, d))) break;
                    continue;
                }
                if (farOf(box) >= goal && !inRoom(box)) break;
                const std::vector<Pull> next = pullsFrom(b, man, box);
                if (next.empty()) break;
                Pull choice =
                    next[static_cast<std::size_t>(rnd.below(static_cast<int>(next.size())))];
                if (rnd.below(4) != 0)
                    for (const Pull& o : next)
                        if (farOf(b.neighbour(box, o.dir)) > farOf(b.neighbour(box, choice.dir)))
                            choice = o;
                d = choice.dir;
            }
            if (pick.boxAt != last) ++changes;
            last = box;
            const int sc = score(changes);
            if (sc > bestScore) {
                bestScore = sc;
                best = b;
                best.worker = man;
                bestPulled = pulled;
            }
        }
    }
    // Some boxes may stay home, the far ones; the tools wall in any the
    // solution never moves.
    int home = 0;
    for (int p = 0; p < best.size(); ++p)
        home += best.at(p) == kBoxOnTarget && inRoom(p);
    if (home > boxCount / 2) return {};
    const Board placed = placeWorker(best, best.worker, rnd);
    const int turn = rnd.below(8);
    CompactLevel out;
    out.level = core::transformed(placed, turn);
    // The pulls undone, last first, on the turned board: the worker walks
    // to the far side of the box and pushes it back where it came from.
    Board play = out.level;
    for (auto it = bestPulled.rbegin(); it != bestPulled.rend(); ++it) {
        const int from = core::transformedCell(best, it->second, turn);
        const int to = core::transformedCell(best, it->first, turn);
        int d = 0;
        while (d < 4 && play.neighbour(from, d) != to)
            ++d;
        const int stand = d < 4 ? play.neighbour(from, d ^ 1) : -1;
        const auto walk = stand < 0 ? std::nullopt : core::shortestWalk(play, play.worker, stand);
        if (!walk) return {};
        for (const auto step : *walk)
            core::apply(play, static_cast<core::Dir>(step));
        if (core::apply(play, static_cast<core::Dir>(d)).kind != core::MoveKind::Push) return {};
        out.solution.insert(out.solution.end(), walk->begin(), walk->end());
        out.solution.push_back(static_cast<std::uint8_t>(d));
    }
    if (!core::solved(play)) return {};
    return out;
}

Board patternRoom(Random& rnd, int rows, int cols, double openShare) {
    Board b(rows, cols);
    std::fill(b.cells.begin(), b.cells.end(), kWall);
    for (int br = 1; br < rows - 1; br += 3)
        for (int bc = 1; bc < cols - 1; bc += 3) {
            const bool open = rnd.below(1000) < static_cast<int>(openShare * 1000);
            const char* pat = kPatterns[open ? 0 : 1 + rnd.below(kPatternCount - 1)];
            const int turn = rnd.below(8);
            for (int r = 0; r < 3; ++r)
                for (int c = 0; c < 3; ++c) {
                    int rr = r, cc = c;
                    if (turn & 1) std::swap(rr, cc);
                    if (turn & 2) rr = 2 - rr;
                    if (turn & 4) cc = 2 - cc;
                    const int R = br + r, C = bc + c;
                    if (R < rows - 1 && C < cols - 1)
                        b.set(b.cellAt(R, C), pat[rr * 3 + cc] == '#' ? kWall : kFloor);
                }
        }
    // Only the biggest piece of floor stays (the first of equal ones).
    std::vector<bool> done(static_cast<std::size_t>(b.size()), false);
    std::vector<bool> biggest(static_cast<std::size_t>(b.size()), false);
    int biggestSize = 0;
    for (int p = 0; p < b.size(); ++p) {
        if (isWall(b, p) || done[static_cast<std::size_t>(p)]) continue;
        std::vector<bool> piece = core::reach(b, p, core::Walk::ThroughBoxes);
        const int size = static_cast<int>(std::count(piece.begin(), piece.end(), true));
        for (int q = 0; q < b.size(); ++q)
            if (piece[static_cast<std::size_t>(q)]) done[static_cast<std::size_t>(q)] = true;
        if (size > biggestSize) {
            biggestSize = size;
            biggest = std::move(piece);
        }
    }
    for (int p = 0; p < b.size(); ++p)
        if (!biggest[static_cast<std::size_t>(p)]) b.set(p, kWall);
    return b;
}

void fillDeadEnds(Board& b, const std::vector<bool>& keep) {
    for (bool changed = true; changed;) {
        changed = false;
        for (int p = 0; p < b.size(); ++p) {
            if (b.at(p) != kFloor || p == b.worker || keep[static_cast<std::size_t>(p)]) continue;
            int walls = 0;
            for (int d = 0; d < 4; ++d)
                walls += isWall(b, b.neighbour(p, d));
            if (walls >= 3) {
                b.set(p, kWall);
                changed = true;
            }
        }
    }
}

bool hasOpenBlock(const Board& b, int w, int h) {
    for (int y = 0; y + h <= b.rows; ++y)
        for (int x = 0; x + w <= b.cols; ++x) {
            bool open = true;
            for (int dy = 0; dy < h && open; ++dy)
                for (int dx = 0; dx < w && open; ++dx)
                    open = !isWall(b, b.cellAt(y + dy, x + dx));
            if (open) return true;
        }
    return false;
}

Board makeRoom(const RoomOptions& o, Random& rnd) {
    Board b = patternRoom(rnd, o.innerH + 2, o.innerW + 2, o.openShare);
    fillDeadEnds(b, std::vector<bool>(static_cast<std::size_t>(b.size()), false));
    const int f = floorCount(b);
    if (f < o.minFloor || f > o.maxFloor || hasOpenBlock(b, o.openW, o.openH) ||
        hasOpenBlock(b, o.openH, o.openW))
        return Board();
    return b;
}

Board generateDeepLevel(const DeepOptions& options) {
    Random rnd(options.seed);
    const int rows = std::clamp(options.rows, 5, kMaxSide);
    const int cols = std::clamp(options.cols, 5, kMaxSide);
    Board b = patternRoom(rnd, rows, cols, std::clamp(options.openShare, 0.0, 1.0));
    const int boxCount = std::clamp(options.boxes, 0, floorCount(b) / 3);
    int firstFloor = 0;
    while (firstFloor < b.size() - 1 && isWall(b, firstFloor))
        ++firstFloor;
    if (boxCount == 0) {
        b.worker = firstFloor;
        return finished(b);
    }
    const std::vector<int> order = roomyFirst(b, rnd);
    const Board room = b;

    // The worker must be able to pull some box: a patch of targets may wall
    // off every side a box could leave by, then the targets go elsewhere.
    int man = -1;
    for (int attempt = 0; attempt < 16 && man < 0; ++attempt) {
        b = room;
        if (options.packedTargets) {
            // Grow one patch from a roomy square, each time next to a random
            // square of the patch.
            const int seed = order[static_cast<std::size_t>(
                rnd.below(std::max(1, static_cast<int>(order.size()) / 3)))];
            std::vector<int> patch{seed};
            b.set(seed, kBoxOnTarget);
            for (int guard = 0; static_cast<int>(patch.size()) < boxCount && guard < b.size() * 8;
                 ++guard) {
                const int from =
                    patch[static_cast<std::size_t>(rnd.below(static_cast<int>(patch.size())))];
                const int q = b.neighbour(from, rnd.below(4));
                if (isWall(b, q) || hasTarget(b, q)) continue;
                b.set(q, kBoxOnTarget);
                patch.push_back(q);
            }
            for (int p : order)
                if (static_cast<int>(patch.size()) < boxCount && !hasTarget(b, p)) {
                    b.set(p, kBoxOnTarget);
                    patch.push_back(p);
                }
        } else {
            for (int i = 0; i < boxCount; ++i)
                b.set(order[(static_cast<std::size_t>(i + attempt * boxCount)) % order.size()],
                      kBoxOnTarget);
        }
        for (int p : order)
            if (!hasTarget(b, p) && !pullsFrom(b, p).empty()) {
                man = p;
                break;
            }
    }
    if (man < 0) {
        b.worker = firstFloor;
        return finished(b);
    }

    // Walking distance of each square from the nearest target.
    std::vector<int> targets;
    for (int p = 0; p < b.size(); ++p)
        if (hasTarget(b, p)) targets.push_back(p);
    const std::vector<int> far = distancesFrom(b, targets);
    const auto score = [&](int changes) {
        int s = 0;
        for (int p = 0; p < b.size(); ++p)
            if (b.at(p) == kBox) s += 3 + std::max(0, far[static_cast<std::size_t>(p)]);
        return 2 * s + changes;
    };

    const int pulls = options.pulls > 0 ? options.pulls : 30 * boxCount + 6 * (rows + cols);
    Board start = b;
    start.worker = man;
    Board best = start;
    int bestScore = -1;
    for (int game = 0; game < std::max(1, options.games); ++game) {
        b = start;
        man = start.worker;
        int last = -1, changes = 0;
        std::vector<Board> snapshots{start};
        for (int i = 0; i < pulls; ++i) {
            std::vector<Pull> all, other, away;
            for (const Pull& pull : pullsFrom(b, man)) {
                all.push_back(pull);
                if (pull.boxAt == last) continue;
                other.push_back(pull);
                const int worker = b.neighbour(pull.boxAt, pull.dir);
                if (far[static_cast<std::size_t>(worker)] >
                    far[static_cast<std::size_t>(pull.boxAt)])
                    away.push_back(pull);
            }
            if (all.empty()) {
                b = snapshots[static_cast<std::size_t>(
                    rnd.below(static_cast<int>(snapshots.size())))];
                man = b.worker;
                last = -1;
                continue;
            }
            if (i % 8 == 0) {
                snapshots.push_back(b);
                snapshots.back().worker = man;
            }
            // Mostly another box than the last, often one going away.
            const std::vector<Pull>* from = &all;
            if (!other.empty() && rnd.below(4) != 0) from = &other;
            if (from == &other && !away.empty() && rnd.below(2) != 0) from = &away;
            const Pull pick =
                (*from)[static_cast<std::size_t>(rnd.below(static_cast<int>(from->size())))];
            int box = pick.boxAt;
            const int d = pick.dir;
            const int steps = 1 + rnd.below(3);
            for (int s = 0; s < steps; ++s) {
                const int p = b.neighbour(box, d), to = b.neighbour(p, d);
                if (s > 0 && !isOpen(b, to)) break;
                moveBox(b, box, p);
                box = p;
                man = to;
                if (!isOpen(b, b.neighbour(man, d))) break;
            }
            if (pick.boxAt != last) ++changes;
            last = box;
            const int sc = score(changes);
            if (sc > bestScore) {
                bestScore = sc;
                best = b;
                best.worker = man;
            }
        }
    }
    return placeWorker(best, best.worker, rnd);
}

// --- PullSearch ----------------------------------------------------------------

namespace {

constexpr std::uint32_t kEmpty = UINT32_MAX;

bool bit(const PullSearch::Position& p, int i) {
    return i < 64 ? (p.lo >> i) & 1 : (p.hi >> (i - 64)) & 1;
}
void setBit(PullSearch::Position& p, int i) {
    if (i < 64)
        p.lo |= std::uint64_t{1} << i;
    else
        p.hi |= std::uint64_t{1} << (i - 64);
}
void clearBit(PullSearch::Position& p, int i) {
    if (i < 64)
        p.lo &= ~(std::uint64_t{1} << i);
    else
        p.hi &= ~(std::uint64_t{1} << (i - 64));
}
std::uint64_t hashOf(const PullSearch::Position& p) {
    std::uint64_t h = p.lo * 0x9E3779B97F4A7C15ull ^ (p.hi + 0x632BE59BD9B4E019ull) ^
                      (std::uint64_t{p.man} << 57);
    h ^= h >> 31;
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 29;
    return h;
}
std::size_t tableSizeFor(std::size_t cap) {
    std::size_t n = 1024;
    while (n < cap * 2 + 16)
        n *= 2;
    return n;
}

} // namespace

PullSearch::PullSearch(const Board& board) : board_(board) {
    board_.worker = -1;
    number_.assign(static_cast<std::size_t>(board_.size()), -1);
    for (int p = 0; p < board_.size(); ++p) {
        if (hasBox(board_, p)) board_.set(p, static_cast<std::uint8_t>(board_.at(p) - 2));
        if (isWall(board_, p)) continue;
        number_[static_cast<std::size_t>(p)] = static_cast<int>(cellOf_.size());
        cellOf_.push_back(p);
    }
}

std::vector<int> PullSearch::boxCells(const Position& p) const {
    std::vector<int> cells;
    for (std::size_t i = 0; i < cellOf_.size(); ++i)
        if (bit(p, static_cast<int>(i))) cells.push_back(cellOf_[i]);
    return cells;
}

std::vector<Push> PullSearch::pushesFrom(std::uint32_t i) const {
    std::vector<Push> out;
    while (positions_[i].parent != kEmpty) {
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

bool PullSearch::run(std::size_t cap) {
    Position solved;
    for (std::size_t i = 0; i < cellOf_.size(); ++i)
        if (hasTarget(board_, cellOf_[i])) setBit(solved, static_cast<int>(i));
    return search(solved, -1, cap);
}

bool PullSearch::runFrom(const std::vector<int>& boxes, int worker, std::size_t cap) {
    Position start;
    for (int c : boxes)
        setBit(start, number_[static_cast<std::size_t>(c)]);
    return search(start, worker, cap);
}

void PullSearch::load(const Position& p) {
    for (std::size_t i = 0; i < cellOf_.size(); ++i) {
        const int c = cellOf_[i];
        const std::uint8_t under = hasTarget(board_, c) ? kTarget : kFloor;
        board_.set(c, bit(p, static_cast<int>(i)) ? static_cast<std::uint8_t>(under + 2) : under);
    }
}

int PullSearch::area(int from, std::vector<int>* cells) {
    const std::vector<bool> seen = core::reach(board_, from);
    int least = -1;
    if (cells) cells->clear();
    for (int c : cellOf_)
        if (seen[static_cast<std::size_t>(c)]) {
            if (least < 0) least = c;
            if (cells) cells->push_back(c);
        }
    return least;
}

bool PullSearch::insert(const Position& p) {
    const std::size_t mask = table_.size() - 1;
    for (std::size_t s = hashOf(p) & mask;; s = (s + 1) & mask) {
        if (table_[s] == kEmpty) {
            table_[s] = static_cast<std::uint32_t>(positions_.size());
            positions_.push_back(p);
            return true;
        }
        const Position& q = positions_[table_[s]];
        if (q.lo == p.lo && q.hi == p.hi && q.man == p.man) return false;
    }
}

// Breadth first from the boxes of `start`, the worker in `worker`'s area,
// or in every area beside a box when worker is -1.
bool PullSearch::search(const Position& start, int worker, std::size_t cap) {
    positions_.clear();
    table_.assign(tableSizeFor(cap), kEmpty);
    load(start);
    std::vector<bool> tried(static_cast<std::size_t>(board_.size()), false);
    std::vector<int> cells, beside;
    for (int c : cellOf_) {
        if (hasBox(board_, c) || tried[static_cast<std::size_t>(c)] || (worker >= 0 && c != worker))
            continue;
        const int least = area(c, &cells);
        bool besideBox = false;
        for (int r : cells) {
            tried[static_cast<std::size_t>(r)] = true;
            for (int d = 0; d < 4; ++d)
                besideBox = besideBox || hasBox(board_, board_.neighbour(r, d));
        }
        if (!besideBox && worker < 0) continue;
        Position p = start;
        p.man = static_cast<std::uint8_t>(number_[static_cast<std::size_t>(least)]);
        p.parent = kEmpty;
        p.depth = 0;
        insert(p);
    }
    for (std::size_t i = 0; i < positions_.size(); ++i) {
        const Position p = positions_[i];
        load(p);
        area(cellOf_[p.man], &cells);
        for (int x : cells)
            for (int d = 0; d < 4; ++d) {
                // Pull: the box beside the worker follows him one square.
                const int box = board_.neighbour(x, d), back = board_.neighbour(x, d ^ 1);
                if (!hasBox(board_, box) || !isOpen(board_, back)) continue;
                moveBox(board_, box, x);
                Position q = p;
                clearBit(q, number_[static_cast<std::size_t>(box)]);
                setBit(q, number_[static_cast<std::size_t>(x)]);
                q.man = static_cast<std::uint8_t>(
                    number_[static_cast<std::size_t>(area(back, nullptr))]);
                q.depth = static_cast<std::uint16_t>(p.depth + 1);
                q.parent = static_cast<std::uint32_t>(i);
                moveBox(board_, x, box);
                if (!insert(q)) continue;
                if (positions_.size() >= cap) return false;
            }
    }
    return true;
}

PushStats pushStats(const std::vector<int>& startBoxes, const std::vector<Push>& pushes) {
    PushStats s;
    std::vector<int> pos = startBoxes;
    std::vector<char> moved(pos.size(), 0);
    int last = -1, lastDir = 0;
    for (const auto& [from, to] : pushes) {
        const int k = static_cast<int>(std::find(pos.begin(), pos.end(), from) - pos.begin());
        if (k == static_cast<int>(pos.size())) return PushStats{0, 0, false};
        const int dir = to - from;
        if (k != last) ++s.changes;
        if (k != last || dir != lastDir) ++s.lines;
        last = k;
        lastDir = dir;
        pos[static_cast<std::size_t>(k)] = to;
        moved[static_cast<std::size_t>(k)] = 1;
    }
    s.changes = std::max(0, s.changes - 1); // the first box is no change
    for (char m : moved)
        s.everyBoxMoves = s.everyBoxMoves && m;
    return s;
}

} // namespace sokoban::solver

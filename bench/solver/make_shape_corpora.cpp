// Writes corpora of the shapes players get stuck on, each level made by
// a backward game from the solved position and kept with the moves of that
// game played forwards, so that a test can prove every level solvable:
// - doors.txt: a goal room of 9 to 34 targets behind one or two doors (or a
//   short corridor) beside a hall;
// - packing.txt: small levels whose 5 to 8 targets lie in a row or a column
//   along a wall of a small chamber with one door;
// - scattered.txt: mid-size halls with 11 to 36 scattered targets;
// - compact.txt: 11 to 36 boxes on 5 to 8 squares of floor each, targets
//   scattered in small clumps; compact_hard.txt the same judged harder;
// - tight_packing.txt: 5 to 8 targets in a column or row one or two wide
//   behind a door, on a compact board with just room to park the boxes;
// - ordered_packing.txt: 5 to 8 targets in a column, a row or an L along the
//   walls of a small room with one door and cramped floor outside, the
//   boxes going in in one order, some parked while others pass.
// Beside each corpus X.txt goes X.proof: "N<TAB>LURD" per level (for
// ordered_packing the pulls of a breadth-first search, undone).
//
//   solver_make_shape_corpora DIRECTORY [CORPUS...]
#include "core/board.h"
#include "core/flood.h"
#include "core/lurd.h"
#include "core/symmetry.h"
#include "generators/levels/generator.h"
#include "solver/board.h"
#include "solver/solver.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

using namespace sokoban;
using core::Board;

namespace {

struct Made {
    Board level;
    core::Moves solution;
};

bool isWallish(const Board& b, int p) {
    return p < 0 || b.at(p) == core::kWall || b.at(p) == core::kOutside;
}
bool walkable(const Board& b, int p) {
    return p >= 0 && core::isFree(b.at(p));
}

// Breadth-first distances over free cells from `from` (-1 where not reached);
// parents in `parent` as the direction taken into each cell.
std::vector<int> walkFrom(const Board& b, int from, std::vector<int>* parent) {
    std::vector<int> dist(static_cast<std::size_t>(b.size()), -1);
    if (parent) parent->assign(static_cast<std::size_t>(b.size()), -1);
    std::vector<int> queue{from};
    dist[static_cast<std::size_t>(from)] = 0;
    for (std::size_t i = 0; i < queue.size(); ++i) {
        const int p = queue[i];
        for (int d = 0; d < 4; ++d) {
            const int q = b.neighbour(p, d);
            if (!walkable(b, q) || dist[static_cast<std::size_t>(q)] >= 0) continue;
            dist[static_cast<std::size_t>(q)] = dist[static_cast<std::size_t>(p)] + 1;
            if (parent) (*parent)[static_cast<std::size_t>(q)] = d;
            queue.push_back(q);
        }
    }
    return dist;
}

// Distances over non-wall cells from all targets, to pull boxes away.
std::vector<int> fromTargets(const Board& b) {
    std::vector<int> dist(static_cast<std::size_t>(b.size()), -1);
    std::vector<int> queue;
    for (int p = 0; p < b.size(); ++p)
        if (core::isTarget(b.at(p))) {
            dist[static_cast<std::size_t>(p)] = 0;
            queue.push_back(p);
        }
    for (std::size_t i = 0; i < queue.size(); ++i) {
        const int p = queue[i];
        for (int d = 0; d < 4; ++d) {
            const int q = b.neighbour(p, d);
            if (q < 0 || isWallish(b, q) || dist[static_cast<std::size_t>(q)] >= 0) continue;
            dist[static_cast<std::size_t>(q)] = dist[static_cast<std::size_t>(p)] + 1;
            queue.push_back(q);
        }
    }
    return dist;
}

void moveBox(Board& b, int from, int to) {
    b.set(from, core::isTarget(b.at(from)) ? core::kTarget : core::kFloor);
    b.set(to, core::isTarget(b.at(to)) ? core::kBoxOnTarget : core::kBox);
}

// The backward game: from the solved board (every box on its target, the
// worker on `man`), pull boxes one run at a time, mostly a box still on a
// target and mostly away from the targets, `runs` times. Every step and pull
// is recorded; played backwards, each reversed, they solve the level.
Made backwardGame(Board b, int man, int runs, solver::Random& rnd) {
    const std::vector<int> far = fromTargets(b);
    const auto farOf = [&](int p) { return far[static_cast<std::size_t>(p)]; };
    const int farthest = *std::max_element(far.begin(), far.end());
    core::Moves back; // moves of the backward game, in order
    std::vector<int> parent;
    const auto onTargets = [&] {
        return std::count(b.cells.begin(), b.cells.end(), core::kBoxOnTarget);
    };
    for (int run = 0; run < runs && onTargets() > 0; ++run) {
        // Pulls open to the worker: he stands at w beside a box at w - d
        // (behind him) and steps on to w + d.
        const std::vector<int> dist = walkFrom(b, man, &parent);
        struct Pull {
            int w, d;
        };
        std::vector<Pull> all, fresh, away;
        for (int w = 0; w < b.size(); ++w) {
            if (dist[static_cast<std::size_t>(w)] < 0) continue;
            for (int d = 0; d < 4; ++d) {
                const int box = b.neighbour(w, d ^ 1), to = b.neighbour(w, d);
                if (box < 0 || !core::isBox(b.at(box)) || !walkable(b, to)) continue;
                all.push_back({w, d});
                // Boxes on targets first; others only away from the targets.
                if (b.at(box) == core::kBoxOnTarget)
                    fresh.push_back({w, d});
                else if (farOf(w) > farOf(box))
                    away.push_back({w, d});
            }
        }
        if (all.empty()) break;
        const std::vector<Pull>& from = !fresh.empty() && (away.empty() || rnd.below(4) != 0)
                                            ? fresh
                                        : !away.empty() ? away
                                                        : all;
        Pull pick = from[static_cast<std::size_t>(rnd.below(static_cast<int>(from.size())))];
        // Walk to w.
        std::vector<std::uint8_t> path;
        for (int p = pick.w; p != man;) {
            const int d = parent[static_cast<std::size_t>(p)];
            path.push_back(static_cast<std::uint8_t>(d));
            p = b.neighbour(p, d ^ 1);
        }
        back.insert(back.end(), path.rbegin(), path.rend());
        man = pick.w;
        int box = b.neighbour(man, pick.d ^ 1), d = pick.d;
        // A box taken off its target goes well away; others a little.
        const bool fromTarget = b.at(box) == core::kBoxOnTarget;
        const int length = fromTarget ? 40 : 1 + rnd.below(6);
        const int wanted = 3 + rnd.below(std::max(1, farthest - 2));
        for (int step = 0; step < length; ++step) {
            if (fromTarget && farOf(box) >= wanted) break;
            const int to = b.neighbour(man, d);
            moveBox(b, box, man);
            box = man;
            man = to;
            back.push_back(static_cast<std::uint8_t>(d));
            // Turn where the worker can, mostly away from the targets.
            std::vector<int> turns;
            for (int e = 0; e < 4; ++e) {
                const int w = b.neighbour(box, e), beyond = b.neighbour(w, e);
                if (walkable(b, w) && walkable(b, beyond) &&
                    walkFrom(b, man, nullptr)[static_cast<std::size_t>(w)] >= 0)
                    turns.push_back(e);
            }
            if (turns.empty()) break;
            int choice = turns[static_cast<std::size_t>(rnd.below(static_cast<int>(turns.size())))];
            if (rnd.below(4) != 0)
                for (int e : turns)
                    if (farOf(b.neighbour(box, e)) > farOf(b.neighbour(box, choice))) choice = e;
            if (choice != d) {
                // Step round to the new side of the box.
                std::vector<int> par;
                walkFrom(b, man, &par);
                const int goal = b.neighbour(box, choice);
                std::vector<std::uint8_t> round;
                for (int p = goal; p != man;) {
                    const int e = par[static_cast<std::size_t>(p)];
                    round.push_back(static_cast<std::uint8_t>(e));
                    p = b.neighbour(p, e ^ 1);
                }
                back.insert(back.end(), round.rbegin(), round.rend());
                man = goal;
                d = choice;
            }
            if (!walkable(b, b.neighbour(man, d))) break;
        }
    }
    b.worker = man;
    Made made{b, {}};
    for (auto it = back.rbegin(); it != back.rend(); ++it)
        made.solution.push_back(static_cast<std::uint8_t>(*it ^ 1));
    return made;
}

Board hall(int rows, int cols) {
    Board b(rows, cols);
    for (int p = 0; p < b.size(); ++p) {
        const int r = b.rowOf(p), c = b.colOf(p);
        b.set(p, r == 0 || c == 0 || r == rows - 1 || c == cols - 1 ? core::kWall : core::kFloor);
    }
    return b;
}

// Short walls scattered over the cells not kept free, as long as the floor
// stays in one piece.
void scatterWalls(Board& b, double share, const std::vector<bool>& keep, solver::Random& rnd) {
    int floor = 0;
    for (int p = 0; p < b.size(); ++p)
        floor += b.at(p) == core::kFloor && !keep[static_cast<std::size_t>(p)];
    const int wanted = static_cast<int>(floor * share);
    int start = -1;
    for (int p = 0; p < b.size() && start < 0; ++p)
        if (core::isFree(b.at(p)) || core::isBox(b.at(p))) start = p;
    const auto connected = [&] {
        std::vector<bool> seen(static_cast<std::size_t>(b.size()), false);
        std::vector<int> queue{start};
        seen[static_cast<std::size_t>(start)] = true;
        for (std::size_t i = 0; i < queue.size(); ++i)
            for (int d = 0; d < 4; ++d) {
                const int q = b.neighbour(queue[i], d);
                if (q < 0 || isWallish(b, q) || seen[static_cast<std::size_t>(q)]) continue;
                seen[static_cast<std::size_t>(q)] = true;
                queue.push_back(q);
            }
        for (int p = 0; p < b.size(); ++p)
            if (!isWallish(b, p) && !seen[static_cast<std::size_t>(p)]) return false;
        return true;
    };
    int walls = 0;
    for (int attempt = 0; attempt < floor * 4 && walls < wanted; ++attempt) {
        const int p = rnd.below(b.size()), d = rnd.below(4), len = 1 + rnd.below(3);
        std::vector<int> piece;
        for (int i = 0, q = p; i < len && q >= 0; ++i, q = b.neighbour(q, d))
            if (b.at(q) == core::kFloor && !keep[static_cast<std::size_t>(q)]) piece.push_back(q);
        if (piece.empty()) continue;
        for (int q : piece)
            b.set(q, core::kWall);
        if (connected()) {
            walls += static_cast<int>(piece.size());
        } else {
            for (int q : piece)
                b.set(q, core::kFloor);
        }
    }
}

// A goal room in the top left corner: a block of targets (rows filled from
// the far corner), spare floor beside it, walled off from the hall with one
// or two doors, the first one sometimes at the end of a short corridor.
Made doorsLevel(int rows, int cols, int boxes, int shape, solver::Random& rnd) {
    Board b = hall(rows, cols);
    int w = 3;
    while (w * w < boxes)
        ++w;
    const int h = (boxes + w - 1) / w;
    const int roomRows = h + 1, roomCols = w + 2; // a spare row and two spare columns
    for (int r = 1; r <= roomRows + 1; ++r)
        b.set(b.cellAt(r, roomCols + 1), core::kWall);
    for (int c = 1; c <= roomCols + 1; ++c)
        b.set(b.cellAt(roomRows + 1, c), core::kWall);
    std::vector<int> block;
    for (int r = 1; r <= h; ++r)
        for (int c = 1; c <= w; ++c)
            block.push_back(b.cellAt(r, c));
    std::stable_sort(block.begin(), block.end(), [&](int x, int y) {
        return b.rowOf(x) + b.colOf(x) < b.rowOf(y) + b.colOf(y);
    });
    for (int i = 0; i < boxes; ++i)
        b.set(block[static_cast<std::size_t>(i)], core::kBoxOnTarget);
    std::vector<bool> keep(static_cast<std::size_t>(b.size()), false);
    for (int r = 0; r <= roomRows + 1; ++r)
        for (int c = 0; c <= roomCols + 1; ++c)
            keep[static_cast<std::size_t>(b.cellAt(r, c))] = true;
    // The east door, at the end of a corridor of 2 or 3 when shape says so.
    const int doorRow = 1 + rnd.below(roomRows);
    b.set(b.cellAt(doorRow, roomCols + 1), core::kFloor);
    int man = b.cellAt(doorRow, roomCols + 2);
    if (shape == 1) {
        const int length = 2 + rnd.below(2);
        for (int i = 0; i < length && roomCols + 2 + i < cols - 2; ++i) {
            const int c = roomCols + 2 + i;
            for (int r : {doorRow - 1, doorRow + 1})
                if (r > 0 && r < rows - 1) b.set(b.cellAt(r, c), core::kWall);
            keep[static_cast<std::size_t>(b.cellAt(doorRow, c))] = true;
            man = b.cellAt(doorRow, c + 1);
        }
    }
    if (shape == 2) { // a second door to the south
        const int c = 1 + rnd.below(roomCols);
        b.set(b.cellAt(roomRows + 1, c), core::kFloor);
    }
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            if (std::abs(b.rowOf(man) - r) + std::abs(b.colOf(man) - c) <= 1)
                keep[static_cast<std::size_t>(b.cellAt(r, c))] = true;
    scatterWalls(b, 0.12, keep, rnd);
    return backwardGame(b, man, boxes * 6, rnd);
}

// A chamber along the top wall: the targets in its top row (or its left
// column), two rows (columns) of spare floor below, the rest walled off but
// for one door.
Made packingLevel(int rows, int cols, int boxes, bool column, solver::Random& rnd) {
    Board b = hall(rows, cols);
    const int length = boxes + rnd.below(2); // a spare square at the far end now and then
    std::vector<bool> keep(static_cast<std::size_t>(b.size()), false);
    const auto cell = [&](int along, int across) {
        return column ? b.cellAt(along, across) : b.cellAt(across, along);
    };
    for (int i = 1; i <= length + 1; ++i) {
        b.set(cell(i, 4), core::kWall);
        for (int k = 0; k <= 4; ++k)
            keep[static_cast<std::size_t>(cell(i, k))] = true;
    }
    for (int k = 1; k <= 4; ++k) {
        b.set(cell(length + 1, k), core::kWall);
        keep[static_cast<std::size_t>(cell(length + 2, k))] = true;
    }
    for (int i = 0; i < boxes; ++i)
        b.set(cell(length - i, 1), core::kBoxOnTarget);
    // The door in the side wall of the chamber, or at its end.
    int man;
    if (rnd.below(2) == 0) {
        const int at = 1 + rnd.below(length);
        b.set(cell(at, 4), core::kFloor);
        man = cell(at, 5);
    } else {
        const int at = 2 + rnd.below(2);
        b.set(cell(length + 1, at), core::kFloor);
        man = cell(length + 2, at);
    }
    keep[static_cast<std::size_t>(man)] = true;
    scatterWalls(b, 0.28, keep, rnd);
    return backwardGame(b, man, boxes * 8, rnd);
}

// A compact board whose 5 to 8 targets lie in a column one or two wide, a
// room behind one door that the boxes enter far end first while the others
// wait parked on the little floor outside; the generator lays the room
// along a row, so a column is the board turned on its side.
Made tightPackingLevel(int boxes, bool column, solver::Random& rnd) {
    solver::CompactOptions o;
    o.boxes = boxes;
    o.roomWidth = 2 + rnd.below(2);
    const int roomRows = (boxes + o.roomWidth - 1) / o.roomWidth + 2;
    o.rows = roomRows + 4 + rnd.below(3);
    o.cols = 10 + rnd.below(4);
    o.seed = rnd.next();
    o.openShare = 0.1 + 0.05 * rnd.below(3);
    o.minFloorPerBox = 4.5;
    o.maxFloorPerBox = 6.5;
    o.parkFar = 0.5;
    o.games = 16;
    const solver::CompactLevel made = solver::generateCompactLevel(o);
    if (made.level.size() == 0) return {};
    if (!column) return {made.level, made.solution};
    // Rows and columns swapped: up becomes left and down right.
    Made turned{core::transformed(made.level, 1), made.solution};
    for (auto& d : turned.solution)
        d = static_cast<std::uint8_t>(d ^ 2);
    return turned;
}

// From the solved board (every box on its target), the position farthest
// back by pulls: a breadth-first search over pulls, every place the worker
// could have finished a start, up to `cap` positions; of the deepest layer
// with at least `offShare` of the boxes off their targets, one at random.
// The pulls found, undone in reverse as pushes, solve it in the fewest
// pushes. An empty level when no such position is found.
Made deepestByPulls(const Board& solved, int cap, double offShare, solver::Random& rnd) {
    using solver::Square;
    Board withMan = solved;
    for (int p = 0; p < solved.size() && withMan.worker < 0; ++p)
        if (solved.at(p) == core::kFloor) withMan.worker = p;
    if (withMan.worker < 0) withMan.worker = 0;
    if (!withMan.contains(withMan.worker) || !core::isFree(withMan.at(withMan.worker))) return {};
    const solver::Board board(withMan);
    const int n = board.size();
    const int boxes = static_cast<int>(board.targets().size());
    // Positions: sorted boxes then the least square of the worker's area.
    std::vector<Square> states;
    std::vector<int> parent, layer;
    std::vector<std::uint8_t> pullDir; // direction the worker stepped
    std::vector<Square> pulledFrom;    // square the box left
    std::map<std::vector<Square>, int> seen;
    std::vector<std::uint8_t> boxAt(static_cast<std::size_t>(n), 0);
    core::Flood<> area(n);
    const auto flood = [&](Square from) {
        area.clear();
        area.start(from);
        area.run([&](int s) {
            for (int d = 0; d < 4; ++d) {
                const Square q = board.next(static_cast<Square>(s), d);
                if (q != solver::kNone && !boxAt[q]) area.visit(q);
            }
        });
        Square least = from;
        for (const int s : area.order())
            least = std::min(least, static_cast<Square>(s));
        return least;
    };
    const auto add = [&](std::vector<Square> key, int from, int depth, int dir, Square was) {
        if (static_cast<int>(parent.size()) >= cap) return;
        if (!seen.emplace(key, static_cast<int>(parent.size())).second) return;
        states.insert(states.end(), key.begin(), key.end());
        parent.push_back(from);
        layer.push_back(depth);
        pullDir.push_back(static_cast<std::uint8_t>(dir));
        pulledFrom.push_back(was);
    };
    std::vector<Square> key(board.targets().begin(), board.targets().end());
    std::sort(key.begin(), key.end());
    for (Square t : key)
        boxAt[t] = 1;
    std::vector<std::uint8_t> covered(static_cast<std::size_t>(n), 0);
    for (Square s = 0; s < n; ++s) {
        if (boxAt[s] || covered[s]) continue;
        std::vector<Square> start = key;
        start.push_back(flood(s));
        for (const int q : area.order())
            covered[static_cast<std::size_t>(q)] = 1;
        add(start, -1, 0, 0, solver::kNone);
    }
    std::fill(boxAt.begin(), boxAt.end(), 0);
    for (std::size_t i = 0; i < parent.size(); ++i) {
        // A copy: adding positions moves the table.
        const std::vector<Square> here(
            states.begin() + static_cast<std::ptrdiff_t>(i * (boxes + 1)),
            states.begin() + static_cast<std::ptrdiff_t>((i + 1) * (boxes + 1)));
        const Square* at = here.data();
        for (int k = 0; k < boxes; ++k)
            boxAt[at[k]] = 1;
        flood(at[boxes]);
        const std::vector<int> reached(area.order().begin(), area.order().end());
        for (const int w : reached) {
            for (int d = 0; d < 4; ++d) {
                // The box behind the worker on w comes with him as he steps on.
                const Square box = board.next(static_cast<Square>(w), d ^ 1);
                const Square to = board.next(static_cast<Square>(w), d);
                if (box == solver::kNone || to == solver::kNone || !boxAt[box] || boxAt[to])
                    continue;
                std::vector<Square> next(at, at + boxes);
                *std::find(next.begin(), next.end(), box) = static_cast<Square>(w);
                std::sort(next.begin(), next.end());
                boxAt[box] = 0;
                boxAt[w] = 1;
                next.push_back(flood(to));
                boxAt[w] = 0;
                boxAt[box] = 1;
                add(std::move(next), static_cast<int>(i), layer[i] + 1, d, box);
            }
        }
        for (int k = 0; k < boxes; ++k)
            boxAt[at[k]] = 0;
        if (static_cast<int>(parent.size()) >= cap && layer.back() > layer[i] + 1) break;
    }
    // The deepest layer with enough boxes off their targets.
    std::vector<int> picks;
    int best = 0;
    for (std::size_t i = 0; i < parent.size(); ++i) {
        const Square* at = &states[i * static_cast<std::size_t>(boxes + 1)];
        int off = 0;
        for (int k = 0; k < boxes; ++k)
            off += !board.isTarget(at[k]);
        if (off < boxes * offShare || layer[i] < best) continue;
        if (layer[i] > best) picks.clear();
        best = layer[i];
        picks.push_back(static_cast<int>(i));
    }
    if (picks.empty() || best == 0) return {};
    const int chosen = picks[static_cast<std::size_t>(rnd.below(static_cast<int>(picks.size())))];
    Board level = solved;
    for (int p = 0; p < level.size(); ++p)
        if (core::isBox(level.at(p)))
            level.set(p, core::isTarget(level.at(p)) ? core::kTarget : core::kFloor);
    const Square* at =
        &states[static_cast<std::size_t>(chosen) * static_cast<std::size_t>(boxes + 1)];
    for (int k = 0; k < boxes; ++k) {
        const int g = board.gridOf(at[k]);
        level.set(g, core::isTarget(level.at(g)) ? core::kBoxOnTarget : core::kBox);
    }
    level.worker = board.gridOf(at[boxes]);
    // Forwards: each pull undone is a push back the way the box came, the
    // worker walking round to it first.
    Made made{level, {}};
    Board play = level;
    for (int i = chosen; parent[static_cast<std::size_t>(i)] >= 0;
         i = parent[static_cast<std::size_t>(i)]) {
        const int d = pullDir[static_cast<std::size_t>(i)];
        const int boxWas = board.gridOf(pulledFrom[static_cast<std::size_t>(i)]);
        const int boxNow = play.neighbour(boxWas, d);
        const int behind = play.neighbour(boxNow, d);
        std::vector<int> par;
        walkFrom(play, play.worker, &par);
        std::vector<std::uint8_t> path;
        for (int p = behind; p != play.worker;) {
            const int e = par[static_cast<std::size_t>(p)];
            if (e < 0) return {};
            path.push_back(static_cast<std::uint8_t>(e));
            p = play.neighbour(p, e ^ 1);
        }
        made.solution.insert(made.solution.end(), path.rbegin(), path.rend());
        made.solution.push_back(static_cast<std::uint8_t>(d ^ 1));
        moveBox(play, boxNow, boxWas);
        play.worker = boxNow;
    }
    return made;
}

// A small board whose 5 to 8 targets lie in a column, a row or an L along
// the walls of a walled corner room with a little spare floor inside, one
// door, and cramped floor outside: the boxes go in far end first, and those
// that come early wait parked inside the room or outside it. Shape 0 a
// column, 1 a row (the column turned), 2 an L.
Made orderedPackingLevel(int boxes, int shape, solver::Random& rnd) {
    const bool turned = shape == 1;
    int roomRows, roomCols;
    std::vector<std::pair<int, int>> targets; // (row, col)
    std::vector<std::pair<int, int>> pillars; // walls inside the room
    if (shape == 2) {
        // The L: down the left wall and along the top, the spare floor
        // between its arms broken by a pillar or two.
        const int down = (boxes + 1) / 2 + rnd.below(2);
        const int along = boxes - down + 1;
        roomRows = down + rnd.below(2);
        roomCols = along + rnd.below(2);
        for (int r = 1; r <= down; ++r)
            targets.push_back({r, 1});
        for (int c = 2; c <= along; ++c)
            targets.push_back({1, c});
        for (int i = 1 + rnd.below(2); i > 0; --i)
            pillars.push_back({3 + rnd.below(std::max(1, roomRows - 2)),
                               3 + rnd.below(std::max(1, roomCols - 2))});
    } else {
        // The column along the left wall, two columns of spare floor beside
        // it, the far one broken by pillars: a box leaves the column
        // sideways only where the worker has room to pull it.
        roomRows = boxes + rnd.below(2);
        roomCols = 3;
        for (int r = 1; r <= boxes; ++r)
            targets.push_back({r, 1});
        for (int r = 1; r < roomRows; ++r)
            if (rnd.below(10) < 4) pillars.push_back({r, 3});
    }
    const int rows = std::max(roomRows + 5 + rnd.below(3), 9);
    const int cols = roomCols + 6 + rnd.below(4);
    Board b = hall(rows, cols);
    std::vector<bool> keep(static_cast<std::size_t>(b.size()), false);
    for (int r = 0; r <= roomRows + 1; ++r)
        for (int c = 0; c <= roomCols + 1; ++c) {
            keep[static_cast<std::size_t>(b.cellAt(r, c))] = true;
            if (r == roomRows + 1 || c == roomCols + 1) b.set(b.cellAt(r, c), core::kWall);
        }
    for (const auto& [r, c] : pillars)
        if (r <= roomRows && c <= roomCols) b.set(b.cellAt(r, c), core::kWall);
    for (const auto& [r, c] : targets)
        b.set(b.cellAt(r, c), core::kBoxOnTarget);
    // One door: in the side wall or the end wall, away from the corner.
    int door, man;
    if (rnd.below(2) == 0) {
        const int r = std::max(1, roomRows - rnd.below(2));
        door = b.cellAt(r, roomCols + 1);
        man = b.cellAt(r, roomCols + 2);
        b.set(b.cellAt(r, roomCols), core::kFloor);
    } else {
        const int c = std::max(2, roomCols - rnd.below(2));
        door = b.cellAt(roomRows + 1, c);
        man = b.cellAt(roomRows + 2, c);
        b.set(b.cellAt(roomRows, c), core::kFloor);
    }
    b.set(door, core::kFloor);
    for (int d = 0; d < 4; ++d) {
        const int q = b.neighbour(man, d);
        if (q >= 0) keep[static_cast<std::size_t>(q)] = true;
    }
    keep[static_cast<std::size_t>(man)] = true;
    scatterWalls(b, 0.3 + 0.05 * rnd.below(3), keep, rnd);
    b.worker = man;
    Made m = deepestByPulls(b, 1000000, 0.8, rnd);
    if (!turned || m.level.size() == 0) return m;
    // Rows and columns swapped: up becomes left and down right.
    Made t{core::transformed(m.level, 1), m.solution};
    for (auto& d : t.solution)
        d = static_cast<std::uint8_t>(d ^ 2);
    return t;
}

// A compact mid-size level: 5 to 8 squares of floor per box, the targets
// scattered but often in clumps of two or three, so that boxes stand in each
// other's way and many must go in in order.
Made compactLevel(int boxes, solver::Random& rnd) {
    const int floorWanted = boxes * (5 + rnd.below(4));
    const int inner = floorWanted * 13 / 10;
    int cols = 4;
    while (cols * cols < inner)
        ++cols;
    const int rows = (inner + cols - 1) / cols;
    Board b = hall(rows + 2, cols + 2);
    const std::vector<bool> keep(static_cast<std::size_t>(b.size()), false);
    scatterWalls(b, 1.0 - static_cast<double>(floorWanted) / (rows * cols), keep, rnd);
    std::vector<int> floor;
    for (int p = 0; p < b.size(); ++p)
        if (b.at(p) == core::kFloor) floor.push_back(p);
    rnd.shuffle(floor);
    std::vector<int> targets;
    for (std::size_t i = 0; i < floor.size() && static_cast<int>(targets.size()) < boxes; ++i) {
        int p = floor[i];
        if (!targets.empty() && rnd.below(2) == 0) {
            // Next to a target already there, when there is room.
            const int t =
                targets[static_cast<std::size_t>(rnd.below(static_cast<int>(targets.size())))];
            const int q = b.neighbour(t, rnd.below(4));
            if (q >= 0 && b.at(q) == core::kFloor) p = q;
        }
        if (b.at(p) != core::kFloor) continue;
        b.set(p, core::kBoxOnTarget);
        targets.push_back(p);
    }
    int man = -1;
    for (int p : floor)
        if (b.at(p) == core::kFloor) man = p;
    if (static_cast<int>(targets.size()) < boxes || man < 0) return {};
    // On so little floor the worker often shuts himself in early: of a few
    // games, the one that took the most boxes off their targets.
    Made best;
    int bestOff = -1;
    for (int game = 0; game < 12; ++game) {
        Made m = backwardGame(b, man, boxes * 10, rnd);
        const int off =
            static_cast<int>(std::count(m.level.cells.begin(), m.level.cells.end(), core::kBox));
        if (off > bestOff) {
            best = std::move(m);
            bestOff = off;
        }
    }
    return best;
}

Made scatteredLevel(int rows, int cols, int boxes, solver::Random& rnd) {
    Board b = hall(rows, cols);
    std::vector<bool> keep(static_cast<std::size_t>(b.size()), false);
    scatterWalls(b, 0.22, keep, rnd);
    std::vector<int> floor;
    for (int p = 0; p < b.size(); ++p)
        if (b.at(p) == core::kFloor) floor.push_back(p);
    rnd.shuffle(floor);
    for (int i = 0; i < boxes; ++i)
        b.set(floor[static_cast<std::size_t>(i)], core::kBoxOnTarget);
    const int man = floor[static_cast<std::size_t>(boxes)];
    return backwardGame(b, man, boxes * 5, rnd);
}

// A level is kept only when at least `share` of its boxes left their
// targets, so that little is solved from the start.
bool worthKeeping(const Made& m, int boxes, double share) {
    int off = 0;
    for (int p = 0; p < m.level.size(); ++p)
        off += m.level.at(p) == core::kBox;
    return off >= boxes * share && core::isFree(m.level.at(m.level.worker));
}

// Of up to `wanted` candidates worth keeping, the one the solver works
// hardest on (positions expanded in the judging time; one it did not solve
// in that time before any it did). With SHAPE_VERBOSE set in the
// environment, each judging goes to standard error.
template <class Make> Made hardest(int wanted, const solver::Limits& judging, Make make) {
    Made best;
    std::uint64_t bestNodes = 0;
    for (int tries = 0, kept = 0; tries < wanted * 6 && kept < wanted; ++tries) {
        std::optional<Made> m = make();
        if (!m) continue;
        ++kept;
        const solver::Result r = solver::solve(m->level, judging);
        const std::uint64_t nodes = r.nodes + (r.status == solver::Status::Solved ? 0 : 1ull << 40);
        if (std::getenv("SHAPE_VERBOSE"))
            std::fprintf(stderr, "%s %llu %.2f\n", solver::statusName(r.status),
                         static_cast<unsigned long long>(r.nodes), r.seconds);
        if (kept == 1 || nodes > bestNodes) {
            best = std::move(*m);
            bestNodes = nodes;
        }
    }
    return best;
}

void write(const std::string& dir, const std::string& name, const std::vector<std::string>& titles,
           const std::vector<Made>& levels) {
    std::ofstream text(dir + "/" + name + ".txt"), proof(dir + "/" + name + ".proof");
    for (std::size_t i = 0; i < levels.size(); ++i) {
        text << "; " << titles[i] << "\n";
        for (const auto& row : core::toXsbRows(levels[i].level))
            text << row << "\n";
        text << "\n";
        proof << i + 1 << "\t" << core::lurdOf(levels[i].level, levels[i].solution) << "\n";
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: solver_make_shape_corpora DIRECTORY [CORPUS...]\n");
        return 2;
    }
    const std::string dir = argv[1];
    // The judging below is timed, so writing a corpus again changes it: only
    // those named are written, every one when none is.
    const std::vector<std::string> names(argv + 2, argv + argc);
    const auto wanted = [&](const char* name) {
        return names.empty() || std::find(names.begin(), names.end(), name) != names.end();
    };
    // Judged by a one-thread solve of a second: the corpora are meant to
    // hold what the solver finds hard, not what it already does well.
    solver::Limits judging;
    judging.timeSeconds = 1;
    judging.threads = 1;
    judging.memoryBytes = std::size_t{512} << 20;
    const auto keep = [](Made m, int boxes, double share) {
        return worthKeeping(m, boxes, share) ? std::optional<Made>(std::move(m)) : std::nullopt;
    };
    if (wanted("doors")) {
        std::vector<std::string> titles;
        std::vector<Made> levels;
        const int counts[] = {9, 12, 15, 18, 21, 24, 28, 34};
        static const char* const kShapes[] = {"door", "corridor", "two doors"};
        for (int i = 0; i < 24; ++i) {
            const int boxes = counts[i % 8], shape = i % 3;
            solver::Random rnd(0x20000001ull * (i + 1));
            const int side = std::min(14 + boxes / 3, 28);
            Made m = hardest(4, judging, [&] {
                return keep(doorsLevel(side, side + 6, boxes, shape, rnd), boxes, 0.66);
            });
            if (m.level.size() == 0) continue;
            titles.push_back(std::to_string(boxes) + " targets " + kShapes[shape] + " #" +
                             std::to_string(i + 1));
            levels.push_back(std::move(m));
        }
        write(dir, "doors", titles, levels);
    }
    if (wanted("packing")) {
        std::vector<std::string> titles;
        std::vector<Made> levels;
        for (int i = 0; i < 24; ++i) {
            const int boxes = 5 + i % 4;
            const bool column = i % 2 == 1;
            solver::Random rnd(0x30000001ull * (i + 1));
            Made m = hardest(8, judging, [&] {
                const int along = boxes + 5 + rnd.below(2), across = 9 + rnd.below(3);
                return keep(column ? packingLevel(along, across, boxes, true, rnd)
                                   : packingLevel(across, along, boxes, false, rnd),
                            boxes, 0.75);
            });
            if (m.level.size() == 0) continue;
            titles.push_back(std::to_string(boxes) + (column ? " in a column" : " in a row") +
                             " #" + std::to_string(i + 1));
            levels.push_back(std::move(m));
        }
        write(dir, "packing", titles, levels);
    }
    if (wanted("scattered")) {
        std::vector<std::string> titles;
        std::vector<Made> levels;
        const int counts[] = {11, 14, 17, 20, 24, 28, 32, 36};
        for (int i = 0; i < 24; ++i) {
            const int boxes = counts[i % 8];
            solver::Random rnd(0x40000001ull * (i + 1));
            const int side = 10 + boxes / 2;
            Made m = hardest(6, judging, [&] {
                return keep(scatteredLevel(side, side + 4, boxes, rnd), boxes, 0.5);
            });
            if (m.level.size() == 0) continue;
            titles.push_back(std::to_string(boxes) + " boxes #" + std::to_string(i + 1));
            levels.push_back(std::move(m));
        }
        write(dir, "scattered", titles, levels);
    }
    // compact_hard: the hardest of twice as many candidates, more of whose
    // boxes left their targets.
    for (const bool hard : {false, true}) {
        const char* name = hard ? "compact_hard" : "compact";
        if (!wanted(name)) continue;
        std::vector<std::string> titles;
        std::vector<Made> levels;
        const int counts[] = {11, 14, 17, 20, 24, 28, 32, 36};
        for (int i = 0; i < 24; ++i) {
            const int boxes = counts[i % 8];
            solver::Random rnd(0x50000001ull * (i + 1));
            Made m = hardest(hard ? 8 : 4, judging, [&] {
                return keep(compactLevel(boxes, rnd), boxes, hard ? 0.6 : 0.5);
            });
            if (m.level.size() == 0) continue;
            titles.push_back(std::to_string(boxes) + " boxes compact #" + std::to_string(i + 1));
            levels.push_back(std::move(m));
        }
        write(dir, name, titles, levels);
    }
    if (wanted("tight_packing")) {
        std::vector<std::string> titles;
        std::vector<Made> levels;
        for (int i = 0; i < 24; ++i) {
            const int boxes = 5 + i % 4;
            const bool column = i % 2 == 1;
            solver::Random rnd(0x60000001ull * (i + 1));
            Made m = hardest(8, judging, [&] {
                return keep(tightPackingLevel(boxes, column, rnd), boxes, 0.6);
            });
            if (m.level.size() == 0) continue;
            titles.push_back(std::to_string(boxes) + (column ? " in a column" : " in a row") +
                             " behind a door #" + std::to_string(i + 1));
            levels.push_back(std::move(m));
        }
        write(dir, "tight_packing", titles, levels);
    }
    if (wanted("ordered_packing")) {
        // Judged harder than the others: of more candidates, the one a
        // solve of a second and a half on two threads works hardest on (one thread
        // misjudges them: the two searches side by side do far better).
        solver::Limits longer = judging;
        longer.timeSeconds = 1.5;
        longer.threads = 2;
        std::vector<std::string> titles;
        std::vector<Made> levels;
        static const char* const kShapes[] = {" in a column", " in a row", " in an L"};
        for (int i = 0; i < 24; ++i) {
            const int boxes = 5 + i % 4, shape = i % 3;
            solver::Random rnd(0x70000001ull * (i + 1));
            Made m = hardest(16, longer, [&] {
                return keep(orderedPackingLevel(boxes, shape, rnd), boxes, 0.6);
            });
            if (m.level.size() == 0) continue;
            titles.push_back(std::to_string(boxes) + kShapes[shape] + " #" + std::to_string(i + 1));
            levels.push_back(std::move(m));
        }
        write(dir, "ordered_packing", titles, levels);
    }
    return 0;
}

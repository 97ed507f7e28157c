// The level generator's pieces: the pull search's depths are the fewest
// pushes a plain forward search finds, rooms keep their promises, finished
// levels keep exactly what the worker reaches, and the push figures count
// what they say.

#include "generator.h"
#include "hard_level_polish.h"
#include "level_checks.h"
#include "motifs.h"
#include "set_text.h"

#include "core/paths.h"
#include "core/rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

namespace core = sokoban::core;
namespace gen = sokoban::solver;
using core::Board;

Board board(const std::vector<std::string>& rows) {
    return sokoban::settext::boardOfRows(rows);
}

// Fewest pushes from the board's start to a solve, breadth first forwards
// over pushes made by the game's rules; -1 when there is none.
int forwardPushes(const Board& start) {
    const auto key = [](const Board& b) {
        const std::vector<bool> area = core::reach(b, b.worker);
        const int least =
            static_cast<int>(std::find(area.begin(), area.end(), true) - area.begin());
        std::string k(b.cells.begin(), b.cells.end());
        return k + std::to_string(least);
    };
    std::vector<Board> layer{start};
    std::set<std::string> seen{key(start)};
    for (int depth = 0; !layer.empty(); ++depth) {
        std::vector<Board> next;
        for (const Board& b : layer) {
            if (core::solved(b)) return depth;
            const std::vector<bool> area = core::reach(b, b.worker);
            for (int x = 0; x < b.size(); ++x) {
                if (!area[static_cast<std::size_t>(x)]) continue;
                for (int d = 0; d < 4; ++d) {
                    Board m = b;
                    m.worker = x;
                    if (core::apply(m, static_cast<core::Dir>(d)).kind != core::MoveKind::Push)
                        continue;
                    if (seen.insert(key(m)).second) next.push_back(m);
                }
            }
        }
        layer = std::move(next);
    }
    return -1;
}

Board withTargets(Board b, gen::Random& rnd, int k) {
    std::vector<int> floor;
    for (int c = 0; c < b.size(); ++c)
        if (b.at(c) == core::kFloor) floor.push_back(c);
    rnd.shuffle(floor);
    for (int i = 0; i < k; ++i)
        b.set(floor[static_cast<std::size_t>(i)], core::kTarget);
    return b;
}

TEST(Generator, PullDepthIsTheFewestPushes) {
    // Targets only; the search supplies the boxes.
    const std::vector<std::vector<std::string>> hand = {
        {"#######", "#@    #", "# #.# #", "#  .  #", "#######"},
        {"######", "#@ . #", "# ## #", "#.   #", "######"},
        {"#######", "#+  # #", "#  .  #", "## #. #", "#     #", "#######"},
    };
    std::vector<Board> boards;
    for (const auto& rows : hand)
        boards.push_back(board(rows));
    gen::Random rnd(5);
    gen::RoomOptions ro;
    ro.innerW = 5;
    ro.innerH = 5;
    ro.minFloor = 10;
    ro.maxFloor = 20;
    while (boards.size() < 8) {
        const Board room = gen::makeRoom(ro, rnd);
        if (room.size() > 0) boards.push_back(withTargets(room, rnd, 2));
    }
    for (std::size_t n = 0; n < boards.size(); ++n) {
        const Board& b = boards[n];
        gen::PullSearch search(b);
        ASSERT_TRUE(search.usable());
        ASSERT_TRUE(search.run(1'000'000)) << "board " << n;
        const auto& pos = search.positions();
        // The farthest position and a spread of others.
        std::vector<std::size_t> picks{pos.size() - 1};
        for (std::size_t i = 0; i < pos.size(); i += pos.size() / 12 + 1)
            picks.push_back(i);
        for (std::size_t i : picks) {
            Board start = b;
            for (int c : search.boxCells(pos[i]))
                start.set(c, static_cast<std::uint8_t>(start.at(c) + 2));
            start.worker = search.cellOf(pos[i].man);
            EXPECT_EQ(forwardPushes(start), pos[i].depth) << "board " << n << " position " << i;
            EXPECT_EQ(search.pushesFrom(static_cast<std::uint32_t>(i)).size(),
                      std::size_t{pos[i].depth});
        }
    }
}

TEST(Generator, SearchFromAPositionCountsPushesToIt) {
    const Board b = board({"#######", "#@ $ .#", "#     #", "#######"});
    const int box = b.cellAt(1, 3);
    gen::PullSearch search(b);
    ASSERT_TRUE(search.runFrom({box}, b.worker, 10'000));
    // The start itself, then positions one pull away.
    EXPECT_EQ(search.positions().front().depth, 0);
    EXPECT_EQ(search.boxCells(search.positions().front()), std::vector<int>{box});
    int oneAway = 0;
    for (std::size_t i = 0; i < search.positions().size(); ++i)
        if (search.positions()[i].depth == 1) {
            ++oneAway;
            const auto pushes = search.pushesFrom(static_cast<std::uint32_t>(i));
            ASSERT_EQ(pushes.size(), 1u);
            EXPECT_EQ(pushes[0].second, box); // pushed back where it started
        }
    EXPECT_EQ(oneAway, 2); // pulled left or right; below it no room to step back
}

TEST(Generator, FinishedKeepsWhatTheWorkerReaches) {
    const struct {
        const char* name;
        std::vector<std::string> rows;
        std::vector<std::string> kept;
    } cases[] = {
        {"a closed level stays", {"#####", "#@$.#", "#####"}, {"#####", "#@$.#", "#####"}},
        {"a pocket beside the room goes",
         {"########", "#@$.# ##", "########"},
         {"#####", "#@$.#", "#####"}},
        {"a pocket shut in by walls is walled",
         {"#######", "#@$  .#", "# ### #", "# # # #", "# ### #", "#     #", "#######"},
         {"#######", "#@$  .#", "# ### #", "# ### #", "# ### #", "#     #", "#######"}},
        {"a thick wall thins to one ring",
         {"#######", "#######", "##@$.##", "#######", "#######"},
         {"#####", "#@$.#", "#####"}},
        {"a room cut off from the worker goes",
         {"###########", "#@$.# #   #", "##### #   #", "    # #####", "    ###"},
         {"#####", "#@$.#", "#####"}},
    };
    for (const auto& c : cases) {
        const Board b = board(c.rows);
        const Board done = gen::finished(b);
        EXPECT_EQ(done.rows, b.rows) << c.name;
        EXPECT_EQ(done.cols, b.cols) << c.name;
        EXPECT_EQ(sokoban::settext::rowsOf(done), c.kept) << c.name;
    }
}

TEST(Generator, RoomsAreConnectedClosedAndNotTooOpen) {
    gen::Random rnd(17);
    gen::RoomOptions ro;
    ro.innerW = 8;
    ro.innerH = 7;
    ro.minFloor = 15;
    ro.maxFloor = 45;
    int made = 0;
    for (int i = 0; i < 300; ++i) {
        const Board b = gen::makeRoom(ro, rnd);
        if (b.size() == 0) continue;
        ++made;
        const int f = gen::floorCount(b);
        EXPECT_GE(f, ro.minFloor);
        EXPECT_LE(f, ro.maxFloor);
        EXPECT_FALSE(gen::hasOpenBlock(b, 3, 4));
        EXPECT_FALSE(gen::hasOpenBlock(b, 4, 3));
        int first = -1;
        for (int c = 0; c < b.size(); ++c) {
            if (b.at(c) == core::kWall) continue;
            if (first < 0) first = c;
            const int x = b.colOf(c), y = b.rowOf(c);
            EXPECT_TRUE(x > 0 && y > 0 && x < b.cols - 1 && y < b.rows - 1) << "floor on the frame";
            int walls = 0;
            for (int d = 0; d < 4; ++d)
                walls += b.at(b.neighbour(c, d)) == core::kWall;
            EXPECT_LT(walls, 3) << "dead end";
        }
        const auto reached = core::reach(b, first, core::Walk::ThroughBoxes);
        EXPECT_EQ(std::count(reached.begin(), reached.end(), true), f);
    }
    EXPECT_GT(made, 10);
    // The same seed gives the same room.
    gen::Random a(99), c(99);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(gen::makeRoom(ro, a), gen::makeRoom(ro, c));
}

TEST(Generator, DeadEndsFillUpToWhatIsKept) {
    const Board b = board({"#######", "#@ $ .#", "## ####", "## #", "####"});
    const int deadEnd = b.cellAt(3, 2), mouth = b.cellAt(2, 2);
    std::vector<bool> keep(static_cast<std::size_t>(b.size()), false);
    Board all = b;
    gen::fillDeadEnds(all, keep);
    EXPECT_EQ(all.at(deadEnd), core::kWall);
    EXPECT_EQ(all.at(mouth), core::kWall); // a dead end once the first is filled
    EXPECT_EQ(all.at(b.cellAt(1, 5)), core::kTarget);
    EXPECT_EQ(all.at(b.worker), core::kFloor);
    keep[static_cast<std::size_t>(deadEnd)] = true;
    Board kept = b;
    gen::fillDeadEnds(kept, keep);
    EXPECT_EQ(kept.at(deadEnd), core::kFloor);
    EXPECT_EQ(kept.at(mouth), core::kFloor);
}

// A compact level's own solution, played by the rules, solves it; its
// targets lie packed in one block, and the floor per box keeps to the
// options.
TEST(Generator, CompactLevelsCarryTheirProof) {
    // Boxes parked anywhere past the door, or far from it.
    for (const double parkFar : {0.0, 0.5}) {
        SCOPED_TRACE(::testing::Message() << "parked at least " << parkFar << " of the way");
        int made = 0;
        for (std::uint64_t seed = 1; seed <= 40; ++seed) {
            gen::CompactOptions o;
            o.seed = seed;
            o.parkFar = parkFar;
            o.rows = 10;
            o.cols = 11;
            o.boxes = 6;
            o.roomWidth = 3;
            o.maxFloorPerBox = 9;
            const gen::CompactLevel c = gen::generateCompactLevel(o);
            if (c.level.rows == 0) continue;
            ++made;
            SCOPED_TRACE(::testing::Message() << "seed " << seed);
            const Board& lv = c.level;
            EXPECT_EQ(lv.boxCount(), 6);
            EXPECT_EQ(lv.targetCount(), 6);
            EXPECT_FALSE(core::solved(lv));
            const double perBox = gen::floorCount(lv) / 6.0;
            EXPECT_GE(perBox, o.minFloorPerBox);
            EXPECT_LE(perBox, o.maxFloorPerBox);

            Board b = lv;
            for (const auto d : c.solution)
                ASSERT_NE(core::apply(b, static_cast<core::Dir>(d)).kind, core::MoveKind::Blocked);
            EXPECT_TRUE(core::solved(b));

            // The targets fill their rectangle but for the last row's spare squares.
            int top = lv.rows, left = lv.cols, bottom = -1, right = -1;
            for (int p = 0; p < lv.size(); ++p)
                if (core::isTarget(lv.at(p))) {
                    top = std::min(top, lv.rowOf(p));
                    bottom = std::max(bottom, lv.rowOf(p));
                    left = std::min(left, lv.colOf(p));
                    right = std::max(right, lv.colOf(p));
                }
            EXPECT_LE((bottom - top + 1) * (right - left + 1), 6 + 2);
        }
        // A game whose pulls cannot be undone gives no level: most seeds must
        // give one (27 of these 40 do, and as many parked far).
        EXPECT_GE(made, 20);
    }
}

TEST(Generator, PushFigures) {
    struct Case {
        std::vector<int> boxes;
        std::vector<gen::Push> pushes;
        int changes, lines;
        bool everyBoxMoves;
    };
    const std::vector<Case> cases = {
        {{10}, {{10, 11}, {11, 12}, {12, 22}}, 0, 2, true},
        {{10, 20}, {{10, 11}, {20, 21}, {11, 12}}, 2, 3, true},
        {{10, 20}, {{10, 11}, {11, 12}, {12, 13}}, 0, 1, false},
        {{10, 20}, {{10, 11}, {11, 12}, {20, 30}, {30, 40}, {12, 2}}, 2, 3, true},
        {{10}, {{11, 12}}, 0, 0, false}, // no box where the push starts
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto s = gen::pushStats(cases[i].boxes, cases[i].pushes);
        EXPECT_EQ(s.changes, cases[i].changes) << "case " << i;
        EXPECT_EQ(s.lines, cases[i].lines) << "case " << i;
        EXPECT_EQ(s.everyBoxMoves, cases[i].everyBoxMoves) << "case " << i;
    }
}

// Each motif keeps what it claims: the walls mirror about the middle column
// (the targets too where their count allows), the corridor runs straight for
// its length with walls along it, the goal room opens only through its
// doors and holds every target, and the floor is one piece.
TEST(Motifs, BoardsKeepTheirSymmetryCorridorAndDoors) {
    using gen::Motif;
    const struct {
        const char* name;
        Motif kind;
        int boxes, rows, cols, corridor, goalCols;
        bool mirrors, targetsMirror;
    } cases[] = {
        {"hall of odd width, one door", Motif::MirrorHall, 3, 4, 7, 0, 3, true, true},
        {"hall of even width, two doors", Motif::MirrorHall, 4, 4, 8, 0, 2, true, true},
        {"even hall, odd boxes", Motif::MirrorHall, 5, 5, 6, 0, 4, true, false},
        {"twin rooms, short corridor", Motif::TwinRooms, 5, 4, 4, 5, 3, true, true},
        {"twin rooms, long corridor", Motif::TwinRooms, 4, 3, 3, 7, 3, true, true},
        {"store room and corridor", Motif::Corridor, 4, 4, 5, 3, 3, false, false},
        {"long corridor", Motif::Corridor, 5, 3, 6, 5, 2, false, false},
    };
    const auto open = [](const Board& b, int cell) {
        return cell >= 0 && b.at(cell) != core::kWall && b.at(cell) != core::kOutside;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int made = 0;
        for (std::uint64_t seed = 1; seed <= 20; ++seed) {
            SCOPED_TRACE(seed);
            gen::MotifOptions o;
            o.kind = c.kind;
            o.boxes = c.boxes;
            o.hallRows = c.rows;
            o.hallCols = c.cols;
            o.corridor = c.corridor;
            o.goalCols = c.goalCols;
            o.pillarShare = 0.25;
            o.seed = seed;
            const gen::MotifBoard m = gen::motifBoard(o);
            if (m.board.size() == 0) continue;
            ++made;
            const Board& b = m.board;
            EXPECT_EQ(b.targetCount(), c.boxes);
            EXPECT_EQ(b.boxCount(), 0);
            EXPECT_EQ(m.axisSum >= 0, c.mirrors);
            EXPECT_EQ(m.targetsMirror, c.targetsMirror);
            if (m.axisSum >= 0) {
                ASSERT_EQ(m.axisSum, b.cols - 1);
                for (int r = 0; r < b.rows; ++r)
                    for (int col = 0; col < b.cols; ++col) {
                        const int a = b.cellAt(r, col), t = b.cellAt(r, m.axisSum - col);
                        ASSERT_EQ(open(b, a), open(b, t)) << r << "," << col;
                        if (m.targetsMirror) {
                            ASSERT_EQ(core::isTarget(b.at(a)), core::isTarget(b.at(t)));
                        }
                    }
            }
            // The corridor: straight, its length, walled along both sides
            // (the second lane one row up, walled above it); only a door
            // opens off it.
            ASSERT_EQ(static_cast<int>(m.corridor.size()), c.corridor);
            for (std::size_t i = 0; i < m.corridor.size(); ++i) {
                const int cell = m.corridor[i];
                ASSERT_TRUE(open(b, cell));
                if (i > 0) {
                    const int step = cell - m.corridor[i - 1];
                    ASSERT_TRUE(step == 1 || step == b.cols) << "straight, square by square";
                    ASSERT_EQ(step, m.corridor[1] - m.corridor[0]);
                }
                const bool across = m.corridor.size() < 2 || m.corridor[1] - m.corridor[0] == 1;
                const int side1 = b.neighbour(cell, across ? core::kUp : core::kLeft);
                const int side2 = b.neighbour(cell, across ? core::kDown : core::kRight);
                const auto isDoor = [&](int x) {
                    return std::find(m.doors.begin(), m.doors.end(), x) != m.doors.end();
                };
                if (m.lanes == 2) {
                    ASSERT_TRUE(open(b, side1));
                    EXPECT_FALSE(open(b, b.neighbour(side1, core::kUp)));
                } else {
                    EXPECT_FALSE(open(b, side1));
                }
                EXPECT_TRUE(!open(b, side2) || isDoor(side2));
            }
            // The goal room: every target in it, and its floor meets other
            // floor only at a door.
            ASSERT_FALSE(m.doors.empty());
            const auto inRoom = [&](int x) {
                return std::find(m.goalRoom.begin(), m.goalRoom.end(), x) != m.goalRoom.end();
            };
            for (int cell = 0; cell < b.size(); ++cell)
                if (core::isTarget(b.at(cell))) {
                    EXPECT_TRUE(inRoom(cell));
                }
            for (int cell : m.goalRoom)
                for (int d = 0; d < 4; ++d) {
                    const int q = b.neighbour(cell, d);
                    if (open(b, q) && !inRoom(q)) {
                        EXPECT_NE(std::find(m.doors.begin(), m.doors.end(), q), m.doors.end());
                    }
                }
            const std::vector<bool> area = core::reach(b, b.worker, core::Walk::ThroughBoxes);
            EXPECT_EQ(static_cast<int>(std::count(area.begin(), area.end(), true)),
                      gen::floorCount(b));
        }
        EXPECT_GE(made, 10) << "most seeds give a board";
    }
}

} // namespace

// Floor the solution never enters, by the worker or a box, goes; what it
// enters stays and the solution still holds.
TEST(Generator, UnusedFloorIsWalledIn) {
    const struct {
        const char* name;
        std::vector<std::string> rows;
        const char* lurd;
        std::vector<std::string> walled;
    } cases[] = {
        {"a row above the push",
         {"#######", "#     #", "#@$  .#", "#######"},
         "RRR",
         {"#######", "#@$  .#", "#######"}},
        {"the box's last square is kept though the worker never stands there",
         {"#######", "#     #", "#.$@  #", "#######"},
         "L",
         {"#####", "#.$@#", "#####"}},
        {"the worker's way round a pillar is kept",
         {"######", "#@   #", "# #$ #", "# #. #", "######"},
         "rrD",
         {"#####", "#@  #", "###$#", "  #.#", "  ###"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Board level = board(c.rows);
        ASSERT_TRUE(sokoban::levelcheck::replay(level, c.lurd).solved);
        const Board walled = sokoban::hardlevels::wallInUnusedFloor(level, c.lurd);
        EXPECT_EQ(sokoban::settext::rowsOf(walled), c.walled);
        const auto played = sokoban::levelcheck::replay(walled, c.lurd);
        EXPECT_TRUE(played.solved) << played.error;
        EXPECT_EQ(sokoban::levelcheck::unusedFloor(walled, played), 0);
    }
}

// A construction's solution wanders: positions it comes back to lose the
// pushes between, walks become the shortest; what does not solve stays.
TEST(Generator, SolutionsLoseTheirDetours) {
    const std::vector<std::string> room = {"#######", "#@$  .#", "#     #", "#######"};
    const struct {
        const char* name;
        const char* lurd;
        const char* shorter;
    } cases[] = {
        {"the box pushed on, back and on again", "RRdrruLdlluRR", "RRR"},
        {"a walk round in a loop before the pushes", "drluRRR", "RRR"},
        {"nothing to cut", "RRR", "RRR"},
        {"a solution that does not solve is left alone", "RRdrruL", "RRdrruL"},
    };
    const Board level = board(room);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(sokoban::hardlevels::withoutDetours(level, c.lurd), c.shorter);
    }
}

// The level generator's pieces: the pull search's depths are the fewest
// pushes a plain forward search finds, the canonical form ignores position,
// rotation and reflection but nothing else, rooms keep their promises, and
// the push figures count what they say.

#include "generators/levels/level_gen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace sokoban::levelgen;

// Fewest pushes from the board's start to a solve, breadth first forwards
// over pushes; -1 when there is none.
int forwardPushes(const Board& b) {
    auto key = [&](std::vector<int> boxes, int worker) {
        std::sort(boxes.begin(), boxes.end());
        std::vector<char> occ(b.wall.size(), 0);
        for (int c : boxes)
            occ[c] = 1;
        const auto reach = region(b, occ, worker);
        std::vector<int> k = boxes;
        k.push_back(*std::min_element(reach.begin(), reach.end()));
        return k;
    };
    struct Node {
        std::vector<int> boxes;
        int worker;
    };
    std::vector<Node> layer{{b.boxes, b.worker}};
    std::set<std::vector<int>> seen{key(b.boxes, b.worker)};
    for (int depth = 0; !layer.empty(); ++depth) {
        std::vector<Node> next;
        for (const auto& n : layer) {
            bool solved = true;
            for (int c : n.boxes)
                solved = solved && b.target[c];
            if (solved) return depth;
            std::vector<char> occ(b.wall.size(), 0);
            for (int c : n.boxes)
                occ[c] = 1;
            for (int x : region(b, occ, n.worker))
                for (int d : b.steps()) {
                    const int box = x + d, to = x + 2 * d;
                    if (!occ[box] || b.wall[to] || occ[to]) continue;
                    Node m = n;
                    *std::find(m.boxes.begin(), m.boxes.end(), box) = to;
                    m.worker = box;
                    if (seen.insert(key(m.boxes, m.worker)).second) next.push_back(m);
                }
        }
        layer = std::move(next);
    }
    return -1;
}

Board withTargets(Board b, std::mt19937_64& rng, int k) {
    std::vector<int> floor;
    for (int c = 0; c < b.w * b.h; ++c)
        if (!b.wall[c]) floor.push_back(c);
    std::shuffle(floor.begin(), floor.end(), rng);
    for (int i = 0; i < k; ++i)
        b.target[floor[i]] = 1;
    return b;
}

TEST(MakeLevels, PullDepthIsTheFewestPushes) {
    struct Case {
        std::vector<std::string> rows; // targets only; the search supplies boxes
        int boxes;
    };
    const std::vector<Case> hand = {
        {{"#######", "#     #", "# #.# #", "#  .  #", "#######"}, 2},
        {{"######", "#  . #", "# ## #", "#.   #", "######"}, 2},
        {{"#######", "#.  # #", "#  .  #", "## #. #", "#     #", "#######"}, 3},
    };
    std::vector<Board> boards;
    for (const auto& c : hand) {
        auto rows = c.rows;
        // fromRows needs a worker to know the floor; any floor square will do.
        rows[1][1] = rows[1][1] == '.' ? '+' : '@';
        Board b = fromRows(rows);
        b.worker = -1;
        boards.push_back(b);
    }
    std::mt19937_64 rng(5);
    RoomOptions ro;
    ro.innerW = 5;
    ro.innerH = 5;
    ro.minFloor = 10;
    ro.maxFloor = 20;
    while (boards.size() < 8) {
        const Board room = makeRoom(ro, rng);
        if (room.w) boards.push_back(withTargets(room, rng, 2));
    }
    for (std::size_t n = 0; n < boards.size(); ++n) {
        const Board& b = boards[n];
        BackSearch search(b);
        ASSERT_TRUE(search.run(1'000'000)) << "board " << n;
        const auto& pos = search.positions();
        // The farthest position and a spread of others.
        std::vector<std::size_t> picks{pos.size() - 1};
        for (std::size_t i = 0; i < pos.size(); i += pos.size() / 12 + 1)
            picks.push_back(i);
        for (std::size_t i : picks) {
            Board start = b;
            start.boxes = search.boxCells(pos[i]);
            start.worker = search.cellOf(pos[i].man);
            EXPECT_EQ(forwardPushes(start), pos[i].depth) << "board " << n << " position " << i;
            EXPECT_EQ(search.pushesFrom(static_cast<std::uint32_t>(i)).size(),
                      std::size_t{pos[i].depth});
        }
    }
}

TEST(MakeLevels, SearchFromAPositionCountsPushesToIt) {
    const Board b = fromRows({"#######", "#@ $ .#", "#     #", "#######"});
    BackSearch search(b);
    ASSERT_TRUE(search.runFrom(b.boxes, b.worker, 10'000));
    // The start itself, then positions one pull away.
    EXPECT_EQ(search.positions().front().depth, 0);
    EXPECT_EQ(search.boxCells(search.positions().front()), b.boxes);
    for (const auto& p : search.positions())
        if (p.depth == 1) {
            const auto i = static_cast<std::uint32_t>(&p - search.positions().data());
            EXPECT_EQ(search.pushesFrom(i).size(), 1u);
        }
}

std::vector<std::string> turn(const std::vector<std::string>& rows) {
    std::size_t w = 0;
    for (const auto& r : rows)
        w = std::max(w, r.size());
    std::vector<std::string> out(w, std::string(rows.size(), ' '));
    for (std::size_t y = 0; y < rows.size(); ++y)
        for (std::size_t x = 0; x < rows[y].size(); ++x)
            out[x][rows.size() - 1 - y] = rows[y][x];
    return out;
}

std::vector<std::string> mirror(std::vector<std::string> rows) {
    std::size_t w = 0;
    for (const auto& r : rows)
        w = std::max(w, r.size());
    for (auto& r : rows) {
        r.resize(w, ' ');
        std::reverse(r.begin(), r.end());
    }
    return rows;
}

TEST(MakeLevels, CanonicalFormNamesThePuzzleNotItsPicture) {
    const std::vector<std::string> level = {
        " #####", "##   #", "#@$  #", "# #.##", "#  * #", "######",
    };
    const std::string key = canonical(fromRows(level));
    // Every orientation, and the level shifted inside more blank and wall.
    auto rows = level;
    for (int i = 0; i < 4; ++i) {
        rows = turn(rows);
        EXPECT_EQ(canonical(fromRows(rows)), key) << "turn " << i;
        EXPECT_EQ(canonical(fromRows(mirror(rows))), key) << "mirrored turn " << i;
    }
    std::vector<std::string> shifted = {"", "   #"};
    for (const auto& r : level)
        shifted.push_back("  ##" + r);
    EXPECT_EQ(canonical(fromRows(shifted)), key);
    // The worker elsewhere in the same area is the same puzzle.
    EXPECT_EQ(canonical(fromRows({" #####", "##  @#", "# $  #", "# #.##", "#  * #", "######"})),
              canonical(fromRows({" #####", "##   #", "# $ @#", "# #.##", "#  * #", "######"})));

    // Anything else that changes the puzzle changes the name.
    const std::vector<std::vector<std::string>> others = {
        {" #####", "##   #", "#@ $ #", "# #.##", "#  * #", "######"}, // box moved
        {" #####", "##  .#", "#@$  #", "# # ##", "#  * #", "######"}, // target moved
        {" #####", "##   #", "#@$  #", "# #.##", "#  *##", "######"}, // wall added
        {" #####", "##   #", "# $@ #", "# #.##", "#  * #", "######"}, // worker across the box
    };
    for (std::size_t i = 0; i < others.size(); ++i)
        EXPECT_NE(canonical(fromRows(others[i])), key) << "variant " << i;
}

TEST(MakeLevels, RowsRoundTrip) {
    const std::vector<std::string> level = {"  ####", "###  #", "#.$@ #", "#  * #", "######"};
    EXPECT_EQ(toRows(fromRows(level)), level);
    // Floor the worker cannot reach is written as wall.
    EXPECT_EQ(toRows(fromRows({"#######", "#@$ .##", "##### #", "#######"})),
              (std::vector<std::string>{"######", "#@$ .#", "######"}));
}

TEST(MakeLevels, RoomsAreConnectedClosedAndNotTooOpen) {
    std::mt19937_64 rng(17);
    RoomOptions ro;
    ro.innerW = 8;
    ro.innerH = 7;
    ro.minFloor = 15;
    ro.maxFloor = 45;
    int made = 0;
    for (int i = 0; i < 300; ++i) {
        const Board b = makeRoom(ro, rng);
        if (!b.w) continue;
        ++made;
        const int f = floorCount(b);
        EXPECT_GE(f, ro.minFloor);
        EXPECT_LE(f, ro.maxFloor);
        EXPECT_FALSE(hasOpenBlock(b, 3, 4));
        EXPECT_FALSE(hasOpenBlock(b, 4, 3));
        int first = -1;
        for (int c = 0; c < b.w * b.h; ++c) {
            if (b.wall[c]) continue;
            if (first < 0) first = c;
            const int x = c % b.w, y = c / b.w;
            EXPECT_TRUE(x > 0 && y > 0 && x < b.w - 1 && y < b.h - 1) << "floor on the frame";
            int walls = 0;
            for (int d : b.steps())
                walls += b.wall[c + d];
            EXPECT_LT(walls, 3) << "dead end";
        }
        EXPECT_EQ(static_cast<int>(region(b, std::vector<char>(b.wall.size(), 0), first).size()),
                  f);
    }
    EXPECT_GT(made, 10);
    // The same seed gives the same room.
    std::mt19937_64 a(99), c(99);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(makeRoom(ro, a).wall, makeRoom(ro, c).wall);
}

TEST(MakeLevels, PushFigures) {
    struct Case {
        std::vector<int> boxes;
        std::vector<std::pair<int, int>> pushes;
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
        const auto s = pushStats(cases[i].boxes, cases[i].pushes);
        EXPECT_EQ(s.changes, cases[i].changes) << "case " << i;
        EXPECT_EQ(s.lines, cases[i].lines) << "case " << i;
        EXPECT_EQ(s.everyBoxMoves, cases[i].everyBoxMoves) << "case " << i;
    }
}

} // namespace

#include "core/flood.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sokoban::core {
namespace {

using Graph = std::vector<std::vector<int>>; // the nodes each node leads to
using Full = Flood<kFloodDistances | kFloodParents>;

void floodGraph(Full& flood, const Graph& graph, const std::vector<int>& starts) {
    flood.clear();
    for (const int s : starts)
        flood.start(s);
    flood.run([&](int node) {
        for (const int next : graph[static_cast<std::size_t>(node)])
            flood.visit(next);
    });
}

TEST(CoreFlood, OrderDistancesAndParents) {
    struct Case {
        const char* what;
        Graph graph;
        std::vector<int> starts, order, distance, parent;
    } cases[] = {
        // The first way found to a node is kept, and the callers' neighbour
        // order decides which that is.
        {"diamond", {{1, 2}, {3}, {3}, {}}, {0}, {0, 1, 2, 3}, {0, 1, 1, 2}, {-1, 0, 0, 1}},
        {"diamond, neighbours the other way round",
         {{2, 1}, {3}, {3}, {}},
         {0},
         {0, 2, 1, 3},
         {0, 1, 1, 2},
         {-1, 0, 0, 2}},
        // Each node is as far as its nearest start; starts keep their order.
        {"two starts",
         {{1}, {2}, {3}, {4}, {}},
         {3, 0},
         {3, 0, 4, 1, 2},
         {0, 1, 2, 0, 1},
         {-1, 0, 1, -1, 3}},
        {"a start given twice", {{1}, {}}, {0, 0}, {0, 1}, {0, 1}, {-1, 0}},
        // A cycle is walked once; what cannot be reached stays unseen.
        {"cycle and a stranger",
         {{1}, {2}, {0}, {0}},
         {1},
         {1, 2, 0},
         {2, 0, 1, -1},
         {2, -1, 1, -1}},
        {"the shorter of two ways in",
         {{1, 4}, {2}, {3}, {}, {3}},
         {0},
         {0, 1, 4, 2, 3},
         {0, 1, 2, 2, 1},
         {-1, 0, 1, 4, 0}},
    };
    Full flood(5); // one flood for all: what one search saw must not leak into the next
    for (const auto& c : cases) {
        floodGraph(flood, c.graph, c.starts);
        EXPECT_EQ(std::vector<int>(flood.order().begin(), flood.order().end()), c.order) << c.what;
        for (int n = 0; n < static_cast<int>(c.graph.size()); ++n) {
            EXPECT_EQ(flood.seen(n), c.distance[static_cast<std::size_t>(n)] >= 0) << c.what << n;
            EXPECT_EQ(flood.distance(n), c.distance[static_cast<std::size_t>(n)]) << c.what << n;
            EXPECT_EQ(flood.parent(n), c.parent[static_cast<std::size_t>(n)]) << c.what << n;
        }
    }
}

// Distances over a grid: '#' wall, 'S' a start; each open cell shows its
// distance, '-' where no start gets to it.
TEST(CoreFlood, GridDistancesFromSeveralStarts) {
    struct Case {
        std::vector<std::string> grid, distances;
    } cases[] = {
        {{"S....", "####.", "#...."}, {"01234", "####5", "#9876"}},
        {{"S...S", "#.#.#", "..#.."}, {"01210", "#2#2#", "43#34"}},
        {{"S.#..", "..#..", "###.."}, {"01#--", "12#--", "###--"}},
        {{"S"}, {"0"}},
    };
    Flood<kFloodDistances> flood;
    for (const auto& c : cases) {
        const int rows = static_cast<int>(c.grid.size());
        const int cols = static_cast<int>(c.grid[0].size());
        const auto at = [&](int cell) { return c.grid[cell / cols][cell % cols]; };
        flood.resize(rows * cols);
        for (int cell = 0; cell < rows * cols; ++cell)
            if (at(cell) == 'S') flood.start(cell);
        flood.run([&](int cell) {
            const int r = cell / cols, col = cell % cols;
            const int next[4] = {r > 0 ? cell - cols : -1, r + 1 < rows ? cell + cols : -1,
                                 col > 0 ? cell - 1 : -1, col + 1 < cols ? cell + 1 : -1};
            for (const int n : next)
                if (n >= 0 && at(n) != '#') flood.visit(n);
        });
        std::vector<std::string> shown = c.grid;
        for (int cell = 0; cell < rows * cols; ++cell) {
            char& ch = shown[cell / cols][cell % cols];
            if (ch != '#')
                ch = flood.seen(cell) ? static_cast<char>('0' + flood.distance(cell)) : '-';
        }
        EXPECT_EQ(shown, c.distances) << c.grid[0];
    }
}

TEST(CoreFlood, StoppingAndGoingOn) {
    const Graph chain{{1}, {2}, {3}, {}, {3}};
    Flood<kFloodDistances> flood(5);
    // Stopped when node 1 is expanded: 2 is seen but not expanded yet.
    flood.start(0);
    flood.run([&](int node) {
        for (const int n : chain[static_cast<std::size_t>(node)])
            flood.visit(n);
        return node != 1;
    });
    EXPECT_TRUE(flood.seen(2));
    EXPECT_FALSE(flood.seen(3));
    EXPECT_EQ(flood.next(), 2);

    // A start added after a run is a further search that keeps what the
    // earlier one saw: 3 was reached from 2, and 4 alone is new.
    flood.visit(3);
    EXPECT_EQ(flood.next(), 3);
    EXPECT_EQ(flood.next(), -1);
    EXPECT_TRUE(flood.start(4));
    EXPECT_FALSE(flood.start(3));
    flood.run([&](int node) {
        for (const int n : chain[static_cast<std::size_t>(node)])
            flood.visit(n);
    });
    EXPECT_EQ(std::vector<int>(flood.order().begin(), flood.order().end()),
              (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(flood.distance(3), 3);
    EXPECT_EQ(flood.distance(4), 0);

    flood.clear();
    EXPECT_EQ(flood.count(), 0);
    EXPECT_EQ(flood.next(), -1);
    for (int n = 0; n < 5; ++n)
        EXPECT_FALSE(flood.seen(n)) << n;
    EXPECT_EQ(flood.distance(3), -1);
}

} // namespace
} // namespace sokoban::core

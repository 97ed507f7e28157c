#include "session/mouse_walk.h"

#include <algorithm>
#include <string>

namespace sokoban {

namespace {

constexpr int kBlocked = 10000;
constexpr int kSearchLimit = 700;

const char* mirrored(const char* w) {
    const std::string s = w;
    if (s == "up") return "down";
    if (s == "down") return "up";
    if (s == "left") return "right";
    return "left";
}

// The greedy depth-first search shared by ifconnected and PathFind: at
// every cell the free neighbour nearest to the goal, backing out of dead
// ends. Returns 1 reached, 0 unreachable, -1 the step limit ran out.
int greedySearch(const Cells& board, int start, int goal, MouseWalk::Path& path, int& count) {
    count = 0;
    Cells work = board;
    work[static_cast<std::size_t>(start)] = kBox;
    if (start == goal) return 1;
    const int goalRow = goal / kCols, goalCol = goal % kCols;
    int p = start;
    while (count < kSearchLimit) {
        const int row = p / kCols, col = p % kCols;
        struct Option {
            int cell;
            bool inside;
            const char* word;
        } options[4] = {
            {p - 1, col > 0, "left"},
            {p + 1, col < kCols - 1, "right"},
            {p - kCols, row > 0, "up"},
            {p + kCols, row < kRows - 1, "down"},
        };
        int best = kBlocked;
        const Option* chosen = nullptr;
        for (const auto& o : options) {
            int value = kBlocked;
            if (o.inside) {
                const auto code = work[static_cast<std::size_t>(o.cell)];
                if (code == kFloor || code == kTarget) {
                    const int dr = o.cell / kCols - goalRow, dc = o.cell % kCols - goalCol;
                    value = dr * dr + dc * dc;
                }
            }
            if (value < best) {
                best = value;
                chosen = &o;
            }
        }
        auto& entry = path[static_cast<std::size_t>(count)];
        entry.index = count;
        entry.cell = p;
        if (chosen) {
            entry.dir = chosen->word;
            work[static_cast<std::size_t>(p)] = kBox;
            ++count;
            p = chosen->cell;
            if (p == goal) return 1;
        } else {
            if (p == start) {
                count = 0;
                return 0;
            }
            work[static_cast<std::size_t>(p)] = kBox;
            count = std::max(count - 1, 0);
            p = path[static_cast<std::size_t>(count)].cell;
        }
    }
    return -1;
}

} // namespace

void MouseWalk::ifconnected(const Cells& cells, int start, int goal) {
    const int r = greedySearch(cells, start, goal, walkPath, walkCount);
    if (r >= 0) connected = r == 1;
}

void MouseWalk::PathFind(const Cells& cells, int start, int goal) {
    int count = 0;
    const int r = greedySearch(cells, start, goal, findPath, count);
    findCount = count;
    if (r == 1 && start != goal) connected = true;
}

void MouseWalk::shortenWalk(const Cells& cells) {
    if (walkCount <= 3) return;
    const int passes = walkCount <= 10 ? 4 : walkCount <= 30 ? 10 : 16;
    for (int pass = 0; pass < passes; ++pass) {
        int e = 0;
        bool rescan = true;
        while (rescan) {
            rescan = false;
            for (int j = e; j <= walkCount - 3; ++j) {
                PathFind(cells, walkPath[static_cast<std::size_t>(e)].cell,
                         walkPath[static_cast<std::size_t>(j)].cell);
                const int f = findCount;
                if (f == 0 || f >= j - e) continue;
                std::copy_n(findPath.begin(), f, walkPath.begin() + e);
                std::copy(walkPath.begin() + j, walkPath.begin() + walkCount,
                          walkPath.begin() + e + f);
                walkCount -= j - e - f;
                e += f;
                rescan = true;
                break;
            }
        }
    }
}

void MouseWalk::reverseWalk() {
    const auto copy = walkPath;
    for (int i = 0; i < walkCount; ++i)
        walkPath[static_cast<std::size_t>(walkCount - 1 - i)].dir =
            mirrored(copy[static_cast<std::size_t>(i)].dir);
}

bool MouseWalk::setPath(int start, const std::vector<std::uint8_t>& codes) {
    static const char* const words[4] = {"up", "down", "left", "right"};
    static const int steps[4] = {-kCols, kCols, -1, 1};
    if (codes.size() > walkPath.size()) return false;
    walkCount = static_cast<int>(codes.size());
    int cell = start;
    for (int i = 0; i < walkCount; ++i) {
        const int code = codes[static_cast<std::size_t>(i)] & 3;
        walkPath[static_cast<std::size_t>(i)] = {i, cell, words[code]};
        cell += steps[code];
    }
    return true;
}

void MouseWalk::begin(int interval) {
    walkInterval = interval;
    walkIndex = 0;
    walking = true;
}

} // namespace sokoban

// Playing with the mouse: steps and pushes next to the worker, walks to a
// distant cell along a found and shortened path, and the cursor that tells
// what a click would do.
#include "game_model.h"

#include <algorithm>

namespace sokoban {

namespace {

constexpr int kBlocked = 10000;
constexpr int kSearchLimit = 700;

const char* wordFor(int d) {
    switch (d) {
    case -kCols: return "up";
    case -1: return "left";
    case 1: return "right";
    case kCols: return "down";
    default: return nullptr;
    }
}

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
int greedySearch(const Cells& board, int start, int goal, std::array<GameModel::PathStep, kCells>& path,
                 int& count) {
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

int GameModel::pixelToCell(int x, int y) const {
    if (layout.cellSize <= 0) return -1;
    const int col = (x + 1) / layout.cellSize - layout.originCol;
    const int row = (y + 1) / layout.cellSize - layout.originRow;
    if (col < 0 || col > kCols - 1 || row < 0 || row > kRows - 1) return -1;
    return col + row * kCols;
}

void GameModel::ifconnected(int start, int goal) {
    const int r = greedySearch(maze.cells, start, goal, walkPath, walkCount);
    if (r >= 0) connected = r == 1;
}

void GameModel::PathFind(int start, int goal) {
    int count = 0;
    const int r = greedySearch(maze.cells, start, goal, findPath, count);
    findCount = count;
    if (r == 1 && start != goal) connected = true;
}

void GameModel::shortenWalk() {
    if (walkCount <= 3) return;
    const int passes = walkCount <= 10 ? 4 : walkCount <= 30 ? 10 : 16;
    for (int pass = 0; pass < passes; ++pass) {
        int e = 0;
        bool rescan = true;
        while (rescan) {
            rescan = false;
            for (int j = e; j <= walkCount - 3; ++j) {
                PathFind(walkPath[static_cast<std::size_t>(e)].cell,
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

void GameModel::reverseWalk() {
    const auto copy = walkPath;
    for (int i = 0; i < walkCount; ++i)
        walkPath[static_cast<std::size_t>(walkCount - 1 - i)].dir =
            mirrored(copy[static_cast<std::size_t>(i)].dir);
}

void GameModel::Image1MouseDown(bool rightButtonAlone, int x, int y) {
    stopWalk();
    if (rightButtonAlone) {
        tbUndoClick();
        return;
    }
    if (layout.cellSize <= 0) return;
    const int cell = pixelToCell(x, y);
    if (cell < 0) {
        view_.PlayEffect("pong");
        return;
    }
    // A box waits for the release: dragged, it goes where it is dropped.
    const auto code = maze.cells[static_cast<std::size_t>(cell)];
    if (!demoMode && (code == kBox || code == kBoxOnTarget)) {
        aids.dragFrom = cell;
        return;
    }
    BlockClick(cell);
}

void GameModel::BlockClick(int cell) {
    if (demoMode) return;
    // The search below rewrites walkPath; a walk still running would go on
    // along whatever it leaves there.
    stopWalk();
    connected = false;
    if (cell == manPos || cell < 0 || cell >= kCells) return;
    const int d = cell - manPos;
    const int code = maze.cells[static_cast<std::size_t>(cell)];
    const char* word = wordFor(d);
    if (code == kOutside || code == kWall) {
        view_.PlayEffect("PONG");
    } else if (code == kBox || code == kBoxOnTarget) {
        if (word)
            KeyMove(word);
        else
            view_.PlayEffect("PONG");
    } else if (code == kFloor || code == kTarget) {
        if (word) {
            KeyMove(word);
            return;
        }
        if (manPos < 0 || manPos >= kCells) return;
        const bool shortest = aids.options.shortestWalk == 1;
        if (shortest)
            connected = shortestWalk(cell);
        else
            ifconnected(manPos, cell);
        if (!connected) {
            view_.PlayEffect("PONG");
            view_.SetBoardCursor("dead");
            return;
        }
        if (!shortest) {
            const auto forward = walkPath;
            const int forwardCount = walkCount;
            ifconnected(cell, manPos);
            const bool backward = walkCount < forwardCount;
            if (!backward) {
                walkPath = forward;
                walkCount = forwardCount;
            }
            shortenWalk();
            if (backward) reverseWalk();
        }
        const int speeds[] = {20, 50, 100};
        const int s = settings.moveSpeed;
        if (s >= 1 && s <= 3) walkInterval = speeds[s - 1];
        walkIndex = 0;
        walking = true;
        view_.StartWalking(walkInterval);
    }
}

void GameModel::stopWalk() {
    walking = false;
    view_.StopWalking();
}

void GameModel::Timer2Timer() {
    // A tick that was already on its way when the walk ended does nothing.
    if (!walking) return;
    if (walkIndex < walkCount || walkCount == 0)
        KeyMove(walkPath[static_cast<std::size_t>(walkIndex)].dir);
    ++walkIndex;
    if (walking && walkIndex > walkCount - 1) stopWalk();
}

void GameModel::Image1MouseMove(int x, int y) {
    if (layout.cellSize <= 0) return;
    const int cell = pixelToCell(x, y);
    if (cell < 0) {
        view_.SetBoardCursor("dead");
        return;
    }
    if (cell == hoverCell) return;
    if (aids.dragFrom >= 0) {
        dragOver(aids.dragFrom, cell);
        hoverCell = cell;
        return;
    }
    if (cell == manPos) {
        view_.SetBoardCursor("ques");
        return;
    }
    const int code = maze.cells[static_cast<std::size_t>(cell)];
    std::string cursor = "go";
    if (code == kOutside || code == kWall) {
        cursor = "dead";
    } else if (code == kBox || code == kBoxOnTarget) {
        const char* word = wordFor(cell - manPos);
        cursor = word ? word : "dead";
    }
    view_.SetBoardCursor(cursor);
    hoverCell = cell;
}

} // namespace sokoban

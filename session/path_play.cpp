// The mouse's shortest ways: walking to a distant cell along a shortest path
// (最短路径行走), and dragging a box to the cell it should go to.
#include "game_model.h"

#include "session/push_paths.h"

namespace sokoban {

namespace {

bool isBoxCode(int code) {
    return code == kBox || code == kBoxOnTarget;
}

} // namespace

bool GameModel::shortestWalk(int goal) {
    const auto path = shortestWalkPath(maze.cells, manPos, goal);
    if (!path || path->empty() || path->size() > walkPath.size()) return false;
    walkCount = static_cast<int>(path->size());
    int cell = manPos;
    for (int i = 0; i < walkCount; ++i) {
        const auto& d = kDirections[(*path)[static_cast<std::size_t>(i)]];
        walkPath[static_cast<std::size_t>(i)] = {i, cell, d.word};
        cell += d.step;
    }
    connected = true;
    return true;
}

bool GameModel::dragPush(int box, int goal) {
    const auto path = boxPushPath(maze.cells, manPos, box, goal);
    if (!path) return false;
    if (path->size() > walkPath.size()) {
        // Longer than a walk holds: made at once.
        for (const auto code : *path)
            KeyMove(kDirections[code].word);
        return true;
    }
    walkCount = static_cast<int>(path->size());
    int cell = manPos;
    for (int i = 0; i < walkCount; ++i) {
        const auto& d = kDirections[(*path)[static_cast<std::size_t>(i)]];
        walkPath[static_cast<std::size_t>(i)] = {i, cell, d.word};
        cell += d.step;
    }
    const int speeds[] = {20, 50, 100};
    const int s = settings.moveSpeed;
    if (s >= 1 && s <= 3) walkInterval = speeds[s - 1];
    walkIndex = 0;
    walking = true;
    view_.StartWalking(walkInterval);
    return true;
}

void GameModel::dragOver(int from, int cell) {
    if (cell == from) {
        const int d = cell - manPos;
        const char* word = d == -kCols  ? "up"
                           : d == kCols ? "down"
                           : d == -1    ? "left"
                           : d == 1     ? "right"
                                        : "dead";
        view_.SetBoardCursor(word);
        return;
    }
    const bool can = boxPushPath(maze.cells, manPos, from, cell).has_value();
    view_.SetBoardCursor(can ? "go" : "dead");
}

void GameModel::Image1MouseUp(int x, int y) {
    const int from = aids.dragFrom;
    aids.dragFrom = -1;
    if (from < 0 || demoMode || layout.cellSize <= 0) return;
    const int cell = pixelToCell(x, y);
    // A press and release on the same box is a plain click.
    if (cell == from) {
        BlockClick(from);
        return;
    }
    if (!isBoxCode(maze.cells[static_cast<std::size_t>(from)])) return;
    if (cell < 0 || !dragPush(from, cell)) {
        view_.PlayEffect("PONG");
        view_.SetBoardCursor("dead");
        hoverCell = cell;
    }
}

} // namespace sokoban

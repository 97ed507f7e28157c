// Playing with the mouse: steps and pushes next to the worker, walks to a
// distant cell along a found and shortened path, and the cursor that tells
// what a click would do.
#include "game_model.h"

#include "core/paths.h"
#include "storage/maze_board.h"

#include <algorithm>

namespace sokoban {

int GameModel::pixelToCell(int x, int y) const {
    if (layout_.cellSize <= 0) return -1;
    const int col = (x + 1) / layout_.cellSize - layout_.originCol;
    const int row = (y + 1) / layout_.cellSize - layout_.originRow;
    if (col < 0 || col > cols() - 1 || row < 0 || row > rows() - 1) return -1;
    return col + row * cols();
}

void GameModel::Image1MouseDown(bool rightButtonAlone, int x, int y) {
    stopWalk();
    if (rightButtonAlone) {
        tbUndoClick();
        return;
    }
    if (layout_.cellSize <= 0) return;
    const int cell = pixelToCell(x, y);
    if (cell < 0) {
        send(event::Sound{Effect::Pong});
        return;
    }
    // A box waits for the release: dragged, it goes where it is dropped.
    const auto code = cells()[static_cast<std::size_t>(cell)];
    if (!demo_.running && (code == kBox || code == kBoxOnTarget)) {
        aids_.dragFrom = cell;
        return;
    }
    BlockClick(cell);
}

void GameModel::BlockClick(int cell) {
    if (demo_.running) return;
    // The search below rewrites the walk's path; a walk still running would go on
    // along whatever it leaves there.
    stopWalk();
    walk_.connected = false;
    if (cell == manPos() || !position().contains(cell)) return;
    const int code = cells()[static_cast<std::size_t>(cell)];
    const char* word = moveWordBetween(manPos(), cell, cols());
    if (code == kOutside || code == kWall) {
        send(event::Sound{Effect::Pong});
    } else if (code == kBox || code == kBoxOnTarget) {
        if (word)
            KeyMove(word);
        else
            send(event::Sound{Effect::Pong});
    } else if (code == kFloor || code == kTarget) {
        if (word) {
            KeyMove(word);
            return;
        }
        if (!position().contains(manPos())) return;
        // The shortest walk when the player chose it, or the game's own greedy one.
        const core::Board board = position().board();
        const auto path = aids_.options.shortestWalk == 1
                              ? core::shortestWalk(board, manPos(), cell)
                              : core::greedyWalk(board, manPos(), cell);
        walk_.connected =
            path && !path->empty() && walk_.setPath(manPos(), *path, cols(), cellCount());
        if (!walk_.connected) {
            send({event::Sound{Effect::Pong}, event::Cursor{"dead"}});
            return;
        }
        startWalk();
    }
}

void GameModel::startWalk() {
    const int speeds[] = {20, 50, 100};
    const int s = settings_.moveSpeed;
    walk_.begin(s >= 1 && s <= 3 ? speeds[s - 1] : walk_.walkInterval);
    send(event::Walking{true, walk_.walkInterval});
}

void GameModel::stopWalk() {
    walk_.walking = false;
    send(event::Walking{false, 0});
}

void GameModel::Timer2Timer() {
    // A tick that was already on its way when the walk ended does nothing.
    if (!walk_.walking) return;
    if (walk_.walkIndex < walk_.walkCount || walk_.walkCount == 0)
        KeyMove(walk_.walkPath[static_cast<std::size_t>(walk_.walkIndex)].dir);
    ++walk_.walkIndex;
    if (walk_.walking && walk_.walkIndex > walk_.walkCount - 1) stopWalk();
}

void GameModel::Image1MouseMove(int x, int y) {
    if (layout_.cellSize <= 0) return;
    const int cell = pixelToCell(x, y);
    if (cell < 0) {
        send(event::Cursor{"dead"});
        return;
    }
    if (cell == hoverCell_) return;
    if (aids_.dragFrom >= 0) {
        dragOver(aids_.dragFrom, cell);
        hoverCell_ = cell;
        return;
    }
    if (cell == manPos()) {
        send(event::Cursor{"ques"});
        return;
    }
    const int code = cells()[static_cast<std::size_t>(cell)];
    std::string cursor = "go";
    if (code == kOutside || code == kWall) {
        cursor = "dead";
    } else if (code == kBox || code == kBoxOnTarget) {
        const char* word = moveWordBetween(manPos(), cell, cols());
        cursor = word ? word : "dead";
    }
    send(event::Cursor{cursor});
    hoverCell_ = cell;
}

} // namespace sokoban

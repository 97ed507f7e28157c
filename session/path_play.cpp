// The mouse's shortest ways: walk_.walking to a distant cell along a shortest
// path, and dragging a box to the cell it should go to.
#include "game_model.h"

#include "core/paths.h"
#include "storage/maze_board.h"

namespace sokoban {

namespace {

bool isBoxCode(int code) {
    return code == kBox || code == kBoxOnTarget;
}

} // namespace

bool GameModel::dragPush(int box, int goal) {
    const auto path = core::boxPath(position().board(), box, goal);
    if (!path) return false;
    if (!walk_.setPath(manPos(), *path, cols(), cellCount())) {
        // Longer than a walk holds: made at once.
        for (const auto code : *path)
            KeyMove(kDirections[code].word);
        return true;
    }
    startWalk();
    return true;
}

void GameModel::dragOver(int from, int cell) {
    if (cell == from) {
        const char* word = moveWordBetween(manPos(), cell, cols());
        send(event::Cursor{word ? word : "dead"});
        return;
    }
    const bool can = core::boxPath(position().board(), from, cell).has_value();
    send(event::Cursor{can ? "go" : "dead"});
}

void GameModel::Image1MouseUp(int x, int y) {
    const int from = aids_.dragFrom;
    aids_.dragFrom = -1;
    if (from < 0 || demo_.running || layout_.cellSize <= 0) return;
    const int cell = pixelToCell(x, y);
    // A press and release on the same box is a plain click.
    if (cell == from) {
        BlockClick(from);
        return;
    }
    if (!isBoxCode(cells()[static_cast<std::size_t>(from)])) return;
    if (cell < 0 || !dragPush(from, cell)) {
        send({event::Sound{Effect::Pong}, event::Cursor{"dead"}});
        hoverCell_ = cell;
    }
}

} // namespace sokoban

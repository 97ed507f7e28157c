// Undo and redo of single moves, beside the push undo: both move along the
// one line of play the history keeps.
#include "game_model.h"

#include <algorithm>

namespace sokoban {

event::Moved GameModel::redrawnFrom(const Position& before) const {
    event::Moved m;
    m.workerFrom = before.contains(before.man) ? before.man : -1;
    m.workerTo = manPos();
    m.facing = manDir_ - 1;
    const std::size_t n = std::min(before.cells.size(), cells().size());
    for (std::size_t i = 0; i < n; ++i)
        if (before.cells[i] != cells()[i]) m.cells.push_back(static_cast<int>(i));
    return m;
}

void GameModel::mUndoMoveClick() {
    stopWalk();
    if (demo_.running || !history_.canUndo()) return;
    const History::Undone undone = history_.undo();
    manDir_ = kDirections[undone.code].manDir;
    const core::MoveOutcome& back = undone.back;
    send({event::Sound{Effect::Undo},
          event::Moved{back.workerFrom, back.workerTo, back.boxFrom, back.boxTo, manDir_ - 1, {}},
          event::Status{1, movesText()}, event::Status{2, pushesText()}});
    clearDeadlockWarning();
    if (!history_.canUndo()) send(event::Enable{Control::Undo, false});
}

void GameModel::mRedoClick() {
    stopWalk();
    if (demo_.running || !history_.canRedo()) return;
    makeMove(history_.redoCode(), true);
}

void GameModel::afterPushUndo() {
    aids_.dragFrom = -1;
    clearDeadlockWarning();
}

void GameModel::enterLevelAids() {
    if (aids_.assistant) aids_.assistant->cancel();
    aids_.planFrom.reset();
    aids_.plan.clear();
    aids_.dragFrom = -1;
    aids_.warningShown = false;
    ++aids_.levelEntries;
}

} // namespace sokoban

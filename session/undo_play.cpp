// Undo and redo of single moves, beside the push undo of game.tmp: the model
// keeps the position before every move of the line as it now stands, and the
// move log's first moveCount entries stay that line.
#include "game_model.h"

namespace sokoban {

Position GameModel::position() const {
    Position p;
    p.cells = maze.cells;
    p.man = manPos;
    p.moves = moveCount;
    p.pushes = pushCount;
    p.logOverflow = logOverflow;
    return p;
}

bool GameModel::redrawChanged(const Cells& before, int manBefore) {
    bool changed = manBefore != manPos;
    for (int i = 0; i < kCells; ++i)
        if (before[static_cast<std::size_t>(i)] != maze.cells[static_cast<std::size_t>(i)]) {
            view_.DrawCell(i);
            changed = true;
        }
    if (manBefore >= 0 && manBefore < kCells) view_.DrawCell(manBefore);
    view_.DrawMan(manDir - 1);
    return changed;
}

void GameModel::setPosition(const Position& p) {
    const Cells before = maze.cells;
    const int manBefore = manPos;
    maze.cells = p.cells;
    manPos = p.man;
    moveCount = p.moves;
    pushCount = p.pushes;
    logOverflow = p.logOverflow;
    redrawChanged(before, manBefore);
    view_.SetStatusText(1, movesText());
    view_.SetStatusText(2, pushesText());
    clearDeadlockWarning();
}

void GameModel::recordMove(int code) {
    aids.history.record(position(), code);
}

void GameModel::mUndoMoveClick() {
    stopWalk();
    if (demoMode || !aids.history.canUndo()) return;
    const Position now = position();
    const MoveHistory::Step step = aids.history.takeBack();
    // A push taken back takes its record of the push undo with it, which
    // holds just the position restored here.
    if (step.before.cells != now.cells && undoCount > 0) --undoCount;
    manDir = kDirections[step.code].manDir;
    view_.PlayEffect("undo");
    setPosition(step.before);
    if (!aids.history.canUndo()) view_.SetUndoEnabled(false);
}

void GameModel::mRedoClick() {
    stopWalk();
    if (demoMode || !aids.history.canRedo()) return;
    aids.history.beginRedo();
    try {
        KeyMove(kDirections[aids.history.redoCode()].word);
    } catch (...) {
        aids.history.endRedo();
        throw;
    }
    aids.history.endRedo();
}

void GameModel::afterPushUndo() {
    aids.history.rewindTo(position());
    aids.dragFrom = -1;
    clearDeadlockWarning();
}

void GameModel::enterLevelAids() {
    if (aids.assistant) aids.assistant->cancel();
    aids.history.clear();
    aids.planFrom.reset();
    aids.plan.clear();
    aids.demoReturn.reset();
    aids.dragFrom = -1;
    aids.warningShown = false;
    ++aids.levelEntries;
}

} // namespace sokoban

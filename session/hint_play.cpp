// Help from the solver: the next push of a solution (提示), a demonstration
// of the whole solution from the position on the board (求解), and the
// dead squares with the warning after a push that lost the level.
#include "game_model.h"

namespace sokoban {

bool GameModel::solveRefused(const solver::Result& r) {
    using solver::Status;
    switch (r.status) {
    case Status::Solved:
        return r.moves.empty();
    case Status::Cancelled:
        return true; // the player asked for it: the board stays as it is
    case Status::Unsolvable:
        dialogs_.information(MessageId::PositionUnsolvable);
        return true;
    case Status::Timeout:
        dialogs_.information({MessageId::SolveTimedOut,
                              aids.assistant ? static_cast<long long>(aids.assistant->timeSeconds)
                                             : TPlayOptions::kDefaultSeconds});
        return true;
    case Status::Memory:
        dialogs_.information(MessageId::SolveOutOfMemory);
        return true;
    case Status::Invalid:
        dialogs_.information(MessageId::PositionInvalid);
        return true;
    }
    return true;
}

void GameModel::mHintClick() {
    withPlan([this] { makePlanMoves(1); });
}

// Runs `use` on the plan for the board as it stands: the one found before
// when the player has kept to it, else a new one from the solver.
void GameModel::withPlan(const std::function<void()>& use) {
    stopWalk();
    if (demoMode || mazeWidth == 0 || solved() || (levelCount == 0 && !xsbMode)) return;
    const Position asked = position();
    if (aids.planFrom && aids.planFrom->sameBoard(asked) && !aids.plan.empty()) {
        use();
        return;
    }
    if (!aids.assistant || aids.assistant->busy()) return;
    TMazeData m;
    m.cells = maze.cells;
    m.man = static_cast<std::int16_t>(manPos);
    aids.assistant->start(m, [this, asked, use](const solver::Result& r) {
        guarded([&] { planFound(asked, r, use); });
    });
}

void GameModel::planFound(const Position& asked, const solver::Result& r,
                          const std::function<void()>& use) {
    // The player may have gone on meanwhile; the answer is then for a board
    // that is gone.
    if (demoMode || !position().sameBoard(asked)) return;
    if (solveRefused(r)) return;
    aids.planFrom = asked;
    aids.plan = r.moves;
    use();
}

void GameModel::makePlanMoves(std::size_t pushes) {
    std::vector<std::uint8_t> plan = std::move(aids.plan);
    aids.plan.clear();
    aids.planFrom.reset();
    const int entries = aids.levelEntries;
    std::size_t i = 0, pushed = 0;
    while (i < plan.size() && pushed < pushes) {
        const int code = plan[i++];
        const int ahead = manPos + kDirections[code].step;
        const bool push = ahead >= 0 && ahead < kCells &&
                          (maze.cells[static_cast<std::size_t>(ahead)] == kBox ||
                           maze.cells[static_cast<std::size_t>(ahead)] == kBoxOnTarget);
        const Position before = position();
        KeyMove(kDirections[code].word);
        // Solved and on to the next level, or a move the board refused.
        if (aids.levelEntries != entries || position().sameBoard(before)) return;
        if (push) ++pushed;
    }
    if (i < plan.size()) {
        aids.planFrom = position();
        aids.plan.assign(plan.begin() + static_cast<std::ptrdiff_t>(i), plan.end());
    }
}

void GameModel::mSolveClick() {
    withPlan([this] { startSolveDemo(aids.plan); });
}

void GameModel::startSolveDemo(const std::vector<std::uint8_t>& moves) {
    // The demonstration replays the line so far and then the solution, as
    // the answer record the demonstration timer and the N key read.
    if (static_cast<std::size_t>(moveCount) + moves.size() >= 4095) {
        dialogs_.information(MessageId::SolutionTooLongToShow);
        return;
    }
    SolveDemoReturn back;
    back.at = position();
    back.undoCount = undoCount;
    back.history = aids.history;
    back.moveLog = moveLog;
    back.answerEnabled = !xsbMode && levelCount > 0 && curLevel >= 1 &&
                         files().sol.count() >= curLevel &&
                         files().sol.get<TAnswerData>(curLevel - 1).moves != 0;
    aids.demoReturn = std::move(back);

    TAnswerData a;
    a.level = static_cast<std::int16_t>(curLevel);
    a.moves = static_cast<std::int16_t>(moveCount + static_cast<int>(moves.size()));
    for (int i = 0; i < moveCount; ++i)
        a.setMove(i, moveLog[static_cast<std::size_t>(i)]);
    for (std::size_t j = 0; j < moves.size(); ++j)
        a.setMove(moveCount + static_cast<int>(j), moves[j]);
    answerRec = a;

    demoMode = true;
    demoPaused = false;
    demoButtons = DemoButtons::Running;
    view_.SetDemoButtons(demoButtons);
    view_.SetAnswerEnabled(true); // its button pauses and resumes
    const int speeds[] = {50, 200, 500};
    const int s = settings.demoSpeed;
    if (s >= 1 && s <= 3) {
        demoInterval = speeds[s - 1];
        view_.SetDemoInterval(demoInterval);
    }
    if (settings.stepDemo != 1) view_.SetDemoTimer(true);
}

bool GameModel::endSolveDemo() {
    if (!aids.demoReturn) return false;
    SolveDemoReturn back = std::move(*aids.demoReturn);
    aids.demoReturn.reset();
    stopDemo();
    setPosition(back.at);
    undoCount = back.undoCount;
    aids.history = std::move(back.history);
    moveLog = back.moveLog;
    view_.SetAnswerEnabled(back.answerEnabled);
    view_.SetUndoEnabled(undoCount > 0 || aids.history.canUndo());
    return true;
}

bool GameModel::finishSolveDemo() {
    if (!demoMode || !aids.demoReturn) return false;
    // Shown, not played: nothing is recorded or unlocked, and the player
    // is back where the solution was asked for.
    view_.SetDemoTimer(false);
    dialogs_.information(MessageId::DemoWatched);
    endSolveDemo();
    return true;
}

// --- dead squares ------------------------------------------------------------------

void GameModel::mMarkDeadClick() {
    aids.options.markDead = aids.options.markDead ? 0 : 1;
    clearDeadlockWarning();
    view_.PaintBoard();
}

void GameModel::clearDeadlockWarning() {
    if (!aids.warningShown) return;
    aids.warningShown = false;
    view_.SetStatusText(3, MessageId::None); // back to what the panel shows otherwise
}

void GameModel::checkDeadlock() {
    if (!aids.options.markDead || demoMode) {
        clearDeadlockWarning();
        return;
    }
    // The whole board: a box lost earlier keeps the level lost.
    DeadSquares::Lock lock = DeadSquares::Lock::None;
    for (int i = 0; i < kCells && lock == DeadSquares::Lock::None; ++i) {
        const auto code = maze.cells[static_cast<std::size_t>(i)];
        if (code == kBox || code == kBoxOnTarget) lock = aids.dead.afterPush(maze.cells, i);
    }
    switch (lock) {
    case DeadSquares::Lock::None:
        clearDeadlockWarning();
        break;
    case DeadSquares::Lock::DeadSquare:
        view_.SetStatusText(3, MessageId::DeadSquareWarning);
        aids.warningShown = true;
        break;
    case DeadSquares::Lock::Frozen:
        view_.SetStatusText(3, MessageId::FrozenBoxWarning);
        aids.warningShown = true;
        break;
    }
}

} // namespace sokoban

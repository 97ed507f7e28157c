// Help from the solver: the next push of a solution (the hint), a demonstration
// of the whole solution from the position on the board (solve), and the
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
                              aids_.assistant ? static_cast<long long>(aids_.assistant->timeSeconds)
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
    if (demo_.running || mazeWidth_ == 0 || solved() || (levelCount_ == 0 && !xsbMode_)) return;
    const Position asked = position();
    if (aids_.planFrom && aids_.planFrom->sameBoard(asked) && !aids_.plan.empty()) {
        use();
        return;
    }
    if (!aids_.assistant || aids_.assistant->busy()) return;
    aids_.assistant->start(asked.board(), [this, asked, use](const solver::Result& r) {
        guarded([&] { planFound(asked, r, use); });
    });
}

void GameModel::planFound(const Position& asked, const solver::Result& r,
                          const std::function<void()>& use) {
    // The player may have gone on meanwhile; the answer is then for a board
    // that is gone.
    if (demo_.running || !position().sameBoard(asked)) return;
    if (solveRefused(r)) return;
    aids_.planFrom = asked;
    aids_.plan = r.moves;
    use();
}

void GameModel::makePlanMoves(std::size_t pushes) {
    std::vector<std::uint8_t> plan = std::move(aids_.plan);
    aids_.plan.clear();
    aids_.planFrom.reset();
    const int entries = aids_.levelEntries;
    std::size_t i = 0, pushed = 0;
    while (i < plan.size() && pushed < pushes) {
        const int code = plan[i++];
        const int ahead = manPos() + stepOf(code);
        const bool push = position().contains(ahead) &&
                          (cells()[static_cast<std::size_t>(ahead)] == kBox ||
                           cells()[static_cast<std::size_t>(ahead)] == kBoxOnTarget);
        const Position before = position();
        KeyMove(kDirections[code].word);
        // Solved and on to the next level, or a move the board refused.
        if (aids_.levelEntries != entries || position().sameBoard(before)) return;
        if (push) ++pushed;
    }
    if (i < plan.size()) {
        aids_.planFrom = position();
        aids_.plan.assign(plan.begin() + static_cast<std::ptrdiff_t>(i), plan.end());
    }
}

void GameModel::mSolveClick() {
    withPlan([this] { startSolveDemo(aids_.plan); });
}

void GameModel::startSolveDemo(const std::vector<std::uint8_t>& moves) {
    // The demonstration replays the line so far and then the solution, as
    // the answer record the demonstration timer and the N key read.
    if (static_cast<std::size_t>(moveCount()) + moves.size() >= History::kMostMoves) {
        dialogs_.information(MessageId::SolutionTooLongToShow);
        return;
    }
    demo_.answerWasEnabled = !xsbMode_ && levelCount_ > 0 && curLevel_ >= 1 &&
                             files().sol.count() >= curLevel_ &&
                             files().sol.get<TAnswerData>(curLevel_ - 1).moves != 0;
    history_.setMark();

    TAnswerData a;
    a.level = static_cast<std::int16_t>(curLevel_);
    a.moves = static_cast<std::int16_t>(moveCount() + static_cast<int>(moves.size()));
    const History::MoveLog log = history_.moveLog();
    for (int i = 0; i < moveCount(); ++i)
        a.setMove(i, log[static_cast<std::size_t>(i)]);
    for (std::size_t j = 0; j < moves.size(); ++j)
        a.setMove(moveCount() + static_cast<int>(j), moves[j]);
    demo_.answer = a;
    demo_.longMoves.clear();

    demo_.running = true;
    demo_.paused = false;
    demo_.buttons = DemoButtons::Running;
    // The answer button pauses and resumes it.
    send({event::Demo{demo_.buttons}, event::Enable{Control::Answer, true}});
    demoSpeed();
    if (settings_.stepDemo != 1) send(event::DemoTimer{true});
}

bool GameModel::endSolveDemo() {
    if (!history_.hasMark()) return false;
    stopDemo();
    const Position shown = position();
    history_.backToMark();
    send({redrawnFrom(shown), event::Status{1, movesText()}, event::Status{2, pushesText()}});
    clearDeadlockWarning();
    send({event::Enable{Control::Answer, demo_.answerWasEnabled},
          event::Enable{Control::Undo, history_.canUndo()}});
    return true;
}

bool GameModel::finishSolveDemo() {
    if (!demo_.running || !history_.hasMark()) return false;
    // Shown, not played: nothing is recorded or unlocked, and the player
    // is back where the solution was asked for.
    send(event::DemoTimer{false});
    dialogs_.information(MessageId::DemoWatched);
    endSolveDemo();
    return true;
}

// --- dead squares ------------------------------------------------------------------

void GameModel::mMarkDeadClick() {
    aids_.options.markDead = aids_.options.markDead ? 0 : 1;
    clearDeadlockWarning();
    send(event::Repaint{});
}

void GameModel::clearDeadlockWarning() {
    if (!aids_.warningShown) return;
    aids_.warningShown = false;
    send(event::Status{3, MessageId::None}); // back to what the panel shows otherwise
}

void GameModel::checkDeadlock() {
    if (!aids_.options.markDead || demo_.running) {
        clearDeadlockWarning();
        return;
    }
    // The whole board: a box lost earlier keeps the level lost.
    DeadSquares::Lock lock = DeadSquares::Lock::None;
    for (int i = 0; i < cellCount() && lock == DeadSquares::Lock::None; ++i) {
        const auto code = cells()[static_cast<std::size_t>(i)];
        if (code == kBox || code == kBoxOnTarget) lock = aids_.dead.afterPush(cells(), i);
    }
    switch (lock) {
    case DeadSquares::Lock::None:
        clearDeadlockWarning();
        break;
    case DeadSquares::Lock::DeadSquare:
        send(event::Status{3, MessageId::DeadSquareWarning});
        aids_.warningShown = true;
        break;
    case DeadSquares::Lock::Frozen:
        send(event::Status{3, MessageId::FrozenBoxWarning});
        aids_.warningShown = true;
        break;
    }
}

} // namespace sokoban

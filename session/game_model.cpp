#include "game_model.h"

#include "session/level_text_play.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <vector>

namespace sokoban {

const DirectionInfo kDirections[4] = {
    {"up", 1, -kCols, 0},
    {"down", 3, kCols, 1},
    {"left", 5, -1, 2},
    {"right", 7, 1, 3},
};

int directionCode(const std::string& word) {
    for (const auto& d : kDirections)
        if (word == d.word) return d.code;
    return -1;
}

namespace {

bool inGrid(int i) { return i >= 0 && i < kCells; }

} // namespace

GameModel::GameModel(GameView& view, Dialogs& dialogs) : view_(view), dialogs_(dialogs) {}

std::string GameModel::builtinFile(int item) {
    static const char* names[] = {"game.box", "normal.box", "veryhard.box", "easy.box",
                                  "impossible.box"};
    return item >= 1 && item <= 5 ? names[item - 1] : "";
}

void GameModel::guarded(const std::function<void()>& command) {
    try {
        command();
    } catch (const FileError& e) {
        dialogs_.fileError(e);
    }
}

// --- level loading ------------------------------------------------------------

bool GameModel::OpenGame() {
    const OpenedSet opened = openLevelSet(gameFile, appDir);
    switch (opened.status) {
    case OpenStatus::Missing:
        dialogs_.error(MessageId::SetFileMissing);
        return false;
    case OpenStatus::BadFormat:
        dialogs_.error(MessageId::BadLevelSetFile);
        return false;
    case OpenStatus::Ok:
        break;
    }
    gameName = opened.gameName;
    levelCount = static_cast<int>(opened.levelCount);
    // A set shortened below the progress, or a progress of 0, still opens:
    // on its last level, or on its first.
    maxLevel = static_cast<std::int16_t>(std::clamp<int>(opened.maxLevel, 1, levelCount));
    curLevel = maxLevel;
    return true;
}

void GameModel::ReadRecord(int n) {
    stopWalk();
    try {
        view_.SetNextEnabled(n < maxLevel);
        const RecordFile levels = files().levels;
        levelCount = static_cast<int>(levels.count());
        maze = levels.get<TMazeData>(n - 1);
        manPos = maze.man;
        moveCount = 0;
        pushCount = 0;
        redrawOnly = false;
        demoMode = false;
        demoPaused = false;
        resumedFromSlot = false;
        logOverflow = false;
        ShowRecord();
    } catch (const std::exception&) {
        dialogs_.error(MessageId::LevelReadFailed);
    }
}

void GameModel::ShowRecord() {
    if (!redrawOnly) {
        xsbMode = false; // an undo only redraws: an XSB level stays one
        view_.RandomFace();
        demoButtons = DemoButtons::Idle;
        view_.SetDemoButtons(demoButtons);
        const CompanionFiles f = files();
        f.bst.padTo(levelCount, TBestData{}.encode());
        bestRec = plausibleBest(f.bst.get<TBestData>(curLevel - 1));
        bestMoves = bestRec.moves;
        bestPushes = bestRec.pushes;
        f.sol.padTo(levelCount, emptyAnswerRecord().encode());
        const auto answer = f.sol.get<TAnswerData>(curLevel - 1);
        view_.SetAnswerEnabled(answer.moves != 0);
    }
    placeBoard(!redrawOnly);
    updateStatus();
    if (!redrawOnly) {
        undoCount = 0;
        // 0 for a level just loaded; a slot's counters after GameLoad.
        undoRec.moves = static_cast<std::int16_t>(moveCount);
        undoRec.pushes = static_cast<std::int16_t>(pushCount);
        undoRec.man = static_cast<std::int16_t>(manPos);
        undoRec.cells = maze.cells;
        undoFile().put(0, undoRec);
        view_.SetUndoEnabled(false);
        enterLevelAids();
    }
}

void GameModel::placeBoard(bool newLevel) {
    const BoundingBox box = boundingBox(maze.cells);
    mazeWidth = box.width();
    mazeHeight = box.height();
    manPos -= normaliseBoard(maze.cells, box);
    // The marks are painted with the board, so they must be this board's.
    if (newLevel) aids.dead.reset(maze.cells, manPos);
    view_.FitBoard();
    view_.PaintBoard();
}

Message GameModel::caption() const {
    static const std::pair<const char*, MessageId> builtins[] = {
        {"game.box", MessageId::CaptionDefaultSet},
        {"easy.box", MessageId::CaptionEasySet},
        {"normal.box", MessageId::CaptionNormalSet},
        {"veryhard.box", MessageId::CaptionVeryHardSet},
        {"impossible.box", MessageId::CaptionImpossibleSet},
    };
    if (xsbMode) return {MessageId::CaptionXsb, xsbFile};
    const std::string dir = dirPrefix(appDir);
    for (const auto& [file, id] : builtins)
        if (gameFile == dir + file) return {id, curLevel};
    return {MessageId::CaptionOtherSet, gameFile, curLevel};
}

Message GameModel::levelText() const {
    if (xsbMode) return MessageId::LevelPanelXsb;
    return {MessageId::LevelPanel, curLevel, levelCount};
}

Message GameModel::movesText() const {
    if (!bestMoves) return {MessageId::MovesPanelNoBest, moveCount};
    return {MessageId::MovesPanel, moveCount, bestMoves};
}

Message GameModel::pushesText() const {
    if (!bestPushes) return {MessageId::PushesPanelNoBest, pushCount};
    return {MessageId::PushesPanel, pushCount, bestPushes};
}

void GameModel::updateStatus() {
    view_.SetCaption(caption());
    view_.SetStatusText(0, levelText());
    view_.SetStatusText(1, movesText());
    view_.SetStatusText(2, pushesText());
}

// --- play -----------------------------------------------------------------------

bool GameModel::solved() const {
    return std::find(maze.cells.begin(), maze.cells.end(), kBox) == maze.cells.end();
}

void GameModel::logMove(int code) {
    // A demonstration's moves are logged too: after a stopped demonstration
    // the player finishes from where it left the board, and the stored
    // answer must hold the whole way from the start.
    if (moveCount >= 4095) logOverflow = true;
    moveLog[static_cast<std::size_t>(moveCount)] = static_cast<std::uint8_t>(code);
    if (moveCount < 4095) ++moveCount;
}

void GameModel::KeyMove(const std::string& direction) {
    const int code = directionCode(direction);
    if (code < 0 || !inGrid(manPos)) return;
    const DirectionInfo& d = kDirections[code];
    const int row = manPos / kCols, col = manPos % kCols;
    if ((code == 0 && row == 0) || (code == 1 && row == kRows - 1) ||
        (code == 2 && col == 0) || (code == 3 && col == kCols - 1))
        return;
    manDir = d.manDir;

    const int next = manPos + d.step;
    int beyond = next + d.step;
    if (code >= 2 ? beyond / kCols != next / kCols || beyond < 0 : !inGrid(beyond)) beyond = -1;
    auto& cells = maze.cells;
    const auto at = [&](int i) { return cells[static_cast<std::size_t>(i)]; };

    if (at(next) == kOutside || at(next) == kWall) {
        view_.PlayEffect("PONG");
        return;
    }
    if (at(next) == kFloor || at(next) == kTarget) {
        view_.PlayEffect("MOVE");
        recordMove(code);
        const int left = manPos;
        manPos = next;
        view_.DrawMan(manDir - 1);
        view_.DrawCell(left);
        logMove(code);
        view_.SetStatusText(1, movesText());
        return;
    }
    const bool beyondFree = beyond >= 0 && (at(beyond) == kFloor || at(beyond) == kTarget);
    if (!beyondFree || at(next) > kBoxOnTarget) {
        view_.PlayEffect("PONG");
        view_.SetBoardCursor("dead");
        return;
    }
    // The push happens only once its undo record is on disk; a failed write
    // ends here with the error report and leaves board and history in step.
    undoRec.moves = static_cast<std::int16_t>(moveCount);
    undoRec.pushes = static_cast<std::int16_t>(pushCount);
    undoRec.man = static_cast<std::int16_t>(manPos);
    undoRec.cells = cells;
    undoFile().put(undoCount + 1, undoRec);
    ++undoCount;
    recordMove(code);
    view_.PlayEffect("PUSH");
    view_.SetUndoEnabled(true);

    const int left = manPos;
    manPos = next;
    cells[static_cast<std::size_t>(next)] -= 2;
    cells[static_cast<std::size_t>(beyond)] += 2;
    view_.DrawCell(beyond);
    view_.DrawCell(left);
    logMove(code);
    view_.DrawMan(manDir - 1);
    view_.SetStatusText(1, movesText());
    ++pushCount;
    view_.SetStatusText(2, pushesText());
    checkDeadlock();
    if (solved()) PassGame();
}

void GameModel::tbUndoClick() {
    stopWalk();
    if (endSolveDemo()) return; // the demonstration goes, and with it its pushes
    if (levelCount == 0 && !xsbMode) return;
    undoRec = undoFile().get<TSaveData>(undoCount);
    if (--undoCount < 0) {
        view_.SetUndoEnabled(false);
        undoCount = 0;
    }
    view_.PlayEffect("undo");
    moveCount = std::clamp<int>(undoRec.moves, 0, 4095);
    pushCount = undoRec.pushes;
    manPos = undoRec.man;
    maze.cells = undoRec.cells;
    if (moveCount < 4095) logOverflow = false;
    redrawOnly = true;
    ShowRecord();
    afterPushUndo();
}

void GameModel::stopDemo() {
    demoMode = false;
    demoPaused = false;
    view_.SetDemoTimer(false);
    demoButtons = DemoButtons::Idle;
    view_.SetDemoButtons(demoButtons);
}

void GameModel::tbRetryGameClick() {
    stopWalk();
    if (demoButtons != DemoButtons::Idle) {
        stopDemo();
        endSolveDemo();
        return;
    }
    if (xsbMode) {
        PlayXSB(xsbFile);
        return;
    }
    demoMode = false;
    if (levelCount > 0) ReadRecord(curLevel);
}

void GameModel::UnlockAllLevels() {
    if (levelCount == 0) return;
    maxLevel = static_cast<std::int16_t>(levelCount);
    raiseProgress(files().sav, maxLevel);
    dialogs_.information(MessageId::AllLevelsUnlocked);
    view_.SetNextEnabled(true);
}

void GameModel::FormKeyDown(GameKey key, unsigned shift) {
    // Any key ends a walk; an arrow then makes its own step from where the
    // worker stands.
    stopWalk();
    if (key == GameKey::Escape) view_.Minimise();
    if (key == GameKey::F12 && shift == (kCtrl | kShift)) UnlockAllLevels();
    if (key == GameKey::F12 && shift == kCtrl) {
        managerUnlocked = true;
        view_.SetManagerEnabled(true);
        dialogs_.beep();
    }
    if (key == GameKey::Equals && shift == 0) {
        demoInterval -= 10;
        if (demoInterval <= 50) demoInterval = 50;
        view_.SetDemoInterval(demoInterval);
    }
    if (key == GameKey::Minus && shift == 0) {
        demoInterval += 10;
        if (demoInterval >= 2000) demoInterval = 2000;
        view_.SetDemoInterval(demoInterval);
    }
    if (key == GameKey::R && shift == 0) tbRetryGameClick();
    if (key == GameKey::N && shift == 0 && (demoMode || demoPaused))
        KeyMove(kDirections[answerRec.moveAt(moveCount)].word);
    if (demoMode) return;
    switch (key) {
    case GameKey::Left: manDir = 5; KeyMove("left"); break;
    case GameKey::Up: manDir = 1; KeyMove("up"); break;
    case GameKey::Right: manDir = 7; KeyMove("right"); break;
    case GameKey::Down: manDir = 3; KeyMove("down"); break;
    default: break;
    }
}

void GameModel::storeAnswer() {
    TAnswerData a;
    a.level = static_cast<std::int16_t>(curLevel);
    a.moves = static_cast<std::int16_t>(moveCount);
    for (int i = 0; i < TAnswerData::kCapacity; ++i) a.setMove(i, moveLog[static_cast<std::size_t>(i)]);
    storeSolveAnswer(files(), curLevel - 1, a,
                     {a.moves, static_cast<std::int16_t>(std::min(pushCount, 32767))});
}

void GameModel::setBest(const TBestData& best) {
    bestRec = best;
    bestMoves = best.moves;
    bestPushes = best.pushes;
    view_.SetStatusText(1, movesText());
    view_.SetStatusText(2, pushesText());
}

void GameModel::PassGame() {
    // Nothing moves behind the messages, so the counts shown are the counts
    // written.
    stopWalk();
    view_.SetDemoTimer(false);
    if (finishSolveDemo()) return;
    if (xsbMode && levelCount == 0) {
        // A single XSB level with no level set open: nothing to record.
        dialogs_.information(MessageId::LevelSolved);
        return;
    }
    const CompanionFiles f = files();
    f.bst.padTo(levelCount, TBestData{}.encode());
    f.sol.padTo(levelCount, emptyAnswerRecord().encode());
    if (xsbMode) {
        dialogs_.information(MessageId::LevelSolved);
        return;
    }
    // The record as it stands now: the level may have been solved before
    // without leaving the board (the last level stays on it).
    const TBestData old = plausibleBest(f.bst.get<TBestData>(curLevel - 1));
    // A count beyond what the record holds stays the largest it can hold.
    const auto moves16 = static_cast<std::int16_t>(std::min(moveCount, 32767));
    const auto pushes16 = static_cast<std::int16_t>(std::min(pushCount, 32767));
    const bool first = old.moves == 0;
    const bool fewerMoves = !first && moveCount < old.moves;
    const bool fewerPushes = !first && pushCount < old.pushes;
    TBestData best = old;
    if (first) {
        best = {moves16, pushes16};
    } else {
        if (fewerMoves) best.moves = moves16;
        if (fewerPushes) best.pushes = pushes16;
    }

    if (demoMode) {
        stopDemo();
        setBest(improveBest(f.bst, curLevel - 1, best));
        if (!managerUnlocked) {
            dialogs_.information(MessageId::DemoWatched);
            tbRetryGameClick();
        }
        return;
    }

    // Every record is written before the first message, so a game ended
    // during the congratulation has kept the solve.
    const bool quiet = settings.noPassInfo == 1;
    std::vector<Message> messages{{MessageId::Congratulations, curLevel}};
    if (first) {
        messages.push_back({MessageId::FirstSolve, curLevel, moveCount, pushCount});
    } else if (!quiet && fewerMoves && fewerPushes) {
        messages.push_back({MessageId::BothRecordsBroken, moveCount, pushCount});
    } else if (!quiet && fewerMoves) {
        messages.push_back({MessageId::MovesRecordBroken, moveCount, pushCount});
    } else if (!quiet && fewerPushes) {
        messages.push_back({MessageId::PushesRecordBroken, moveCount, pushCount});
    }

    // The move log replays the level only when it holds every move made.
    bool keepAnswer = false;
    if (!resumedFromSlot && !logOverflow) {
        const auto stored = f.sol.get<TAnswerData>(curLevel - 1);
        if (stored.moves == 0) {
            keepAnswer = true;
            if (!quiet) messages.push_back(MessageId::SolutionStored);
        } else if (fewerMoves || fewerPushes) {
            keepAnswer = true;
            if (!quiet) messages.push_back(MessageId::BetterAnswerStored);
        }
    }

    const bool progress = curLevel >= maxLevel;
    std::int16_t newMax = maxLevel;
    if (progress) {
        if (curLevel < levelCount) newMax = static_cast<std::int16_t>(curLevel + 1);
        if (curLevel == levelCount) messages.push_back(MessageId::AllLevelsSolved);
    }

    // The answer first and the progress last: a set whose writes a kill cut
    // short still opens consistently (see openLevelSet). Each write merges
    // with what another copy of the game may have written meanwhile.
    if (keepAnswer) storeAnswer();
    if (first || fewerMoves || fewerPushes) best = improveBest(f.bst, curLevel - 1, best);
    if (progress)
        maxLevel = static_cast<std::int16_t>(
            std::clamp<int>(raiseProgress(f.sav, newMax), newMax, levelCount));
    setBest(best);

    for (const auto& m : messages)
        dialogs_.information(m);
    tbNextRecordClick();
}

// --- navigation and slots -----------------------------------------------------

void GameModel::tbPreviousRecordClick() {
    stopWalk();
    if (levelCount == 0 || curLevel < 2) return;
    demoMode = false;
    --curLevel;
    ReadRecord(curLevel);
    xsbMode = false;
}

void GameModel::tbNextRecordClick() {
    stopWalk();
    if (levelCount == 0 || curLevel >= levelCount) return;
    if (curLevel < maxLevel || managerUnlocked) {
        demoMode = false;
        ++curLevel;
        ReadRecord(curLevel);
        xsbMode = false;
    } else {
        dialogs_.information(MessageId::SolveThisLevelFirst);
    }
}

void GameModel::tbSelectRecordClick() {
    stopWalk();
    if (levelCount == 0) return;
    const auto answer = dialogs_.inputBox(MessageId::ChooseLevelCaption,
                                          {MessageId::ChooseLevelPrompt, maxLevel}, "");
    if (!answer || isBlankAnswer(*answer)) return;
    const auto n = parseWholeNumber(*answer);
    if (!n) {
        dialogs_.warning(MessageId::EnterValidNumber);
        return;
    }
    if (*n < 1 || *n > levelCount) {
        dialogs_.warning(MessageId::EnterValidLevel);
        return;
    }
    if (*n > maxLevel) {
        dialogs_.information(MessageId::SolveThisLevelFirst);
        return;
    }
    demoMode = false;
    curLevel = static_cast<int>(*n);
    ReadRecord(curLevel);
    xsbMode = false;
}

bool GameModel::switchGameFile(const std::string& path) {
    // A set that cannot be opened leaves the open one in force, file name
    // too, also when a file error ends the opening half-way.
    stopWalk();
    const std::string previous = gameFile;
    gameFile = path;
    try {
        if (OpenGame()) return true;
    } catch (...) {
        gameFile = previous;
        throw;
    }
    gameFile = previous;
    return false;
}

void GameModel::openOtherSet(const std::string& path) {
    if (demoMode || demoPaused || demoButtons != DemoButtons::Idle) stopDemo();
    if (!switchGameFile(path)) return;
    checkedGameItem = 0;
    view_.SetGameItemChecked(0);
    ReadRecord(curLevel);
}

void GameModel::SelectGames(int item) {
    if (item < 1 || item > 5 || item == checkedGameItem) return;
    if (!switchGameFile(dirPrefix(appDir) + builtinFile(item))) return;
    checkedGameItem = item;
    view_.SetGameItemChecked(item);
    settings.levelSet = static_cast<std::uint8_t>(item);
    ReadRecord(curLevel);
}

void GameModel::N24Click() {
    const auto chosen = dialogs_.openFile(MessageId::OpenSetFilter);
    if (!chosen) return;
    if (isLevelTextFile(*chosen)) {
        LevelTextCommands(*this, view_, dialogs_).openFile(*chosen);
        return;
    }
    if (!switchGameFile(*chosen)) return;
    checkedGameItem = 0;
    view_.SetGameItemChecked(0);
    ReadRecord(curLevel);
}

void GameModel::openListedSet(const std::string& path, int line) {
    if (!switchGameFile(path)) return;
    settings.levelSet = static_cast<std::uint8_t>(line + 5);
    checkedGameItem = 0;
    view_.SetGameItemChecked(0);
    ReadRecord(curLevel);
}

void GameModel::Gamesave(int slot) {
    if (xsbMode) {
        dialogs_.warning(MessageId::XsbCannotSave);
        return;
    }
    if (levelCount == 0) return;
    saveRec.level = static_cast<std::int16_t>(curLevel);
    saveRec.moves = static_cast<std::int16_t>(moveCount);
    saveRec.pushes = static_cast<std::int16_t>(pushCount);
    saveRec.man = static_cast<std::int16_t>(manPos);
    saveRec.cells = maze.cells;
    files().sav.put(slot, saveRec);
    dialogs_.information({MessageId::GameSaved, slot, curLevel});
}

void GameModel::GameLoad(int slot) {
    stopWalk();
    if (levelCount == 0) return;
    saveRec = files().sav.get<TSaveData>(slot);
    // A slot of another or since shortened set is as good as empty.
    if ((saveRec.level == 1 && saveRec.moves == 1) || saveRec.level < 1 ||
        saveRec.level > levelCount) {
        dialogs_.error(MessageId::NoSuchSlot);
        return;
    }
    xsbMode = false;
    curLevel = saveRec.level;
    moveCount = std::clamp<int>(saveRec.moves, 0, 4095);
    pushCount = saveRec.pushes;
    manPos = saveRec.man;
    maze.cells = saveRec.cells;
    redrawOnly = false;
    demoMode = false;
    demoPaused = false;
    resumedFromSlot = true;
    logOverflow = false;
    ShowRecord();
}

} // namespace sokoban

#include "game_model.h"

#include "session/level_text_play.h"
#include "storage/maze_board.h"

#include <algorithm>
#include <cctype>
#include <chrono>
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

const char* moveWordBetween(int from, int to, int cols) {
    if (cols <= 0 || from < 0 || to < 0) return nullptr;
    const int dr = to / cols - from / cols, dc = to % cols - from % cols;
    for (const auto& d : kDirections)
        if (dr == core::kDRow[d.code] && dc == core::kDCol[d.code]) return d.word;
    return nullptr;
}

GameModel::GameModel(GameView& view, Dialogs& dialogs)
    : view_(view), dialogs_(dialogs), clock_([] {
          return std::chrono::duration_cast<std::chrono::seconds>(
                     std::chrono::steady_clock::now().time_since_epoch())
              .count();
      }) {}

GameModel::~GameModel() {
    try {
        keepTimePlayed();
    } catch (...) { // the game is closing: nothing is left to report it to
    }
}

std::filesystem::path GameModel::statsFile() const {
    return collection_ ? levelStatsFile(gameFile_, appDir_) : std::filesystem::path();
}

// Statistics never stand in the way of play: a file that cannot be written
// (a full disk, a read-only folder) leaves them as they were.
void GameModel::keepTimePlayed() {
    if (statsLevel_ == 0) return;
    // A window left open overnight is no hour of play.
    constexpr std::int64_t kLongestStretch = 3600;
    const std::int64_t now = clock_();
    const std::int64_t spent = std::clamp<std::int64_t>(now - statsSince_, 0, kLongestStretch);
    statsSince_ = now;
    try {
        if (spent > 0) addLevelStats(statsPath_, statsLevel_, {0, spent});
    } catch (const FileError&) {
    }
}

void GameModel::enterLevelStats(int level) {
    keepTimePlayed();
    statsLevel_ = collection_ && level > 0 ? level : 0;
    statsPath_ = statsFile();
    statsSince_ = clock_();
    attemptPending_ = statsLevel_ != 0;
}

void GameModel::countAttempt() {
    if (!attemptPending_) return;
    attemptPending_ = false;
    try {
        if (statsLevel_ != 0 && !xsbMode_) addLevelStats(statsPath_, statsLevel_, {1, 0});
    } catch (const FileError&) {
    }
}

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
    const OpenedSet opened = openLevelSet(gameFile_, appDir_);
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
    gameName_ = opened.gameName;
    levelCount_ = static_cast<int>(opened.levelCount);
    collection_ = readCollectionIndex(gameFile_);
    // A collection's answers may be of any length: its moves are counted on.
    history_.setCounterLimit(collection_ ? History::kLongestLine : History::kMostMoves);
    if (collection_) {
        // A collection is open all through; it opens on its first level
        // without a best count.
        maxLevel_ = static_cast<std::int16_t>(std::max(levelCount_, 1));
        const std::vector<bool> open = unsolvedLevels();
        const auto first = std::find(open.begin(), open.end(), true);
        curLevel_ = first == open.end() ? 1 : static_cast<int>(first - open.begin()) + 1;
        return true;
    }
    // A set shortened below the progress, or a progress of 0, still opens:
    // on its last level, or on its first.
    maxLevel_ = static_cast<std::int16_t>(std::clamp<int>(opened.maxLevel, 1, levelCount_));
    curLevel_ = maxLevel_;
    return true;
}

std::vector<bool> GameModel::unsolvedLevels() const {
    std::vector<bool> out(static_cast<std::size_t>(std::max(levelCount_, 0)), true);
    try {
        const RecordFile bst = files().bst;
        const std::int64_t n = std::min<std::int64_t>(bst.count(), levelCount_);
        for (std::int64_t i = 0; i < n; ++i)
            out[static_cast<std::size_t>(i)] = plausibleBest(bst.get<TBestData>(i)).moves == 0;
    } catch (const FileError&) { // best counts that cannot be read count as none
    }
    return out;
}

void GameModel::ReadRecord(int n) {
    stopWalk();
    try {
        enterLevelStats(n);
        send(event::Enable{Control::Next, n < maxLevel_});
        const RecordFile levels = files().levels;
        levelCount_ = static_cast<int>(levels.count());
        const TMazeData maze = levels.get<TMazeData>(n - 1);
        redrawOnly_ = false;
        demo_.running = false;
        demo_.paused = false;
        resumedFromSlot_ = false;
        // A collection's level too large for a record is played from the
        // board its index keeps.
        const core::Board* large = collection_ ? collection_->largeBoard(n) : nullptr;
        enterPosition(large ? Position::ofBoard(*large) : Position::ofRecord(maze.cells, maze.man));
        ShowRecord();
    } catch (const std::exception&) {
        dialogs_.error(MessageId::LevelReadFailed);
    }
}

std::filesystem::path GameModel::longAnswersPath() const {
    return collection_ ? longAnswersFile(gameFile_, appDir_) : std::filesystem::path();
}

core::Moves GameModel::longAnswer(int level) const {
    if (!collection_) return {};
    return readLongAnswer(longAnswersPath(), level);
}

core::Board GameModel::levelBoard(int n) const {
    if (collection_)
        if (const core::Board* large = collection_->largeBoard(n)) return *large;
    return boardOf(files().levels.get<TMazeData>(n - 1));
}

void GameModel::playLevel(int n) {
    curLevel_ = n;
    ReadRecord(n);
}

void GameModel::ShowRecord() {
    if (!redrawOnly_) {
        xsbMode_ = false; // an undo only redraws: an XSB level stays one
        send(event::RandomFace{});
        demo_.buttons = DemoButtons::Idle;
        send(event::Demo{demo_.buttons});
        const CompanionFiles f = files();
        f.bst.padTo(levelCount_, TBestData{}.encode());
        bestRec_ = plausibleBest(f.bst.get<TBestData>(curLevel_ - 1));
        bestMoves_ = bestRec_.moves;
        bestPushes_ = bestRec_.pushes;
        f.sol.padTo(levelCount_, emptyAnswerRecord().encode());
        const auto answer = f.sol.get<TAnswerData>(curLevel_ - 1);
        send(event::Enable{Control::Answer, answer.moves != 0 || !longAnswer(curLevel_).empty()});
    }
    placeBoard(!redrawOnly_);
    updateStatus();
    if (!redrawOnly_) {
        // 0 for a level just loaded; a slot's counters after GameLoad. A
        // board larger than a record is undone from the history alone.
        if (history_.origin().onRecordGrid()) undoFile().put(0, undoRecord(history_.origin()));
        send(event::Enable{Control::Undo, false});
        enterLevelAids();
    }
}

void GameModel::enterPosition(Position p) {
    p.man -= normaliseBoard(p.cells, p.cols, boundingBox(p.cells, p.cols));
    history_.start(p);
}

void GameModel::placeBoard(bool newLevel) {
    // The board is at the top-left corner already: enterPosition put it there.
    const BoundingBox box = boundingBox(cells(), cols());
    mazeWidth_ = box.width();
    mazeHeight_ = box.height();
    // The marks are painted with the board, so they must be this board's.
    if (newLevel) aids_.dead.reset(position().board());
    send(event::NewBoard{});
}

Message GameModel::caption() const {
    static const std::pair<const char*, MessageId> builtins[] = {
        {"game.box", MessageId::CaptionDefaultSet},
        {"easy.box", MessageId::CaptionEasySet},
        {"normal.box", MessageId::CaptionNormalSet},
        {"veryhard.box", MessageId::CaptionVeryHardSet},
        {"impossible.box", MessageId::CaptionImpossibleSet},
    };
    if (xsbMode_) return {MessageId::CaptionXsb, xsbFile_};
    const std::string dir = dirPrefix(appDir_);
    for (const auto& [file, id] : builtins)
        if (gameFile_ == dir + file) return {id, curLevel_};
    if (collection_) return {MessageId::CaptionOtherSet, collection_->name, shownNumber(curLevel_)};
    return {MessageId::CaptionOtherSet, gameFile_, curLevel_};
}

Message GameModel::levelText() const {
    if (xsbMode_) return MessageId::LevelPanelXsb;
    if (collection_)
        return {MessageId::LevelPanel, shownNumber(curLevel_),
                std::max(collection_->textLevels, shownNumber(levelCount_))};
    return {MessageId::LevelPanel, curLevel_, levelCount_};
}

Message GameModel::movesText() const {
    if (!bestMoves_) return {MessageId::MovesPanelNoBest, moveCount()};
    return {MessageId::MovesPanel, moveCount(), bestMoves_};
}

Message GameModel::pushesText() const {
    if (!bestPushes_) return {MessageId::PushesPanelNoBest, pushCount()};
    return {MessageId::PushesPanel, pushCount(), bestPushes_};
}

void GameModel::updateStatus() {
    send({event::Caption{caption()}, event::Status{0, levelText()}, event::Status{1, movesText()},
          event::Status{2, pushesText()}});
}

// --- play -----------------------------------------------------------------------

bool GameModel::solved() const {
    return std::find(cells().begin(), cells().end(), kBox) == cells().end();
}

void GameModel::KeyMove(const std::string& direction) {
    makeMove(directionCode(direction), false);
}

void GameModel::makeMove(int code, bool redo) {
    if (code < 0 || !position().contains(manPos())) return;
    const core::MoveOutcome out = history_.tryMove(code);
    // At the grid's edge the worker does not even turn.
    if (out.kind == core::MoveKind::Blocked && out.obstacle < 0) return;
    manDir_ = kDirections[code].manDir;
    const int facing = manDir_ - 1;

    switch (out.kind) {
    case core::MoveKind::Blocked: {
        const auto in = cells()[static_cast<std::size_t>(out.obstacle)];
        if (in == kOutside || in == kWall)
            send(event::Sound{Effect::Pong});
        else // a box that cannot move
            send({event::Sound{Effect::Pong}, event::Cursor{"dead"}});
        return;
    }
    case core::MoveKind::Step:
        if (!demo_.running) countAttempt();
        // A demonstration's moves are logged too: after a stopped
        // demonstration the player finishes from where it left the board,
        // and the stored answer must hold the whole way from the start.
        if (redo)
            history_.redo();
        else
            history_.move(code);
        send({event::Sound{Effect::Move},
              event::Moved{out.workerFrom, out.workerTo, -1, -1, facing, {}},
              event::Status{1, movesText()}});
        return;
    case core::MoveKind::Push:
        if (!demo_.running) countAttempt();
        break;
    }
    // The push happens only once its undo record is on disk; a failed write
    // ends here with the error report and leaves board and history in step.
    if (position().onRecordGrid()) undoFile().put(undoCount() + 1, undoRecord(position()));
    if (redo)
        history_.redo();
    else
        history_.move(code);
    send({event::Sound{Effect::Push}, event::Enable{Control::Undo, true},
          event::Moved{out.workerFrom, out.workerTo, out.boxFrom, out.boxTo, facing, {}},
          event::Status{1, movesText()}, event::Status{2, pushesText()}});
    checkDeadlock();
    if (solved()) PassGame();
}

void GameModel::tbUndoClick() {
    stopWalk();
    if (endSolveDemo()) return; // the demonstration goes, and with it its pushes
    if (levelCount_ == 0 && !xsbMode_) return;
    // With no push left the level's start comes back, and the button goes;
    // the menu item stays and brings the start back again.
    if (undoCount() == 0) send(event::Enable{Control::Undo, false});
    send(event::Sound{Effect::Undo});
    history_.undoPush();
    redrawOnly_ = true;
    ShowRecord();
    afterPushUndo();
}

void GameModel::stopDemo() {
    demo_.running = false;
    demo_.paused = false;
    demo_.buttons = DemoButtons::Idle;
    send({event::DemoTimer{false}, event::Demo{demo_.buttons}});
}

void GameModel::tbRetryGameClick() {
    stopWalk();
    if (demo_.buttons != DemoButtons::Idle) {
        stopDemo();
        endSolveDemo();
        return;
    }
    if (xsbMode_) {
        PlayXSB(xsbFile_);
        return;
    }
    demo_.running = false;
    if (levelCount_ > 0) ReadRecord(curLevel_);
}

void GameModel::UnlockAllLevels() {
    if (levelCount_ == 0) return;
    maxLevel_ = static_cast<std::int16_t>(levelCount_);
    raiseProgress(files().sav, maxLevel_);
    dialogs_.information(MessageId::AllLevelsUnlocked);
    send(event::Enable{Control::Next, true});
}

void GameModel::FormKeyDown(GameKey key, unsigned shift) {
    // Any key ends a walk; an arrow then makes its own step from where the
    // worker stands.
    stopWalk();
    if (key == GameKey::Escape) send(event::Minimise{});
    if (key == GameKey::F12 && shift == (kCtrl | kShift)) UnlockAllLevels();
    if (key == GameKey::F12 && shift == kCtrl) {
        managerUnlocked_ = true;
        send(event::Enable{Control::Manager, true});
        dialogs_.beep();
    }
    if (key == GameKey::Equals && shift == 0) {
        demo_.interval -= 10;
        if (demo_.interval <= 50) demo_.interval = 50;
        send(event::DemoInterval{demo_.interval});
    }
    if (key == GameKey::Minus && shift == 0) {
        demo_.interval += 10;
        if (demo_.interval >= 2000) demo_.interval = 2000;
        send(event::DemoInterval{demo_.interval});
    }
    if (key == GameKey::R && shift == 0) tbRetryGameClick();
    if (key == GameKey::N && shift == 0 && (demo_.running || demo_.paused))
        KeyMove(kDirections[demo_.moveAt(moveCount())].word);
    if (demo_.running) return;
    switch (key) {
    case GameKey::Left:
        manDir_ = 5;
        KeyMove("left");
        break;
    case GameKey::Up:
        manDir_ = 1;
        KeyMove("up");
        break;
    case GameKey::Right:
        manDir_ = 7;
        KeyMove("right");
        break;
    case GameKey::Down:
        manDir_ = 3;
        KeyMove("down");
        break;
    default:
        break;
    }
}

void GameModel::storeAnswer() {
    if (collection_ && moveCount() > TAnswerData::kCapacity) {
        // Longer than a record: the whole line of play from the level's
        // start, in the collection's long answers; the record is emptied.
        core::Moves moves;
        moves.reserve(history_.done());
        for (std::size_t i = 0; i < history_.done(); ++i)
            moves.push_back(history_.moves()[i].code);
        putLongAnswer(longAnswersPath(), curLevel_, moves);
        files().sol.put(curLevel_ - 1, emptyAnswerRecord());
        return;
    }
    TAnswerData a;
    a.level = static_cast<std::int16_t>(curLevel_);
    a.moves = static_cast<std::int16_t>(moveCount());
    const History::MoveLog log = history_.moveLog();
    for (int i = 0; i < TAnswerData::kCapacity; ++i)
        a.setMove(i, log[static_cast<std::size_t>(i)]);
    const bool stored =
        storeSolveAnswer(files(), curLevel_ - 1, a,
                         {a.moves, static_cast<std::int16_t>(std::min(pushCount(), 32767))});
    if (stored && collection_) putLongAnswer(longAnswersPath(), curLevel_, {});
}

void GameModel::setBest(const TBestData& best) {
    bestRec_ = best;
    bestMoves_ = best.moves;
    bestPushes_ = best.pushes;
    send({event::Status{1, movesText()}, event::Status{2, pushesText()}});
}

void GameModel::PassGame() {
    // Nothing moves behind the messages, so the counts shown are the counts
    // written.
    stopWalk();
    keepTimePlayed();
    send(event::DemoTimer{false});
    if (finishSolveDemo()) return;
    if (xsbMode_ && levelCount_ == 0) {
        // A single XSB level with no level set open: nothing to record.
        dialogs_.information(MessageId::LevelSolved);
        return;
    }
    const CompanionFiles f = files();
    f.bst.padTo(levelCount_, TBestData{}.encode());
    f.sol.padTo(levelCount_, emptyAnswerRecord().encode());
    if (xsbMode_) {
        dialogs_.information(MessageId::LevelSolved);
        return;
    }
    // The record as it stands now: the level may have been solved before
    // without leaving the board (the last level stays on it).
    const TBestData old = plausibleBest(f.bst.get<TBestData>(curLevel_ - 1));
    // A count beyond what the record holds stays the largest it can hold.
    const auto moves16 = static_cast<std::int16_t>(std::min(moveCount(), 32767));
    const auto pushes16 = static_cast<std::int16_t>(std::min(pushCount(), 32767));
    const bool first = old.moves == 0;
    const bool fewerMoves = !first && moveCount() < old.moves;
    const bool fewerPushes = !first && pushCount() < old.pushes;
    TBestData best = old;
    if (first) {
        best = {moves16, pushes16};
    } else {
        if (fewerMoves) best.moves = moves16;
        if (fewerPushes) best.pushes = pushes16;
    }

    if (demo_.running) {
        stopDemo();
        setBest(improveBest(f.bst, curLevel_ - 1, best));
        if (!managerUnlocked_) {
            dialogs_.information(MessageId::DemoWatched);
            tbRetryGameClick();
        }
        return;
    }

    // Every record is written before the first message, so a game ended
    // during the congratulation has kept the solve.
    const bool quiet = settings_.noPassInfo == 1;
    const int shown = shownNumber(curLevel_);
    std::vector<Message> messages{{MessageId::Congratulations, shown}};
    if (first) {
        messages.push_back({MessageId::FirstSolve, shown, moveCount(), pushCount()});
    } else if (!quiet && fewerMoves && fewerPushes) {
        messages.push_back({MessageId::BothRecordsBroken, moveCount(), pushCount()});
    } else if (!quiet && fewerMoves) {
        messages.push_back({MessageId::MovesRecordBroken, moveCount(), pushCount()});
    } else if (!quiet && fewerPushes) {
        messages.push_back({MessageId::PushesRecordBroken, moveCount(), pushCount()});
    }

    // The move log replays the level only when it holds every move made.
    bool keepAnswer = false;
    if (!resumedFromSlot_ && !logOverflow()) {
        const auto stored = f.sol.get<TAnswerData>(curLevel_ - 1);
        if (stored.moves == 0 && longAnswer(curLevel_).empty()) {
            keepAnswer = true;
            if (!quiet) messages.push_back(MessageId::SolutionStored);
        } else if (fewerMoves || fewerPushes) {
            keepAnswer = true;
            if (!quiet) messages.push_back(MessageId::BetterAnswerStored);
        }
    }

    const bool progress = curLevel_ >= maxLevel_;
    std::int16_t newMax = maxLevel_;
    if (progress) {
        if (curLevel_ < levelCount_) newMax = static_cast<std::int16_t>(curLevel_ + 1);
        if (curLevel_ == levelCount_ && !collection_)
            messages.push_back(MessageId::AllLevelsSolved);
    }

    // The answer first and the progress last: a set whose writes a kill cut
    // short still opens consistently (see openLevelSet). Each write merges
    // with what another copy of the game may have written meanwhile.
    if (keepAnswer) storeAnswer();
    if (first || fewerMoves || fewerPushes) best = improveBest(f.bst, curLevel_ - 1, best);
    if (progress)
        maxLevel_ = static_cast<std::int16_t>(
            std::clamp<int>(raiseProgress(f.sav, newMax), newMax, levelCount_));
    setBest(best);
    // A collection is played in any order: it is done when no level is left.
    if (collection_ && first) {
        const std::vector<bool> open = unsolvedLevels();
        if (std::find(open.begin(), open.end(), true) == open.end())
            messages.push_back(MessageId::AllLevelsSolved);
    }

    for (const auto& m : messages)
        dialogs_.information(m);
    tbNextRecordClick();
}

// --- navigation and slots -----------------------------------------------------

void GameModel::tbPreviousRecordClick() {
    stopWalk();
    if (levelCount_ == 0 || curLevel_ < 2) return;
    demo_.running = false;
    --curLevel_;
    ReadRecord(curLevel_);
    xsbMode_ = false;
}

void GameModel::tbNextRecordClick() {
    stopWalk();
    if (levelCount_ == 0 || curLevel_ >= levelCount_) return;
    if (curLevel_ < maxLevel_ || managerUnlocked_) {
        demo_.running = false;
        ++curLevel_;
        ReadRecord(curLevel_);
        xsbMode_ = false;
    } else {
        dialogs_.information(MessageId::SolveThisLevelFirst);
    }
}

void GameModel::nextUnsolvedClick() {
    stopWalk();
    if (levelCount_ == 0) return;
    const std::vector<bool> open = unsolvedLevels();
    for (int k = 1; k <= levelCount_; ++k) {
        const int level = (curLevel_ - 1 + k) % levelCount_ + 1;
        if (!open[static_cast<std::size_t>(level - 1)] || level > maxLevel_) continue;
        if (level == curLevel_ && !xsbMode_) break; // the one in play is the only one left
        demo_.running = false;
        curLevel_ = level;
        ReadRecord(curLevel_);
        xsbMode_ = false;
        return;
    }
    dialogs_.information(MessageId::NoUnsolvedLevel);
}

void GameModel::tbSelectRecordClick() {
    stopWalk();
    if (levelCount_ == 0) return;
    const auto answer = dialogs_.inputBox(
        MessageId::ChooseLevelCaption, {MessageId::ChooseLevelPrompt, shownNumber(maxLevel_)}, "");
    if (!answer || isBlankAnswer(*answer)) return;
    auto n = parseWholeNumber(*answer);
    if (!n) {
        dialogs_.warning(MessageId::EnterValidNumber);
        return;
    }
    if (collection_) {
        // A collection's levels are chosen by their numbers in the text.
        int level = 0;
        for (int k = 1; k <= levelCount_ && level == 0; ++k)
            if (shownNumber(k) == *n) level = k;
        if (level == 0) {
            dialogs_.warning(MessageId::EnterValidLevel);
            return;
        }
        *n = level;
    }
    if (*n < 1 || *n > levelCount_) {
        dialogs_.warning(MessageId::EnterValidLevel);
        return;
    }
    if (*n > maxLevel_) {
        dialogs_.information(MessageId::SolveThisLevelFirst);
        return;
    }
    demo_.running = false;
    curLevel_ = static_cast<int>(*n);
    ReadRecord(curLevel_);
    xsbMode_ = false;
}

bool GameModel::switchGameFile(const std::string& path) {
    // A set that cannot be opened leaves the open one in force, file name
    // too, also when a file error ends the opening half-way.
    stopWalk();
    const std::string previous = gameFile_;
    gameFile_ = path;
    try {
        if (OpenGame()) return true;
    } catch (...) {
        gameFile_ = previous;
        throw;
    }
    gameFile_ = previous;
    return false;
}

void GameModel::openOtherSet(const std::string& path) {
    if (demo_.running || demo_.paused || demo_.buttons != DemoButtons::Idle) stopDemo();
    if (!switchGameFile(path)) return;
    checkedGameItem_ = 0;
    send(event::GameItem{0});
    ReadRecord(curLevel_);
}

void GameModel::SelectGames(int item) {
    if (item < 1 || item > 5 || item == checkedGameItem_) return;
    if (!switchGameFile(dirPrefix(appDir_) + builtinFile(item))) return;
    checkedGameItem_ = item;
    send(event::GameItem{item});
    settings_.levelSet = static_cast<std::uint8_t>(item);
    ReadRecord(curLevel_);
}

void GameModel::N24Click() {
    const auto chosen = dialogs_.openFile(MessageId::OpenSetFilter);
    if (!chosen) return;
    if (isLevelTextFile(*chosen)) {
        LevelTextCommands(*this, dialogs_).openFile(*chosen);
        return;
    }
    if (!switchGameFile(*chosen)) return;
    checkedGameItem_ = 0;
    send(event::GameItem{0});
    ReadRecord(curLevel_);
}

void GameModel::openListedSet(const std::string& path, int line) {
    if (!switchGameFile(path)) return;
    settings_.levelSet = static_cast<std::uint8_t>(line + 5);
    checkedGameItem_ = 0;
    send(event::GameItem{0});
    ReadRecord(curLevel_);
}

void GameModel::Gamesave(int slot) {
    if (xsbMode_) {
        dialogs_.warning(MessageId::XsbCannotSave);
        return;
    }
    if (levelCount_ == 0) return;
    if (!position().onRecordGrid()) {
        dialogs_.warning(MessageId::LevelTooLargeForSlot);
        return;
    }
    TSaveData saveRec;
    saveRec.level = static_cast<std::int16_t>(curLevel_);
    saveRec.moves = static_cast<std::int16_t>(moveCount());
    saveRec.pushes = static_cast<std::int16_t>(pushCount());
    saveRec.man = static_cast<std::int16_t>(manPos());
    std::copy(cells().begin(), cells().end(), saveRec.cells.begin());
    files().sav.put(slot, saveRec);
    dialogs_.information({MessageId::GameSaved, slot, curLevel_});
}

void GameModel::GameLoad(int slot) {
    stopWalk();
    if (levelCount_ == 0) return;
    const auto saveRec = files().sav.get<TSaveData>(slot);
    // A slot of another or since shortened set is as good as empty.
    if ((saveRec.level == 1 && saveRec.moves == 1) || saveRec.level < 1 ||
        saveRec.level > levelCount_) {
        dialogs_.error(MessageId::NoSuchSlot);
        return;
    }
    xsbMode_ = false;
    curLevel_ = saveRec.level;
    Position slotted = Position::ofRecord(saveRec.cells, saveRec.man);
    slotted.moves = std::clamp<int>(saveRec.moves, 0, History::kMostMoves);
    slotted.pushes = saveRec.pushes;
    redrawOnly_ = false;
    demo_.running = false;
    demo_.paused = false;
    resumedFromSlot_ = true;
    enterPosition(slotted);
    ShowRecord();
}

} // namespace sokoban

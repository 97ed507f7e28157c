// The game in progress: the open level set, the board in play, the worker,
// the counters and the records of the level, and the rules that change them.
// Standard C++ only; it reaches the screen through GameView and the player
// through Dialogs.
#pragma once

#include "session/demonstration.h"
#include "session/dialogs.h"
#include "session/game_view.h"
#include "session/history.h"
#include "session/mouse_walk.h"
#include "session/play_aids.h"
#include "storage/board.h"
#include "storage/level_collection.h"
#include "storage/level_set.h"
#include "storage/level_stats.h"
#include "storage/long_answers.h"
#include "storage/records.h"

#include <array>
#include <filesystem>
#include <functional>
#include <string>

namespace sokoban {

// Keys the main window passes on, in the game's own terms.
enum class GameKey { Other, Escape, Up, Down, Left, Right, R, N, Equals, Minus, F12 };
enum KeyShift : unsigned { kShift = 1, kCtrl = 2, kAlt = 4, kMouse = 8 };

struct DirectionInfo {
    const char* word;
    int manDir;
    int step; // on the record grid; stepOf() for the board in play
    int code;
};
// "up", "down", "left", "right" by move code 0..3.
extern const DirectionInfo kDirections[4];
// Move code of a direction word, or -1.
int directionCode(const std::string& word);
// The direction word of the step from one cell to a neighbour on a grid
// `cols` wide; null for any other cell.
const char* moveWordBetween(int from, int to, int cols);

class GameModel {
  public:
    GameModel(GameView& view, Dialogs& dialogs);
    // Keeps the time played on a collection's level in play.
    ~GameModel();
    GameModel(const GameModel&) = delete;
    GameModel& operator=(const GameModel&) = delete;

    // --- the game as it stands -----------------------------------------------------
    const std::filesystem::path& appDir() const { return appDir_; }
    // The program directory: the built-in sets, the undo file and the
    // settings live there.
    void setAppDir(std::filesystem::path dir) { appDir_ = std::move(dir); }
    const std::string& gameFile() const { return gameFile_; }
    // The level set OpenGame opens.
    void setGameFile(std::string file) { gameFile_ = std::move(file); }
    const std::string& gameName() const { return gameName_; }
    int levelCount() const { return levelCount_; }
    int curLevel() const { return curLevel_; }
    int maxLevel() const { return maxLevel_; }
    // The index of the open set when it is an imported collection: every
    // level of one is open, and its levels go by their numbers in the text.
    const std::optional<CollectionIndex>& collection() const { return collection_; }
    // The number a player knows a level of the open set by.
    int shownNumber(int level) const {
        return collection_ ? collection_->textNumber(level) : level;
    }
    // Levels of the open set without a best count.
    std::vector<bool> unsolvedLevels() const;
    // A collection's statistics file; empty for other sets.
    std::filesystem::path statsFile() const;
    // The clock of the time played, in seconds from any start.
    void setClock(std::function<std::int64_t()> secondsNow) { clock_ = std::move(secondsNow); }
    int bestMoves() const { return bestMoves_; }
    int bestPushes() const { return bestPushes_; }
    int mazeWidth() const { return mazeWidth_; }
    int mazeHeight() const { return mazeHeight_; }
    bool xsbMode() const { return xsbMode_; }
    const std::string& xsbFile() const { return xsbFile_; }
    // The XSB file a level is played from.
    void setXsbFile(std::string file) { xsbFile_ = std::move(file); }
    TGameVar& settings() { return settings_; }
    const TGameVar& settings() const { return settings_; }

    // The board in play and the worker on it, with the counters.
    const Position& position() const { return history_.now(); }
    const PlayCells& cells() const { return history_.now().cells; }
    // The grid of the board in play: a level record's 22 x 34, or larger
    // for a level of a collection that does not fit one.
    int cols() const { return history_.now().cols; }
    int rows() const { return history_.now().rows; }
    int cellCount() const { return history_.now().cellCount(); }
    // The cell number one step in direction `code` adds.
    int stepOf(int code) const {
        return code >= 0 && code <= 3 ? core::kDRow[code] * cols() + core::kDCol[code] : 0;
    }
    int manPos() const { return history_.now().man; }
    int manDir() const { return manDir_; }
    int moveCount() const { return history_.now().moves; }
    int pushCount() const { return history_.now().pushes; }
    const History& history() const { return history_; }
    // Records above record 0 of the undo file.
    int undoCount() const { return history_.undoDepth(); }
    History::MoveLog moveLog() const { return history_.moveLog(); }
    // The move log cannot replay the level: the game came from a save slot,
    // or more moves were made than the log holds.
    bool resumedFromSlot() const { return resumedFromSlot_; }
    bool logOverflow() const { return history_.now().logOverflow; }

    bool demoMode() const { return demo_.running; }
    bool demoPaused() const { return demo_.paused; }
    DemoButtons demoButtons() const { return demo_.buttons; }
    int demoInterval() const { return demo_.interval; }
    const TAnswerData& answerRec() const { return demo_.answer; }
    bool managerUnlocked() const { return managerUnlocked_; }
    bool redrawOnly() const { return redrawOnly_; }
    int checkedGameItem() const { return checkedGameItem_; }
    // Where the window shows the board; it sets it when it fits a new board.
    const BoardLayout& layout() const { return layout_; }
    void setLayout(const BoardLayout& layout) { layout_ = layout; }

    // --- level loading ----------------------------------------------------------
    CompanionFiles files() const { return CompanionFiles::forGame(gameFile_, appDir_); }
    RecordFile undoFile() const { return sokoban::undoFile(appDir_); }
    // Opens gameFile; false (after its message) when it cannot be opened.
    bool OpenGame();
    void ReadRecord(int n);
    // Level n of the open set as stored: its record, or the board a
    // collection's index keeps for a level too large for one. Throws
    // FileError when the record cannot be read.
    core::Board levelBoard(int n) const;
    // A collection's answer of a level too long for its answer record;
    // empty when there is none (and for other sets).
    core::Moves longAnswer(int level) const;
    std::filesystem::path longAnswersPath() const;
    // Level n of the open set, read afresh.
    void playLevel(int n);
    void ShowRecord();
    Message caption() const;
    Message levelText() const;
    Message movesText() const;
    Message pushesText() const;
    void updateStatus();

    // --- play -------------------------------------------------------------------
    void KeyMove(const std::string& direction);
    void tbUndoClick();
    void tbRetryGameClick();
    void FormKeyDown(GameKey key, unsigned shift);
    void UnlockAllLevels();
    void stopDemo();
    bool solved() const;

    // --- navigation and slots ---------------------------------------------------
    void tbPreviousRecordClick();
    void tbNextRecordClick();
    void tbSelectRecordClick();
    // Next unsolved level: the next level after this one without a best count,
    // round to the first.
    void nextUnsolvedClick();
    void SelectGames(int item);
    void N24Click();
    void Gamesave(int slot);
    void GameLoad(int slot);
    // Opens a level set chosen from game.lst (line k).
    void openListedSet(const std::string& path, int line);

    // --- mouse play -----------------------------------------------------------------
    const MouseWalk& walk() const { return walk_; }
    // The cell the mouse was last seen over, -1 none.
    int hoverCell() const { return hoverCell_; }
    // The board cell under a pixel of the board image, or -1 off the board.
    int pixelToCell(int x, int y) const;
    void Image1MouseDown(bool rightButtonAlone, int x, int y);
    void Image1MouseMove(int x, int y);
    void BlockClick(int cell);
    void Timer2Timer();
    // Ends a walk at once: nothing the player does afterwards is followed by
    // the rest of an old path.
    void stopWalk();

    // --- stored answers ---------------------------------------------------------------
    void tbLoadAnswerClick();
    void Timer4Timer();
    void mAnswerOutClick();
    void mAnswerOutAllClick();
    void mAnswerInClick();
    // An answer read from a file or the clipboard (level set to its level):
    // refused with a message unless it replays to a solve from the level's
    // start; stored, when the player agrees, only over a stored answer with
    // more moves and more pushes; then offered as a demonstration on the
    // level in play.
    void offerImportedAnswer(TAnswerData answer);
    // An answer of the level in play too long for a record, in a collection.
    void offerLongAnswer(const core::Moves& moves);
    // How the stored answer of a level (its record, or a collection's long
    // one) replays; Empty when there is none.
    AnswerReplay storedAnswerReplay(int number, const core::Board& level) const;
    // The offered answer shown from the level's start.
    void showOfferedAnswer(const TAnswerData& answer, core::Moves longMoves);
    // "game0007.ans" style names: four digits, longer numbers unpadded.
    static std::string answerFileName(const std::string& gameName, int level,
                                      const std::string& typed);

    // --- XSB levels ---------------------------------------------------------------
    // The last XSB level read successfully.
    const TMazeData& xsbMaze() const { return xsbMaze_; }
    // Reads an XSB file into xsbMaze; shows its own messages on refusal and
    // then returns false.
    bool ReadXSB(const std::string& path);
    // Makes the XSB file the level in play (xsbMode); false, after the
    // reader's message, when it refuses the file, and the level in play stays.
    bool PlayXSB(const std::string& path);
    // Writes the current level of the level set as an XSB file.
    void mSaveToXSBClick();

    // --- help with play: single-move undo and redo, hints, solving, dead
    // squares, shortest walks and dragging boxes (undo_play.cpp,
    // hint_play.cpp, path_play.cpp) ---------------------------------------------------
    TPlayOptions& playOptions() { return aids_.options; }
    const TPlayOptions& playOptions() const { return aids_.options; }
    const DeadSquares& deadSquares() const { return aids_.dead; }
    SolverAssistant* assistant() const { return aids_.assistant; }
    // The solver the hints and solutions come from; none: they do nothing.
    void setAssistant(SolverAssistant* assistant) { aids_.assistant = assistant; }
    void mUndoMoveClick(); // undo one move
    void mRedoClick();     // redo one move
    void mHintClick();     // hint: the next push
    void mSolveClick();    // show a whole solution
    void mMarkDeadClick(); // mark dead squares
    // A press on a box starts a drag; the release ends it.
    void Image1MouseUp(int x, int y);
    // The cell a box dragged from `from` is shown over; the cursor says
    // whether it can be pushed there.
    void dragOver(int from, int cell);
    // Walks and pushes the box on `box` to `goal` along the fewest pushes;
    // false when it cannot get there.
    bool dragPush(int box, int goal);

    // Runs a command; a failed file operation ends it with the general
    // error report.
    void guarded(const std::function<void()>& command);

    static std::string builtinFile(int item); // 1..5

    // Ends a demonstration and plays the set at path, not one of the
    // built-in ones; the set in play stays when it cannot be opened.
    void openOtherSet(const std::string& path);

  private:
    bool switchGameFile(const std::string& path);
    // A new line of play from `p`, moved to the top-left corner first.
    void enterPosition(Position p);
    // Lays out and paints the board; a new level (not a redraw of the one
    // in play) learns its dead squares first.
    void placeBoard(bool newLevel);
    // One move of the worker: a new one, or the one redo makes again.
    void makeMove(int code, bool redo);
    void PassGame();
    // The level's best record, in memory and on the status bar.
    void setBest(const TBestData& best);
    void storeAnswer();
    // The demonstration's timer at the speed the settings ask for.
    void demoSpeed();
    // The walking timer at the speed the settings ask for, from the walk's
    // first step.
    void startWalk();

    // Hooks of the help with play into the rules above.
    void enterLevelAids();  // a level (or a slot) is on the board
    void afterPushUndo();   // the push undo restored a position
    bool endSolveDemo();    // stops a solve-from-here demonstration
    bool finishSolveDemo(); // true when it was one and it ended
    void checkDeadlock();   // after a push
    void clearDeadlockWarning();
    void withPlan(const std::function<void()>& use);
    void planFound(const Position& asked, const solver::Result& r,
                   const std::function<void()>& use);
    bool solveRefused(const solver::Result& r); // the message when not Solved
    void startSolveDemo(const std::vector<std::uint8_t>& moves);
    void makePlanMoves(std::size_t count);
    // The board now against `before`: the cells that changed and the worker
    // drawn again.
    event::Moved redrawnFrom(const Position& before) const;

    // A collection's statistics: the time on the level in play so far is
    // added to its record; an attempt is counted at a level's first move.
    void keepTimePlayed();
    void enterLevelStats(int level);
    void countAttempt();

    void send(Event e) { view_.apply({std::move(e)}); }
    void send(const Events& events) { view_.apply(events); }

    GameView& view_;
    Dialogs& dialogs_;

    std::filesystem::path appDir_;
    std::string gameFile_;
    std::string gameName_;
    int levelCount_ = 0;
    int curLevel_ = 0;
    std::int16_t maxLevel_ = 0;
    std::optional<CollectionIndex> collection_;
    std::function<std::int64_t()> clock_;
    int statsLevel_ = 0; // the collection's level whose time runs, 0 none
    std::filesystem::path statsPath_;
    std::int64_t statsSince_ = 0;
    bool attemptPending_ = false;
    int bestMoves_ = 0;
    int bestPushes_ = 0;
    int mazeWidth_ = 0;
    int mazeHeight_ = 0;
    bool xsbMode_ = false;
    std::string xsbFile_;
    TMazeData xsbMaze_;
    TGameVar settings_;
    TBestData bestRec_;

    History history_;
    int manDir_ = 3;
    bool resumedFromSlot_ = false;
    bool managerUnlocked_ = false;
    bool redrawOnly_ = false;
    int checkedGameItem_ = 0;
    BoardLayout layout_;
    Demonstration demo_;
    MouseWalk walk_;
    int hoverCell_ = -1;
    PlayAids aids_;
};

} // namespace sokoban

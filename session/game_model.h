// The game in progress: the open level set, the board in play, the worker,
// the counters and the records of the level, and the rules that change them.
// Standard C++ only; it reaches the screen through GameView and the player
// through Dialogs.
#pragma once

#include "storage/board.h"
#include "session/game_view.h"
#include "session/play_aids.h"
#include "storage/level_set.h"
#include "storage/records.h"
#include "session/dialogs.h"

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
    int step;
    int code;
};
// "up", "down", "left", "right" by move code 0..3.
extern const DirectionInfo kDirections[4];
// Move code of a direction word, or -1.
int directionCode(const std::string& word);

class GameModel {
public:
    GameModel(GameView& view, Dialogs& dialogs);

    // --- shared game state --------------------------------------------------
    std::filesystem::path appDir;
    std::string gameFile;
    std::string gameName;
    int levelCount = 0;
    int curLevel = 0;
    std::int16_t maxLevel = 0;
    TMazeData maze;
    int moveCount = 0;
    int pushCount = 0;
    int bestMoves = 0;
    int bestPushes = 0;
    int mazeWidth = 0;
    int mazeHeight = 0;
    bool xsbMode = false;
    std::string xsbFile;
    TGameVar settings;
    TSaveData saveRec;
    TBestData bestRec;
    TAnswerData answerRec;
    TSaveData undoRec;

    // --- the main window's play state ----------------------------------------
    int manPos = 0;
    int manDir = 3;
    std::array<std::uint8_t, 4096> moveLog{};
    int undoCount = 0;
    bool soundOn = false;
    bool demoMode = false;
    bool demoPaused = false;
    bool managerUnlocked = false;
    bool redrawOnly = false;
    BoardLayout layout;
    DemoButtons demoButtons = DemoButtons::Idle;
    int demoInterval = 300; // Timer4
    int checkedGameItem = 0;
    // The move log cannot replay the level: the game came from a save slot,
    // or more moves were made than the log holds.
    bool resumedFromSlot = false;
    bool logOverflow = false;

    // --- level loading ----------------------------------------------------------
    CompanionFiles files() const { return CompanionFiles::forGame(gameFile, appDir); }
    RecordFile undoFile() const { return sokoban::undoFile(appDir); }
    // Opens gameFile; false (after its message) when it cannot be opened.
    bool OpenGame();
    void ReadRecord(int n);
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
    void SelectGames(int item);
    void N24Click();
    void Gamesave(int slot);
    void GameLoad(int slot);
    // Opens a level set chosen from game.lst (line k).
    void openListedSet(const std::string& path, int line);

    // --- mouse play -----------------------------------------------------------------
    struct PathStep {
        int index = 0;
        int cell = 0;
        const char* dir = "up";
    };
    std::array<PathStep, kCells> walkPath{};
    int walkCount = 0;
    int walkIndex = 0;
    std::array<PathStep, kCells> findPath{};
    int findCount = 0;
    bool connected = false;
    int hoverCell = -1;
    int walkInterval = 70; // Timer2
    bool walking = false;  // Timer2 is on

    // The board cell under a pixel of the board image, or -1 off the board.
    int pixelToCell(int x, int y) const;
    void Image1MouseDown(bool rightButtonAlone, int x, int y);
    void Image1MouseMove(int x, int y);
    void BlockClick(int cell);
    void ifconnected(int start, int goal);
    void PathFind(int start, int goal);
    void shortenWalk();
    void reverseWalk();
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
    // "game0007.ans" style names: four digits, longer numbers unpadded.
    static std::string answerFileName(const std::string& gameName, int level,
                                      const std::string& typed);

    // --- XSB levels ---------------------------------------------------------------
    TMazeData xsbMaze; // the last XSB level read successfully
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
    PlayAids aids;
    Position position() const;
    void mUndoMoveClick(); // 撤销一步
    void mRedoClick();     // 重做
    void mHintClick();     // 提示
    void mSolveClick();    // 求解
    void mMarkDeadClick(); // 标记死角
    // A press on a box starts a drag; the release ends it.
    void Image1MouseUp(int x, int y);
    // The cell a box dragged from `from` is shown over; the cursor says
    // whether it can be pushed there.
    void dragOver(int from, int cell);
    // Walks and pushes the box on `box` to `goal` along the fewest pushes;
    // false when it cannot get there.
    bool dragPush(int box, int goal);
    // A shortest walk to a free cell into walkPath; false when there is none.
    bool shortestWalk(int goal);

    // Runs a command; a failed file operation ends it with the general
    // error report.
    void guarded(const std::function<void()>& command);

    static std::string builtinFile(int item); // 1..5

    // Ends a demonstration and plays the set at path, not one of the
    // built-in ones; the set in play stays when it cannot be opened.
    void openOtherSet(const std::string& path);

private:
    bool switchGameFile(const std::string& path);
    // Lays out and paints maze, moved to the top-left corner; a new level
    // (not a redraw of the one in play) learns its dead squares first.
    void placeBoard(bool newLevel);
    void PassGame();
    // The level's best record, in memory and on the status bar.
    void setBest(const TBestData& best);
    void storeAnswer();
    void logMove(int code);

    // Hooks of the help with play into the rules above.
    void recordMove(int code); // a move is being made from here
    void enterLevelAids();     // a level (or a slot) is on the board
    void afterPushUndo();      // the push undo restored a position
    bool endSolveDemo();       // stops a solve-from-here demonstration
    bool finishSolveDemo();    // true when it was one and it ended
    void checkDeadlock();      // after a push
    void clearDeadlockWarning();
    void setPosition(const Position& p);
    void withPlan(const std::function<void()>& use);
    void planFound(const Position& asked, const solver::Result& r,
                   const std::function<void()>& use);
    bool solveRefused(const solver::Result& r); // the message when not Solved
    void startSolveDemo(const std::vector<std::uint8_t>& moves);
    void makePlanMoves(std::size_t count);
    bool redrawChanged(const Cells& before, int manBefore);

    GameView& view_;
    Dialogs& dialogs_;
};

} // namespace sokoban

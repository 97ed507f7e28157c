// Single XSB levels: reading one into xsbMaze, playing it, and writing the
// current level of the level set as XSB text.
#include "game_model.h"

#include "storage/level_text.h"
#include "storage/xsb.h"

namespace sokoban {

bool GameModel::ReadXSB(const std::string& path) {
    // Byte-order marks, tabs, run lengths and the like read as well; a
    // collection gives its first level.
    XsbResult read = readFirstLevel(path);
    switch (read.status) {
    case XsbStatus::Missing:
        dialogs_.error(MessageId::XsbFileMissing);
        return false;
    case XsbStatus::ReadError:
        dialogs_.error(MessageId::FileReadFailed);
        return false;
    case XsbStatus::TooBig:
        dialogs_.error(MessageId::LevelTooBig);
        return false;
    case XsbStatus::NoLevel:
        dialogs_.information(MessageId::NoLevelNewOne);
        return false;
    case XsbStatus::Ok:
        xsbMaze = read.maze;
        return true;
    }
    return false;
}

bool GameModel::PlayXSB(const std::string& path) {
    // A file the reader refuses leaves the level in play as it is, on the
    // board and playable, with its caption.
    if (!ReadXSB(path)) return false;
    // Only the level in play names the file that retry reloads; previews and
    // imports read through ReadXSB and leave it alone.
    xsbFile = path;

    // A demonstration or a walk of the previous level must not go on here.
    if (demoMode || demoPaused || demoButtons != DemoButtons::Idle) stopDemo();
    view_.StopWalking();

    // Whatever the reader said, play the level xsbMaze holds, moved to the
    // top-left corner like a level of a set.
    maze = xsbMaze;
    manPos = xsbMaze.man;
    placeBoard(true);

    moveCount = 0;
    pushCount = 0;
    // The level has no records: the status bar shows none.
    bestMoves = 0;
    bestPushes = 0;
    view_.SetAnswerEnabled(false);
    undoCount = 0;
    undoRec.moves = 0;
    undoRec.pushes = 0;
    undoRec.man = static_cast<std::int16_t>(manPos);
    undoRec.cells = maze.cells;
    undoFile().put(0, undoRec);
    view_.SetUndoEnabled(false);
    enterLevelAids();

    checkedGameItem = 0;
    view_.SetGameItemChecked(0);
    xsbMode = true;
    updateStatus();
    return true;
}

void GameModel::mSaveToXSBClick() {
    if (levelCount == 0 || curLevel < 1) return; // no level set open
    const auto chosen = dialogs_.saveFile(MessageId::XsbFilter, xsbFileName(gameName, curLevel));
    if (!chosen) return;
    // The level is read before the file is touched, so a failed read leaves
    // an existing file as it was.
    const auto level = files().levels.get<TMazeData>(curLevel - 1);
    saveXsb(*chosen, level);
    dialogs_.information(MessageId::Saved);
}

} // namespace sokoban

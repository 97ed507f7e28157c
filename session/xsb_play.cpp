// Single XSB levels: reading one into xsbMaze_, playing it, and writing the
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
        xsbMaze_ = read.maze;
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
    xsbFile_ = path;

    // A demonstration or a walk of the previous level must not go on here.
    if (demo_.running || demo_.paused || demo_.buttons != DemoButtons::Idle) stopDemo();
    stopWalk();
    enterLevelStats(0); // a single file keeps no statistics

    // Whatever the reader said, play the level xsbMaze holds, moved to the
    // top-left corner like a level of a set.
    enterPosition(Position::ofRecord(xsbMaze_.cells, xsbMaze_.man));
    placeBoard(true);

    // The level has no records: the status bar shows none.
    bestMoves_ = 0;
    bestPushes_ = 0;
    send(event::Enable{Control::Answer, false});
    undoFile().put(0, undoRecord(history_.origin()));
    send(event::Enable{Control::Undo, false});
    enterLevelAids();

    checkedGameItem_ = 0;
    send(event::GameItem{0});
    xsbMode_ = true;
    updateStatus();
    return true;
}

void GameModel::mSaveToXSBClick() {
    if (levelCount_ == 0 || curLevel_ < 1) return; // no level set open
    const auto chosen = dialogs_.saveFile(MessageId::XsbFilter, xsbFileName(gameName_, curLevel_));
    if (!chosen) return;
    // The level is read before the file is touched, so a failed read leaves
    // an existing file as it was.
    const core::Board level = levelBoard(curLevel_);
    saveXsb(*chosen, level);
    dialogs_.information(MessageId::Saved);
}

} // namespace sokoban

// The main window's commands for level text: copying and pasting levels and
// answers through the clipboard, exporting the set as one collection, and
// the menu item of the level chooser (关卡一览, Ctrl+T), whose window the
// program connects.
#pragma once

class QAction;

namespace sokoban {

class Dialogs;
class TMainForm;

// Adds the items to the menus 游戏 and 其它 of the window; run once after the
// menus are built.
void addLevelTextCommands(TMainForm& form, Dialogs& dialogs);

// One of the items added: "mLevelList", "mSaveCollection", "mCopyLevel",
// "mPasteLevel", "mCopyAnswer", "mPasteAnswer".
QAction* levelTextAction(const TMainForm& form, const char* name);

} // namespace sokoban

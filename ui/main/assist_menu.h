// The main window's commands of help with play: 撤销一步 (Ctrl+Z), 重做
// (Ctrl+Y), 提示 (F5, also on the tool bar), 求解 (F6) in the menu 游戏,
// and 标记死角 in the menu 显示. The solver runs beside the window.
#pragma once

#include <QIcon>

class QAction;

namespace sokoban {

class SolverRunner;
class TMainForm;

// Adds the items to the menus of the window and gives the model its
// solver; run once after the menus are built.
void addAssistCommands(TMainForm& form);
// Reads the player's choices (assist.var); run at start-up once the
// program directory is known.
void loadAssistOptions(TMainForm& form);
// Writes them back, reporting a failed write.
void saveAssistOptions(TMainForm& form);

SolverRunner& solverRunner(TMainForm& form);
// The picture of the tool-bar button 提示: a lit bulb.
QIcon hintIcon();

} // namespace sokoban

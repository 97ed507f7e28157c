// Menu items that later features add to the main window's menus.
#pragma once

#include <QKeySequence>

class QAction;
class QMenu;

namespace sokoban {

class TMainForm;

// The menu that holds an item, or null.
QMenu* menuOf(QAction* item);

// A new item of the reference item's menu, right below it; without such a
// menu the item is added to the window, so its shortcut still works.
QAction* addBelow(TMainForm& form, const char* reference, const char* name, const char* caption,
                  const QKeySequence& shortcut = {});

} // namespace sokoban

// Menu items that later features add to the main window's menus.
#pragma once

#include "ui/language.h"

#include <QKeySequence>
#include <QString>

#include <map>

class QAction;
class QMenu;

namespace sokoban {

class TMainForm;

// The menu that holds an item, or null.
QMenu* menuOf(QAction* item);

// A new item of the reference item's menu, right below it; without such a
// menu the item is added to the window, so its shortcut still works.
QAction* addBelow(TMainForm& form, const char* reference, const char* name, const TrText& caption,
                  const QKeySequence& shortcut = {});

// A window's menu items and buttons by their names, as its commands and the
// tests look them up.
template <class Control> using NamedControls = std::map<QString, Control*>;

template <class Control>
Control* findNamed(const NamedControls<Control>& controls, const QString& name) {
    auto it = controls.find(name);
    return it == controls.end() ? nullptr : it->second;
}

// A new item at the end of the menu, known by its name.
QAction* addNamedItem(NamedControls<QAction>& items, QMenu* menu, const QString& name,
                      const TrText& caption, const QKeySequence& shortcut);

} // namespace sokoban

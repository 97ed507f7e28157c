// Tool-bar images of the level designer that the main window has no use
// for: "new", "open", "clear", "newLevel", "save", "delete" (24 x 24).
#pragma once

#include <QIcon>
#include <QString>

namespace sokoban {

QIcon designIcon(const QString& name);

} // namespace sokoban

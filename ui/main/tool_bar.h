// The flat tool bar of the game's windows: 43 x 35 buttons with a small
// image over the caption.
#pragma once

#include <QIcon>
#include <QString>

class QMainWindow;
class QToolBar;
class QToolButton;

namespace sokoban {

QToolBar* addGameToolBar(QMainWindow* window, const QString& title);
QToolButton* addToolBarButton(QToolBar* bar, const QString& name, const QString& caption,
                              const QIcon& icon, const QString& hint);

} // namespace sokoban

// The flat tool bar of the game's windows: 43 x 35 buttons with a small
// image over the caption.
#pragma once

#include "ui/language.h"

#include <QIcon>
#include <QString>

class QMainWindow;
class QToolBar;
class QToolButton;

namespace sokoban {

QToolBar* addGameToolBar(QMainWindow* window, const TrText& title);
QToolButton* addToolBarButton(QToolBar* bar, const QString& name, const TrText& caption,
                              const QIcon& icon, const TrText& hint);

} // namespace sokoban

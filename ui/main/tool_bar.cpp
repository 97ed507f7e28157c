#include "tool_bar.h"

#include <QMainWindow>
#include <QToolBar>
#include <QToolButton>

namespace sokoban {

QToolBar* addGameToolBar(QMainWindow* window, const QString& title) {
    auto* bar = new QToolBar(title, window);
    bar->setObjectName("ToolBar1");
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(18, 18));
    bar->setContextMenuPolicy(Qt::PreventContextMenu);
    bar->setStyleSheet("QToolButton { font-size: 11px; padding: 0px; }");
    window->addToolBar(Qt::TopToolBarArea, bar);
    return bar;
}

QToolButton* addToolBarButton(QToolBar* bar, const QString& name, const QString& caption,
                              const QIcon& icon, const QString& hint) {
    auto* b = new QToolButton(bar);
    b->setObjectName(name);
    b->setText(caption);
    // Screen readers name a button by its caption; one without a caption
    // by its tool tip.
    if (caption.isEmpty()) b->setAccessibleName(hint);
    b->setAccessibleDescription(hint);
    b->setIcon(icon);
    if (!hint.isEmpty()) {
        b->setToolTip(hint);
        b->setToolTipDuration(1000);
    }
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setFixedSize(43, 35);
    bar->addWidget(b);
    return b;
}

} // namespace sokoban

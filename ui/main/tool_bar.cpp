#include "tool_bar.h"

#include <QMainWindow>
#include <QToolBar>
#include <QToolButton>

namespace sokoban {

QToolBar* addGameToolBar(QMainWindow* window, const TrText& title) {
    auto* bar = new QToolBar(window);
    setTr(bar, TextRole::WindowTitle, title);
    bar->setObjectName("ToolBar1");
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(18, 18));
    bar->setContextMenuPolicy(Qt::PreventContextMenu);
    bar->setStyleSheet("QToolButton { font-size: 11px; padding: 0px; }");
    window->addToolBar(Qt::TopToolBarArea, bar);
    return bar;
}

QToolButton* addToolBarButton(QToolBar* bar, const QString& name, const TrText& caption,
                              const QIcon& icon, const TrText& hint) {
    auto* b = new QToolButton(bar);
    b->setObjectName(name);
    setTr(b, TextRole::Text, caption);
    // Screen readers name a button by its caption; one without a caption
    // by its tool tip.
    if (caption.empty()) setTr(b, TextRole::AccessibleName, hint);
    setTr(b, TextRole::AccessibleDescription, hint);
    b->setIcon(icon);
    if (!hint.empty()) {
        setTr(b, TextRole::ToolTip, hint);
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

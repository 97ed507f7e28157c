#include "ui/main/menu_items.h"

#include "ui/main/main_form.h"

#include <QAction>
#include <QMenu>

namespace sokoban {

QMenu* menuOf(QAction* item) {
    if (item)
        for (QObject* o : item->associatedObjects())
            if (auto* m = qobject_cast<QMenu*>(o)) return m;
    return nullptr;
}

QAction* addNamedItem(NamedControls<QAction>& items, QMenu* menu, const QString& name,
                      const TrText& caption, const QKeySequence& shortcut) {
    auto* a = menu->addAction(QString());
    setTr(a, TextRole::Text, caption);
    a->setObjectName(name);
    if (!shortcut.isEmpty()) a->setShortcut(shortcut);
    items[name] = a;
    return a;
}

QAction* addBelow(TMainForm& form, const char* reference, const char* name, const TrText& caption,
                  const QKeySequence& shortcut) {
    QAction* ref = form.action(reference);
    QMenu* menu = menuOf(ref);
    auto* a = new QAction(&form);
    setTr(a, TextRole::Text, caption);
    a->setObjectName(name);
    if (!shortcut.isEmpty()) a->setShortcut(shortcut);
    if (!menu) {
        static_cast<QWidget&>(form).addAction(a);
        return a;
    }
    const QList<QAction*> items = menu->actions();
    const auto at = items.indexOf(ref);
    menu->insertAction(at + 1 < items.size() ? items[at + 1] : nullptr, a);
    return a;
}

} // namespace sokoban

#include "ui/main/level_text_menu.h"

#include "session/level_text_play.h"
#include "ui/main/main_form.h"
#include "ui/main/menu_items.h"

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMenu>

namespace sokoban {

namespace {
constexpr const char* kContext = "sokoban::TMainForm";
}

void addLevelTextCommands(TMainForm& form, Dialogs& dialogs) {
    GameModel& model = form.model();
    const auto command = [&form, &model, &dialogs](auto work) {
        return [&form, &model, &dialogs, work] {
            model.guarded([&] {
                LevelTextCommands commands(model, dialogs);
                work(commands);
            });
        };
    };
    const auto connect = [&form](QAction* a, const std::function<void()>& slot) {
        QObject::connect(a, &QAction::triggered, &form, slot);
    };

    addBelow(form, "mSelectRecord", "mLevelList",
             {kContext, QT_TRANSLATE_NOOP("sokoban::TMainForm", "关卡一览(&T)")},
             QKeySequence("Ctrl+T"));
    connect(addBelow(form, "mLevelList", "mNextUnsolved",
                     {kContext, QT_TRANSLATE_NOOP("sokoban::TMainForm", "下一个未解关卡(&J)")},
                     QKeySequence("Ctrl+J")),
            [&model] { model.guarded([&] { model.nextUnsolvedClick(); }); });

    // Below 存为XSB文件, in reverse order.
    connect(addBelow(form, "mSaveToXSB", "mPasteLevel",
                     {kContext, QT_TRANSLATE_NOOP("sokoban::TMainForm", "粘贴关卡(&P)")},
                     QKeySequence("Ctrl+V")),
            command([](LevelTextCommands& c) {
                // Levels from the clipboard are named after it.
                c.pasteLevel(
                    QGuiApplication::clipboard()->text().toStdString(),
                    QCoreApplication::translate("sokoban::TMainForm", "剪贴板").toStdString());
            }));
    connect(addBelow(form, "mSaveToXSB", "mCopyLevel",
                     {kContext, QT_TRANSLATE_NOOP("sokoban::TMainForm", "复制关卡(&C)")},
                     QKeySequence("Ctrl+C")),
            command([](LevelTextCommands& c) {
                QGuiApplication::clipboard()->setText(QString::fromStdString(c.copyLevel()));
            }));
    connect(addBelow(form, "mSaveToXSB", "mSaveCollection",
                     {kContext, QT_TRANSLATE_NOOP("sokoban::TMainForm", "导出关卡合集(&E)")}),
            command([](LevelTextCommands& c) { c.exportCollection(); }));

    // Below 导入答案.
    connect(addBelow(form, "mAnswerIn", "mPasteAnswer",
                     {kContext, QT_TRANSLATE_NOOP("sokoban::TMainForm", "粘贴答案")}),
            command([](LevelTextCommands& c) {
                c.pasteAnswer(QGuiApplication::clipboard()->text().toStdString());
            }));
    connect(addBelow(form, "mAnswerIn", "mCopyAnswer",
                     {kContext, QT_TRANSLATE_NOOP("sokoban::TMainForm", "复制答案")}),
            command([](LevelTextCommands& c) {
                if (const auto text = c.copyAnswer())
                    QGuiApplication::clipboard()->setText(QString::fromStdString(*text));
            }));
}

QAction* levelTextAction(const TMainForm& form, const char* name) {
    return form.findChild<QAction*>(name);
}

} // namespace sokoban

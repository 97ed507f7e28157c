#include "ui/main/assist_menu.h"

#include "storage/file_places.h"
#include "ui/main/main_form.h"
#include "ui/main/menu_items.h"
#include "ui/main/solver_runner.h"

#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace sokoban {

namespace {
constexpr const char* kContext = "sokoban::TMainForm";
}

SolverRunner& solverRunner(TMainForm& form) {
    if (auto* r = form.findChild<SolverRunner*>("SolverRunner", Qt::FindDirectChildrenOnly))
        return *r;
    return *new SolverRunner(&form);
}

void addAssistCommands(TMainForm& form) {
    GameModel& model = form.model();
    model.setAssistant(&solverRunner(form).assistant());
    const auto connect = [&form, &model](QAction* a, void (GameModel::*command)()) {
        QObject::connect(a, &QAction::triggered, &form,
                         [&model, command] { model.guarded([&] { (model.*command)(); }); });
    };
    // Below 撤销, in reverse order.
    connect(addBelow(form, "mUndo", "mSolve",
                     {kContext, QT_TRANSLATE_NOOP("sokoban::TMainForm", "求解")},
                     QKeySequence("F6")),
            &GameModel::mSolveClick);
    connect(addBelow(form, "mUndo", "mHint",
                     {kContext, QT_TRANSLATE_NOOP("sokoban::TMainForm", "提示")},
                     QKeySequence("F5")),
            &GameModel::mHintClick);
    connect(addBelow(form, "mUndo", "mRedo",
                     {kContext, QT_TRANSLATE_NOOP("sokoban::TMainForm", "重做")},
                     QKeySequence("Ctrl+Y")),
            &GameModel::mRedoClick);
    connect(addBelow(form, "mUndo", "mUndoMove",
                     {kContext, QT_TRANSLATE_NOOP("sokoban::TMainForm", "撤销一步")},
                     QKeySequence("Ctrl+Z")),
            &GameModel::mUndoMoveClick);

    // Last in 显示.
    QMenu* view = menuOf(form.action("mShowStatusbar"));
    auto* dead = new QAction(&form);
    setTr(dead, kContext, QT_TRANSLATE_NOOP("sokoban::TMainForm", "标记死角"));
    dead->setObjectName("mMarkDead");
    dead->setCheckable(true);
    if (view) {
        view->addSeparator();
        view->addAction(dead);
    }
    QObject::connect(dead, &QAction::triggered, &form, [&form, &model, dead] {
        model.mMarkDeadClick();
        dead->setChecked(model.playOptions().markDead == 1);
        saveAssistOptions(form);
    });
}

void loadAssistOptions(TMainForm& form) {
    GameModel& model = form.model();
    model.playOptions() = loadPlayOptions(FilePlaces(model.appDir()).playOptionsFile());
    solverRunner(form).assistant().timeSeconds = model.playOptions().solveSeconds;
    if (auto* a = form.findChild<QAction*>("mMarkDead"))
        a->setChecked(model.playOptions().markDead);
}

void saveAssistOptions(TMainForm& form) {
    GameModel& model = form.model();
    model.guarded([&] {
        savePlayOptions(FilePlaces(model.appDir()).playOptionsFile(), model.playOptions());
    });
}

QIcon hintIcon() {
    QPixmap pm(18, 18);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    // The glass, its glow and the screw cap.
    p.setPen(QPen(QColor(120, 90, 0), 1));
    p.setBrush(QColor(255, 220, 60));
    p.drawEllipse(QRectF(3.5, 1.5, 11, 11));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 250, 210));
    p.drawEllipse(QRectF(6, 4, 4, 4));
    p.setBrush(QColor(110, 110, 120));
    p.drawRect(QRectF(6.5, 12.5, 5, 2));
    p.drawRect(QRectF(7, 15, 4, 1.5));
    return QIcon(pm);
}

} // namespace sokoban

// 检查能否过关: the solver on the level being designed, on its own thread.
#include "ui/designer/design.h"

#include "session/dialogs.h"
#include "ui/main/main_form.h"
#include "ui/main/solver_runner.h"

namespace sokoban {

SolverRunner& TFormDesign::solverRunner() {
    if (!solverRunner_) {
        solverRunner_ = new SolverRunner(this);
        solverRunner_->assistant().timeSeconds = mainForm_.model().playOptions().solveSeconds;
    }
    return *solverRunner_;
}

void TFormDesign::checkSolvableClick() {
    if (!designValid()) return;
    SolverAssistant& assistant = solverRunner().assistant();
    if (assistant.busy()) return;
    assistant.timeSeconds = mainForm_.model().playOptions().solveSeconds;
    const TMazeData asked = designMaze_;
    assistant.start(asked, [this, asked](const solver::Result& r) {
        // Drawn on meanwhile: the answer is for a level that is gone.
        if (!(designMaze_ == asked)) return;
        using solver::Status;
        const auto n = [](long long v) { return QString::number(v); };
        switch (r.status) {
        case Status::Solved:
            dialogs_.information(tr("这一关可以过关！推动%1次，移动%2次。")
                                     .arg(n(r.pushCount), n(r.moveCount))
                                     .toStdString());
            break;
        case Status::Unsolvable:
            dialogs_.information(tr("这一关无法过关！").toStdString());
            break;
        case Status::Timeout:
            dialogs_.information(tr("在%1秒之内没能判定这一关能否过关。")
                                     .arg(solverRunner().assistant().timeSeconds)
                                     .toStdString());
            break;
        case Status::Memory:
            dialogs_.information(tr("判定这一关能否过关需要的内存太多，没能判定。").toStdString());
            break;
        case Status::Invalid:
            dialogs_.information(tr("这个样子可没法玩，有点不对吧？").toStdString());
            break;
        case Status::Cancelled:
            break;
        }
    });
}

} // namespace sokoban

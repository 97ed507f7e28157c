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
        const auto n = [](long long v) { return std::to_string(v); };
        switch (r.status) {
        case Status::Solved:
            dialogs_.information("这一关可以过关！推动" + n(r.pushCount) + "次，移动" +
                                 n(r.moveCount) + "次。");
            break;
        case Status::Unsolvable:
            dialogs_.information("这一关无法过关！");
            break;
        case Status::Timeout:
            dialogs_.information("在" +
                                 n(static_cast<long long>(solverRunner().assistant().timeSeconds)) +
                                 "秒之内没能判定这一关能否过关。");
            break;
        case Status::Memory:
            dialogs_.information("判定这一关能否过关需要的内存太多，没能判定。");
            break;
        case Status::Invalid:
            dialogs_.information("这个样子可没法玩，有点不对吧？");
            break;
        case Status::Cancelled:
            break;
        }
    });
}

} // namespace sokoban

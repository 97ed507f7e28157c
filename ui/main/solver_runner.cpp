#include "ui/main/solver_runner.h"

#include <QProgressDialog>
#include <QWidget>

namespace sokoban {

SolverRunner::SolverRunner(QWidget* window)
    : QObject(window), window_(window), assistant_([this](SolverAssistant::Task task) {
          // Queued to this object: a result that arrives after the window
          // went is dropped with it.
          QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
      }) {
    setObjectName("SolverRunner");
    delay_.setSingleShot(true);
    delay_.setInterval(kProgressDelay);
    connect(&delay_, &QTimer::timeout, this, [this] { showProgress(); });
    assistant_.onStarted = [this] { delay_.start(); };
    assistant_.onFinished = [this] { hideProgress(); };
}

SolverRunner::~SolverRunner() {
    assistant_.onStarted = nullptr;
    assistant_.onFinished = nullptr;
    assistant_.cancel();
}

void SolverRunner::showProgress() {
    if (!assistant_.busy()) return;
    auto* dialog = new QProgressDialog(tr("正在求解，请稍候……"), tr("取消"), 0, 0, window_);
    dialog->setObjectName("SolverProgress");
    dialog->setWindowTitle(tr("推箱子"));
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setMinimumDuration(0);
    dialog->setAutoClose(false);
    dialog->setAutoReset(false);
    connect(dialog, &QProgressDialog::canceled, this, [this] { assistant_.cancel(); });
    progress_ = dialog;
    dialog->show();
}

void SolverRunner::hideProgress() {
    delay_.stop();
    if (progress_) {
        // Closed without the cancel signal: the solve ended by itself.
        progress_->disconnect(this);
        progress_->hide();
        progress_->deleteLater();
        progress_.clear();
    }
}

} // namespace sokoban

// The solver assistant of a window: results come back through the window's
// event loop, and a progress window with 取消 appears when solving takes
// longer than half a second.
#pragma once

#include "session/assistant.h"

#include <QObject>
#include <QPointer>
#include <QProgressDialog>
#include <QTimer>

class QWidget;

namespace sokoban {

class SolverRunner : public QObject {
    Q_OBJECT
  public:
    // window: the window the progress window belongs to.
    explicit SolverRunner(QWidget* window);
    ~SolverRunner() override;

    SolverAssistant& assistant() { return assistant_; }
    // The progress window while it is up, otherwise null.
    QProgressDialog* progress() const { return progress_; }

    static constexpr int kProgressDelay = 500; // ms

  private:
    void showProgress();
    void hideProgress();

    QWidget* window_;
    QTimer delay_;
    QPointer<QProgressDialog> progress_;
    SolverAssistant assistant_;
};

} // namespace sokoban

// The solver for the player: solves a position on a worker thread, so that
// the window stays responsive, and hands the result back on the thread of
// the user interface through a function the window supplies.
#pragma once

#include "solver/solver.h"
#include "storage/records.h"

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

namespace sokoban {

class SolverAssistant {
  public:
    using Task = std::function<void()>;
    // Runs a task on the user-interface thread, later; called from the
    // worker thread.
    using Post = std::function<void(Task)>;
    using Done = std::function<void(const solver::Result&)>;

    explicit SolverAssistant(Post post);
    ~SolverAssistant(); // cancels a running solve and waits for it
    SolverAssistant(const SolverAssistant&) = delete;
    SolverAssistant& operator=(const SolverAssistant&) = delete;

    // The solver's limits for every solve: time (seconds; 0 or less: none)
    // and memory.
    double timeSeconds = 10;
    std::size_t memoryBytes = std::size_t{512} << 20;

    // Starts solving the board; `done` gets the result on the user-interface
    // thread, Cancelled after cancel(). False, doing nothing, while a solve
    // is running.
    bool start(const core::Board& board, Done done);
    bool start(const TMazeData& maze, Done done);
    // On the user-interface thread, while the result has not been handed over.
    bool busy() const { return busy_; }
    void cancel();
    // Blocks until the worker thread has ended; its result is posted by then.
    void wait();

    // Told on the user-interface thread when a solve starts and once it has
    // ended (before `done`): the window shows and hides its progress.
    std::function<void()> onStarted;
    std::function<void()> onFinished;

  private:
    Post post_;
    std::thread worker_;
    std::shared_ptr<std::atomic<bool>> cancel_;
    bool busy_ = false;
    // Whether this object still exists, for results posted after it went.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

} // namespace sokoban

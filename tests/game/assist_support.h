// The solver assistant in model tests: results are queued as the window's
// event loop would queue them, and handed over when the test says so.
#pragma once

#include "session/assistant.h"

#include <mutex>
#include <vector>

namespace sokoban::testing {

class QueuedAssistant {
    // Before the assistant: its worker may still post while it goes.
    std::mutex mutex_;
    std::vector<SolverAssistant::Task> tasks_;

  public:
    SolverAssistant assistant{[this](SolverAssistant::Task t) {
        std::lock_guard<std::mutex> lock(mutex_);
        tasks_.push_back(std::move(t));
    }};

    // Waits for the running solve and hands its result over.
    void finish() {
        assistant.wait();
        std::vector<SolverAssistant::Task> tasks;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            tasks.swap(tasks_);
        }
        for (auto& t : tasks)
            t();
    }
};

} // namespace sokoban::testing

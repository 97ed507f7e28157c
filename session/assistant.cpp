#include "session/assistant.h"

#include "storage/maze_board.h"

#include <limits>

namespace sokoban {

SolverAssistant::SolverAssistant(Post post) : post_(std::move(post)) {}

SolverAssistant::~SolverAssistant() {
    *alive_ = false;
    cancel();
    wait();
}

bool SolverAssistant::start(const TMazeData& maze, Done done) {
    return start(boardOf(maze), std::move(done));
}

bool SolverAssistant::start(const core::Board& board, Done done) {
    if (busy_) return false;
    wait(); // the thread of a result already handed over
    busy_ = true;
    cancel_ = std::make_shared<std::atomic<bool>>(false);
    solver::Limits limits;
    limits.timeSeconds = timeSeconds > 0 ? timeSeconds : std::numeric_limits<double>::infinity();
    limits.memoryBytes = memoryBytes;
    limits.cancel = cancel_.get();
    if (onStarted) onStarted();
    // The worker keeps what it reads alive itself; the object may go first.
    worker_ = std::thread([this, board, limits, done = std::move(done), flag = cancel_,
                           alive = alive_, post = post_] {
        solver::Result r = solver::solve(board, limits);
        post([this, r = std::move(r), done, flag, alive]() mutable {
            if (!*alive) return;
            // Read here, on the thread that cancels: a cancel that came
            // after the solve ended but before this ran still holds.
            if (flag->load()) r.status = solver::Status::Cancelled;
            busy_ = false;
            if (onFinished) onFinished();
            done(r);
        });
    });
    return true;
}

void SolverAssistant::cancel() {
    if (cancel_) cancel_->store(true);
}

void SolverAssistant::wait() {
    if (worker_.joinable()) worker_.join();
}

} // namespace sokoban

#include "session/move_history.h"

namespace sokoban {

void MoveHistory::clear() {
    steps_.clear();
    redo_.clear();
    redoing_ = false;
}

void MoveHistory::record(const Position& before, int code) {
    if (redoing_ && !redo_.empty() && redo_.back() == code)
        redo_.pop_back();
    else
        redo_.clear();
    // The oldest moves go first: the log cannot replay them any more anyway.
    if (steps_.size() >= kLimit) steps_.pop_front();
    steps_.push_back({before, static_cast<std::uint8_t>(code)});
}

MoveHistory::Step MoveHistory::takeBack() {
    Step s = steps_.back();
    steps_.pop_back();
    redo_.push_back(s.code);
    return s;
}

void MoveHistory::rewindTo(const Position& at) {
    for (std::size_t i = steps_.size(); i-- > 0;) {
        if (!steps_[i].before.samePlace(at)) continue;
        while (steps_.size() > i)
            takeBack();
        return;
    }
    clear();
}

} // namespace sokoban

// Undo and redo of single moves: the position before each move of the line
// as it now stands, and the moves taken back that can be made again.
#pragma once

#include "storage/records.h"

#include <cstdint>
#include <deque>
#include <vector>

namespace sokoban {

// Everything a single move changes.
struct Position {
    Cells cells{};
    int man = 0;
    int moves = 0;
    int pushes = 0;
    bool logOverflow = false; // the move log had run full

    // Board and worker alike: the same puzzle to solve.
    bool sameBoard(const Position& o) const { return man == o.man && cells == o.cells; }
    // Board, worker and counters alike.
    bool samePlace(const Position& o) const {
        return sameBoard(o) && moves == o.moves && pushes == o.pushes;
    }
};

class MoveHistory {
  public:
    // As many moves as the move log holds.
    static constexpr std::size_t kLimit = 4095;

    struct Step {
        Position before;
        std::uint8_t code = 0; // 0 up, 1 down, 2 left, 3 right
    };

    void clear();

    // A move with this code is being made from `before`. A new move ends
    // what could be redone; a move made by redo() takes its own entry off.
    void record(const Position& before, int code);

    bool canUndo() const { return !steps_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    std::size_t size() const { return steps_.size(); }
    std::size_t redoSize() const { return redo_.size(); }

    // Takes the last move back: its step, whose code can then be redone.
    Step takeBack();

    // The code of the move redo makes; only when canRedo(). The caller makes
    // that move, and record() then sees it as the redone one.
    int redoCode() const { return redo_.back(); }
    void beginRedo() { redoing_ = true; }
    void endRedo() { redoing_ = false; }

    // The board went back to `at` by other means (the push undo): the moves
    // after the step that starts there can be redone; when the line never
    // passed there, nothing is left to undo or redo.
    void rewindTo(const Position& at);

  private:
    std::deque<Step> steps_;
    std::vector<std::uint8_t> redo_; // last taken back at the end
    bool redoing_ = false;
};

} // namespace sokoban

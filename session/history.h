// The play of one level as one line: the position the line started from,
// every step and push made since, and how far along it the board stands.
// Undo and redo move along the line, the push undo goes back to before the
// last push, retry and a new level start a new line, and a demonstration
// shown from here comes back to a mark. The move log and the records of the
// push-undo file are written from it.
#pragma once

#include "core/rules.h"
#include "storage/records.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace sokoban {

// The cells of a board in play, row by row.
using PlayCells = std::vector<std::uint8_t>;

// Everything a move changes. The board is a level record's 22 x 34 grid,
// or as large as a level of a collection that does not fit one (up to 64 x
// 64); cells are numbered row * cols + col either way.
struct Position {
    int rows = kRows;
    int cols = kCols;
    PlayCells cells = PlayCells(kCells);
    int man = 0;
    int moves = 0;
    int pushes = 0;
    bool logOverflow = false; // the move log had run full

    // A level record's grid.
    static Position ofRecord(const Cells& cells, int man);
    // A board of its own size, at least the record's grid.
    static Position ofBoard(const core::Board& board);
    core::Board board() const;
    // The board fits the records of the level files.
    bool onRecordGrid() const { return rows == kRows && cols == kCols; }
    int cellCount() const { return rows * cols; }
    bool contains(int cell) const { return cell >= 0 && cell < cellCount(); }

    // Board and worker alike: the same puzzle to solve.
    bool sameBoard(const Position& o) const {
        return man == o.man && cols == o.cols && rows == o.rows && cells == o.cells;
    }
    // Board, worker and counters alike.
    bool samePlace(const Position& o) const {
        return sameBoard(o) && moves == o.moves && pushes == o.pushes;
    }
    bool operator==(const Position&) const = default;
};

// The record of the push-undo file for a position: before a push, or where
// the level was entered. Its level field carries nothing. Only for a
// position on the record grid.
TSaveData undoRecord(const Position& p);

class History {
  public:
    // The move counter stops here. The move log has one slot more, which
    // every move past the last counted one overwrites.
    static constexpr int kMostMoves = 4095;
    static constexpr int kLogSlots = 4096;
    // Where the counter stops for a collection, whose answers may be longer
    // than the log: no play reaches it.
    static constexpr int kLongestLine = 1 << 24;
    using MoveLog = std::array<std::uint8_t, kLogSlots>;

    struct Move {
        std::uint8_t code = 0; // 0 up, 1 down, 2 left, 3 right
        bool push = false;
        bool operator==(const Move&) const = default;
    };

    // A move taken back: its code, and the way back (worker and box from
    // where they stood to where they return).
    struct Undone {
        int code = 0;
        core::MoveOutcome back;
    };

    // A new line from `from`: a level entered or retried, a slot loaded. The
    // moves of earlier lines stay in the move log until new ones overwrite
    // them; a mark is dropped.
    void start(const Position& from);
    // The counter stops at kMostMoves unless set otherwise; moves past it
    // overflow the log.
    void setCounterLimit(int limit) { limit_ = limit; }

    const Position& now() const { return line_.now; }
    const Position& origin() const { return line_.start; }
    // Moves of the line up to the board, and all of it (what redo can make).
    std::size_t done() const { return line_.at; }
    std::size_t length() const { return line_.moves.size(); }
    const std::vector<Move>& moves() const { return line_.moves; }
    bool canUndo() const { return line_.at > 0; }
    bool canRedo() const { return line_.at < line_.moves.size(); }
    // Pushes of the line up to the board: the records above record 0 of the
    // push-undo file.
    int undoDepth() const { return line_.depth; }

    // What a move in direction `code` (0..3) would do from here.
    core::MoveOutcome tryMove(int code) const;
    // Makes the move when the rules allow it. A step or a push is a new move
    // of the line and ends what could be redone.
    core::MoveOutcome move(int code);
    // The move redo makes; only when canRedo().
    int redoCode() const { return line_.moves[line_.at].code; }
    // Makes the next move of the line again; the rest stays redoable.
    core::MoveOutcome redo();
    // Takes the last move back; only when canUndo().
    Undone undo();
    // Back to just before the last push on the line up to the board, or to
    // the line's start when there is none; what was taken back can be redone.
    void undoPush();

    // A demonstration starts here: backToMark() puts the line back as it is
    // now, the moves it made forgotten, the move log included.
    void setMark() { mark_ = line_; }
    bool hasMark() const { return mark_.has_value(); }
    void backToMark();
    void dropMark() { mark_.reset(); }

    // The move log: slot k holds the code of the last move made as move k+1
    // of any line, moves past the counter's end in the last slot; zero where
    // no move was ever made.
    MoveLog moveLog() const;

  private:
    struct Line {
        Position start;
        Position now;
        std::vector<Move> moves;
        std::size_t at = 0;
        int depth = 0;
        // What lines and moves no longer on this line left in the log.
        MoveLog earlier{};
    };

    // The log slot of move `index` (from 0) of the line.
    int slotOf(std::size_t index) const;
    void setCounters();
    // The moves from `from` on leave the line; their log slots keep them.
    void cut(std::size_t from);

    Line line_;
    std::optional<Line> mark_;
    int limit_ = kMostMoves;
};

} // namespace sokoban

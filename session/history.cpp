#include "session/history.h"

#include "storage/maze_board.h"

#include <algorithm>

namespace sokoban {

namespace {

// The rules' move on a position's board; the cells it changed are copied
// back.
core::MoveOutcome applyTo(Position& p, int code) {
    core::Board board = p.board();
    const core::MoveOutcome out = core::apply(board, static_cast<core::Dir>(code));
    if (out.kind == core::MoveKind::Push) {
        p.cells[static_cast<std::size_t>(out.boxFrom)] = board.at(out.boxFrom);
        p.cells[static_cast<std::size_t>(out.boxTo)] = board.at(out.boxTo);
    }
    p.man = out.workerTo;
    return out;
}

} // namespace

Position Position::ofRecord(const Cells& cells, int man) {
    Position p;
    std::copy(cells.begin(), cells.end(), p.cells.begin());
    p.man = man;
    return p;
}

Position Position::ofBoard(const core::Board& board) {
    Position p;
    p.rows = std::max(board.rows, kRows);
    p.cols = std::max(board.cols, kCols);
    p.cells.assign(static_cast<std::size_t>(p.rows * p.cols), kOutside);
    for (int r = 0; r < board.rows; ++r)
        for (int c = 0; c < board.cols; ++c)
            p.cells[static_cast<std::size_t>(r * p.cols + c)] = board.at(r, c);
    p.man = board.contains(board.worker)
                ? board.rowOf(board.worker) * p.cols + board.colOf(board.worker)
                : -1;
    return p;
}

core::Board Position::board() const {
    core::Board b(rows, cols);
    std::copy(cells.begin(),
              cells.begin() + std::min<std::ptrdiff_t>(static_cast<std::ptrdiff_t>(cells.size()),
                                                       static_cast<std::ptrdiff_t>(b.cells.size())),
              b.cells.begin());
    b.worker = man;
    return b;
}

TSaveData undoRecord(const Position& p) {
    TSaveData r;
    r.moves = static_cast<std::int16_t>(p.moves);
    r.pushes = static_cast<std::int16_t>(p.pushes);
    r.man = static_cast<std::int16_t>(p.man);
    if (p.onRecordGrid()) std::copy(p.cells.begin(), p.cells.end(), r.cells.begin());
    return r;
}

void History::start(const Position& from) {
    cut(0);
    line_.start = from;
    line_.now = from;
    line_.at = 0;
    line_.depth = 0;
    mark_.reset();
}

int History::slotOf(std::size_t index) const {
    const auto slot = static_cast<std::size_t>(std::max(line_.start.moves, 0)) + index;
    return static_cast<int>(std::min<std::size_t>(slot, kMostMoves));
}

void History::setCounters() {
    Position& now = line_.now;
    const std::size_t counted = static_cast<std::size_t>(std::max(line_.start.moves, 0)) + line_.at;
    now.moves = static_cast<int>(std::min<std::size_t>(counted, static_cast<std::size_t>(limit_)));
    now.pushes = line_.start.pushes + line_.depth;
    // A move made with the counter at its end went into the last slot over
    // the one before it.
    now.logOverflow = line_.start.logOverflow || counted > static_cast<std::size_t>(limit_);
}

void History::cut(std::size_t from) {
    for (std::size_t i = from; i < line_.moves.size(); ++i)
        line_.earlier[static_cast<std::size_t>(slotOf(i))] = line_.moves[i].code;
    line_.moves.resize(std::min(from, line_.moves.size()));
}

core::MoveOutcome History::tryMove(int code) const {
    if (code < 0 || code > 3) return {};
    return core::tryMove(line_.now.board(), static_cast<core::Dir>(code));
}

core::MoveOutcome History::move(int code) {
    if (code < 0 || code > 3) return {};
    Position next = line_.now;
    const core::MoveOutcome out = applyTo(next, code);
    if (out.kind == core::MoveKind::Blocked) return out;
    cut(line_.at);
    const bool push = out.kind == core::MoveKind::Push;
    line_.moves.push_back({static_cast<std::uint8_t>(code), push});
    line_.now = next;
    ++line_.at;
    if (push) ++line_.depth;
    setCounters();
    return out;
}

core::MoveOutcome History::redo() {
    const Move m = line_.moves[line_.at];
    const core::MoveOutcome out = applyTo(line_.now, m.code);
    ++line_.at;
    if (m.push) ++line_.depth;
    setCounters();
    return out;
}

History::Undone History::undo() {
    const Move m = line_.moves[line_.at - 1];
    Position& now = line_.now;
    const int step = core::kDRow[m.code] * now.cols + core::kDCol[m.code];
    Undone u;
    u.code = m.code;
    u.back.workerFrom = now.man;
    u.back.workerTo = now.man - step;
    u.back.kind = core::MoveKind::Step;
    if (m.push) {
        u.back.kind = core::MoveKind::Push;
        u.back.boxFrom = now.man + step;
        u.back.boxTo = now.man;
        now.cells[static_cast<std::size_t>(u.back.boxFrom)] -= 2;
        now.cells[static_cast<std::size_t>(u.back.boxTo)] += 2;
    }
    now.man = u.back.workerTo;
    --line_.at;
    if (m.push) --line_.depth;
    setCounters();
    return u;
}

void History::undoPush() {
    std::size_t target = line_.at;
    while (target > 0 && !line_.moves[target - 1].push)
        --target;
    if (target > 0) --target; // before the push itself
    while (line_.at > target)
        undo();
}

void History::backToMark() {
    if (!mark_) return;
    line_ = std::move(*mark_);
    mark_.reset();
}

History::MoveLog History::moveLog() const {
    MoveLog log = line_.earlier;
    for (std::size_t i = 0; i < line_.moves.size(); ++i)
        log[static_cast<std::size_t>(slotOf(i))] = line_.moves[i].code;
    return log;
}

} // namespace sokoban

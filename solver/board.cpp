#include "board.h"

#include "core/flood.h"
#include "core/paths.h"

#include <algorithm>

namespace sokoban::solver {

Board::Board(const core::Board& level) : level_(level) {
    const int cells = level.rows * level.cols;
    square_.assign(cells, kNone);
    // The squares the worker can reach with every box lifted off the board.
    const std::vector<bool> area = core::reach(level, level.worker, core::Walk::ThroughBoxes);
    for (int p = 0; p < cells; ++p)
        if (area[p]) grid_.push_back(p);
    for (std::size_t i = 0; i < grid_.size(); ++i)
        square_[grid_[i]] = static_cast<Square>(i);
    next_.resize(grid_.size());
    target_.assign(grid_.size(), 0);
    tunnel_.assign(grid_.size(), 0);
    for (std::size_t i = 0; i < grid_.size(); ++i) {
        int p = grid_[i];
        int r = p / level.cols, c = p % level.cols;
        for (int d = 0; d < 4; ++d) {
            int nr = r + kDRow[d], nc = c + kDCol[d];
            bool inside = nr >= 0 && nc >= 0 && nr < level.rows && nc < level.cols;
            next_[i][d] = inside ? square_[nr * level.cols + nc] : kNone;
        }
        std::uint8_t code = level.cells[p];
        if (code == kTarget || code == kBoxOnTarget) {
            target_[i] = 1;
            targets_.push_back(static_cast<Square>(i));
        }
        if (code == kBox || code == kBoxOnTarget) boxes_.push_back(static_cast<Square>(i));
    }
    for (std::size_t i = 0; i < grid_.size(); ++i) {
        // Bit 0: walled across a vertical move (left and right), bit 1: across
        // a horizontal move (up and down).
        if (next_[i][kLeft] == kNone && next_[i][kRight] == kNone) tunnel_[i] |= 1;
        if (next_[i][kUp] == kNone && next_[i][kDown] == kNone) tunnel_[i] |= 2;
    }
    man_ = square_[level.worker];

    // Boxes the worker cannot reach stay where they are: on a target they are
    // as good as wall, anywhere else the level is lost.
    for (int p = 0; p < cells; ++p) {
        if (square_[p] == kNone && level.cells[p] == kBox) {
            unsolvable_ = "a box outside the worker's area is not on a target";
        }
    }
    if (boxes_.size() > targets_.size())
        unsolvable_ = "more boxes (" + std::to_string(boxes_.size()) + ") than targets (" +
                      std::to_string(targets_.size()) + ")";
    computeDeadAndDistances();
    computeSideDistances();
}

void Board::computeDeadAndDistances() {
    const int n = size();
    dist_.assign(static_cast<std::size_t>(targets_.size()) * n, kFar);
    dead_.assign(n, 1);
    core::Flood<core::kFloodDistances> flood(n);
    for (std::size_t t = 0; t < targets_.size(); ++t) {
        // Pull the box away from the target: a box on s came from s + d when
        // the worker stood on s + 2d, i.e. pulling from s to s + d needs both
        // squares free of walls.
        flood.clear();
        flood.start(targets_[t]);
        flood.run([&](int s) {
            for (int d = 0; d < 4; ++d) {
                const Square from = next_[s][d];
                if (from != kNone && next_[from][d] != kNone) flood.visit(from);
            }
        });
        std::uint16_t* dist = &dist_[t * n];
        for (const int s : flood.order()) {
            dist[s] = static_cast<std::uint16_t>(flood.distance(s));
            dead_[s] = 0;
        }
    }
}

void Board::computeSideDistances() {
    const int n = size();
    // Past these sizes the tables cost more time and memory than they save.
    if (n > 2000 || static_cast<std::size_t>(targets_.size()) * n * 4 > (std::size_t{8} << 20))
        return;
    // Groups: which sides of a box on s the worker can walk between.
    sideGroup_.assign(static_cast<std::size_t>(n) * 4, kNoGroup);
    core::Flood<> walk(n);
    for (int s = 0; s < n; ++s) {
        std::uint8_t group = 0;
        for (int k = 0; k < 4; ++k) {
            Square start = next_[s][k];
            if (start == kNone || sideGroup_[s * 4 + k] != kNoGroup) continue;
            sideGroup_[s * 4 + k] = group;
            int missing = 0;
            for (int j = k + 1; j < 4; ++j)
                missing += next_[s][j] != kNone && sideGroup_[s * 4 + j] == kNoGroup;
            // Round the box on s, until every side still open is found.
            walk.clear();
            walk.start(start);
            if (missing > 0)
                walk.run([&](int q) {
                    for (int d = 0; d < 4; ++d) {
                        const Square r = next_[q][d];
                        if (r == kNone || r == s || !walk.visit(r)) continue;
                        for (int j = k + 1; j < 4; ++j) {
                            if (next_[s][j] == r && sideGroup_[s * 4 + j] == kNoGroup) {
                                sideGroup_[s * 4 + j] = group;
                                --missing;
                            }
                        }
                    }
                    return missing > 0;
                });
            ++group;
        }
    }
    // Backwards from each target: a box on s pushed in direction d had the
    // worker on side opposite(d); afterwards it stands on s' = next(s, d)
    // with the worker on side opposite(d) of s', i.e. on s.
    sideDist_.assign(static_cast<std::size_t>(targets_.size()) * n * 4, kFar);
    core::Flood<core::kFloodDistances> states(n * 4);
    for (std::size_t t = 0; t < targets_.size(); ++t) {
        const Square goal = targets_[t];
        states.clear();
        for (int k = 0; k < 4; ++k)
            if (next_[goal][k] != kNone) states.start(goal * 4 + k);
        states.run([&](int st) {
            const Square to = static_cast<Square>(st / 4);
            const int side = st % 4;
            // The box came from the square on that side, pushed away from it.
            const Square from = next_[to][side];
            if (from == kNone || next_[from][side] == kNone) return;
            const std::uint8_t group = sideGroup_[from * 4 + side];
            for (int k = 0; k < 4; ++k)
                if (sideGroup_[from * 4 + k] == group) states.visit(from * 4 + k);
        });
        std::uint16_t* dist = &sideDist_[t * n * 4];
        for (const int st : states.order())
            dist[st] = static_cast<std::uint16_t>(states.distance(st));
    }
}

} // namespace sokoban::solver

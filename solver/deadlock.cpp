#include "deadlock.h"

#include <algorithm>
#include <bit>

namespace sokoban::solver {

Detector::Detector(const Board& board)
    : board_(board), asWall_(board.size(), 0), reach_(board.size()), corralMark_(board.size(), 0),
      fenceMark_(board.size(), 0), area_(board.size()) {
    const core::Board& lv = board.level();
    rowOf_.resize(board.size());
    colOf_.resize(board.size());
    floorRows_.assign(lv.rows, 0);
    areaRows_.assign(lv.rows, 0);
    for (int s = 0; s < board.size(); ++s) {
        int g = board.gridOf(static_cast<Square>(s));
        rowOf_[s] = static_cast<std::uint8_t>(g / lv.cols);
        colOf_[s] = static_cast<std::uint8_t>(g % lv.cols);
        floorRows_[rowOf_[s]] |= std::uint64_t{1} << colOf_[s];
    }
}

Square Detector::leastReachable(const std::vector<std::uint64_t>& boxRows, Square man) {
    const int rows = static_cast<int>(floorRows_.size());
    std::fill(areaRows_.begin(), areaRows_.end(), 0);
    areaRows_[rowOf_[man]] = std::uint64_t{1} << colOf_[man];
    // Sweep down and up, spreading sideways within each row, until nothing
    // changes.
    auto spread = [&](int r, std::uint64_t seed) {
        const std::uint64_t open = floorRows_[r] & ~boxRows[r];
        std::uint64_t x = seed & open;
        for (;;) {
            std::uint64_t y = (x | (x << 1) | (x >> 1)) & open;
            if (y == x) return x;
            x = y;
        }
    };
    bool changed = true;
    while (changed) {
        changed = false;
        for (int r = 0; r < rows; ++r) {
            std::uint64_t seed = areaRows_[r] | (r > 0 ? areaRows_[r - 1] : 0);
            if (!seed) continue;
            std::uint64_t x = spread(r, seed) | areaRows_[r];
            if (x != areaRows_[r]) {
                areaRows_[r] = x;
                changed = true;
            }
        }
        for (int r = rows - 1; r >= 0; --r) {
            std::uint64_t seed = areaRows_[r] | (r + 1 < rows ? areaRows_[r + 1] : 0);
            if (!seed) continue;
            std::uint64_t x = spread(r, seed) | areaRows_[r];
            if (x != areaRows_[r]) {
                areaRows_[r] = x;
                changed = true;
            }
        }
    }
    for (int r = 0; r < rows; ++r) {
        if (areaRows_[r]) {
            int c = std::countr_zero(areaRows_[r]);
            return board_.squareOf(r * board_.level().cols + c);
        }
    }
    return man;
}

bool Detector::blockedOnAxis(Square s, int firstDir) {
    Square a = board_.next(s, firstDir), b = board_.next(s, firstDir + 1);
    if (a == kNone || b == kNone || asWall_[a] || asWall_[b]) return true;
    if (board_.isDead(a) && board_.isDead(b)) return true;
    const auto& boxAt = *boxAt_;
    if (boxAt[a] && isFrozen(a)) return true;
    if (boxAt[b] && isFrozen(b)) return true;
    return false;
}

bool Detector::isFrozen(Square s) {
    // While its neighbours are looked at, this box counts as wall; a box is
    // frozen when it is blocked along both axes.
    asWall_[s] = 1;
    std::size_t mark = frozen_.size();
    bool frozen = blockedOnAxis(s, kUp) && blockedOnAxis(s, kLeft);
    asWall_[s] = 0;
    if (frozen)
        frozen_.push_back(s);
    else
        frozen_.resize(mark);
    return frozen;
}

bool Detector::frozenOffTarget(const std::vector<std::uint16_t>& boxAt, Square s) {
    boxAt_ = &boxAt;
    frozen_.clear();
    if (!isFrozen(s)) return false;
    for (Square f : frozen_)
        if (!board_.isTarget(f)) return true;
    return false;
}

Square Detector::reach(const std::vector<std::uint16_t>& boxAt, Square man) {
    Square least = man;
    reach_.clear();
    reach_.start(man);
    reach_.run([&](int s) {
        if (s < least) least = static_cast<Square>(s);
        for (int d = 0; d < 4; ++d) {
            const Square n = board_.next(static_cast<Square>(s), d);
            if (n != kNone && !boxAt[n]) reach_.visit(n);
        }
    });
    return least;
}

Detector::Corral Detector::corral(const std::vector<std::uint16_t>& boxAt,
                                  const std::vector<Square>& boxes, std::vector<PushMove>& pushes) {
    // Soundness: until one of the boxes bordering the area moves, the area
    // stays closed and the boxes outside cannot enter it. So when the area
    // must be opened at all, some border push comes first; if every push
    // that could come first is possible now and goes into the area, the
    // other pushes can wait until after it.
    const bool fullHouse = boxes.size() == board_.targets().size();
    Corral result = Corral::None;
    if (++corralStamp_ == 0) {
        std::fill(corralMark_.begin(), corralMark_.end(), 0);
        corralStamp_ = 1;
    }
    const std::uint32_t base = corralStamp_;
    const int n = board_.size();
    for (int start = 0; start < n; ++start) {
        if (boxAt[start] || reached(static_cast<Square>(start)) || corralMark_[start] >= base)
            continue;
        // One area: its free squares get their own stamp.
        if (++corralStamp_ == 0) { // out of stamps: start afresh next time
            std::fill(corralMark_.begin(), corralMark_.end(), 0);
            return result;
        }
        const std::uint32_t area = corralStamp_;
        if (++fenceStamp_ == 0) {
            std::fill(fenceMark_.begin(), fenceMark_.end(), 0);
            fenceStamp_ = 1;
        }
        fence_.clear();
        bool needsWork = false;
        area_.clear();
        area_.start(start);
        area_.run([&](int s) {
            corralMark_[s] = area;
            if (fullHouse && board_.isTarget(static_cast<Square>(s))) needsWork = true;
            for (int d = 0; d < 4; ++d) {
                const Square q = board_.next(static_cast<Square>(s), d);
                if (q == kNone) continue;
                if (!boxAt[q]) {
                    area_.visit(q);
                } else if (fenceMark_[q] != fenceStamp_) {
                    fenceMark_[q] = fenceStamp_;
                    fence_.push_back(q);
                    if (!board_.isTarget(q)) needsWork = true;
                }
            }
        });
        if (!needsWork) continue;
        auto inArea = [&](Square q) { return corralMark_[q] == area; };
        auto inFence = [&](Square q) { return boxAt[q] && fenceMark_[q] == fenceStamp_; };
        candidates_.clear();
        bool usable = true;
        for (Square b : fence_) {
            for (int d = 0; d < 4 && usable; ++d) {
                Square worker = board_.next(b, opposite(d));
                Square to = board_.next(b, d);
                if (worker == kNone || to == kNone) continue;
                if (inArea(worker) || inFence(worker) || inFence(to) || board_.isDead(to))
                    continue; // cannot be the first border push
                if (inArea(to) && reached(worker))
                    candidates_.push_back({b, static_cast<std::uint8_t>(d)});
                else
                    usable = false; // a first push that is not possible now
            }
            if (!usable) break;
        }
        if (!usable) continue;
        if (candidates_.empty()) {
            pushes.clear();
            return Corral::Deadlock;
        }
        if (result == Corral::None || candidates_.size() < pushes.size()) {
            pushes = candidates_;
            result = Corral::Restrict;
        }
    }
    return result;
}

} // namespace sokoban::solver

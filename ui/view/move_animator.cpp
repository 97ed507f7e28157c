#include "move_animator.h"

#include "board_painter.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace sokoban {

MoveAnimator::MoveAnimator(BoardPainter& painter) : painter_(painter) {
    elapsed_.start();
    clock_ = [this] { return static_cast<std::int64_t>(elapsed_.elapsed()); };
    timer_.setInterval(kFrameMs);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] { advance(); });
}

bool MoveAnimator::neighbours(int a, int b) const {
    const int n = painter_.cellCount(), cols = std::max(painter_.cols, 1);
    if (a < 0 || b < 0 || a >= n || b >= n) return false;
    return std::abs(a / cols - b / cols) + std::abs(a % cols - b % cols) == 1;
}

void MoveAnimator::start(const Step& step) {
    finish();
    if (painter_.closing || painter_.layout.cellSize <= 0 ||
        !neighbours(step.workerFrom, step.workerTo))
        return;
    const bool box = step.boxFrom >= 0 || step.boxTo >= 0;
    if (box && !neighbours(step.boxFrom, step.boxTo)) return;
    const std::int64_t now = clock_();
    const std::int64_t gap = lastStart_ < 0 ? kWalkGapMs + 1 : now - lastStart_;
    lastStart_ = now;
    // A step soon after the last one goes on at the pace the steps come
    // in, evenly, and ends about as the next one begins; a step on its own
    // starts fast and settles.
    linear_ = gap <= kWalkGapMs;
    duration_ = linear_ ? static_cast<int>(std::max<std::int64_t>(gap, kShortestMs)) : kStepMs;
    step_ = step;
    startedAt_ = now;
    progress_ = 0;
    area_ = painter_.cellRect(step.workerFrom).united(painter_.cellRect(step.workerTo));
    if (box)
        area_ = area_.united(painter_.cellRect(step.boxFrom)).united(painter_.cellRect(step.boxTo));
    running_ = true;
    render();
    if (onChanged) onChanged(area_);
    timer_.start();
}

void MoveAnimator::advance() {
    if (!running_) return;
    const double t = static_cast<double>(clock_() - startedAt_) / duration_;
    if (t >= 1) {
        finish();
        return;
    }
    const double s = std::clamp(t, 0.0, 1.0);
    progress_ = linear_ ? s : 1 - (1 - s) * (1 - s) * (1 - s);
    render();
    if (onChanged) onChanged(area_);
}

void MoveAnimator::finish() {
    if (!running_) return;
    running_ = false;
    timer_.stop();
    progress_ = 1;
    frame_ = QImage();
    if (onChanged) onChanged(area_);
}

void MoveAnimator::render() {
    const qreal dpr = painter_.image().devicePixelRatio();
    const QSize size(qRound(area_.width() * dpr), qRound(area_.height() * dpr));
    if (frame_.size() != size) {
        frame_ = QImage(size, QImage::Format_RGB32);
        frame_.setDevicePixelRatio(dpr);
    }
    QPainter p(&frame_);
    p.translate(-area_.topLeft());
    for (int i : {step_.workerFrom, step_.workerTo, step_.boxFrom, step_.boxTo})
        painter_.drawEmptyCell(p, i);
    auto along = [this](int from, int to) {
        const QPoint a = painter_.cellRect(from).topLeft(), b = painter_.cellRect(to).topLeft();
        return QPoint(a.x() + qRound((b.x() - a.x()) * progress_),
                      a.y() + qRound((b.y() - a.y()) * progress_));
    };
    if (step_.boxFrom >= 0) {
        // The box takes the look of the cell it is over for the most part.
        const auto& cells = *painter_.cells;
        const bool onTarget = progress_ < 0.5
                                  ? core::isTarget(cells[static_cast<std::size_t>(step_.boxFrom)])
                                  : core::isTarget(cells[static_cast<std::size_t>(step_.boxTo)]);
        painter_.drawBox(p, along(step_.boxFrom, step_.boxTo), onTarget);
    }
    painter_.drawWorker(p, along(step_.workerFrom, step_.workerTo), step_.frame);
}

} // namespace sokoban

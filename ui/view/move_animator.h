// Moves the player can follow: the worker, and the box he pushes, glide from
// one cell to the next. The board picture already shows where they stand
// when a step begins; the animator only draws the way there, as a small
// picture laid over the board until the step ends. So the game never waits
// for it, and with no step on its way the board is exactly the picture.
#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QRect>
#include <QTimer>
#include <cstdint>
#include <functional>

namespace sokoban {

class BoardPainter;

class MoveAnimator {
  public:
    // Milliseconds on any steady clock.
    using Clock = std::function<std::int64_t()>;

    // A single step or push; cells as the painter numbers them, -1 for no box.
    struct Step {
        int workerFrom = -1;
        int workerTo = -1;
        int boxFrom = -1;
        int boxTo = -1;
        int frame = 0; // the worker's frame, 0..7
    };

    // The time of a step on its own; steps that follow each other faster
    // take the time between them, so that a walk flows on.
    static constexpr int kStepMs = 100;
    // Steps closer than this belong to one walk.
    static constexpr int kWalkGapMs = 250;
    // Fewer milliseconds would only skip frames.
    static constexpr int kShortestMs = 16;
    static constexpr int kFrameMs = 16;

    explicit MoveAnimator(BoardPainter& painter);

    // The board rectangle to paint again (the widget's update).
    std::function<void(const QRect&)> onChanged;
    // The clock the steps are timed by (tests give their own).
    void setClock(Clock clock) { clock_ = std::move(clock); }

    // A step the board picture shows at its end already. A step still on
    // its way ends first. Steps that are no glide (a turn, a jump across
    // the board) end what runs and start nothing.
    void start(const Step& step);
    // One frame at the clock's time; the end when the time is up.
    void advance();
    // The step on its way (if any) ends: the board shows the picture alone.
    void finish();

    bool running() const { return running_; }
    // How far the step has come, 0..1 (eased).
    double progress() const { return progress_; }
    int duration() const { return duration_; }
    // The board rectangle the frame covers and the frame itself.
    const QRect& area() const { return area_; }
    const QImage& frame() const { return frame_; }

  private:
    bool neighbours(int a, int b) const;
    void render();

    BoardPainter& painter_;
    QElapsedTimer elapsed_;
    Clock clock_;
    QTimer timer_;
    Step step_;
    bool running_ = false;
    bool linear_ = false;
    std::int64_t startedAt_ = 0;
    std::int64_t lastStart_ = -1;
    int duration_ = kStepMs;
    double progress_ = 0;
    QRect area_;
    QImage frame_;
};

} // namespace sokoban

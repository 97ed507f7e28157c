// Measures animated moves in the real main window: a room filling the whole
// grid, the window at full-HD and 4K sizes with the board fitted to it. The
// screen must hold the window, e.g. offscreen with a configuration file:
//   {"screens": [{"name": "5k", "x": 0, "y": 0, "width": 5120, "height": 2880}]}
//   QT_QPA_PLATFORM=offscreen:configfile=screens.json anim_bench
//   frame      one frame of a glide: the frame drawn and its part of the
//              widget painted again (median and 95th percentile)
//   walk       processor time (user + system, /proc/self/stat) over a long
//              mouse walk on the real timers, as a share of the wall time
//   latency    from a key press to the first painted frame of its glide and
//              to the first painted frame between the two cells
#include "session/dialogs.h"
#include "storage/level_set.h"
#include "ui/main/main_form.h"
#include "ui/pictures/pictures.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <unistd.h>

using namespace sokoban;

namespace {

constexpr int kRows = 22;

// A room the size of the grid with a few boxes in it.
void writeRoom(const std::filesystem::path& dir) {
    TMazeData m;
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c) {
            const bool wall = r == 0 || c == 0 || r == kRows - 1 || c == kCols - 1;
            m.cells[static_cast<std::size_t>(r * kCols + c)] = wall ? kWall : kFloor;
        }
    for (int c : {5, 9, 13})
        m.cells[static_cast<std::size_t>(10 * kCols + c)] = kBox;
    for (int c : {5, 9, 13})
        m.cells[static_cast<std::size_t>(12 * kCols + c)] = kTarget;
    m.man = static_cast<std::int16_t>(1 * kCols + 1);
    const Bytes b = m.encode();
    std::ofstream(dir / "game.box", std::ios::binary)
        .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    // Animation on, shortest walks on.
    std::ofstream(dir / "assist.var", std::ios::binary) << std::string("\x00\x01\x0a\x00\x01", 5);
}

double cpuSeconds() {
    std::ifstream in("/proc/self/stat");
    std::string all((std::istreambuf_iterator<char>(in)), {});
    std::istringstream rest(all.substr(all.rfind(')') + 2));
    std::string field;
    long long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && rest >> field; ++i) {
        if (i == 14) utime = std::stoll(field);
        if (i == 15) stime = std::stoll(field);
    }
    return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v[static_cast<std::size_t>(p * static_cast<double>(v.size() - 1))];
}

// Notes the paints of the board widget.
struct PaintWatch : QObject {
    MoveAnimator* animator = nullptr;
    QElapsedTimer* clock = nullptr;
    qint64 firstGlide = -1, firstBetween = -1;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint && animator->running()) {
            if (firstGlide < 0) firstGlide = clock->nsecsElapsed();
            if (firstBetween < 0 && animator->progress() > 0) firstBetween = clock->nsecsElapsed();
        }
        return false;
    }
};

// Runs the event loop, asleep between events, until done or a minute has passed.
void waitUntil(const std::function<bool()>& done) {
    QEventLoop loop;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        if (done()) loop.quit();
    });
    look.start(2);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    if (!done()) loop.exec();
}

void measure(const QSize& size) {
    QTemporaryDir tmp;
    const std::filesystem::path dir = tmp.path().toStdString();
    writeRoom(dir);
    ScriptedDialogs dialogs;
    MainFormServices services;
    services.dialogs = &dialogs;
    TMainForm form(dir, QStringList{"sokoban"}, services);
    form.FormCreate();
    form.show();
    (void)QTest::qWaitForWindowExposed(&form);
    // Started maximised on a screen of its size: the size asked for instead.
    form.showNormal();
    form.resize(size);
    QTest::qWait(50);
    form.timer1().stop();
    QApplication::processEvents();
    BoardImage* image = form.boardImage();
    image->setFocus();
    const int cellSize = form.model().layout().cellSize;
    const int cols = form.model().cols();

    // Frames: a push at rest on a hand-driven clock, a frame per millisecond.
    std::int64_t now = 0;
    MoveAnimator& animator = form.animator();
    animator.setClock([&] { return now; });
    std::vector<double> frames;
    QElapsedTimer t;
    for (int round = 0; round < 200; ++round) {
        now += 10000;
        animator.start({10 * cols + 3, 10 * cols + 4, 10 * cols + 4, 10 * cols + 5, 6});
        for (int ms = 1; ms < MoveAnimator::kStepMs; ms += 7) {
            now += 7;
            t.start();
            animator.advance();
            image->repaint(animator.area());
            frames.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
        }
        animator.finish();
    }
    // For comparison, the whole board painted once.
    std::vector<double> whole;
    for (int i = 0; i < 50; ++i) {
        t.start();
        image->repaint();
        whole.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
    }
    std::printf("%dx%d (board %dx%d, cell %d px): frame median %.3f ms, p95 %.3f ms; whole "
                "board %.3f ms\n",
                size.width(), size.height(), image->width(), image->height(), cellSize,
                percentile(frames, 0.5), percentile(frames, 0.95), percentile(whole, 0.5));

    // Latency on the real clock and event loop.
    QElapsedTimer wall;
    wall.start();
    animator.setClock([&] { return static_cast<std::int64_t>(wall.elapsed()); });
    PaintWatch watch;
    watch.animator = &animator;
    watch.clock = &wall;
    image->installEventFilter(&watch);
    std::vector<double> toGlide, toBetween;
    for (int i = 0; i < 20; ++i) {
        QTest::qWait(300);
        watch.firstGlide = watch.firstBetween = -1;
        const qint64 at = wall.nsecsElapsed();
        QTest::keyClick(image, i % 2 ? Qt::Key_Left : Qt::Key_Right);
        waitUntil([&] { return watch.firstBetween >= 0 || !animator.running(); });
        if (watch.firstGlide >= 0)
            toGlide.push_back(static_cast<double>(watch.firstGlide - at) / 1e6);
        if (watch.firstBetween >= 0)
            toBetween.push_back(static_cast<double>(watch.firstBetween - at) / 1e6);
    }
    image->removeEventFilter(&watch);
    if (!toGlide.empty() && !toBetween.empty())
        std::printf("  key to first frame: median %.2f ms (max %.2f); to first frame between "
                    "cells: median %.2f ms (max %.2f)\n",
                    percentile(toGlide, 0.5), percentile(toGlide, 1), percentile(toBetween, 0.5),
                    percentile(toBetween, 1));

    // A long walk on the real timers: corner to corner and back, four times.
    for (bool animate : {true, false}) {
        form.model().playOptions().animate = animate ? 1 : 0;
        const double cpu0 = cpuSeconds();
        QElapsedTimer walk;
        walk.start();
        int steps = 0;
        for (int i = 0; i < 4; ++i) {
            const int goal = i % 2 ? 1 * cols + 1 : (kRows - 2) * cols + (kCols - 2);
            const auto& l = form.model().layout();
            const QPoint at(((goal % cols) + l.originCol) * l.cellSize + l.cellSize / 2,
                            ((goal / cols) + l.originRow) * l.cellSize + l.cellSize / 2);
            const int before = form.model().moveCount();
            QTest::mouseClick(image, Qt::LeftButton, {}, at);
            waitUntil([&] { return !form.timer2().isActive() && !animator.running(); });
            steps += form.model().moveCount() - before;
        }
        const double cpu = cpuSeconds() - cpu0;
        const double secs = static_cast<double>(walk.elapsed()) / 1000;
        std::printf("  walk of %d steps, animation %s: %.2f s, processor %.2f s = %.1f%% of one "
                    "core\n",
                    steps, animate ? "on " : "off", secs, cpu, 100 * cpu / secs);
    }
    form.close();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("推箱子");
    initPictures();
    for (const QSize size : {QSize(1920, 1080), QSize(3840, 2160)})
        measure(size);
    return 0;
}

// The yardstick for the game's start-up: a bare Qt window with one menu, a
// label and a timer that leaves right after the first frame is drawn. Writes
// the wall-clock time of that frame (nanoseconds since the epoch) to stderr
// as "first frame <ns>", like the game under SOKOBAN_QUIT_AFTER_START=stamp.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPaintEvent>
#include <QTimer>

#include <chrono>
#include <cstdio>

namespace {
class FirstFrameLabel : public QLabel {
  public:
    using QLabel::QLabel;

  protected:
    void paintEvent(QPaintEvent* event) override {
        QLabel::paintEvent(event);
        if (painted_) return;
        painted_ = true;
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        std::fprintf(stderr, "first frame %lld\n",
                     static_cast<long long>(
                         std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
        QTimer::singleShot(0, window(), &QWidget::close);
    }

  private:
    bool painted_ = false;
};
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu("游戏(&G)")->addAction("退出(&X)", &window, &QWidget::close);
    window.setCentralWidget(new FirstFrameLabel("推箱子"));
    window.resize(640, 480);
    window.show();
    return app.exec();
}

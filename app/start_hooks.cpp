#include "app/start_hooks.h"

#include "ui/main/main_form.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <memory>

namespace sokoban {

namespace {

class FirstPaint : public QObject {
  public:
    FirstPaint(QWidget* board, std::function<void()> then)
        : QObject(board), then_(std::move(then)) {}

    bool eventFilter(QObject*, QEvent* event) override {
        // The paint is delivered after the filter; what follows waits for the next turn.
        if (event->type() == QEvent::Paint) fire();
        return false;
    }
    void fire() {
        if (!then_) return;
        QTimer::singleShot(0, parent(), std::move(then_));
        then_ = nullptr;
        deleteLater();
    }

  private:
    std::function<void()> then_;
};

void pressKey(QWidget* target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
    QCoreApplication::sendEvent(target, &release);
}

int arrowKey(QChar c) {
    switch (c.toUpper().unicode()) {
    case 'L':
        return Qt::Key_Left;
    case 'R':
        return Qt::Key_Right;
    case 'U':
        return Qt::Key_Up;
    case 'D':
        return Qt::Key_Down;
    default:
        return 0;
    }
}

// One step per turn of the event loop, so that messages opened by a key run their own loop
// and are answered from there.
struct Player {
    QPointer<TMainForm> form;
    QString keys;
    int next = 0;
    bool quit = false;
    std::function<bool()> soundReady;

    static void step(const std::shared_ptr<Player>& self) {
        if (!self->form) return;
        QWidget* message = QApplication::activeModalWidget();
        const bool keysLeft = self->next < self->keys.size();
        if (!message && !keysLeft) {
            if (!self->quit) return;
            if (self->soundReady()) {
                self->form->close();
                return;
            }
        }
        // The next step is due before this one acts: a key may open a message whose own
        // loop runs until the step after answers it.
        QTimer::singleShot(keysLeft ? 0 : 10, self->form.data(), [self] { step(self); });
        if (message) {
            pressKey(message, Qt::Key_Return);
        } else if (keysLeft) {
            if (const int key = arrowKey(self->keys[self->next++])) pressKey(self->form, key);
        }
    }
};

} // namespace

void afterFirstFrame(QWidget* board, std::function<void()> then) {
    auto* watch = new FirstPaint(board, std::move(then));
    board->installEventFilter(watch);
    // A board that is not drawn at all (a message before the first level) holds up nothing.
    QTimer::singleShot(1000, watch, [watch] { watch->fire(); });
}

StartScript StartScript::fromEnvironment() {
    StartScript s;
    s.keys = qEnvironmentVariable("SOKOBAN_KEYS");
    s.quit = qEnvironmentVariableIsSet("SOKOBAN_QUIT_AFTER_START");
    s.stamp = qEnvironmentVariable("SOKOBAN_QUIT_AFTER_START") == "stamp";
    return s;
}

void playStartScript(TMainForm& mainForm, const StartScript& script,
                     std::function<bool()> soundReady) {
    if (script.stamp) {
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        std::fprintf(stderr, "first frame %lld\n",
                     static_cast<long long>(
                         std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
    }
    if (script.keys.isEmpty() && !script.quit) return;
    auto player = std::make_shared<Player>();
    player->form = &mainForm;
    player->keys = script.keys;
    player->quit = script.quit;
    player->soundReady = std::move(soundReady);
    Player::step(player);
}

} // namespace sokoban

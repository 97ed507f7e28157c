#include "ui/platform/audio/deferred_audio.h"

#include "ui/platform/audio/audio_module.h"
#include "ui/platform/audio/midi_file.h"

#include <QMetaObject>
#include <QObject>

#include <dlfcn.h>

#include <optional>
#include <utility>

namespace sokoban {

class DeferredAudio::Effects : public EffectPlayer {
  public:
    explicit Effects(DeferredAudio& owner) : owner_(owner) {}
    void play(const std::string& name) override {
        // The first effect is heard even when it comes before the module is in.
        if (!owner_.ready()) owner_.loadNow();
        if (real) real->play(name);
    }
    EffectPlayer* real = nullptr;

  private:
    DeferredAudio& owner_;
};

// Keeps what the window asked for until the real player is there, and then hands it on.
// Meanwhile it behaves as a player whose pieces have not begun to sound yet.
class DeferredAudio::Music : public MusicPlayer {
  public:
    explicit Music(QObject& context) : context_(context) {}

    void open(const std::filesystem::path& path) override {
        if (real_) return real_->open(path);
        endRequest();
        file_.reset();
        try {
            (void)MidiFile::load(path);
        } catch (const MidiFileError& e) {
            throw MusicDeviceError(musicOpenError(path, e.what()));
        }
        file_ = path;
    }
    void play() override {
        if (real_) return real_->play();
        if (!file_) return;
        endRequest();
        playing_ = true;
    }
    void stop() override {
        if (real_) return real_->stop();
        endRequest();
    }
    bool isPlaying() const override { return real_ ? real_->isPlaying() : playing_; }
    void close() override {
        if (real_) return real_->close();
        endRequest();
        file_.reset();
    }

    void attach(MusicPlayer* real) {
        if (!real) return;
        real->onNotify = [this] {
            if (onNotify) onNotify();
        };
        real_ = real;
        if (!file_) return;
        try {
            real->open(*file_);
        } catch (const MusicDeviceError&) {
            return; // it was readable a moment ago; go on without music
        }
        if (playing_) real->play();
    }

  private:
    void endRequest() {
        if (!playing_) return;
        playing_ = false;
        QMetaObject::invokeMethod(
            &context_,
            [this] {
                if (onNotify) onNotify();
            },
            Qt::QueuedConnection);
    }

    QObject& context_;
    MusicPlayer* real_ = nullptr;
    std::optional<std::filesystem::path> file_;
    bool playing_ = false;
};

DeferredAudio::DeferredAudio(std::filesystem::path module)
    : DeferredAudio([module = std::move(module)]() -> Factory {
          // Kept loaded for good: the players' code and Qt's registrations live in it.
          void* handle = dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
          if (!handle) return {};
          auto make = reinterpret_cast<MakeAudioPlayers>(dlsym(handle, kMakeAudioPlayers));
          if (!make) return {};
          return make;
      }) {}

DeferredAudio::DeferredAudio(std::function<Factory()> load)
    : load_(std::move(load)), context_(std::make_unique<QObject>()) {
    effects_ = std::make_unique<Effects>(*this);
    music_ = std::make_unique<Music>(*context_);
}

DeferredAudio::~DeferredAudio() {
    if (worker_.joinable()) worker_.join();
    if (realMusic_) realMusic_->onNotify = nullptr;
    context_.reset(); // drops notifications still queued
}

EffectPlayer& DeferredAudio::effects() {
    return *effects_;
}
MusicPlayer& DeferredAudio::music() {
    return *music_;
}

void DeferredAudio::loadInBackground() {
    if (started_) return;
    started_ = true;
    worker_ = std::thread([this] {
        factory_ = load_();
        QMetaObject::invokeMethod(
            context_.get(), [this] { attach(); }, Qt::QueuedConnection);
    });
}

void DeferredAudio::loadNow() {
    if (ready_) return;
    if (!started_) {
        started_ = true;
        factory_ = load_();
    }
    attach();
}

void DeferredAudio::attach() {
    if (ready_) return;
    if (worker_.joinable()) worker_.join();
    ready_ = true;
    if (factory_) factory_(realEffects_, realMusic_);
    effects_->real = realEffects_.get();
    music_->attach(realMusic_.get());
    if (onReady) onReady();
}

} // namespace sokoban

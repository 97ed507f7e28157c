#pragma once

// Effect and music players that stand in for the real ones until the audio module is
// loaded. The window gets them at once; the module (and with it the sound libraries) is
// loaded on a worker thread after the first frame, or at once when an effect is wanted
// before that. Music asked for meanwhile starts as soon as the module is there.

#include "ui/platform/audio/effect_player.h"
#include "ui/platform/audio/music_player.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>

class QObject;

namespace sokoban {

class DeferredAudio {
  public:
    // Makes the real players (on the user-interface thread), given what the module exports.
    using Factory =
        std::function<void(std::unique_ptr<EffectPlayer>&, std::unique_ptr<MusicPlayer>&)>;
    // Loads the players from the module file at `module`; a missing or broken module
    // leaves the game silent.
    explicit DeferredAudio(std::filesystem::path module);
    // For tests: `load` runs on the worker thread and returns the factory.
    explicit DeferredAudio(std::function<Factory()> load);
    ~DeferredAudio();
    DeferredAudio(const DeferredAudio&) = delete;
    DeferredAudio& operator=(const DeferredAudio&) = delete;

    EffectPlayer& effects();
    MusicPlayer& music();

    // Starts loading on a worker thread; the players are made from the event loop.
    void loadInBackground();
    // Loads (or waits for the worker) and makes the players now.
    void loadNow();
    bool ready() const { return ready_; }
    // Called once the real players are in place (or the module turned out missing).
    std::function<void()> onReady;

  private:
    class Effects;
    class Music;
    void attach();

    std::function<Factory()> load_;
    std::thread worker_;
    Factory factory_;
    bool started_ = false;
    bool ready_ = false;
    std::unique_ptr<EffectPlayer> realEffects_;
    std::unique_ptr<MusicPlayer> realMusic_;
    std::unique_ptr<Effects> effects_;
    std::unique_ptr<Music> music_;
    std::unique_ptr<QObject> context_;
};

} // namespace sokoban

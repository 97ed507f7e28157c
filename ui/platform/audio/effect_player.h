#pragma once

// Short sound effects for the worker's actions: "MOVE", "PUSH", "PONG" and "UNDO".

#include "ui/platform/audio/effect_mixer.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace sokoban {

class EffectPlayer {
  public:
    virtual ~EffectPlayer();
    // Starts the named effect and returns at once. Names are matched without regard to
    // case; an unknown name or a machine without sound output plays nothing. A new effect
    // cuts off one that is still sounding.
    virtual void play(const std::string& name) = 0;
};

// One output stream to the sound device that pulls what it plays from a mixer.
class EffectStream {
  public:
    virtual ~EffectStream();
    // The mixer has a new clip: pull it. False when the stream has broken down for good
    // and has to be replaced.
    virtual bool wake() = 0;
};

// Plays decoded effects through one long-lived stream: starting an effect only hands its
// samples to the mixer, so effects keep sounding however fast they come, and the number
// of streams the sound service sees stays at one.
class MixingEffectPlayer : public EffectPlayer {
  public:
    static constexpr int kSampleRate = 22050;
    // Opens a stream of mono 16-bit samples at `rate` that pulls from `mixer`; nullptr
    // when the device refuses.
    using OpenStream = std::function<std::unique_ptr<EffectStream>(EffectMixer& mixer, int rate)>;

    explicit MixingEffectPlayer(OpenStream open);
    ~MixingEffectPlayer() override;
    // Registers an effect under `name` (any case). Empty clips are ignored.
    void add(const std::string& name, EffectClip clip);
    // The stream is opened at the first effect, and opened anew when it has broken down.
    void play(const std::string& name) override;
    bool empty() const { return clips_.empty(); }

  private:
    OpenStream open_;
    std::map<std::string, EffectClip> clips_;
    EffectMixer mixer_;
    std::unique_ptr<EffectStream> stream_; // after mixer_: it pulls from it until destroyed
};

// Plays the effects compiled into the program (:/sounds/move.wav and so on) through a
// Qt Multimedia audio sink. Needs a QCoreApplication; create it on the user-interface
// thread.
class QtEffectPlayer : public MixingEffectPlayer {
  public:
    QtEffectPlayer();
    // False when there is no audio output or the effects could not be prepared.
    bool hasOutput() const { return !empty(); }
};

// Stand-in for tests: remembers every requested name, as given.
class RecordingEffectPlayer : public EffectPlayer {
  public:
    void play(const std::string& name) override { played.push_back(name); }
    std::vector<std::string> played;
};

} // namespace sokoban

#pragma once

// Short sound effects for the worker's actions: "MOVE", "PUSH", "PONG" and "UNDO".

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

// Plays the effects compiled into the program (:/sounds/move.wav and so on) through Qt
// Multimedia. Needs a QCoreApplication; create it on the user-interface thread.
class QtEffectPlayer : public EffectPlayer {
  public:
    QtEffectPlayer();
    ~QtEffectPlayer() override;
    void play(const std::string& name) override;
    // False when there is no audio output or the effects could not be prepared.
    bool hasOutput() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Stand-in for tests: remembers every requested name, as given.
class RecordingEffectPlayer : public EffectPlayer {
  public:
    void play(const std::string& name) override { played.push_back(name); }
    std::vector<std::string> played;
};

} // namespace sokoban

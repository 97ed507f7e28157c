#pragma once

// What the one effect stream plays: the effect started last, from decoded samples in memory.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

namespace sokoban {

// Mono 16-bit samples at the mixer's rate.
using EffectClip = std::shared_ptr<const std::vector<std::int16_t>>;

// Decodes a RIFF WAVE file of PCM (8 bits unsigned or 16 bits signed, any number of
// channels, mixed down to one) into a clip at `rate`, scaled by `volume`. Anything else
// gives an empty pointer.
EffectClip decodeWave(std::span<const std::uint8_t> file, int rate, float volume);

// Thread-safe: the game starts clips on its own thread while the device may pull from
// another.
class EffectMixer {
  public:
    // How long a cut-off clip takes to fade out, so that cutting it does not click.
    static constexpr std::size_t kFadeFrames = 64;

    // Sounds `clip` from its beginning, cutting off the one still sounding.
    void start(EffectClip clip);
    // Writes up to out.size() samples of what is sounding and returns how many it wrote:
    // fewer once the clip ends, 0 while nothing sounds.
    std::size_t pull(std::span<std::int16_t> out);
    bool sounding() const;

  private:
    mutable std::mutex mutex_;
    EffectClip clip_;
    std::size_t pos_ = 0;
    EffectClip fading_;
    std::size_t fadePos_ = 0;
    std::size_t fadeLeft_ = 0;
};

} // namespace sokoban

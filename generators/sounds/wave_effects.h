#pragma once

#include <cstdint>
#include <vector>

namespace sounds {

// A mono sound in floating point, -1..1.
struct Wave {
    int sampleRate = 0;
    std::vector<double> samples;
};

// The bytes of a RIFF WAVE file: PCM, mono, 8 bits unsigned.
std::vector<std::uint8_t> encodeWav8(const Wave& wave);

// The four game effects.
Wave makeMoveEffect(); // a soft footstep tick, 11025 Hz, ~0.17 s
Wave makePushEffect(); // a heavy wooden thud and scrape, 22050 Hz, ~0.22 s
Wave makePongEffect(); // a dull bonk for a refused action, 11025 Hz, ~0.19 s
Wave makeUndoEffect(); // a quick descending whoop, 11000 Hz, ~0.29 s

} // namespace sounds

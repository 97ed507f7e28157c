#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace music {

constexpr std::uint32_t kPpq = 480; // ticks per quarter note

struct Note {
    std::uint32_t start = 0;
    std::uint32_t length = 0;
    int key = 60;
    int velocity = 80;
};

struct ControlChange {
    std::uint32_t tick = 0;
    int controller = 0;
    int value = 0;
};

// One instrument on one channel; becomes one track of the file.
struct Part {
    std::string name;
    int channel = 0; // 0..15, 9 is the drum channel
    int program = 0; // General MIDI program 0..127, ignored on the drum channel
    int volume = 100;
    int pan = 64;
    int reverb = 40;
    int chorus = 0;
    std::vector<Note> notes;
    std::vector<ControlChange> controls;
};

struct TempoChange {
    std::uint32_t tick = 0;
    double quarterBpm = 120;
};

struct Song {
    std::string title;
    int numerator = 4;
    int denominator = 4;
    int keySharps = 0; // negative for flats
    bool minor = false;
    std::vector<TempoChange> tempos;
    std::vector<Part> parts;
    std::uint32_t endTick = 0; // every track ends here, after the last note's tail
};

// Format 1 Standard MIDI File: a conductor track, then one track per part. Every track
// closes with "all notes off" on its channel and an end-of-track at `endTick`.
std::vector<std::uint8_t> writeSmf(const Song& song);

// Playing time in seconds from the tempo map.
double songSeconds(const Song& song);

} // namespace music

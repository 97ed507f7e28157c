#pragma once

// Building blocks for writing the background music: chords and progressions, scales,
// motifs fitted to the harmony, accompaniment figures and drum grids.

#include "rng.h"
#include "smf_writer.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace music {

using sounds::Rng;

struct Chord {
    int root = 0;               // pitch class 0..11
    std::vector<int> intervals; // semitones above the root, the root (0) first
    bool contains(int pitchClass) const;
};

// "C", "F#m", "Bb7", "Ebmaj7", "Dm7", "Em7b5", "Bdim", "Gsus4", "C6", "Am6", "D9".
Chord parseChord(std::string_view symbol);

// Chord changes along the piece.
class Harmony {
  public:
    // Appends bars written as "C | F G7 | Am:2 D7:1": bars split by '|', chords in a bar share
    // it by their weights (default 1). Returns the tick after the last bar.
    std::uint32_t append(std::uint32_t start, std::string_view bars, std::uint32_t barTicks);
    const Chord& at(std::uint32_t tick) const;

  private:
    std::vector<std::pair<std::uint32_t, Chord>> changes_;
};

struct Scale {
    int tonicKey;             // MIDI key of degree 0
    std::array<int, 7> steps; // semitones above the tonic
};
Scale majorScale(int tonicKey);
Scale minorScale(int tonicKey); // natural minor; chords bring their own leading tones

// Key of a scale degree (0 = tonic, 7 = the octave above, -1 = below) under a chord:
// a chord tone that the scale lacks replaces the scale step it stands for.
int keyOfDegree(const Scale& scale, int degree, const Chord& chord);

// Durations in a small notation: 1 2 4 8 16 for whole..sixteenth, "." dots, "t" triplet,
// a leading "r" makes a rest. "4. 8 r4 4" is one 4/4 bar.
struct Hit {
    std::uint32_t onset = 0;
    std::uint32_t length = 0;
    bool rest = false;
};
std::vector<Hit> parseRhythm(std::string_view text);
std::uint32_t parseDuration(std::string_view token);

// A one-bar motif: a rhythm and the scale steps of its notes relative to its first note.
struct Motif {
    std::vector<Hit> hits;
    std::vector<int> steps;
};
Motif motif(std::string_view rhythm, std::vector<int> steps);

// One bar of a melody: which motif, and where it starts - a chord tone near the previous
// note moved by `drift` degrees, or a fixed degree (for cadences).
struct BarPlan {
    BarPlan(const Motif* m, int drift = 0) : motif(m), drift(drift) {}
    BarPlan(const Motif* m, int drift, int degree) : motif(m), drift(drift), degree(degree) {}
    const Motif* motif;
    int drift;
    std::optional<int> degree;
};

class Melody {
  public:
    Melody(Part& part, Scale scale, int lowKey, int highKey, int velocity, std::uint64_t seed);
    std::uint32_t bars(const Harmony& harmony, std::uint32_t start, std::uint32_t barTicks,
                       std::uint32_t beatTicks, const std::vector<BarPlan>& plans);

    double legato = 0.92;
    int velocity;
    int lastDegree = 0;

  private:
    int nearestChordDegree(int degree, const Chord& chord, int direction) const;
    bool isChordTone(int degree, const Chord& chord) const;
    Part& part_;
    Scale scale_;
    int low_, high_;
    Rng rng_;
};

struct Range {
    int low, high;
};

// Accompaniment figures, one per bar, tokens of a kind and a duration:
//   R F T S root, fifth, third, seventh (bass voice, kept near the previous note)
//   O root an octave up   W walking chord tone   A chromatic approach to the next root
//   C whole chord   c chord without its root   1..9 the n-th note of the chord, upwards
//   - rest; a leading "!" accents the token.     Example: "R4 c4 F4 c4".
class Accompanist {
  public:
    Accompanist(Part& part, Range range, int velocity, std::uint64_t seed);
    void play(const Harmony& harmony, std::uint32_t from, std::uint32_t to, std::uint32_t barTicks,
              std::string_view figure);

    double legato = 0.9;
    int velocity;

  private:
    int nearest(int pitchClass, int around) const;
    std::vector<int> voicing(const Chord& chord, bool withRoot) const;
    void note(std::uint32_t tick, std::uint32_t length, int key, int velocity);
    Part& part_;
    Range range_;
    int last_;
    int walkDirection_ = 1;
    Rng rng_;
};

// Drum lanes over a bar divided evenly by the pattern's length: X loud, x normal, o soft.
struct DrumLane {
    int key;
    std::string_view pattern;
};
void drumBars(Part& part, std::uint32_t from, std::uint32_t to, std::uint32_t barTicks,
              const std::vector<DrumLane>& lanes, int velocityOffset, Rng& rng);

// Swing feel: the second eighth of each beat moves to the last third of the beat.
void swing(Part& part, std::uint32_t beatTicks, std::uint32_t from, std::uint32_t to);

// Doubles a part's notes within [from, to) into another part, moved by `semitones`.
void doubleNotes(const Part& source, Part& target, std::uint32_t from, std::uint32_t to,
                 int semitones, int velocityOffset);

// A slowing of the tempo over [from, to), from `startBpm` to `endBpm`, in beat steps.
void ritardando(Song& song, std::uint32_t from, std::uint32_t to, std::uint32_t beatTicks,
                double startBpm, double endBpm);

} // namespace music

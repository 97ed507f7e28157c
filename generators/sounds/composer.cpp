#include "composer.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace music {
namespace {

int mod12(int v) {
    return ((v % 12) + 12) % 12;
}
int floorDiv(int a, int b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

std::vector<std::string_view> split(std::string_view text, char sep) {
    std::vector<std::string_view> out;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find(sep, pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view item = text.substr(pos, end - pos);
        while (!item.empty() && item.front() == ' ')
            item.remove_prefix(1);
        while (!item.empty() && item.back() == ' ')
            item.remove_suffix(1);
        if (!item.empty() || sep == '|') out.push_back(item);
        pos = end + 1;
    }
    return out;
}

// Scale steps a chord interval stands for: thirds two steps up, fifths four, and so on.
int degreeOffset(int interval) {
    static const int offsets[12] = {0, 1, 1, 2, 2, 3, 4, 4, 5, 5, 6, 6};
    return offsets[mod12(interval)];
}

std::array<int, 7> stepsUnder(const Scale& scale, const Chord& chord) {
    std::array<int, 7> steps = scale.steps;
    const int tonic = mod12(scale.tonicKey);
    // The degree of the chord's root: the scale step nearest to it.
    int rootDegree = 0, best = 99;
    for (int d = 0; d < 7; ++d) {
        int dist = std::abs(mod12(chord.root - tonic - steps[d] + 6) - 6);
        if (dist < best) best = dist, rootDegree = d;
    }
    for (int interval : chord.intervals) {
        const int d = (rootDegree + degreeOffset(interval)) % 7;
        const int pc = mod12(chord.root + interval);
        int delta = mod12(pc - tonic - scale.steps[d] + 6) - 6;
        if (std::abs(delta) <= 2) steps[d] = scale.steps[d] + delta;
    }
    return steps;
}

} // namespace

bool Chord::contains(int pitchClass) const {
    for (int i : intervals)
        if (mod12(root + i) == mod12(pitchClass)) return true;
    return false;
}

Chord parseChord(std::string_view s) {
    static const int letters[7] = {9, 11, 0, 2, 4, 5, 7}; // A..G
    if (s.empty() || s[0] < 'A' || s[0] > 'G') throw std::invalid_argument("bad chord");
    Chord c;
    c.root = letters[s[0] - 'A'];
    s.remove_prefix(1);
    if (!s.empty() && (s[0] == '#' || s[0] == 'b')) {
        c.root = mod12(c.root + (s[0] == '#' ? 1 : -1));
        s.remove_prefix(1);
    }
    struct Quality {
        std::string_view name;
        std::vector<int> intervals;
    };
    static const Quality qualities[] = {
        {"", {0, 4, 7}},       {"m", {0, 3, 7}},         {"7", {0, 4, 7, 10}},
        {"m7", {0, 3, 7, 10}}, {"maj7", {0, 4, 7, 11}},  {"6", {0, 4, 7, 9}},
        {"m6", {0, 3, 7, 9}},  {"dim", {0, 3, 6}},       {"m7b5", {0, 3, 6, 10}},
        {"sus4", {0, 5, 7}},   {"9", {0, 4, 7, 10, 14}}, {"add9", {0, 4, 7, 14}},
    };
    for (const auto& q : qualities)
        if (q.name == s) {
            c.intervals = q.intervals;
            return c;
        }
    throw std::invalid_argument("bad chord quality: " + std::string(s));
}

std::uint32_t Harmony::append(std::uint32_t start, std::string_view bars, std::uint32_t barTicks) {
    std::uint32_t tick = start;
    for (std::string_view bar : split(bars, '|')) {
        std::vector<std::pair<Chord, int>> chords;
        int total = 0;
        for (std::string_view item : split(bar, ' ')) {
            int weight = 1;
            if (auto colon = item.find(':'); colon != std::string_view::npos) {
                weight = std::stoi(std::string(item.substr(colon + 1)));
                item = item.substr(0, colon);
            }
            chords.emplace_back(parseChord(item), weight);
            total += weight;
        }
        if (chords.empty()) throw std::invalid_argument("empty bar");
        int done = 0;
        for (auto& [chord, weight] : chords) {
            changes_.emplace_back(tick + barTicks * done / total, chord);
            done += weight;
        }
        tick += barTicks;
    }
    std::stable_sort(changes_.begin(), changes_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    return tick;
}

const Chord& Harmony::at(std::uint32_t tick) const {
    if (changes_.empty()) throw std::logic_error("no harmony");
    auto it = std::upper_bound(changes_.begin(), changes_.end(), tick,
                               [](std::uint32_t t, const auto& c) { return t < c.first; });
    return it == changes_.begin() ? it->second : std::prev(it)->second;
}

Scale majorScale(int tonicKey) {
    return {tonicKey, {0, 2, 4, 5, 7, 9, 11}};
}
Scale minorScale(int tonicKey) {
    return {tonicKey, {0, 2, 3, 5, 7, 8, 10}};
}

int keyOfDegree(const Scale& scale, int degree, const Chord& chord) {
    const int octave = floorDiv(degree, 7);
    const int index = degree - 7 * octave;
    return scale.tonicKey + 12 * octave + stepsUnder(scale, chord)[index];
}

std::uint32_t parseDuration(std::string_view token) {
    bool triplet = false;
    int dots = 0;
    for (; !token.empty(); token.remove_suffix(1)) {
        if (token.back() == '.')
            ++dots;
        else if (token.back() == 't')
            triplet = true;
        else
            break;
    }
    const int value = std::stoi(std::string(token));
    std::uint32_t ticks = kPpq * 4 / value;
    std::uint32_t add = ticks;
    for (int i = 0; i < dots; ++i)
        ticks += (add /= 2);
    if (triplet) ticks = ticks * 2 / 3;
    return ticks;
}

std::vector<Hit> parseRhythm(std::string_view text) {
    std::vector<Hit> hits;
    std::uint32_t at = 0;
    for (std::string_view token : split(text, ' ')) {
        const bool rest = token.front() == 'r';
        if (rest) token.remove_prefix(1);
        const std::uint32_t len = parseDuration(token);
        hits.push_back({at, len, rest});
        at += len;
    }
    return hits;
}

Motif motif(std::string_view rhythm, std::vector<int> steps) {
    Motif m{parseRhythm(rhythm), std::move(steps)};
    const auto notes =
        std::count_if(m.hits.begin(), m.hits.end(), [](const Hit& h) { return !h.rest; });
    if (static_cast<std::size_t>(notes) != m.steps.size())
        throw std::invalid_argument("motif: rhythm and steps differ in length");
    return m;
}

Melody::Melody(Part& part, Scale scale, int lowKey, int highKey, int velocity, std::uint64_t seed)
    : velocity(velocity), part_(part), scale_(scale), low_(lowKey), high_(highKey), rng_(seed) {}

bool Melody::isChordTone(int degree, const Chord& chord) const {
    return chord.contains(keyOfDegree(scale_, degree, chord));
}

int Melody::nearestChordDegree(int degree, const Chord& chord, int direction) const {
    const int first = direction < 0 ? -1 : 1;
    for (int k = 0; k <= 3; ++k)
        for (int sign : {first, -first}) {
            const int d = degree + sign * k;
            if (isChordTone(d, chord)) return d;
        }
    return degree;
}

std::uint32_t Melody::bars(const Harmony& harmony, std::uint32_t start, std::uint32_t barTicks,
                           std::uint32_t beatTicks, const std::vector<BarPlan>& plans) {
    std::uint32_t barStart = start;
    for (const BarPlan& plan : plans) {
        const Motif& m = *plan.motif;
        if (m.steps.empty()) { // a bar of rest
            barStart += barTicks;
            continue;
        }
        std::uint32_t firstOnset = 0;
        for (const Hit& h : m.hits)
            if (!h.rest) {
                firstOnset = h.onset;
                break;
            }
        const Chord& opening = harmony.at(barStart + firstOnset);
        int anchor = plan.degree ? *plan.degree
                                 : nearestChordDegree(lastDegree + plan.drift, opening, plan.drift);
        const auto [lo, hi] = std::minmax_element(m.steps.begin(), m.steps.end());
        auto key = [&](int d, const Chord& c) { return keyOfDegree(scale_, d, c); };
        if (!plan.degree) {
            while (key(anchor + *hi, opening) > high_)
                anchor -= 7;
            while (key(anchor + *lo, opening) < low_)
                anchor += 7;
        }
        std::size_t step = 0;
        int previous = lastDegree;
        for (const Hit& h : m.hits) {
            if (h.rest) continue;
            int d = anchor + m.steps[step++];
            const std::uint32_t tick = barStart + h.onset;
            const Chord& chord = harmony.at(tick);
            const bool strong = h.onset % beatTicks == 0 && (h.onset == 0 || h.length >= beatTicks);
            if (strong && !(plan.degree && step == 1) && !isChordTone(d, chord))
                d = nearestChordDegree(d, chord, d - previous);
            while (key(d, chord) > high_)
                d -= 7;
            while (key(d, chord) < low_)
                d += 7;
            int vel = velocity + rng_.between(-4, 4);
            if (h.onset == 0)
                vel += 8;
            else if (h.onset % beatTicks == 0)
                vel += 3;
            const auto len =
                std::max<std::uint32_t>(30, static_cast<std::uint32_t>(h.length * legato));
            part_.notes.push_back({tick, len, key(d, chord), std::clamp(vel, 1, 127)});
            previous = d;
        }
        lastDegree = previous;
        barStart += barTicks;
    }
    return barStart;
}

Accompanist::Accompanist(Part& part, Range range, int velocity, std::uint64_t seed)
    : velocity(velocity), part_(part), range_(range), last_((range.low + range.high) / 2),
      rng_(seed) {}

int Accompanist::nearest(int pitchClass, int around) const {
    int best = -1;
    for (int k = range_.low; k <= range_.high; ++k)
        if (mod12(k) == mod12(pitchClass) &&
            (best < 0 || std::abs(k - around) < std::abs(best - around)))
            best = k;
    return best < 0 ? around : best;
}

std::vector<int> Accompanist::voicing(const Chord& chord, bool withRoot) const {
    const int centre = (range_.low + range_.high) / 2;
    std::vector<int> keys;
    for (int interval : chord.intervals) {
        if (!withRoot && interval == 0) continue;
        const int k = nearest(chord.root + interval, centre);
        if (std::find(keys.begin(), keys.end(), k) == keys.end()) keys.push_back(k);
    }
    std::sort(keys.begin(), keys.end());
    return keys;
}

void Accompanist::note(std::uint32_t tick, std::uint32_t length, int key, int vel) {
    const auto len = std::max<std::uint32_t>(30, static_cast<std::uint32_t>(length * legato));
    part_.notes.push_back({tick, len, key, std::clamp(vel + rng_.between(-3, 3), 1, 127)});
}

void Accompanist::play(const Harmony& harmony, std::uint32_t from, std::uint32_t to,
                       std::uint32_t barTicks, std::string_view figure) {
    std::vector<std::string_view> tokens = split(figure, ' ');
    for (std::uint32_t bar = from; bar < to; bar += barTicks) {
        std::uint32_t at = bar;
        for (std::string_view token : tokens) {
            int vel = velocity;
            if (token.front() == '!') {
                vel += 15;
                token.remove_prefix(1);
            }
            const char kind = token.front();
            const std::uint32_t len = parseDuration(token.substr(1));
            const Chord& chord = harmony.at(at);
            auto tone = [&](std::size_t i) {
                return chord.root + (i < chord.intervals.size() ? chord.intervals[i] : 12);
            };
            switch (kind) {
            case '-':
                break;
            case 'R':
            case 'F':
            case 'T':
            case 'S': {
                const std::size_t index = kind == 'R' ? 0 : kind == 'T' ? 1 : kind == 'F' ? 2 : 3;
                int pc = tone(index);
                if (kind == 'F' && chord.intervals.size() > 2 && chord.intervals[2] != 7 &&
                    chord.contains(chord.root + 7))
                    pc = chord.root + 7;
                last_ = nearest(pc, last_);
                note(at, len, last_, vel);
                break;
            }
            case 'O': {
                int k = nearest(chord.root, last_) + 12;
                if (k > range_.high) k -= 12;
                last_ = k;
                note(at, len, k, vel);
                break;
            }
            case 'W': {
                // Next chord tone in the walking direction, turning at the range's ends.
                int k = last_;
                for (int tries = 0; tries < 2; ++tries) {
                    k = last_ + walkDirection_;
                    while (k >= range_.low && k <= range_.high && !chord.contains(k))
                        k += walkDirection_;
                    if (k >= range_.low && k <= range_.high) break;
                    walkDirection_ = -walkDirection_;
                    k = last_;
                }
                last_ = k;
                note(at, len, k, vel);
                break;
            }
            case 'A': {
                const Chord& next = harmony.at(at + len);
                const int target = nearest(next.root, last_);
                int k = target + (target >= last_ ? -1 : 1);
                if (k == last_) k = target + (target >= last_ ? 1 : -1);
                last_ = std::clamp(k, range_.low, range_.high);
                note(at, len, last_, vel);
                break;
            }
            case 'C':
            case 'c':
                for (int k : voicing(chord, kind == 'C'))
                    note(at, len, k, vel);
                break;
            default:
                if (kind >= '1' && kind <= '9') {
                    auto keys = voicing(chord, true);
                    const auto i = static_cast<std::size_t>(kind - '1');
                    int k = keys[i % keys.size()] + 12 * static_cast<int>(i / keys.size());
                    note(at, len, k, vel);
                } else {
                    throw std::invalid_argument("bad figure token");
                }
            }
            at += len;
        }
        if (at != bar + barTicks) throw std::invalid_argument("figure does not fill the bar");
    }
}

void drumBars(Part& part, std::uint32_t from, std::uint32_t to, std::uint32_t barTicks,
              const std::vector<DrumLane>& lanes, int velocityOffset, Rng& rng) {
    for (std::uint32_t bar = from; bar < to; bar += barTicks)
        for (const DrumLane& lane : lanes) {
            const auto steps = static_cast<std::uint32_t>(lane.pattern.size());
            for (std::uint32_t i = 0; i < steps; ++i) {
                const char c = lane.pattern[i];
                const int base = c == 'X' ? 112 : c == 'x' ? 86 : c == 'o' ? 58 : 0;
                if (!base) continue;
                const int vel = std::clamp(base + velocityOffset + rng.between(-5, 5), 1, 127);
                part.notes.push_back(
                    {bar + i * barTicks / steps, barTicks / steps / 2, lane.key, vel});
            }
        }
}

void swing(Part& part, std::uint32_t beatTicks, std::uint32_t from, std::uint32_t to) {
    auto move = [&](std::uint32_t t) {
        const std::uint32_t beat = t / beatTicks * beatTicks, in = t - beat;
        const std::uint32_t half = beatTicks / 2;
        return in <= half ? beat + in * 4 / 3 : beat + half * 4 / 3 + (in - half) * 2 / 3;
    };
    for (Note& n : part.notes) {
        if (n.start < from || n.start >= to) continue;
        const std::uint32_t start = move(n.start), end = move(n.start + n.length);
        n.start = start;
        n.length = std::max<std::uint32_t>(30, end - start);
    }
}

void doubleNotes(const Part& source, Part& target, std::uint32_t from, std::uint32_t to,
                 int semitones, int velocityOffset) {
    for (const Note& n : source.notes)
        if (n.start >= from && n.start < to)
            target.notes.push_back({n.start, n.length, n.key + semitones,
                                    std::clamp(n.velocity + velocityOffset, 1, 127)});
}

void ritardando(Song& song, std::uint32_t from, std::uint32_t to, std::uint32_t beatTicks,
                double startBpm, double endBpm) {
    const std::uint32_t beats = std::max<std::uint32_t>(1, (to - from) / beatTicks);
    for (std::uint32_t i = 0; i < beats; ++i) {
        const double f = double(i + 1) / beats;
        song.tempos.push_back({from + i * beatTicks, startBpm + (endBpm - startBpm) * f});
    }
}

} // namespace music

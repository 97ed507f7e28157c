#include "smf_writer.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>

namespace music {
namespace {

struct Event {
    std::uint32_t tick;
    int order; // at one tick: setup, then note-offs, then note-ons, then the closing events
    std::vector<std::uint8_t> bytes;
};

void putBe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void putVarLen(std::vector<std::uint8_t>& out, std::uint32_t value) {
    std::uint8_t buf[5];
    int n = 0;
    buf[n++] = value & 0x7F;
    while (value >>= 7)
        buf[n++] = static_cast<std::uint8_t>((value & 0x7F) | 0x80);
    while (n)
        out.push_back(buf[--n]);
}

std::vector<std::uint8_t> meta(std::uint8_t type, const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> b{0xFF, type};
    putVarLen(b, static_cast<std::uint32_t>(data.size()));
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

std::vector<std::uint8_t> text(const std::string& s) {
    return {s.begin(), s.end()};
}

std::uint8_t clamp7(int v) {
    return static_cast<std::uint8_t>(std::clamp(v, 0, 127));
}

std::vector<std::uint8_t> chunk(std::vector<Event> events) {
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    std::vector<std::uint8_t> body;
    std::uint32_t now = 0;
    for (const auto& e : events) {
        putVarLen(body, e.tick - now);
        now = e.tick;
        body.insert(body.end(), e.bytes.begin(), e.bytes.end());
    }
    std::vector<std::uint8_t> out{'M', 'T', 'r', 'k'};
    putBe(out, static_cast<std::uint32_t>(body.size()), 4);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

// A note that starts while the same key still sounds on the channel would have its
// release cut short by the earlier note's note-off: shorten the earlier note instead.
std::vector<Note> withoutOverlaps(std::vector<Note> notes) {
    std::stable_sort(notes.begin(), notes.end(),
                     [](const Note& a, const Note& b) { return a.start < b.start; });
    std::map<int, std::size_t> lastByKey;
    for (std::size_t i = 0; i < notes.size(); ++i) {
        auto it = lastByKey.find(notes[i].key);
        if (it != lastByKey.end()) {
            Note& prev = notes[it->second];
            if (prev.start + prev.length > notes[i].start)
                prev.length = notes[i].start - prev.start;
        }
        lastByKey[notes[i].key] = i;
    }
    std::erase_if(notes, [](const Note& n) { return n.length == 0; });
    return notes;
}

} // namespace

std::vector<std::uint8_t> writeSmf(const Song& song) {
    std::vector<std::uint8_t> out{'M', 'T', 'h', 'd'};
    putBe(out, 6, 4);
    putBe(out, 1, 2);
    putBe(out, static_cast<std::uint32_t>(song.parts.size() + 1), 2);
    putBe(out, kPpq, 2);

    std::vector<Event> conductor;
    conductor.push_back({0, 0, meta(0x03, text(song.title))});
    const int denomPower = static_cast<int>(std::lround(std::log2(song.denominator)));
    // Metronome clicks: one per quarter in simple time, one per dotted quarter in 6/8.
    const std::uint8_t clocks = song.denominator == 8 ? 36 : 24;
    conductor.push_back(
        {0, 0,
         meta(0x58, {clamp7(song.numerator), static_cast<std::uint8_t>(denomPower), clocks, 8})});
    conductor.push_back(
        {0, 0, meta(0x59, {static_cast<std::uint8_t>(song.keySharps), std::uint8_t(song.minor)})});
    for (const auto& t : song.tempos) {
        const auto usPerQuarter =
            static_cast<std::uint32_t>(std::lround(60'000'000.0 / t.quarterBpm));
        std::vector<std::uint8_t> d;
        putBe(d, usPerQuarter, 3);
        conductor.push_back({t.tick, 0, meta(0x51, d)});
    }
    conductor.push_back({song.endTick, 9, meta(0x2F, {})});
    auto c = chunk(std::move(conductor));
    out.insert(out.end(), c.begin(), c.end());

    for (const auto& part : song.parts) {
        const auto ch = static_cast<std::uint8_t>(part.channel & 0x0F);
        std::vector<Event> ev;
        ev.push_back({0, 0, meta(0x03, text(part.name))});
        if (part.channel != 9)
            ev.push_back({0, 0, {std::uint8_t(0xC0 | ch), clamp7(part.program)}});
        const std::pair<int, int> setup[] = {
            {7, part.volume}, {10, part.pan}, {91, part.reverb}, {93, part.chorus}};
        for (auto [cc, value] : setup)
            ev.push_back({0, 0, {std::uint8_t(0xB0 | ch), clamp7(cc), clamp7(value)}});
        for (const auto& cc : part.controls)
            ev.push_back(
                {cc.tick, 1, {std::uint8_t(0xB0 | ch), clamp7(cc.controller), clamp7(cc.value)}});
        for (const auto& n : withoutOverlaps(part.notes)) {
            if (n.start + n.length > song.endTick)
                throw std::logic_error(part.name + ": a note runs past the end of the piece");
            ev.push_back(
                {n.start,
                 3,
                 {std::uint8_t(0x90 | ch), clamp7(n.key), clamp7(std::max(1, n.velocity))}});
            ev.push_back({n.start + n.length, 2, {std::uint8_t(0x80 | ch), clamp7(n.key), 64}});
        }
        ev.push_back({song.endTick, 8, {std::uint8_t(0xB0 | ch), 123, 0}});
        ev.push_back({song.endTick, 9, meta(0x2F, {})});
        auto t = chunk(std::move(ev));
        out.insert(out.end(), t.begin(), t.end());
    }
    return out;
}

double songSeconds(const Song& song) {
    auto tempos = song.tempos;
    std::stable_sort(tempos.begin(), tempos.end(),
                     [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
    double seconds = 0, bpm = 120;
    std::uint32_t at = 0;
    for (const auto& t : tempos) {
        if (t.tick >= song.endTick) break;
        seconds += double(t.tick - at) / kPpq * 60.0 / bpm;
        at = t.tick;
        bpm = t.quarterBpm;
    }
    return seconds + double(song.endTick - at) / kPpq * 60.0 / bpm;
}

} // namespace music

#include "ui/platform/audio/midi_file.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

// Marks a reason for the translation files without Qt: the reader needs only
// the standard library, and musicOpenError words the reason for the player.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(context, text) text
#endif

namespace sokoban {
namespace {

// Raw track event before the tempo map turns ticks into seconds.
struct TickEvent {
    std::uint64_t tick;
    std::size_t track;
    std::size_t order;
    bool tempo;
    std::uint32_t usPerQuarter;
    MidiEvent event;
};

class Reader {
  public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool atEnd() const { return pos_ >= bytes_.size(); }
    std::size_t remaining() const { return bytes_.size() - pos_; }
    std::uint8_t byte() {
        need(1);
        return bytes_[pos_++];
    }
    std::uint8_t peek() {
        need(1);
        return bytes_[pos_];
    }
    std::uint32_t bigEndian(int n) {
        std::uint32_t v = 0;
        for (int i = 0; i < n; ++i)
            v = v << 8 | byte();
        return v;
    }
    std::uint32_t varLen() {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) {
            const std::uint8_t b = byte();
            v = v << 7 | (b & 0x7F);
            if (!(b & 0x80)) return v;
        }
        throw MidiFileError(
            QT_TRANSLATE_NOOP("sokoban::MidiFile", "MIDI 文件已损坏（时间值过长）"));
    }
    std::span<const std::uint8_t> take(std::size_t n) {
        need(n);
        auto s = bytes_.subspan(pos_, n);
        pos_ += n;
        return s;
    }

  private:
    void need(std::size_t n) const {
        if (remaining() < n)
            throw MidiFileError(
                QT_TRANSLATE_NOOP("sokoban::MidiFile", "MIDI 文件已损坏（数据不完整）"));
    }
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

int dataBytes(std::uint8_t status) {
    const std::uint8_t type = status & 0xF0;
    return type == 0xC0 || type == 0xD0 ? 1 : 2;
}

// Reads one track chunk's events; returns the tick of its end.
std::uint64_t readTrack(std::span<const std::uint8_t> data, std::size_t track,
                        std::vector<TickEvent>& out) {
    Reader r(data);
    std::uint64_t tick = 0;
    std::uint8_t running = 0;
    while (!r.atEnd()) {
        tick += r.varLen();
        std::uint8_t status = r.peek();
        if (status & 0x80)
            r.byte();
        else if (running)
            status = running; // running status: the data byte is already next
        else
            throw MidiFileError(
                QT_TRANSLATE_NOOP("sokoban::MidiFile", "MIDI 文件已损坏（缺少状态字节）"));

        if (status == 0xFF) {
            const std::uint8_t type = r.byte();
            const auto body = r.take(r.varLen());
            if (type == 0x2F) return tick;
            if (type == 0x51) {
                if (body.size() != 3)
                    throw MidiFileError(
                        QT_TRANSLATE_NOOP("sokoban::MidiFile", "MIDI 文件已损坏（速度事件）"));
                const std::uint32_t us = body[0] << 16 | body[1] << 8 | body[2];
                out.push_back({tick, track, out.size(), true, us, {}});
            }
            running = 0;
        } else if (status == 0xF0 || status == 0xF7) {
            const auto body = r.take(r.varLen());
            if (status == 0xF0) {
                MidiEvent e;
                e.status = 0xF0;
                e.sysex.assign(body.begin(), body.end());
                if (!e.sysex.empty() && e.sysex.back() == 0xF7) e.sysex.pop_back();
                out.push_back({tick, track, out.size(), false, 0, std::move(e)});
            }
            running = 0;
        } else if (status >= 0xF1) {
            throw MidiFileError(
                QT_TRANSLATE_NOOP("sokoban::MidiFile", "MIDI 文件已损坏（未知事件）"));
        } else {
            MidiEvent e;
            e.status = status;
            e.data1 = r.byte() & 0x7F;
            if (dataBytes(status) == 2) e.data2 = r.byte() & 0x7F;
            running = status;
            out.push_back({tick, track, out.size(), false, 0, std::move(e)});
        }
    }
    return tick; // a track without its end marker ends at its last event
}

} // namespace

MidiFile MidiFile::parse(std::span<const std::uint8_t> bytes) {
    Reader r(bytes);
    if (bytes.size() < 14 || r.bigEndian(4) != 0x4D546864) // "MThd"
        throw MidiFileError(QT_TRANSLATE_NOOP("sokoban::MidiFile", "不是 MIDI 文件"));
    const std::uint32_t headerLength = r.bigEndian(4);
    if (headerLength < 6)
        throw MidiFileError(QT_TRANSLATE_NOOP("sokoban::MidiFile", "MIDI 文件头已损坏"));
    MidiFile file;
    file.format = static_cast<int>(r.bigEndian(2));
    const std::uint32_t declaredTracks = r.bigEndian(2);
    const std::uint32_t division = r.bigEndian(2);
    r.take(headerLength - 6);
    if (file.format > 1)
        throw MidiFileError(QT_TRANSLATE_NOOP("sokoban::MidiFile", "不支持的 MIDI 文件格式"));
    if (division == 0)
        throw MidiFileError(
            QT_TRANSLATE_NOOP("sokoban::MidiFile", "MIDI 文件头已损坏（时间单位为零）"));
    // SMPTE time: frames a second in the high byte (negative), ticks a frame in the low one.
    if ((division & 0x8000) && (division & 0xFF) == 0)
        throw MidiFileError(
            QT_TRANSLATE_NOOP("sokoban::MidiFile", "MIDI 文件头已损坏（每帧的时间单位为零）"));

    std::vector<TickEvent> raw;
    std::uint64_t endTick = 0;
    std::size_t track = 0;
    while (!r.atEnd() && track < declaredTracks) {
        const std::uint32_t id = r.bigEndian(4);
        const std::uint32_t length = r.bigEndian(4);
        const auto body = r.take(length);
        if (id != 0x4D54726B) continue; // not "MTrk": skip unknown chunks
        endTick = std::max(endTick, readTrack(body, track++, raw));
    }
    if (track == 0)
        throw MidiFileError(QT_TRANSLATE_NOOP("sokoban::MidiFile", "MIDI 文件中没有音轨"));
    file.trackCount = static_cast<int>(track);

    std::stable_sort(raw.begin(), raw.end(), [](const TickEvent& a, const TickEvent& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.track < b.track;
    });
    // Ticks to seconds: metrical time follows the tempo map, SMPTE time is fixed.
    const bool smpte = division & 0x8000;
    const double ticksPerSecond =
        smpte ? double(256 - (division >> 8)) * double(division & 0xFF) : 0;
    double seconds = 0, secondsPerTick = smpte ? 1 / ticksPerSecond : 0.5 / division;
    std::uint64_t at = 0;
    file.events.reserve(raw.size());
    for (auto& e : raw) {
        seconds += double(e.tick - at) * secondsPerTick;
        at = e.tick;
        if (e.tempo) {
            ++file.tempoChanges;
            if (!smpte && e.usPerQuarter > 0) secondsPerTick = e.usPerQuarter / 1e6 / division;
            continue;
        }
        e.event.time = seconds;
        file.events.push_back(std::move(e.event));
    }
    file.duration = seconds + double(endTick - at) * secondsPerTick;
    // Every step above is finite for a sound header; a piece that still cannot be
    // timed is not played at all.
    if (!std::isfinite(file.duration))
        throw MidiFileError(QT_TRANSLATE_NOOP("sokoban::MidiFile", "MIDI 文件的时间无法计算"));
    return file;
}

MidiFile MidiFile::load(const std::filesystem::path& path) {
    // Opening a pipe or a device would wait for data or never end.
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
        throw MidiFileError(QT_TRANSLATE_NOOP("sokoban::MidiFile", "不是普通文件"));
    std::ifstream in(path, std::ios::binary);
    if (!in) throw MidiFileError(QT_TRANSLATE_NOOP("sokoban::MidiFile", "找不到文件或无法读取"));
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    if (in.bad()) throw MidiFileError(QT_TRANSLATE_NOOP("sokoban::MidiFile", "无法读取文件"));
    return parse(bytes);
}

} // namespace sokoban

#pragma once

// Reading Standard MIDI Files (formats 0 and 1) into one time-ordered list of events.

#include <cstdint>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <vector>

namespace sokoban {

// Why a file is not a playable MIDI file, in words for the player.
class MidiFileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct MidiEvent {
    double time = 0;         // seconds from the start of the piece
    std::uint8_t status = 0; // 0x80..0xEF channel messages, 0xF0 system exclusive
    std::uint8_t data1 = 0;
    std::uint8_t data2 = 0;
    std::vector<std::uint8_t> sysex; // the message after 0xF0, without the closing 0xF7

    std::uint8_t type() const { return status & 0xF0; }
    int channel() const { return status & 0x0F; }
    // A note-on with velocity 0 counts as a note-off.
    bool isNoteOn() const { return type() == 0x90 && data2 > 0; }
    bool isNoteOff() const { return type() == 0x80 || (type() == 0x90 && data2 == 0); }
};

struct MidiFile {
    int format = 0;
    int trackCount = 0;
    int tempoChanges = 0;
    std::vector<MidiEvent> events; // every track merged, in time order (stable by track)
    double duration = 0;           // seconds, up to the last track's end

    static MidiFile parse(std::span<const std::uint8_t> bytes);
    static MidiFile load(const std::filesystem::path& path);
};

} // namespace sokoban

// The MIDI reader on any bytes, and a piece it accepts played through the
// sequencer in the synthesizer's blocks for a while.
#include "fuzz_support.h"

#include "ui/platform/audio/midi_file.h"
#include "ui/platform/audio/midi_sequencer.h"

#include <cmath>

using namespace sokoban;

namespace {

class CountingSink : public MidiSink {
  public:
    void send(const MidiEvent&) override { ++count; }
    std::size_t count = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MidiFile file;
    try {
        file = MidiFile::parse({data, size});
    } catch (const MidiFileError&) {
        return 0;
    }
    // A piece that was accepted can be timed.
    FUZZ_CHECK(std::isfinite(file.duration) && file.duration >= 0);
    double last = 0;
    for (const auto& e : file.events) {
        FUZZ_CHECK(std::isfinite(e.time) && e.time >= last);
        last = e.time;
    }
    FUZZ_CHECK(last <= file.duration * (1 + 1e-12) + 1e-9);

    const std::size_t events = file.events.size();
    MidiSequencer sequencer(std::move(file));
    CountingSink sink;
    constexpr double kRate = 44100;
    for (int block = 0; block < 4000 && !sequencer.atEnd(); ++block) {
        sequencer.sendDue(&sink);
        const int frames = sequencer.framesUntilNext(kRate, 512);
        FUZZ_CHECK(frames >= 1 && frames <= 512);
        sequencer.advance(frames / kRate);
    }
    FUZZ_CHECK(sink.count <= events);
    // The clock-driven path jumps by whole seconds.
    sequencer.advance(1e300);
    sequencer.sendDue(&sink);
    FUZZ_CHECK(sequencer.atEnd() && sink.count == events);
    return 0;
}

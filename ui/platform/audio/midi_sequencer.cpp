#include "ui/platform/audio/midi_sequencer.h"

#include <algorithm>
#include <cmath>

namespace sokoban {

MidiSink::~MidiSink() = default;

MidiSequencer::MidiSequencer(MidiFile file) : file_(std::move(file)) {}

void MidiSequencer::rewind() {
    position_ = 0;
    next_ = 0;
}

void MidiSequencer::sendDue(MidiSink* sink) {
    // Half a microsecond of slack absorbs rounding between seconds and sample frames.
    while (next_ < file_.events.size() && file_.events[next_].time <= position_ + 5e-7) {
        if (sink) sink->send(file_.events[next_]);
        ++next_;
    }
}

void MidiSequencer::resendSetup(MidiSink& sink) const {
    for (std::size_t i = 0; i < next_; ++i) {
        const MidiEvent& e = file_.events[i];
        if (e.type() != 0x80 && e.type() != 0x90 && e.type() != 0xA0) sink.send(e);
    }
}

double MidiSequencer::nextTime() const {
    return next_ < file_.events.size() ? file_.events[next_].time : file_.duration;
}

int MidiSequencer::framesUntilNext(double sampleRate, int maxFrames) const {
    // Compared as a double first: a rest of hours is more frames than an int holds.
    const double frames = std::ceil((nextTime() - position_) * sampleRate - 1e-6);
    if (!(frames > 1)) return 1; // also a time that is not a number
    if (frames >= maxFrames) return maxFrames;
    return static_cast<int>(frames);
}

void MidiSequencer::advance(double seconds) {
    position_ = std::min(position_ + std::max(seconds, 0.0), file_.duration);
}

} // namespace sokoban

#pragma once

// Walks through a MIDI file in time, handing due events to a sink. Not thread-safe: the
// owner serialises access.

#include "ui/platform/audio/midi_file.h"

namespace sokoban {

class MidiSink {
  public:
    virtual ~MidiSink();
    virtual void send(const MidiEvent& event) = 0;
};

class MidiSequencer {
  public:
    explicit MidiSequencer(MidiFile file);

    double position() const { return position_; }
    double duration() const { return file_.duration; }
    bool atEnd() const { return position_ >= file_.duration && next_ == file_.events.size(); }
    // Back to the beginning; events are sent again from the first.
    void rewind();
    // Sends every event due by the current position that has not been sent yet, in order.
    // A null sink drops them (silent playing).
    void sendDue(MidiSink* sink);
    // Sends again the events already passed that set up the channels (everything but notes
    // and key pressure), so that a synthesizer that joins mid-piece plays with the right
    // instruments and controllers.
    void resendSetup(MidiSink& sink) const;
    // Time of the next event still to send, or the end of the piece.
    double nextTime() const;
    // Whole frames at `sampleRate` until the next event is due, rounded up and kept
    // within 1..maxFrames (maxFrames >= 1), however long the rest before it.
    int framesUntilNext(double sampleRate, int maxFrames) const;
    // Moves the position on, no further than the end.
    void advance(double seconds);

  private:
    MidiFile file_;
    double position_ = 0;
    std::size_t next_ = 0;
};

} // namespace sokoban

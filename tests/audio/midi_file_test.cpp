#include "ui/platform/audio/midi_file.h"
#include "ui/platform/audio/midi_sequencer.h"

#include "test_support.h"

#include <gtest/gtest.h>

namespace {

using audio_test::Bytes;
using audio_test::smf;
using audio_test::track;
using sokoban::MidiFile;
using sokoban::MidiFileError;
using sokoban::MidiSequencer;

std::vector<double> times(const MidiFile& f) {
    std::vector<double> t;
    for (const auto& e : f.events)
        t.push_back(e.time);
    return t;
}

TEST(MidiFile, FollowsTempoChangesAndRunningStatus) {
    const Bytes bytes = smf(0, 96, {track({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, // 120 bpm
                                           0x00, 0x90, 0x3C, 0x40,                   //
                                           0x60, 0x3E, 0x40,       // running status
                                           0x60, 0x80, 0x3C, 0x00, //
                                           0x00, 0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90, // 240 bpm
                                           0x60, 0x80, 0x3E, 0x00,                   //
                                           0x00, 0xFF, 0x2F, 0x00})});
    const MidiFile f = MidiFile::parse(bytes);
    EXPECT_EQ(f.format, 0);
    EXPECT_EQ(f.tempoChanges, 2);
    ASSERT_EQ(f.events.size(), 4u);
    EXPECT_EQ(times(f), (std::vector<double>{0.0, 0.5, 1.0, 1.25}));
    EXPECT_EQ(f.events[1].status, 0x90);
    EXPECT_EQ(f.events[1].data1, 0x3E);
    EXPECT_DOUBLE_EQ(f.duration, 1.25);
}

TEST(MidiFile, MergesTracksWithTheConductorsTempo) {
    const Bytes bytes =
        smf(1, 480,
            {track({0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40, // 60 bpm: a quarter is a second
                    0x00, 0xFF, 0x2F, 0x00}),
             track({0x83, 0x60, 0x91, 0x40, 0x50, // channel 2 at tick 480
                    0x83, 0x60, 0x91, 0x40, 0x00, // velocity 0: a release
                    0x00, 0xFF, 0x2F, 0x00}),
             track({0x83, 0x60, 0xC0, 0x05, // channel 1 program at tick 480
                    0x00, 0xFF, 0x2F, 0x00})});
    const MidiFile f = MidiFile::parse(bytes);
    EXPECT_EQ(f.trackCount, 3);
    ASSERT_EQ(f.events.size(), 3u);
    EXPECT_EQ(times(f), (std::vector<double>{1.0, 1.0, 2.0}));
    EXPECT_TRUE(f.events[0].isNoteOn()); // same moment: the earlier track first
    EXPECT_EQ(f.events[1].type(), 0xC0);
    EXPECT_TRUE(f.events[2].isNoteOff());
    EXPECT_DOUBLE_EQ(f.duration, 2.0); // the longest track decides
}

TEST(MidiFile, ReadsSmpteTimeAndSystemExclusive) {
    // 25 frames of 40 ticks: a thousand ticks a second.
    const Bytes bytes = smf(0, 0xE728,
                            {track({0x83, 0x74, 0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7, //
                                    0x00, 0xFF, 0x2F, 0x00})});
    const MidiFile f = MidiFile::parse(bytes);
    ASSERT_EQ(f.events.size(), 1u);
    EXPECT_DOUBLE_EQ(f.events[0].time, 0.5);
    EXPECT_EQ(f.events[0].sysex, (std::vector<std::uint8_t>{0x7E, 0x7F, 0x09, 0x01}));
}

TEST(MidiFile, RejectsWhatItCannotPlay) {
    const Bytes endOnly = track({0x00, 0xFF, 0x2F, 0x00});
    Bytes truncated = smf(0, 96, {track({0x00, 0x90, 0x3C, 0x40})});
    truncated[21] = 20; // the chunk claims more bytes than there are
    Bytes noTracks = smf(0, 96, {});
    noTracks[11] = 1;
    const std::pair<const char*, Bytes> cases[] = {
        {"empty", {}},
        {"not midi", {'R', 'I', 'F', 'F', 0, 0, 0, 4, 'W', 'A', 'V', 'E', 0, 0}},
        {"no tracks", noTracks},
        {"truncated track", truncated},
        {"data without status", smf(0, 96, {track({0x00, 0x3C, 0x40, 0x00, 0xFF, 0x2F, 0x00})})},
        {"format 2", smf(2, 96, {endOnly})},
        {"zero division", smf(0, 0, {endOnly})},
        {"zero ticks a frame", smf(0, 0xE700,
                                   {track({0x10, 0x90, 0x3C, 0x40, //
                                           0x00, 0xFF, 0x2F, 0x00})})},
        {"endless delta", smf(0, 96, {track({0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x90, 0x3C, 0x40})})},
        {"short tempo", smf(0, 96, {track({0x00, 0xFF, 0x51, 0x02, 0x07, 0xA1})})},
    };
    for (const auto& [name, bytes] : cases) {
        try {
            MidiFile::parse(bytes);
            ADD_FAILURE() << name << ": accepted";
        } catch (const MidiFileError& e) {
            EXPECT_STRNE(e.what(), "") << name;
        }
    }
}

// The wait before the next event, in frames of 44.1 kHz, as the synthesizer asks for it:
// always within one frame and the block, also across a rest of years.
TEST(MidiSequencer, WaitIsWholeFramesWithinTheBlock) {
    // One tick a quarter at the slowest tempo: 16.8 s a tick. A note, then the longest
    // delta a file can hold: about 142 years of rest.
    const Bytes longRest = smf(0, 1, {track({0x00, 0xFF, 0x51, 0x03, 0xFF, 0xFF, 0xFF, //
                                             0x00, 0x90, 0x3C, 0x40,                   //
                                             0xFF, 0xFF, 0xFF, 0x7F, 0x80, 0x3C, 0x00, //
                                             0x00, 0xFF, 0x2F, 0x00})});
    MidiSequencer rest(MidiFile::parse(longRest));
    EXPECT_GT(rest.duration(), 4e9);
    rest.sendDue(nullptr);
    EXPECT_EQ(rest.framesUntilNext(44100, 512), 512);
    EXPECT_EQ(rest.framesUntilNext(44100, 1), 1);
    rest.advance(1e10);
    rest.sendDue(nullptr);
    EXPECT_TRUE(rest.atEnd());
    EXPECT_EQ(rest.framesUntilNext(44100, 512), 1);

    // 96 ticks a beat at 120 bpm: a note every 0.5 s.
    MidiSequencer notes(MidiFile::parse(smf(0, 96,
                                            {track({0x00, 0x90, 0x3C, 0x40, //
                                                    0x60, 0x80, 0x3C, 0x00, //
                                                    0x00, 0xFF, 0x2F, 0x00})})));
    notes.sendDue(nullptr);
    const struct {
        double at;
        int block, frames;
    } cases[] = {
        {0.0, 100000, 22050},        {0.0, 512, 512},
        {0.25, 100000, 11025},       {0.5 - 1.0 / 44100, 512, 1},
        {0.5 - 0.5 / 44100, 512, 1},
    };
    for (const auto& c : cases) {
        notes.rewind();
        notes.sendDue(nullptr);
        notes.advance(c.at);
        EXPECT_EQ(notes.framesUntilNext(44100, c.block), c.frames) << c.at << " " << c.block;
    }
}

// A synthesizer that joins mid-piece gets the instruments and controllers set so far, and
// none of the notes.
TEST(MidiSequencer, ResendsTheSetupAlreadyPassed) {
    struct Recorder : sokoban::MidiSink {
        void send(const sokoban::MidiEvent& e) override { statuses.push_back(e.status); }
        std::vector<int> statuses;
    };
    // 96 ticks a beat at 120 bpm: 0.5 s a beat.
    MidiSequencer piece(
        MidiFile::parse(smf(0, 96, {track({0x00, 0xC1, 0x05,       // program, channel 2
                                           0x00, 0xB1, 0x07, 0x64, // volume
                                           0x00, 0x91, 0x3C, 0x40, // note on
                                           0x00, 0xA1, 0x3C, 0x20, // key pressure
                                           0x30, 0xE1, 0x00, 0x50, // pitch bend at 0.25 s
                                           0x30, 0x81, 0x3C, 0x00, // note off at 0.5 s
                                           0x00, 0xC1, 0x07,       // another program at 0.5 s
                                           0x00, 0xFF, 0x2F, 0x00})})));
    const struct {
        double at;
        std::vector<int> resent;
    } cases[] = {
        {0.0, {0xC1, 0xB1}},
        {0.3, {0xC1, 0xB1, 0xE1}},
        {1.0, {0xC1, 0xB1, 0xE1, 0xC1}},
    };
    for (const auto& c : cases) {
        piece.rewind();
        piece.advance(c.at);
        piece.sendDue(nullptr);
        Recorder r;
        piece.resendSetup(r);
        EXPECT_EQ(r.statuses, c.resent) << c.at;
    }
}

} // namespace

// The generated effects and music as the game ships them: the effects from the compiled-in
// resources, the music from the program directory.

#include "ui/platform/audio/midi_file.h"

#include <QFile>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <string>

namespace {

std::uint32_t le(const QByteArray& b, int at, int n) {
    std::uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i)
        v = v << 8 | static_cast<std::uint8_t>(b[at + i]);
    return v;
}

struct EffectCase {
    const char* file;
    std::uint32_t rate;
    double seconds;
};

class EffectFile : public testing::TestWithParam<EffectCase> {};

TEST_P(EffectFile, IsShortUnsigned8BitMonoPcmStartingAndEndingAtRest) {
    const EffectCase& c = GetParam();
    QFile f(QStringLiteral(":/sounds/%1").arg(QLatin1String(c.file)));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << c.file;
    const QByteArray b = f.readAll();
    ASSERT_GE(b.size(), 44);
    EXPECT_EQ(b.left(4), "RIFF");
    EXPECT_EQ(le(b, 4, 4), static_cast<std::uint32_t>(b.size() - 8));
    EXPECT_EQ(b.mid(8, 8), "WAVEfmt ");
    EXPECT_EQ(le(b, 16, 4), 16u);
    EXPECT_EQ(le(b, 20, 2), 1u); // PCM
    EXPECT_EQ(le(b, 22, 2), 1u); // mono
    EXPECT_EQ(le(b, 24, 4), c.rate);
    EXPECT_EQ(le(b, 28, 4), c.rate); // bytes per second
    EXPECT_EQ(le(b, 32, 2), 1u);     // block align
    EXPECT_EQ(le(b, 34, 2), 8u);
    EXPECT_EQ(b.mid(36, 4), "data");
    const std::uint32_t n = le(b, 40, 4);
    ASSERT_LE(44 + n, static_cast<std::uint32_t>(b.size()));
    EXPECT_NEAR(double(n) / c.rate, c.seconds, c.seconds * 0.15);

    // Starts and ends at the midpoint (no click), and is clearly audible in between.
    auto sample = [&](std::uint32_t i) {
        return static_cast<int>(static_cast<std::uint8_t>(b[44 + i]));
    };
    EXPECT_NEAR(sample(0), 128, 2);
    EXPECT_NEAR(sample(n - 1), 128, 2);
    int peak = 0;
    for (std::uint32_t i = 0; i < n; ++i)
        peak = std::max(peak, std::abs(sample(i) - 128));
    EXPECT_GE(peak, 50);
    EXPECT_LT(peak, 128); // no clipping
}

INSTANTIATE_TEST_SUITE_P(
    Effects, EffectFile,
    testing::Values(EffectCase{"move.wav", 11025, 0.17}, EffectCase{"push.wav", 22050, 0.22},
                    EffectCase{"pong.wav", 11025, 0.19}, EffectCase{"undo.wav", 11000, 0.29}),
    [](const auto& info) { return std::string(info.param.file).substr(0, 4); });

struct Piece {
    sokoban::MidiFile file;
    std::map<int, int> programs; // channel -> program
};

Piece loadPiece(int n) {
    Piece p{sokoban::MidiFile::load(std::string(SOKOBAN_BIN_DIR) + "/music" + std::to_string(n) +
                                    ".mid"),
            {}};
    for (const auto& e : p.file.events)
        if (e.type() == 0xC0) p.programs[e.channel()] = e.data1;
    return p;
}

class MusicFile : public testing::TestWithParam<int> {};

TEST_P(MusicFile, IsALongMultiInstrumentPieceThatEndsCleanly) {
    const Piece p = loadPiece(GetParam());
    const auto& f = p.file;
    EXPECT_LE(f.format, 1);
    EXPECT_GE(f.tempoChanges, 1);
    EXPECT_GE(f.duration, 45.0);
    EXPECT_LE(f.duration, 180.0);
    EXPECT_GE(p.programs.size(), 3u);

    // Every note is released, and the piece closes a short breath after the last one.
    std::map<std::pair<int, int>, int> sounding;
    double lastRelease = 0, lastStart = 0;
    std::set<int> channelsClosed;
    for (const auto& e : f.events) {
        if (e.isNoteOn()) {
            ++sounding[{e.channel(), e.data1}];
            lastStart = e.time;
        } else if (e.isNoteOff() && sounding[{e.channel(), e.data1}] > 0) {
            --sounding[{e.channel(), e.data1}];
            lastRelease = std::max(lastRelease, e.time);
        } else if (e.type() == 0xB0 && e.data1 == 123) {
            channelsClosed.insert(e.channel());
        }
    }
    for (const auto& [key, count] : sounding)
        EXPECT_EQ(count, 0) << "channel " << key.first << " key " << key.second;
    EXPECT_GT(lastRelease, lastStart);
    EXPECT_GE(f.duration - lastRelease, 0.2);
    EXPECT_LE(f.duration - lastRelease, 3.0);
    for (const auto& [channel, program] : p.programs)
        EXPECT_TRUE(channelsClosed.count(channel)) << channel;
}

INSTANTIATE_TEST_SUITE_P(Pieces, MusicFile, testing::Range(1, 6));

TEST(MusicFiles, EachPieceHasItsOwnSound) {
    std::set<std::map<int, int>> instrumentations;
    for (int n = 1; n <= 5; ++n)
        instrumentations.insert(loadPiece(n).programs);
    EXPECT_EQ(instrumentations.size(), 5u);
}

} // namespace

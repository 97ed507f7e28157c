#include "ui/platform/audio/effect_player.h"

#include "test_support.h"

#include <QFile>
#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace {

using sokoban::EffectClip;
using sokoban::EffectMixer;
using sokoban::EffectStream;
using sokoban::MixingEffectPlayer;

// A RIFF WAVE file: a "fmt " chunk, any extra chunks, then "data".
std::vector<std::uint8_t> wave(int format, int channels, int rate, int bits,
                               const std::vector<std::uint8_t>& data,
                               const std::vector<std::uint8_t>& extra = {}) {
    std::vector<std::uint8_t> out;
    auto tag = [&](const char* t) {
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<std::uint8_t>(t[i]));
    };
    auto le = [&](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    tag("RIFF");
    le(0, 4); // the size is not needed for reading
    tag("WAVE");
    tag("fmt ");
    le(16, 4);
    le(std::uint32_t(format), 2);
    le(std::uint32_t(channels), 2);
    le(std::uint32_t(rate), 4);
    le(std::uint32_t(rate * channels * bits / 8), 4);
    le(std::uint32_t(channels * bits / 8), 2);
    le(std::uint32_t(bits), 2);
    out.insert(out.end(), extra.begin(), extra.end());
    tag("data");
    le(std::uint32_t(data.size()), 4);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

TEST(DecodeWave, ReadsThePcmTheGameUsesAndRefusesTheRest) {
    // An odd-length chunk before the data is padded to an even length.
    const std::vector<std::uint8_t> note{'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
    struct Case {
        const char* name;
        std::vector<std::uint8_t> file;
        int rate;
        std::vector<std::int16_t> expected; // empty: refused
    };
    const Case cases[] = {
        {"8-bit mono at the output rate",
         wave(1, 1, 22050, 8, {128, 255, 0, 192}),
         22050,
         {0, 32511, -32767, 16384}},
        {"8-bit mono at half the rate, interpolated",
         wave(1, 1, 11025, 8, {128, 192, 128}, note),
         22050,
         {0, 8192, 16384, 8192, 0, 0}},
        {"16-bit stereo mixed down",
         wave(1, 2, 22050, 16, {0x00, 0x40, 0x00, 0x00, 0x00, 0xC0, 0x00, 0xC0}),
         22050,
         {8192, -16384}},
        {"float samples", wave(3, 1, 22050, 32, {0, 0, 0, 0}), 22050, {}},
        {"24-bit samples", wave(1, 1, 22050, 24, {0, 0, 0}), 22050, {}},
        {"no data", wave(1, 1, 22050, 8, {}), 22050, {}},
        {"not a wave file", std::vector<std::uint8_t>(64, 'x'), 22050, {}},
    };
    for (const Case& c : cases) {
        const EffectClip clip = sokoban::decodeWave(c.file, c.rate, 1.0f);
        if (c.expected.empty()) {
            EXPECT_EQ(clip, nullptr) << c.name;
            continue;
        }
        ASSERT_NE(clip, nullptr) << c.name;
        ASSERT_EQ(clip->size(), c.expected.size()) << c.name;
        for (std::size_t i = 0; i < clip->size(); ++i)
            EXPECT_NEAR((*clip)[i], c.expected[i], 2) << c.name << " at " << i;
    }
    auto truncated = wave(1, 1, 22050, 8, {1, 2, 3, 4});
    truncated.resize(truncated.size() - 2);
    EXPECT_EQ(sokoban::decodeWave(truncated, 22050, 1.0f), nullptr);
}

TEST(DecodeWave, TheGamesEffectsLastAsLongAsTheyShould) {
    const struct {
        const char* name;
        double seconds;
    } effects[] = {{"move", 0.17}, {"push", 0.22}, {"pong", 0.19}, {"undo", 0.29}};
    for (const auto& e : effects) {
        QFile file(QStringLiteral(":/sounds/%1.wav").arg(QLatin1String(e.name)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << e.name;
        const QByteArray bytes = file.readAll();
        const EffectClip clip = sokoban::decodeWave(
            std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
            MixingEffectPlayer::kSampleRate, 0.8f);
        ASSERT_NE(clip, nullptr) << e.name;
        EXPECT_NEAR(double(clip->size()) / MixingEffectPlayer::kSampleRate, e.seconds, 0.02)
            << e.name;
    }
}

EffectClip constant(std::int16_t value, std::size_t frames) {
    return std::make_shared<std::vector<std::int16_t>>(frames, value);
}

std::vector<std::int16_t> pull(EffectMixer& mixer, std::size_t frames) {
    std::vector<std::int16_t> out(frames);
    out.resize(mixer.pull(out));
    return out;
}

TEST(EffectMixer, ANewClipCutsTheOldOneWithAShortFade) {
    EffectMixer mixer;
    EXPECT_TRUE(pull(mixer, 10).empty());
    mixer.start(constant(1000, 300));
    EXPECT_EQ(pull(mixer, 100), std::vector<std::int16_t>(100, 1000));

    mixer.start(constant(-2000, 200));
    const auto cut = pull(mixer, 500);
    ASSERT_EQ(cut.size(), 200u); // the new clip's length: the old one does not go on
    EXPECT_NEAR(cut.front(), -1000, 20);
    for (std::size_t i = 1; i < EffectMixer::kFadeFrames; ++i)
        EXPECT_GE(cut[i - 1], cut[i]) << i; // the old clip fades out smoothly
    EXPECT_EQ(std::vector(cut.begin() + EffectMixer::kFadeFrames, cut.end()),
              std::vector<std::int16_t>(200 - EffectMixer::kFadeFrames, -2000));
    EXPECT_FALSE(mixer.sounding());
    EXPECT_TRUE(pull(mixer, 10).empty());

    // A clip that ended is not faded into the next.
    mixer.start(constant(500, 4));
    EXPECT_EQ(pull(mixer, 10).size(), 4u);
    mixer.start(constant(700, 4));
    EXPECT_EQ(pull(mixer, 10), std::vector<std::int16_t>(4, 700));
}

// Stand-in for the sound device: counts the streams and wake-ups, and can break down.
struct FakeDevice {
    int opened = 0;
    int open = 0;
    int wakes = 0;
    bool refuse = false;      // the device opens no stream
    int breakAfterWakes = -1; // the open stream breaks down after this many wake-ups
    EffectMixer* mixer = nullptr;

    class Stream : public EffectStream {
      public:
        explicit Stream(FakeDevice& d) : d_(d) { ++d_.open; }
        ~Stream() override { --d_.open; }
        bool wake() override {
            if (d_.breakAfterWakes == 0) {
                d_.breakAfterWakes = -1; // its replacement works
                return false;
            }
            if (d_.breakAfterWakes > 0) --d_.breakAfterWakes;
            ++d_.wakes;
            return true;
        }

      private:
        FakeDevice& d_;
    };

    MixingEffectPlayer::OpenStream opener() {
        return [this](EffectMixer& m, int rate) -> std::unique_ptr<EffectStream> {
            EXPECT_EQ(rate, MixingEffectPlayer::kSampleRate);
            mixer = &m;
            if (refuse) return nullptr;
            ++opened;
            return std::make_unique<Stream>(*this);
        };
    }

    // What the device would play next.
    std::vector<std::int16_t> heard() { return pull(*mixer, 100000); }
};

void addEffects(MixingEffectPlayer& player) {
    player.add("MOVE", constant(1, 3000));
    player.add("push", constant(2, 4000));
    player.add("Pong", constant(3, 3500));
    player.add("UNDO", constant(4, 6000));
}

TEST(MixingEffectPlayer, EffectsKeepPlayingThroughOneStreamHoweverFastTheyCome) {
    FakeDevice device;
    MixingEffectPlayer player(device.opener());
    addEffects(player);
    const char* names[] = {"MOVE", "PUSH", "PONG", "pong", "undo", "Undo", "move"};
    for (int i = 0; i < 120; ++i)
        player.play(names[i % 7]);
    player.play("UNDO");
    EXPECT_EQ(device.opened, 1);
    EXPECT_EQ(device.wakes, 121);
    const auto heard = device.heard();
    ASSERT_EQ(heard.size(), 6000u); // the last effect, whole
    EXPECT_EQ(heard.back(), 4);

    player.play("no such effect");
    player.play("");
    EXPECT_EQ(device.wakes, 121);
    EXPECT_TRUE(device.heard().empty());
}

TEST(MixingEffectPlayer, AStreamThatBreaksDownIsReplacedAndADeviceThatRefusesIsAskedAgain) {
    FakeDevice device;
    MixingEffectPlayer player(device.opener());
    addEffects(player);

    device.refuse = true;
    player.play("MOVE");
    EXPECT_EQ(device.open, 0);
    device.refuse = false;
    player.play("MOVE");
    EXPECT_EQ(device.open, 1);

    device.breakAfterWakes = 10;
    for (int i = 0; i < 30; ++i)
        player.play("PUSH");
    EXPECT_EQ(device.opened, 2); // one replacement, not one a play
    EXPECT_EQ(device.open, 1);
    EXPECT_EQ(device.wakes, 31);
    EXPECT_EQ(device.heard().size(), 4000u);
}

TEST(QtEffectPlayer, PlaysAnyNameWithoutComplaintWithOrWithoutSound) {
    audio_test::app();
    sokoban::QtEffectPlayer player;
    for (const char* name : {"MOVE", "PUSH", "PONG", "pong", "undo", "Undo", "no such effect", ""})
        EXPECT_NO_THROW(player.play(name)) << name;
    QCoreApplication::processEvents();
}

} // namespace

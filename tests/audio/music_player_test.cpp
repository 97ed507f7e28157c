#include "ui/platform/audio/fluidsynth_music_player.h"
#include "ui/platform/audio/music_player.h"

#include "test_support.h"

#include <QTest>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <sys/stat.h>

namespace {

using audio_test::Bytes;
using audio_test::smf;
using audio_test::track;
using sokoban::FluidSynthMusicPlayer;
using sokoban::MusicDeviceError;
using sokoban::MusicPlayer;
using sokoban::ScriptedMusicPlayer;

// At 60 beats a minute with 480 ticks a beat, a beat is a second: 0x83 0x60 is one second.
// A piano note from 0 to 2 s, another from 3 to 4 s, the end at 5 s.
Bytes twoNotes() {
    return smf(0, 480, {track({0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40, 0x00, 0xC0, 0x00, //
                               0x00, 0x90, 0x3C, 0x64, 0x87, 0x40, 0x80, 0x3C, 0x00,       //
                               0x83, 0x60, 0x90, 0x40, 0x64, 0x83, 0x60, 0x80, 0x40, 0x00, //
                               0x83, 0x60, 0xFF, 0x2F, 0x00})});
}

// A blip of 0.3 s at 60 beats a minute: 144 ticks.
Bytes blip() {
    return smf(0, 480, {track({0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40, 0x00, 0x90, 0x48, 0x50, //
                               0x81, 0x10, 0x80, 0x48, 0x00, 0x00, 0xFF, 0x2F, 0x00})});
}

FluidSynthMusicPlayer::Options clockDriven() {
    FluidSynthMusicPlayer::Options o;
    o.drivers.clear(); // no output: time runs on the clock, as on a machine without sound
    return o;
}

double rms(const std::vector<float>& samples, std::size_t from, std::size_t to) {
    double sum = 0;
    for (std::size_t i = from; i < to; ++i)
        sum += double(samples[i]) * samples[i];
    return std::sqrt(sum / double(to - from));
}

// The same scenarios run against the real player and the test stand-in, so that game
// tests written against the stand-in hold for the real thing.
struct Harness {
    std::unique_ptr<MusicPlayer> player;
    std::function<void()> deliver;
};

Harness makeHarness(const std::string& kind) {
    audio_test::app();
    if (kind == "scripted") {
        auto p = std::make_unique<ScriptedMusicPlayer>();
        auto* raw = p.get();
        return {std::move(p), [raw] { raw->deliverNotifications(); }};
    }
    return {std::make_unique<FluidSynthMusicPlayer>(clockDriven()),
            [] { QCoreApplication::processEvents(); }};
}

enum Step { Open, OpenOther, Play, Stop, Close };

struct Scenario {
    const char* name;
    std::vector<Step> steps;
    int notifications;
    bool playingAfter;
};

class PlayRequests : public testing::TestWithParam<std::string> {};

TEST_P(PlayRequests, EachEndedPlayRequestNotifiesOnceFromTheEventLoop) {
    const auto piece = audio_test::writeTemp("two_notes.mid", twoNotes());
    const Scenario scenarios[] = {
        {"stop ends the request", {Open, Play, Stop}, 1, false},
        {"a second play replaces the first", {Open, Play, Play}, 1, true},
        {"opening another file ends the request", {Open, Play, OpenOther}, 1, false},
        {"close ends the request", {Open, Play, Close}, 1, false},
        {"stop without play", {Open, Stop}, 0, false},
        {"play with nothing open", {Play}, 0, false},
        {"play after close", {Open, Close, Play}, 0, false},
        {"stop, play again, stop", {Open, Play, Stop, Play, Stop}, 2, false},
    };
    for (const Scenario& s : scenarios) {
        Harness h = makeHarness(GetParam());
        int notified = 0;
        h.player->onNotify = [&] { ++notified; };
        for (Step step : s.steps) {
            switch (step) {
            case Open:
            case OpenOther:
                h.player->open(piece);
                break;
            case Play:
                h.player->play();
                break;
            case Stop:
                h.player->stop();
                break;
            case Close:
                h.player->close();
                break;
            }
        }
        EXPECT_EQ(notified, 0) << s.name << ": delivered before the event loop ran";
        h.deliver();
        EXPECT_EQ(notified, s.notifications) << s.name;
        EXPECT_EQ(h.player->isPlaying(), s.playingAfter) << s.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Players, PlayRequests, testing::Values("scripted", "fluidsynth"));

TEST(FluidSynthMusicPlayer, OpeningAnUnplayableFileGivesTheSequencersText) {
    audio_test::app();
    const auto good = audio_test::writeTemp("good.mid", twoNotes());
    const auto text = audio_test::writeTemp("text.mid", Bytes{'h', 'e', 'l', 'l', 'o', '\n'});
    const auto missing = std::filesystem::temp_directory_path() / "sokoban_no_such_music.mid";
    // SMPTE time of 25 frames a second and no ticks in a frame: no time can be computed.
    const auto untimed = audio_test::writeTemp(
        "untimed.mid",
        smf(0, 0xE700,
            {track({0x10, 0x90, 0x3C, 0x40, 0x10, 0x80, 0x3C, 0x00, 0x00, 0xFF, 0x2F, 0x00})}));
    // A pipe in place of a file is refused at once instead of waiting for a writer.
    const auto pipe = untimed.parent_path() / "pipe.mid";
    std::filesystem::remove(pipe); // left by an earlier round of a repeated run
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    for (const auto& bad : {text, missing, untimed, pipe}) {
        FluidSynthMusicPlayer player(clockDriven());
        player.open(good);
        player.play();
        try {
            player.open(bad);
            ADD_FAILURE() << bad << " opened";
        } catch (const MusicDeviceError& e) {
            EXPECT_NE(std::string(e.what()).find(bad.filename().string()), std::string::npos)
                << e.what();
        }
        // The earlier piece was closed by the attempt.
        EXPECT_FALSE(player.isPlaying());
        player.play();
        EXPECT_FALSE(player.isPlaying());
    }
}

TEST(FluidSynthMusicPlayer, StopKeepsThePositionAndPlayResumesOnTheClock) {
    audio_test::app();
    FluidSynthMusicPlayer player(clockDriven());
    player.open(audio_test::writeTemp("resume.mid", twoNotes()));
    player.play();
    QTest::qWait(200);
    player.stop();
    const double stoppedAt = player.position();
    EXPECT_GT(stoppedAt, 0.1);
    QTest::qWait(150);
    EXPECT_EQ(player.position(), stoppedAt);
    player.play();
    QTest::qWait(100);
    EXPECT_GT(player.position(), stoppedAt);
    EXPECT_LT(player.position(), stoppedAt + 2.0);
}

TEST(FluidSynthMusicPlayer, FinishedPieceNotifiesAndPlaysAgainFromTheStart) {
    audio_test::app();
    FluidSynthMusicPlayer player(clockDriven());
    player.open(audio_test::writeTemp("blip.mid", blip()));
    int notified = 0;
    double positionAfterRestart = -1;
    // What the game does on a notification: play again while the music is on.
    player.onNotify = [&] {
        if (++notified == 1 && !player.isPlaying()) {
            player.play();
            positionAfterRestart = player.position();
        }
    };
    player.play();
    EXPECT_TRUE(QTest::qWaitFor([&] { return notified == 2; }, 5000));
    EXPECT_GE(positionAfterRestart, 0.0);
    EXPECT_LT(positionAfterRestart, 0.2);
    EXPECT_FALSE(player.isPlaying());
    EXPECT_DOUBLE_EQ(player.position(), 0.3);
}

TEST(FluidSynthMusicPlayer, RendersNotesAtTheirTimesAndResumesAfterStop) {
    audio_test::app();
    if (FluidSynthMusicPlayer::findSoundFont().empty())
        GTEST_SKIP() << "no General MIDI sound font";
    FluidSynthMusicPlayer::Options options;
    options.manualRendering = true;
    FluidSynthMusicPlayer player(options);
    int notified = 0;
    player.onNotify = [&] { ++notified; };
    player.open(audio_test::writeTemp("render.mid", twoNotes()));
    player.play();
    ASSERT_TRUE(player.audible());

    constexpr int rate = FluidSynthMusicPlayer::kSampleRate;
    std::vector<float> left, right;
    auto renderSeconds = [&](double seconds) {
        const auto frames = static_cast<std::size_t>(seconds * rate);
        const std::size_t from = left.size();
        left.resize(from + frames);
        right.resize(from + frames);
        // Uneven blocks, as an audio device would ask for them.
        for (std::size_t done = 0; done < frames;) {
            const int n = static_cast<int>(std::min<std::size_t>(frames - done, 300 + done % 700));
            player.render(&left[from + done], &right[from + done], n);
            done += static_cast<std::size_t>(n);
        }
        return from;
    };

    const auto first = renderSeconds(0.5);
    const double playing = rms(left, first, left.size());
    EXPECT_GT(playing, 1e-3);
    EXPECT_NEAR(player.position(), 0.5, 1e-9);

    player.stop();
    const auto paused = renderSeconds(2.0);
    EXPECT_NEAR(player.position(), 0.5, 1e-9);
    EXPECT_LT(rms(left, paused + rate * 3 / 2, left.size()), playing / 50); // died away

    player.play(); // on from 0.5 s: silence until the second note at 3 s
    const auto resumed = renderSeconds(2.4);
    EXPECT_NEAR(player.position(), 2.9, 1e-6);
    EXPECT_LT(rms(left, resumed, left.size()), playing / 50);
    const auto second = renderSeconds(0.5);
    EXPECT_GT(rms(left, second, left.size()), playing / 10);

    renderSeconds(2.5);
    EXPECT_FALSE(player.isPlaying());
    EXPECT_DOUBLE_EQ(player.position(), 5.0);
    QCoreApplication::processEvents();
    EXPECT_EQ(notified, 2); // the stop, then the end
}

// Stand-in for the audio device: counts the outputs and renders when the test asks.
struct FakeOutputs {
    int opened = 0;
    int open = 0;
    bool refuse = false;
    FluidSynthMusicPlayer::Render render;

    class Output : public FluidSynthMusicPlayer::Output {
      public:
        explicit Output(FakeOutputs& o) : o_(o) { ++o_.open; }
        ~Output() override {
            --o_.open;
            o_.render = nullptr;
        }

      private:
        FakeOutputs& o_;
    };

    FluidSynthMusicPlayer::Options options() {
        FluidSynthMusicPlayer::Options o;
        o.openOutput =
            [this](
                FluidSynthMusicPlayer::Render r) -> std::unique_ptr<FluidSynthMusicPlayer::Output> {
            if (refuse) return nullptr;
            ++opened;
            render = std::move(r);
            return std::make_unique<Output>(*this);
        };
        return o;
    }

    // The level of a tenth of a second of what the open output plays now.
    double level() {
        if (!render) return 0;
        std::vector<float> left(FluidSynthMusicPlayer::kSampleRate / 10), right(left.size());
        float* out[2] = {left.data(), right.data()};
        render(static_cast<int>(left.size()), 0, nullptr, 2, out);
        return rms(left, 0, left.size());
    }
};

TEST(FluidSynthMusicPlayer, TheOutputIsOpenOnlyWhileMusicPlays) {
    audio_test::app();
    if (FluidSynthMusicPlayer::findSoundFont().empty())
        GTEST_SKIP() << "no General MIDI sound font";
    FakeOutputs device;
    FluidSynthMusicPlayer player(device.options());
    const auto closed = [&] { return QTest::qWaitFor([&] { return device.open == 0; }, 10000); };

    player.open(audio_test::writeTemp("outputs.mid", twoNotes()));
    player.play();
    ASSERT_EQ(device.open, 1);
    EXPECT_GT(device.level(), 1e-3);

    // Music off: the output goes, and with it the thread that rendered silence.
    player.stop();
    EXPECT_TRUE(closed()) << "the output stays open while the music is off";
    // Music on: a new output, and the piece goes on where it stopped.
    player.play();
    EXPECT_EQ(device.open, 1);
    EXPECT_EQ(device.opened, 2);
    EXPECT_NEAR(player.position(), 0.1, 1e-6);
    EXPECT_GT(device.level(), 1e-3); // the first note, from 0 to 2 s
    // A quick off and on keeps the output it has.
    player.stop();
    player.play();
    EXPECT_EQ(device.opened, 2);

    // A piece that ends and is not played again lets its output go too.
    for (int i = 0; i < 60 && player.isPlaying(); ++i)
        device.level();
    EXPECT_FALSE(player.isPlaying());
    EXPECT_TRUE(closed()) << "the output stays open after the piece ended";

    // Choosing a piece opens one again.
    player.open(audio_test::writeTemp("outputs2.mid", twoNotes()));
    player.play();
    EXPECT_EQ(device.open, 1);
    EXPECT_GT(device.level(), 1e-3);
    player.close();
    EXPECT_TRUE(closed()) << "the output stays open after the music was closed";

    // No device now: time runs on the clock, and the next play looks for one again.
    device.refuse = true;
    player.open(audio_test::writeTemp("outputs3.mid", twoNotes()));
    player.play();
    EXPECT_TRUE(QTest::qWaitFor([&] { return player.position() > 0.05; }, 10000));
    player.stop();
    device.refuse = false;
    player.play();
    EXPECT_EQ(device.open, 1);
    EXPECT_GT(device.level(), 1e-3);
}

TEST(FluidSynthMusicPlayer, PlaysTheGamesMusicWhateverOutputTheMachineHas) {
    audio_test::app();
    FluidSynthMusicPlayer player;
    player.open(std::string(SOKOBAN_BIN_DIR) + "/music1.mid");
    player.play();
    EXPECT_TRUE(player.isPlaying());
    player.stop();
    EXPECT_FALSE(player.isPlaying());
    player.close();
}

} // namespace

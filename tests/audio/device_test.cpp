// The players against real streams of a sound server of the test's own (see sound_server.h):
// what a player hears, and how many streams the game keeps open.
#include "ui/platform/audio/effect_player.h"
#include "ui/platform/audio/fluidsynth_music_player.h"

#include "sound_server.h"

#include <QCoreApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

audio_test::SoundServer* server = nullptr;

// Started once for the whole run, when tests run (not when they are only listed), and
// before any player asks for a sound service: the sound libraries stay with the server
// they first found.
class SoundServerEnvironment : public testing::Environment {
  public:
    void SetUp() override {
        if (tried_) return;
        tried_ = true;
        sound_ = std::make_unique<audio_test::SoundServer>();
        if (sound_->start()) server = sound_.get();
    }
    void stop() {
        server = nullptr;
        sound_.reset();
    }

  private:
    bool tried_ = false;
    std::unique_ptr<audio_test::SoundServer> sound_;
};

class Device : public testing::Test {
  protected:
    void SetUp() override {
        if (!server) GTEST_SKIP() << "no PulseAudio server could be started";
    }
};

TEST_F(Device, EffectsKeepSoundingAfterAKeyHeldDownAndShareOneStream) {
    sokoban::QtEffectPlayer player;
    ASSERT_TRUE(player.hasOutput());
    const int streamsBefore = server->streamsOpened();
    // A held arrow key: effects 4 ms apart, each cutting off the one before.
    const char* names[] = {"MOVE", "PUSH", "PONG", "undo"};
    for (int i = 0; i < 120; ++i) {
        player.play(names[i % 4]);
        QTest::qWait(4);
    }
    ASSERT_TRUE(server->waitForSilence(30000));

    player.play("PONG");
    EXPECT_TRUE(server->waitForSound(20000)) << "the effect after the burst was not heard";
    EXPECT_LE(server->streamsOpened() - streamsBefore, 1);

    // Still heard after the stream has been idle long enough to be paused.
    ASSERT_TRUE(server->waitForSilence(30000));
    QTest::qWait(3000);
    player.play("MOVE");
    EXPECT_TRUE(server->waitForSound(20000)) << "the effect after a pause was not heard";
    EXPECT_LE(server->streamsOpened() - streamsBefore, 1);
}

TEST_F(Device, MusicSwitchedOffClosesItsStreamAndSwitchedOnPlaysAgain) {
    sokoban::FluidSynthMusicPlayer player;
    player.open(std::string(SOKOBAN_BIN_DIR) + "/music1.mid");
    player.play();
    if (!player.audible()) GTEST_SKIP() << "no General MIDI sound font";
    EXPECT_TRUE(QTest::qWaitFor([] { return server->openStreams() == 1; }, 20000));
    EXPECT_TRUE(server->waitForSound(20000));

    player.stop();
    EXPECT_TRUE(QTest::qWaitFor([] { return server->openStreams() == 0; }, 20000))
        << "the music's stream stays open while the music is off";

    player.play();
    EXPECT_TRUE(QTest::qWaitFor([] { return server->openStreams() == 1; }, 20000));
    EXPECT_TRUE(server->waitForSound(20000)) << "the music was not heard after switching it on";
    player.close();
    EXPECT_TRUE(QTest::qWaitFor([] { return server->openStreams() == 0; }, 20000));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    auto* environment = new SoundServerEnvironment;
    testing::AddGlobalTestEnvironment(environment); // owned by the test framework
    const int result = RUN_ALL_TESTS();
    environment->stop();
    return result;
}

// The players that wait for the audio module: what the window asks for before the module is
// in reaches the real players once it is, and the first effect is never lost.
#include "ui/platform/audio/deferred_audio.h"

#include "test_support.h"

#include <QCoreApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using sokoban::DeferredAudio;
using sokoban::EffectPlayer;
using sokoban::MusicDeviceError;
using sokoban::MusicPlayer;
using sokoban::RecordingEffectPlayer;
using sokoban::ScriptedMusicPlayer;

// A short valid piece: one note, then the end.
std::filesystem::path piece() {
    static const auto path = audio_test::writeTemp(
        "deferred.mid",
        audio_test::smf(0, 480,
                        {audio_test::track({0x00, 0x90, 0x3C, 0x64, 0x83, 0x60, 0x80, 0x3C, 0x00,
                                            0x00, 0xFF, 0x2F, 0x00})}));
    return path;
}

// Stand-ins made by the "module", watched by the test.
struct Loaded {
    ScriptedMusicPlayer* music = nullptr;
    RecordingEffectPlayer* effects = nullptr;
    int loads = 0;
};

std::unique_ptr<DeferredAudio> deferred(Loaded& seen) {
    audio_test::app();
    return std::make_unique<DeferredAudio>([&seen]() -> DeferredAudio::Factory {
        ++seen.loads;
        return [&seen](std::unique_ptr<EffectPlayer>& e, std::unique_ptr<MusicPlayer>& m) {
            auto effects = std::make_unique<RecordingEffectPlayer>();
            auto music = std::make_unique<ScriptedMusicPlayer>();
            seen.effects = effects.get();
            seen.music = music.get();
            e = std::move(effects);
            m = std::move(music);
        };
    });
}

TEST(DeferredAudio, MusicAskedForBeforeTheModuleReachesTheRealPlayer) {
    struct Case {
        const char* name;
        std::vector<std::string> before; // calls before the module is in
        std::vector<std::string> real;   // what the real player then receives
    };
    const std::string open = "open " + piece().string();
    const std::vector<Case> cases = {
        {"open and play", {"open", "play"}, {open, "play"}},
        {"open only", {"open"}, {open}},
        {"stopped again", {"open", "play", "stop"}, {open}},
        {"closed", {"open", "play", "close"}, {}},
        {"nothing open", {"play"}, {}},
    };
    for (const Case& c : cases) {
        Loaded seen;
        auto audio = deferred(seen);
        MusicPlayer& music = audio->music();
        for (const std::string& call : c.before) {
            if (call == "open") music.open(piece());
            if (call == "play") music.play();
            if (call == "stop") music.stop();
            if (call == "close") music.close();
        }
        EXPECT_EQ(seen.loads, 0) << c.name;
        audio->loadNow();
        ASSERT_NE(seen.music, nullptr) << c.name;
        EXPECT_EQ(seen.music->calls, c.real) << c.name;
        EXPECT_EQ(music.isPlaying(), seen.music->isPlaying()) << c.name;
    }
}

TEST(DeferredAudio, PlayRequestsEndWithOneNotificationEachBeforeAndAfterLoading) {
    Loaded seen;
    auto audio = deferred(seen);
    int notified = 0;
    audio->music().onNotify = [&notified] { ++notified; };
    audio->music().open(piece());
    audio->music().play();
    audio->music().play(); // replaces the first request
    audio->music().stop();
    QCoreApplication::processEvents();
    EXPECT_EQ(notified, 2);
    audio->loadNow();
    audio->music().play();
    seen.music->finishPiece();
    seen.music->deliverNotifications();
    EXPECT_EQ(notified, 3);
}

TEST(DeferredAudio, TheFirstEffectLoadsTheModuleAndIsHeard) {
    Loaded seen;
    auto audio = deferred(seen);
    audio->effects().play("MOVE");
    EXPECT_TRUE(audio->ready());
    ASSERT_NE(seen.effects, nullptr);
    EXPECT_EQ(seen.effects->played, std::vector<std::string>{"MOVE"});
    audio->effects().play("PUSH");
    EXPECT_EQ(seen.loads, 1);
}

TEST(DeferredAudio, LoadsInTheBackgroundAndStartsTheMusicThatWasAskedFor) {
    Loaded seen;
    auto audio = deferred(seen);
    int ready = 0;
    audio->onReady = [&ready] { ++ready; };
    audio->music().open(piece());
    audio->music().play();
    audio->loadInBackground();
    audio->loadInBackground();
    ASSERT_TRUE(QTest::qWaitFor([&] { return audio->ready(); }, 5000));
    EXPECT_EQ(ready, 1);
    EXPECT_EQ(seen.loads, 1);
    EXPECT_TRUE(seen.music->isPlaying());
}

TEST(DeferredAudio, AnUnreadablePieceIsReportedBeforeTheModuleIsIn) {
    Loaded seen;
    auto audio = deferred(seen);
    const auto bad = audio_test::writeTemp("deferred-bad.mid", {'n', 'o', 't', ' ', 'm', 'i'});
    EXPECT_THROW(audio->music().open(bad), MusicDeviceError);
    audio->music().play();
    EXPECT_FALSE(audio->music().isPlaying());
}

TEST(DeferredAudio, WithoutTheModuleTheGameIsSilent) {
    audio_test::app();
    DeferredAudio audio(std::filesystem::path("/nonexistent/sokoban-audio.so"));
    audio.music().open(piece());
    audio.music().play();
    audio.effects().play("MOVE");
    EXPECT_TRUE(audio.ready());
}

TEST(DeferredAudio, TheBuiltModuleGivesWorkingPlayers) {
    audio_test::app();
    DeferredAudio audio{std::filesystem::path(SOKOBAN_AUDIO_MODULE)};
    audio.music().open(piece());
    audio.music().play();
    audio.loadNow();
    EXPECT_TRUE(audio.music().isPlaying());
    audio.effects().play("MOVE");
    audio.music().close();
    EXPECT_FALSE(audio.music().isPlaying());
}

} // namespace

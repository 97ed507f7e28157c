// How long the game's user-interface thread spends on sound: starting an effect must be
// instant, and the synthesizer must render music far faster than it plays. And what music
// switched off costs: nothing, wherever there is a sound server to keep a stream open on.

#include "ui/platform/audio/effect_player.h"
#include "ui/platform/audio/fluidsynth_music_player.h"
#include "ui/platform/audio/midi_file.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <string>
#include <vector>

namespace {

const std::string kMusic = std::string(SOKOBAN_BIN_DIR) + "/music1.mid";

void EffectPlay(benchmark::State& state) {
    sokoban::QtEffectPlayer player;
    const char* names[] = {"MOVE", "PUSH", "PONG", "undo"};
    std::size_t i = 0;
    for (auto _ : state)
        player.play(names[i++ % 4]);
}
BENCHMARK(EffectPlay);

void ReadMusicFile(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(sokoban::MidiFile::load(kMusic));
}
BENCHMARK(ReadMusicFile)->Unit(benchmark::kMicrosecond);

void MusicPlayStop(benchmark::State& state) {
    sokoban::FluidSynthMusicPlayer player;
    player.open(kMusic);
    player.play(); // sets up the output once, outside the loop
    for (auto _ : state) {
        player.stop();
        player.play();
        QCoreApplication::processEvents(); // the notifications the two calls queued
    }
    player.close();
}
BENCHMARK(MusicPlayStop);

// One second of music per iteration; real time allows a whole second.
void RenderOneSecond(benchmark::State& state) {
    sokoban::FluidSynthMusicPlayer::Options options;
    options.manualRendering = true;
    sokoban::FluidSynthMusicPlayer player(options);
    player.open(kMusic);
    player.play();
    if (!player.audible()) {
        state.SkipWithError("no General MIDI sound font");
        return;
    }
    constexpr int block = 512;
    std::vector<float> left(block), right(block);
    for (auto _ : state) {
        for (int done = 0; done < sokoban::FluidSynthMusicPlayer::kSampleRate; done += block)
            player.render(left.data(), right.data(), block);
        if (!player.isPlaying()) player.play();
    }
}
BENCHMARK(RenderOneSecond)->Unit(benchmark::kMillisecond);

double processSeconds() {
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    return double(use.ru_utime.tv_sec + use.ru_stime.tv_sec) +
           double(use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e6;
}

void idle(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// The whole program's processor time, all threads, over five idle seconds after the music
// was switched off, in per cent of one core.
void MusicOffProcessorTime(benchmark::State& state) {
    sokoban::FluidSynthMusicPlayer player;
    player.open(kMusic);
    player.play();
    idle(1000);
    player.stop();
    idle(2 * sokoban::FluidSynthMusicPlayer::kOutputLingerMs);
    constexpr int seconds = 5;
    for (auto _ : state) {
        const double before = processSeconds();
        idle(seconds * 1000);
        state.counters["cpu_percent"] = 100 * (processSeconds() - before) / seconds;
    }
    state.counters["audible"] = player.audible();
    player.close();
}
BENCHMARK(MusicOffProcessorTime)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

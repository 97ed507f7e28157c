// How long the game's user-interface thread spends on sound: starting an effect must be
// instant, and the synthesizer must render music far faster than it plays.

#include "platform/audio/effect_player.h"
#include "platform/audio/fluidsynth_music_player.h"
#include "platform/audio/midi_file.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

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

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

#pragma once

// Background music through a small MIDI sequencer of our own driving a FluidSynth
// synthesizer with a General MIDI sound font.

#include "platform/audio/music_player.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace sokoban {

class FluidSynthMusicPlayer : public MusicPlayer {
  public:
    struct Options {
        // Audio outputs tried in turn; the first that opens is used.
        std::vector<std::string> drivers{"pulseaudio", "pipewire", "alsa"};
        // Empty: the first General MIDI sound font found in the usual places.
        std::filesystem::path soundFont;
        // No audio output at all: time moves only through render(). For tests and for
        // writing music into a file.
        bool manualRendering = false;
    };

    // Needs a QCoreApplication on this (the user-interface) thread. The synthesizer and the
    // audio output are set up at the first play(). Without a sound font or an audio output
    // the music is silent, but time still runs: pieces still end and notify.
    FluidSynthMusicPlayer();
    explicit FluidSynthMusicPlayer(Options options);
    ~FluidSynthMusicPlayer() override;

    void open(const std::filesystem::path& path) override;
    void play() override;
    void stop() override;
    bool isPlaying() const override;
    void close() override;

    // Seconds into the open piece (0 when nothing is open).
    double position() const;
    // Whether music can actually be heard (set up at the first play()).
    bool audible() const;
    static constexpr int kSampleRate = 44100;
    // Manual rendering only: renders `frames` stereo frames at kSampleRate and moves the
    // piece on by that much.
    void render(float* left, float* right, int frames);

    static std::filesystem::path findSoundFont();

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace sokoban

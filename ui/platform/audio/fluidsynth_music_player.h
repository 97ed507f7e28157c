#pragma once

// Background music through a small MIDI sequencer of our own driving a FluidSynth
// synthesizer with a General MIDI sound font.

#include "ui/platform/audio/music_player.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace sokoban {

class FluidSynthMusicPlayer : public MusicPlayer {
  public:
    // An open audio output; closing it (destroying it) stops its calls to render.
    class Output {
      public:
        virtual ~Output();
    };
    // Renders `frames` frames into the `nout` output buffers (and the `nfx` effect buffers,
    // which may be absent); called by the output from its own thread.
    using Render = std::function<void(int frames, int nfx, float* fx[], int nout, float* out[])>;

    struct Options {
        // Audio outputs tried in turn; the first that opens is used.
        std::vector<std::string> drivers{"pulseaudio", "pipewire", "alsa"};
        // Empty: the first General MIDI sound font found in the usual places.
        std::filesystem::path soundFont;
        // No audio output at all: time moves only through render(). For tests and for
        // writing music into a file.
        bool manualRendering = false;
        // Opens the output that pulls the music through `render`, or gives nullptr when
        // there is none. Empty: FluidSynth's own drivers, tried in the order of `drivers`.
        std::function<std::unique_ptr<Output>(Render render)> openOutput;
    };

    // Needs a QCoreApplication on this (the user-interface) thread. The synthesizer is set
    // up at the first play() that finds an audio output. The output is open only while
    // music plays: it closes shortly after a stop, a close or the end of a piece that is
    // not played again, so that silence costs nothing, and play() opens it anew. Without a
    // sound font or an audio output the music is silent, but time still runs: pieces still
    // end and notify.
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
    // How long the output stays open after the music stops: long enough for the released
    // notes to die away and for a quick off and on not to reopen it.
    static constexpr int kOutputLingerMs = 1000;
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

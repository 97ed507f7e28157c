#include "ui/platform/audio/fluidsynth_music_player.h"

#include "ui/platform/audio/midi_sequencer.h"

#include <fluidsynth.h>

#include <QMetaObject>
#include <QObject>
#include <QTimer>

#include <dlfcn.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdarg>
#include <mutex>
#include <optional>

namespace sokoban {
namespace {

using Clock = std::chrono::steady_clock;

// The audio libraries print their complaints about a missing sound card straight to the
// console. A machine without sound is normal for this game: keep them quiet.
void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

void silenceAudioLibraries() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, nullptr, nullptr);
        // ALSA is already loaded as a dependency of FluidSynth; only borrow its handle.
        if (void* alsa = dlopen("libasound.so.2", RTLD_LAZY | RTLD_NOLOAD)) {
            using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
            using SetHandler = int (*)(Handler);
            if (auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler")))
                set(quietAlsa);
            dlclose(alsa);
        }
    });
}

class SynthSink : public MidiSink {
  public:
    explicit SynthSink(fluid_synth_t* synth) : synth_(synth) {}
    void send(const MidiEvent& e) override {
        const int ch = e.channel();
        switch (e.type()) {
        case 0x80:
            fluid_synth_noteoff(synth_, ch, e.data1);
            break;
        case 0x90:
            if (e.data2)
                fluid_synth_noteon(synth_, ch, e.data1, e.data2);
            else
                fluid_synth_noteoff(synth_, ch, e.data1);
            break;
        case 0xA0:
            fluid_synth_key_pressure(synth_, ch, e.data1, e.data2);
            break;
        case 0xB0:
            fluid_synth_cc(synth_, ch, e.data1, e.data2);
            break;
        case 0xC0:
            fluid_synth_program_change(synth_, ch, e.data1);
            break;
        case 0xD0:
            fluid_synth_channel_pressure(synth_, ch, e.data1);
            break;
        case 0xE0:
            fluid_synth_pitch_bend(synth_, ch, e.data1 | e.data2 << 7);
            break;
        case 0xF0:
            if (!e.sysex.empty())
                fluid_synth_sysex(synth_, reinterpret_cast<const char*>(e.sysex.data()),
                                  static_cast<int>(e.sysex.size()), nullptr, nullptr, nullptr, 0);
            break;
        default:
            break;
        }
    }

  private:
    fluid_synth_t* synth_;
};

// One of FluidSynth's own audio drivers. Deleting it stops its thread.
class DriverOutput : public FluidSynthMusicPlayer::Output {
  public:
    static std::unique_ptr<DriverOutput> open(fluid_settings_t* settings,
                                              FluidSynthMusicPlayer::Render render) {
        auto output = std::unique_ptr<DriverOutput>(new DriverOutput(std::move(render)));
        output->driver_ = new_fluid_audio_driver2(settings, &DriverOutput::callback, output.get());
        if (!output->driver_) return nullptr;
        return output;
    }
    ~DriverOutput() override {
        if (driver_) delete_fluid_audio_driver(driver_);
    }

  private:
    explicit DriverOutput(FluidSynthMusicPlayer::Render render) : render_(std::move(render)) {}
    static int callback(void* data, int len, int nfx, float* fx[], int nout, float* out[]) {
        static_cast<DriverOutput*>(data)->render_(len, nfx, fx, nout, out);
        return FLUID_OK;
    }
    FluidSynthMusicPlayer::Render render_;
    fluid_audio_driver_t* driver_ = nullptr;
};

} // namespace

FluidSynthMusicPlayer::Output::~Output() = default;

struct FluidSynthMusicPlayer::Impl {
    Impl(FluidSynthMusicPlayer& owner, Options o) : owner(owner), options(std::move(o)) {
        poll.setInterval(50);
        QObject::connect(&poll, &QTimer::timeout, &context, [this] { update(); });
        linger.setSingleShot(true);
        linger.setInterval(kOutputLingerMs);
        QObject::connect(&linger, &QTimer::timeout, &context, [this] { closeIdleOutput(); });
    }

    ~Impl() {
        // The output first: it stops the audio thread that uses everything else.
        output.reset();
        if (synth) delete_fluid_synth(synth);
        if (settings) delete_fluid_settings(settings);
    }

    // Makes sure something will sound at play(): the output, and the synthesizer behind it
    // once an output has opened, so that a machine without sound does not pay for loading
    // the sound font. A missing or broken sound font leaves the music silent for good; a
    // missing output is looked for again at the next play().
    void ensureOutput() {
        linger.stop();
        if (output || !ensureSettings()) return;
        if (options.manualRendering) {
            ensureSynth();
            return;
        }
        Render render = [this](int len, int nfx, float* fx[], int nout, float* out[]) {
            std::lock_guard lock(mutex);
            renderLocked(len, nfx, fx, nout, out);
        };
        if (options.openOutput) {
            output = options.openOutput(std::move(render));
        } else {
            for (const std::string& name : options.drivers) {
                if (!driverAvailable(name)) continue;
                fluid_settings_setstr(settings, "audio.driver", name.c_str());
                output = DriverOutput::open(settings, render);
                if (output) break;
            }
        }
        if (output && !ensureSynth()) output.reset();
    }

    bool ensureSettings() {
        if (settings) return true;
        if (silentForGood) return false;
        silentForGood = true;
        silenceAudioLibraries();
        font = options.soundFont.empty() ? findSoundFont() : options.soundFont;
        std::error_code ec;
        if (font.empty() || !std::filesystem::is_regular_file(font, ec)) return false;
        settings = new_fluid_settings();
        if (!settings) return false;
        fluid_settings_setnum(settings, "synth.sample-rate", kSampleRate);
        fluid_settings_setnum(settings, "synth.gain", 0.5);
        fluid_settings_setint(settings, "audio.period-size", 512);
        fluid_settings_setint(settings, "audio.periods", 4);
        fluid_settings_setint(settings, "synth.lock-memory", 0);
        silentForGood = false;
        return true;
    }

    bool ensureSynth() {
        if (synth) return true;
        if (silentForGood) return false;
        fluid_synth_t* s = new_fluid_synth(settings);
        if (s && fluid_synth_sfload(s, font.c_str(), 1) == FLUID_FAILED) {
            delete_fluid_synth(s);
            s = nullptr;
        }
        if (!s) {
            silentForGood = true;
            return false;
        }
        std::lock_guard lock(mutex);
        synth = s;
        // The piece may have run on the clock before there was an output.
        if (sequencer) {
            SynthSink sink(synth);
            sequencer->resendSetup(sink);
        }
        return true;
    }

    // The music has stopped a while ago: let the output go. Its thread would otherwise
    // go on rendering silence.
    void closeIdleOutput() {
        {
            std::lock_guard lock(mutex);
            if (playing) return;
        }
        output.reset(); // without the mutex: the audio thread may be waiting for it
    }

    bool driverAvailable(const std::string& name) {
        struct Search {
            const std::string* name;
            bool found;
        } search{&name, false};
        fluid_settings_foreach_option(settings, "audio.driver", &search,
                                      [](void* data, const char*, const char* option) {
                                          auto* s = static_cast<Search*>(data);
                                          if (*s->name == option) s->found = true;
                                      });
        return search.found;
    }

    bool clockDriven() const { return !output && !options.manualRendering; }

    // Renders `len` frames, sending each event at its own frame. Caller holds the mutex.
    void renderLocked(int len, int nfx, float* fx[], int nout, float* out[]) {
        std::array<float*, 16> outAt{}, fxAt{};
        nout = std::min<int>(nout, outAt.size());
        nfx = fx ? std::min<int>(nfx, fxAt.size()) : 0;
        std::optional<SynthSink> sink;
        if (synth) sink.emplace(synth);
        int done = 0;
        while (done < len) {
            int chunk = len - done;
            if (playing && sequencer) {
                sequencer->sendDue(sink ? &*sink : nullptr);
                if (sequencer->atEnd()) {
                    playing = false;
                } else {
                    chunk = sequencer->framesUntilNext(kSampleRate, len - done);
                }
            }
            if (synth) {
                for (int i = 0; i < nout; ++i)
                    outAt[i] = out[i] + done;
                if (nfx > 0) {
                    for (int i = 0; i < nfx; ++i)
                        fxAt[i] = fx[i] + done;
                    fluid_synth_process(synth, chunk, nfx, fxAt.data(), nout, outAt.data());
                } else {
                    // No separate effect buffers: mix reverb and chorus into the output.
                    fluid_synth_process(synth, chunk, nout, outAt.data(), nout, outAt.data());
                }
            }
            if (playing && sequencer) sequencer->advance(double(chunk) / kSampleRate);
            done += chunk;
        }
    }

    // Moves a clock-driven piece on, and ends the play request of a piece that finished.
    // User-interface thread only.
    void update() {
        bool ended = false;
        {
            std::lock_guard lock(mutex);
            if (playing && sequencer && clockDriven()) {
                const auto now = Clock::now();
                sequencer->advance(std::chrono::duration<double>(now - lastTick).count());
                lastTick = now;
                sequencer->sendDue(nullptr);
                if (sequencer->atEnd()) playing = false;
            }
            if (requestActive && !playing) {
                requestActive = false;
                ended = true;
            }
        }
        if (!ended) return;
        finishRequest();
        if (output) linger.start();
    }

    // Ends the current play request: one notification, delivered from the event loop.
    void finishRequest() {
        poll.stop();
        QMetaObject::invokeMethod(
            &context,
            [this] {
                if (owner.onNotify) owner.onNotify();
            },
            Qt::QueuedConnection);
    }

    // Stops sounding notes; with `reset`, also forgets instruments and controllers.
    void silence(bool reset) {
        if (!synth) return;
        if (reset)
            fluid_synth_system_reset(synth);
        else
            fluid_synth_all_notes_off(synth, -1);
    }

    FluidSynthMusicPlayer& owner;
    Options options;
    std::mutex mutex; // guards what the audio thread touches: the fields below
    std::optional<MidiSequencer> sequencer;
    bool playing = false;
    fluid_synth_t* synth = nullptr;

    // User-interface thread only.
    bool requestActive = false;
    bool silentForGood = false;
    Clock::time_point lastTick;
    std::filesystem::path font;
    fluid_settings_t* settings = nullptr;
    std::unique_ptr<Output> output;
    QObject context; // owns the queued notifications and timers: they die with the player
    QTimer poll;
    QTimer linger; // closes the output once the music has been silent a while
};

FluidSynthMusicPlayer::FluidSynthMusicPlayer() : FluidSynthMusicPlayer(Options{}) {}

FluidSynthMusicPlayer::FluidSynthMusicPlayer(Options options)
    : impl_(std::make_unique<Impl>(*this, std::move(options))) {}

FluidSynthMusicPlayer::~FluidSynthMusicPlayer() = default;

std::filesystem::path FluidSynthMusicPlayer::findSoundFont() {
    static const char* const candidates[] = {
        "/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2",
        "/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/soundfonts/default.sf2",
        "/usr/share/soundfonts/default-GM.sf2", "/usr/share/soundfonts/FluidR3_GM.sf2",
        "/usr/share/soundfonts/TimGM6mb.sf2",   "/usr/share/sounds/sf3/default-GM.sf3",
    };
    std::error_code ec;
    for (const char* c : candidates)
        if (std::filesystem::is_regular_file(c, ec)) return c;
    return {};
}

void FluidSynthMusicPlayer::open(const std::filesystem::path& path) {
    close();
    std::optional<MidiFile> file;
    try {
        file = MidiFile::load(path);
    } catch (const MidiFileError& e) {
        throw MusicDeviceError(musicOpenError(path, e.what()));
    }
    std::lock_guard lock(impl_->mutex);
    impl_->sequencer.emplace(std::move(*file));
    impl_->silence(true);
}

void FluidSynthMusicPlayer::play() {
    impl_->update();
    if (!impl_->sequencer) return;
    impl_->ensureOutput();
    bool replaced = false;
    {
        std::lock_guard lock(impl_->mutex);
        if (impl_->sequencer->atEnd()) impl_->sequencer->rewind();
        replaced = impl_->requestActive;
        impl_->playing = true;
        impl_->requestActive = true;
        impl_->lastTick = Clock::now();
    }
    if (replaced) impl_->finishRequest();
    impl_->poll.start();
}

void FluidSynthMusicPlayer::stop() {
    impl_->update();
    {
        std::lock_guard lock(impl_->mutex);
        impl_->playing = false;
        impl_->silence(false);
    }
    impl_->update();
}

bool FluidSynthMusicPlayer::isPlaying() const {
    impl_->update();
    std::lock_guard lock(impl_->mutex);
    return impl_->playing;
}

void FluidSynthMusicPlayer::close() {
    stop();
    std::lock_guard lock(impl_->mutex);
    impl_->sequencer.reset();
}

double FluidSynthMusicPlayer::position() const {
    impl_->update();
    std::lock_guard lock(impl_->mutex);
    return impl_->sequencer ? impl_->sequencer->position() : 0.0;
}

bool FluidSynthMusicPlayer::audible() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->synth != nullptr;
}

void FluidSynthMusicPlayer::render(float* left, float* right, int frames) {
    if (!impl_->options.manualRendering) return;
    impl_->ensureOutput();
    std::fill(left, left + frames, 0.0f);
    std::fill(right, right + frames, 0.0f);
    float* out[2] = {left, right};
    {
        std::lock_guard lock(impl_->mutex);
        impl_->renderLocked(frames, 0, nullptr, 2, out);
    }
    impl_->update();
}

} // namespace sokoban

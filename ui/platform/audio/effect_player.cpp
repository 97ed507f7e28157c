#include "ui/platform/audio/effect_player.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QFile>
#include <QIODevice>
#include <QMediaDevices>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cctype>

namespace sokoban {

namespace {

// Qt's sound backend reports a missing sound server on the console when it is first asked
// for devices; a machine without sound is normal for this game, so keep that quiet.
void dropMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

bool audioOutputPresent() {
    const QtMessageHandler previous = qInstallMessageHandler(dropMessage);
    const bool present = !QMediaDevices::audioOutputs().isEmpty();
    qInstallMessageHandler(previous);
    return present;
}

std::string lowerCase(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// Feeds the sink from the mixer while something sounds. The sink is written to rather
// than left to read on its own: it then always gets as much as the sound service asks
// for, which the service needs before it starts playing.
class QtEffectStream final : public EffectStream {
  public:
    // A short buffer, so that a new effect is heard within a tenth of a second instead of
    // after what was queued for the one it cuts off.
    static constexpr int kBufferMs = 100;
    static constexpr int kFeedMs = 10;
    // A stream left idle this long is paused, so that the sound service can rest too.
    static constexpr int kIdlePauseMs = 2000;

    QtEffectStream(EffectMixer& mixer, int rate) : mixer_(mixer) {
        QAudioFormat format;
        format.setSampleRate(rate);
        format.setChannelCount(1);
        format.setSampleFormat(QAudioFormat::Int16);
        sink_ = std::make_unique<QAudioSink>(QMediaDevices::defaultAudioOutput(), format);
        sink_->setBufferSize(qsizetype(rate) * 2 * kBufferMs / 1000);
        feed_.setInterval(kFeedMs);
        QObject::connect(&feed_, &QTimer::timeout, &feed_, [this] { feed(); });
        idle_.setSingleShot(true);
        idle_.setInterval(kIdlePauseMs);
        QObject::connect(&idle_, &QTimer::timeout, &idle_, [this] {
            if (!mixer_.sounding()) sink_->suspend();
        });
        io_ = sink_->start();
    }

    bool open() const { return io_ && sink_->state() != QAudio::StoppedState; }

    bool wake() override {
        if (!open()) return false;
        idle_.stop();
        if (sink_->state() == QAudio::SuspendedState) sink_->resume();
        feed();
        return open();
    }

  private:
    void feed() {
        std::array<std::int16_t, 2048> block;
        for (qsizetype free = sink_->bytesFree(); free >= 2 && open();) {
            const auto want = std::min<std::size_t>(block.size(), std::size_t(free) / 2);
            const std::size_t got = mixer_.pull(std::span(block.data(), want));
            if (got == 0) break;
            const qint64 bytes = qint64(got * 2);
            if (io_->write(reinterpret_cast<const char*>(block.data()), bytes) < bytes) break;
            free -= bytes;
        }
        if (mixer_.sounding()) {
            if (!feed_.isActive()) feed_.start();
        } else if (!idle_.isActive()) {
            feed_.stop();
            idle_.start();
        }
    }

    EffectMixer& mixer_;
    // First, so that it goes last: closing it runs the event loop, and the timers must be
    // gone by then.
    std::unique_ptr<QAudioSink> sink_;
    QIODevice* io_ = nullptr; // owned by the sink
    QTimer feed_;
    QTimer idle_;
};

std::unique_ptr<EffectStream> openQtStream(EffectMixer& mixer, int rate) {
    auto stream = std::make_unique<QtEffectStream>(mixer, rate);
    if (!stream->open()) return nullptr;
    return stream;
}

} // namespace

EffectStream::~EffectStream() = default;

MixingEffectPlayer::MixingEffectPlayer(OpenStream open) : open_(std::move(open)) {}

MixingEffectPlayer::~MixingEffectPlayer() = default;

void MixingEffectPlayer::add(const std::string& name, EffectClip clip) {
    if (clip && !clip->empty()) clips_[lowerCase(name)] = std::move(clip);
}

void MixingEffectPlayer::play(const std::string& name) {
    const auto it = clips_.find(lowerCase(name));
    if (it == clips_.end()) return;
    mixer_.start(it->second);
    if (stream_ && stream_->wake()) return;
    // First effect, or the stream broke down (the sound server went away, say): one new
    // stream, and without one the effect is skipped.
    stream_.reset();
    stream_ = open_(mixer_, kSampleRate);
    if (stream_ && !stream_->wake()) stream_.reset();
}

QtEffectPlayer::QtEffectPlayer() : MixingEffectPlayer(openQtStream) {
    if (!audioOutputPresent()) return;
    for (const char* name : {"move", "push", "pong", "undo"}) {
        QFile resource(QStringLiteral(":/sounds/%1.wav").arg(QLatin1String(name)));
        if (!resource.open(QIODevice::ReadOnly)) continue;
        const QByteArray bytes = resource.readAll();
        add(name, decodeWave(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                       std::size_t(bytes.size())),
                             kSampleRate, 0.8f));
    }
}

} // namespace sokoban

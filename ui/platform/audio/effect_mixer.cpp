#include "ui/platform/audio/effect_mixer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>

namespace sokoban {
namespace {

std::uint32_t le(std::span<const std::uint8_t> b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | b[at + static_cast<std::size_t>(i)];
    return v;
}

bool tagAt(std::span<const std::uint8_t> b, std::size_t at, std::string_view tag) {
    return at + 4 <= b.size() && std::memcmp(b.data() + at, tag.data(), 4) == 0;
}

} // namespace

EffectClip decodeWave(std::span<const std::uint8_t> file, int rate, float volume) {
    if (rate <= 0 || !tagAt(file, 0, "RIFF") || !tagAt(file, 8, "WAVE")) return {};
    int channels = 0, bits = 0;
    std::uint32_t sourceRate = 0;
    std::span<const std::uint8_t> data;
    for (std::size_t at = 12; at + 8 <= file.size();) {
        const std::size_t size = le(file, at + 4, 4);
        const std::size_t body = at + 8;
        if (size > file.size() - body) return {};
        if (tagAt(file, at, "fmt ") && size >= 16) {
            if (le(file, body, 2) != 1) return {}; // PCM only
            channels = static_cast<int>(le(file, body + 2, 2));
            sourceRate = le(file, body + 4, 4);
            bits = static_cast<int>(le(file, body + 14, 2));
        } else if (tagAt(file, at, "data")) {
            data = file.subspan(body, size);
        }
        at = body + size + size % 2; // chunks are padded to an even length
    }
    if (channels < 1 || sourceRate == 0 || (bits != 8 && bits != 16) || data.empty()) return {};

    const std::size_t frameBytes = static_cast<std::size_t>(channels * bits / 8);
    const std::size_t frames = data.size() / frameBytes;
    std::vector<float> mono(frames);
    for (std::size_t f = 0; f < frames; ++f) {
        float sum = 0;
        for (int c = 0; c < channels; ++c) {
            const std::size_t at = f * frameBytes + static_cast<std::size_t>(c * bits / 8);
            sum += bits == 8 ? (float(data[at]) - 128.0f) / 128.0f
                             : float(std::int16_t(le(data, at, 2))) / 32768.0f;
        }
        mono[f] = sum / float(channels);
    }

    // Linear interpolation is enough for effects this short and this coarse.
    const double step = double(sourceRate) / rate;
    const auto outFrames = static_cast<std::size_t>(std::llround(double(frames) / step));
    auto out = std::make_shared<std::vector<std::int16_t>>(outFrames);
    for (std::size_t i = 0; i < outFrames; ++i) {
        const double x = double(i) * step;
        const auto k = std::min(static_cast<std::size_t>(x), frames - 1);
        const float t = float(x - double(k));
        const float v = mono[k] + (k + 1 < frames ? (mono[k + 1] - mono[k]) * t : 0.0f);
        (*out)[i] =
            static_cast<std::int16_t>(std::lround(std::clamp(v * volume, -1.0f, 1.0f) * 32767.0f));
    }
    return out;
}

void EffectMixer::start(EffectClip clip) {
    std::lock_guard lock(mutex_);
    if (clip_ && pos_ < clip_->size()) {
        fading_ = std::move(clip_);
        fadePos_ = pos_;
        fadeLeft_ = kFadeFrames;
    }
    clip_ = std::move(clip);
    pos_ = 0;
}

std::size_t EffectMixer::pull(std::span<std::int16_t> out) {
    std::lock_guard lock(mutex_);
    std::size_t n = 0;
    for (; n < out.size(); ++n) {
        bool any = false;
        int v = 0;
        if (clip_ && pos_ < clip_->size()) {
            v += (*clip_)[pos_++];
            any = true;
        }
        if (fading_ && fadeLeft_ > 0 && fadePos_ < fading_->size()) {
            v += (*fading_)[fadePos_++] * static_cast<int>(fadeLeft_--) / int(kFadeFrames);
            any = true;
        }
        if (!any) break;
        out[n] = static_cast<std::int16_t>(std::clamp(v, -32768, 32767));
    }
    if (clip_ && pos_ >= clip_->size()) clip_.reset();
    if (fading_ && (fadeLeft_ == 0 || fadePos_ >= fading_->size())) fading_.reset();
    return n;
}

bool EffectMixer::sounding() const {
    std::lock_guard lock(mutex_);
    return clip_ || fading_;
}

} // namespace sokoban

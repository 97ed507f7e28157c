#include "wave_effects.h"

#include "rng.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace sounds {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// Second-order filter with the usual audio-cookbook coefficients.
class Biquad {
  public:
    static Biquad lowPass(double rate, double freq, double q) {
        const double w = kTwoPi * freq / rate, alpha = std::sin(w) / (2 * q), c = std::cos(w);
        return Biquad((1 - c) / 2, 1 - c, (1 - c) / 2, 1 + alpha, -2 * c, 1 - alpha);
    }
    static Biquad bandPass(double rate, double freq, double q) {
        const double w = kTwoPi * freq / rate, alpha = std::sin(w) / (2 * q), c = std::cos(w);
        return Biquad(alpha, 0, -alpha, 1 + alpha, -2 * c, 1 - alpha);
    }
    double process(double x) {
        const double y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
        x2_ = x1_;
        x1_ = x;
        y2_ = y1_;
        y1_ = y;
        return y;
    }

  private:
    Biquad(double b0, double b1, double b2, double a0, double a1, double a2)
        : b0_(b0 / a0), b1_(b1 / a0), b2_(b2 / a0), a1_(a1 / a0), a2_(a2 / a0) {}
    double b0_, b1_, b2_, a1_, a2_;
    double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// Length in samples, kept even so the data chunk never needs a pad byte.
std::size_t sampleCount(int rate, double seconds) {
    auto n = static_cast<std::size_t>(std::lround(rate * seconds));
    return n - n % 2;
}

// Attack-decay envelope: a linear rise over `attack` seconds, then exponential decay.
double hit(double t, double attack, double decay) {
    if (t < 0) return 0;
    if (t < attack) return t / attack;
    return std::exp(-(t - attack) / decay);
}

// Scales to the given peak and fades both ends so the sound starts and stops at rest.
void finish(Wave& wave, double peak, double fadeIn, double fadeOut) {
    double top = 0;
    for (double s : wave.samples)
        top = std::max(top, std::abs(s));
    if (top > 0)
        for (double& s : wave.samples)
            s *= peak / top;
    const auto n = wave.samples.size();
    const auto in = static_cast<std::size_t>(fadeIn * wave.sampleRate);
    const auto out = static_cast<std::size_t>(fadeOut * wave.sampleRate);
    for (std::size_t i = 0; i < in && i < n; ++i)
        wave.samples[i] *= double(i) / double(in);
    for (std::size_t i = 0; i < out && i < n; ++i) {
        // Raised-cosine fade, ending on exact silence.
        const double g = 0.5 - 0.5 * std::cos(std::numbers::pi * double(i) / double(out));
        wave.samples[n - 1 - i] *= g;
    }
}

void putLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void putTag(std::vector<std::uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(tag[i]));
}

} // namespace

std::vector<std::uint8_t> encodeWav8(const Wave& wave) {
    const auto n = static_cast<std::uint32_t>(wave.samples.size());
    std::vector<std::uint8_t> out;
    out.reserve(44 + n + 1);
    putTag(out, "RIFF");
    putLe(out, 36 + n + n % 2, 4);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    putLe(out, 16, 4);
    putLe(out, 1, 2); // PCM
    putLe(out, 1, 2); // mono
    putLe(out, static_cast<std::uint32_t>(wave.sampleRate), 4);
    putLe(out, static_cast<std::uint32_t>(wave.sampleRate), 4); // bytes per second
    putLe(out, 1, 2);                                           // block align
    putLe(out, 8, 2);                                           // bits per sample
    putTag(out, "data");
    putLe(out, n, 4);
    for (double s : wave.samples) {
        const long v = std::lround(128.0 + 127.0 * std::clamp(s, -1.0, 1.0));
        out.push_back(static_cast<std::uint8_t>(std::clamp(v, 0L, 255L)));
    }
    if (n % 2) out.push_back(128);
    return out;
}

Wave makeMoveEffect() {
    // Heel and toe: two soft, dampened ticks of filtered noise over a short low knock.
    Wave w{11025, std::vector<double>(sampleCount(11025, 0.17))};
    Rng rng(0x5eed0001);
    auto tick = Biquad::bandPass(w.sampleRate, 1300, 1.4);
    auto soften = Biquad::lowPass(w.sampleRate, 2600, 0.7);
    double phase = 0;
    for (std::size_t i = 0; i < w.samples.size(); ++i) {
        const double t = double(i) / w.sampleRate;
        const double env = hit(t, 0.0015, 0.011) + 0.45 * hit(t - 0.055, 0.0015, 0.009);
        const double noise = tick.process(rng.bipolar()) * env;
        phase += kTwoPi * (240 - 60 * std::min(t / 0.05, 1.0)) / w.sampleRate;
        const double knock =
            std::sin(phase) * (hit(t, 0.002, 0.022) + 0.35 * hit(t - 0.055, 0.002, 0.018));
        w.samples[i] = soften.process(1.6 * noise + 0.55 * knock);
    }
    finish(w, 0.5, 0.001, 0.03);
    return w;
}

Wave makePushEffect() {
    // A box set in motion: a low thud with wooden body modes, then a grainy scrape.
    Wave w{22050, std::vector<double>(sampleCount(22050, 0.22))};
    Rng rng(0x5eed0002);
    auto scrapeBand = Biquad::bandPass(w.sampleRate, 1700, 0.8);
    auto grainSmooth = Biquad::lowPass(w.sampleRate, 60, 0.7);
    auto warm = Biquad::lowPass(w.sampleRate, 5000, 0.7);
    const double modes[][3] = {{190, 0.55, 0.045}, {460, 0.32, 0.028}, {830, 0.18, 0.016}};
    double thudPhase = 0;
    for (std::size_t i = 0; i < w.samples.size(); ++i) {
        const double t = double(i) / w.sampleRate;
        thudPhase += kTwoPi * (70 + 70 * std::exp(-t / 0.03)) / w.sampleRate;
        double s = std::sin(thudPhase) * hit(t, 0.003, 0.07);
        for (const auto& m : modes)
            s += m[1] * std::sin(kTwoPi * m[0] * t) * hit(t, 0.002, m[2]);
        // Stick-slip texture: noise gated by a slow random grain.
        const double grain = 0.5 + 0.5 * std::tanh(6 * grainSmooth.process(rng.bipolar()));
        double scrapeEnv = 0;
        if (t > 0.012) scrapeEnv = std::min((t - 0.012) / 0.03, 1.0);
        if (t > 0.13) scrapeEnv *= std::exp(-(t - 0.13) / 0.025);
        s += 0.4 * scrapeBand.process(rng.bipolar()) * scrapeEnv * (0.35 + 0.65 * grain);
        w.samples[i] = warm.process(s);
    }
    finish(w, 0.78, 0.002, 0.035);
    return w;
}

Wave makePongEffect() {
    // A dull, slightly saturated low bonk with one inharmonic partial.
    Wave w{11025, std::vector<double>(sampleCount(11025, 0.19))};
    auto dull = Biquad::lowPass(w.sampleRate, 1400, 0.7);
    double phase = 0, upper = 0;
    for (std::size_t i = 0; i < w.samples.size(); ++i) {
        const double t = double(i) / w.sampleRate;
        const double f = 135 + 40 * std::exp(-t / 0.04);
        phase += kTwoPi * f / w.sampleRate;
        upper += kTwoPi * f * 2.76 / w.sampleRate;
        const double body = (std::sin(phase) + 0.3 * std::sin(2 * phase)) * hit(t, 0.004, 0.055);
        const double s =
            std::tanh(1.8 * body) / std::tanh(1.8) + 0.25 * std::sin(upper) * hit(t, 0.003, 0.022);
        w.samples[i] = dull.process(s);
    }
    finish(w, 0.72, 0.002, 0.03);
    return w;
}

Wave makeUndoEffect() {
    // A pitch sweep falling two octaves, softly rounded with a few harmonics.
    Wave w{11000, std::vector<double>(sampleCount(11000, 0.29))};
    auto smooth = Biquad::lowPass(w.sampleRate, 3000, 0.7);
    double phase = 0;
    for (std::size_t i = 0; i < w.samples.size(); ++i) {
        const double t = double(i) / w.sampleRate;
        const double f = 1150 * std::pow(280.0 / 1150.0, std::min(t / 0.24, 1.0));
        phase += kTwoPi * f / w.sampleRate;
        double env = std::min(t / 0.01, 1.0);
        if (t > 0.15)
            env *= 0.5 + 0.5 * std::cos(std::numbers::pi * std::min((t - 0.15) / 0.13, 1.0));
        const double s = std::sin(phase) + 0.22 * std::sin(2 * phase) + 0.08 * std::sin(3 * phase);
        w.samples[i] = smooth.process(s * env);
    }
    finish(w, 0.6, 0.002, 0.02);
    return w;
}

} // namespace sounds

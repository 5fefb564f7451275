#include "sound/synth.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double Ln2 = 0.69314718055994530942;
constexpr int FadeIn = SampleRate / 500;

// One step of the noise's own generator: 0..1.
double NextNoise(std::uint32_t& state)
{
    state = state * 1664525u + 1013904223u;
    return double(state >> 8) / double(1u << 24);
}

}  // namespace

double Exp2(double x)
{
    // 2^x = 2^n * e^(f ln 2), the fraction by its series.
    const double n = std::floor(x);
    const double y = (x - n) * Ln2;
    double term = 1, sum = 1;
    for (int k = 1; k < 20; ++k) {
        term = term * y / k;
        sum += term;
    }
    return std::ldexp(sum, int(n));
}

double Sine(double x)
{
    // Into -pi..pi, then the series.
    const double turns = std::floor(x / (2 * Pi) + 0.5);
    const double r = x - turns * 2 * Pi;
    const double r2 = r * r;
    double term = r, sum = r;
    for (int k = 1; k < 12; ++k) {
        term = -term * r2 / ((2 * k) * (2 * k + 1));
        sum += term;
    }
    return sum;
}

std::vector<std::int16_t> Render(const Effect& e)
{
    const int attack = int(e.attack * SampleRate), sustain = int(e.sustain * SampleRate), decay = int(e.decay * SampleRate);
    const int length = attack + sustain + decay;
    std::vector<std::int16_t> samples;
    samples.reserve(std::size_t(std::max(length, 0)));

    double frequency = e.frequency;
    double slide = e.slide;
    const double deltaSlide = e.deltaSlide / SampleRate;
    const int arpeggioAt = e.arpeggioTime > 0 ? int(e.arpeggioTime * SampleRate) : -1;
    double duty = e.duty;
    double phase = 0, noise = 0;
    std::uint32_t random = e.seed;
    double cutoff = e.lowPass, low = 0, lowSpeed = 0;
    double highState = 0, lastOut = 0;
    const double resonance = std::clamp(e.resonance, 0.0, 1.0);

    // The slide's factor a sample, worked out again only while the slide moves.
    double slideFactor = Exp2((slide + deltaSlide) / SampleRate);
    for (int i = 0; i < length; ++i) {
        if (i == arpeggioAt) frequency *= e.arpeggio;
        slide += deltaSlide;
        if (deltaSlide != 0) slideFactor = Exp2(slide / SampleRate);
        frequency *= slideFactor;
        if (frequency < e.minFrequency) break;
        double pitch = frequency;
        if (e.vibratoDepth > 0) pitch *= 1 + e.vibratoDepth * Sine(2 * Pi * e.vibratoSpeed * i / SampleRate);

        const double before = phase;
        phase += pitch / SampleRate;
        phase -= std::floor(phase);
        if (phase < before) noise = NextNoise(random) * 2 - 1;  // a new value each period
        duty = std::clamp(duty + e.dutySweep / SampleRate, 0.05, 0.95);

        double v = 0;
        switch (e.wave) {
        case Wave::Square: v = phase < duty ? 1 : -1; break;
        case Wave::Saw: v = 1 - phase * 2; break;
        case Wave::Triangle: v = phase < 0.5 ? phase * 4 - 1 : 3 - phase * 4; break;
        case Wave::Sine: v = Sine(2 * Pi * phase); break;
        case Wave::Noise: v = noise; break;
        }

        // A low-pass filter that rings more with resonance, then a high-pass one.
        if (e.lowPass < 1) {
            cutoff = std::clamp(cutoff + e.lowPassSweep / SampleRate, 0.0, 1.0);
            const double w = cutoff * cutoff * 0.1;
            const double damping = std::min(0.8, 5 / (1 + resonance * resonance * 20) * (0.01 + w));
            lowSpeed += (v - low) * w;
            lowSpeed -= lowSpeed * damping;
            low += lowSpeed;
            v = low;
        }
        if (e.highPass > 0) {
            highState += v - lastOut;
            lastOut = v;
            highState *= 1 - e.highPass * e.highPass * 0.1;
            v = highState;
        }

        double envelope;
        if (i < attack) envelope = double(i) / attack;
        else if (i < attack + sustain) envelope = 1 + e.punch * (1 - double(i - attack) / sustain);
        else envelope = 1 - double(i - attack - sustain) / std::max(decay, 1);

        // The first two milliseconds fade in, so that no sound starts with a click.
        if (i < FadeIn) envelope *= double(i) / FadeIn;
        const double out = std::clamp(v * envelope * e.volume, -1.0, 1.0);
        samples.push_back(std::int16_t(std::lrint(out * 32000)));
    }
    return samples;
}

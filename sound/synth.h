#pragma once

#include <cstdint>
#include <vector>

// The game's sounds are made here, from a handful of numbers each, the way
// the classic retro effect generators make theirs. Rendering uses only the
// basic arithmetic of doubles and a random number generator of our own, so
// the same numbers give the same samples on every machine, in the browser
// too.

constexpr int SampleRate = 44100;

enum class Wave { Square, Saw, Triangle, Sine, Noise };

struct Effect {
    Wave wave = Wave::Square;
    double frequency = 440;    // Hz at the start
    double slide = 0;          // octaves a second the pitch moves
    double deltaSlide = 0;     // octaves a second the slide itself moves, each second
    double minFrequency = 20;  // the sound stops when a slide takes the pitch below this
    double vibratoDepth = 0;   // a fraction of the pitch
    double vibratoSpeed = 0;   // Hz
    double arpeggio = 1;       // the pitch is multiplied by this...
    double arpeggioTime = 0;   // ...this many seconds in (0: never)
    double duty = 0.5;         // the square wave's share of high
    double dutySweep = 0;      // change of the duty a second
    double attack = 0;         // seconds of rising volume
    double sustain = 0.1;      // seconds at full volume
    double punch = 0;          // extra volume at the start of the sustain, falling away
    double decay = 0.1;        // seconds of falling volume
    double lowPass = 1;        // the low-pass filter's cutoff, 0..1 (1: open)
    double lowPassSweep = 0;   // change of the cutoff a second
    double resonance = 0;      // 0..1
    double highPass = 0;       // the high-pass filter's cutoff, 0..1 (0: open)
    double volume = 0.5;       // 0..1
    std::uint32_t seed = 1;    // the noise's

    double Seconds() const { return attack + sustain + decay; }
};

// The effect as 16-bit samples at SampleRate, mono.
std::vector<std::int16_t> Render(const Effect& effect);

// 2 to the power x, from basic arithmetic only.
double Exp2(double x);
// The sine of x (radians), from basic arithmetic only.
double Sine(double x);

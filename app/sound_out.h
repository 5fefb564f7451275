#pragma once

#include <cstdint>
#include <vector>

#include "sound/sound_bank.h"

// The game's sounds through SDL's audio: 44,100 samples a second, a device
// buffer of 512, opened once at start. Where no device can be opened the game
// plays silently, after one line on standard error.
class SoundOut {
public:
    struct Options {
        bool on = true;
        int volume = 60;  // 0..100
        bool music = true;
    };
    SoundOut(const SoundBank& bank, Options options);
    ~SoundOut();
    SoundOut(const SoundOut&) = delete;
    SoundOut& operator=(const SoundOut&) = delete;

    // Mixes the bank's sound in from the next buffer on.
    void Play(int sound);
    void StopMusic();
    // M: off and on; what was playing stops.
    void Toggle();
    bool On() const { return options_.on; }
    bool Open() const { return device_ != 0; }
    // The sounds being played now.
    int Playing() const;

    const SoundBank& Bank() const { return bank_; }
    // The samples the device holds before they are heard, for the latency.
    int BufferSamples() const { return bufferSamples_; }

private:
    struct Voice {
        const Sound* sound;
        std::size_t at;
    };
    static void Fill(void* self, std::uint8_t* stream, int bytes);
    void Mix(std::int16_t* out, int samples);

    const SoundBank& bank_;
    Options options_;
    std::uint32_t device_ = 0;
    int bufferSamples_ = 0;
    std::vector<Voice> voices_;  // guarded by the device's lock
};

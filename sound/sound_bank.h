#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Every sound of the game, made from its text source (assets/sounds.txt) at
// start: short effects, and tunes written as a score of notes.

struct Sound {
    std::string name;
    bool music = false;            // a tune, which the music switch silences
    int gap = 0;                   // ticks before it may sound again
    std::vector<std::int16_t> samples;  // mono, at SampleRate
};

struct SoundSourceError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class SoundBank {
public:
    // Reads and renders the sounds of a source text; `origin` names it in a
    // SoundSourceError, with the line that is wrong.
    static SoundBank FromText(std::string_view text, const std::string& origin);
    // The sounds file in the data folder.
    static SoundBank Load(const std::string& dataDirectory);

    const std::vector<Sound>& Sounds() const { return sounds_; }
    // The sound of that name, or nothing.
    const Sound* Find(std::string_view name) const;
    // Its place in Sounds(), or -1.
    int IndexOf(std::string_view name) const;

private:
    std::vector<Sound> sounds_;
};

// The FNV-1a hash of the samples' bytes, little end first.
std::uint64_t SamplesHash(const std::vector<std::int16_t>& samples);

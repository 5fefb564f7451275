#include "sound/sound_bank.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>

#include "core/files.h"
#include "sound/synth.h"

namespace {

constexpr std::size_t MostSamples = std::size_t(SampleRate) * 60;  // a minute: no sound is longer

// The words of a line, split at spaces and tabs.
std::vector<std::string> Words(const std::string& text)
{
    std::vector<std::string> words;
    std::size_t at = 0;
    while ((at = text.find_first_not_of(" \t", at)) != std::string::npos) {
        const std::size_t end = std::min(text.find_first_of(" \t", at), text.size());
        words.push_back(text.substr(at, end - at));
        at = end;
    }
    return words;
}

struct Block {
    std::string name;
    int line = 0;
    bool voice = false, tune = false;
    int gap = 0;
    double tempo = 120;
    Effect effect;
    std::vector<std::pair<std::string, std::string>> parts;  // voice, notes
    std::vector<int> partLines;
};

[[noreturn]] void Fail(const std::string& origin, int line, const std::string& what)
{
    throw SoundSourceError(origin + " line " + std::to_string(line) + ": " + what);
}

// A decimal number such as -0.25, read the same whatever the locale and the
// platform: its digits as a whole number, divided by the power of ten.
double Number(const std::string& origin, int line, const std::string& key, const std::string& text)
{
    std::size_t at = text.size() > 0 && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    std::int64_t digits = 0, scale = 1;
    bool point = false, any = false;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9' && digits < 100'000'000'000'000) {
            digits = digits * 10 + (c - '0');
            if (point) scale *= 10;
            any = true;
        } else {
            Fail(origin, line, key + " takes a number, not '" + text + "'");
        }
    }
    if (!any) Fail(origin, line, key + " takes a number, not '" + text + "'");
    const double value = double(digits) / double(scale);
    return text[0] == '-' ? -value : value;
}

void SetEffect(Block& b, const std::string& origin, int line, const std::string& key, const std::string& value)
{
    static const std::map<std::string, Wave> Waves = {
        {"square", Wave::Square}, {"saw", Wave::Saw}, {"triangle", Wave::Triangle}, {"sine", Wave::Sine}, {"noise", Wave::Noise}};
    static const std::map<std::string, double Effect::*> Fields = {
        {"frequency", &Effect::frequency}, {"slide", &Effect::slide}, {"delta-slide", &Effect::deltaSlide},
        {"min-frequency", &Effect::minFrequency}, {"vibrato-depth", &Effect::vibratoDepth},
        {"vibrato-speed", &Effect::vibratoSpeed}, {"arpeggio", &Effect::arpeggio}, {"arpeggio-time", &Effect::arpeggioTime},
        {"duty", &Effect::duty}, {"duty-sweep", &Effect::dutySweep}, {"attack", &Effect::attack},
        {"sustain", &Effect::sustain}, {"punch", &Effect::punch}, {"decay", &Effect::decay}, {"low-pass", &Effect::lowPass},
        {"low-pass-sweep", &Effect::lowPassSweep}, {"resonance", &Effect::resonance}, {"high-pass", &Effect::highPass},
        {"volume", &Effect::volume}};
    if (key == "wave") {
        const auto wave = Waves.find(value);
        if (wave == Waves.end()) Fail(origin, line, "wave is square, saw, triangle, sine or noise, not '" + value + "'");
        b.effect.wave = wave->second;
    } else if (key == "seed") {
        b.effect.seed = std::uint32_t(Number(origin, line, key, value));
    } else if (const auto field = Fields.find(key); field != Fields.end()) {
        b.effect.*(field->second) = Number(origin, line, key, value);
    } else {
        Fail(origin, line, "no sound has '" + key + "'");
    }
    const Effect& e = b.effect;
    if (e.attack < 0 || e.sustain < 0 || e.decay < 0 || e.Seconds() > 60) Fail(origin, line, "a sound lasts 0 to 60 seconds");
    if (e.volume < 0 || e.volume > 1) Fail(origin, line, "volume is 0 to 1");
    if (e.frequency <= 0 || e.frequency > 20000) Fail(origin, line, "frequency is above 0 and at most 20000 Hz");
}

// The frequency of a note such as C5, F#3, Bb4 (A4 is 440 Hz).
double NoteFrequency(std::string_view note, const std::string& origin, int line)
{
    static constexpr std::string_view Letters = "C D EF G A B";
    const std::size_t letter = note.empty() ? std::string_view::npos : Letters.find(note[0]);
    if (letter == std::string_view::npos || note[0] == ' ') Fail(origin, line, "'" + std::string(note) + "' is no note");
    int semitone = int(letter);
    std::size_t at = 1;
    if (at < note.size() && (note[at] == '#' || note[at] == 'b')) semitone += note[at++] == '#' ? 1 : -1;
    int octave = 0;
    const auto [ptr, ec] = std::from_chars(note.data() + at, note.data() + note.size(), octave);
    if (ec != std::errc() || ptr != note.data() + note.size() || octave < 0 || octave > 8)
        Fail(origin, line, "'" + std::string(note) + "' is no note");
    return 440 * Exp2((octave * 12 + semitone - 57) / 12.0);
}

// A part of a tune: notes such as E5/8 (an eighth), G5/4. (a dotted quarter), R/2 (a half's rest).
std::vector<double> RenderPart(const Effect& voice, double tempo, const std::string& notes, const std::string& origin, int line)
{
    std::vector<double> out;
    for (const std::string& word : Words(notes)) {
        const std::size_t slash = word.find('/');
        if (slash == std::string::npos) Fail(origin, line, "a note has its length after a slash, as C5/4: not '" + word + "'");
        const bool dotted = word.back() == '.';
        const std::string length = word.substr(slash + 1, word.size() - slash - 1 - (dotted ? 1 : 0));
        const double division = Number(origin, line, "a note's length", length);
        if (division != 1 && division != 2 && division != 4 && division != 8 && division != 16 && division != 32)
            Fail(origin, line, "a note lasts 1, 2, 4, 8, 16 or 32ths of a bar: not '" + word + "'");
        const double seconds = 4 * 60 / tempo / division * (dotted ? 1.5 : 1);
        const std::size_t start = out.size();
        out.resize(start + std::size_t(seconds * SampleRate));
        const std::string note = word.substr(0, slash);
        if (note == "R") continue;
        Effect e = voice;
        e.frequency = NoteFrequency(note, origin, line);
        e.sustain = std::max(0.0, seconds - e.attack - e.decay);
        const std::vector<std::int16_t> tone = Render(e);
        if (out.size() < start + tone.size()) out.resize(start + tone.size());
        for (std::size_t i = 0; i < tone.size(); ++i) out[start + i] += tone[i];
        if (out.size() > MostSamples) Fail(origin, line, "a tune lasts at most a minute");
    }
    return out;
}

std::vector<std::int16_t> RenderTune(const Block& tune, const std::map<std::string, Block>& voices, const std::string& origin)
{
    std::vector<double> mix;
    for (std::size_t p = 0; p < tune.parts.size(); ++p) {
        const auto& [voiceName, notes] = tune.parts[p];
        const auto voice = voices.find(voiceName);
        if (voice == voices.end()) Fail(origin, tune.partLines[p], "no voice is called '" + voiceName + "'");
        const std::vector<double> part = RenderPart(voice->second.effect, tune.tempo, notes, origin, tune.partLines[p]);
        if (mix.size() < part.size()) mix.resize(part.size());
        for (std::size_t i = 0; i < part.size(); ++i) mix[i] += part[i];
    }
    std::vector<std::int16_t> samples(mix.size());
    for (std::size_t i = 0; i < mix.size(); ++i) samples[i] = std::int16_t(std::clamp(mix[i], -32000.0, 32000.0));
    return samples;
}

std::string Trim(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

SoundBank SoundBank::FromText(std::string_view text, const std::string& origin)
{
    std::vector<Block> blocks;
    int number = 0;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string line(text.substr(start, end - start));
        start = end + 1;
        ++number;
        line = Trim(line.substr(0, line.find('#')));
        if (line.empty()) continue;
        if (line.front() == '[') {
            if (line.back() != ']' || line.size() < 3) Fail(origin, number, "a sound's name stands in brackets: [jump]");
            const std::string name = line.substr(1, line.size() - 2);
            for (const Block& b : blocks)
                if (b.name == name) Fail(origin, number, "a second sound called '" + name + "'");
            blocks.push_back({.name = name, .line = number});
            continue;
        }
        if (blocks.empty()) Fail(origin, number, "the first line names a sound: [jump]");
        Block& b = blocks.back();
        const std::size_t space = line.find_first_of(" \t");
        const std::string key = line.substr(0, space);
        const std::string value = space == std::string::npos ? "" : Trim(line.substr(space));
        if (key == "voice" && value.empty()) b.voice = true;
        else if (key == "tune" && value.empty()) b.tune = true;
        else if (key == "gap") b.gap = int(Number(origin, number, key, value));
        else if (key == "tempo") b.tempo = Number(origin, number, key, value);
        else if (key == "part") {
            const std::size_t colon = value.find(':');
            if (colon == std::string::npos) Fail(origin, number, "a part names its voice first: part lead: C5/4 E5/4");
            b.parts.emplace_back(Trim(value.substr(0, colon)), value.substr(colon + 1));
            b.partLines.push_back(number);
        } else {
            SetEffect(b, origin, number, key, value);
        }
        if (b.gap < 0 || b.gap > 1200) Fail(origin, number, "gap is 0 to 1200 ticks");
        if (b.tempo < 20 || b.tempo > 400) Fail(origin, number, "tempo is 20 to 400 beats a minute");
    }

    std::map<std::string, Block> voices;
    for (const Block& b : blocks)
        if (b.voice) voices[b.name] = b;
    SoundBank bank;
    for (const Block& b : blocks) {
        if (b.voice) continue;
        Sound sound{.name = b.name, .music = b.tune, .gap = b.gap};
        sound.samples = b.tune ? RenderTune(b, voices, origin) : Render(b.effect);
        bank.sounds_.push_back(std::move(sound));
    }
    return bank;
}

SoundBank SoundBank::Load(const std::string& dataDirectory)
{
    const std::string path = dataDirectory + "/sounds.txt";
    constexpr std::size_t MostBytes = 1 << 20;  // far more than a sounds file needs
    try {
        const std::vector<std::uint8_t> bytes = ReadWholeRegularFile(path, MostBytes);
        return FromText(std::string(bytes.begin(), bytes.end()), path);
    } catch (const FileError& e) {
        throw SoundSourceError(e.what());
    }
}

const Sound* SoundBank::Find(std::string_view name) const
{
    const int i = IndexOf(name);
    return i < 0 ? nullptr : &sounds_[std::size_t(i)];
}

int SoundBank::IndexOf(std::string_view name) const
{
    for (std::size_t i = 0; i < sounds_.size(); ++i)
        if (sounds_[i].name == name) return int(i);
    return -1;
}

std::uint64_t SamplesHash(const std::vector<std::int16_t>& samples)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (const std::int16_t s : samples)
        for (const std::uint8_t byte : {std::uint8_t(std::uint16_t(s) & 0xff), std::uint8_t(std::uint16_t(s) >> 8)}) {
            hash ^= byte;
            hash *= 1099511628211ull;
        }
    return hash;
}

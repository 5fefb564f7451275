#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "gfx/assets.h"
#include "sound/sound_bank.h"
#include "sound/synth.h"
#include "tools/sim/commands.h"
#include "tools/sim/sim_context.h"

namespace {

// A WAV file of 16-bit mono samples.
std::vector<std::uint8_t> WavBytes(const std::vector<std::int16_t>& samples)
{
    std::vector<std::uint8_t> out;
    const auto text = [&](const char* four) { out.insert(out.end(), four, four + 4); };
    const auto word = [&](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) out.push_back(std::uint8_t(v >> (8 * i)));
    };
    const std::uint32_t data = std::uint32_t(samples.size() * 2);
    text("RIFF");
    word(36 + data, 4);
    text("WAVE");
    text("fmt ");
    word(16, 4);
    word(1, 2);  // plain samples
    word(1, 2);  // one channel
    word(SampleRate, 4);
    word(SampleRate * 2, 4);
    word(2, 2);
    word(16, 2);
    text("data");
    word(data, 4);
    for (const std::int16_t s : samples) word(std::uint16_t(s), 2);
    return out;
}

}  // namespace

SoundBank LoadSoundsOrFail()
{
    try {
        return SoundBank::Load(FindDataDirectory(""));
    } catch (const SoundSourceError& e) {
        throw UsageError(e.what());
    }
}

// Every sound of the game: a line of JSON each, and with --out a WAV file each.
int SoundsCommand(const std::vector<std::string>& args)
{
    const Arguments a = ParseArguments(args, {{"--out", true}, {"--force", false}});
    if (a.commonGiven) throw UsageError("sounds takes no cave options");
    a.OnlyWith("--force", "--out");
    const std::optional<std::string> folder = a.Text("--out");
    std::error_code ec;
    if (folder && !std::filesystem::is_directory(*folder, ec)) throw UsageError("--out " + *folder + ": no such folder");
    const SoundBank bank = LoadSoundsOrFail();
    if (folder)
        for (const Sound& sound : bank.Sounds()) CheckOutputPath("--out", *folder + "/" + sound.name + ".wav", a.Has("--force"));
    for (const Sound& sound : bank.Sounds()) {
        if (folder) {
            const std::vector<std::uint8_t> wav = WavBytes(sound.samples);
            WriteFileOrFail(*folder + "/" + sound.name + ".wav", wav.data(), wav.size(), a.Has("--force"));
        }
        std::printf("{\"name\":\"%s\",\"samples\":%zu,\"rate\":%d,\"fnv1a\":\"%016" PRIx64 "\"%s}\n", sound.name.c_str(),
                    sound.samples.size(), SampleRate, SamplesHash(sound.samples), sound.music ? ",\"music\":true" : "");
    }
    return 0;
}

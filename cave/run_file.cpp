#include "cave/run_file.h"

#include <algorithm>
#include <memory>

#include "cave/cave_map.h"
#include "cave/generator.h"
#include "cave/replay.h"
#include "core/files.h"
#include "core/input.h"

namespace {

constexpr int SignatureWord = 4;
constexpr char Signature[] = "BKRN";
enum HeaderWord : int {
    VersionWord = 6,
    SeedWord = 7,
    WidthWord = 9,
    HeightWord = 10,
    CharacterWord = 11,
    SpeedWord = 12,
    EndingWord = 13,
    TicksWord = 14,
};

std::uint16_t Pair(int low, int high) { return std::uint16_t(low | (high << 8)); }
int Low(std::uint16_t word) { return word & 0xff; }
int High(std::uint16_t word) { return word >> 8; }

void CheckRange(const char* what, std::int64_t value, std::int64_t low, std::int64_t high)
{
    if (value < low || value > high)
        throw RunFileError(std::string("a value out of range: ") + what + " " + std::to_string(value) + " (" +
                           std::to_string(low) + ".." + std::to_string(high) + ")");
}

ReplayWordBuffer WordsOf(const std::vector<std::uint8_t>& bytes)
{
    ReplayWordBuffer words{};
    for (std::size_t i = 0; i < words.size(); ++i) words[i] = Pair(bytes[2 * i], bytes[2 * i + 1]);
    return words;
}

RunHeader HeaderOf(const ReplayWordBuffer& w)
{
    RunHeader h;
    GameSettings& s = h.settings;
    s.seed = w[SeedWord] | std::uint32_t(w[SeedWord + 1]) << 16;
    s.width = w[WidthWord];
    s.height = w[HeightWord];
    s.variant = Low(w[CharacterWord]);
    const int beginner = High(w[CharacterWord]);
    s.speedToDeath = Low(w[SpeedWord]);
    h.facing = std::uint8_t(High(w[SpeedWord]));
    const int ending = Low(w[EndingWord]);
    h.inputBefore = std::uint16_t(High(w[EndingWord]));
    h.ticks = w[TicksWord] | std::uint32_t(w[TicksWord + 1]) << 16;
    if (const int speed = High(w[VersionWord]); speed != 0) h.speed = speed;

    CheckRange("width", s.width, 1, MaxCaveSize);
    CheckRange("height", s.height, 1, MaxCaveSize);
    CheckRange("character", s.variant, 0, 2);
    CheckRange("beginner", beginner, 0, 1);
    CheckRange("fatal speed", s.speedToDeath, 0, 16);
    if (h.facing != 0 && h.facing != 8) throw RunFileError("a value out of range: facing " + std::to_string(h.facing) + " (0 or 8)");
    CheckRange("ending", ending, 1, 3);
    CheckRange("input before the first tick", h.inputBefore, 0, AllInputBits);
    s.beginner = beginner == 1;
    h.ending = RunEnding(ending);
    if (h.ending == RunEnding::Goal) CheckRange("ticks of a run that reached the goal", h.ticks, 1, UINT32_MAX);
    return h;
}

// The cave made again from the seed must leave the random state the run
// recorded; otherwise it is not the cave the run was played in.
}  // namespace

void CheckCaveMade(const RunFile& run, bool made, std::uint32_t randomState)
{
    const GameSettings& s = run.header.settings;
    if (!made) throw RunFileError("no cave can be made from its seed " + std::to_string(s.seed) + " and size");
    if (randomState != run.randomState)
        throw RunFileError("the cave made from its seed " + std::to_string(s.seed) +
                           " is not the cave it was played in (a file changed, or made by another version of the game)");
}

RunFile RunFromRecording(const ReplayWordBuffer& buffer, const RunHeader& header)
{
    RunFile run;
    run.header = header;
    for (int i = 0; i < 4; ++i) run.randomState |= std::uint32_t(buffer[i] & 0xff) << (8 * i);
    const auto recorded = buffer.begin() + FirstInputWord;
    run.inputs.assign(recorded, recorded + std::min(header.ticks, RecordedTicks));
    return run;
}

std::vector<std::uint8_t> RunFileBytes(const RunFile& run)
{
    const RunHeader& h = run.header;
    const GameSettings& s = h.settings;
    ReplayWordBuffer w{};
    for (int i = 0; i < 4; ++i) w[i] = std::uint16_t((run.randomState >> (8 * i)) & 0xff);
    w[SignatureWord] = Pair(Signature[0], Signature[1]);
    w[SignatureWord + 1] = Pair(Signature[2], Signature[3]);
    w[VersionWord] = Pair(RunFormatVersion, h.speed < RunHeader::FullSpeed ? h.speed : 0);
    w[SeedWord] = std::uint16_t(s.seed);
    w[SeedWord + 1] = std::uint16_t(s.seed >> 16);
    w[WidthWord] = std::uint16_t(s.width);
    w[HeightWord] = std::uint16_t(s.height);
    w[CharacterWord] = Pair(s.variant, s.beginner);
    w[SpeedWord] = Pair(s.speedToDeath, h.facing);
    w[EndingWord] = Pair(int(h.ending), h.inputBefore);
    w[TicksWord] = std::uint16_t(h.ticks);
    w[TicksWord + 1] = std::uint16_t(h.ticks >> 16);
    std::copy_n(run.inputs.begin(), std::min<std::size_t>(run.inputs.size(), RecordedTicks), w.begin() + FirstInputWord);

    std::vector<std::uint8_t> bytes(ReplayFileBytes);
    for (std::size_t i = 0; i < w.size(); ++i) {
        bytes[2 * i] = std::uint8_t(w[i]);
        bytes[2 * i + 1] = std::uint8_t(w[i] >> 8);
    }
    return bytes;
}

RunFile ParseRunFile(const std::vector<std::uint8_t>& bytes, CaveCheck cave)
{
    if (bytes.size() > std::size_t(ReplayFileBytes))
        throw RunFileError("not a run file: longer than the " + std::to_string(ReplayFileBytes) + " bytes of a run file");
    if (bytes.size() != std::size_t(ReplayFileBytes))
        throw RunFileError("not a run file: " + std::to_string(bytes.size()) + " bytes where a run file has " +
                           std::to_string(ReplayFileBytes));
    if (!std::equal(Signature, Signature + 4, bytes.begin() + 2 * SignatureWord))
        throw RunFileError("not a run file: no run signature (a recording without one, such as replay.dat, "
                           "holds no cave to play it in)");
    const ReplayWordBuffer w = WordsOf(bytes);
    if (Low(w[VersionWord]) != RunFormatVersion)
        throw RunFileError("a run file of version " + std::to_string(Low(w[VersionWord])) + ", which this game does not know (it reads version " +
                           std::to_string(RunFormatVersion) + ")");
    const int speed = High(w[VersionWord]);
    if (speed != 0 && (speed < 50 || speed > 90 || speed % 10 != 0))
        throw RunFileError("a value out of range: speed " + std::to_string(speed) + " (50, 60, 70, 80 or 90 percent, or 0 for full speed)");
    for (int i = 0; i < 4; ++i) CheckRange("random state byte", w[i], 0, 255);
    if (w[ReplayWords - 1] != 0)
        throw RunFileError("not a run file: its last word is " + std::to_string(w[ReplayWords - 1]) + ", not 0");

    const RunFile run = RunFromRecording(w, HeaderOf(w));
    const auto bad = std::find_if(run.inputs.begin(), run.inputs.end(), [](std::uint16_t w) { return w > AllInputBits; });
    if (bad != run.inputs.end())
        throw RunFileError("a value out of range: the input of tick " + std::to_string(bad - run.inputs.begin()) + " is " +
                           std::to_string(*bad) + " (0.." + std::to_string(AllInputBits) + ")");
    if (cave == CaveCheck::Make) {
        auto state = std::make_unique<GameState>();
        auto map = std::make_unique<CaveMap>();
        const bool made = GenerateCave(*state, *map, run.header.settings);
        CheckCaveMade(run, made, state->RandomState);
    }
    return run;
}

RunFile ReadRunFile(const std::string& path)
{
    try {
        // One byte more than a run file has, to tell a longer file.
        return ParseRunFile(ReadRegularFile(path, std::size_t(ReplayFileBytes) + 1));
    } catch (const FileError& e) {
        throw RunFileError(e.what());
    } catch (const RunFileError& e) {
        throw RunFileError(path + ": " + e.what());
    }
}

std::string RunFileName(const RunHeader& h, std::time_t started, int copy)
{
    std::tm local{};
    ::localtime_r(&started, &local);
    char when[32];
    std::strftime(when, sizeof when, "%Y-%m-%d_%H-%M-%S", &local);
    const GameSettings& s = h.settings;
    std::string name = std::string(when) + "_" + std::to_string(s.width) + "x" + std::to_string(s.height) +
                       "_character" + std::to_string(s.variant) + "_seed" + std::to_string(s.seed);
    if (copy > 1) name += "-" + std::to_string(copy);
    return name + RunExtension;
}

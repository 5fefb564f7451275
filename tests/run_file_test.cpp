#include <gtest/gtest.h>

#include <memory>

#include "cave/generator.h"
#include "cave/replay.h"
#include "cave/run_file.h"

namespace {

// A run of a real cave: generated from its seed, with a few recorded ticks.
RunFile MadeRun(std::uint32_t seed, int width, int height, int variant)
{
    auto s = std::make_unique<GameState>();
    auto map = std::make_unique<CaveMap>();
    const GameSettings settings{.width = width, .height = height, .variant = variant, .seed = seed};
    EXPECT_TRUE(GenerateCave(*s, *map, settings));
    RunHeader h{.settings = settings, .facing = 8, .inputBefore = 16};
    h.ending = RunEnding::Quit;
    h.ticks = 3;
    s->ReplayBuffer[16] = 8;
    s->ReplayBuffer[17] = 9;
    s->ReplayBuffer[18] = 63;
    return RunFromRecording(s->ReplayBuffer, h);
}

std::string Problem(const std::vector<std::uint8_t>& bytes)
{
    try {
        ParseRunFile(bytes);
    } catch (const RunFileError& e) {
        return e.what();
    }
    return "";
}

TEST(RunFile, KeepsTheGameInTheLayoutOfTheDemonstration)
{
    const RunFile run = MadeRun(41234567, 50, 40, 1);
    const std::vector<std::uint8_t> bytes = RunFileBytes(run);
    ASSERT_EQ(bytes.size(), std::size_t(ReplayFileBytes));
    EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 12), "BKRN");
    // Inputs where the demonstration reads them: word 16 + k.
    EXPECT_EQ(bytes[2 * 16], 8);
    EXPECT_EQ(bytes[2 * 18], 63);
    EXPECT_EQ(bytes[2 * 19], 0);

    const RunFile back = ParseRunFile(bytes);
    EXPECT_EQ(back.randomState, run.randomState);
    EXPECT_EQ(back.inputs, run.inputs);
    const RunHeader& h = back.header;
    const GameSettings& s = h.settings;
    EXPECT_EQ(std::tie(s.seed, s.width, s.height, s.variant, s.beginner, s.speedToDeath, h.facing, h.inputBefore, h.ticks),
              std::make_tuple(41234567u, 50, 40, 1, false, 11, std::uint8_t(8), std::uint16_t(16), 3u));
    EXPECT_EQ(DescribeSettings(s), "50x40 character 1 beginner no speed 11 seed 41234567");
    EXPECT_EQ(h.ending, RunEnding::Quit);
    EXPECT_TRUE(h.Complete());
}

TEST(RunFile, ALongGameKeepsItsFirstTicksAndSaysItIsIncomplete)
{
    ReplayWordBuffer buffer{};
    buffer.fill(5);
    RunFile run = RunFromRecording(buffer, RunHeader{.ticks = 70000});
    EXPECT_EQ(run.inputs.size(), RecordedTicks);
    EXPECT_EQ(RunFileBytes(run)[2 * 65536], 0);  // the last word is not the game's
    EXPECT_FALSE(run.header.Complete());
}

TEST(RunFile, EveryKindOfBadFileIsNamed)
{
    const std::vector<std::uint8_t> good = RunFileBytes(MadeRun(7, 20, 20, 0));
    ASSERT_EQ(Problem(good), "");
    auto changed = [&](std::size_t word, std::uint16_t value) {
        std::vector<std::uint8_t> b = good;
        b[2 * word] = std::uint8_t(value);
        b[2 * word + 1] = std::uint8_t(value >> 8);
        return b;
    };
    struct Case {
        std::vector<std::uint8_t> bytes;
        const char* problem;
    };
    const Case cases[] = {
        {std::vector<std::uint8_t>(good.begin(), good.end() - 1), "131073 bytes"},
        // ReadRunFile reads one byte more than a run file has, whatever the size.
        {[&] { auto b = good; b.push_back(0); return b; }(), "longer than the 131074 bytes of a run file"},
        {std::vector<std::uint8_t>(ReplayFileBytes, 0), "no run signature"},
        {changed(6, 2), "version 2"},
        {changed(9, 217), "width 217"},
        {changed(10, 0), "height 0"},
        {changed(11, 3), "character 3"},
        {changed(11, 2 << 8), "beginner 2"},
        {changed(12, 17), "fatal speed 17"},
        {changed(12, 4 << 8 | 11), "facing 4"},
        {changed(13, 4), "ending 4"},
        {changed(13, 64 << 8 | 2), "input before the first tick 64"},
        {changed(2, 256), "random state byte 256"},
        {changed(17, 64), "the input of tick 1 is 64"},
        {changed(65536, 1), "its last word is 1, not 0"},
        {changed(13, 1) /* the goal, taken in 3 ticks: fine */, nullptr},
        {changed(0, (good[0] + 1) & 0xff), "is not the cave it was played in"},
        {changed(7, 8), "is not the cave it was played in"},
    };
    for (const Case& c : cases) {
        const std::string problem = Problem(c.bytes);
        if (c.problem) EXPECT_NE(problem.find(c.problem), std::string::npos) << c.problem << ": " << problem;
        else EXPECT_EQ(problem, "");
    }
}

}  // namespace

// The game's sounds from their text: what the file may say, and what the
// game's own file makes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "screens/sound_cues.h"
#include "sound/sound_bank.h"
#include "sound/synth.h"

namespace {

std::string Refusal(const std::string& text)
{
    try {
        SoundBank::FromText(text, "sounds.txt");
    } catch (const SoundSourceError& e) {
        return e.what();
    }
    return "";
}

TEST(SoundBank, AMistakeIsNamedWithItsLine)
{
    EXPECT_EQ(Refusal("volume 1\n"), "sounds.txt line 1: the first line names a sound: [jump]");
    EXPECT_EQ(Refusal("[a]\n# a comment\nwave hum\n"), "sounds.txt line 3: wave is square, saw, triangle, sine or noise, not 'hum'");
    EXPECT_EQ(Refusal("[a]\nvolume 0,5\n"), "sounds.txt line 2: volume takes a number, not '0,5'");
    EXPECT_EQ(Refusal("[a]\nvolume 2\n"), "sounds.txt line 2: volume is 0 to 1");
    EXPECT_EQ(Refusal("[a]\nloudness 1\n"), "sounds.txt line 2: no sound has 'loudness'");
    EXPECT_EQ(Refusal("[a]\n[a]\n"), "sounds.txt line 2: a second sound called 'a'");
    EXPECT_EQ(Refusal("[a]\nsustain 61\n"), "sounds.txt line 2: a sound lasts 0 to 60 seconds");
    EXPECT_EQ(Refusal("[t]\ntune\npart lead: C5/4\n"), "sounds.txt line 3: no voice is called 'lead'");
    EXPECT_EQ(Refusal("[v]\nvoice\n[t]\ntune\npart v: H5/4\n"), "sounds.txt line 5: 'H5' is no note");
    EXPECT_EQ(Refusal("[v]\nvoice\n[t]\ntune\npart v: C5/3\n"), "sounds.txt line 5: a note lasts 1, 2, 4, 8, 16 or 32ths of a bar: not 'C5/3'");
    EXPECT_EQ(Refusal("[a]\nvolume -0.25\nslide -1.5 # down\n"), "sounds.txt line 2: volume is 0 to 1");
}

TEST(SoundBank, AnEffectLastsItsEnvelopeAndATuneItsNotes)
{
    const SoundBank bank = SoundBank::FromText(
        "[beep]\nsustain 0.1\ndecay 0.05\ngap 3\n"
        "[v]\nvoice\nattack 0\ndecay 0.01\n"
        "[tune]\ntune\ntempo 120\npart v: A4/4 R/4 A4/2.\n",
        "sounds.txt");
    ASSERT_EQ(bank.Sounds().size(), 2u);  // a voice is no sound of its own
    const Sound& beep = *bank.Find("beep");
    EXPECT_EQ(beep.samples.size(), std::size_t(0.1 * SampleRate) + std::size_t(0.05 * SampleRate));
    EXPECT_EQ(beep.gap, 3);
    EXPECT_FALSE(beep.music);
    const Sound& tune = *bank.Find("tune");
    EXPECT_TRUE(tune.music);
    // A quarter at 120 beats a minute is half a second: 0.5 + 0.5 + 1.5 seconds.
    EXPECT_EQ(tune.samples.size(), std::size_t(2.5 * SampleRate));
    EXPECT_TRUE(std::all_of(tune.samples.begin() + SampleRate / 2, tune.samples.begin() + SampleRate, [](std::int16_t s) { return s == 0; }))
        << "the rest is silent";
}

TEST(SoundBank, TheGamesOwnSoundsAreAllThereAndNoneClips)
{
    const char* data = std::getenv("BURROWKIN_DATA_DIR");
    const SoundBank bank = SoundBank::Load(data ? data : ".");
    for (std::string_view name : CuedSounds) EXPECT_TRUE(bank.Find(name)) << name;
    for (const Sound& sound : bank.Sounds()) {
        EXPECT_FALSE(sound.samples.empty()) << sound.name;
        const auto [low, high] = std::minmax_element(sound.samples.begin(), sound.samples.end());
        EXPECT_LT(std::max(-int(*low), int(*high)), 30000) << sound.name << " comes near clipping";
    }
}

TEST(Synth, ItsOwnArithmeticKeepsToTheLibrarysWithinALastPlace)
{
    for (double x = -20; x < 20; x += 0.37) EXPECT_NEAR(Exp2(x), std::exp2(x), std::exp2(x) * 1e-14) << x;
    for (double x = -40; x < 40; x += 0.13) EXPECT_NEAR(Sine(x), std::sin(x), 1e-12) << x;
}

}  // namespace

// Any cave, any settings, any input or recording: the game keeps its
// invariants on every tick. Most inputs play without pictures, as the
// simulator does when it draws nothing; the few that draw their views do it
// in either pixel format.
#include <sys/mman.h>
#include <unistd.h>

#include <string>

#include "cave/random.h"
#include "cave/replay.h"
#include "play/game.h"
#include "screens/frame_tick.h"
#include "tests/fuzz/fuzz_input.h"
#include "tests/support/build_assets.h"
#include "tests/support/invariants.h"

namespace {

// Forty seconds of play: the ghost comes at tick 574, 300 pixels away, and
// has time to reach the character.
constexpr std::size_t MaxTicks = 800;

// The flags byte: bit 0 the beginner's counts, bit 1 the demonstration, bit
// 2 the palette format.
constexpr std::uint8_t Beginner = 1, Demonstration = 2, PaletteFormat = 4;

// Drawing under the sanitizers costs ten times the rest of a tick, so the
// fuzzer draws the views of one input in thirty-two, chosen by a hash of the
// whole input so that an input's mutations do not inherit the choice. The
// committed corpus, replayed as a test, draws every view.
#ifdef BURROWKIN_DRAW_EVERY_INPUT
constexpr bool DrawEveryInput = true;
#else
constexpr bool DrawEveryInput = false;
#endif

bool IsDrawn(const std::uint8_t* data, std::size_t size)
{
    std::uint32_t hash = 2166136261u;
    for (std::size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 16777619u;
    return DrawEveryInput || hash % 32 == 0;
}

// Without pictures the format only sizes the surfaces: the smaller ones.
PixelFormat Format(bool drawn, std::uint8_t flags)
{
    return drawn && !(flags & PaletteFormat) ? PixelFormat::Rgb32 : PixelFormat::Indexed8;
}

void Check(const char* when, const std::string& broken)
{
    if (!broken.empty()) Broken(when, broken.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput in(data, size);
    const int width = in.Byte() % 216 + 1, height = in.Byte() % 216 + 1;
    const int variant = in.Byte() % 3;
    const std::uint8_t flags = in.Byte();
    const int speedToDeath = in.Byte() % 17;
    const std::uint32_t seed = in.Word32();
    const bool beginner = flags & Beginner, demo = flags & Demonstration;

    static const Assets noPictures;
    const bool drawn = IsDrawn(data, size);
    Game g(drawn ? BuildTreeAssets() : noPictures, Format(drawn, flags));
    GameState& s = g.state;
    s.DemoMode = demo;

    if (demo) {
        // The rest is the recording.
        const int fd = ::memfd_create("replay.dat", 0);
        if (fd < 0) return 0;
        const bool written = ::write(fd, in.Rest(), in.RestSize()) == ssize_t(in.RestSize());
        g.replayPath = [fd] { return "/proc/self/fd/" + std::to_string(fd); };
        if (written) NewGame(g, {.beginner = beginner, .speedToDeath = speedToDeath, .seed = DemonstrationSeed});
        ::close(fd);
        if (!written) return 0;
    } else if (!NewGame(g, {width, height, variant, beginner, speedToDeath, seed})) {
        return 0;  // the title screen would not start this game
    }
    s.Screen = ScreenPlay;

    const std::size_t ticks = std::min(MaxTicks, demo ? in.RestSize() / 2 + 100 : in.RestSize());
    const std::uint8_t* words = in.Rest();
    Check("after the generation:", BrokenInvariant(g));
    const CaveMap generated = g.map;
    for (std::size_t k = 0; k < ticks && s.Screen == ScreenPlay; ++k) {
        g.clock = ClockAfterTicks(std::uint32_t(k));
        s.KeysHeld = FlagsFromWord(demo ? 0 : words[k] & 0x3f);
        FrameTick(g);
        Check("after a tick:", BrokenInvariant(g, false));
    }
    Check("at the end:", BrokenInvariantSince(g, generated));
    return 0;
}

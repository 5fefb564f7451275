// Any cave, any settings, any input or recording: the game keeps its
// invariants on every tick.
#include <sys/mman.h>
#include <unistd.h>

#include <string>

#include "cave/replay.h"
#include "core/null_shell.h"
#include "play/game.h"
#include "screens/frame_tick.h"
#include "tests/fuzz/fuzz_input.h"
#include "tests/support/build_assets.h"
#include "tests/support/invariants.h"

namespace {


constexpr std::size_t MaxTicks = 3000;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput in(data, size);
    const int width = in.Byte() % 216 + 1, height = in.Byte() % 216 + 1;
    const int variant = in.Byte() % 3;
    const std::uint8_t flags = in.Byte();
    const int speedToDeath = in.Byte() % 17;
    const std::uint32_t seed = in.Word32();
    const bool beginner = flags & 1, demo = flags & 2;

    NullShell shell;
    shell.UtcMilliseconds = seed;
    Game g(BuildTreeAssets(), shell);
    GameState& s = g.state;
    s.Variant = std::uint8_t(demo ? 0 : variant);
    s.SpeedToDeath = speedToDeath;
    s.DemoMode = demo;

    int fd = -1;
    if (demo) {
        // The rest is the recording.
        fd = ::memfd_create("replay.dat", 0);
        if (fd < 0 || ::write(fd, in.Rest(), in.RestSize()) < 0) return 0;
        shell.ReplayFile = "/proc/self/fd/" + std::to_string(fd);
        NewGame(g, 100, 100, beginner, 0);
        ::close(fd);
    } else if (!NewGame(g, width, height, beginner, variant)) {
        return 0;  // the title screen would not start this game
    }
    s.Screen = ScreenPlay;

    const std::size_t ticks = std::min(MaxTicks, demo ? in.RestSize() / 2 + 100 : in.RestSize());
    const std::uint8_t* words = in.Rest();
    for (std::size_t k = 0; k < ticks && s.Screen == ScreenPlay; ++k) {
        shell.Second = int((k / 20) % 60);
        s.KeysHeld = FlagsFromWord(demo ? 0 : words[k] & 0x3f);
        FrameTick(g);
        const std::string broken = BrokenInvariant(g, k % 256 == 255);
        if (!broken.empty()) Broken("after a tick:", broken.c_str());
    }
    const std::string broken = BrokenInvariant(g);
    if (!broken.empty()) Broken("at the end:", broken.c_str());
    return 0;
}

// Long games of random input, past the end of what the replay buffer records,
// with the invariants checked on every tick; and the demonstration played on
// past the end of its data.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <unistd.h>

#include "cave/random.h"
#include "cave/replay.h"
#include "play/game.h"
#include "screens/frame_tick.h"
#include "tests/support/invariants.h"
#include "tests/support/test_assets.h"

namespace {

constexpr int SoakTicks = 70'000;

// Input a player might give: a few keys held for a while, now and then a button.
class RandomPlayer {
public:
    explicit RandomPlayer(unsigned seed) : random_(seed) {}
    std::uint16_t Next()
    {
        if (left_-- <= 0) {
            held_ = std::uint16_t(random_() % 16);
            left_ = int(random_() % 30);
        }
        const std::uint16_t buttons = random_() % 12 == 0 ? std::uint16_t(16 << (random_() % 2)) : 0;
        return held_ | buttons;
    }

private:
    std::mt19937 random_;
    std::uint16_t held_ = 0;
    int left_ = 0;
};

void PlayOn(Game& game, RandomPlayer* player)
{
    GameState& s = game.state;
    for (int k = 0; k < SoakTicks; ++k) {
        game.clock = ClockAfterTicks(std::uint32_t(k));
        s.KeysHeld = FlagsFromWord(player ? player->Next() : 0);
        FrameTick(game);
        // The exit ends a game; here the soak goes on in the same cave.
        if (s.Screen != ScreenPlay) s.Screen = ScreenPlay;
        const std::string broken = BrokenInvariant(game, k % 1000 == 999);
        ASSERT_EQ(broken, "") << "tick " << k;
    }
    EXPECT_EQ(s.FrameIndex, 16 + SoakTicks);
}

class Soak : public ::testing::TestWithParam<int> {};

TEST_P(Soak, SeventyThousandTicksOfRandomInputKeepTheInvariants)
{
    const int variant = GetParam();
    Game game(TestAssets());
    ASSERT_TRUE(NewGame(game, {.width = 60, .height = 60, .variant = variant, .beginner = true,
                               .seed = 1000u + unsigned(variant)}));
    game.state.Screen = ScreenPlay;
    RandomPlayer player(unsigned(variant) + 5);
    PlayOn(game, &player);
    // The recording stopped at its last word; the count went on.
    EXPECT_EQ(game.state.ReplayBuffer[65536], 0);
}

INSTANTIATE_TEST_SUITE_P(Variants, Soak, ::testing::Values(0, 1, 2));

TEST(SoakDemonstration, PlaysOnPastTheEndOfItsRecording)
{
    namespace fs = std::filesystem;
    const fs::path file = fs::temp_directory_path() / ("burrowkin-soak-" + std::to_string(::getpid()) + ".dat");
    {
        // A recording of random input up to its very last word.
        std::mt19937 random(9);
        std::ofstream out(file, std::ios::binary);
        for (int i = 0; i < ReplayWords; ++i) {
            const std::uint16_t word = std::uint16_t(random() % 64);
            out.put(char(word & 0xff)).put(char(word >> 8));
        }
    }
    Game game(TestAssets());
    game.replayPath = [file] { return file.string(); };
    game.state.DemoMode = true;
    NewGame(game, {.seed = DemonstrationSeed});
    game.state.Screen = ScreenPlay;
    PlayOn(game, nullptr);
    fs::remove(file);
}

}  // namespace

// The window program and burrowkin-sim run the same play code: fed the same
// keys in the same cave they go through the same states, tick by tick.
#include <QKeyEvent>
#include <QTest>
#include <gtest/gtest.h>
#include <fstream>
#include <random>
#include <sstream>

#include "app/main_window.h"
#include "cave/random.h"
#include "tests/support/run_program.h"
#include "tests/support/test_assets.h"
#include "tools/sim/trace.h"

namespace {

// The window with its clock stopped at one millisecond of the day, so that its
// cave is the simulator's cave of that seed.
class FixedClockForm : public TForm1 {
public:
    explicit FixedClockForm(std::uint32_t seed) : TForm1(TestAssets(), PixelFormat::Rgb32, "/nonexistent"), seed_(seed) {}
    WallClock Now() const override { return {.utcMilliseconds = seed_}; }

private:
    std::uint32_t seed_;
};

TEST(PlayAgreement, TheWindowAndTheSimulatorGoThroughTheSameStates)
{
    constexpr std::uint32_t Seed = 4242;
    constexpr int Ticks = 800;
    std::mt19937 random(3);
    std::vector<int> words;
    for (int i = 0; i < Ticks; ++i) words.push_back(int(random() % 64) & (i % 3 ? 0x0f : 0x3f));

    const std::string inputs = "/tmp/burrowkin-agreement-" + std::to_string(::getpid());
    {
        std::ofstream out(inputs);
        for (int w : words) out << w << "\n";
    }
    const ProgramRun sim = RunProgram(std::string(BURROWKIN_SIM) + " play --seed " + std::to_string(Seed) +
                                      " --width 60 --height 50 --variant 2 --inputs " + inputs);
    std::remove(inputs.c_str());
    ASSERT_EQ(sim.status, 0) << sim.err;
    std::istringstream simLines(sim.out);
    std::string line;
    std::getline(simLines, line);  // the header

    FixedClockForm form(Seed);
    form.show();
    Game& game = form.game();
    ASSERT_TRUE(NewGame(game, {.width = 60, .height = 50, .variant = 2, .seed = SeedFromClock(form.Now())}));
    game.state.Screen = ScreenPlay;

    const Qt::Key keys[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right, Qt::Key_Space, Qt::Key_Z};
    int held = 0;
    for (int k = 0; k < Ticks && game.state.Screen == ScreenPlay; ++k) {
        for (int bit = 0; bit < 6; ++bit) {
            const bool want = words[k] & (1 << bit), have = held & (1 << bit);
            if (want && !have) QTest::keyPress(&form, keys[bit]);
            if (!want && have) QTest::keyRelease(&form, keys[bit]);
        }
        held = words[k];
        form.Timer1Timer();
        ASSERT_TRUE(std::getline(simLines, line)) << "tick " << k;
        ASSERT_EQ(TraceLine(game), line) << "tick " << k;
    }
}

}  // namespace

// The window's sound: SDL's dummy device stands for a sound card, a driver
// that is not there for a machine without one.
#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "app/sound_out.h"
#include "tests/support/test_assets.h"

namespace {

const SoundBank& Sounds()
{
    static const SoundBank bank = SoundBank::Load(std::getenv("BURROWKIN_DATA_DIR"));
    return bank;
}

class DrivenWindow : public TForm1 {
public:
    explicit DrivenWindow(SoundOut* sound) : TForm1(TestAssets(), PixelFormat::Rgb32, "/nonexistent", 1, {}, sound)
    {
        TForm1::SetTimerRunning(false);
    }
    void SetTimerRunning(bool) override {}
};

TEST(SoundOut, TheWindowPlaysItsSoundsAndMSilencesThem)
{
    SoundOut sound(Sounds(), {});
    ASSERT_TRUE(sound.Open()) << "SDL's dummy device";
    EXPECT_LE(sound.BufferSamples(), 1024);
    DrivenWindow form(&sound);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    for (int i = 0; i < 61; ++i) form.Timer1Timer();
    EXPECT_EQ(sound.Playing(), 1) << "the title's tune";
    QTest::keyClick(&form, Qt::Key_M);
    EXPECT_FALSE(sound.On());
    EXPECT_EQ(sound.Playing(), 0);
    sound.Play(Sounds().IndexOf("jump"));
    EXPECT_EQ(sound.Playing(), 0);
}

TEST(SoundOut, WithoutADeviceTheGameSaysSoOnceAndPlaysSilently)
{
    ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    testing::internal::CaptureStderr();
    SoundOut sound(Sounds(), {});
    const std::string said = testing::internal::GetCapturedStderr();
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    EXPECT_FALSE(sound.Open());
    EXPECT_EQ(said.rfind("burrowkin: no sound: ", 0), 0u) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    DrivenWindow form(&sound);
    for (int i = 0; i < 70; ++i) form.Timer1Timer();
    EXPECT_EQ(form.game().state.TitleTicks, 70);
}

}  // namespace

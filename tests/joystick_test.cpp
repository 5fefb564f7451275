#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <csignal>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "app/joystick.h"
#include "play/game.h"
#include "screens/frame_tick.h"
#include "tests/support/test_assets.h"

namespace {

namespace fs = std::filesystem;

// A pad of the old DirectInput kind: its raw buttons are X, A, B, Y, its d-pad
// is hat 0. A mapping line names that layout for its GUID.
const char* const PadLayout = "a:b1,b:b2,x:b0,y:b3,back:b8,start:b9,leftx:a0,lefty:a1,"
                              "dpup:h0.1,dpright:h0.2,dpdown:h0.4,dpleft:h0.8,platform:Linux,";
constexpr int RawX = 0, RawA = 1, RawB = 2, RawY = 3;

// A joystick plugged in through SDL's virtual joystick driver, so that
// joystick 0 answers on a machine without one. Needs SDL's joystick
// subsystem, which a live Joystick keeps running.
class VirtualStick {
public:
    VirtualStick(const char* name, Uint16 product)
    {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_UNKNOWN;  // no mapping of SDL's own making
        desc.naxes = 2;
        desc.nbuttons = 10;
        desc.nhats = 1;
        desc.vendor_id = 0x7a11;
        desc.product_id = product;
        desc.name = name;
        index_ = SDL_JoystickAttachVirtualEx(&desc);
        if (index_ >= 0) handle_ = SDL_JoystickOpen(index_);
    }
    ~VirtualStick()
    {
        if (handle_) SDL_JoystickClose(handle_);
        if (index_ >= 0) SDL_JoystickDetachVirtual(index_);
    }
    bool IsJoystickZero() const { return index_ == 0 && handle_; }
    std::string Guid() const
    {
        char text[33];
        SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(index_), text, sizeof text);
        return text;
    }
    void Button(int b, bool down) { SDL_JoystickSetVirtualButton(handle_, b, down); }
    void Axis(int a, Sint16 value) { SDL_JoystickSetVirtualAxis(handle_, a, value); }
    void Hat(Uint8 value) { SDL_JoystickSetVirtualHat(handle_, 0, value); }

private:
    int index_ = -1;
    SDL_Joystick* handle_ = nullptr;
};

// The GUID SDL gives a virtual stick of that name and product, found with a
// stick plugged in and out again before the test's own SDL starts.
std::string GuidOf(const char* name, Uint16 product)
{
    Joystick sdl;
    return VirtualStick(name, product).Guid();
}

InputFlags Flags(std::initializer_list<int> set)
{
    InputFlags f{};
    for (int i : set) f[i] = 1;
    return f;
}

class JoystickTest : public ::testing::Test {
protected:
    Game game{TestAssets()};
    GameState& s = game.state;

    void SetUp() override
    {
        s.Screen = 7;  // no screen step: only the input work of the tick
        unsetenv("SDL_GAMECONTROLLERCONFIG");
        unsetenv("SDL_GAMECONTROLLERCONFIG_FILE");
    }
    void TearDown() override
    {
        unsetenv("SDL_GAMECONTROLLERCONFIG");
        unsetenv("SDL_GAMECONTROLLERCONFIG_FILE");
    }

    // Joystick 0 as the window probes it at start.
    void Probe(Joystick& joystick, VirtualStick& stick)
    {
        ASSERT_TRUE(stick.IsJoystickZero()) << "another joystick is plugged in: " << SDL_GetError();
        s.JoystickPresent = joystick.Probe(s.JoyInfo);
        ASSERT_TRUE(s.JoystickPresent);
    }
    // One frame tick after the window read the joystick.
    InputFlags Tick(Joystick& joystick)
    {
        joystick.Read(s.JoyInfo);
        FrameTick(game);
        return s.InputNow;
    }
    fs::path TempFile(const std::string& name) const
    {
        return fs::temp_directory_path() / ("burrowkin-" + name + "-" + std::to_string(::getpid()));
    }
};

TEST_F(JoystickTest, AKnownPadsFaceButtonsSelectAndUseAsButtonsOneToFour)
{
    Joystick joystick;
    VirtualStick pad("Cave Pad", 1);
    ASSERT_EQ(SDL_GameControllerAddMapping((pad.Guid() + ",Cave Pad," + PadLayout).c_str()), 1) << SDL_GetError();
    Probe(joystick, pad);
    ASSERT_TRUE(joystick.IsGameController());

    EXPECT_EQ(Tick(joystick), Flags({}));
    // A and Y are buttons 1 and 4, B and X buttons 2 and 3, whatever the pad's own numbers.
    const std::pair<int, InputFlags> faces[] = {
        {RawA, Flags({ButtonSelect})}, {RawB, Flags({ButtonUse})}, {RawX, Flags({ButtonUse})}, {RawY, Flags({ButtonSelect})}};
    for (const auto& [raw, expected] : faces) {
        pad.Button(raw, true);
        EXPECT_EQ(Tick(joystick), expected) << "raw button " << raw;
        pad.Button(raw, false);
    }
    pad.Button(RawA, true);
    pad.Button(RawB, true);
    EXPECT_EQ(Tick(joystick), Flags({ButtonSelect, ButtonUse}));
    pad.Button(RawA, false);
    pad.Button(RawB, false);
    pad.Button(8, true);  // back: no flag of its own
    pad.Button(9, true);  // start
    EXPECT_EQ(Tick(joystick), Flags({}));
}

TEST_F(JoystickTest, ThePadsLeftStickAndDpadGiveTheDirectionsThroughTheDeadZone)
{
    Joystick joystick;
    VirtualStick pad("Cave Pad", 2);
    ASSERT_EQ(SDL_GameControllerAddMapping((pad.Guid() + ",Cave Pad," + PadLayout).c_str()), 1) << SDL_GetError();
    Probe(joystick, pad);

    pad.Axis(0, -32768);
    EXPECT_EQ(Tick(joystick), Flags({InputLeft}));
    EXPECT_EQ(s.JoyInfo.wXpos, 0u);
    pad.Axis(0, 32767);
    pad.Axis(1, 32767);
    EXPECT_EQ(Tick(joystick), Flags({InputRight, InputDown}));
    EXPECT_EQ(s.JoyInfo.wXpos, 65535u);

    // The same dead zone as a joystick's: 10000 and 55000 are still the middle.
    pad.Axis(0, 10000 - 32768);
    pad.Axis(1, 55000 - 32768);
    EXPECT_EQ(Tick(joystick), Flags({}));
    pad.Axis(0, 9999 - 32768);
    pad.Axis(1, 55001 - 32768);
    EXPECT_EQ(Tick(joystick), Flags({InputLeft, InputDown}));
    pad.Axis(0, 0);
    pad.Axis(1, 0);

    pad.Hat(SDL_HAT_LEFT);
    EXPECT_EQ(Tick(joystick), Flags({InputLeft}));
    pad.Hat(SDL_HAT_RIGHTUP);
    EXPECT_EQ(Tick(joystick), Flags({InputUp, InputRight}));
    pad.Hat(SDL_HAT_DOWN);
    EXPECT_EQ(Tick(joystick), Flags({InputDown}));

    // The d-pad wins over the stick held the other way.
    pad.Axis(1, -32768);
    EXPECT_EQ(Tick(joystick), Flags({InputDown}));
    pad.Hat(SDL_HAT_CENTERED);
    EXPECT_EQ(Tick(joystick), Flags({InputUp}));
}

TEST_F(JoystickTest, APlainJoystickKeepsItsOwnButtonNumbersAndAxes)
{
    Joystick joystick;
    VirtualStick stick("Plain Stick", 3);
    Probe(joystick, stick);
    ASSERT_FALSE(joystick.IsGameController());

    const InputFlags byButton[] = {Flags({ButtonSelect}), Flags({ButtonUse}), Flags({ButtonUse}), Flags({ButtonSelect})};
    for (int b = 0; b < 4; ++b) {
        stick.Button(b, true);
        EXPECT_EQ(Tick(joystick), byButton[b]) << "button " << b + 1;
        EXPECT_EQ(s.JoyInfo.wButtons, 1u << b);
        stick.Button(b, false);
    }
    stick.Button(4, true);  // button 5 is not one of the four
    EXPECT_EQ(Tick(joystick), Flags({}));
    stick.Button(4, false);

    stick.Axis(0, -32768);
    stick.Axis(1, 32767);
    EXPECT_EQ(Tick(joystick), Flags({InputLeft, InputDown}));
    EXPECT_EQ(s.JoyInfo.wXpos, 0u);
    EXPECT_EQ(s.JoyInfo.wYpos, 65535u);
    stick.Hat(SDL_HAT_UP);  // a plain joystick's hat is not its axes
    stick.Axis(0, 0);
    stick.Axis(1, 0);
    EXPECT_EQ(Tick(joystick), Flags({}));
}

TEST(Joystick, LeavesCtrlCAndSigtermToEndTheGame)
{
    Joystick joystick;
    for (int signal : {SIGINT, SIGTERM}) {
        struct sigaction action {};
        ASSERT_EQ(sigaction(signal, nullptr, &action), 0);
        EXPECT_EQ(action.sa_handler, SIG_DFL) << "signal " << signal;
    }
}

TEST_F(JoystickTest, MappingsComeFromTheEnvironmentAndTheFileItNames)
{
    {
        const std::string guid = GuidOf("Env Pad", 5);
        setenv("SDL_GAMECONTROLLERCONFIG", (guid + ",Env Pad," + PadLayout).c_str(), 1);
        Joystick joystick;
        VirtualStick pad("Env Pad", 5);
        Probe(joystick, pad);
        EXPECT_TRUE(joystick.IsGameController());
        pad.Button(RawX, true);
        EXPECT_EQ(Tick(joystick), Flags({ButtonUse}));
        unsetenv("SDL_GAMECONTROLLERCONFIG");
    }
    {
        const std::string guid = GuidOf("File Pad", 6);
        const fs::path file = TempFile("mappings");
        std::ofstream(file) << "# controller mappings\n"
                            << "not a mapping at all\n"
                            << "0000000000000000000000000000000,Short Guid,a:b0,\n"
                            << guid << ",File Pad," << PadLayout << "\n";
        setenv("SDL_GAMECONTROLLERCONFIG_FILE", file.c_str(), 1);
        Joystick joystick;
        VirtualStick pad("File Pad", 6);
        Probe(joystick, pad);
        EXPECT_TRUE(joystick.IsGameController());
        pad.Button(RawY, true);
        EXPECT_EQ(Tick(joystick), Flags({ButtonSelect}));
        fs::remove(file);
    }
}

TEST_F(JoystickTest, AMappingFileThatCannotBeReadIsNamedAndLeftOut)
{
    const fs::path folder = TempFile("folder");
    const fs::path pipe = TempFile("pipe");
    const fs::path noise = TempFile("noise");
    fs::create_directories(folder);
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);  // opening it would wait for a writer forever
    {
        std::mt19937 random(10);
        std::ofstream out(noise, std::ios::binary);
        for (int i = 0; i < 200000; ++i) out.put(char(random()));
    }
    struct Case {
        fs::path path;
        bool named;
    };
    for (const Case& c : {Case{"/nonexistent/mappings.txt", true}, Case{folder, true}, Case{pipe, true}, Case{noise, false}}) {
        setenv("SDL_GAMECONTROLLERCONFIG_FILE", c.path.c_str(), 1);
        testing::internal::CaptureStderr();
        {
            Joystick joystick;
            VirtualStick stick("Plain Stick", 7);
            Probe(joystick, stick);
            EXPECT_FALSE(joystick.IsGameController());
            stick.Button(0, true);
            EXPECT_EQ(Tick(joystick), Flags({ButtonSelect})) << c.path;
        }
        const std::string said = testing::internal::GetCapturedStderr();
        if (c.named) {
            EXPECT_NE(said.find(c.path.string()), std::string::npos) << said;
            EXPECT_NE(said.find("SDL_GAMECONTROLLERCONFIG_FILE"), std::string::npos) << said;
        } else {
            EXPECT_EQ(said, "");
        }
    }
    fs::remove_all(folder);
    fs::remove(pipe);
    fs::remove(noise);
}

// SDL's time for a list grows with the square of its length: the game reads
// the first 4000 lines, says that it left out the rest, and the mappings it
// read still work.
TEST_F(JoystickTest, ALongMappingFileIsCutShortAndSaysSo)
{
    const std::string guid = GuidOf("Long Pad", 8);
    const fs::path file = TempFile("long-mappings");
    {
        std::ofstream out(file);
        out << guid << ",Long Pad," << PadLayout << "\n";
        for (int i = 1; i < 20000; ++i) out << "03000000" << std::hex << 0x10000000 + i << "0000000000000000,Pad," << PadLayout << "\n";
    }
    setenv("SDL_GAMECONTROLLERCONFIG_FILE", file.c_str(), 1);
    testing::internal::CaptureStderr();
    {
        Joystick joystick;
        VirtualStick pad("Long Pad", 8);
        Probe(joystick, pad);
        EXPECT_TRUE(joystick.IsGameController());
    }
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("only the first 4000 lines of the controller mappings " + file.string()), std::string::npos) << said;
    fs::remove(file);
}

}  // namespace

// A whole game as a player plays it: the title, a button, the setup dialog, a
// small cave played to its exit with key presses, the ending picture, and back
// to the title. The keys come from the automatic player's solution of the same
// cave. Pictures of the way are saved for a person to look at.
#include <QKeyEvent>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <vector>

#include "app/main_window.h"
#include "gfx/draw.h"
#include "tests/support/run_program.h"
#include "tests/support/test_assets.h"

namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t Seed = 8;  // a 12 by 12 cave whose way out takes items and passes treasure

// The window as the program opens it, with the clock at the seed's millisecond
// and a player who picks a small cave in the setup dialog.
class PlayersWindow : public TForm1 {
public:
    PlayersWindow() : TForm1(TestAssets(), PixelFormat::Rgb32, "/nonexistent")
    {
        setupDialog = [this] {
            ++dialogs;
            return GameSettings{.width = 12, .height = 12};
        };
    }
    WallClock Now() const override { return {.utcMilliseconds = Seed}; }
    void ShowErrorBox(const std::string&, const std::string& text) override { errors.emplace_back(text); }

    int dialogs = 0;
    std::vector<std::string> errors;
};

// The inputs of the solution, one word a tick.
std::vector<std::uint16_t> Solution()
{
    const fs::path file = fs::temp_directory_path() / ("burrowkin-whole-game-" + std::to_string(::getpid()) + ".dat");
    const ProgramRun run = RunProgram(std::string(BURROWKIN_SIM) + " solve --seed " + std::to_string(Seed) +
                                      " --width 12 --height 12 --out " + file.string());
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("\"solved\":true"), std::string::npos) << run.out;
    std::ifstream in(file, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
    fs::remove(file);
    std::vector<std::uint16_t> words;
    for (std::size_t i = 32; i + 1 < bytes.size(); i += 2)
        words.push_back(std::uint16_t(std::uint8_t(bytes[i]) | (std::uint8_t(bytes[i + 1]) << 8)));
    while (!words.empty() && words.back() == 0) words.pop_back();
    return words;
}

void Save(QWidget& window, const char* name)
{
    fs::create_directories(BURROWKIN_ARTIFACTS);
    window.grab().toImage().save(QString(BURROWKIN_ARTIFACTS) + "/" + name);
}

TEST(WholeGame, FromTheTitleToTheExitAndBack)
{
    const std::vector<std::uint16_t> inputs = Solution();
    ASSERT_FALSE(inputs.empty());

    PlayersWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const GameState& s = window.game().state;
    for (int i = 0; i < 61; ++i) window.Timer1Timer();
    Save(window, "whole-game-1-title.png");

    QTest::keyPress(&window, Qt::Key_Space);
    window.Timer1Timer();
    QTest::keyRelease(&window, Qt::Key_Space);
    ASSERT_EQ(window.dialogs, 1);
    ASSERT_EQ(s.Screen, ScreenPlay) << (window.errors.empty() ? "" : window.errors.front());

    const Qt::Key keys[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right, Qt::Key_X, Qt::Key_Return};
    std::uint16_t held = 0;
    for (std::size_t k = 0; k < inputs.size() + 40 && s.Screen == ScreenPlay; ++k) {
        const std::uint16_t word = k < inputs.size() ? inputs[k] : 0;
        for (int bit = 0; bit < 6; ++bit) {
            if ((word & (1 << bit)) && !(held & (1 << bit))) QTest::keyPress(&window, keys[bit]);
            if (!(word & (1 << bit)) && (held & (1 << bit))) QTest::keyRelease(&window, keys[bit]);
        }
        held = word;
        window.Timer1Timer();
        ASSERT_EQ(s.DeathTimer, 0) << "tick " << k;
        if (k == inputs.size() / 2) Save(window, "whole-game-2-play.png");
    }
    for (int bit = 0; bit < 6; ++bit)
        if (held & (1 << bit)) QTest::keyRelease(&window, keys[bit]);
    ASSERT_EQ(s.Screen, ScreenEnding);
    EXPECT_GT(s.Score, 0);

    window.Timer1Timer();
    Save(window, "whole-game-3-ending.png");
    Surface ending(272, 272, PixelFormat::Rgb32);
    DrawPicture(TestAssets().Ending(0, PixelFormat::Rgb32), ending);
    EXPECT_EQ(window.ClientArea().ColourAt(100, 100, TestAssets().palette), ending.ColourAt(100, 100, TestAssets().palette));

    QTest::keyPress(&window, Qt::Key_Z);
    window.Timer1Timer();
    QTest::keyRelease(&window, Qt::Key_Z);
    EXPECT_EQ(s.Screen, ScreenTitle);
    for (int i = 0; i < 61; ++i) window.Timer1Timer();
    Save(window, "whole-game-4-title-again.png");
    EXPECT_EQ(window.windowTitle(), QString::fromUtf8("こるべに"));
    EXPECT_TRUE(window.errors.empty());
}

}  // namespace

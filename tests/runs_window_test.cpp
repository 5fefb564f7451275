// Runs kept by the window, verified and watched: the window and burrowkin-sim
// must agree on every run, whoever played it.
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>

#include "app/main_window.h"
#include "app/run_folder.h"
#include "tests/support/run_program.h"
#include "tests/support/test_assets.h"

namespace {

namespace fs = std::filesystem;

ProgramRun Sim(const std::string& args) { return RunProgram(std::string(BURROWKIN_SIM) + " " + args); }

// The number after "key": in a line of JSON.
long long JsonNumber(const std::string& json, const std::string& key)
{
    const std::size_t at = json.find("\"" + key + "\":");
    if (at == std::string::npos) return -1;
    return std::atoll(json.c_str() + at + key.size() + 3);
}

class RunsWindow : public ::testing::Test {
protected:
    fs::path dir = fs::temp_directory_path() / ("burrowkin-runs-" + std::to_string(::getpid()));
    void SetUp() override
    {
        fs::remove_all(dir);
        fs::create_directories(dir / "runs");
    }
    void TearDown() override { fs::remove_all(dir); }

    std::vector<fs::path> Runs() const
    {
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(dir / "runs")) files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        return files;
    }
};

// Ticks the window by hand, with keys pressed and released between ticks.
struct Player {
    TForm1& form;

    void Tick(int n = 1)
    {
        for (int i = 0; i < n; ++i) form.Timer1Timer();
    }
    void Tap(Qt::Key key)
    {
        QTest::keyPress(&form, key);
        Tick();
        QTest::keyRelease(&form, key);
        Tick();
    }
    void Enter(const std::string& letters)
    {
        static const std::map<char, Qt::Key> Direction = {
            {'q', Qt::Key_Up}, {'w', Qt::Key_Down}, {'e', Qt::Key_Left}, {'r', Qt::Key_Right}};
        for (char letter : letters) Tap(Direction.at(letter));
    }
    // Random keys for a while, each held for a few ticks.
    void Wander(int ticks, unsigned seed)
    {
        const Qt::Key keys[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right, Qt::Key_Space, Qt::Key_Z};
        std::mt19937 random(seed);
        int held = 0;
        for (int k = 0; k < ticks && form.game().state.Screen == ScreenPlay; ++k) {
            const int want = k % 4 ? held : int(random() % 64) & (k % 12 ? 0x0f : 0x3f);
            for (int bit = 0; bit < 6; ++bit) {
                if ((want & ~held) >> bit & 1) QTest::keyPress(&form, keys[bit]);
                if ((held & ~want) >> bit & 1) QTest::keyRelease(&form, keys[bit]);
            }
            held = want;
            Tick();
        }
        for (int bit = 0; bit < 6; ++bit)
            if (held >> bit & 1) QTest::keyRelease(&form, keys[bit]);
    }
};

TEST_F(RunsWindow, EveryCharactersGameIsKeptAndVerifiesWithTheWindowsOwnResult)
{
    constexpr std::uint32_t Seed = 5150;
    RunOptions recording;
    recording.seed = Seed;
    recording.recordFolder = (dir / "runs").string();
    TForm1 form(TestAssets(), PixelFormat::Rgb32, "/nonexistent", 1, recording);
    form.setupDialog = [] { return GameSettings{.width = 40, .height = 30, .beginner = false, .speedToDeath = 11}; };
    form.show();
    const GameState& s = form.game().state;
    Player p{form};

    const ProgramRun cave = Sim("generate --width 40 --height 30 --seed " + std::to_string(Seed) + " --variant 2");
    struct Result {
        long long ticks, score, misses;
    };
    std::vector<Result> played;
    for (int variant = 0; variant < 3; ++variant) {
        p.Tick(70);  // the title listens after three seconds
        if (variant >= 1) p.Enter("qweqrrewwqe");
        if (variant == 2) p.Enter("ewwrqqeer");
        ASSERT_EQ(s.Variant, variant);
        QTest::keyPress(&form, Qt::Key_Space);
        p.Tick();
        ASSERT_EQ(s.Screen, ScreenPlay);
        if (variant == 2) {
            EXPECT_EQ(JsonNumber(cave.out, "random_state"), s.RandomState) << "the window's cave of the seed";
        }
        // Space again on the first tick: held since the title's last tick, so no press.
        p.Tap(Qt::Key_Space);
        p.Wander(900, unsigned(variant));  // past the ghost's first appearance
        played.push_back({s.FrameIndex - 16, s.Score, s.Misses});
        if (s.Screen == ScreenPlay) {
            QTest::keyClick(&form, Qt::Key_F2, Qt::ShiftModifier);
        } else {
            p.Tap(Qt::Key_Z);  // from the ending
        }
        p.Tick(2);
    }

    const std::vector<fs::path> runs = Runs();
    ASSERT_EQ(runs.size(), 3u);
    for (int variant = 0; variant < 3; ++variant) {
        SCOPED_TRACE("character " + std::to_string(variant));
        EXPECT_NE(runs[variant].filename().string().find("_40x30_character" + std::to_string(variant) + "_seed5150"),
                  std::string::npos) << runs[variant];
        const ProgramRun verify = Sim("verify " + runs[variant].string());
        EXPECT_EQ(JsonNumber(verify.out, "ticks"), played[variant].ticks) << verify.out << verify.err;
        EXPECT_EQ(JsonNumber(verify.out, "score"), played[variant].score);
        EXPECT_EQ(JsonNumber(verify.out, "misses"), played[variant].misses);
        EXPECT_EQ(JsonNumber(verify.out, "seed"), Seed);
    }
}

TEST_F(RunsWindow, NothingIsWrittenWithoutRecording)
{
    const fs::path home = dir / "home";
    fs::create_directories(home);
    const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
    {
        TForm1 form(TestAssets(), PixelFormat::Rgb32, "/nonexistent");
        form.setupDialog = [] { return GameSettings{.width = 20, .height = 20}; };
        form.show();
        Player p{form};
        p.Tick(70);
        p.Tap(Qt::Key_Space);
        p.Wander(100, 1);
        QTest::keyClick(&form, Qt::Key_F2, Qt::ShiftModifier);
        form.close();
    }
    ::setenv("HOME", oldHome.c_str(), 1);
    ::unsetenv("XDG_DATA_HOME");
    EXPECT_TRUE(fs::is_empty(home));
    EXPECT_TRUE(fs::is_empty(dir / "runs"));
}

TEST_F(RunsWindow, ASolvedRunWatchedEndsAsTheSimulatorSaysAlsoAtFourTimesTheSpeed)
{
    const std::string file = (dir / "solved.burrowkin-run").string();
    const ProgramRun solve = Sim("solve --width 30 --height 24 --variant 1 --seed 9 --out " + file);
    ASSERT_NE(solve.out.find("\"solved\":true"), std::string::npos) << solve.out << solve.err;
    const ProgramRun verify = Sim("verify " + file);
    ASSERT_EQ(verify.status, 0) << verify.out << verify.err;

    std::vector<int> frames;
    for (bool fast : {false, true}) {
        RunOptions watching;
        watching.watch = ReadRunFile(file);
        TForm1 form(TestAssets(), PixelFormat::Rgb32, "/nonexistent", 1, watching);
        form.show();
        const GameState& s = form.game().state;
        EXPECT_EQ(s.Screen, ScreenPlay);
        if (fast) QTest::keyPress(&form, Qt::Key_Tab);
        int frame = 0;
        for (; form.Watching() && frame < 100000; ++frame) form.Timer1Timer();
        frames.push_back(frame);
        EXPECT_EQ(s.Screen, ScreenEnding);
        EXPECT_EQ(s.FrameIndex - 16, JsonNumber(verify.out, "ticks"));
        EXPECT_EQ(s.Score, JsonNumber(verify.out, "score"));
        EXPECT_EQ(s.Misses, JsonNumber(verify.out, "misses"));
        EXPECT_EQ(s.Variant, 1);
        if (fast) QTest::keyRelease(&form, Qt::Key_Tab);
        // The ending waits for a press, which the player gives.
        QTest::keyPress(&form, Qt::Key_Z);
        form.Timer1Timer();
        form.Timer1Timer();
        EXPECT_EQ(s.Screen, ScreenTitle);
    }
    EXPECT_LE(frames[1], frames[0] / 4 + 2);
}

// A game killed while it kept a run leaves a piece of it; the next start removes it.
TEST_F(RunsWindow, TheStartRemovesWhatAKilledGameLeftWhileKeepingARun)
{
    const fs::path left = dir / "runs" / ".a.burrowkin-run.unfinished-Ab12Cd";
    std::ofstream(left) << "x";
    fs::last_write_time(left, fs::file_time_type::clock::now() - std::chrono::minutes(2));
    EXPECT_EQ(PrepareRunFolder((dir / "runs").string()), (dir / "runs").string());
    EXPECT_FALSE(fs::exists(left));
}

TEST_F(RunsWindow, ABadRecordFolderStopsTheStartAndABadRunLeavesTheTitle)
{
    const std::string game = BURROWKIN_GAME;
    const ProgramRun missing = RunProgram(game + " --record " + (dir / "nowhere").string());
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("does not exist"), std::string::npos) << missing.err;
    const ProgramRun file = RunProgram(game + " --record " + BURROWKIN_GAME);
    EXPECT_EQ(file.status, 2);
    EXPECT_NE(file.err.find("is not a folder"), std::string::npos) << file.err;

    // A run whose header says it ended with Shift+F2 where its play reaches the goal.
    const std::string altered = (dir / "altered.burrowkin-run").string();
    ASSERT_EQ(Sim("solve --width 20 --height 20 --seed 6 --out " + altered).status, 0);
    std::fstream(altered, std::ios::in | std::ios::out | std::ios::binary).seekp(2 * 13).put(2);
    for (const std::string how : {"watch", "race"}) {
        const ProgramRun bad = RunProgram("timeout -s TERM 3 " + game + " --" + how + " " + BURROWKIN_GAME);
        EXPECT_NE(bad.err.find("cannot " + how + " " + game + ": not a run file"), std::string::npos) << bad.err;
        const ProgramRun contradicted = RunProgram("timeout -s TERM 3 " + game + " --" + how + " " + altered);
        const std::string problem = "cannot " + how + " " + altered + ": not a run file: its header says it ended with Shift+F2";
        EXPECT_NE(contradicted.err.find(problem), std::string::npos) << contradicted.err;
    }
}

}  // namespace

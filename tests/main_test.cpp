// The game's start where it cannot open its window or read its pictures: a
// message on standard error and status 1, never an abort or a wait.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/support/run_program.h"

namespace {

namespace fs = std::filesystem;

ProgramRun Game(const std::string& environment, const std::string& arguments = "")
{
    return RunProgram("env " + environment + " timeout 60 " BURROWKIN_GAME " " + arguments);
}

TEST(GameStart, AWindowSystemThatCannotStartIsAMessageAndStatusOne)
{
    const ProgramRun cases[] = {
        Game("-u QT_QPA_PLATFORM -u WAYLAND_DISPLAY DISPLAY=:7391"),  // no X server there
        Game("QT_QPA_PLATFORM=offscreen", "-platform nosuch"),
    };
    for (const ProgramRun& r : cases) {
        EXPECT_EQ(r.status, 1) << r.err;
        EXPECT_NE(r.err.find("needs a desktop window"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("xvfb-run -a"), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("Reinstalling"), std::string::npos) << r.err;
    }
}

TEST(GameStart, APictureThatCannotBeReadIsNamedOnStandardError)
{
    const fs::path data = fs::temp_directory_path() / ("burrowkin-start-" + std::to_string(::getpid()));
    fs::remove_all(data);
    fs::copy(std::getenv("BURROWKIN_DATA_DIR"), data);
    fs::remove(data / "sprites.png");
    ASSERT_EQ(::mkfifo((data / "sprites.png").c_str(), 0600), 0);
    const ProgramRun r = Game("QT_QPA_PLATFORM=offscreen BURROWKIN_DATA_DIR=" + data.string());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("burrowkin: " + (data / "sprites.png").string() + ": cannot be read"), std::string::npos) << r.err;
    fs::remove_all(data);
}

}  // namespace

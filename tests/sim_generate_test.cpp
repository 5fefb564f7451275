#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "tests/support/run_program.h"

namespace {

namespace fs = std::filesystem;

ProgramRun Sim(const std::string& args) { return RunProgram(std::string(BURROWKIN_SIM) + " " + args); }

TEST(SimGenerate, WithoutOptionsPrintsTheDemonstrationCave)
{
    const ProgramRun r = Sim("generate");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "{\"ok\":true,\"goal\":[1072,1984],\"start\":[224,656],\"random_state\":1456010377,"
              "\"inventory\":[2,2,2,0,0,0],\"counts\":[5075,3188,55019,896,930,0,0,0,0,0,0,0,0,0,0,0,"
              "25,25,25,25,25,25,0,0,0,0,0,0,250,25,2,1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0]}\n");
    EXPECT_EQ(r.err, "");
}

TEST(SimGenerate, AFailedGenerationIsAResultNotAnError)
{
    const ProgramRun r = Sim("generate --width 1 --height 1 --seed 197");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("{\"ok\":false,", 0), 0u) << r.out;
}

TEST(SimGenerate, BadUsageIsOneLineAndStatusTwo)
{
    for (const char* args : {"generate --width 0", "generate --height 217", "generate --variant 3", "generate --seed -1",
                             "generate --seed 4294967296", "generate --speed-to-death 17", "generate --bogus",
                             "generate --width", "generate --png-scale 3", "generate --map /nonexistent/dir/map",
                             "frobnicate", ""}) {
        const ProgramRun r = Sim(args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << args << ": " << r.err;
        EXPECT_EQ(r.err.rfind("burrowkin-sim: ", 0), 0u) << r.err;
    }
}

TEST(SimGenerate, WritesTheMapInMemoryOrderAndAPicture)
{
    const fs::path dir = fs::temp_directory_path() / ("sim-files-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const ProgramRun r = Sim("generate --seed 5 --width 30 --height 20 --variant 2 --map " + (dir / "m").string() + " --png " +
                      (dir / "m.png").string() + " --png-scale 2");
    ASSERT_EQ(r.status, 0) << r.err;
    std::ifstream map(dir / "m", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(map)), {});
    ASSERT_EQ(bytes.size(), 65536u);
    EXPECT_EQ(bytes[0], 2);  // the frame of hard rock
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), 31), 1);
    QImage picture;
    ASSERT_TRUE(picture.load(QString::fromStdString((dir / "m.png").string())));
    EXPECT_EQ(picture.size(), QSize(512, 512));
    fs::remove_all(dir);
}

// A result that cannot be kept is a failure: no JSON, one line, status 2.
TEST(SimGenerate, AWriteThatFailsIsAUsageError)
{
    const fs::path dir = fs::temp_directory_path() / ("sim-unwritable-" + std::to_string(::getpid()));
    fs::create_directories(dir / "folder");
    for (const std::string& args : std::vector<std::string>{"generate --png-scale 1 --png /dev/full", "generate --map /dev/full",
                                    "generate --map " + (dir / "folder").string(), "generate >/dev/full"}) {
        const ProgramRun r = Sim(args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_EQ(r.out, "") << args;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << args << ": " << r.err;
    }
    EXPECT_TRUE(fs::is_directory(dir / "folder"));
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
    fs::remove_all(dir);
}

}  // namespace

#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <map>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/support/run_program.h"

namespace {

namespace fs = std::filesystem;

ProgramRun Sim(const std::string& args) { return RunProgram(std::string(BURROWKIN_SIM) + " " + args); }

class SimPlayTest : public ::testing::Test {
protected:
    fs::path dir = fs::temp_directory_path() / ("sim-play-" + std::to_string(::getpid()));
    void SetUp() override { fs::create_directories(dir); }
    void TearDown() override { fs::remove_all(dir); }

    std::string WriteInputs(const std::string& name, const std::vector<int>& words)
    {
        std::ofstream out(dir / name);
        for (int w : words) out << w << "\n";
        return (dir / name).string();
    }
    std::vector<int> RandomWords(int n, unsigned seed)
    {
        std::mt19937 random(seed);
        std::vector<int> words;
        for (int i = 0; i < n; ++i) words.push_back(int(random() % 64));
        return words;
    }
};

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST_F(SimPlayTest, PrintsAHeaderAndALinePerTick)
{
    const std::string inputs = WriteInputs("walk", {8, 8, 8});
    const ProgramRun r = Sim("play --inputs " + inputs);
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0],
              "frame x y fall facing pose action timer toolx tooly death rx ry misses score i0 i1 i2 i3 i4 i5 slot gx gy "
              "gtimer screen rng map");
    // The demonstration's cave: the start is (224, 656); the first tick is frame 17.
    EXPECT_EQ(lines[1].rfind("17 228 656 0 0 1 0 0 0 0 0 224 656 0 0 2 2 2 0 0 0 0 0 0 0 1 1456010377 ", 0), 0u) << lines[1];
}

TEST_F(SimPlayTest, TheSameInputsGiveTheSameTraceEveryTime)
{
    const std::string inputs = WriteInputs("random", RandomWords(1500, 7));
    for (const char* variant : {"0", "1", "2"}) {
        const std::string args = "play --seed 99 --width 40 --height 40 --variant " + std::string(variant) + " --inputs " + inputs;
        const ProgramRun a = Sim(args), b = Sim(args);
        ASSERT_EQ(a.status, 0) << a.err;
        EXPECT_EQ(a.out, b.out);
        EXPECT_EQ(Lines(a.out).size(), 1501u);
    }
}

TEST_F(SimPlayTest, EveryInputBitInEveryVariantRunsToTheEnd)
{
    const std::string inputs = WriteInputs("all", RandomWords(3000, 11));
    for (int variant = 0; variant < 3; ++variant)
        for (const char* extra : {"", " --beginner", " --speed-to-death 0", " --speed-to-death 16 --width 1 --height 1"}) {
            const ProgramRun r = Sim("play --seed " + std::to_string(100 + variant) + " --variant " +
                                     std::to_string(variant) + extra + " --inputs " + inputs);
            EXPECT_EQ(r.status, 0) << variant << extra << ": " << r.err;
            EXPECT_GT(Lines(r.out).size(), 1u);
        }
}

TEST_F(SimPlayTest, ARecordingPlaysForTheTicksAsked)
{
    std::vector<char> bytes(131074, 0);
    std::ofstream(dir / "replay.dat", std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    const ProgramRun r = Sim("play --replay " + (dir / "replay.dat").string() + " --ticks 50");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Lines(r.out).size(), 51u);
}

TEST_F(SimPlayTest, DrawsTheWindowAfterTheLastTick)
{
    const std::string inputs = WriteInputs("few", {8, 8, 0, 32});
    const ProgramRun r = Sim("play --inputs " + inputs + " --png " + (dir / "w.png").string());
    ASSERT_EQ(r.status, 0) << r.err;
    QImage picture;
    ASSERT_TRUE(picture.load(QString::fromStdString((dir / "w.png").string())));
    EXPECT_EQ(picture.size(), QSize(272, 304));
    // A picture already there is replaced only with --force.
    EXPECT_EQ(Sim("play --inputs " + inputs + " --png " + (dir / "w.png").string()).status, 2);
    EXPECT_EQ(Sim("play --inputs " + inputs + " --png " + (dir / "w.png").string() + " --force").status, 0);
}

TEST_F(SimPlayTest, BadInputsAreUsageErrors)
{
    const std::string bad = WriteInputs("bad", {8, 8}), blank = WriteInputs("blank", {8, 8});
    {
        std::ofstream(dir / "bad", std::ios::app) << "eight\n";
        std::ofstream(dir / "blank", std::ios::app) << "\n";
    }
    for (const std::string& args : std::vector<std::string>{"play", "play --inputs " + bad, "play --inputs " + blank,
                                   "play --inputs /nonexistent/file",
                                   "play --replay /nonexistent/replay.dat", "play --inputs " + bad + " --replay x",
                                   "play --ticks -1 --inputs " + bad}) {
        const ProgramRun r = Sim(args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << args << ": " << r.err;
    }
}

TEST_F(SimPlayTest, AFailedCaveIsReportedAndPlayedAnyway)
{
    const std::string inputs = WriteInputs("few", {8, 8});
    const ProgramRun r = Sim("play --width 1 --height 1 --seed 197 --inputs " + inputs);
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("could not be generated"), std::string::npos);
    EXPECT_EQ(Lines(r.out).size(), 3u);
}

// Nothing the simulator reads may keep it waiting, and nothing it writes
// may fail unseen: each is one line and status 2.
TEST_F(SimPlayTest, FilesThatBlockOrCannotBeWrittenAreUsageErrors)
{
    const std::string inputs = WriteInputs("few", {8, 8});
    const std::string pipe = (dir / "pipe").string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string& args : std::vector<std::string>{"play --inputs " + pipe, "play --replay " + pipe, "play --inputs " + dir.string(),
                                    "play --inputs " + inputs + " --png /dev/full",
                                    "play --inputs " + inputs + " --png " + dir.string(),
                                    "play --inputs " + inputs + " --png " + inputs}) {
        const ProgramRun r = RunProgram("timeout 60 " + std::string(BURROWKIN_SIM) + " " + args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_EQ(r.out, "") << args;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << args << ": " << r.err;
    }
    EXPECT_EQ(Sim("play --inputs " + inputs + " >/dev/full").status, 2);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 2);  // no file left half-written
}

}  // namespace

namespace {

// The demonstration as it is heard: the bomb is lit, blasts when its fuse
// has burnt 99 more ticks, and the goal sounds on the very last tick.
TEST(SimPlaySounds, TheDemonstrationsBombAndGoalAreHeardOnTheirTicks)
{
    const char* data = std::getenv("BURROWKIN_DATA_DIR");
    const std::string replay = std::string(data ? data : ".") + "/replay.dat";
    const ProgramRun heard = Sim("play --replay " + replay + " --sounds");
    const ProgramRun trace = Sim("play --replay " + replay);
    ASSERT_EQ(heard.status, 0) << heard.err;
    std::map<std::string, std::vector<long>> ticks;
    std::istringstream lines(heard.out);
    for (std::string name; ;) {
        long tick = 0;
        if (!(lines >> tick >> name)) break;
        ticks[name].push_back(tick);
    }
    ASSERT_EQ(ticks["fuse"].size(), 1u);
    ASSERT_EQ(ticks["blast"].size(), 1u);
    EXPECT_EQ(ticks["blast"][0] - ticks["fuse"][0], 99);
    const long lastTick = long(std::count(trace.out.begin(), trace.out.end(), '\n')) - 2;  // less the header
    EXPECT_EQ(ticks["goal"], std::vector<long>{lastTick});
    EXPECT_FALSE(ticks["treasure"].empty());
}

}  // namespace

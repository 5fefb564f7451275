#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <tuple>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/support/run_program.h"

namespace {

namespace fs = std::filesystem;

ProgramRun Sim(const std::string& args) { return RunProgram(std::string(BURROWKIN_SIM) + " " + args); }

class SimVerify : public ::testing::Test {
protected:
    fs::path dir = fs::temp_directory_path() / ("sim-verify-" + std::to_string(::getpid()));
    std::string run = (dir / "solved.burrowkin-run").string();
    int ticks = 0, score = 0;  // as the automatic player found them
    void SetUp() override
    {
        fs::create_directories(dir);
        const ProgramRun solve = Sim("solve --width 30 --height 24 --variant 1 --seed 9 --out " + run);
        ASSERT_EQ(std::sscanf(solve.out.c_str(), "{\"solved\":true,\"ticks\":%d,\"items_used\":%*d,\"seconds\":%*f,\"score\":%d",
                              &ticks, &score), 2) << solve.out << solve.err;
    }
    void TearDown() override { fs::remove_all(dir); }

    // The run with another ending and count of ticks in its header; Shift+F2
    // and fewer ticks: as if the player had left.
    std::string Rewritten(int ticks, char endedBy = 2)
    {
        const std::string path = (dir / "short.burrowkin-run").string();
        fs::copy_file(run, path, fs::copy_options::overwrite_existing);
        std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
        const char ending[2] = {endedBy, 0}, count[4] = {char(ticks), char(ticks >> 8), char(ticks >> 16), 0};
        f.seekp(2 * 13);
        f.write(ending, 2);
        f.seekp(2 * 14);
        f.write(count, 4);
        return path;
    }
};

TEST_F(SimVerify, TellsAFinishedRunFromAnUnfinishedOneAndFromNoRunAtAll)
{
    const ProgramRun solved = Sim("verify " + run);
    EXPECT_EQ(solved.status, 0) << solved.err;
    char seconds[16];
    std::snprintf(seconds, sizeof seconds, "%.2f", ticks / 20.0);
    EXPECT_EQ(solved.out, "{\"reached_goal\":true,\"complete\":true,\"ticks\":" + std::to_string(ticks) + ",\"seconds\":" +
                              seconds + ",\"score\":" + std::to_string(score) +
                              ",\"misses\":0,\"seed\":9,\"width\":30,\"height\":24,\"variant\":1,\"beginner\":false,"
                              "\"speed_to_death\":11}\n");

    const ProgramRun left = Sim("verify " + Rewritten(100));
    EXPECT_EQ(left.status, 1) << left.err;
    EXPECT_NE(left.out.find("\"reached_goal\":false,\"complete\":true,\"ticks\":100,"), std::string::npos) << left.out;

    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
    for (const std::string& bad : {std::string(BURROWKIN_REPLAY), (dir / "pipe").string(), (dir / "none").string()}) {
        const ProgramRun r = Sim("verify " + bad);
        EXPECT_EQ(r.status, 2) << bad;
        EXPECT_NE(r.err.find(bad), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
}

// A header that the run's own play contradicts is no header the game wrote.
TEST_F(SimVerify, RefusesAHeaderThatThePlayContradicts)
{
    const std::tuple<int, char, std::string> cases[] = {
        {ticks, 2, "it ended with Shift+F2, but its play reaches the goal after " + std::to_string(ticks) + " ticks"},
        {ticks, 3, "it ended with the window closed, but"},
        {70000, 1, "70000 ticks, but its play reaches the goal after " + std::to_string(ticks) + " ticks"},
        {100, 1, "it reached the goal, but its play ends after 100 ticks without it"},
    };
    for (const auto& [headerTicks, endedBy, problem] : cases) {
        const std::string file = Rewritten(headerTicks, endedBy);
        const ProgramRun r = Sim("verify " + file);
        EXPECT_EQ(r.status, 2) << problem;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind("burrowkin-sim: " + file + ": not a run file: its header says " + problem, 0), 0u) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
}

// Every command that reads a run refuses a contradicted header as verify does.
TEST_F(SimVerify, EveryReaderOfRunsRefusesAHeaderThatThePlayContradicts)
{
    const std::string altered = Rewritten(ticks + 1, 1), inputs = (dir / "inputs").string();
    std::ofstream(inputs) << "8\n";
    const ProgramRun verify = Sim("verify " + altered);
    ASSERT_EQ(verify.status, 2);
    for (const std::string& args :
         {"play --run " + altered, "race " + altered + " --inputs " + inputs, "race " + run + " --run " + altered}) {
        const ProgramRun r = Sim(args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_EQ(r.out, "") << args;
        EXPECT_EQ(r.err, verify.err) << args;
    }
}

TEST_F(SimVerify, PlayTracesARunWithItsOwnSettingsOnly)
{
    const ProgramRun trace = Sim("play --run " + run);
    ASSERT_EQ(trace.status, 0) << trace.err;
    EXPECT_EQ(std::count(trace.out.begin(), trace.out.end(), '\n'), 1 + ticks);
    const std::string last = trace.out.substr(trace.out.rfind('\n', trace.out.size() - 2) + 1);
    EXPECT_EQ(last.rfind(std::to_string(16 + ticks) + " ", 0), 0u) << last;  // FrameIndex after the last tick
    std::istringstream columns(last);
    std::vector<std::string> fields{std::istream_iterator<std::string>(columns), {}};
    ASSERT_GE(fields.size(), 3u);
    EXPECT_EQ(fields[fields.size() - 3], "2") << "the goal's ending";
    EXPECT_EQ(Sim("play --run " + run + " --variant 2").status, 2);
    EXPECT_EQ(Sim("play --run " + run + " --replay " + run).status, 2);
}

// A run raced against its own inputs ends level; one cut short trails it; a
// file that is no run file is refused as verify refuses it.
TEST_F(SimVerify, RaceSaysHowTwoRunsOfACaveStand)
{
    const std::string standing = "{\"reached_goal\":true,\"ticks\":" + std::to_string(ticks) + ",\"score\":" +
                                 std::to_string(score) + ",\"misses\":0}";
    const ProgramRun level = Sim("race " + run + " --run " + run);
    ASSERT_EQ(level.status, 0) << level.err;
    EXPECT_EQ(level.out, "{\"player\":" + standing + ",\"shadow\":" + standing + ",\"lead_ticks\":0}\n");

    const ProgramRun behind = Sim("race " + run + " --run " + Rewritten(100));
    ASSERT_EQ(behind.status, 0) << behind.err;
    EXPECT_EQ(behind.out.rfind("{\"player\":{\"reached_goal\":false,\"ticks\":100,", 0), 0u) << behind.out;
    EXPECT_NE(behind.out.find(",\"shadow\":" + standing + ",\"lead_ticks\":null}"), std::string::npos) << behind.out;

    const ProgramRun bad = Sim("race " + std::string(BURROWKIN_REPLAY) + " --run " + run);
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.err, Sim("verify " + std::string(BURROWKIN_REPLAY)).err);
    EXPECT_EQ(Sim("race " + run).status, 2);
}

// The race's picture is checked before the race: not over the raced run nor
// in a missing folder, nor replacing a picture unless --force says so.
TEST_F(SimVerify, RaceChecksThePlaceOfItsPictureFirst)
{
    const std::string inputs = (dir / "inputs").string(), png = (dir / "race.png").string();
    std::ofstream(inputs) << "8\n";
    const std::string race = "race " + run + " --inputs " + inputs;
    const auto size = fs::file_size(run);
    for (const std::string& refused :
         {race + " --png " + run, race + " --png /nonexistent/race.png", race + " --force"}) {
        const ProgramRun r = Sim(refused);
        EXPECT_EQ(r.status, 2) << refused;
        EXPECT_EQ(r.out, "") << refused;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    EXPECT_EQ(fs::file_size(run), size);
    EXPECT_EQ(Sim(race + " --png " + png).status, 0);
    EXPECT_NE(Sim(race + " --png " + png).err.find("exists already (--force replaces it)"), std::string::npos);
    EXPECT_EQ(Sim(race + " --png " + png + " --force").status, 0);
}

}  // namespace

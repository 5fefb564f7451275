#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "tests/support/run_program.h"

namespace {

namespace fs = std::filesystem;

ProgramRun Sim(const std::string& args) { return RunProgram(std::string(BURROWKIN_SIM) + " " + args); }

std::string Bytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

fs::path TempFile(const std::string& name)
{
    return fs::temp_directory_path() / (name + "-" + std::to_string(::getpid()));
}

// The shipped demonstration, played as the title screen plays it, with the
// normal and with the beginner's starting counts: the goal is taken, no death
// and no miss on the way, well inside the time a watcher waits.
TEST(SimSolve, TheShippedDemonstrationReachesTheGoalWithoutDying)
{
    for (const std::string extra : {"", " --beginner"}) {
        const ProgramRun r = Sim(std::string("play --replay ") + BURROWKIN_REPLAY + extra);
        ASSERT_EQ(r.status, 0) << r.err;
        std::istringstream lines(r.out);
        std::string line;
        std::getline(lines, line);  // the header
        int ticks = 0;
        std::vector<long long> last;
        while (std::getline(lines, line)) {
            std::istringstream fields(line);
            last.assign(std::istream_iterator<long long>(fields), {});
            ASSERT_EQ(last.size(), 28u) << line;
            ASSERT_EQ(last[10], 0) << "dies at tick " << ticks << extra;
            ASSERT_EQ(last[13], 0) << "a miss at tick " << ticks << extra;
            ++ticks;
        }
        EXPECT_LT(ticks, 6000) << extra;
        EXPECT_EQ(last[25], 0) << "the demonstration ends on the title screen" << extra;
    }
}

// The recording is made again from nothing and comes out byte for byte.
TEST(SimSolve, RemakingTheDemonstrationGivesTheSameFile)
{
    const fs::path out = TempFile("burrowkin-replay");
    const ProgramRun r = Sim("solve --demo --out " + out.string());
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("{\"solved\":true,\"ticks\":", 0), 0u) << r.out;
    EXPECT_TRUE(Bytes(out) == Bytes(BURROWKIN_REPLAY)) << "assets/replay.dat is out of date: cmake --build build --target replay";
    fs::remove(out);
}

TEST(SimSolve, SolvesASmallCaveAndWritesItsRecording)
{
    const fs::path out = TempFile("burrowkin-small");
    const ProgramRun r = Sim("solve --width 30 --height 30 --seed 2 --out " + out.string());
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("{\"solved\":true,\"ticks\":", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("\"items_used\":"), std::string::npos);
    EXPECT_NE(r.out.find("\"seconds\":"), std::string::npos);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1);

    // Words 0 to 3: the random state the generation left, a byte each.
    const ProgramRun g = Sim("generate --width 30 --height 30 --seed 2");
    const auto at = g.out.find("\"random_state\":") + 15;
    const std::uint32_t state = std::uint32_t(std::stoul(g.out.substr(at)));
    const std::string bytes = Bytes(out);
    ASSERT_EQ(bytes.size(), 131074u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(std::uint8_t(bytes[2 * i]), std::uint8_t(state >> (8 * i)));
        EXPECT_EQ(bytes[2 * i + 1], 0);
    }
    EXPECT_EQ(bytes.substr(8, 4), "BKRN");  // a run file, which carries its cave
    EXPECT_NE(bytes[32] | bytes[33], 0);  // the first tick does something
    fs::remove(out);
}

TEST(SimSolve, AnUnsolvedCaveIsAResultAndWritesNothing)
{
    const fs::path out = TempFile("burrowkin-unsolved");
    // A 1 by 1 cave that cannot be made from this seed.
    ProgramRun r = Sim("solve --width 1 --height 1 --seed 197 --out " + out.string());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("{\"solved\":false,", 0), 0u) << r.out;
    EXPECT_FALSE(fs::exists(out));

    // In this cave of the third character no move the search knows leads
    // out: it tries every one from everywhere it gets to, and says so.
    r = Sim("solve --width 50 --height 50 --variant 2 --seed 33 --out " + out.string());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"generated\":true,\"out_of_time\":false,\"unfinishable\":true,\"out_of_memory\":false,"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\"out_of_expansions\":false}"), std::string::npos) << r.out;
    EXPECT_FALSE(fs::exists(out));

    // Stopped by the count of expansions, and it says so.
    r = Sim("solve --width 30 --height 30 --seed 2 --max-expansions 1 --out " + out.string());
    EXPECT_NE(r.out.find("\"out_of_time\":false,\"unfinishable\":false,\"out_of_memory\":false,\"misses\":0,"
                         "\"out_of_expansions\":true}\n"),
              std::string::npos)
        << r.out;
    EXPECT_FALSE(fs::exists(out));
}

// The second character starts walled in without a pickaxe: its bombs open the
// way at the price of lives, which the run file keeps and verify reports.
TEST(SimSolve, AWayThatCostsLivesIsAWayAndItsRunSaysSo)
{
    const fs::path out = TempFile("burrowkin-misses");
    const ProgramRun r = Sim("solve --width 50 --height 50 --variant 1 --seed 12 --out " + out.string());
    ASSERT_EQ(r.out.rfind("{\"solved\":true,", 0), 0u) << r.out;
    const std::size_t misses = r.out.find("\"misses\":");
    ASSERT_NE(misses, std::string::npos);
    EXPECT_NE(r.out[misses + 9], '0') << r.out;
    const ProgramRun v = Sim("verify " + out.string());
    EXPECT_EQ(v.status, 0) << v.out << v.err;
    EXPECT_NE(v.out.find(r.out.substr(misses, r.out.find_first_of(",}", misses) - misses)), std::string::npos) << v.out;
    fs::remove(out);
}

// The largest cave with no end of expansions: the memory bound stops the
// search as time would, with a result and no abort.
TEST(SimSolve, TheMemoryBoundEndsASearchLikeTime)
{
    const ProgramRun r = Sim("solve --width 216 --height 216 --seed 3 --max-expansions 100000000 --max-memory 16");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("{\"solved\":false,", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("\"out_of_time\":true,\"unfinishable\":false,\"out_of_memory\":true,"), std::string::npos)
        << r.out;
}

// A place the recording could never be kept is refused before the search,
// even when the search would find nothing to keep.
TEST(SimSolve, ABadOutPathIsRefusedBeforeTheSearch)
{
    const std::string search = "solve --width 1 --height 1 --seed 197 --out ";
    for (const std::string& path : {fs::temp_directory_path().string(), std::string("/dev/null"),
                                   (fs::temp_directory_path() / "burrowkin-no-such-folder" / "run.dat").string()}) {
        const ProgramRun r = Sim(search + path);
        EXPECT_EQ(r.status, 2) << path;
        EXPECT_TRUE(r.out.empty()) << path << ": " << r.out;
        EXPECT_NE(r.err.find(path), std::string::npos) << r.err;
    }

    // A file that is there already is kept, unless --force lets the recording replace it.
    const fs::path mine = TempFile("burrowkin-mine");
    std::ofstream(mine) << "mine";
    const std::string small = "solve --width 30 --height 30 --seed 2 --out " + mine.string();
    const ProgramRun kept = Sim(small);
    EXPECT_EQ(kept.status, 2);
    EXPECT_NE(kept.err.find(mine.string() + ": it exists already (--force replaces it)"), std::string::npos) << kept.err;
    EXPECT_EQ(Bytes(mine), "mine");
    EXPECT_EQ(Sim(small + " --force").status, 0);
    EXPECT_EQ(Bytes(mine).size(), 131074u);
    fs::remove(mine);
}

TEST(SimSolve, BadUsageIsOneLineAndStatusTwo)
{
    for (const char* args : {"solve --max-seconds soon", "solve --max-seconds -1", "solve --max-expansions 0",
                             "solve --max-memory 0", "solve --max-memory lots",
                             "solve --frobnicate", "solve --out", "solve --demo --demo",
                             "solve --width 30 --height 30 --seed 2 --out /nonexistent/dir/replay.dat"}) {
        const ProgramRun r = Sim(args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << args << ": " << r.err;
        EXPECT_EQ(r.err.rfind("burrowkin-sim: ", 0), 0u) << r.err;
    }
}

}  // namespace

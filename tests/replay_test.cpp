#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "cave/replay.h"

namespace {

namespace fs = std::filesystem;

TEST(RecordInput, StoresTheTicksFlagsAsAWord)
{
    GameState s;
    s.FrameIndex = 16;
    s.InputNow = {1, 0, 0, 0, 0, 1};  // up and use
    RecordInput(s);
    EXPECT_EQ(s.ReplayBuffer[16], 33);
    EXPECT_EQ(s.FrameIndex, 17);
    s.InputNow = {1, 1, 1, 1, 1, 1};
    RecordInput(s);
    EXPECT_EQ(s.ReplayBuffer[17], 63);
}

TEST(RecordInput, StopsRecordingAtTheEndOfTheBufferButKeepsCounting)
{
    GameState s;
    s.FrameIndex = 65535;
    s.InputNow = {0, 0, 1, 0, 0, 0};
    s.ReplayBuffer[65536] = 0x1234;
    RecordInput(s);
    RecordInput(s);
    RecordInput(s);
    EXPECT_EQ(s.ReplayBuffer[65535], 4);
    EXPECT_EQ(s.ReplayBuffer[65536], 0x1234);
    EXPECT_EQ(s.FrameIndex, 65538);
}

TEST(RecordInput, PlaysBackOnlyTheLowSixBits)
{
    GameState s;
    s.DemoMode = true;
    s.FrameIndex = 20;
    s.ReplayBuffer[20] = 0x00ff;
    s.InputNow = {};
    RecordInput(s);
    EXPECT_EQ(s.InputNow, (InputFlags{1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(s.ReplayBuffer[20], 0x00ff);  // playback never writes
}

TEST(RecordInput, PlaybackReadsTheLastWordAndThenNothing)
{
    GameState s;
    s.DemoMode = true;
    s.ReplayBuffer[65536] = 8;  // right
    s.FrameIndex = 65536;
    s.KeysHeld = {1, 1, 1, 1, 1, 1};
    s.InputNow = {1, 1, 1, 1, 1, 1};
    RecordInput(s);
    EXPECT_EQ(s.InputNow, (InputFlags{0, 0, 0, 1, 0, 0}));
    for (int i = 0; i < 3; ++i) {
        s.InputNow = {1, 1, 1, 1, 1, 1};
        RecordInput(s);
        EXPECT_EQ(s.InputNow, InputFlags{});
    }
}

class LoadReplayTest : public ::testing::Test {
protected:
    fs::path dir = fs::temp_directory_path() / ("burrowkin-replay-" + std::to_string(::getpid()));
    ReplayWordBuffer buffer{};
    void SetUp() override
    {
        fs::create_directories(dir);
        buffer.fill(0xeeee);
    }
    void TearDown() override
    {
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir);
    }
    fs::path Write(std::size_t bytes, std::uint8_t first = 1)
    {
        fs::path file = dir / "replay.dat";
        std::ofstream out(file, std::ios::binary);
        for (std::size_t i = 0; i < bytes; ++i) out.put(char(std::uint8_t(first + i)));
        return file;
    }
    std::string LoadMessage(const fs::path& path)
    {
        try {
            LoadReplay(buffer, path.string());
        } catch (const ReplayLoadError& e) {
            return e.what();
        }
        return "";
    }
};

TEST_F(LoadReplayTest, AShortFileFillsWhatItHas)
{
    LoadReplay(buffer, Write(100).string());
    EXPECT_EQ(buffer[0], 0x0201);
    EXPECT_EQ(buffer[49], 0x6463);
    EXPECT_EQ(buffer[50], 0xeeee);
}

TEST_F(LoadReplayTest, AnOddByteReplacesOnlyTheLowHalfOfItsWord)
{
    LoadReplay(buffer, Write(3).string());
    EXPECT_EQ(buffer[1], 0xee03);
}

TEST_F(LoadReplayTest, BytesPastTheBufferAreNotRead)
{
    LoadReplay(buffer, Write(200000, 0).string());
    EXPECT_EQ(buffer[65536], std::uint16_t(((131073 % 256) << 8) | (131072 % 256)));
}

TEST_F(LoadReplayTest, AMissingFileSaysSo)
{
    EXPECT_EQ(LoadMessage(dir / "replay.dat"), ReplayNotFound);
    EXPECT_EQ(buffer[0], 0xeeee);
}

TEST_F(LoadReplayTest, ADirectoryCannotBeRead)
{
    fs::create_directories(dir / "replay.dat");
    EXPECT_EQ(LoadMessage(dir / "replay.dat"), ReplayAccessDenied);
}

TEST_F(LoadReplayTest, APipeIsRefusedWithoutWaitingForAWriter)
{
    ASSERT_EQ(::mkfifo((dir / "replay.dat").c_str(), 0600), 0);
    EXPECT_EQ(LoadMessage(dir / "replay.dat"), "replay.dat cannot be read: not a regular file");
    EXPECT_EQ(buffer[0], 0xeeee);
}

TEST_F(LoadReplayTest, AReadOnlyFileLoads)
{
    fs::path file = Write(10);
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(LoadMessage(file), "");
    EXPECT_EQ(buffer[4], 0x0a09);
}

TEST_F(LoadReplayTest, AFileWithoutReadPermissionIsRefused)
{
    if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
    fs::path file = Write(10);
    fs::permissions(file, fs::perms::owner_write);
    EXPECT_EQ(LoadMessage(file), ReplayAccessDenied);
}

}  // namespace

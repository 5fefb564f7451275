#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/files.h"

namespace {

namespace fs = std::filesystem;

class Files : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("burrowkin-files-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string At(const char* name) const { return (dir / name).string(); }
    static std::string Text(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    FileProblem ReadProblem(const std::string& path) const
    {
        try {
            ReadRegularFile(path, 100);
        } catch (const FileError& e) {
            EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
            return e.problem;
        }
        ADD_FAILURE() << path << " was read";
        return FileProblem::Failed;
    }
    std::size_t Entries() const { return std::size_t(std::distance(fs::directory_iterator(dir), {})); }

    fs::path dir;
};

TEST_F(Files, ReadsAtMostTheBytesAskedFor)
{
    std::ofstream(At("f")) << "abcdef";
    EXPECT_EQ(ReadRegularFile(At("f"), 4), (std::vector<std::uint8_t>{'a', 'b', 'c', 'd'}));
    EXPECT_EQ(ReadRegularFile(At("f"), 100).size(), 6u);
    EXPECT_EQ(ReadWholeRegularFile(At("f"), 6).size(), 6u);
    try {
        ReadWholeRegularFile(At("f"), 5);
        ADD_FAILURE() << "a file larger than allowed was read";
    } catch (const FileError& e) {
        EXPECT_EQ(e.problem, FileProblem::TooLarge);
    }
}

TEST_F(Files, RefusesWhatIsNotARegularFileWithoutWaiting)
{
    ASSERT_EQ(::mkfifo(At("pipe").c_str(), 0600), 0);
    EXPECT_EQ(ReadProblem(At("pipe")), FileProblem::NotRegular);
    EXPECT_EQ(ReadProblem(dir.string()), FileProblem::AccessDenied);
    EXPECT_EQ(ReadProblem(At("missing")), FileProblem::NotFound);
    fs::create_symlink(At("nowhere"), At("dangling"));
    EXPECT_EQ(ReadProblem(At("dangling")), FileProblem::NotFound);
    fs::create_symlink(At("loop"), At("loop"));
    EXPECT_EQ(ReadProblem(At("loop")), FileProblem::NotFound);
}

TEST_F(Files, AWriteReplacesWholeOrLeavesNothing)
{
    WriteFileAtomically(At("f"), "new", 3);
    WriteFileAtomically(At("f"), "newer", 5);
    EXPECT_EQ(Text(At("f")), "newer");
    EXPECT_EQ(Entries(), 1u);

    // A device or a pipe is refused, never replaced by a file.
    EXPECT_THROW(WriteFileAtomically("/dev/null", "x", 1), FileError);
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    ASSERT_EQ(::mkfifo(At("pipe").c_str(), 0600), 0);
    EXPECT_THROW(WriteFileAtomically(At("pipe"), "x", 1), FileError);
    EXPECT_TRUE(fs::is_fifo(At("pipe")));
    EXPECT_THROW(WriteFileAtomically(At("no/such/folder"), "x", 1), FileError);
    EXPECT_EQ(Entries(), 2u);

    // Through a link, the file it names gets the bytes.
    fs::create_symlink(At("f"), At("link"));
    WriteFileAtomically(At("link"), "linked", 6);
    EXPECT_TRUE(fs::is_symlink(At("link")));
    EXPECT_EQ(Text(At("f")), "linked");
}

TEST_F(Files, AFullDiskLeavesTheOlderFileAndNoPiece)
{
    WriteFileAtomically(At("f"), "old", 3);
    // A file size limit fails writes as a full disk does.
    struct rlimit saved {};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    struct rlimit small = saved;
    small.rlim_cur = 1000;
    auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &small);
    const std::string big(5000, 'x');
    EXPECT_THROW(WriteFileAtomically(At("f"), big.data(), big.size()), FileError);
    EXPECT_THROW(WriteNewFileAtomically(At("g"), big.data(), big.size()), FileError);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(Text(At("f")), "old");
    EXPECT_EQ(Entries(), 1u);
}

// A writer killed in the middle of a write leaves a hidden piece that says
// what it is; it is removed once no write can still be making it.
TEST_F(Files, APieceAKilledWriteLeavesIsNamedAndRemovedOnceOld)
{
    const pid_t writer = ::fork();
    if (writer == 0) {
        // Past the file size limit the system kills the writer.
        const struct rlimit small {1000, 1000}, noCore {0, 0};
        ::setrlimit(RLIMIT_CORE, &noCore);
        ::setrlimit(RLIMIT_FSIZE, &small);
        std::signal(SIGXFSZ, SIG_DFL);
        const std::string big(5000, 'x');
        WriteNewFileAtomically(At("a.burrowkin-run"), big.data(), big.size());
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(writer, &status, 0), writer);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_EQ(Entries(), 1u);
    const std::string piece = fs::directory_iterator(dir)->path().filename().string();
    EXPECT_EQ(piece.rfind(".a.burrowkin-run.unfinished-", 0), 0u) << piece;

    std::ofstream(At(".b.png.unfinished-abcdef")) << "another kind of file's";
    EXPECT_EQ(RemoveUnfinishedFiles(dir.string(), ".burrowkin-run", 60), 0) << "a write may still be going on";
    for (const auto& entry : fs::directory_iterator(dir))
        fs::last_write_time(entry.path(), fs::file_time_type::clock::now() - std::chrono::minutes(2));
    EXPECT_EQ(RemoveUnfinishedFiles(dir.string(), ".burrowkin-run", 60), 1);
    EXPECT_FALSE(fs::exists(At(piece.c_str())));
    EXPECT_EQ(Entries(), 1u);
}

TEST_F(Files, ANewFileNeverReplacesAnOlderOne)
{
    EXPECT_TRUE(WriteNewFileAtomically(At("run"), "first", 5));
    EXPECT_FALSE(WriteNewFileAtomically(At("run"), "second", 6));
    EXPECT_EQ(Text(At("run")), "first");
    EXPECT_EQ(Entries(), 1u);
}

}  // namespace

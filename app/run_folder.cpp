#include "app/run_folder.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <unistd.h>

#include "core/files.h"

namespace fs = std::filesystem;

namespace {


std::string Env(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// A probe file made and removed: a read-only disk passes every other test.
void CheckWritable(const std::string& folder)
{
    std::string probe = folder + "/.burrowkin-probe-XXXXXX";
    const int fd = ::mkstemp(probe.data());
    if (fd < 0)
        throw RunFolderError("runs cannot be kept in " + folder + ": " + std::strerror(errno));
    ::close(fd);
    ::unlink(probe.c_str());
}

// The pieces of runs that a crash or a kill cut off. Two games may keep runs
// in one folder: a piece younger than a minute may be another's, still growing.
void RemoveUnfinishedRuns(const std::string& folder)
{
    constexpr int MinuteSeconds = 60;
    RemoveUnfinishedFiles(folder, RunExtension, MinuteSeconds);
}

}  // namespace

std::string DefaultRunFolder()
{
    // A relative XDG_DATA_HOME is ignored, as desktops do; then ~/.local/share.
    std::string data = Env("XDG_DATA_HOME");
    if (data.empty() || data[0] != '/') {
        const std::string home = Env("HOME");
        if (home.empty()) throw RunFolderError("no folder for runs: neither XDG_DATA_HOME nor HOME is set");
        data = home + "/.local/share";
    }
    return data + "/burrowkin/runs";
}

std::string PrepareRunFolder(const std::string& folder)
{
    std::error_code ec;
    if (folder.empty()) {
        const std::string made = DefaultRunFolder();
        fs::create_directories(made, ec);
        if (ec) throw RunFolderError("the folder for runs " + made + " cannot be made: " + ec.message());
        CheckWritable(made);
        RemoveUnfinishedRuns(made);
        return made;
    }
    if (!fs::exists(folder, ec)) throw RunFolderError("the folder for runs " + folder + " does not exist");
    if (!fs::is_directory(folder, ec)) throw RunFolderError(folder + " is not a folder: runs are kept in a folder");
    CheckWritable(folder);
    RemoveUnfinishedRuns(folder);
    return folder;
}

std::string KeepRunFile(const std::string& folder, const RunFile& run, std::time_t started)
{
    const std::vector<std::uint8_t> bytes = RunFileBytes(run);
    constexpr int MostCopies = 1000;  // of one second's name
    for (int copy = 1; copy <= MostCopies; ++copy) {
        const std::string path = folder + "/" + RunFileName(run.header, started, copy);
        if (WriteNewFileAtomically(path, bytes.data(), bytes.size())) return path;
    }
    throw FileError(FileProblem::Failed, folder, "every name for this run is taken");
}

#include "tools/sim/sim_context.h"

#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "core/files.h"
#include "tools/sim/pictures.h"

SimContext::SimContext(bool needPictures)
{
    if (needPictures) art = LoadPictures();
    game = std::make_unique<Game>(art);
}


std::vector<std::uint8_t> ReadFileOrFail(const std::string& path, std::size_t maxBytes)
{
    try {
        return ReadWholeRegularFile(path, maxBytes);
    } catch (const FileError& e) {
        throw UsageError(e.what());
    }
}

void CheckOutputPath(const std::string& option, const std::string& path, bool replace)
{
    if (path.empty()) throw UsageError(option + " needs a file name");
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) throw UsageError("cannot write " + path + ": it is a folder");
        if (!S_ISREG(info.st_mode)) throw UsageError("cannot write " + path + ": it is not a regular file");
        if (!replace) throw UsageError("cannot write " + path + ": it exists already (--force replaces it)");
    }
    const std::size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        throw UsageError("cannot write " + path + ": there is no folder " + folder);
    if (::access(folder.c_str(), W_OK | X_OK) != 0) throw UsageError("cannot write " + path + ": the folder is not writable");
}

void WriteFileOrFail(const std::string& path, const void* data, std::size_t bytes, bool replace)
{
    try {
        if (replace) WriteFileAtomically(path, data, bytes);
        else if (!WriteNewFileAtomically(path, data, bytes)) throw UsageError(path + ": cannot be written: it exists already");
    } catch (const FileError& e) {
        throw UsageError(e.what());
    }
}

namespace {
// Far more lines than any run needs, and little enough memory.
constexpr std::size_t MaxInputFileBytes = 64u << 20;
}  // namespace

std::vector<std::uint16_t> ReadInputsOrFail(const std::string& path)
{
    const std::vector<std::uint8_t> bytes = ReadFileOrFail(path, MaxInputFileBytes);
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    std::vector<std::uint16_t> words;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string where = path + " line " + std::to_string(number);
        if (line.empty()) throw UsageError(where + " is blank: each line holds the input word of a tick");
        words.push_back(std::uint16_t(ParseNumber(where, line, 0, 65535)));
    }
    return words;
}

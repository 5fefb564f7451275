#include "tools/sim/sim_context.h"

#include <sstream>

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
        if (line.empty() && in.peek() == EOF) break;
        words.push_back(std::uint16_t(ParseNumber(path + " line " + std::to_string(number), line, 0, 65535)));
    }
    return words;
}

#include "tools/sim/sim_context.h"

#include "core/files.h"
#include "tools/sim/pictures.h"

SimContext::SimContext(bool needPictures)
{
    if (needPictures) art = LoadPictures();
    game = std::make_unique<Game>(art, shell);
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

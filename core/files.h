#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

// Reading and writing whole files safely: a read never waits on a pipe or a
// device, and a write either leaves the whole new file or changes nothing.

enum class FileProblem {
    NotFound,      // no such file, or a link that leads nowhere
    AccessDenied,  // not allowed, or a folder
    NotRegular,    // a pipe, a socket, a device: something a read could wait on
    TooLarge,      // larger than the reader takes
    Failed,        // any other error of the system; the message says which
};

// what() is "<path>: <reason>".
struct FileError : std::runtime_error {
    FileError(FileProblem problem, const std::string& path, const std::string& reason)
        : std::runtime_error(path + ": " + reason), problem(problem), reason(reason)
    {
    }
    FileProblem problem;
    std::string reason;  // without the path: "cannot be read: not a regular file"
};

// The first `maxBytes` bytes of a regular file (all of it when shorter).
// Throws FileError naming `path`.
std::vector<std::uint8_t> ReadRegularFile(const std::string& path, std::size_t maxBytes);

// The whole of a regular file, which may not be larger than `maxBytes`.
// Throws FileError naming `path`.
std::vector<std::uint8_t> ReadWholeRegularFile(const std::string& path, std::size_t maxBytes);

// Writes `bytes` to a temporary file in the folder of `path`, flushes it to
// the disk and renames it to `path`, replacing an older file of that name.
// Throws FileError naming `path`; on failure nothing is left behind. The
// temporary file is hidden and named ".<name>.unfinished-XXXXXX", so that one
// a crash or a kill leaves behind says what it is.
void WriteFileAtomically(const std::string& path, const void* bytes, std::size_t size);

// As WriteFileAtomically, but never replaces a file: false, with nothing
// written, when `path` already exists.
bool WriteNewFileAtomically(const std::string& path, const void* bytes, std::size_t size);

// Removes from `folder` the temporary files that writes to names ending with
// `ending` left behind, once they are `olderThanSeconds` old: a younger one
// may be another program's write that is still going on. Returns how many.
int RemoveUnfinishedFiles(const std::string& folder, const std::string& ending, int olderThanSeconds);

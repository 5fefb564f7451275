#include "core/files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

namespace {

FileProblem ProblemOf(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
    case ELOOP: return FileProblem::NotFound;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS: return FileProblem::AccessDenied;
    default: return FileProblem::Failed;
    }
}

const char* const CannotRead = "cannot be read";
const char* const CannotWrite = "cannot be written";
const std::string UnfinishedMark = ".unfinished-";
constexpr std::size_t UniqueLetters = 6;  // mkstemp's XXXXXX

[[noreturn]] void Fail(const std::string& path, const char* cannot, int error)
{
    throw FileError(ProblemOf(error), path, cannot + std::string(": ") + std::strerror(error));
}

// Closes a descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    // Closes now and says whether the system accepted the last writes.
    bool Close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool WriteAll(int fd, const void* bytes, std::size_t size)
{
    const auto* p = static_cast<const char*>(bytes);
    while (size > 0) {
        const ssize_t n = ::write(fd, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        p += n;
        size -= std::size_t(n);
    }
    return true;
}

// The permission bits that new files do not get.
mode_t FileCreationMask()
{
#ifdef __EMSCRIPTEN__
    // Emscripten's umask() is a stub of its own that masks every bit; Node
    // knows the process's.
    return mode_t(EM_ASM_INT({ return typeof process == 'object' ? process.umask() : 0o22; }));
#else
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
#endif
}

void RefuseUnlessRegular(const std::string& path, mode_t mode, const char* cannot)
{
    if (S_ISDIR(mode)) throw FileError(FileProblem::AccessDenied, path, cannot + std::string(": a folder, not a file"));
    if (!S_ISREG(mode)) throw FileError(FileProblem::NotRegular, path, cannot + std::string(": not a regular file"));
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Where a write to `path` goes: through a link to the file it names. A pipe,
// a device or a folder is never replaced by a file.
std::string WriteTarget(const std::string& path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return path;
    std::string target = path;
    if (S_ISLNK(info.st_mode)) {
        char* resolved = ::realpath(path.c_str(), nullptr);
        if (!resolved) return path;  // a link to nowhere is replaced
        target = resolved;
        std::free(resolved);
        if (::stat(target.c_str(), &info) != 0) return target;
    }
    RefuseUnlessRegular(path, info.st_mode, CannotWrite);
    return target;
}

// Writes the bytes into a new temporary file beside `path`, flushed to the
// disk; returns its name. Throws FileError naming `path`.
std::string WriteTemporary(const std::string& path, const void* bytes, std::size_t size)
{
    const std::size_t start = path.find_last_of('/') + 1;  // 0 without a slash
    std::string name = path.substr(0, start) + "." + path.substr(start) + UnfinishedMark + std::string(UniqueLetters, 'X');
    Descriptor fd(::mkstemp(name.data()));
    if (fd.get() < 0) Fail(path, CannotWrite, errno);
    const bool written = WriteAll(fd.get(), bytes, size) && ::fsync(fd.get()) == 0;
    const int error = errno;
    if (!fd.Close() || !written) {
        const int reported = written ? errno : error;
        ::unlink(name.c_str());
        Fail(path, CannotWrite, reported);
    }
    // mkstemp makes the file private; a kept file is as readable as any other.
    ::chmod(name.c_str(), 0666 & ~FileCreationMask());
    return name;
}

void SyncFolder(const std::string& path)
{
    Descriptor folder(::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0) ::fsync(folder.get());
}

}  // namespace

std::vector<std::uint8_t> ReadRegularFile(const std::string& path, std::size_t maxBytes)
{
#ifdef __EMSCRIPTEN__
    // Node opens a pipe blocking whatever the flags say: a name that is not a
    // regular file is refused before it is opened.
    struct stat named {};
    if (::stat(path.c_str(), &named) != 0) Fail(path, CannotRead, errno);
    RefuseUnlessRegular(path, named.st_mode, CannotRead);
#endif
    // Non-blocking, so that opening a pipe with no writer returns at once.
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) Fail(path, CannotRead, errno);
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) Fail(path, CannotRead, errno);
    RefuseUnlessRegular(path, info.st_mode, CannotRead);

    std::vector<std::uint8_t> bytes(std::min<std::size_t>(maxBytes, std::size_t(info.st_size)));
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd.get(), bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) Fail(path, CannotRead, errno);
        if (n == 0) break;  // the file shrank while we read it
        got += std::size_t(n);
    }
    bytes.resize(got);
    return bytes;
}

std::vector<std::uint8_t> ReadWholeRegularFile(const std::string& path, std::size_t maxBytes)
{
    std::vector<std::uint8_t> bytes = ReadRegularFile(path, maxBytes + 1);
    if (bytes.size() > maxBytes)
        throw FileError(FileProblem::TooLarge, path,
                        CannotRead + std::string(": larger than the ") + std::to_string(maxBytes) + " bytes it may have");
    return bytes;
}

void WriteFileAtomically(const std::string& path, const void* bytes, std::size_t size)
{
    const std::string target = WriteTarget(path);
    const std::string temporary = WriteTemporary(target, bytes, size);
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        Fail(path, CannotWrite, error);
    }
    SyncFolder(target);
}

bool WriteNewFileAtomically(const std::string& path, const void* bytes, std::size_t size)
{
    const std::string temporary = WriteTemporary(path, bytes, size);
#ifdef __EMSCRIPTEN__
    // Emscripten has neither the no-replace rename nor hard links. The name
    // is taken by creating it empty, which fails when it is taken already,
    // and the whole file is then renamed over that empty one.
    int result = -1;
    int error = 0;
    const int claim = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (claim < 0) {
        error = errno;
    } else {
        ::close(claim);
        result = ::rename(temporary.c_str(), path.c_str());
        error = errno;
        if (result != 0) ::unlink(path.c_str());  // the empty claim
    }
    if (result != 0) ::unlink(temporary.c_str());
#else
    int result = ::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE);
    int error = errno;
    if (result != 0) {
        if (error == EINVAL) {
            // A file system without the no-replace rename: a hard link also
            // fails when the name is taken.
            result = ::link(temporary.c_str(), path.c_str());
            error = errno;
        }
        ::unlink(temporary.c_str());
    }
#endif
    if (result != 0 && error == EEXIST) return false;
    if (result != 0) Fail(path, CannotWrite, error);
    SyncFolder(path);
    return true;
}

int RemoveUnfinishedFiles(const std::string& folder, const std::string& ending, int olderThanSeconds)
{
    const std::unique_ptr<DIR, int (*)(DIR*)> listing(::opendir(folder.c_str()), ::closedir);
    if (!listing) return 0;
    const std::string tail = ending + UnfinishedMark;
    const std::time_t now = std::time(nullptr);
    int removed = 0;
    while (const dirent* entry = ::readdir(listing.get())) {
        const std::string name = entry->d_name;
        if (name.size() < 1 + tail.size() + UniqueLetters || name[0] != '.' ||
            name.compare(name.size() - UniqueLetters - tail.size(), tail.size(), tail) != 0)
            continue;
        struct stat info {};
        if (::fstatat(::dirfd(listing.get()), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (!S_ISREG(info.st_mode) || now - info.st_mtime < olderThanSeconds) continue;
        if (::unlinkat(::dirfd(listing.get()), name.c_str(), 0) == 0) ++removed;
    }
    return removed;
}

#include "board/page_files.h"

#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Far larger than any file of the page.
constexpr off_t MaxFileBytes = 64 << 20;

struct Type {
    const char* ending;
    const char* type;
};

constexpr Type Types[] = {
    {".html", "text/html; charset=utf-8"},  {".js", "text/javascript; charset=utf-8"},
    {".mjs", "text/javascript; charset=utf-8"}, {".css", "text/css; charset=utf-8"},
    {".wasm", "application/wasm"},           {".png", "image/png"},
    {".json", "application/json"},          {".burrowkin-run", "application/x-burrowkin-run"},
};

std::string TypeOf(const std::string& path)
{
    for (const Type& t : Types) {
        const std::string ending = t.ending;
        if (path.size() > ending.size() && path.compare(path.size() - ending.size(), ending.size(), ending) == 0) return t.type;
    }
    return "application/octet-stream";
}

std::optional<std::string> RealPath(const std::string& path)
{
    char real[PATH_MAX];
    if (!::realpath(path.c_str(), real)) return std::nullopt;
    return std::string(real);
}

// Each name between slashes is a plain file or folder name.
bool PlainPath(const std::string& path)
{
    if (path.empty() || path[0] != '/' || path.find('\0') != std::string::npos || path.find('\\') != std::string::npos) return false;
    std::size_t at = 1;
    while (at <= path.size()) {
        const std::size_t end = std::min(path.find('/', at), path.size());
        const std::string name = path.substr(at, end - at);
        if (name.empty() && end != path.size()) return false;
        if (!name.empty() && name[0] == '.') return false;
        at = end + 1;
    }
    return true;
}

}  // namespace

PageFiles::PageFiles(const std::string& folder)
{
    const auto real = RealPath(folder);
    struct stat info {};
    if (!real || ::stat(real->c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || ::access(real->c_str(), R_OK | X_OK) != 0)
        throw std::runtime_error("--page " + folder + ": not a folder that can be read");
    root_ = *real;
}

std::optional<PageFiles::File> PageFiles::Find(const std::string& path) const
{
    if (!PlainPath(path)) return std::nullopt;
    std::string wanted = root_ + path;
    if (wanted.back() == '/') wanted += "index.html";
    auto real = RealPath(wanted);
    struct stat info {};
    if (real && ::stat(real->c_str(), &info) == 0 && S_ISDIR(info.st_mode)) real = RealPath(*real + "/index.html");
    if (!real || real->compare(0, root_.size() + 1, root_ + "/") != 0) return std::nullopt;

    const int fd = ::open(real->c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    File file;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= MaxFileBytes) {
        file.bytes.resize(std::size_t(info.st_size));
        std::size_t got = 0;
        while (got < file.bytes.size()) {
            const ssize_t n = ::read(fd, file.bytes.data() + got, file.bytes.size() - got);
            if (n <= 0) break;
            got += std::size_t(n);
        }
        file.bytes.resize(got);
        file.type = TypeOf(*real);
    }
    ::close(fd);
    if (file.type.empty()) return std::nullopt;
    return file;
}

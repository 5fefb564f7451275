#include "cave/replay.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

void RecordInput(GameState& s)
{
    if (s.DemoMode) {
        // The recording ends with word 65536; past it the input is nothing.
        const bool inside = s.FrameIndex >= 0 && s.FrameIndex < ReplayWords;
        s.InputNow = FlagsFromWord(inside ? s.ReplayBuffer[s.FrameIndex] : 0);
    } else if (s.FrameIndex >= 0 && s.FrameIndex < ReplayWords - 1) {
        s.ReplayBuffer[s.FrameIndex] = InputWord(s.InputNow);
    }
    s.FrameIndex += 1;
}

void LoadReplay(ReplayWordBuffer& buffer, const std::string& path)
{
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) throw ReplayLoadError(ReplayAccessDenied);

    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) {
        if (errno == ENOENT || errno == ENOTDIR) throw ReplayLoadError(ReplayNotFound);
        if (errno == EACCES || errno == EPERM || errno == EISDIR) throw ReplayLoadError(ReplayAccessDenied);
        throw ReplayLoadError("replay.dat: " + std::string(std::strerror(errno)));
    }
    std::vector<unsigned char> bytes(ReplayFileBytes);
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file.get());
    if (std::ferror(file.get())) {
        if (errno == EISDIR) throw ReplayLoadError(ReplayAccessDenied);
        throw ReplayLoadError("replay.dat cannot be read: " + std::string(std::strerror(errno)));
    }
    for (std::size_t i = 0; i < got; ++i) {
        std::uint16_t& word = buffer[i / 2];
        word = i % 2 == 0 ? std::uint16_t((word & 0xff00u) | bytes[i]) : std::uint16_t((word & 0x00ffu) | (bytes[i] << 8));
    }
}

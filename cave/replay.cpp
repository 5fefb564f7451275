#include "cave/replay.h"

#include <vector>

#include "core/files.h"

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
    std::vector<std::uint8_t> bytes;
    try {
        bytes = ReadRegularFile(path, ReplayFileBytes);
    } catch (const FileError& e) {
        if (e.problem == FileProblem::NotFound) throw ReplayLoadError(ReplayNotFound);
        if (e.problem == FileProblem::AccessDenied) throw ReplayLoadError(ReplayAccessDenied);
        throw ReplayLoadError("replay.dat " + e.reason);
    }
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::uint16_t& word = buffer[i / 2];
        word = i % 2 == 0 ? std::uint16_t((word & 0xff00u) | bytes[i]) : std::uint16_t((word & 0x00ffu) | (bytes[i] << 8));
    }
}

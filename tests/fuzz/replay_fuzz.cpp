// Any file as replay.dat: it loads what it has and never reaches past the buffer.
#include <sys/mman.h>
#include <unistd.h>

#include <string>

#include "cave/replay.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const int fd = ::memfd_create("replay.dat", 0);
    if (fd < 0) return 0;
    std::size_t written = 0;
    while (written < size) {
        const ssize_t n = ::write(fd, data + written, size - written);
        if (n <= 0) break;
        written += std::size_t(n);
    }
    static ReplayWordBuffer buffer;
    buffer.fill(0xa5a5);
    try {
        LoadReplay(buffer, "/proc/self/fd/" + std::to_string(fd));
    } catch (const ReplayLoadError&) {
        Broken("a readable file was refused");
    }
    ::close(fd);
    const std::size_t loaded = written < std::size_t(ReplayFileBytes) ? written : std::size_t(ReplayFileBytes);
    for (std::size_t i = 0; i < loaded; ++i) {
        const std::uint8_t byte = i % 2 ? std::uint8_t(buffer[i / 2] >> 8) : std::uint8_t(buffer[i / 2] & 0xff);
        if (byte != data[i]) Broken("a byte was not loaded");
    }
    if (loaded % 2 == 1 && (buffer[loaded / 2] >> 8) != 0xa5) Broken("the half word after the file changed");
    for (std::size_t w = (loaded + 1) / 2; w < std::size_t(ReplayWords); ++w)
        if (buffer[w] != 0xa5a5) Broken("a word after the file changed");
    return 0;
}

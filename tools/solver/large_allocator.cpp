#include "tools/solver/large_allocator.h"

#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

#if defined(__linux__) && defined(MADV_HUGEPAGE)
namespace {
constexpr std::size_t LargeBlock = std::size_t(1) << 20;
}
#endif

void* AllocateLarge(std::size_t bytes)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (bytes >= LargeBlock) {
        void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED) throw std::bad_alloc();
        madvise(p, bytes, MADV_HUGEPAGE);  // only a wish: without large pages it is ordinary memory
        return p;
    }
#endif
    if (void* p = std::malloc(bytes ? bytes : 1)) return p;
    throw std::bad_alloc();
}

void FreeLarge(void* p, std::size_t bytes)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (bytes >= LargeBlock) {
        munmap(p, bytes);
        return;
    }
#endif
    (void)bytes;
    std::free(p);
}

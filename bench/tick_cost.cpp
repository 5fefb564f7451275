// tick_cost [TICKS]: what a tick of the play benchmarks' walk costs with its
// view, in nanoseconds; the browser edition runs the same loop
// (web/measure_tick.mjs sets the two side by side).
#include <cstdio>
#include <cstdlib>

#include "bench/tick_loop.h"
#include "tests/support/build_assets.h"

int main(int argc, char** argv)
{
    const int ticks = argc > 1 ? std::atoi(argv[1]) : 20000;
    if (ticks < 1) {
        std::fprintf(stderr, "tick_cost: TICKS must be a whole number above 0\n");
        return 2;
    }
    std::printf("%.1f\n", NanosecondsPerTick(BuildTreeAssets(), ticks));
    return 0;
}

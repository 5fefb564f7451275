#include "cave/reachability.h"

#include <array>

bool CheckReachable(const CaveMap& map, ReplayWordBuffer& pathStack, std::int32_t x, std::int32_t y)
{
    std::array<std::array<std::uint8_t, 256>, 256> visited{};
    auto open = [&](std::int32_t cx, std::int32_t cy) {
        return InsideMap(cx, cy) && map[cx][cy] != TileHardRock && !visited[cx][cy];
    };
    if (!InsideMap(x, y)) return false;

    int n = 1;  // the next free word; word 0 is never written
    for (;;) {
        if (map[x][y] == TileGoal) return true;
        visited[x][y] = 1;

        int next = -1;
        for (int d = 0; d < 4 && next < 0; ++d)
            if (open(x + StepVectors[d].dx, y + StepVectors[d].dy)) next = d;

        if (next >= 0) {
            if (n >= ReplayWords - 1) return false;  // no room left for the way back
            pathStack[n++] = std::uint16_t(x * 256 + y);
            x += StepVectors[next].dx;
            y += StepVectors[next].dy;
        } else {
            --n;
            if (n == 0) return false;
            x = pathStack[n] / 256;
            y = pathStack[n] % 256;
        }
    }
}

#include "play/bearing.h"

#include <cmath>

namespace {
constexpr long double Pi = 3.141592653589793238462643383279502884L;
}

void BuildTrigTables(TrigTables& t)
{
    for (int i = 0; i <= 512; ++i) {
        t.CosTable[i] = float(std::cos(i * BearingStep));
        t.SinTable[i] = float(std::sin(i * BearingStep));
    }
    // Each quarter is symmetric about its middle, so one octant serves all eight.
    for (int i = 0; i <= 64; ++i) {
        const long double tangent = std::sin(i * BearingStep) / std::cos(i * BearingStep);
        const float v = float(128.0L * std::sqrt(tangent * tangent + 1.0L));
        for (int j = 0; j < 4; ++j) {
            t.EdgeDistance[128 * j + i] = v;
            t.EdgeDistance[128 * j + 128 - i] = v;
        }
    }
}

int BearingTo(std::int32_t fromX, std::int32_t fromY, std::int32_t toX, std::int32_t toY)
{
    const float dx = float(toX - fromX);
    const float dy = float(toY - fromY);
    float angle;
    if (dx == 0.0f) {
        angle = dy >= 0.0f ? 1.5707964f : 4.712389f;
    } else {
        angle = float(std::atan(static_cast<long double>(dy) / static_cast<long double>(dx)));
        if (dx < 0.0f) angle = float(angle + Pi);
    }
    const long double units = std::nearbyint(static_cast<long double>(angle) * 256.0L / Pi);
    return (int(units) + BearingUnits) % BearingUnits;
}

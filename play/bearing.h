#pragma once

#include <array>
#include <cstdint>

#include <cmath>

// Angles in 512ths of a turn, 0 pointing right and 128 down.
constexpr int BearingUnits = 512;
constexpr long double BearingStep = 0.012271846303085129838L;  // 2 pi / 512, in radians

// A real value as whole pixels: the nearest integer, a half to the even one.
inline std::int32_t Nearest(long double v) { return std::int32_t(std::nearbyint(v)); }

struct TrigTables {
    std::array<float, 513> CosTable{};
    std::array<float, 513> SinTable{};
    // From the view's centre to the edge of the 256 by 256 square, by bearing.
    std::array<float, 513> EdgeDistance{};
};

// Filled once at start, in extended precision, stored as floats.
void BuildTrigTables(TrigTables& tables);

// The bearing 0..511 of (toX, toY) seen from (fromX, fromY); a point seen
// from itself lies at 128.
int BearingTo(std::int32_t fromX, std::int32_t fromY, std::int32_t toX, std::int32_t toY);

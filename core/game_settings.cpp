#include "core/game_settings.h"

std::string DescribeSettings(const GameSettings& s)
{
    return std::to_string(s.width) + "x" + std::to_string(s.height) + " character " + std::to_string(s.variant) +
           " beginner " + (s.beginner ? "yes" : "no") + " speed " + std::to_string(s.speedToDeath) + " seed " +
           std::to_string(s.seed);
}

#include "screens/daily_seed.h"

std::uint32_t DailySeed(std::time_t now)
{
    std::tm utc{};
    ::gmtime_r(&now, &utc);
    return std::uint32_t((utc.tm_year + 1900) * 10000 + (utc.tm_mon + 1) * 100 + utc.tm_mday);
}

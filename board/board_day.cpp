#include "board/board_day.h"

#include <cstdio>

#include "screens/daily_seed.h"

namespace {

constexpr std::time_t DaySeconds = 86'400;

// Noon of the day in UTC, when it is a real date.
std::optional<std::time_t> Noon(const BoardDay& d)
{
    if (d.year < 1970 || d.year > 9999 || d.month < 1 || d.month > 12 || d.day < 1 || d.day > 31) return std::nullopt;
    std::tm t{};
    t.tm_year = d.year - 1900;
    t.tm_mon = d.month - 1;
    t.tm_mday = d.day;
    t.tm_hour = 12;
    const std::time_t noon = ::timegm(&t);
    // timegm carries 31 April into May: the day must come back as it was.
    if (BoardDayOf(noon) != d) return std::nullopt;
    return noon;
}

}  // namespace

std::string BoardDay::Text() const
{
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
    return text;
}

std::uint32_t BoardDay::Seed() const { return DailySeed(Noon(*this).value_or(0)); }

BoardDay BoardDay::Before() const { return BoardDayOf(Noon(*this).value_or(DaySeconds) - DaySeconds); }

std::optional<BoardDay> ParseBoardDay(const std::string& text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
    const BoardDay d{std::stoi(text.substr(0, 4)), std::stoi(text.substr(5, 2)), std::stoi(text.substr(8, 2))};
    if (!Noon(d)) return std::nullopt;
    return d;
}

BoardDay BoardDayOf(std::time_t now)
{
    std::tm utc{};
    ::gmtime_r(&now, &utc);
    return {utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday};
}

std::optional<BoardDay> BoardDayOfSeed(std::uint32_t seed)
{
    const BoardDay d{int(seed / 10000), int(seed / 100 % 100), int(seed % 100)};
    const auto noon = Noon(d);
    if (!noon || DailySeed(*noon) != seed) return std::nullopt;
    return d;
}

GameSettings BoardSettings::Game(const BoardDay& day) const
{
    return {.width = width, .height = height, .variant = variant, .beginner = beginner, .speedToDeath = speedToDeath,
            .seed = day.Seed()};
}

BoardSettings BoardSettingsOf(const GameSettings& s)
{
    return {.width = s.width, .height = s.height, .variant = s.variant, .beginner = s.beginner, .speedToDeath = s.speedToDeath};
}

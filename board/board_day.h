#pragma once

#include <compare>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

#include "core/game_settings.h"

// A day of boards, in UTC: its caves are made from its daily seed.
struct BoardDay {
    int year = 1970;
    int month = 1;
    int day = 1;

    auto operator<=>(const BoardDay&) const = default;

    // "2026-12-08".
    std::string Text() const;
    // The seed every cave of the day is made from (DailySeed).
    std::uint32_t Seed() const;
    BoardDay Before() const;
};

// A real date written "YYYY-MM-DD", from 1970 on.
std::optional<BoardDay> ParseBoardDay(const std::string& text);
BoardDay BoardDayOf(std::time_t now);
// The day whose daily seed `seed` is, if any.
std::optional<BoardDay> BoardDayOfSeed(std::uint32_t seed);

// What a board is kept for, beside its day: everything of a game's settings
// but the seed, which the day gives.
struct BoardSettings {
    int width = 100;
    int height = 100;
    int variant = 0;
    bool beginner = false;
    int speedToDeath = 11;

    bool operator==(const BoardSettings&) const = default;
    // The setup dialog's first choice: the day's main board.
    bool Main() const { return *this == BoardSettings{}; }
    GameSettings Game(const BoardDay& day) const;
};

BoardSettings BoardSettingsOf(const GameSettings& settings);

#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "core/game_settings.h"

struct Game;

// One tick of the title screen: the picture builds up over its first three
// seconds; then the hidden sequences switch the character, a held button
// opens the setup dialog and starts a game, and after twenty idle seconds the
// demonstration begins.
// A held button asks for the setup dialog (game.requests.setupDialog); the
// title then waits for SetupAnswered.
void TitleStep(Game& game);

// The title's first ticks, while its picture builds up: buttons and keys do
// nothing until the tick after them.
inline constexpr int TitleQuietTicks = 60;

// The setup dialog's choice (its size, beginner mode and fatal speed; the
// character and the seed are the title's), or nothing when it was cancelled:
// the game starts, or the title goes on as it was.
void SetupAnswered(Game& game, std::optional<GameSettings> settings);

// Window captions and the direction sequences that unlock the next character
// (letters q, w, e, r for up, down, left, right).
inline constexpr std::array<std::string_view, 3> VariantCaption = {"こるべに", "るみべに", "てさべに"};
inline constexpr std::string_view Variant1Sequence = "qweqrrewwqe";
inline constexpr std::string_view Variant2Sequence = "ewwrqqeer";
inline constexpr const char* ApplicationTitle = "Korvane Burrowkin";

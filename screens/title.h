#pragma once

#include <array>
#include <string_view>

struct Game;

// One tick of the title screen: the picture builds up over its first three
// seconds; then the hidden sequences switch the character, a held button
// opens the setup dialog and starts a game, and after twenty idle seconds the
// demonstration begins.
void TitleStep(Game& game);

// Window captions and the direction sequences that unlock the next character
// (letters q, w, e, r for up, down, left, right).
inline constexpr std::array<std::string_view, 3> VariantCaption = {"こるべに", "るみべに", "てさべに"};
inline constexpr std::string_view Variant1Sequence = "qweqrrewwqe";
inline constexpr std::string_view Variant2Sequence = "ewwrqqeer";
inline constexpr const char* ApplicationTitle = "Korvane Burrowkin";

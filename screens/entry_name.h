#pragma once

#include <optional>
#include <string>
#include <string_view>

constexpr int MaxNameCharacters = 20;

// Why a player's name cannot stand on a board, or nothing when it can: 1 to
// 20 characters of well-formed UTF-8, each of them printable (no control,
// formatting, separator, blank filler, private use or noncharacter), with no
// space at either end.
std::optional<std::string> NameProblem(std::string_view name);

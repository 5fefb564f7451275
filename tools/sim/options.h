#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/game_settings.h"

// Bad usage: the message names the problem; the program exits with status 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The arguments after the command word, taken apart: the common options, and
// the command's own options by name (flags with an empty value).
struct Arguments {
    // The options every command takes; the seed is 1 unless given.
    GameSettings common{.seed = 1};
    bool commonGiven = false;  // any of the common options
    std::map<std::string, std::string> own;

    bool Has(const std::string& name) const { return own.count(name) != 0; }
    std::optional<std::string> Text(const std::string& name) const;
    // A whole number within [low, high], or UsageError.
    std::optional<std::int64_t> Number(const std::string& name, std::int64_t low, std::int64_t high) const;
    // `option` means something only beside `needed`: alone it is a UsageError.
    void OnlyWith(const std::string& option, const std::string& needed) const;
};

struct OwnOption {
    std::string name;  // with its dashes
    bool takesValue;
};

// Parses `args`; any option not common and not in `own`, an option given
// twice, a word that is no option's value, and an option in the place of a
// value are UsageErrors.
Arguments ParseArguments(const std::vector<std::string>& args, const std::vector<OwnOption>& own);

std::int64_t ParseNumber(const std::string& option, const std::string& text, std::int64_t low, std::int64_t high);

#include "screens/run_choices.h"

#include <charconv>

std::string RunChoicesConflict(const RunChoices& c, std::string_view prefix)
{
    const std::string p(prefix);
    if (c.seed && c.daily) return p + "seed and " + p + "daily cannot go together: " + p + "daily picks the seed";
    if (c.race && c.watch) return p + "race and " + p + "watch cannot go together: watch a run, or race it";
    if (c.race && (c.seed || c.daily))
        return p + (c.seed ? "seed" : "daily") + " and " + p + "race cannot go together: the run gives the seed";
    return "";
}

std::optional<std::uint32_t> ReadSeed(std::string_view text)
{
    std::uint32_t seed = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, seed);
    if (ec != std::errc() || ptr != end) return std::nullopt;
    return seed;
}

std::string BadSeed(std::string_view text, std::string_view prefix)
{
    return std::string(prefix) + "seed takes a whole number from 0 to 4294967295, not '" + std::string(text) + "'";
}

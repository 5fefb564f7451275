#include "tools/sim/options.h"

#include <algorithm>
#include <charconv>
#include <set>

std::int64_t ParseNumber(const std::string& option, const std::string& text, std::int64_t low, std::int64_t high)
{
    std::int64_t value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end)
        throw UsageError(option + " takes a whole number, not '" + text + "'");
    if (value < low || value > high)
        throw UsageError(option + " must be from " + std::to_string(low) + " to " + std::to_string(high) + ", not " + text);
    return value;
}

std::optional<std::string> Arguments::Text(const std::string& name) const
{
    auto it = own.find(name);
    if (it == own.end()) return std::nullopt;
    return it->second;
}

std::optional<std::int64_t> Arguments::Number(const std::string& name, std::int64_t low, std::int64_t high) const
{
    auto text = Text(name);
    if (!text) return std::nullopt;
    return ParseNumber(name, *text, low, high);
}

void Arguments::OnlyWith(const std::string& option, const std::string& needed) const
{
    if (Has(option) && !Has(needed)) throw UsageError(option + " goes with " + needed + ", which is not given");
}

namespace {

// A word that stands for an option, not for a value: a lone "-" may name a
// file and "-1" is a number, if one out of range.
bool LooksLikeOption(const std::string& word)
{
    return word.size() > 1 && word[0] == '-' && !(word[1] >= '0' && word[1] <= '9');
}

}  // namespace

Arguments ParseArguments(const std::vector<std::string>& args, const std::vector<OwnOption>& own)
{
    Arguments a;
    std::set<std::string> given;
    for (std::size_t i = 0; i < args.size(); ++i) {
        // --name=value is --name value, as GNU programs read it.
        const std::size_t equals = args[i].starts_with("--") ? args[i].find('=') : std::string::npos;
        const std::string name = args[i].substr(0, equals);
        auto value = [&]() -> std::string {
            if (equals != std::string::npos) return args[i].substr(equals + 1);
            if (i + 1 >= args.size()) throw UsageError(name + " needs a value");
            if (LooksLikeOption(args[i + 1]))
                throw UsageError(name + " needs a value, not the option '" + args[i + 1] + "'");
            return args[++i];
        };
        auto flag = [&] {
            if (equals != std::string::npos) throw UsageError(name + " takes no value");
            return true;
        };
        if (!LooksLikeOption(name)) throw UsageError("'" + name + "' is neither an option nor the value of one");
        if (!given.insert(name).second) throw UsageError(name + " is given twice");
        if (name == "--width") a.common.width = int(ParseNumber(name, value(), 1, 216));
        else if (name == "--height") a.common.height = int(ParseNumber(name, value(), 1, 216));
        else if (name == "--variant") a.common.variant = int(ParseNumber(name, value(), 0, 2));
        else if (name == "--seed") a.common.seed = std::uint32_t(ParseNumber(name, value(), 0, 4294967295LL));
        else if (name == "--beginner") a.common.beginner = flag();
        else if (name == "--speed-to-death") a.common.speedToDeath = int(ParseNumber(name, value(), 0, 16));
        else {
            auto it = std::find_if(own.begin(), own.end(), [&](const OwnOption& o) { return o.name == name; });
            if (it == own.end()) throw UsageError("unknown option '" + name + "'");
            a.own[name] = it->takesValue ? value() : (flag(), std::string());
            continue;
        }
        a.commonGiven = true;
    }
    return a;
}

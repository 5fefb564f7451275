#include "app/command_line.h"

#include <charconv>

namespace {

const char* const ScaleOption = "--scale";

// A whole number from 1 to MaxScale, nothing before or after it.
int ScaleFrom(const std::string& text)
{
    int value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value < 1 || value > CommandLine::MaxScale) return 0;
    return value;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments)
{
    CommandLine line;
    line.palette256 = !arguments.empty() && arguments[0] == "/256";
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const bool hasNext = i + 1 < arguments.size();
        if (arguments[i] == "--seed" && hasNext) line.seed = std::uint32_t(std::stoul(arguments[++i]));
        if (arguments[i] == "--daily") line.daily = true;
        if (arguments[i] == "--record")
            line.record = hasNext && arguments[i + 1][0] != '-' ? arguments[++i] : std::string();
        if (arguments[i] == "--watch" && hasNext) line.watch = arguments[++i];
        if (arguments[i] != ScaleOption) continue;
        if (i + 1 == arguments.size()) {
            line.warnings.push_back("--scale needs a whole number from 1 to " + std::to_string(CommandLine::MaxScale) +
                                    "; keeping scale " + std::to_string(line.scale));
            break;
        }
        const std::string& value = arguments[++i];
        if (int scale = ScaleFrom(value)) line.scale = scale;
        else
            line.warnings.push_back("--scale takes a whole number from 1 to " + std::to_string(CommandLine::MaxScale) +
                                    ", not '" + value + "'; keeping scale " + std::to_string(line.scale));
    }
    return line;
}

#include "board/board_options.h"

#include <cstdlib>
#include <map>

const char* const BoardUsage =
    "usage: burrowkin-board [--listen HOST:PORT] [--data DIR] [--page DIR] [--submissions-per-minute N]\n"
    "                       [--submission-burst N] [--par-seconds N] [--par-memory MB]\n"
    "       burrowkin-board --help | --version\n"
    "The daily board of Korvane Burrowkin: it takes run files of the day's caves over HTTP, plays them again\n"
    "and ranks them.\n"
    "  --listen HOST:PORT            where to listen (127.0.0.1:8217; port 0 takes a free one)\n"
    "  --data DIR                    the folder of the boards (~/.local/share/burrowkin/board)\n"
    "  --page DIR                    also serve the browser edition from DIR (build-web/page)\n"
    "  --submissions-per-minute N    runs a client address may send a minute, after its burst (6; 0: no limit)\n"
    "  --submission-burst N          runs a client address may send at once (12)\n"
    "  --par-seconds N               processor seconds for the automatic player's par (300; 0: no par)\n"
    "  --par-memory MB               memory for the automatic player's search (1024)\n"
    "A value may also follow its option after an equals sign: --listen=127.0.0.1:8080.\n"
    "'man burrowkin-board' tells more.\n";

namespace {

int Whole(const std::string& option, const std::string& text, int low, int high)
{
    const auto bad = [&] {
        return UsageError(option + " takes a whole number from " + std::to_string(low) + " to " + std::to_string(high) + ", not '" +
                          text + "'");
    };
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) throw bad();
    const int n = std::stoi(text);
    if (n < low || n > high) throw bad();
    return n;
}

void ParseListen(const std::string& text, BoardOptions& o)
{
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0) throw UsageError("--listen takes HOST:PORT, such as 127.0.0.1:8217, not '" + text + "'");
    std::string host = text.substr(0, colon);
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
    if (host.find_first_of(" /[]") != std::string::npos || host.empty())
        throw UsageError("--listen takes HOST:PORT, such as 127.0.0.1:8217, not '" + text + "'");
    o.host = host;
    o.port = Whole("--listen's port", text.substr(colon + 1), 0, 65535);
}

}  // namespace

std::string DefaultDataFolder()
{
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && *data == '/') return std::string(data) + "/burrowkin/board";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.local/share/burrowkin/board";
}

BoardOptions ParseBoardOptions(const std::vector<std::string>& args)
{
    static const std::map<std::string, bool> Known = {
        {"--listen", true},          {"--data", true},       {"--page", true},       {"--submissions-per-minute", true},
        {"--submission-burst", true}, {"--par-seconds", true}, {"--par-memory", true}, {"--today", true},
        {"--help", false},           {"--version", false},
    };
    std::map<std::string, std::string> given;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> value;
        const std::size_t equals = name.find('=');
        if (name.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
        }
        const auto known = Known.find(name);
        if (known == Known.end())
            throw UsageError(name.rfind("-", 0) == 0 ? "unknown option '" + name + "'" : "'" + name + "' is no option");
        if (given.count(name)) throw UsageError(name + " is given twice");
        if (!known->second && value) throw UsageError(name + " takes no value");
        if (known->second && !value) {
            if (i + 1 == args.size() || args[i + 1].rfind("--", 0) == 0) throw UsageError(name + " needs a value");
            value = args[++i];
        }
        given[name] = value.value_or("");
    }

    BoardOptions o;
    o.help = given.count("--help");
    o.version = given.count("--version");
    if ((o.help || o.version) && given.size() > 1) throw UsageError((o.help ? "--help" : "--version") + std::string(" goes alone"));
    if (given.count("--listen")) ParseListen(given["--listen"], o);
    o.data = given.count("--data") ? given["--data"] : DefaultDataFolder();
    if (o.data.empty()) throw UsageError("--data needs a folder name");
    if (given.count("--page")) {
        o.page = given["--page"];
        if (o.page->empty()) throw UsageError("--page needs a folder name");
    }
    if (given.count("--submissions-per-minute")) o.submissionsPerMinute = Whole("--submissions-per-minute", given["--submissions-per-minute"], 0, 100'000);
    if (given.count("--submission-burst")) o.submissionBurst = Whole("--submission-burst", given["--submission-burst"], 1, 100'000);
    if (given.count("--par-seconds")) o.parSeconds = Whole("--par-seconds", given["--par-seconds"], 0, 86'400);
    if (given.count("--par-memory")) o.parMemoryMegabytes = Whole("--par-memory", given["--par-memory"], 16, 1'048'576);
    if (given.count("--today")) {
        o.today = ParseBoardDay(given["--today"]);
        if (!o.today) throw UsageError("--today takes a date, YYYY-MM-DD, not '" + given["--today"] + "'");
    }
    return o;
}

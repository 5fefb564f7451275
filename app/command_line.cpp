#include "app/command_line.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>
#include <string_view>

#include "app/board_client.h"
#include "screens/entry_name.h"
#include "screens/run_choices.h"

namespace {

const std::string Palette256 = "/256";

// An argument the game cannot take; the message names it.
struct BadArgument : std::runtime_error {
    using std::runtime_error::runtime_error;
};

enum class Takes { Nothing, Value, OptionalFolder };

struct Option {
    std::string_view name;
    Takes takes;
    std::string_view valueName;  // how --help writes the value
    std::string_view help;       // one line per '\n'
    void (*take)(CommandLine&, const std::string& value);
};

// A whole number from `low` to `high`, nothing before or after it, or
// BadArgument naming the option.
int WholeNumber(std::string_view option, const std::string& text, int low, int high)
{
    int value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value < low || value > high)
        throw BadArgument(std::string(option) + " takes a whole number from " + std::to_string(low) + " to " +
                          std::to_string(high) + ", not '" + text + "'");
    return value;
}

void TakeScale(CommandLine& line, const std::string& value)
{
    line.scale = WholeNumber("--scale", value, 1, CommandLine::MaxScale);
}

void TakeSeed(CommandLine& line, const std::string& value)
{
    line.seed = ReadSeed(value);
    if (!line.seed) throw BadArgument(BadSeed(value, "--"));
}

// An empty folder is --record alone: the player's data folder.
void TakeRecord(CommandLine& line, const std::string& folder)
{
    line.record = folder.empty() ? CommandLine::RecordTo::DataFolder : CommandLine::RecordTo::Folder;
    line.recordFolder = folder;
}

// A run's address is fetched when the window opens; one that is no address at all stops the start.
void CheckRunAddress(std::string_view option, const std::string& value)
{
    if (!IsWebAddress(value)) return;
    if (const auto problem = WebAddressProblem(value))
        throw BadArgument(std::string(option) + " '" + value + "' is no address of a run: " + *problem);
}

void TakeWatch(CommandLine& line, const std::string& file)
{
    if (file.empty()) throw BadArgument("an empty name is no run file to watch");
    CheckRunAddress("--watch", file);
    if (line.watch) throw BadArgument("one run at a time: both '" + *line.watch + "' and '" + file + "' are given to watch");
    line.watch = file;
}

void TakeRace(CommandLine& line, const std::string& file)
{
    if (file.empty()) throw BadArgument("an empty name is no run file to race");
    CheckRunAddress("--race", file);
    if (line.race) throw BadArgument("one race at a time: both '" + *line.race + "' and '" + file + "' are given to race");
    line.race = file;
}

void TakeBoard(CommandLine& line, const std::string& address)
{
    if (line.board) throw BadArgument("one board at a time: --board is given twice");
    if (!IsWebAddress(address))
        throw BadArgument("--board takes the board's address, which starts with http:// or https://, not '" + address + "'");
    if (const auto problem = WebAddressProblem(address)) throw BadArgument("--board '" + address + "' is no address: " + *problem);
    if (address.find_first_of("?#") != std::string::npos)
        throw BadArgument("--board takes the board's own address, without a '?' or '#' part, not '" + address + "'");
    line.board = address;
}

// The name is not repeated: it may hold what does not print.
void TakeName(CommandLine& line, const std::string& name)
{
    if (line.name) throw BadArgument("one name at a time: --name is given twice");
    if (name.empty())
        throw BadArgument("--name needs a name of 1 to " + std::to_string(MaxNameCharacters) + " printable characters");
    if (const auto problem = NameProblem(name)) throw BadArgument("--name cannot stand on a board: " + *problem);
    line.name = name;
}

const Option Options[] = {
    {"--scale", Takes::Value, "N",
     "show every pixel as an N by N block, N from 1 to 8;\n"
     "lowered to the largest that fits the screen",
     TakeScale},
    {"--fullscreen", Takes::Nothing, "", "start in full screen (F11 switches)",
     [](CommandLine& line, const std::string&) { line.fullscreen = true; }},
    {"--seed", Takes::Value, "N",
     "make the cave of every game started from the setup\n"
     "dialog from seed N (0 to 4294967295), not the clock",
     TakeSeed},
    {"--daily", Takes::Nothing, "", "the seed of today's date in UTC, year*10000+month*100\n+day: the same cave for everybody who picks the\nsame settings today",
     [](CommandLine& line, const std::string&) { line.daily = true; }},
    {"--record", Takes::OptionalFolder, "[DIR]",
     "keep every game played as a run file in DIR\n"
     "(default: $XDG_DATA_HOME/burrowkin/runs)",
     TakeRecord},
    {"--watch", Takes::Value, "FILE",
     "watch the run in FILE, or at an http:// or https://\n"
     "address; a FILE alone does the same",
     TakeWatch},
    {"--race", Takes::Value, "FILE",
     "race the run in FILE or at an http:// or https://\n"
     "address: a button on the title starts a game in its\n"
     "cave at once, beside its shadow",
     TakeRace},
    {"--board", Takes::Value, "URL",
     "send every game that reaches the goal of today's or\n"
     "yesterday's daily cave (--daily) to the board at URL,\n"
     "and print its place there; needs --name",
     TakeBoard},
    {"--name", Takes::Value, "NAME",
     "the name your games go under on the board: 1 to 20\n"
     "printable characters",
     TakeName},
    {"--mute", Takes::Nothing, "", "start without sound; M switches it on and off",
     [](CommandLine& line, const std::string&) { line.mute = true; }},
    {"--volume", Takes::Value, "N", "the sound's volume, 0 to 100 (60 unless given)",
     [](CommandLine& line, const std::string& value) { line.volume = WholeNumber("--volume", value, 0, 100); }},
    {"--no-music", Takes::Nothing, "", "no title tune and no ending fanfare; the sounds of play stay",
     [](CommandLine& line, const std::string&) { line.music = false; }},
    {"--speed", Takes::Value, "P",
     "a slower game: P percent of 20 ticks a second, 50 to 100\n"
     "in steps of 10; play is the same, only slower, and a run\n"
     "kept says its speed",
     [](CommandLine& line, const std::string& value) {
         line.speed = WholeNumber("--speed", value, 50, 100);
         if (line.speed % 10 != 0) throw BadArgument("--speed goes in steps of 10: 50, 60, 70, 80, 90 or 100, not '" + value + "'");
     }},
    {"--keys", Takes::Value, "FILE", "the keys from FILE, in the format of keys.conf\n(default: $XDG_CONFIG_HOME/burrowkin/keys.conf when it is there)",
     [](CommandLine& line, const std::string& value) {
         if (value.empty()) throw BadArgument("--keys needs a file");
         line.keysFile = value;
     }},
    {"--default-keys", Takes::Nothing, "", "the game's own keys, whatever a keys file says",
     [](CommandLine& line, const std::string&) { line.defaultKeys = true; }},
    {"--help", Takes::Nothing, "", "print this help and exit",
     [](CommandLine& line, const std::string&) { line.request = CommandLine::Request::Help; }},
    {"--version", Takes::Nothing, "", "print the version and exit",
     [](CommandLine& line, const std::string&) { line.request = CommandLine::Request::Version; }},
};

// Qt's own options: QApplication reads them from the same command line.
const std::string_view ToolkitOptionsWithValue[] = {
    "-platform", "-platformpluginpath", "-platformtheme", "-plugin", "-qwindowgeometry", "-geometry", "-qwindowtitle",
    "-title", "-qwindowicon", "-icon", "-session", "-display", "-name", "-style", "-stylesheet"};
const std::string_view ToolkitFlags[] = {"-reverse", "-widgetcount", "-nograb", "-dograb", "-testability", "-sync"};

bool Contains(const auto& names, std::string_view name)
{
    return std::find(std::begin(names), std::end(names), name) != std::end(names);
}

const Option* FindOption(std::string_view name)
{
    if (name == "-h") name = "--help";
    auto it = std::find_if(std::begin(Options), std::end(Options), [&](const Option& o) { return o.name == name; });
    return it == std::end(Options) ? nullptr : it;
}

bool IsOption(const std::string& argument) { return argument.size() > 1 && argument[0] == '-'; }

// An option in the place of a value is never taken as one; "-1" is a number, if one out of range.
bool LooksLikeOption(const std::string& argument)
{
    return IsOption(argument) && !(argument[1] >= '0' && argument[1] <= '9');
}

// Reads the arguments from left to right; --help and --version end the
// reading, and so does the first bad argument, by throwing BadArgument.
class Reader {
public:
    Reader(const std::vector<std::string>& arguments, CommandLine& line) : arguments_(arguments), line_(line) {}

    void Read()
    {
        if (!arguments_.empty() && arguments_[0] == Palette256) {
            line_.palette256 = true;
            next_ = 1;
        }
        bool optionsEnded = false;
        while (next_ < arguments_.size() && line_.request == CommandLine::Request::Play) {
            const std::string& argument = arguments_[next_++];
            if (optionsEnded && LooksLikeOption(argument))
                throw BadArgument("after '--' come only run files, and '" + argument +
                                  "' is an option (./" + argument + " names a file)");
            if (optionsEnded) TakeWatch(line_, argument);
            else if (argument == "--") optionsEnded = true;
            else if (IsOption(argument)) TakeOption(argument);
            else if (argument == Palette256) throw BadArgument("'/256' counts only as the first argument");
            else TakeWatch(line_, argument);
        }
        if (line_.request != CommandLine::Request::Play) return;
        if (line_.board && !line_.name) throw BadArgument("--board needs --name NAME: the name your games go under there");
        if (line_.name && !line_.board) throw BadArgument("--name goes with --board URL: the board your games are sent to");
        const RunChoices choices{.seed = line_.seed.has_value(), .daily = line_.daily, .watch = line_.watch.has_value(), .race = line_.race.has_value()};
        if (std::string conflict = RunChoicesConflict(choices, "--"); !conflict.empty()) throw BadArgument(conflict);
        if (line_.keysFile && line_.defaultKeys)
            throw BadArgument("--keys and --default-keys cannot go together: --default-keys reads no keys file");
    }

private:
    void TakeOption(const std::string& argument)
    {
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        std::optional<std::string> attached;
        if (equals != std::string::npos) attached = argument.substr(equals + 1);
        if (const Option* option = FindOption(name)) option->take(line_, ValueOf(*option, attached));
        else if (Contains(ToolkitFlags, argument)) return;
        else if (Contains(ToolkitOptionsWithValue, name)) SkipToolkitValue(name, attached);
        else throw BadArgument("unknown option '" + name + "' ('burrowkin --help' lists the options)");
    }

    void SkipToolkitValue(const std::string& name, const std::optional<std::string>& attached)
    {
        if (attached) return;
        if (next_ == arguments_.size()) throw BadArgument(name + " needs a value");
        if (LooksLikeOption(arguments_[next_]))
            throw BadArgument(name + " needs a value, not the option '" + arguments_[next_] + "'");
        ++next_;
    }

    std::string ValueOf(const Option& option, const std::optional<std::string>& attached)
    {
        const std::string name(option.name);
        switch (option.takes) {
        case Takes::Nothing:
            if (attached) throw BadArgument(name + " takes no value, not '" + *attached + "'");
            return {};
        case Takes::Value:
            if (attached) return *attached;
            if (next_ == arguments_.size())
                throw BadArgument(name + " needs a value: " + name + " " + std::string(option.valueName));
            if (LooksLikeOption(arguments_[next_]))
                throw BadArgument(name + " needs a value: " + name + " " + std::string(option.valueName) +
                                  ", not the option '" + arguments_[next_] + "'");
            return arguments_[next_++];
        case Takes::OptionalFolder: {
            std::optional<std::string> folder = attached;
            if (!folder && next_ < arguments_.size() && !arguments_[next_].starts_with('-')) folder = arguments_[next_++];
            if (folder && folder->empty())
                throw BadArgument(name + (attached ? "=" : " ''") + " names no folder (" + name +
                                  " alone takes the default one)");
            return folder.value_or("");
        }
        }
        return {};
    }

    const std::vector<std::string>& arguments_;
    CommandLine& line_;
    std::size_t next_ = 0;
};

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments)
{
    CommandLine line;
    try {
        Reader(arguments, line).Read();
    } catch (const BadArgument& e) {
        line.error = e.what();
    }
    return line;
}

std::string OptionsHelp()
{
    constexpr std::size_t Column = 24;
    std::string text = "  /256                  as the first argument: draw through the tile\n"
                       "                        sheet's 256-colour palette\n";
    const std::string toolkit = "  -platform NAME, -style NAME, ...\n"
                                "                        Qt's own options, passed on to Qt\n";
    for (const Option& option : Options) {
        std::string head = std::string(option.name == "--help" ? "  -h, " : "      ") + std::string(option.name);
        if (!option.valueName.empty()) head += " " + std::string(option.valueName);
        head.resize(std::max(Column, head.size() + 2), ' ');
        std::string_view help = option.help;
        for (std::size_t start = 0; start <= help.size();) {
            const std::size_t end = std::min(help.find('\n', start), help.size());
            text += (start == 0 ? head : std::string(Column, ' ')) + std::string(help.substr(start, end - start)) + "\n";
            start = end + 1;
        }
    }
    return text + toolkit;
}

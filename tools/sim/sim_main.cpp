// burrowkin-sim: the game without a window, for looking at caves and replays.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tools/sim/commands.h"
#include "tools/sim/options.h"

namespace {

const char* const Usage =
    "usage: burrowkin-sim generate [options] [--map FILE] [--png FILE [--png-scale K]]\n"
    "       burrowkin-sim play [options] (--inputs FILE | --replay FILE) [--ticks N] [--png FILE [--force]] [--sounds]\n"
    "       burrowkin-sim play --run FILE [--ticks N] [--png FILE [--force]] [--sounds]\n"
    "       burrowkin-sim solve [options] [--demo] [--out FILE [--force]] [--max-seconds N] [--max-expansions N] [--max-memory MB]\n"
    "       burrowkin-sim verify FILE\n"
    "       burrowkin-sim race FILE (--inputs IN | --run OTHER) [--png FILE [--force]]\n"
    "       burrowkin-sim sounds [--out FOLDER [--force]]\n"
    "       burrowkin-sim --help | --version\n"
    "options: --width W --height H (1..216)  --variant V (0..2)  --seed S  --beginner  --speed-to-death N (0..16)\n"
    "A value may also follow its option after an equals sign: --seed=5. --force replaces the file of --out or --png.\n"
    "'man burrowkin-sim' tells more.\n";

// A result that did not reach standard output (a full disk, a closed pipe)
// is a failure, not a success.
bool OutputWritten()
{
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return true;
    std::fprintf(stderr, "burrowkin-sim: cannot write to standard output: %s\n", std::strerror(errno));
    return false;
}

// 0 when the whole text reached standard output, else 1 with a message.
int Print(const char* text)
{
    std::fputs(text, stdout);
    return OutputWritten() ? 0 : 1;
}

bool Asks(const std::vector<std::string>& args, const char* option)
{
    return std::find(args.begin(), args.end(), option) != args.end();
}

int RunCommand(const std::string& command, const std::vector<std::string>& args)
{
    try {
        if (command == "generate") return GenerateCommand(args);
        if (command == "play") return PlayCommand(args);
        if (command == "solve") return SolveCommand(args);
        if (command == "verify") return VerifyCommand(args);
        if (command == "race") return RaceCommand(args);
        if (command == "sounds") return SoundsCommand(args);
        throw UsageError("unknown command '" + command + "'");
    } catch (const UsageError& e) {
        std::fprintf(stderr, "burrowkin-sim: %s\n", e.what());
        return 2;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fputs("burrowkin-sim: no command given; 'burrowkin-sim --help' lists them\n", stderr);
        return 2;
    }
    const std::string command = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    const bool help = command == "--help" || command == "-h";
    if ((help || command == "--version") && !args.empty()) {
        std::fprintf(stderr, "burrowkin-sim: %s takes nothing after it, not '%s'\n", command.c_str(), args[0].c_str());
        return 2;
    }
    if (help || Asks(args, "--help")) return Print(Usage);
    if (command == "--version") return Print("burrowkin-sim (Korvane Burrowkin) " BURROWKIN_VERSION "\n");
    const int status = RunCommand(command, args);
    return OutputWritten() ? status : 2;
}

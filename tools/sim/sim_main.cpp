// burrowkin-sim: the game without a window, for looking at caves and replays.
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
    "       burrowkin-sim play [options] (--inputs FILE | --replay FILE) [--ticks N] [--png FILE]\n"
    "       burrowkin-sim solve [options] [--demo] [--out FILE] [--max-seconds N] [--max-expansions N]\n"
    "options: --width W --height H (1..216)  --variant V (0..2)  --seed S  --beginner  --speed-to-death N (0..16)\n";

// A result that did not reach standard output (a full disk, a closed pipe)
// is a failure, not a success.
bool OutputWritten()
{
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return true;
    std::fprintf(stderr, "burrowkin-sim: cannot write the standard output: %s\n", std::strerror(errno));
    return false;
}

int RunCommand(const std::string& command, const std::vector<std::string>& args)
{
    try {
        if (command == "generate") return GenerateCommand(args);
        if (command == "play") return PlayCommand(args);
        if (command == "solve") return SolveCommand(args);
        if (command == "--help" || command == "-h") {
            std::fputs(Usage, stdout);
            return 0;
        }
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
    const int status = RunCommand(argv[1], std::vector<std::string>(argv + 2, argv + argc));
    return OutputWritten() ? status : 2;
}

// burrowkin-sim: the game without a window, for looking at caves and replays.
#include <cstdio>
#include <string>
#include <vector>

#include "tools/sim/commands.h"
#include "tools/sim/options.h"

namespace {

const char* const Usage =
    "usage: burrowkin-sim generate [options] [--map FILE] [--png FILE [--png-scale K]]\n"
    "       burrowkin-sim play [options] (--inputs FILE | --replay FILE) [--ticks N] [--png FILE]\n"
    "       burrowkin-sim play --run FILE [--ticks N] [--png FILE]\n"
    "       burrowkin-sim solve [options] [--demo] [--out FILE] [--max-seconds N] [--max-expansions N]\n"
    "       burrowkin-sim verify FILE\n"
    "options: --width W --height H (1..216)  --variant V (0..2)  --seed S  --beginner  --speed-to-death N (0..16)\n";

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fputs("burrowkin-sim: no command given; 'burrowkin-sim --help' lists them\n", stderr);
        return 2;
    }
    const std::string command = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    try {
        if (command == "generate") return GenerateCommand(args);
        if (command == "play") return PlayCommand(args);
        if (command == "solve") return SolveCommand(args);
        if (command == "verify") return VerifyCommand(args);
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

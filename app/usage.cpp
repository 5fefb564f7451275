#include "app/usage.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "gfx/assets.h"
#include "screens/key_bindings.h"

namespace {

// 0 when the whole text reached standard output, else 1 with a message.
int Print(const std::string& text)
{
    if (std::fputs(text.c_str(), stdout) >= 0 && std::fflush(stdout) == 0) return 0;
    std::fprintf(stderr, "burrowkin: cannot write to standard output: %s\n", std::strerror(errno));
    return 1;
}

std::string KeysHelp()
{
    std::string text;
    for (const KeyHelpLine& line : KeyHelp()) {
        text += "  " + line.keys;
        text.append(line.keys.size() < 20 ? 22 - line.keys.size() : 2, ' ');
        text += std::string(line.does) + "\n";
    }
    return text;
}

}  // namespace

std::string UsageText(const std::string& dataDirectory)
{
    return "Usage: burrowkin [/256] [OPTION]... [FILE]\n"
           "Korvane Burrowkin, a cave exploration game: dig, climb and find the way out\n"
           "of a new random cave every game. A FILE alone is a run file to watch.\n"
           "\n"
           "Options:\n" +
           OptionsHelp() +
           "\n"
           "Keys:\n" +
           KeysHelp() +
           "A joystick or gamepad plays as the keys do. On the title screen, hold a\n"
           "button to choose a cave and start. SDL_GAMECONTROLLERCONFIG_FILE names a\n"
           "file of gamepad mappings in SDL's format.\n"
           "\n"
           "Files:\n"
           "  The pictures and the demonstration are read from\n"
           "    " + dataDirectory + "\n"
           "  or from $BURROWKIN_DATA_DIR when it is set. A replay.dat in the working\n"
           "  folder is played as the demonstration in place of the one there.\n"
           "\n"
           "Exit status: 0 when the window was closed, 1 when the game could not start\n"
           "(no display, a picture missing), 2 for a bad command line.\n";
}

std::string VersionText() { return "burrowkin (Korvane Burrowkin) " BURROWKIN_VERSION "\n"; }

std::optional<int> AnswerWithoutWindow(const CommandLine& line, const std::string& programPath)
{
    if (!line.error.empty()) {
        std::fprintf(stderr, "burrowkin: %s\n", line.error.c_str());
        return 2;
    }
    switch (line.request) {
    case CommandLine::Request::Help: return Print(UsageText(FindDataDirectory(programPath)));
    case CommandLine::Request::Version: return Print(VersionText());
    case CommandLine::Request::Play: break;
    }
    return std::nullopt;
}

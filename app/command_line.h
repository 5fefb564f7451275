#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the game takes from its command line, read as GNU programs read theirs:
// `--name VALUE` or `--name=VALUE`, options in any order, "--" ends them. A
// first argument of exactly "/256" draws through the tile sheet's palette; any
// other argument that is not an option names a run file to watch. An option
// is never the value of another, nor a run file after "--".
struct CommandLine {
    static constexpr int MaxScale = 8;

    enum class Request { Play, Help, Version };
    enum class RecordTo {
        Nowhere,
        DataFolder,  // --record alone: $XDG_DATA_HOME/burrowkin/runs
        Folder,      // --record DIR
    };

    Request request = Request::Play;
    bool palette256 = false;
    int scale = 1;
    bool fullscreen = false;
    std::optional<std::uint32_t> seed;
    bool daily = false;  // the seed of today's date in UTC
    RecordTo record = RecordTo::Nowhere;
    std::string recordFolder;  // with RecordTo::Folder
    std::optional<std::string> watch;  // a run file, or a run's http:// or https:// address
    std::optional<std::string> race;   // a run file every game races, or its address
    // Where every game that reaches the goal of the daily cave is sent, and
    // the name it goes under there: both or neither.
    std::optional<std::string> board;
    std::optional<std::string> name;
    static constexpr int DefaultVolume = 60;
    bool mute = false;    // start without sound (M switches)
    int volume = DefaultVolume;  // 0..100
    bool music = true;    // the title's tune and the ending's fanfare
    int speed = 100;      // percent of 20 ticks a second: 50 to 100 in steps of 10
    std::optional<std::string> keysFile;  // --keys: the player's keys from this file
    bool defaultKeys = false;             // --default-keys: the game's own keys, whatever a file says

    // The first argument the game cannot take, as one line; nothing starts.
    std::string error;
};

CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The options as --help lists them, one or more lines each.
std::string OptionsHelp();

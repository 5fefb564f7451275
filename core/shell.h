#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// What the setup dialog hands to the game when it closes with its start button.
struct SetupChoice {
    bool Beginner = false;
    int CaveWidth = 100;
    int CaveHeight = 100;
    int SpeedToDeath = 11;
};

// Everything the game asks of the platform. The window program implements it
// with Qt, the simulator and the tests with NullShell or a fake of their own.
class Shell {
public:
    virtual ~Shell() = default;

    virtual void SetCaption(std::string_view utf8) = 0;
    virtual void Beep() = 0;
    virtual void StopTimer() = 0;
    virtual void StartTimer() = 0;
    // Shows the setup dialog modally; nothing when it was cancelled.
    virtual std::optional<SetupChoice> RunSetupDialog() = 0;
    virtual void ShowErrorBox(std::string_view caption, std::string_view text) = 0;

    // UTC time of day in milliseconds, 0..86,399,999: the generator's seed.
    virtual std::uint32_t UtcMillisecondsOfDay() = 0;
    // The seconds field, 0..59, of the local time: play seconds count its changes.
    virtual int LocalSecond() = 0;
    // Where the demonstration's recording is read from.
    virtual std::string ReplayPath() = 0;
};

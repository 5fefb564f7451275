#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/game_settings.h"

// Everything the game asks of the platform. The window program implements it
// with Qt, the simulator and the tests with NullShell or a fake of their own.
class Shell {
public:
    virtual ~Shell() = default;

    virtual void SetCaption(std::string_view utf8) = 0;
    virtual void Beep() = 0;
    virtual void StopTimer() = 0;
    virtual void StartTimer() = 0;
    // Shows the setup dialog and hands `answered` the choice, or nothing when
    // it was cancelled. The choice holds the size, beginner mode and the fatal
    // speed; the character and the seed are the title's to fill in. The window
    // shows the dialog modally and answers before it returns; the browser,
    // which must not block, answers when the player sends the form, and the
    // timer stays stopped until then.
    using SetupAnswer = std::function<void(std::optional<GameSettings>)>;
    virtual void RunSetupDialog(SetupAnswer answered) = 0;
    virtual void ShowErrorBox(std::string_view caption, std::string_view text) = 0;

    // UTC time of day in milliseconds, 0..86,399,999: the seed of a game from the title.
    virtual std::uint32_t UtcMillisecondsOfDay() = 0;
    // The seconds field, 0..59, of the local time: play seconds count its changes.
    virtual int LocalSecond() = 0;
    // Where the demonstration's recording is read from.
    virtual std::string ReplayPath() = 0;
};

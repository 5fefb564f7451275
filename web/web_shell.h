#pragma once

#include "core/shell.h"

// The game's platform in the browser: the page's title, Web Audio, the page's
// tick schedule, the HTML setup form and message dialog, and the browser's
// clock. Nothing here blocks: the form answers when the player sends it, and
// the page holds the ticks while the form or a message is open.
class WebShell : public Shell {
public:
    void SetCaption(std::string_view utf8) override;
    void Beep() override;
    void StopTimer() override;
    void StartTimer() override;
    void RunSetupDialog(SetupAnswer answered) override;
    void ShowErrorBox(std::string_view caption, std::string_view text) override;
    std::uint32_t UtcMillisecondsOfDay() override;
    int LocalSecond() override;
    std::string ReplayPath() override;

    // The form was sent (with the settings) or cancelled (nothing).
    void SetupAnswered(std::optional<GameSettings> settings);

private:
    SetupAnswer pending_;
};

// Where the page puts the pictures and the demonstration's recording.
inline constexpr const char* WebDataFolder = "/data";

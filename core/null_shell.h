#pragma once

#include <string>
#include <vector>

#include "core/shell.h"

// A shell with no window: it remembers what it was asked and answers from a
// clock that only moves when told to. The simulator and the tests use it.
class NullShell : public Shell {
public:
    void SetCaption(std::string_view utf8) override { Caption = std::string(utf8); }
    void Beep() override { ++Beeps; }
    void StopTimer() override { TimerRunning = false; }
    void StartTimer() override { TimerRunning = true; }
    void RunSetupDialog(SetupAnswer answered) override;
    void ShowErrorBox(std::string_view caption, std::string_view text) override;
    std::uint32_t UtcMillisecondsOfDay() override { return UtcMilliseconds; }
    int LocalSecond() override { return Second; }
    std::string ReplayPath() override { return ReplayFile; }

    std::string Caption;
    int Beeps = 0;
    bool TimerRunning = true;
    int DialogsShown = 0;
    std::optional<GameSettings> DialogAnswer;  // what the next dialog returns
    struct ErrorBox {
        std::string Caption, Text;
    };
    std::vector<ErrorBox> ErrorBoxes;
    std::uint32_t UtcMilliseconds = 0;
    int Second = 0;
    std::string ReplayFile = "replay.dat";
};

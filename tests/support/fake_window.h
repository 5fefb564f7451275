#pragma once

#include <optional>
#include <string>
#include <vector>

#include "play/game.h"
#include "screens/session.h"
#include "sound/sound_bank.h"

// A window as the tests see it: a game, its session, and what the session's
// reports asked of the window. The setup dialog answers DialogAnswer at once
// (nothing: cancelled), as the window's modal dialog does.
struct FakeWindow {
    explicit FakeWindow(const Assets& art, std::optional<std::uint32_t> seed = std::nullopt, const SoundBank* sounds = nullptr);

    Game game;
    Session session;

    std::string Caption;
    int Beeps = 0;
    bool TimerRunning = true;
    int DialogsShown = 0;
    std::optional<GameSettings> DialogAnswer;
    std::vector<WindowRequests::Message> ErrorBoxes;
    std::vector<std::string> News;
    std::optional<RunFile> Ended;  // the last game of the player's that ended
    std::vector<std::string> Heard;  // the sounds played, by name
    WallClock Clock;               // what each step is handed
    int Speed = RunHeader::FullSpeed;  // the timer's pace

    // A step of the session with the window's clock, then what it asked.
    TickReport Step(TickInput input);
    // n ticks of the timer, or none while it is stopped.
    void Tick(int n = 1);
    // A tick with the keys of an input word held and nothing else.
    void TickHolding(std::uint16_t held);
    void Press(int virtualKey, bool shift = false);
    void Release(int virtualKey);

private:
    const SoundBank* sounds_;
};

// The game's own sounds, from the data folder the tests are given.
const SoundBank& GameSounds();

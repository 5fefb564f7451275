#include "tests/support/fake_window.h"

#include <cstdlib>

FakeWindow::FakeWindow(const Assets& art, std::optional<std::uint32_t> seed, const SoundBank* sounds)
    : game(art), session(game, seed, sounds), sounds_(sounds)
{
}

const SoundBank& GameSounds()
{
    static const SoundBank bank = [] {
        const char* data = std::getenv("BURROWKIN_DATA_DIR");
        return SoundBank::Load(data ? data : ".");
    }();
    return bank;
}

TickReport FakeWindow::Step(TickInput input)
{
    input.clock = Clock;
    input.speed = Speed;
    TickReport report = session.Step(input);
    if (!report.caption.empty()) Caption = report.caption;
    Beeps += report.beeps;
    ErrorBoxes.insert(ErrorBoxes.end(), report.messages.begin(), report.messages.end());
    News.insert(News.end(), report.news.begin(), report.news.end());
    if (report.ended) Ended = report.ended->run;
    for (const int sound : report.sounds) Heard.push_back(sounds_->Sounds()[std::size_t(sound)].name);
    if (report.timer != TickReport::Timer::Unchanged) TimerRunning = report.timer == TickReport::Timer::Release;
    if (report.openSetup) {
        ++DialogsShown;
        Step({.setup = TickInput::SetupAnswer{DialogAnswer}});
    }
    return report;
}

void FakeWindow::Tick(int n)
{
    for (int i = 0; i < n && TimerRunning; ++i) Step({.tick = true});
}

void FakeWindow::TickHolding(std::uint16_t held)
{
    game.state.KeysHeld = FlagsFromWord(held);
    Tick();
}

void FakeWindow::Press(int virtualKey, bool shift) { Step({.keys = {{.virtualKey = virtualKey, .down = true, .shift = shift}}}); }

void FakeWindow::Release(int virtualKey) { Step({.keys = {{.virtualKey = virtualKey, .down = false}}}); }

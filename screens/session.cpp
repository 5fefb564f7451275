#include "screens/session.h"

#include <cctype>
#include <ctime>

#include "gfx/draw.h"
#include "play/game.h"
#include "screens/frame_tick.h"
#include "screens/title.h"

namespace {

// The caption's word while the game is paused.
constexpr std::string_view PausedSuffix = "（一時停止）";

}  // namespace

Session::Session(Game& game, std::optional<std::uint32_t> seed, const SoundBank* sounds)
    : game_(game), picture_(ViewSize, ViewSize + StatusHeight, game.ViewBitmap.Format()), cues_(sounds),
      caption_(VariantCaption[0])
{
    GameState& s = game_.state;
    s.Screen = ScreenTitle;
    s.Variant = 0;
    s.Beginner = false;
    s.TitleTicks = 0;
    game_.givenSeed = seed;
}

TickReport Session::Step(const TickInput& input)
{
    TickReport report;
    game_.clock = input.clock;
    speed_ = input.speed;
    game_.requests = {};
    if (input.joystick) {
        game_.state.JoystickPresent = true;
        game_.state.JoyInfo = *input.joystick;
        // The player's buttons in the places of the game's own.
        if (!(bindings_.PadSelect() == KeyBindings::Defaults().PadSelect() && bindings_.PadUse() == KeyBindings::Defaults().PadUse()))
            game_.state.JoyInfo.wButtons = bindings_.GameButtons(input.joystick->wButtons);
    }
    if (input.bindings) UseBindings(*input.bindings);
    if (input.keysAnswer && waitingForKeys_) {
        waitingForKeys_ = false;
        if (input.keysAnswer->bindings) UseBindings(*input.keysAnswer->bindings);
        if (!paused_) report.timer = TickReport::Timer::Release;
    }
    if (input.race) RaceAgainst(*input.race);
    if (input.stopRace) StopRace(report);
    if (input.watch) {
        // A game of the player's in play is left as Shift+F2 leaves it.
        Follow(recorder_.Leaving(game_, RunEnding::Quit), report);
        StartWatching(*input.watch);
        report.newPicture = true;
        report.stopMusic = true;
    }
    if (input.setup && waitingForSetup_) {
        waitingForSetup_ = false;
        const int screenBefore = game_.state.Screen;
        SetupAnswered(game_, input.setup->settings);
        Follow(recorder_.AfterTick(game_, screenBefore), report);
        if (!paused_) report.timer = TickReport::Timer::Release;
    }
    for (const KeyEvent& key : input.keys) Key(key, report);
    if (input.closing) Follow(recorder_.Leaving(game_, RunEnding::Closed), report);
    if (input.tick && !paused_ && !waitingForSetup_ && !waitingForKeys_ && !input.closing) Tick(report);
    Hand(report);
    return report;
}

void Session::Key(const KeyEvent& key, TickReport& report)
{
    const std::optional<Control> control = bindings_.ControlOf(key.virtualKey);
    if (!control) return;
    report.keyTaken = true;
    // X11 sends a release before every repeated press of a held key; taking
    // it would drop the flag between two ticks.
    if (!key.down && key.repeat) return;
    const bool pressed = key.down && !key.repeat;
    switch (*control) {
    case Control::Up:
    case Control::Down:
    case Control::Left:
    case Control::Right:
    case Control::Select:
    case Control::Use:
        if (key.down) keys_.Down(game_.state, int(*control));
        else keys_.Up(game_.state, int(*control));
        break;
    case Control::Title:
        // With Shift, from every screen, the demonstration and a watched run too.
        if (key.down && key.shift) {
            Follow(recorder_.Leaving(game_, RunEnding::Quit), report);
            game_.state.Screen = ScreenTitle;
            game_.state.TitleTicks = 0;
        }
        break;
    case Control::Pause:
        if (key.down) TogglePause(report);  // every press, auto-repeated ones too
        break;
    case Control::StopRace:
        if (pressed) StopRace(report);
        break;
    case Control::FullScreen:
        if (pressed) report.toggleFullScreen = true;
        break;
    case Control::Sound:
        if (pressed) report.toggleSound = true;
        break;
    case Control::FastForward:
        fastForward_ = key.down && watching_.has_value();
        break;
    case Control::Keys:
        if (pressed) OpenKeys(report);
        break;
    }
}

// Keys held while their meaning changes are let go of.
void Session::UseBindings(const KeyBindings& bindings)
{
    bindings_ = bindings;
    keys_.ReleaseAll(game_.state);
    fastForward_ = false;
}

// Only on the whole title picture, as the setup dialog; its clock stops
// while the dialog is open.
void Session::OpenKeys(TickReport& report)
{
    if (!TitleWhole() || paused_ || waitingForSetup_ || waitingForKeys_) return;
    waitingForKeys_ = true;
    report.openKeys = true;
    cues_.Cue("dialog", report.sounds);
    report.timer = TickReport::Timer::Hold;
}

// The title's picture has built up, and buttons do what they do there.
bool Session::TitleWhole() const
{
    const GameState& s = game_.state;
    return s.Screen == ScreenTitle && s.TitleTicks > TitleQuietTicks && !watching_;
}

// The title's status strip names the key of the keys dialog, in the row the
// title leaves empty, on the window's picture only.
void Session::DrawKeysHint()
{
    if (!TitleWhole()) return;
    std::string hint = KeyOfCode(bindings_.KeysOf(Control::Keys).front())->name + ":KEYS";
    for (char& c : hint) c = char(std::toupper(static_cast<unsigned char>(c)));
    DrawTileText(game_.art, picture_, ViewSize / 16 - int(hint.size()), ViewSize / 16, hint);
}

// The timer stops and "PAUSE" stands over the picture until the next press.
void Session::TogglePause(TickReport& report)
{
    paused_ = !paused_;
    report.timer = paused_ ? TickReport::Timer::Hold : TickReport::Timer::Release;
    report.caption = paused_ ? caption_ + std::string(PausedSuffix) : caption_;
    if (paused_) {
        DrawTileText(game_.art, picture_, 6, 2, "PAUSE");
        report.newPicture = true;
    }
}

void Session::Tick(TickReport& report)
{
    if (watching_) {
        WatchTicks(report);
    } else {
        const int screenBefore = game_.state.Screen;
        cues_.Before(game_.state);
        FrameTick(game_);
        cues_.After(game_.state, report.sounds);
        RaceTick(screenBefore, report);
        Follow(recorder_.AfterTick(game_, screenBefore, speed_), report);
    }
    keys_.AfterTick(game_.state);
    Blit(picture_, 0, 0, game_.ViewBitmap, 0, 0, ViewSize, ViewSize);
    Blit(picture_, 0, ViewSize, game_.StatusBitmap, 0, 0, ViewSize, StatusHeight);
    DrawKeysHint();
    report.newPicture = true;
}

void Session::StartWatching(RunFile run)
{
    watching_.emplace(std::move(run));
    watching_->Start(game_);
    game_.requests.caption = VariantCaption[game_.state.Variant];
}

// A watched run is heard, but not at four times the speed.
void Session::WatchTicks(TickReport& report)
{
    if (fastForward_) {
        for (int n = FastForwardTicks; n > 0 && watching_->Playing(game_); --n) watching_->Tick(game_);
    } else {
        cues_.Before(game_.state);
        watching_->Tick(game_);
        cues_.After(game_.state, report.sounds);
    }
    if (watching_->Playing(game_)) return;
    watching_.reset();
    fastForward_ = false;
    if (game_.state.Screen == ScreenPlay) {
        game_.state.Screen = ScreenTitle;
        game_.state.TitleTicks = 0;
    }
}

void Session::Follow(RunRecorder::Event event, TickReport& report)
{
    if (event == RunRecorder::Event::Started) {
        startedAt_ = game_.clock.utcMilliseconds;
        report.stopMusic = true;
        cues_.Cue("start", report.sounds);
        racing_ = race_ && game_.fixedStart;
        if (racing_) race_->Begin();
        report.news.push_back("cave " + DescribeSettings(recorder_.Header().settings));
    }
    if (event == RunRecorder::Event::Ended) {
        if (racing_ && game_.state.Screen == ScreenEnding)
            report.news.push_back(DescribeRace(Race::Of(game_), race_->Shadow()));
        racing_ = false;
        const RunFile& run = *recorder_.Finished();
        const std::time_t started = std::time_t(startedAt_ / 1000);
        report.ended = TickReport::EndedGame{run, started, RunFileName(run.header, started)};
    }
}

void Session::StopRace(TickReport& report)
{
    if (!race_) return;
    report.raceStopped = true;
    report.news.push_back("no race: games start from the setup dialog again");
    race_.reset();
    racing_ = false;
    game_.fixedStart.reset();
}

void Session::RaceAgainst(RunFile run)
{
    race_.emplace(std::move(run));
    game_.fixedStart = race_->Start();
}

// The shadow's tick after each play tick of the player's, the one that takes
// the goal too, and its figure over the view.
void Session::RaceTick(int screenBefore, TickReport& report)
{
    if (!racing_ || screenBefore != ScreenPlay) return;
    if (race_->Tick()) report.news.push_back(DescribeShadowFinish(race_->Shadow()));
    race_->Draw(game_);
}

// What the screens asked of the window goes into the report.
void Session::Hand(TickReport& report)
{
    WindowRequests& asked = game_.requests;
    if (!asked.caption.empty()) {
        caption_ = asked.caption;
        report.caption = paused_ ? caption_ + std::string(PausedSuffix) : caption_;
    }
    report.beeps += asked.beeps;
    for (int i = 0; i < asked.beeps; ++i) cues_.Cue("unlock", report.sounds);
    report.messages = std::move(asked.messages);
    if (asked.setupDialog) {
        waitingForSetup_ = true;
        report.openSetup = true;
        cues_.Cue("dialog", report.sounds);
        report.timer = TickReport::Timer::Hold;
    }
    game_.requests = {};
}

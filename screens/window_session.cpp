#include "screens/window_session.h"

#include "gfx/draw.h"
#include "play/game.h"
#include "screens/frame_tick.h"
#include "screens/title.h"

WindowSession::WindowSession(Game& game, Listener& listener)
    : game_(game), listener_(listener), picture_(ViewSize, ViewSize + StatusHeight, game.ViewBitmap.Format())
{
}

void WindowSession::Tick()
{
    if (watching_) {
        WatchTicks();
    } else {
        const int screenBefore = game_.state.Screen;
        FrameTick(game_);
        RaceTick(screenBefore);
        Follow(recorder_.AfterTick(game_, screenBefore));
    }
    Blit(picture_, 0, 0, game_.ViewBitmap, 0, 0, ViewSize, ViewSize);
    Blit(picture_, 0, ViewSize, game_.StatusBitmap, 0, 0, ViewSize, StatusHeight);
}

void WindowSession::BetweenTicks(const std::function<void()>& work)
{
    const int screenBefore = game_.state.Screen;
    work();
    Follow(recorder_.AfterTick(game_, screenBefore));
}

void WindowSession::StartWatching(RunFile run)
{
    // A game of the player's in play is left as Shift+F2 leaves it.
    Follow(recorder_.Leaving(game_, RunEnding::Quit));
    watching_.emplace(std::move(run));
    watching_->Start(game_);
    game_.shell.SetCaption(VariantCaption[game_.state.Variant]);
}

void WindowSession::WatchTicks()
{
    for (int n = fastForward_ ? FastForwardTicks : 1; n > 0 && watching_->Playing(game_); --n) watching_->Tick(game_);
    if (watching_->Playing(game_)) return;
    watching_.reset();
    fastForward_ = false;
    if (game_.state.Screen == ScreenPlay) {
        game_.state.Screen = ScreenTitle;
        game_.state.TitleTicks = 0;
    }
}

void WindowSession::Follow(RunRecorder::Event event)
{
    if (event == RunRecorder::Event::Started) {
        racing_ = race_ && game_.fixedStart;
        if (racing_) race_->Begin();
        listener_.GameStarted(recorder_.Header());
    }
    if (event == RunRecorder::Event::Ended) {
        if (racing_ && game_.state.Screen == ScreenEnding)
            listener_.RaceNews(DescribeRace(Race::Of(game_), race_->Shadow()));
        racing_ = false;
        listener_.GameEnded(*recorder_.Finished());
    }
}

void WindowSession::RaceAgainst(RunFile run)
{
    race_.emplace(std::move(run));
    game_.fixedStart = race_->Start();
}

// The shadow's tick after each play tick of the player's, the one that takes
// the goal too, and its figure over the view.
void WindowSession::RaceTick(int screenBefore)
{
    if (!racing_ || screenBefore != ScreenPlay) return;
    if (race_->Tick()) listener_.RaceNews(DescribeShadowFinish(race_->Shadow()));
    race_->Draw(game_);
}

KeyEffect WindowSession::KeyDown(int virtualKey, bool shiftHeld)
{
    if (virtualKey == KeyF2 && shiftHeld) Follow(recorder_.Leaving(game_, RunEnding::Quit));
    return KeyPressed(game_.state, virtualKey, shiftHeld);
}

void WindowSession::KeyUp(int virtualKey) { KeyReleased(game_.state, virtualKey); }

void WindowSession::Closing() { Follow(recorder_.Leaving(game_, RunEnding::Closed)); }

void WindowSession::ShowPause() { DrawTileText(game_.art, picture_, 6, 2, "PAUSE"); }

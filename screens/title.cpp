#include "screens/title.h"

#include "cave/generator.h"
#include "cave/replay.h"
#include "gfx/draw.h"
#include "play/game.h"
#include "screens/title_picture.h"

namespace {

constexpr int DemonstrationTick = 400;

void DrawLogo(Game& g, int variant)
{
    for (int row = 0; row < 4; ++row) DrawTileText(g.art, g.ViewBitmap, 1, 4 + row, TitleLogo[variant][row]);
    DrawTileText(g.art, g.ViewBitmap, 0, 8, TitleLine[variant]);
}

void DrawTitleStrip(Game& g)
{
    DrawTileText(g.art, g.StatusBitmap, 5, 1, VersionLine);
    if (g.state.JoystickPresent) DrawTileText(g.art, g.StatusBitmap, 0, 1, JoystickLine);
}

void DrawScheduled(Game& g)
{
    GameState& s = g.state;
    switch (s.TitleTicks) {
    case 0:
        g.ViewBitmap.FillBlack();
        g.StatusBitmap.FillBlack();
        s.TitleKeyLog.clear();
        s.Variant = 0;
        g.requests.caption = VariantCaption[0];
        break;
    case 20:
        DrawTileText(g.art, g.ViewBitmap, 2, 1, MakerLine);
        DrawTileText(g.art, g.ViewBitmap, 4, 2, "PRESENTS");
        break;
    case 40:
        DrawLogo(g, 0);
        break;
    case 60:
        DrawTileText(g.art, g.ViewBitmap, 7, 10, "BY");
        DrawTileText(g.art, g.ViewBitmap, 4, 11, AuthorLine);
        DrawTileText(g.art, g.ViewBitmap, 7, 12, "AND");
        DrawTileText(g.art, g.ViewBitmap, 0, 13, SecondAuthorLine);
        DrawTileText(g.art, g.ViewBitmap, 0, 16, CreditLine);
        DrawTitleStrip(g);
        break;
    default:
        break;
    }
}

// True when the demonstration is under way; false when its recording could
// not be loaded and the title stays.
bool StartDemonstration(Game& g)
{
    GameState& s = g.state;
    s.DemoMode = true;
    s.Screen = ScreenPlay;
    DrawStatusBar(g);
    try {
        NewGame(g, DemonstrationSettings(s.Beginner));
        return true;
    } catch (const ReplayLoadError& e) {
        // Without its recording the demonstration cannot play: say why and
        // stay on the title, which waits for a button from now on.
        s.DemoMode = false;
        s.Screen = ScreenTitle;
        g.requests.messages.push_back({ApplicationTitle, e.what()});
        g.StatusBitmap.FillBlack();
        DrawTitleStrip(g);
        return false;
    }
}

void LogDirections(GameState& s)
{
    static constexpr char Letters[] = {'q', 'w', 'e', 'r'};  // up, down, left, right
    for (int flag = InputUp; flag <= InputRight; ++flag)
        if (Pressed(s, flag)) s.TitleKeyLog += Letters[flag];
}

void Unlock(Game& g, int variant)
{
    g.requests.caption = VariantCaption[variant];
    DrawLogo(g, variant);
    g.requests.beeps += 1;
    g.state.Variant = std::uint8_t(variant);
    g.state.TitleKeyLog.clear();
}

void SayNoGoodCave(Game& g) { g.requests.messages.push_back({"ｴﾗｰ", "いい洞窟が生成できないようです"}); }

// A game from the title in the cave of the settings, or the message that no
// good cave can be made there.
void Launch(Game& g, const GameSettings& settings)
{
    if (NewGame(g, settings)) {
        g.state.Screen = ScreenPlay;
        DrawStatusBar(g);
    } else {
        SayNoGoodCave(g);
    }
}

// After a start, whether a game began or not.
void Started(Game& g)
{
    GameState& s = g.state;
    // A button released while the dialog had the keyboard must not stay held.
    s.KeysHeld[ButtonSelect] = 0;
    s.KeysHeld[ButtonUse] = 0;
    s.TitleKeyLog.clear();
}

// The game fixed beforehand, at once, with its character and the way it faced.
void StartRace(Game& g)
{
    if (StartFixedGame(g, *g.fixedStart)) {
        g.requests.caption = VariantCaption[g.state.Variant];
    } else {
        g.state.Screen = ScreenTitle;
        g.StatusBitmap.FillBlack();
        DrawTitleStrip(g);
        SayNoGoodCave(g);
    }
    Started(g);
}

// The timer stops while the dialog is open: the game waits for its answer.
void StartGame(Game& g)
{
    g.state.DemoMode = false;
    if (g.fixedStart) return StartRace(g);
    g.requests.setupDialog = true;
}

}  // namespace

void SetupAnswered(Game& g, std::optional<GameSettings> settings)
{
    if (settings) {
        settings->variant = g.state.Variant;
        settings->seed = g.givenSeed ? *g.givenSeed : SeedFromClock(g.clock);
        Launch(g, *settings);
    }
    Started(g);
}

void TitleStep(Game& g)
{
    GameState& s = g.state;
    DrawScheduled(g);
    // The demonstration owns the tick on which it starts: a key or button of
    // that tick must not unlock a character or open the dialog over its cave.
    const bool demonstrating = s.TitleTicks == DemonstrationTick && s.Variant == 0 && StartDemonstration(g);

    s.TitleTicks += 1;
    if (demonstrating || s.TitleTicks <= TitleQuietTicks) return;

    LogDirections(s);
    if (s.TitleKeyLog == Variant1Sequence && s.Variant == 0) Unlock(g, 1);
    if (s.TitleKeyLog == Variant2Sequence && s.Variant == 1) Unlock(g, 2);
    if (s.InputNow[ButtonSelect] || s.InputNow[ButtonUse]) StartGame(g);
}

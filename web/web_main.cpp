// The browser edition: the game behind the page's canvas. The page (see
// page/burrowkin.js) keeps the 50 ms schedule, hands keys, pads, the form's
// answers and run files in through the functions below, and paints Picture().

#include <emscripten.h>

#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "bench/tick_loop.h"
#include "cave/run_file.h"
#include "gfx/assets.h"
#include "play/game.h"
#include "screens/daily_seed.h"
#include "screens/gamepad.h"
#include "screens/spin_text.h"
#include "screens/window_session.h"
#include "web/web_shell.h"

namespace {

EM_JS(void, PageGameStarted, (const char* line), { Burrowkin.page.gameStarted(UTF8ToString(line)); });
EM_JS(void, PageRaceNews, (const char* line), { Burrowkin.page.raceNews(UTF8ToString(line)); });
EM_JS(void, PageGameEnded, (const std::uint8_t* bytes, int size, const char* name),
      { Burrowkin.page.gameEnded(HEAPU8.slice(bytes, bytes + size), UTF8ToString(name)); });

// Tells the page of the player's games: a line when one starts, its run
// when it ends.
class PageListener : public WindowSession::Listener {
public:
    void GameStarted(const RunHeader& header) override
    {
        started_ = std::time(nullptr);
        PageGameStarted(("cave " + DescribeSettings(header.settings)).c_str());
    }
    void GameEnded(const RunFile& run) override
    {
        const std::vector<std::uint8_t> bytes = RunFileBytes(run);
        PageGameEnded(bytes.data(), int(bytes.size()), RunFileName(run.header, started_).c_str());
    }
    void RaceNews(const std::string& line) override { PageRaceNews(line.c_str()); }

private:
    std::time_t started_ = 0;
};

struct Page {
    Assets art;
    WebShell shell;
    PageListener listener;
    std::unique_ptr<Game> game;
    std::unique_ptr<WindowSession> session;
    std::vector<std::uint8_t> rgba = std::vector<std::uint8_t>(std::size_t(ViewSize) * (ViewSize + StatusHeight) * 4);
    std::string text;  // the last string handed to the page
};

Page* page = nullptr;

const char* Hand(std::string text)
{
    page->text = std::move(text);
    return page->text.c_str();
}

}  // namespace

extern "C" {

// Loads the pictures the page put in the data folder and opens the title
// screen; with `seedGiven`, every game the title starts is made from `seed`.
// "" when all is well, else what went wrong.
EMSCRIPTEN_KEEPALIVE const char* bk_start(int seedGiven, std::uint32_t seed)
{
    page = new Page;
    try {
        page->art = LoadAssets(WebDataFolder);
    } catch (const AssetError& e) {
        return Hand(e.what());
    }
    page->game = std::make_unique<Game>(page->art, page->shell);
    if (seedGiven) page->game->givenSeed = seed;
    page->session = std::make_unique<WindowSession>(*page->game, page->listener);
    GameState& s = page->game->state;
    s.Screen = ScreenTitle;
    s.Variant = 0;
    s.Beginner = false;
    s.TitleTicks = 0;
    return Hand("");
}

// Today's seed, as --daily takes it.
EMSCRIPTEN_KEEPALIVE std::uint32_t bk_daily_seed() { return DailySeed(std::time(nullptr)); }

EMSCRIPTEN_KEEPALIVE void bk_tick() { page->session->Tick(); }

// The window's picture, 272 by 304 pixels of red, green, blue and alpha bytes.
EMSCRIPTEN_KEEPALIVE const std::uint8_t* bk_picture()
{
    RgbaBytes(page->session->Picture(), page->rgba.data());
    return page->rgba.data();
}

// 1 when the key asks for the pause to be switched.
EMSCRIPTEN_KEEPALIVE int bk_key_down(int virtualKey, int shiftHeld)
{
    return page->session->KeyDown(virtualKey, shiftHeld != 0) == KeyEffect::TogglePause;
}

EMSCRIPTEN_KEEPALIVE void bk_key_up(int virtualKey) { page->session->KeyUp(virtualKey); }

EMSCRIPTEN_KEEPALIVE void bk_fast_forward(int held) { page->session->SetFastForward(held != 0); }

EMSCRIPTEN_KEEPALIVE void bk_show_pause() { page->session->ShowPause(); }

EMSCRIPTEN_KEEPALIVE void bk_closing() { page->session->Closing(); }

// The pad of this tick: kind 0 none, 1 a pad with the standard layout, 2 a
// joystick read as it comes. Axes -32768..32767; `buttons` has the d-pad in
// bits 0 to 3 (up, down, left, right) and the face buttons in bits 4 to 7
// (A, B, X, Y), or for a joystick its first four buttons in bits 0 to 3.
EMSCRIPTEN_KEEPALIVE void bk_pad(int kind, int x, int y, int z, int buttons)
{
    GameState& s = page->game->state;
    if (kind == 0) {
        // A pad that went away leaves nothing held.
        if (s.JoystickPresent) s.JoyInfo = JoyInfoOfPad({});
        return;
    }
    s.JoystickPresent = true;
    if (kind == 2) {
        s.JoyInfo = JoyInfoOfStick(std::int16_t(x), std::int16_t(y), std::int16_t(z), std::uint32_t(buttons));
        return;
    }
    const auto bit = [buttons](int b) { return (buttons >> b & 1) != 0; };
    s.JoyInfo = JoyInfoOfPad({.stickX = std::int16_t(x), .stickY = std::int16_t(y), .up = bit(0), .down = bit(1),
                              .left = bit(2), .right = bit(3), .a = bit(4), .b = bit(5), .x = bit(6), .y = bit(7)});
}

// The setup form was sent (ok 1) or cancelled (ok 0).
EMSCRIPTEN_KEEPALIVE void bk_setup_answered(int ok, int width, int height, int speedToDeath, int beginner)
{
    std::optional<GameSettings> settings;
    if (ok) settings = {.width = width, .height = height, .beginner = beginner != 0, .speedToDeath = speedToDeath};
    page->session->BetweenTicks([&] { page->shell.SetupAnswered(settings); });
}

// What a spin box's text reads as, as the window's dialog reads it.
EMSCRIPTEN_KEEPALIVE int bk_read_spin(const char* text, int minimum, int maximum)
{
    return ReadSpinText(text, minimum, maximum);
}

// Watches (race 0) or races (race 1) the run in the bytes, named `name` in a
// message; "" when all is well, else why it cannot.
EMSCRIPTEN_KEEPALIVE const char* bk_run(const std::uint8_t* bytes, int size, const char* name, int race)
{
    try {
        RunFile run = ParseRunFile(std::vector<std::uint8_t>(bytes, bytes + size));
        if (race) page->session->RaceAgainst(std::move(run));
        else page->session->StartWatching(std::move(run));
        return Hand("");
    } catch (const RunFileError& e) {
        return Hand(std::string(race ? "cannot race " : "cannot watch ") + name + ": " + e.what());
    }
}

// What a tick with its view costs here, in nanoseconds: the loop of the
// desktop's tick_cost, in a game of its own.
EMSCRIPTEN_KEEPALIVE double bk_tick_cost(int ticks) { return NanosecondsPerTick(page->art, ticks); }

// A few fields of the game, as JSON, for the page's tests and the curious.
EMSCRIPTEN_KEEPALIVE const char* bk_state()
{
    const GameState& s = page->game->state;
    const GameSettings& settings = page->game->settings;
    const auto n = [](long long v) { return std::to_string(v); };
    return Hand("{\"screen\":" + n(s.Screen) + ",\"titleTicks\":" + n(s.TitleTicks) + ",\"variant\":" + n(s.Variant) +
                ",\"demo\":" + (s.DemoMode ? "true" : "false") +
                ",\"watching\":" + (page->session->Watching() ? "true" : "false") + ",\"frame\":" + n(s.FrameIndex) +
                ",\"x\":" + n(s.PlayerX) + ",\"y\":" + n(s.PlayerY) + ",\"width\":" + n(s.CaveWidth) +
                ",\"height\":" + n(s.CaveHeight) + ",\"beginner\":" + (s.Beginner ? "true" : "false") +
                ",\"speedToDeath\":" + n(s.SpeedToDeath) + ",\"seed\":" + n(settings.seed) + ",\"score\":" + n(s.Score) +
                ",\"misses\":" + n(s.Misses) + ",\"joystick\":" + (s.JoystickPresent ? "true" : "false") + "}");
}

}  // extern "C"

int main() { return 0; }

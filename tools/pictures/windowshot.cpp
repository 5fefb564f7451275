// windowshot: the game's window as a player sees it, drawn offscreen and saved
// as a picture.
//
//   windowshot title OUT.png               the title screen when it is complete
//   windowshot ending OUT.png [options] --inputs FILE
//                                          the ending of a real game: the inputs
//                                          (burrowkin-sim's inputs file) are
//                                          played in the cave of the options
//                                          until the goal is reached
//   windowshot watch OUT.png --run FILE --ticks N
//                                          a run file watched, N ticks in
//   windowshot setup OUT.png               the setup dialog as it first opens
//   windowshot keys OUT.png                the keys dialog with the game's own keys
//   windowshot fullscreen OUT.png          the whole screen with the title in
//                                          full screen (run it on a display of
//                                          the size wanted, e.g. in xvfb-run)
#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QScreen>
#include <cstdio>
#include <fstream>
#include <functional>

#include "app/keys_dialog.h"
#include "app/main_window.h"
#include "screens/setting.h"
#include "screens/frame_tick.h"
#include "tools/sim/options.h"
#include "tools/sim/sim_context.h"

namespace {

constexpr int TitleTicks = 61;  // three seconds: the title picture is complete

std::vector<std::uint16_t> ReadInputs(const std::string& path)
{
    std::ifstream in(path);
    if (!in) throw UsageError("cannot read " + path);
    std::vector<std::uint16_t> words;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number)
        if (!line.empty()) words.push_back(std::uint16_t(ParseNumber(path + " line " + std::to_string(number), line, 0, 65535)));
    return words;
}

// Plays the inputs as burrowkin-sim play does, until the goal is reached.
void PlayToTheGoal(SimContext& sim, const Arguments& a)
{
    GameState& s = sim.game->state;
    if (!NewGame(*sim.game, a.common)) throw UsageError("the cave could not be generated");
    DrawStatusBar(*sim.game);
    s.Screen = ScreenPlay;
    const std::vector<std::uint16_t> inputs = ReadInputs(a.Text("--inputs").value_or(""));
    for (std::size_t k = 0; k < inputs.size() && s.Screen == ScreenPlay; ++k) {
        sim.game->clock = ClockAfterTicks(std::uint32_t(k));
        s.KeysHeld = FlagsFromWord(inputs[k]);
        FrameTick(*sim.game);
    }
    if (s.Screen != ScreenEnding) throw UsageError("the inputs end before the character reaches the goal");
    s.KeysHeld = {};
}

int Save(const QPixmap& picture, const std::string& out)
{
    if (!picture.save(QString::fromStdString(out), "PNG")) throw UsageError("cannot write " + out);
    return 0;
}

// Lets the window system do its work until `done`, `milliseconds` at the most.
void WaitUntil(const std::function<bool()>& done, int milliseconds = 3000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < milliseconds) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

// The screen as the window system shows it, the window in full screen on it.
QPixmap FullScreenShot(TForm1& form)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    form.SetFullScreen(true);
    WaitUntil([&] { return form.size() == screen->size(); });
    for (int i = 0; i < TitleTicks; ++i) form.Timer1Timer();
    WaitUntil([] { return false; }, 300);  // the painted frame reaches the screen
    const QPixmap shot = screen->grabWindow(0);
    return shot.isNull() ? form.grab() : shot;
}

QPixmap SetupDialogShot()
{
    TForm2 dialog;
    dialog.show();
    WaitUntil([&] { return dialog.isVisible(); });
    return dialog.grab();
}

QPixmap KeysDialogShot()
{
    KeysDialog dialog(KeyBindings::Defaults());
    dialog.show();
    WaitUntil([&] { return dialog.isVisible(); });
    return dialog.grab();
}

}  // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    try {
        if (argc < 3)
            throw UsageError("usage: windowshot title|setup|keys|fullscreen OUT.png | windowshot ending OUT.png [options] --inputs FILE"
                             " | windowshot watch OUT.png --run FILE --ticks N");
        const std::string what = argv[1], out = argv[2];
        if (what == "setup") return Save(SetupDialogShot(), out);
        if (what == "keys") return Save(KeysDialogShot(), out);
        const Arguments a = ParseArguments(std::vector<std::string>(argv + 3, argv + argc),
                                           {{"--inputs", true}, {"--run", true}, {"--ticks", true}});
        SimContext sim(true);
        RunOptions runs;
        if (what == "watch") runs.watch = ReadRunOrFail(a.Text("--run").value_or(""));
        TForm1 form(sim.art, PixelFormat::Rgb32, FindDataDirectory(argv[0]), 1, std::move(runs));
        if (what == "fullscreen") return Save(FullScreenShot(form), out);
        form.show();
        if (what == "title") {
            for (int i = 0; i < TitleTicks; ++i) form.Timer1Timer();
        } else if (what == "ending") {
            PlayToTheGoal(sim, a);
            Game& shown = form.game();
            shown.state = sim.game->state;
            shown.map = sim.game->map;
            shown.StatusBitmap = sim.game->StatusBitmap;
            form.Timer1Timer();
        } else if (what == "watch") {
            for (std::int64_t n = a.Number("--ticks", 1, 65520).value_or(1); n > 0 && form.Watching(); --n) form.Timer1Timer();
        } else {
            throw UsageError("no picture called '" + what + "'");
        }
        return Save(form.grab(), out);
    } catch (const UsageError& e) {
        std::fprintf(stderr, "windowshot: %s\n", e.what());
        return 2;
    }
}

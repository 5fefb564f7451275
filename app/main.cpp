// Korvane Burrowkin: program start.

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string_view>
#include <vector>

#include "app/board_client.h"
#include "app/command_line.h"
#include "screens/daily_seed.h"
#include "app/display.h"
#include "app/main_window.h"
#include "app/run_folder.h"
#include "app/screen_fit.h"
#include "app/keys_file.h"
#include "app/sound_out.h"
#include "app/usage.h"
#include "app/window_icon.h"
#include "gfx/assets.h"
#include "runs/run_check.h"
#include "screens/setting.h"

namespace {

const char* const ApplicationTitle = "Korvane Burrowkin";
// The name of the installed desktop entry, which also names the icon.
const char* const DesktopEntryId = "io.github.burrowkin.KorvaneBurrowkin";

bool DisplayAvailable()
{
    auto set = [](const char* name) { const char* v = std::getenv(name); return v && *v; };
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
}

// The runs the player asked for, made ready: the record folder checked, the
// runs to watch or to race read (those given by their address the window
// fetches), the board noted. A folder for runs that cannot take them stops the start
// (RunFolderError); a run that cannot be watched or raced leaves `runProblem`
// to say.
RunOptions PrepareRuns(const CommandLine& options, std::string& runProblem)
{
    RunOptions runs;
    runs.speed = options.speed;
    runs.keysFile = options.keysFile;
    if (!options.defaultKeys) {
        const std::string keys = options.keysFile.value_or(DefaultKeysFile());
        std::error_code ec;
        if (options.keysFile && !std::filesystem::exists(keys, ec))
            std::fprintf(stderr, "burrowkin: the game's own keys, as %s is not there\n", keys.c_str());
        runs.keys = ReadKeysFile(keys);
    }
    if (options.daily) runs.seed = DailySeed(std::time(nullptr));
    else runs.seed = options.seed;
    if (options.record != CommandLine::RecordTo::Nowhere) runs.recordFolder = PrepareRunFolder(options.recordFolder);
    if (options.board) runs.board = RunOptions::Board{*options.board, *options.name};
    if (options.watch && IsWebAddress(*options.watch)) {
        runs.watchAddress = options.watch;
    } else if (options.watch) {
        try {
            runs.watch = ReadCheckedRun(*options.watch).run;
        } catch (const RunFileError& e) {
            runProblem = std::string("cannot watch ") + e.what();
        }
    }
    if (options.race && IsWebAddress(*options.race)) {
        runs.raceAddress = options.race;
    } else if (options.race) {
        try {
            runs.race = ReadCheckedRun(*options.race).run;
        } catch (const RunFileError& e) {
            runProblem = std::string("cannot race ") + e.what();
        }
    }
    return runs;
}

// The arguments Qt reads: all but --name and its value, which Qt would
// also take for the X11 instance name of the window.
std::vector<char*> ArgumentsForQt(int argc, char** argv)
{
    std::vector<char*> kept(argv, argv + 1);
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--") {
            kept.insert(kept.end(), argv + i, argv + argc);
            break;
        }
        if (argument == "--name" && i + 1 < argc) ++i;
        else if (!argument.starts_with("--name=")) kept.push_back(argv[i]);
    }
    kept.push_back(nullptr);
    return kept;
}

}  // namespace

int main(int argc, char** argv)
{
    const CommandLine options = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (std::optional<int> status = AnswerWithoutWindow(options, argv[0])) return *status;
    if (!DisplayAvailable()) {
        SayNoDisplay(argv[0], "no display found");
        return 1;
    }
    const QtMessageHandler usualHandler = ExitWithAdviceIfNoWindowSystem(argv[0]);
    std::vector<char*> qtArguments = ArgumentsForQt(argc, argv);
    int qtCount = int(qtArguments.size()) - 1;
    QApplication application(qtCount, qtArguments.data());
    qInstallMessageHandler(usualHandler);
    QApplication::setApplicationName(QString::fromUtf8(ApplicationTitle));
    QApplication::setDesktopFileName(QString::fromUtf8(DesktopEntryId));

    RunOptions runs;
    std::string runProblem;
    try {
        runs = PrepareRuns(options, runProblem);
    } catch (const RunFolderError& e) {
        ReportFatal(ApplicationTitle, e.what());
        return 2;
    }

    const std::string dataDirectory = FindDataDirectory(argv[0]);
    Assets art;
    try {
        art = LoadAssets(dataDirectory);
    } catch (const AssetError& e) {
        ReportFatal(ApplicationTitle, e.what());
        return 1;
    }

    // Without its sounds the game plays silently.
    std::optional<SoundBank> sounds;
    try {
        sounds = SoundBank::Load(dataDirectory);
    } catch (const SoundSourceError& e) {
        std::fprintf(stderr, "burrowkin: no sound: %s\n", e.what());
    }
    std::optional<SoundOut> sound;
    if (sounds) sound.emplace(*sounds, SoundOut::Options{.on = !options.mute, .volume = options.volume, .music = options.music});

    QApplication::setWindowIcon(WindowIcon(dataDirectory));
    TForm1 Form1(art, options.palette256 ? PixelFormat::Indexed8 : PixelFormat::Rgb32, dataDirectory,
                 ScaleForPrimaryScreen(options.scale), std::move(runs), sound ? &*sound : nullptr);
    TForm2 Form2;
    Form1.setupDialog = [&] { return Form2.Run(); };
    if (options.fullscreen) Form1.SetFullScreen(true);
    else Form1.show();
    if (!runProblem.empty()) Form1.Report(runProblem);
    const int status = application.exec();
    Form1.FinishSending();
    return status;
}

// Korvane Burrowkin: program start.

#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "app/command_line.h"
#include "app/display.h"
#include "app/main_window.h"
#include "app/window_icon.h"
#include "gfx/assets.h"
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

}  // namespace

int main(int argc, char** argv)
{
    if (!DisplayAvailable()) {
        SayNoDisplay(argv[0], "no display found");
        return 1;
    }
    const CommandLine options = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    for (const std::string& warning : options.warnings) std::fprintf(stderr, "burrowkin: %s\n", warning.c_str());

    const QtMessageHandler usualHandler = ExitWithAdviceIfNoWindowSystem(argv[0]);
    QApplication application(argc, argv);
    qInstallMessageHandler(usualHandler);
    QApplication::setApplicationName(QString::fromUtf8(ApplicationTitle));
    QApplication::setDesktopFileName(QString::fromUtf8(DesktopEntryId));

    const std::string dataDirectory = FindDataDirectory(argv[0]);
    Assets art;
    try {
        art = LoadAssets(dataDirectory);
    } catch (const AssetError& e) {
        ReportFatal(ApplicationTitle, e.what());
        return 1;
    }

    QApplication::setWindowIcon(WindowIcon(dataDirectory));
    TForm1 Form1(art, options.palette256 ? PixelFormat::Indexed8 : PixelFormat::Rgb32, dataDirectory, options.scale);
    TForm2 Form2;
    Form1.setupDialog = [&] { return Form2.Run(); };
    Form1.show();
    return application.exec();
}

// The window program's start-up and memory: the time from the process's start
// to the first frame painted in its window, and the peak resident memory after
// the title, a demonstration and a game in the largest cave.
//
// Run it under the offscreen platform: QT_QPA_PLATFORM=offscreen startup_bench
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "app/main_window.h"
#include "gfx/assets.h"

namespace {

// Seconds since boot at which this process started, and now.
double ProcessStartSeconds()
{
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), {});
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 22; ++i) fields >> field;  // field 22: start time in clock ticks
    return std::stod(field) / double(::sysconf(_SC_CLK_TCK));
}

double UptimeSeconds()
{
    std::ifstream uptime("/proc/uptime");
    double seconds = 0;
    uptime >> seconds;
    return seconds;
}

long PeakResidentKilobytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

// The window as the program opens it, answering its dialogs itself.
class BenchForm : public TForm1 {
public:
    template <typename... Args>
    explicit BenchForm(Args&&... args) : TForm1(std::forward<Args>(args)...)
    {
        setupDialog = [] { return GameSettings{.width = 216, .height = 216}; };
    }
    void ShowErrorBox(const std::string&, const std::string& text) override { std::fprintf(stderr, "error box: %s\n", text.c_str()); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && firstPaint < 0) firstPaint = UptimeSeconds();
        return false;
    }
    double firstPaint = -1;
};

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const std::string data = FindDataDirectory(argv[0]);
    const Assets art = LoadAssets(std::getenv("BURROWKIN_DATA_DIR") ? std::getenv("BURROWKIN_DATA_DIR") : data);
    BenchForm form(art, PixelFormat::Rgb32, data);
    form.installEventFilter(&form);
    form.show();
    QElapsedTimer waited;
    waited.start();
    while (form.firstPaint < 0 && waited.elapsed() < 5000) QApplication::processEvents();
    const double startToFrame = (form.firstPaint - ProcessStartSeconds()) * 1000;

    // Twenty seconds of title, the demonstration, then a button and a game in the largest cave.
    for (int i = 0; i < 1400; ++i) form.Timer1Timer();
    form.game().state.Screen = ScreenTitle;
    form.game().state.TitleTicks = 61;
    form.game().state.KeysHeld[ButtonUse] = 1;
    form.Timer1Timer();
    for (int i = 0; i < 1000; ++i) form.Timer1Timer();

    std::printf("{\"start_to_first_frame_ms\":%.0f,\"peak_resident_mb\":%.1f,\"screen\":%d,\"cave\":%dx%d}\n", startToFrame,
                PeakResidentKilobytes() / 1024.0, form.game().state.Screen, form.game().state.CaveWidth,
                form.game().state.CaveHeight);
    return 0;
}

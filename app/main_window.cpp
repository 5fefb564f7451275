#include "app/main_window.h"

#include "app/screen_fit.h"

#include <QApplication>
#include <QDateTime>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>

#include "app/board_client.h"
#include "app/display.h"
#include "app/keys_file.h"
#include "app/run_folder.h"
#include "core/files.h"
#include "screens/keys.h"
#include "screens/title.h"

namespace {

constexpr int TickMilliseconds = 50;

}  // namespace

int VirtualKeyOf(int qtKey)
{
    // Letters and digits have the same codes in Qt and in the game.
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) return qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return KeyF2 - 1 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Up: return KeyUp;
    case Qt::Key_Down: return KeyDown;
    case Qt::Key_Left: return KeyLeft;
    case Qt::Key_Right: return KeyRight;
    case Qt::Key_Space: return KeySpace;
    case Qt::Key_Return:
    case Qt::Key_Enter: return KeyEnter;
    case Qt::Key_Tab: return KeyTab;
    case Qt::Key_Escape: return EscapeKey;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Home: return 36;
    case Qt::Key_End: return 35;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_Semicolon: return 186;
    case Qt::Key_Equal: return 187;
    case Qt::Key_Comma: return 188;
    case Qt::Key_Minus: return 189;
    case Qt::Key_Period: return 190;
    case Qt::Key_Slash: return 191;
    case Qt::Key_QuoteLeft: return 192;
    case Qt::Key_BracketLeft: return 219;
    case Qt::Key_Backslash: return 220;
    case Qt::Key_BracketRight: return 221;
    case Qt::Key_Apostrophe: return 222;
    default: return 0;
    }
}

TForm1::TForm1(const Assets& art, PixelFormat format, std::string dataDirectory, int scale, RunOptions runs, SoundOut* sound)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      game_(art, format),
      dataDirectory_(std::move(dataDirectory)),
      scale_(std::max(scale, 1)),
      session_(game_, runs.seed, sound ? &sound->Bank() : nullptr),
      runs_(std::move(runs)),
      sound_(sound)
{
    setFixedSize(WindowSize());
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setWindowTitle(QString::fromUtf8(VariantCaption[0].data(), qsizetype(VariantCaption[0].size())));
    const Surface& picture = session_.Picture();
    clientImage_ = QImage(picture.Bits(), picture.Width(), picture.Height(), picture.Stride(),
                          format == PixelFormat::Rgb32 ? QImage::Format_RGB32 : QImage::Format_Indexed8);
    if (format == PixelFormat::Indexed8)
        clientImage_.setColorTable(QList<QRgb>(art.palette.begin(), art.palette.end()));
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    FormCreate();
    game_.replayPath = [this] { return ReplayPath(); };
    keysDialog = [this](const KeyBindings& keys) {
        KeysDialog dialog(keys, [this]() -> std::optional<std::uint32_t> {
            if (!joyInfo_) return std::nullopt;
            joystick_.Read(*joyInfo_);
            return joyInfo_->wButtons;
        }, this);
        return dialog.Run();
    };
    Timer1.setTimerType(Qt::PreciseTimer);
    // A slower game is the same game with a slower clock: 50 ms at full speed.
    Timer1.setInterval(int(std::lround(TickMilliseconds * 100.0 / runs_.speed)));
    connect(&Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    Timer1.start();
    if (runs_.keys) Step({.bindings = runs_.keys});
    if (runs_.watch) Step({.watch = std::exchange(runs_.watch, std::nullopt)});
    if (runs_.race) Step({.race = std::exchange(runs_.race, std::nullopt)});
    if (runs_.watchAddress) Fetch(*runs_.watchAddress, "watch", fetchedWatch_);
    if (runs_.raceAddress) Fetch(*runs_.raceAddress, "race", fetchedRace_);
}

TForm1::~TForm1() = default;

void TForm1::FormCreate()
{
    // The surfaces, the black status strip and the tables came with the game;
    // the session set the title's first tick.
    JoyInfoRecord info{};
    if (joystick_.Probe(info)) joyInfo_ = info;
}

void TForm1::Timer1Timer()
{
    TickInput input{.tick = true};
    if (joyInfo_ && !session_.Watching()) joystick_.Read(*joyInfo_);
    input.joystick = joyInfo_;
    input.watch = std::exchange(fetchedWatch_, std::nullopt);
    input.race = std::exchange(fetchedRace_, std::nullopt);
    Step(std::move(input));
}

void TForm1::Step(TickInput input)
{
    input.clock = Now();
    input.speed = runs_.speed;
    Show(session_.Step(input));
}

void TForm1::Show(const TickReport& report)
{
    if (!report.caption.empty()) setWindowTitle(QString::fromStdString(report.caption));
    if (sound_) {
        if (report.toggleSound) sound_->Toggle();
        if (report.stopMusic) sound_->StopMusic();
        for (const int sound : report.sounds) sound_->Play(sound);
    }
    // The hidden sequence's sound stands for the beep while sound is on.
    if (!sound_ || !sound_->Open() || !sound_->On())
        for (int i = 0; i < report.beeps; ++i) QApplication::beep();
    for (const std::string& line : report.news) std::printf("burrowkin: %s\n", line.c_str());
    std::fflush(stdout);
    if (report.ended) {
        Keep(*report.ended);
        Send(report.ended->run);
    }
    if (report.toggleFullScreen) ToggleFullScreen();
    if (report.newPicture) update();
    // A box or the dialog waits for the player, and no tick runs meanwhile.
    const bool running = Timer1.isActive();
    if (!report.messages.empty()) SetTimerRunning(false);
    for (const WindowRequests::Message& box : report.messages) ShowErrorBox(box.caption, box.text);
    if (report.timer == TickReport::Timer::Hold) SetTimerRunning(false);
    else if (report.timer == TickReport::Timer::Release) SetTimerRunning(true);
    else if (!report.messages.empty()) SetTimerRunning(running);
    if (report.openSetup) {
        const std::optional<GameSettings> answer = setupDialog ? setupDialog() : std::optional<GameSettings>(GameSettings{});
        Step({.setup = TickInput::SetupAnswer{answer}});
    }
    if (report.openKeys) AnswerKeys();
}

void TForm1::AnswerKeys()
{
    const std::optional<KeysChoice> choice = keysDialog ? keysDialog(session_.Bindings()) : std::nullopt;
    Step({.keysAnswer = TickInput::KeysAnswer{choice ? std::optional(choice->bindings) : std::nullopt}});
    if (!choice || !choice->keep) return;
    const std::string path = runs_.keysFile.value_or(DefaultKeysFile());
    const std::string why = path.empty() ? "neither XDG_CONFIG_HOME nor HOME is set" : KeepKeys(choice->bindings, path);
    if (why.empty()) {
        std::printf("burrowkin: keys kept in %s\n", path.c_str());
        std::fflush(stdout);
    } else {
        Report("the keys could not be kept (" + why + "); they are used until the game closes");
    }
}

void TForm1::Keep(const TickReport::EndedGame& ended)
{
    if (runs_.recordFolder.empty()) return;
    try {
        const std::string path = KeepRunFile(runs_.recordFolder, ended.run, ended.started);
        std::printf("burrowkin: run kept in %s\n", path.c_str());
        std::fflush(stdout);
    } catch (const FileError& e) {
        Report(std::string("the run could not be kept: ") + e.what());
    }
}

void TForm1::Send(const RunFile& run)
{
    if (!runs_.board || run.header.ending != RunEnding::Goal) return;
    const std::time_t now = std::time_t(Now().utcMilliseconds / 1000);
    if (const auto why = WhyNotSent(run, now)) {
        std::printf("burrowkin: board: not sent: %s\n", why->c_str());
        std::fflush(stdout);
        return;
    }
    Network().Submit(runs_.board->address, runs_.board->name, run, now,
                     [this](const BoardNews& news) { Announce("board: " + news.line, !news.good); });
}

void TForm1::Fetch(const std::string& address, const std::string& what, std::optional<RunFile>& arrived)
{
    Network().Fetch(address, [this, address, what, &arrived](std::optional<RunFile> run, const std::string& problem) {
        if (run) arrived = std::move(run);
        else Report("cannot " + what + " " + address + ": " + problem);
    });
}

BoardClient& TForm1::Network()
{
    if (!network_) network_ = std::make_unique<BoardClient>();
    return *network_;
}

void TForm1::FinishSending()
{
    if (network_) network_->Finish(10'000);
}

void TForm1::Report(const std::string& problem)
{
    std::fprintf(stderr, "burrowkin: %s\n", problem.c_str());
    ShowBoxFor(problem, true);
}

void TForm1::Announce(const std::string& line, bool trouble)
{
    std::printf("burrowkin: %s\n", line.c_str());
    std::fflush(stdout);
    ShowBoxFor(line, trouble);
}

void TForm1::ShowBoxFor(const std::string& text, bool trouble)
{
    if (!isVisible() || !SomeoneCanAnswerABox()) return;
    auto* box = new QMessageBox(trouble ? QMessageBox::Warning : QMessageBox::Information, QString::fromUtf8(ApplicationTitle),
                                QString::fromStdString(text), QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

QSize TForm1::WindowSize() const { return QSize(ViewSize, ViewSize + StatusHeight) * scale_; }

void TForm1::SetFullScreen(bool on)
{
    if (on) {
        // The fixed size would keep the window from covering the screen.
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        setCursor(Qt::BlankCursor);
        showFullScreen();
    } else {
        showNormal();
        setFixedSize(WindowSize());
        unsetCursor();
    }
}

void TForm1::keyPressEvent(QKeyEvent* event) { FormKey(event, true); }

void TForm1::keyReleaseEvent(QKeyEvent* event) { FormKey(event, false); }

void TForm1::FormKey(QKeyEvent* event, bool down)
{
    const int key = VirtualKeyOf(event->key());
    if (!key) {
        if (down) QWidget::keyPressEvent(event);
        else QWidget::keyReleaseEvent(event);
        return;
    }
    Step({.keys = {{.virtualKey = key,
                    .down = down,
                    .shift = (event->modifiers() & Qt::ShiftModifier) != 0,
                    .repeat = event->isAutoRepeat()}}});
}

bool TForm1::focusNextPrevChild(bool)
{
    return false;  // Tab is the fast-forward key, not a move between widgets
}

void TForm1::paintEvent(QPaintEvent*)
{
    // Drawn in device pixels, each game pixel a whole number of them and
    // sampled from its nearest neighbour, so that no display density blurs it.
    // When the density is not whole, and in full screen, what the whole blocks
    // leave over is a black margin around the centred picture.
    QPainter painter(this);
    const qreal ratio = painter.device()->devicePixelRatioF();
    const QSize device(qRound(width() * ratio), qRound(height() * ratio));
    const int blocks = isFullScreen() ? LargestWholeScale(device) : std::max(1, int(scale_ * ratio + 1e-9));
    const QSize picture = clientImage_.size() * blocks;
    const QRect target(QPoint((device.width() - picture.width()) / 2, (device.height() - picture.height()) / 2), picture);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setWorldTransform(QTransform::fromScale(1 / ratio, 1 / ratio));
    if (target.size() != device) painter.fillRect(QRect(QPoint(0, 0), device), Qt::black);
    painter.drawImage(target, clientImage_);
}

void TForm1::closeEvent(QCloseEvent* event)
{
    Timer1.stop();
    Step({.closing = true});
    QWidget::closeEvent(event);
}

void TForm1::ShowErrorBox(const std::string& caption, const std::string& text)
{
    // Where nobody sees the window, a box would wait for ever.
    if (!SomeoneCanAnswerABox()) {
        std::fprintf(stderr, "burrowkin: %s: %s\n", caption.c_str(), text.c_str());
        return;
    }
    QMessageBox box(QMessageBox::Critical, QString::fromStdString(caption), QString::fromStdString(text), QMessageBox::Ok, this);
    box.exec();
}

WallClock TForm1::Now() const
{
    return WallClock{.utcMilliseconds = QDateTime::currentMSecsSinceEpoch(), .localSecond = QTime::currentTime().second()};
}

void TForm1::SetTimerRunning(bool running)
{
    if (running) Timer1.start();
    else Timer1.stop();
}

std::string TForm1::ReplayPath()
{
    namespace fs = std::filesystem;
    const fs::path here = "replay.dat";
    std::error_code ec;
    if (fs::exists(here, ec)) return here.string();
    const fs::path beside = fs::path(dataDirectory_) / "replay.dat";
    if (fs::is_symlink(fs::symlink_status(here, ec)) && !warnedOfBrokenLink_) {
        std::fprintf(stderr, "burrowkin: replay.dat in the working folder is a link that leads to no file; looking in %s instead\n",
                     dataDirectory_.c_str());
        warnedOfBrokenLink_ = true;
    }
    return fs::exists(beside, ec) ? beside.string() : here.string();
}

#include "app/main_window.h"

#include "app/screen_fit.h"

#include <QApplication>
#include <QDateTime>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>

#include "app/display.h"
#include "app/run_folder.h"
#include "core/files.h"
#include "screens/keys.h"
#include "screens/title.h"

namespace {

constexpr int TickMilliseconds = 50;
const char* const StartCaption = "こるべに";
const char* const PausedSuffix = "（一時停止）";
// Held while watching a run, it plays four ticks a frame.
constexpr int FastForwardKey = Qt::Key_Tab;

int VirtualKeyOf(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Up: return KeyUp;
    case Qt::Key_Down: return KeyDown;
    case Qt::Key_Left: return KeyLeft;
    case Qt::Key_Right: return KeyRight;
    case Qt::Key_Space: return KeySpace;
    case Qt::Key_X: return KeyX;
    case Qt::Key_Return:
    case Qt::Key_Enter: return KeyEnter;
    case Qt::Key_Z: return KeyZ;
    case Qt::Key_F2: return KeyF2;
    case Qt::Key_F3: return KeyF3;
    default: return 0;
    }
}

}  // namespace

TForm1::TForm1(const Assets& art, PixelFormat format, std::string dataDirectory, int scale, RunOptions runs)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      game_(art, *this, format),
      dataDirectory_(std::move(dataDirectory)),
      scale_(std::max(scale, 1)),
      session_(game_, *this),
      runs_(std::move(runs))
{
    setFixedSize(WindowSize());
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setWindowTitle(QString::fromUtf8(StartCaption));
    const Surface& picture = session_.Picture();
    clientImage_ = QImage(picture.Bits(), picture.Width(), picture.Height(), picture.Stride(),
                          format == PixelFormat::Rgb32 ? QImage::Format_RGB32 : QImage::Format_Indexed8);
    if (format == PixelFormat::Indexed8)
        clientImage_.setColorTable(QList<QRgb>(art.palette.begin(), art.palette.end()));
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    FormCreate();
    game_.givenSeed = runs_.seed;
    if (runs_.watch) StartWatching(*std::exchange(runs_.watch, std::nullopt));
    if (runs_.race) session_.RaceAgainst(*std::exchange(runs_.race, std::nullopt));
    Timer1.setTimerType(Qt::PreciseTimer);
    Timer1.setInterval(TickMilliseconds);
    connect(&Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    Timer1.start();
}

TForm1::~TForm1() = default;

void TForm1::FormCreate()
{
    // The surfaces, the black status strip and the tables came with the game.
    GameState& s = game_.state;
    s.Screen = ScreenTitle;
    s.Variant = 0;
    s.Beginner = false;
    s.TitleTicks = 0;
    s.JoystickPresent = joystick_.Probe(s.JoyInfo);
}

void TForm1::Timer1Timer()
{
    // A modal box opened inside a tick runs its own event loop; a tick must
    // never start inside another.
    if (inTick_) return;
    inTick_ = true;
    if (game_.state.JoystickPresent && !session_.Watching()) joystick_.Read(game_.state.JoyInfo);
    session_.Tick();
    update();
    inTick_ = false;
}

void TForm1::StartWatching(RunFile run) { session_.StartWatching(std::move(run)); }

void TForm1::GameStarted(const RunHeader& header)
{
    gameStarted_ = std::time(nullptr);
    std::printf("burrowkin: cave %s\n", DescribeSettings(header.settings).c_str());
    std::fflush(stdout);
}

void TForm1::RaceNews(const std::string& line)
{
    std::printf("burrowkin: %s\n", line.c_str());
    std::fflush(stdout);
}

void TForm1::GameEnded(const RunFile& run)
{
    if (runs_.recordFolder.empty()) return;
    try {
        const std::string path = KeepRunFile(runs_.recordFolder, run, gameStarted_);
        std::printf("burrowkin: run kept in %s\n", path.c_str());
        std::fflush(stdout);
    } catch (const FileError& e) {
        Report(std::string("the run could not be kept: ") + e.what());
    }
}

void TForm1::Report(const std::string& problem)
{
    std::fprintf(stderr, "burrowkin: %s\n", problem.c_str());
    if (!isVisible() || !SomeoneCanAnswerABox()) return;
    auto* box = new QMessageBox(QMessageBox::Warning, QString::fromUtf8(ApplicationTitle), QString::fromStdString(problem),
                                QMessageBox::Ok, this);
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

void TForm1::keyPressEvent(QKeyEvent* event)
{
    // Not a key of the game: the switch happens between ticks and leaves the
    // held keys as they are.
    if (event->key() == Qt::Key_F11) {
        if (!event->isAutoRepeat()) ToggleFullScreen();
        return;
    }
    if (event->key() == FastForwardKey) session_.SetFastForward(true);
    else if (int vk = VirtualKeyOf(event->key())) FormKeyDown(vk, event->modifiers() & Qt::ShiftModifier);
    else QWidget::keyPressEvent(event);
}

void TForm1::keyReleaseEvent(QKeyEvent* event)
{
    // X11 sends a release before every repeated press of a held key; taking it
    // would drop the flag between two ticks.
    if (event->isAutoRepeat()) return;
    if (event->key() == FastForwardKey) session_.SetFastForward(false);
    else if (int vk = VirtualKeyOf(event->key())) FormKeyUp(vk);
    else QWidget::keyReleaseEvent(event);
}

bool TForm1::focusNextPrevChild(bool)
{
    return false;  // Tab is the fast-forward key, not a move between widgets
}

void TForm1::FormKeyDown(int virtualKey, bool shiftHeld)
{
    if (session_.KeyDown(virtualKey, shiftHeld) == KeyEffect::TogglePause) TogglePause();
}

void TForm1::FormKeyUp(int virtualKey) { session_.KeyUp(virtualKey); }

void TForm1::TogglePause()
{
    if (Timer1.isActive()) {
        Timer1.stop();
        setWindowTitle(windowTitle() + QString::fromUtf8(PausedSuffix));
        session_.ShowPause();
        update();
    } else {
        Timer1.start();
        setWindowTitle(windowTitle().left(4));  // the variant's four kana
    }
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
    session_.Closing();
    QWidget::closeEvent(event);
}

void TForm1::SetCaption(std::string_view utf8) { setWindowTitle(QString::fromUtf8(utf8.data(), qsizetype(utf8.size()))); }

void TForm1::Beep() { QApplication::beep(); }

void TForm1::StopTimer() { Timer1.stop(); }

void TForm1::StartTimer() { Timer1.start(); }

void TForm1::RunSetupDialog(SetupAnswer answered)
{
    answered(setupDialog ? setupDialog() : std::optional<GameSettings>(GameSettings{}));
}

void TForm1::ShowErrorBox(std::string_view caption, std::string_view text)
{
    // Where nobody sees the window, a box would wait for ever.
    if (!SomeoneCanAnswerABox()) {
        std::fprintf(stderr, "burrowkin: %.*s: %.*s\n", int(caption.size()), caption.data(), int(text.size()), text.data());
        return;
    }
    QMessageBox box(QMessageBox::Critical, QString::fromUtf8(caption.data(), qsizetype(caption.size())),
                    QString::fromUtf8(text.data(), qsizetype(text.size())), QMessageBox::Ok, this);
    box.exec();
}

std::uint32_t TForm1::UtcMillisecondsOfDay()
{
    return std::uint32_t(QDateTime::currentDateTimeUtc().time().msecsSinceStartOfDay());
}

int TForm1::LocalSecond() { return QTime::currentTime().second(); }

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

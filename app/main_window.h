#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "app/joystick.h"
#include "core/shell.h"
#include "play/game.h"
#include "screens/window_session.h"

// What the player asked of runs on the command line.
struct RunOptions {
    std::optional<std::uint32_t> seed;  // every game's cave from this seed, not the clock
    std::string recordFolder;           // where runs are kept; empty: none are
    std::optional<RunFile> watch;       // a checked run to watch first
    std::optional<RunFile> race;        // a checked run that every game races
};

// The main window: it owns the frame timer, turns key events into the game's
// key codes, reads the joystick, and shows the last frame a tick made. It is
// also the game's Shell.
class TForm1 : public QWidget, public Shell, private WindowSession::Listener {
    Q_OBJECT
public:
    // `format` is Indexed8 when the program was started with "/256"; `scale`
    // shows each of the 272 by 304 pixels as a scale by scale block.
    TForm1(const Assets& art, PixelFormat format, std::string dataDirectory, int scale = 1, RunOptions runs = {});
    ~TForm1() override;

    Game& game() { return game_; }
    // The client area as the last tick (or the pause) left it.
    const Surface& ClientArea() const { return session_.Picture(); }
    bool Paused() const { return !Timer1.isActive(); }
    bool Watching() const { return session_.Watching(); }
    // A problem the game goes on after: said on standard error and in a box
    // that waits for nobody.
    void Report(const std::string& problem);
    int Scale() const { return scale_; }

    // Full screen shows the picture at the largest whole scale that fits the
    // screen, centred on black, without the mouse pointer; F11 switches.
    void SetFullScreen(bool on);
    void ToggleFullScreen() { SetFullScreen(!isFullScreen()); }

    // The dialog is a widget of its own; the program start connects it.
    std::function<std::optional<GameSettings>()> setupDialog;

    // Shell
    void SetCaption(std::string_view utf8) override;
    void Beep() override;
    void StopTimer() override;
    void StartTimer() override;
    void RunSetupDialog(SetupAnswer answered) override;
    void ShowErrorBox(std::string_view caption, std::string_view text) override;
    std::uint32_t UtcMillisecondsOfDay() override;
    int LocalSecond() override;
    std::string ReplayPath() override;

public slots:
    void Timer1Timer();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void FormKeyDown(int virtualKey, bool shiftHeld);
    void FormKeyUp(int virtualKey);
    void TogglePause();
    QSize WindowSize() const;
    void StartWatching(RunFile run);
    // WindowSession::Listener
    void GameStarted(const RunHeader& header) override;
    void GameEnded(const RunFile& run) override;
    void RaceNews(const std::string& line) override;

    QTimer Timer1;
    Game game_;
    Joystick joystick_;
    std::string dataDirectory_;
    int scale_;
    WindowSession session_;
    QImage clientImage_;  // the session's picture, as Qt paints it
    bool inTick_ = false;
    bool warnedOfBrokenLink_ = false;  // replay.dat here links to nothing: said once

    RunOptions runs_;
    std::time_t gameStarted_ = 0;
};

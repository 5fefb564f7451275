#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "app/joystick.h"
#include "core/shell.h"
#include "play/game.h"

// The main window: it owns the frame timer, turns key events into the game's
// key codes, reads the joystick, and shows the last frame a tick made. It is
// also the game's Shell.
class TForm1 : public QWidget, public Shell {
    Q_OBJECT
public:
    // `format` is Indexed8 when the program was started with "/256"; `scale`
    // shows each of the 272 by 304 pixels as a scale by scale block.
    TForm1(const Assets& art, PixelFormat format, std::string dataDirectory, int scale = 1);
    ~TForm1() override;

    Game& game() { return game_; }
    // The client area as the last tick (or the pause) left it.
    const Surface& ClientArea() const { return client_; }
    bool Paused() const { return !Timer1.isActive(); }
    int Scale() const { return scale_; }

    // Full screen shows the picture at the largest whole scale that fits the
    // screen, centred on black, without the mouse pointer; F11 switches.
    void SetFullScreen(bool on);
    void ToggleFullScreen() { SetFullScreen(!isFullScreen()); }

    // The dialog is a widget of its own; the program start connects it.
    std::function<std::optional<SetupChoice>()> setupDialog;

    // Shell
    void SetCaption(std::string_view utf8) override;
    void Beep() override;
    void StopTimer() override;
    void StartTimer() override;
    std::optional<SetupChoice> RunSetupDialog() override;
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
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void FormKeyDown(int virtualKey, bool shiftHeld);
    void FormKeyUp(int virtualKey);
    void TogglePause();
    void ShowClientArea();
    QSize WindowSize() const;

    QTimer Timer1;
    Game game_;
    Joystick joystick_;
    std::string dataDirectory_;
    int scale_;
    Surface client_;  // 272 by 304: the window's pixels
    QImage clientImage_;
    bool inTick_ = false;
};

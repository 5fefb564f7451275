#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

#include "app/joystick.h"
#include "app/keys_dialog.h"
#include "app/sound_out.h"
#include "play/game.h"
#include "screens/session.h"

// Qt's keys as the game's key codes (0: none the game knows); what each
// does is the bindings' business.
int VirtualKeyOf(int qtKey);

// What the player asked of runs on the command line.
struct RunOptions {
    std::optional<std::uint32_t> seed;  // every game's cave from this seed, not the clock
    std::string recordFolder;           // where runs are kept; empty: none are
    std::optional<RunFile> watch;       // a checked run to watch first
    std::optional<RunFile> race;        // a checked run that every game races
    int speed = RunHeader::FullSpeed;   // the pace of the ticks, percent of 20 a second
    std::optional<KeyBindings> keys;    // the player's keys; nothing: the game's own
    std::optional<std::string> keysFile;  // where the keys dialog keeps keys; nothing: DefaultKeysFile()
    // Runs to fetch from an http:// or https:// address when the window
    // opens, then to watch or race as those above.
    std::optional<std::string> watchAddress;
    std::optional<std::string> raceAddress;
    // The daily board every game that reaches the goal of the day's cave is
    // sent to, and the player's name there.
    struct Board {
        std::string address;
        std::string name;
    };
    std::optional<Board> board;
};

class BoardClient;

// The main window: it owns the frame timer, turns key events into the game's
// key codes, reads the joystick, hands all of it to the game's session one
// step at a time, and does what the session's report says.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    // `format` is Indexed8 when the program was started with "/256"; `scale`
    // shows each of the 272 by 304 pixels as a scale by scale block.
    // `sound`, when given, plays the game's sounds.
    TForm1(const Assets& art, PixelFormat format, std::string dataDirectory, int scale = 1, RunOptions runs = {},
           SoundOut* sound = nullptr);
    ~TForm1() override;

    Game& game() { return game_; }
    // The client area as the last step left it.
    const Surface& ClientArea() const { return session_.Picture(); }
    bool Paused() const { return session_.Paused(); }
    bool Watching() const { return session_.Watching(); }
    bool Racing() const { return session_.Racing().has_value(); }
    const KeyBindings& Bindings() const { return session_.Bindings(); }
    // A problem the game goes on after: said on standard error and in a box
    // that waits for nobody.
    void Report(const std::string& problem);
    // Lets the board's answers still under way come, for a few seconds at
    // most: the window has closed.
    void FinishSending();
    int Scale() const { return scale_; }

    // Full screen shows the picture at the largest whole scale that fits the
    // screen, centred on black, without the mouse pointer; F11 switches.
    void SetFullScreen(bool on);
    void ToggleFullScreen() { SetFullScreen(!isFullScreen()); }

    // The dialog is a widget of its own; the program start connects it.
    std::function<std::optional<GameSettings>()> setupDialog;
    // The keys dialog, handed the keys in use: the keys chosen and whether to
    // keep them, nothing when cancelled. The window's own reads its pad.
    std::function<std::optional<KeysChoice>(const KeyBindings&)> keysDialog;

    // Where the demonstration's recording is: replay.dat in the working
    // folder, else in the data folder.
    std::string ReplayPath();
    // The clock the next step is handed; tests fix it.
    virtual WallClock Now() const;
    // A box the game waits on; where nobody could answer it, a line on
    // standard error.
    virtual void ShowErrorBox(const std::string& caption, const std::string& text);

public slots:
    void Timer1Timer();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void closeEvent(QCloseEvent* event) override;

    virtual void SetTimerRunning(bool running);

private:
    void FormCreate();
    void FormKey(QKeyEvent* event, bool down);
    // One step of the session, and what its report asks of the window.
    void Step(TickInput input);
    void Show(const TickReport& report);
    void Keep(const TickReport::EndedGame& ended);
    // Shows the keys dialog and hands the session its answer; kept keys go to the keys file.
    void AnswerKeys();
    // Sends a game that reached the goal of the day's cave to the board.
    void Send(const RunFile& run);
    // Downloads a run to watch or race ("watch", "race"); it is handed to the
    // session at the next tick, when no box or dialog is open.
    void Fetch(const std::string& address, const std::string& what, std::optional<RunFile>& arrived);
    BoardClient& Network();
    // A line on standard output, and in a box that waits for nobody.
    void Announce(const std::string& line, bool trouble);
    void ShowBoxFor(const std::string& text, bool trouble);
    QSize WindowSize() const;

    QTimer Timer1;
    Game game_;
    Joystick joystick_;
    std::optional<JoyInfoRecord> joyInfo_;  // joystick 0 as last read, when the probe found it
    std::string dataDirectory_;
    int scale_;
    Session session_;
    QImage clientImage_;  // the session's picture, as Qt paints it
    bool warnedOfBrokenLink_ = false;  // replay.dat here links to nothing: said once

    RunOptions runs_;
    SoundOut* sound_;
    std::unique_ptr<BoardClient> network_;  // made only when a board or a run's address is given
    std::optional<RunFile> fetchedWatch_, fetchedRace_;
};

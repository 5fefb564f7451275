// The window's side of the daily board: games sent to a real burrowkin-board
// on a free port of 127.0.0.1 with today as its day, its answers printed, and
// runs raced and watched from their addresses.
#include <QTest>
#include <gtest/gtest.h>
#include <httplib.h>

#include <filesystem>
#include <fstream>
#include <sys/socket.h>
#include <sys/wait.h>
#include <netinet/in.h>
#include <unistd.h>

#include "app/board_client.h"
#include "app/main_window.h"
#include "cave/replay.h"
#include "screens/daily_seed.h"
#include "tests/support/board_process.h"
#include "tests/support/test_assets.h"
#include "tools/board_load/daily_runs.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr std::time_t Day = 24 * 60 * 60;
// 2026-03-16 00:00:00 UTC.
constexpr std::time_t March16 = 1773619200;

TEST(BoardClient, OnlyGoalsOfTodaysAndYesterdaysCavesAreSent)
{
    RunFile run;
    run.header.ending = RunEnding::Goal;
    const auto whyNot = [&](std::uint32_t seed, std::time_t now) {
        run.header.settings.seed = seed;
        return WhyNotSent(run, now);
    };
    EXPECT_FALSE(whyNot(20260316, March16));
    EXPECT_FALSE(whyNot(20260316, March16 + Day - 1));
    EXPECT_FALSE(whyNot(20260315, March16));
    EXPECT_FALSE(whyNot(20251231, 1767225600));  // 1 January 2026: yesterday is in the year before
    EXPECT_EQ(whyNot(20260314, March16), "its cave, of seed 20260314, is not the daily cave of today (20260316) or "
                                         "yesterday (20260315): --daily plays today's");
    EXPECT_TRUE(whyNot(20260317, March16));
    EXPECT_TRUE(whyNot(20260316, March16 + Day * 2));
    run.header.settings.seed = 20260316;
    for (const RunEnding ending : {RunEnding::Quit, RunEnding::Closed}) {
        run.header.ending = ending;
        EXPECT_EQ(WhyNotSent(run, March16), "the game did not reach the goal");
    }
}

TEST(BoardClient, PlacesAndBoardsInWords)
{
    const std::pair<long long, std::string> places[] = {{1, "1st"},     {2, "2nd"},     {3, "3rd"},   {4, "4th"},
                                                        {11, "11th"},   {12, "12th"},   {13, "13th"}, {21, "21st"},
                                                        {102, "102nd"}, {111, "111th"}, {1000, "1000th"}};
    for (const auto& [n, words] : places) EXPECT_EQ(Ordinal(n), words);

    EXPECT_EQ(BoardOfRun({.seed = 20260316}, March16), "today's 100x100 board");
    EXPECT_EQ(BoardOfRun({.width = 20, .height = 12, .seed = 20260315}, March16), "yesterday's 20x12 board");
    EXPECT_EQ(BoardOfRun({.variant = 2, .beginner = true, .speedToDeath = 0, .seed = 20260301}, March16),
              "the 100x100 board of 2026-03-01, character 2, beginner, fatal speed 0");
}

TEST(BoardClient, AddressesAreHttpOrHttpsWithAHost)
{
    for (const char* address : {"http://127.0.0.1:8217", "https://example.org/board/", "HTTP://EXAMPLE.ORG"}) {
        EXPECT_TRUE(IsWebAddress(address)) << address;
        EXPECT_FALSE(WebAddressProblem(address)) << address;
    }
    for (const char* file : {"run.burrowkin-run", "http:/x", "ftp://example.org", "./http://x", ""})
        EXPECT_FALSE(IsWebAddress(file)) << file;
    EXPECT_EQ(WebAddressProblem("https://"), "it names no host");
    EXPECT_TRUE(WebAddressProblem("http://exa mple.org/"));
}

// What the program writes to standard output and error while it lives, and
// nothing of it on the terminal.
class Captured {
public:
    Captured() : out_(Open(1, "out")), err_(Open(2, "err")) {}
    ~Captured()
    {
        std::fflush(nullptr);
        ::dup2(out_, 1);
        ::dup2(err_, 2);
        ::close(out_);
        ::close(err_);
        std::cout << "standard output:\n" << Out() << "standard error:\n" << Err();
    }
    std::string Out() const { return Read("out"); }
    std::string Err() const { return Read("err"); }
    // Lets the event loop run until standard output holds `text`, for a minute at most.
    bool Awaited(const std::string& text) const
    {
        return QTest::qWaitFor([&] { return Out().find(text) != std::string::npos; }, 60'000);
    }

private:
    static fs::path File(const char* which)
    {
        return fs::temp_directory_path() / ("burrowkin-board-client-" + std::to_string(::getpid()) + "." + which);
    }
    static int Open(int fd, const char* which)
    {
        std::fflush(nullptr);
        const int kept = ::dup(fd);
        const int file = ::open(File(which).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(file, fd);
        ::close(file);
        return kept;
    }
    static std::string Read(const char* which)
    {
        std::fflush(nullptr);
        std::ifstream in(File(which));
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    int out_, err_;
};

// burrowkin-board with the clock's day in UTC as today, on a free port, in a
// folder of its own, serving the files of Page() too; its first line says
// where it listens.
class Board {
public:
    Board()
    {
        fs::remove_all(folder_);
        fs::create_directories(Page());
        std::vector<std::string> args = {BURROWKIN_BOARD, "--listen", "127.0.0.1:0", "--data", (folder_ / "store").string(),
                                         "--page", Page().string(), "--today", BoardDayOf(std::time(nullptr)).Text(),
                                         "--par-seconds", "0"};
        const BoardProcess started = StartBoardProcess(args, "/dev/null");
        pid_ = started.pid;
        EXPECT_GT(pid_, 0);
        const std::string line = started.firstLine;
        address = line;
        if (address.rfind("http://127.0.0.1:", 0) != 0) ADD_FAILURE() << "no address from burrowkin-board: " << line;
        else address.pop_back();  // the closing slash
    }
    ~Board()
    {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
        fs::remove_all(folder_);
    }
    // A request of the test's own, over a connection of its own.
    httplib::Result Get(const std::string& path) const { return Client().Get(path.c_str()); }
    httplib::Result Submit(const std::string& name, const RunFile& run) const
    {
        const auto bytes = RunFileBytes(run);
        return Client().Post(("/api/runs?name=" + name).c_str(), std::string(bytes.begin(), bytes.end()),
                             "application/octet-stream");
    }
    fs::path Page() const { return folder_ / "page"; }

    std::string address;  // http://127.0.0.1:PORT

private:
    httplib::Client Client() const
    {
        httplib::Client client(address);
        client.set_read_timeout(60s);
        return client;
    }
    fs::path folder_ = fs::temp_directory_path() / ("burrowkin-board-client-" + std::to_string(::getpid()));
    pid_t pid_ = -1;
};

// A port of 127.0.0.1 where nothing listens: taken from the system, then let go.
std::string NobodyThere()
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof at;
    ::bind(s, reinterpret_cast<sockaddr*>(&at), size);
    ::getsockname(s, reinterpret_cast<sockaddr*>(&at), &size);
    ::close(s);
    return "http://127.0.0.1:" + std::to_string(ntohs(at.sin_port));
}

const BoardSettings Small{.width = 20, .height = 20};

// The automatic player's way through today's small cave, as the window's clock has today.
const RunFile& TodaysRun()
{
    static const RunFile run = AutomaticDailyRun(BoardDayOf(std::time(nullptr)), Small);
    return run;
}

// The window as the program opens it with `runs`, whose setup dialog
// answers with the small cave, and where no box waits for anybody.
class PlayersWindow : public TForm1 {
public:
    explicit PlayersWindow(RunOptions runs) : TForm1(TestAssets(), PixelFormat::Rgb32, "/nonexistent", 1, std::move(runs))
    {
        setupDialog = [this] {
            ++dialogs;
            return Small.Game(BoardDayOf(std::time(nullptr)));
        };
        show();
    }
    void ShowErrorBox(const std::string&, const std::string& text) override { ADD_FAILURE() << text; }

    const GameState& State() { return game().state; }
    void Tick(int n = 1)
    {
        for (int i = 0; i < n; ++i) Timer1Timer();
    }
    // The title's button: a game starts, from the setup dialog or the race.
    void Start()
    {
        Tick(70);  // the title listens after three seconds
        QTest::keyPress(this, Qt::Key_Space);
        Tick();
        QTest::keyRelease(this, Qt::Key_Space);
    }
    // The run's inputs as keys, a tick each, the timer's own ticks held off
    // meanwhile (no event loop runs).
    void Play(const RunFile& run)
    {
        Start();
        ASSERT_EQ(State().Screen, ScreenPlay);
        const Qt::Key keys[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right, Qt::Key_X, Qt::Key_Return};
        std::uint16_t held = 0;
        for (std::size_t k = 0; k < run.inputs.size() && State().Screen == ScreenPlay; ++k) {
            const std::uint16_t word = run.inputs[k];
            for (int bit = 0; bit < 6; ++bit) {
                if ((word & ~held) >> bit & 1) QTest::keyPress(this, keys[bit]);
                if ((held & ~word) >> bit & 1) QTest::keyRelease(this, keys[bit]);
            }
            held = word;
            Tick();
        }
        for (int bit = 0; bit < 6; ++bit)
            if (held >> bit & 1) QTest::keyRelease(this, keys[bit]);
        ASSERT_EQ(State().Screen, ScreenEnding);
    }

    int dialogs = 0;
};

RunOptions Sending(const std::string& board, const std::string& name)
{
    RunOptions runs;
    runs.seed = DailySeed(std::time(nullptr));
    runs.board = RunOptions::Board{board, name};
    return runs;
}

int Lines(const std::string& text) { return int(std::count(text.begin(), text.end(), '\n')); }

TEST(BoardWindow, AGoalOfTodaysCaveGoesOnTheBoardAndItsPlaceIsPrinted)
{
    Board board;
    ASSERT_EQ(board.Submit("bob", StandingFirst(TodaysRun(), 10))->status, 201);
    const Captured said;
    // A name with what a query would take apart, "+", "&" and "/", and
    // characters beyond ASCII, one of them beyond 16 bits: 20 characters.
    const std::string ada = "Ada+Lovelace & co/é🦔";
    PlayersWindow window(Sending(board.address + "/", ada));
    window.Play(TodaysRun());
    ASSERT_TRUE(said.Awaited("board:")) << said.Err();
    EXPECT_EQ(said.Out(), "burrowkin: cave " + DescribeSettings(Small.Game(BoardDayOf(std::time(nullptr)))) +
                              "\nburrowkin: board: 1st of 2 on today's 20x20 board\n");

    const auto day = board.Get("/api/boards/" + BoardDayOf(std::time(nullptr)).Text());
    ASSERT_TRUE(day);
    const std::size_t first = day->body.find("\"place\":1,\"name\":\"Ada+Lovelace \\u0026 co/é🦔\",\"ticks\":" +
                                           std::to_string(TodaysRun().header.ticks));
    EXPECT_NE(first, std::string::npos) << day->body;
    EXPECT_NE(day->body.find("\"place\":2,\"name\":\"bob\""), std::string::npos) << day->body;

    // A slower run of the same name's is good, but no better.
    PlayersWindow slower(Sending(board.address, ada));
    slower.Play(StandingFirst(TodaysRun(), 20));
    ASSERT_TRUE(said.Awaited("no better")) << said.Err();
    EXPECT_NE(said.Out().find("\nburrowkin: board: your earlier run stays 1st of 2 on today's 20x20 board: this one is no better\n"),
              std::string::npos);

    // The same run again under another name is a copy, and the board's
    // reason is printed; the game goes on from the ending to the title.
    PlayersWindow again(Sending(board.address, "carol"));
    again.Play(TodaysRun());
    ASSERT_TRUE(said.Awaited("refused")) << said.Err();
    EXPECT_NE(said.Out().find("\nburrowkin: board: refused: a copy: the run of " + ada + " (place 1) played the same inputs\n"),
              std::string::npos);
    QTest::keyPress(&again, Qt::Key_Z);
    again.Tick();
    EXPECT_EQ(again.State().Screen, ScreenTitle);
    EXPECT_EQ(said.Err(), "");
}

TEST(BoardWindow, ABoardThatIsNotThereIsOneLineAndOtherCavesAreNotSent)
{
    const std::string nobody = NobodyThere();
    const Captured said;
    {
        PlayersWindow window(Sending(nobody, "ada"));
        window.Play(TodaysRun());
        ASSERT_TRUE(said.Awaited("board:"));
        EXPECT_NE(said.Out().find("\nburrowkin: board: cannot reach " + nobody + ": Connection refused\n"), std::string::npos);
        EXPECT_EQ(Lines(said.Out()), 2);
        // The game goes on.
        QTest::keyPress(&window, Qt::Key_Z);
        window.Tick();
        QTest::keyRelease(&window, Qt::Key_Z);
        window.Start();
        EXPECT_EQ(window.State().Screen, ScreenPlay);
        EXPECT_EQ(window.dialogs, 2);
    }
    // A cave of three days ago is said at its end and sent nowhere: a
    // sending would find nobody and say so.
    const BoardDay longAgo = BoardDayOf(std::time(nullptr) - 3 * Day);
    const RunFile old = AutomaticDailyRun(longAgo, BoardSettings{.width = 12, .height = 12});
    RunOptions runs = Sending(nobody, "ada");
    runs.seed = longAgo.Seed();
    PlayersWindow window(runs);
    window.setupDialog = [&] { return old.header.settings; };
    window.Play(old);
    QTest::qWait(500);
    const std::string out = said.Out();
    EXPECT_NE(out.find("\nburrowkin: board: not sent: its cave, of seed " + std::to_string(longAgo.Seed()) +
                       ", is not the daily cave of today"),
              std::string::npos)
        << out;
    EXPECT_EQ(Lines(out), 5) << out;  // and the caves of the three games
}

TEST(BoardWindow, ARunIsRacedAndWatchedFromItsAddress)
{
    Board board;
    const auto entry = board.Submit("ada", TodaysRun());
    ASSERT_EQ(entry->status, 201);
    const std::string run = board.address + entry->get_header_value("Location");
    const Captured said;
    {
        RunOptions racing;
        racing.raceAddress = run;
        PlayersWindow window(racing);
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.Racing(); }, 60'000)) << said.Err();
        window.Start();
        EXPECT_EQ(window.State().Screen, ScreenPlay);
        EXPECT_EQ(window.dialogs, 0);
        EXPECT_EQ(window.game().settings, TodaysRun().header.settings);
    }
    {
        RunOptions watching;
        watching.watchAddress = run;
        PlayersWindow window(watching);
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.Watching(); }, 60'000)) << said.Err();
        EXPECT_EQ(window.game().settings, TodaysRun().header.settings);
    }
    EXPECT_EQ(said.Err(), "");

    // An address without a run, one that answers more than a run file, and
    // nobody there: a line each, and the game goes on without a race.
    std::ofstream(board.Page() / "long.burrowkin-run") << std::string(ReplayFileBytes + 100, '\0');
    const std::string nobody = NobodyThere() + "/runs/1.burrowkin-run";
    const std::string addresses[] = {board.address + "/runs/7.burrowkin-run", board.address + "/long.burrowkin-run", nobody};
    for (const std::string& address : addresses) {
        RunOptions racing;
        racing.raceAddress = address;
        racing.seed = DailySeed(std::time(nullptr));  // a cave that is made, whatever the clock says
        PlayersWindow window(racing);
        ASSERT_TRUE(QTest::qWaitFor([&] { return said.Err().find(address) != std::string::npos; }, 60'000)) << address;
        window.Start();
        EXPECT_EQ(window.dialogs, 1);
        EXPECT_FALSE(window.Racing());
    }
    const std::string err = said.Err();
    EXPECT_EQ(Lines(err), 3) << err;
    EXPECT_NE(err.find("burrowkin: cannot race " + addresses[0] + ": the server answered HTTP 404: no such run"), std::string::npos)
        << err;
    EXPECT_NE(err.find("burrowkin: cannot race " + addresses[1] + ": not a run file: longer than the 131074 bytes"),
              std::string::npos)
        << err;
    EXPECT_NE(err.find("burrowkin: cannot race " + nobody + ": cannot download it: Connection refused"), std::string::npos) << err;
}

}  // namespace

// burrowkin-board as a client meets it: a real server process on a free port
// of 127.0.0.1 with a fresh data folder, spoken to over HTTP.
#include <gtest/gtest.h>
#include <httplib.h>

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <set>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "board/board_views.h"
#include "tests/support/board_process.h"
#include "tests/support/run_program.h"
#include "tools/board_load/daily_runs.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Its 20 by 20 and 100 by 100 caves, and the 12 by 12 cave of the day
// before, take the automatic player a moment.
const BoardDay Today{2026, 3, 16};
const BoardSettings Small{.width = 20, .height = 20};
const BoardSettings Smaller{.width = 12, .height = 12};

std::string Bytes(const RunFile& run)
{
    const auto bytes = RunFileBytes(run);
    return {bytes.begin(), bytes.end()};
}

const RunFile& TodaysRun()
{
    static const RunFile run = AutomaticDailyRun(Today, Small);
    return run;
}

// A folder of its own for every server of a test.
fs::path FreshFolder(const std::string& name)
{
    const fs::path folder = fs::temp_directory_path() /
                            ("burrowkin-board-" + name + "-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

// burrowkin-board started with the test day as today, on a free port: its
// first line says where it listens.
class Board {
public:
    Board(const fs::path& data, std::vector<std::string> options = {}) : data_(data)
    {
        std::vector<std::string> args = {BURROWKIN_BOARD, "--listen", "127.0.0.1:0", "--data", (data / "store").string(),
                                         "--today", Today.Text()};
        if (std::find(options.begin(), options.end(), "--par-seconds") == options.end()) options.insert(options.end(), {"--par-seconds", "0"});
        if (std::find(options.begin(), options.end(), "--submissions-per-minute") == options.end())
            options.insert(options.end(), {"--submissions-per-minute", "0"});
        args.insert(args.end(), options.begin(), options.end());
        const BoardProcess started = StartBoardProcess(args, (data / "stderr").string());
        pid_ = started.pid;
        EXPECT_GT(pid_, 0);
        const std::string line = started.firstLine;
        const std::string start = "http://127.0.0.1:";
        if (line.rfind(start, 0) != 0) {
            ADD_FAILURE() << "no address from burrowkin-board: '" << line << "' " << Errors();
            return;
        }
        port = std::stoi(line.substr(start.size()));
    }
    ~Board()
    {
        if (pid_ > 0) Kill();
    }

    // SIGTERM: its exit status once it is gone.
    int Terminate()
    {
        ::kill(pid_, SIGTERM);
        return Wait();
    }
    void Kill()
    {
        ::kill(pid_, SIGKILL);
        Wait();
    }
    std::string Errors() const
    {
        std::ifstream in(data_ / "stderr");
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    httplib::Client Client() const
    {
        httplib::Client client("127.0.0.1", port);
        client.set_read_timeout(60s);
        client.set_write_timeout(60s);
        return client;
    }

    int port = 0;

private:
    int Wait()
    {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    fs::path data_;
    pid_t pid_ = -1;
};

std::string QueryText(const std::string& text)
{
    std::string out;
    for (unsigned char c : text) {
        if (std::isalnum(c) || c == '-' || c == '_' || c == '.') {
            out += char(c);
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", c);
            out += escaped;
        }
    }
    return out;
}

struct Answer {
    int status = 0;
    std::string body;
};

Answer Submit(const Board& board, const std::string& name, const std::string& bytes)
{
    auto client = board.Client();
    const auto r = client.Post(("/api/runs?name=" + QueryText(name)).c_str(), bytes, "application/octet-stream");
    if (!r) return {-1, httplib::to_string(r.error())};
    return {r->status, r->body};
}

Answer Get(const Board& board, const std::string& path)
{
    auto client = board.Client();
    const auto r = client.Get(path.c_str());
    if (!r) return {-1, httplib::to_string(r.error())};
    return {r->status, r->body};
}

// What comes back on a connection of its own for the bytes sent, until the
// server closes it or ten seconds pass.
std::string Raw(int port, const std::string& request)
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(std::uint16_t(port));
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string answer;
    if (::connect(s, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0 &&
        ::send(s, request.data(), request.size(), MSG_NOSIGNAL) == ssize_t(request.size())) {
        pollfd p{s, POLLIN, 0};
        const auto until = std::chrono::steady_clock::now() + 10s;
        while (std::chrono::steady_clock::now() < until && ::poll(&p, 1, 1000) >= 0) {
            if (!(p.revents & (POLLIN | POLLHUP))) continue;
            char c[4096];
            const ssize_t n = ::recv(s, c, sizeof c, 0);
            if (n <= 0) break;
            answer.append(c, std::size_t(n));
        }
    }
    ::close(s);
    return answer;
}

int Status(const std::string& raw) { return raw.size() > 12 ? std::stoi(raw.substr(9, 3)) : 0; }

// The names on a board of the day's JSON, in order.
std::vector<std::string> NamesOn(const std::string& json, const BoardSettings& settings)
{
    const std::string key = "\"settings\":{\"width\":" + std::to_string(settings.width) + ",\"height\":" + std::to_string(settings.height);
    std::size_t at = json.find(key);
    if (at == std::string::npos) return {};
    const std::size_t end = json.find("]}", at);
    std::vector<std::string> names;
    while ((at = json.find("\"name\":\"", at)) < end) {
        at += 8;
        names.push_back(json.substr(at, json.find('"', at) - at));
    }
    return names;
}

TEST(BoardServer, GoodRunsEnterInOrderAndANameKeepsItsBest)
{
    const fs::path folder = FreshFolder("order");
    Board board(folder);
    const RunFile& run = TodaysRun();

    const Answer bob = Submit(board, "bob", Bytes(StandingFirst(run, 10)));
    EXPECT_EQ(bob.status, 201) << bob.body;
    EXPECT_NE(bob.body.find("\"on_board\":true,\"day\":\"2026-03-16\""), std::string::npos) << bob.body;
    EXPECT_NE(bob.body.find("\"place\":1,\"name\":\"bob\",\"ticks\":" + std::to_string(run.header.ticks + 10)), std::string::npos)
        << bob.body;
    const Answer carol = Submit(board, "carol", Bytes(StandingFirst(run, 30)));
    EXPECT_NE(carol.body.find("\"place\":2,"), std::string::npos) << carol.body;
    const Answer alice = Submit(board, "alice", Bytes(run));
    EXPECT_NE(alice.body.find("\"place\":1,"), std::string::npos) << alice.body;
    // Carol does better, then worse: her better run stands.
    const Answer better = Submit(board, "carol", Bytes(StandingFirst(run, 5)));
    EXPECT_EQ(better.status, 201);
    EXPECT_NE(better.body.find("\"place\":2,"), std::string::npos) << better.body;
    const Answer worse = Submit(board, "carol", Bytes(StandingFirst(run, 50)));
    EXPECT_EQ(worse.status, 200);
    EXPECT_NE(worse.body.find("\"on_board\":false"), std::string::npos) << worse.body;
    EXPECT_NE(worse.body.find("\"place\":2,\"name\":\"carol\",\"ticks\":" + std::to_string(run.header.ticks + 5)), std::string::npos)
        << worse.body;
    // Yesterday's cave goes on yesterday's board.
    const RunFile yesterdays = AutomaticDailyRun(Today.Before(), Smaller);
    EXPECT_EQ(Submit(board, "dave", Bytes(yesterdays)).status, 201);

    const Answer today = Get(board, "/api/boards/2026-03-16");
    EXPECT_EQ(today.status, 200);
    EXPECT_EQ(NamesOn(today.body, Small), (std::vector<std::string>{"alice", "carol", "bob"})) << today.body;
    EXPECT_NE(today.body.find("\"main\":true,\"par\":{\"state\":\"off\"},\"entries_total\":0"), std::string::npos) << today.body;
    EXPECT_EQ(NamesOn(Get(board, "/api/boards/2026-03-15").body, Smaller), (std::vector<std::string>{"dave"}));
    EXPECT_EQ(Get(board, "/api/boards/today").body, today.body);

    // The page of today, readable as it is: main board first, then the places.
    const Answer page = Get(board, "/");
    EXPECT_EQ(page.status, 200);
    const std::size_t main = page.body.find("100 × 100"), a = page.body.find(">alice<"), c = page.body.find(">carol<"),
                      b = page.body.find(">bob<");
    EXPECT_TRUE(main < a && a < c && c < b && b != std::string::npos) << page.body;
    EXPECT_NE(Get(board, "/days/2026-03-15").body.find(">dave<"), std::string::npos);
    EXPECT_NE(Get(board, "/?day=2026-03-15").body.find(">dave<"), std::string::npos);
    EXPECT_EQ(Get(board, "/days/2026-03-17").status, 404);

    // Each run at its address, as it was sent; the same bytes every time.
    const std::size_t runAt = alice.body.find("\"run\":\"") + 7;
    const std::string address = alice.body.substr(runAt, alice.body.find('"', runAt) - runAt);
    EXPECT_EQ(Get(board, address).body, Bytes(run));
    EXPECT_NE(page.body.find("href=\"" + address + "\""), std::string::npos);
    EXPECT_EQ(Get(board, "/runs/999.burrowkin-run").status, 404);

    // A restart keeps it all.
    EXPECT_EQ(board.Terminate(), 0);
    Board again(folder);
    EXPECT_EQ(Get(again, "/api/boards/2026-03-16").body, today.body);
    fs::remove_all(folder);
}

TEST(BoardServer, EveryRefusalHasItsStatusAndAReasonAndLeavesTheBoardAsItWas)
{
    const fs::path folder = FreshFolder("refusals");
    Board board(folder);
    const RunFile& run = TodaysRun();
    ASSERT_EQ(Submit(board, "first", Bytes(run)).status, 201);
    const std::string before = Get(board, "/api/boards/2026-03-16").body;

    RunFile quit = run;
    quit.inputs.resize(run.inputs.size() / 2);
    quit.header.ticks = std::uint32_t(quit.inputs.size());
    quit.header.ending = RunEnding::Quit;
    RunFile lying = StandingFirst(run, 3);
    lying.header.ticks -= 1;
    std::string damaged = Bytes(StandingFirst(run, 1));
    damaged[8] = 'X';
    RunFile slower = StandingFirst(run, 2);
    slower.header.speed = 70;

    const std::tuple<std::string, std::string, int, std::string> cases[] = {
        {"old", Bytes(AutomaticDailyRun({2026, 3, 14}, Small)), 422, "not a daily cave"},
        {"quitter", Bytes(quit), 422, "does not reach the goal"},
        {"liar", Bytes(lying), 400, "its header says"},
        {"slowpoke", Bytes(slower), 422, "played at 70% speed"},
        {"broken", damaged, 400, "no run signature"},
        {"short", Bytes(run).substr(0, 1000), 400, "1000 bytes"},
        {"large", Bytes(run) + "x", 413, "too large"},
        {"copier", Bytes(run), 409, "a copy: the run of first"},
        {"", Bytes(StandingFirst(run, 1)), 400, "name not allowed"},
        {"a\x01", Bytes(StandingFirst(run, 1)), 400, "name not allowed"},
        {"\xff\xfe", Bytes(StandingFirst(run, 1)), 400, "name not allowed"},
        {"twenty-one characters", Bytes(StandingFirst(run, 1)), 400, "longer than 20"},
    };
    for (const auto& [name, bytes, status, reason] : cases) {
        const Answer a = Submit(board, name, bytes);
        EXPECT_EQ(a.status, status) << name << ": " << a.body;
        EXPECT_EQ(a.body.rfind("{\"error\":\"", 0), 0u) << a.body;
        EXPECT_EQ(std::count(a.body.begin(), a.body.end(), '\n'), 1) << a.body;
        EXPECT_NE(a.body.find(reason), std::string::npos) << name << ": " << a.body;
    }

    // A body far larger than a run file is refused on its length alone, and
    // one without a length is not read at all.
    const std::string post = "POST /api/runs?name=big HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n";
    EXPECT_EQ(Status(Raw(board.port, post + "Content-Length: 1000000000\r\n\r\n")), 413);
    EXPECT_EQ(Status(Raw(board.port, post + "Content-Length: 99999999999999999999999\r\n\r\n")), 413);
    EXPECT_EQ(Status(Raw(board.port, post + "Transfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n0\r\n\r\n")), 411);
    EXPECT_EQ(Status(Raw(board.port, post + "Content-Length: -5\r\n\r\n")), 411);
    EXPECT_EQ(Status(Raw(board.port, "GET /api/boards/2026-02-30 HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n")), 400);
    EXPECT_EQ(Status(Raw(board.port, "GET /api/boards/2026-03-16?limit=0 HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n")), 400);

    EXPECT_EQ(Get(board, "/api/boards/2026-03-16").body, before);
    EXPECT_EQ(Get(board, "/api/boards/2026-03-14").body.find("\"name\""), std::string::npos);
}

TEST(BoardServer, TheParIsTheAutomaticPlayersRunShownApartAndNoCopyOfItIsTaken)
{
    const fs::path folder = FreshFolder("par");
    std::string json, address;
    {
        Board board(folder, {"--par-seconds", "120"});
        const auto until = std::chrono::steady_clock::now() + 300s;
        while (std::chrono::steady_clock::now() < until) {
            json = Get(board, "/api/boards/2026-03-16").body;
            if (json.find("\"state\":\"searching\"") == std::string::npos) break;
            std::this_thread::sleep_for(200ms);
        }
        ASSERT_NE(json.find("\"par\":{\"state\":\"found\""), std::string::npos) << json;
        const std::size_t at = json.find("\"run\":\"") + 7;
        address = json.substr(at, json.find('"', at) - at);
        const Answer par = Get(board, address);
        ASSERT_EQ(par.status, 200);
        const Answer copy = Submit(board, "racer", par.body);
        EXPECT_EQ(copy.status, 409) << copy.body;
        EXPECT_NE(copy.body.find("a copy of the par"), std::string::npos) << copy.body;
        // A run of its own on the main board, the par's way a tick later, is taken; the par is no entry.
        const RunFile parRun = ParseRunFile(std::vector<std::uint8_t>(par.body.begin(), par.body.end()));
        EXPECT_EQ(Submit(board, "racer", Bytes(StandingFirst(parRun, 1))).status, 201);
        EXPECT_EQ(NamesOn(Get(board, "/api/boards/2026-03-16").body, BoardSettings{}), (std::vector<std::string>{"racer"}));
        EXPECT_NE(Get(board, "/").body.find("Par, the automatic player's run: " + Seconds(parRun.header.ticks) + " s"), std::string::npos);
        board.Terminate();
    }
    // Searched once: a restart shows the same par.
    Board again(folder, {"--par-seconds", "120"});
    EXPECT_NE(Get(again, "/api/boards/2026-03-16").body.find("\"run\":\"" + address + "\""), std::string::npos);
    fs::remove_all(folder);
}

TEST(BoardServer, NamesWithMarkupComeBackAsText)
{
    const fs::path folder = FreshFolder("markup");
    Board board(folder);
    const std::string name = "<script>x</script>&\"";
    const Answer a = Submit(board, name, Bytes(TodaysRun()));
    ASSERT_EQ(a.status, 201) << a.body;
    EXPECT_NE(a.body.find("\"name\":\"\\u003cscript\\u003ex\\u003c/script\\u003e\\u0026\\\"\""), std::string::npos) << a.body;
    const std::string html = Get(board, "/").body;
    EXPECT_NE(html.find("&lt;script&gt;x&lt;/script&gt;&amp;&quot;"), std::string::npos) << html;
    EXPECT_EQ(html.find("<script>"), std::string::npos);
    EXPECT_EQ(Get(board, "/api/boards/today").body.find("<script>"), std::string::npos);
    fs::remove_all(folder);
}

TEST(BoardServer, TheRateLimitCountsEverySubmissionFromAnAddress)
{
    const fs::path folder = FreshFolder("rate");
    Board board(folder, {"--submissions-per-minute", "1", "--submission-burst", "3"});
    const RunFile& run = TodaysRun();
    EXPECT_EQ(Submit(board, "", Bytes(run)).status, 400);
    EXPECT_EQ(Submit(board, "a", "not a run").status, 400);
    EXPECT_EQ(Submit(board, "a", Bytes(run)).status, 201);
    const Answer refused = Submit(board, "b", Bytes(StandingFirst(run, 1)));
    EXPECT_EQ(refused.status, 429) << refused.body;
    EXPECT_NE(refused.body.find("too many submissions"), std::string::npos);
    const std::string raw = Raw(board.port, "POST /api/runs?name=c HTTP/1.1\r\nHost: x\r\nConnection: close\r\nContent-Length: 3\r\n\r\nabc");
    EXPECT_EQ(Status(raw), 429);
    EXPECT_NE(raw.find("Retry-After: "), std::string::npos) << raw;
    // Reading is not limited.
    for (int i = 0; i < 20; ++i) ASSERT_EQ(Get(board, "/api/boards/today").status, 200);
    fs::remove_all(folder);
}

TEST(BoardServer, TheBrowserEditionIsServedFromItsFolderAndNothingOutsideIt)
{
    const fs::path folder = FreshFolder("page");
    const fs::path page = folder / "page";
    fs::create_directories(page / "sub");
    std::ofstream(page / "index.html") << "the game's page";
    std::ofstream(page / "main.js") << "script";
    std::ofstream(page / "sub/deep.css") << "style";
    std::ofstream(page / ".hidden") << "HIDDEN CONTENT";
    std::ofstream(folder / "secret") << "SECRET CONTENT";
    fs::create_symlink(folder / "secret", page / "out");
    fs::create_symlink(folder, page / "up");
    fs::create_symlink(page / "main.js", page / "in.js");
    Board board(folder, {"--page", page.string()});

    EXPECT_EQ(Get(board, "/main.js").body, "script");
    EXPECT_EQ(Get(board, "/sub/deep.css").body, "style");
    EXPECT_EQ(Get(board, "/in.js").body, "script");
    EXPECT_EQ(Get(board, "/index.html").body, "the game's page");
    EXPECT_EQ(Get(board, "/?watch=/runs/1.burrowkin-run").body, "the game's page");
    EXPECT_EQ(Get(board, "/?race=/runs/1.burrowkin-run").body, "the game's page");
    EXPECT_NE(Get(board, "/").body.find("The daily board of 2026-03-16"), std::string::npos);
    for (const char* path : {"/../secret", "/%2e%2e/secret", "/%2E%2E%2Fsecret", "/sub/../../secret", "/out", "/up/secret",
                             "/.hidden", "/sub/%2e%2e/%2e%2e/secret", "/..%5csecret", "//secret", "/main.js%00"}) {
        const std::string answer = Raw(board.port, std::string("GET ") + path + " HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
        EXPECT_TRUE(Status(answer) == 404 || Status(answer) == 400) << path << ": " << answer;
        EXPECT_EQ(answer.find("CONTENT"), std::string::npos) << path;
    }
    ASSERT_EQ(Submit(board, "watcher", Bytes(TodaysRun())).status, 201);
    const std::string html = Get(board, "/").body;
    EXPECT_NE(html.find("href=\"/?watch=/runs/1.burrowkin-run\">watch</a>"), std::string::npos) << html;
    EXPECT_NE(html.find("href=\"/?race=/runs/1.burrowkin-run\">race</a>"), std::string::npos) << html;
    fs::remove_all(folder);
}

// Every entry answered with 201 is there after a kill at any moment, and
// nothing but what was sent: a submission that got no answer may or may not
// have been kept, one refused never is.
TEST(BoardServer, AnAcknowledgedEntryOutlivesAKill)
{
    const fs::path folder = FreshFolder("kill");
    std::map<std::string, std::string> sent, acknowledged;
    std::set<std::string> refused, unanswered;
    {
        Board board(folder);
        const RunFile& run = TodaysRun();
        // Every fifth sends a copy of the one before under its own name.
        for (int i = 0; i < 400; ++i) sent["n" + std::to_string(i)] = Bytes(StandingFirst(run, std::uint32_t(i - i % 5 / 4)));
        std::mutex mutex;
        std::atomic<int> next = 0, answered = 0;
        std::vector<std::thread> clients;
        for (int c = 0; c < 4; ++c)
            clients.emplace_back([&] {
                for (int i; (i = next++) < 400;) {
                    const std::string name = "n" + std::to_string(i);
                    const std::string& bytes = sent[name];
                    const Answer a = Submit(board, name, bytes);
                    std::lock_guard lock(mutex);
                    if (a.status == 201) acknowledged[name] = bytes;
                    else if (a.status == 409) refused.insert(name);
                    else unanswered.insert(name);
                    ++answered;
                }
            });
        const auto until = std::chrono::steady_clock::now() + 120s;
        while (answered < 60 && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(1ms);
        board.Kill();
        for (std::thread& t : clients) t.join();
    }
    ASSERT_GE(acknowledged.size(), 40u);
    ASSERT_FALSE(unanswered.empty()) << "the kill came after the last submission";

    Board again(folder);
    const std::string json = Get(again, "/api/boards/2026-03-16?limit=1000").body;
    const std::vector<std::string> names = NamesOn(json, Small);
    const std::set<std::string> onBoard(names.begin(), names.end());
    EXPECT_EQ(onBoard.size(), names.size());
    for (const auto& [name, bytes] : acknowledged) {
        EXPECT_TRUE(onBoard.count(name)) << name << " was acknowledged and is gone";
    }
    for (const std::string& name : onBoard) {
        EXPECT_TRUE(acknowledged.count(name) || unanswered.count(name)) << name << " is on the board but was refused";
    }
    // Each entry's run is the one its name sent.
    for (std::size_t at = 0; (at = json.find("\"name\":\"", at)) != std::string::npos;) {
        at += 8;
        const std::string name = json.substr(at, json.find('"', at) - at);
        const std::size_t runAt = json.find("\"run\":\"", at) + 7;
        const Answer run = Get(again, json.substr(runAt, json.find('"', runAt) - runAt));
        EXPECT_EQ(run.status, 200);
        EXPECT_TRUE(run.body == sent[name]) << name;
    }
    fs::remove_all(folder);
}

TEST(BoardServer, SigtermFinishesTheSubmissionUnderWayAndIdleClientsAreCutOff)
{
    const fs::path folder = FreshFolder("term");
    Board board(folder);
    const std::string bytes = Bytes(TodaysRun());

    // An idle connection is cut off after a few seconds.
    const auto idleFrom = std::chrono::steady_clock::now();
    EXPECT_EQ(Raw(board.port, ""), "");
    EXPECT_LT(std::chrono::steady_clock::now() - idleFrom, 9s);

    // Half a run sent, then SIGTERM, then the rest: it is still answered.
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(std::uint16_t(board.port));
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::connect(s, reinterpret_cast<sockaddr*>(&to), sizeof to), 0);
    const std::string head = "POST /api/runs?name=last HTTP/1.1\r\nHost: x\r\nContent-Length: " + std::to_string(bytes.size()) + "\r\n\r\n";
    const std::string request = head + bytes;
    const std::size_t half = head.size() + bytes.size() / 2;
    ASSERT_EQ(::send(s, request.data(), half, MSG_NOSIGNAL), ssize_t(half));
    std::this_thread::sleep_for(300ms);

    std::thread term([&] { EXPECT_EQ(board.Terminate(), 0) << board.Errors(); });
    std::this_thread::sleep_for(300ms);
    ASSERT_EQ(::send(s, request.data() + half, request.size() - half, MSG_NOSIGNAL), ssize_t(request.size() - half));
    std::string answer;
    char c[4096];
    for (ssize_t n; (n = ::recv(s, c, sizeof c, 0)) > 0;) answer.append(c, std::size_t(n));
    ::close(s);
    term.join();
    EXPECT_EQ(Status(answer), 201) << answer;

    Board again(folder);
    EXPECT_EQ(NamesOn(Get(again, "/api/boards/today").body, Small), (std::vector<std::string>{"last"}));
    fs::remove_all(folder);
}

TEST(BoardServer, BadCommandLinesAreOneLineNamingTheProblemWithStatusTwo)
{
    const std::string board = BURROWKIN_BOARD;
    const std::pair<std::string, std::string> cases[] = {
        {"--bogus", "'--bogus'"},
        {"--listen", "--listen needs a value"},
        {"--listen 127.0.0.1", "HOST:PORT"},
        {"--listen 127.0.0.1:70000", "'70000'"},
        {"--listen :80", "HOST:PORT"},
        {"--par-seconds x", "'x'"},
        {"--par-seconds -1", "'-1'"},
        {"--submissions-per-minute 5 --submissions-per-minute 6", "given twice"},
        {"--today 2026-02-30", "'2026-02-30'"},
        {"--page /nonexistent/folder", "/nonexistent/folder"},
        {"--help extra", "'extra'"},
    };
    for (const auto& [arguments, named] : cases) {
        const ProgramRun r = RunProgram(board + " --data /nonexistent/board " + arguments);
        EXPECT_EQ(r.status, 2) << arguments << ": " << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_EQ(r.err.rfind("burrowkin-board: ", 0), 0u) << r.err;
        EXPECT_NE(r.err.find(named), std::string::npos) << r.err;
    }
    // A folder that is taken, or cannot be made: status 1.
    const fs::path folder = FreshFolder("usage");
    Board first(folder);
    const ProgramRun taken = RunProgram("timeout 60 " + board + " --listen 127.0.0.1:0 --data " + (folder / "store").string());
    EXPECT_EQ(taken.status, 1);
    EXPECT_NE(taken.err.find("another burrowkin-board"), std::string::npos) << taken.err;
    const ProgramRun busy = RunProgram("timeout 60 " + board + " --listen 127.0.0.1:" + std::to_string(first.port) + " --data " + (folder / "other").string());
    EXPECT_EQ(busy.status, 1);
    EXPECT_NE(busy.err.find("cannot listen on 127.0.0.1:" + std::to_string(first.port)), std::string::npos) << busy.err;
    fs::remove_all(folder);
}

}  // namespace
